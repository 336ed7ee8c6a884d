// The window's conversion of files: where to save the table, the conversion with its progress
// and Cancel, and what it had to say.
#pragma once

#include <QStringList>

#include <cstdint>
#include <string>
#include <vector>

class FileConversion;
class QWidget;

// The files' names as the converter takes them, in the file system's encoding, and the bytes
// they hold in all, for the progress.
struct ConversionSources {
    std::vector<std::string> names;
    std::uint64_t totalBytes = 0;
};
ConversionSources SourcesOf(const QStringList& files);

// Asks where to save the table of the files, converts them there off the window's thread while
// a progress dialog shows how far it has come, and shows the converter's messages. Cancel, or
// Escape, leaves no file behind: the table is written beside its target and put in its place
// only when complete.
void ConvertFilesToCsv(QWidget* window, const QStringList& files);

// The open dialog's filter of the files that the converter reads.
QString StarFilesFilter();

// Shows how far the conversion has come in a progress dialog until it ends; false, once it has
// stopped, where the user cancelled it.
bool RunWithProgress(QWidget* window, FileConversion& conversion, const QStringList& files);
