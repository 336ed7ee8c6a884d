// The window's conversion of files: which files, where to save the table, the conversion with
// its progress and Cancel, and what it had to say.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

// The files that the user picks in the open dialog, any number; none when it is closed.
std::vector<std::u16string> AskForStarFiles(HWND owner);

// The files that a drop brings; the drop is finished with.
std::vector<std::u16string> DroppedFiles(HDROP drop);

// Asks where to save the table of the files, converts them there off the window's thread while
// a progress dialog shows how far it has come, and shows the converter's messages. Cancel, or
// Escape, leaves no file behind: the table is written beside its target and put in its place
// only when complete.
void ConvertFilesToCsv(HWND owner, const std::vector<std::u16string>& files);
