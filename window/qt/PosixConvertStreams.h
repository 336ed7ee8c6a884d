// The converter's files and standard streams through the POSIX calls.
#pragma once

#include "ConvertCommand.h"

class PosixConvertStreams : public ConvertStreams {
public:
    // A reader that goes away shows as a failed write, not as a signal that ends the program.
    PosixConvertStreams();

    bool Open(const std::string& name, std::u16string& reason) override;
    std::ptrdiff_t Read(char* buffer, std::size_t size, std::u16string& reason) override;
    void Close() override;
    std::optional<std::uint64_t> Size() override;
    bool Seek(std::uint64_t offset) override;
    Written Write(std::string_view bytes, std::u16string& reason) override;
    void Complain(std::string_view message) override;
    bool WriteWholeFile(const std::string& name, std::string_view bytes,
                        std::u16string& reason) override;

private:
    int source_ = -1;
};
