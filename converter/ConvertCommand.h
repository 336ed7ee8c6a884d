// "--convert": the converter as a command, over what the platform gives to read and write files.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "CsvConverter.h"
#include "Texts.h"

// The files, standard input and output and standard error, as each platform reaches them.
class ConvertStreams {
public:
    virtual ~ConvertStreams() = default;

    // Opens a source by the name the user gave, "-" for standard input; on failure, the
    // system's reason.
    virtual bool Open(const std::string& name, std::u16string& reason) = 0;
    // Reads from the source opened last: the number of bytes, 0 at its end, -1 on failure.
    virtual std::ptrdiff_t Read(char* buffer, std::size_t size, std::u16string& reason) = 0;
    virtual void Close() = 0;

    enum class Written { All, ReaderGone, Failed };
    virtual Written Write(std::string_view bytes, std::u16string& reason) = 0;

    // Writes a line, UTF-8 without its line end, to standard error.
    virtual void Complain(std::string_view message) = 0;
};

// Converts the sources in turn, standard input when there are none, and writes the table to
// standard output. Returns the exit status: 0 when every source was read and decoded, also when
// the reader of the output went away early; 1 when anything could not be read, decoded or written.
int RunConvert(const std::vector<std::string>& sources, CsvConverter::Options options,
               const Texts& texts, ConvertStreams& streams);
