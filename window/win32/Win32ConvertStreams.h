// The converter's files and standard streams through the Windows API.
#pragma once

#include <windows.h>

#include "ConvertCommand.h"

// The standard streams are looked for when first used, so that the window's own
// conversion, which only reads files, never borrows a console.
class Win32ConvertStreams : public ConvertStreams {
public:
    Win32ConvertStreams();
    ~Win32ConvertStreams() override;
    Win32ConvertStreams(const Win32ConvertStreams&) = delete;
    Win32ConvertStreams& operator=(const Win32ConvertStreams&) = delete;

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
    void FindStandardStreams();

    HANDLE source_ = INVALID_HANDLE_VALUE;
    bool ownsSource_ = false;
    HANDLE output_ = INVALID_HANDLE_VALUE;
    HANDLE errors_ = INVALID_HANDLE_VALUE;
    HANDLE console_ = INVALID_HANDLE_VALUE;  // the parent's, borrowed by a window program
    bool streamsFound_ = false;
};
