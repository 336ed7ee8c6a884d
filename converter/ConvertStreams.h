// What "--convert" reads and writes, as each platform reaches its files and standard streams.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The files, standard input and output and standard error, as each platform reaches them.
class ConvertStreams {
public:
    virtual ~ConvertStreams() = default;

    // Which of the sources, counted from 0, is opened next, for a progress.
    virtual void Reading(std::size_t /*source*/) {}
    // Opens a source by the name the user gave, "-" for standard input; on failure, the
    // system's reason.
    virtual bool Open(const std::string& name, std::u16string& reason) = 0;
    // Reads from the source opened last: the number of bytes, 0 at its end, -1 on failure.
    virtual std::ptrdiff_t Read(char* buffer, std::size_t size, std::u16string& reason) = 0;
    virtual void Close() = 0;
    // The size in bytes of the source opened last, where the system knows it, as of a file.
    virtual std::optional<std::uint64_t> Size() { return std::nullopt; }
    // Reads on from `offset` bytes into the source opened last; false where it cannot, as from
    // a pipe, when the bytes before are read and passed over instead.
    virtual bool Seek(std::uint64_t /*offset*/) { return false; }

    enum class Written { All, ReaderGone, Failed };
    virtual Written Write(std::string_view bytes, std::u16string& reason) = 0;

    // Writes a line, UTF-8 without its line end, to standard error.
    virtual void Complain(std::string_view message) = 0;

    // Writes a whole file by the name the user gave, put in place only once complete, so that a
    // failure leaves nothing behind; on failure, the system's reason.
    virtual bool WriteWholeFile(const std::string& /*name*/, std::string_view /*bytes*/,
                                std::u16string& reason) {
        reason = u"no files can be written here";
        return false;
    }
};
