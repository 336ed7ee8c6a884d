// What the program makes of its command line before it connects to a display.
#pragma once

// Answers --help and --version, runs --convert, and rejects an unknown option, an argument or
// a missing display, each by ending the program; returns when the window is to open. Needs no
// display, so it runs before the QApplication, and lets Qt's own options (-platform, -style, ...)
// through for it to take.
void ProcessCommandLine(int& argc, char* argv[]);
