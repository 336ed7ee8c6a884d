// What the program makes of its command line before any window opens.
#pragma once

#include <optional>

// Answers --help and --version, runs --convert, and rejects an unknown option or an argument;
// gives the exit code when the program is to end there, and nothing when the window is to open.
std::optional<int> ProcessCommandLine();
