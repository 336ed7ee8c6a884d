// The window's conversion of files: which files, where to save the table, the conversion with
// its progress and Cancel, and what it had to say.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <string>
#include <vector>

class FileConversion;

// The files' names as the converter takes them, in UTF-8, and the bytes they hold in all, for
// the progress.
struct ConversionSources {
    std::vector<std::string> names;
    std::uint64_t totalBytes = 0;
};
ConversionSources SourcesOf(const std::vector<std::u16string>& files);

// Shows how far the conversion has come in a progress dialog until it ends; false, once it has
// stopped, where the user cancelled it.
bool RunWithProgress(HWND owner, FileConversion& conversion,
                     const std::vector<std::u16string>& files);

// Where the user wants a file of one kind saved: `name` beside `besideFile`, unless they say
// otherwise; nothing when they close the dialog. Windows asks whether to replace a file.
std::u16string AskForSaveFile(HWND owner, std::u16string_view title, std::u16string_view kind,
                              std::u16string_view pattern, std::u16string_view name,
                              const std::u16string& besideFile, const wchar_t* extension);

// The files that the user picks in the open dialog, any number; none when it is closed.
std::vector<std::u16string> AskForStarFiles(HWND owner);

// The files that a drop brings; the drop is finished with.
std::vector<std::u16string> DroppedFiles(HDROP drop);

// Asks where to save the table of the files, converts them there off the window's thread while
// a progress dialog shows how far it has come, and shows the converter's messages. Cancel, or
// Escape, leaves no file behind: the table is written beside its target and put in its place
// only when complete.
void ConvertFilesToCsv(HWND owner, const std::vector<std::u16string>& files);
