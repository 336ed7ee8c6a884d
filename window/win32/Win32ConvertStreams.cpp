#include "Win32ConvertStreams.h"

#include <string>

#include "Console.h"
#include "ReplacingFile.h"
#include "Utf.h"

Win32ConvertStreams::Win32ConvertStreams() = default;

void Win32ConvertStreams::FindStandardStreams() {
    if (streamsFound_) return;
    streamsFound_ = true;
    output_ = GetStdHandle(STD_OUTPUT_HANDLE);
    errors_ = GetStdHandle(STD_ERROR_HANDLE);
    // A window program started from a console has no standard streams of its own: it writes
    // to that console, where one can be borrowed.
    if ((!IsUsable(output_) || !IsUsable(errors_)) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        console_ =
            CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (!IsUsable(output_)) output_ = console_;
        if (!IsUsable(errors_)) errors_ = console_;
    }
}

Win32ConvertStreams::~Win32ConvertStreams() {
    Close();
    if (console_ != INVALID_HANDLE_VALUE) {
        CloseHandle(console_);
        FreeConsole();
    }
}

bool Win32ConvertStreams::Open(const std::string& name, std::u16string& reason) {
    if (name == "-") {
        FindStandardStreams();
        source_ = GetStdHandle(STD_INPUT_HANDLE);
        ownsSource_ = false;
        if (!IsUsable(source_)) {
            SystemReason(ERROR_INVALID_HANDLE, reason);
            return false;
        }
        return true;
    }
    const std::u16string wide = Utf16FromUtf8(name);
    source_ = CreateFileW(reinterpret_cast<const wchar_t*>(wide.c_str()), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    ownsSource_ = true;
    if (source_ == INVALID_HANDLE_VALUE) {
        SystemReason(GetLastError(), reason);
        return false;
    }
    return true;
}

std::ptrdiff_t Win32ConvertStreams::Read(char* buffer, std::size_t size, std::u16string& reason) {
    DWORD count = 0;
    if (ReadFile(source_, buffer, static_cast<DWORD>(size), &count, nullptr)) return count;
    const DWORD error = GetLastError();
    // A pipe whose writer has finished has come to its end.
    if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) return 0;
    SystemReason(error, reason);
    return -1;
}

std::optional<std::uint64_t> Win32ConvertStreams::Size() {
    LARGE_INTEGER size{};
    if (GetFileType(source_) != FILE_TYPE_DISK || !GetFileSizeEx(source_, &size)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(size.QuadPart);
}

bool Win32ConvertStreams::Seek(std::uint64_t offset) {
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(offset);
    return Size() && SetFilePointerEx(source_, to, nullptr, FILE_BEGIN);
}

void Win32ConvertStreams::Close() {
    if (ownsSource_ && source_ != INVALID_HANDLE_VALUE) CloseHandle(source_);
    source_ = INVALID_HANDLE_VALUE;
    ownsSource_ = false;
}

ConvertStreams::Written Win32ConvertStreams::Write(std::string_view bytes, std::u16string& reason) {
    FindStandardStreams();
    DWORD mode = 0;
    // A console shows UTF-16 whatever its code page; the rows are whole characters.
    if (GetConsoleMode(output_, &mode)) {
        if (WriteTo(output_, Utf16FromUtf8(bytes))) return Written::All;
        SystemReason(GetLastError(), reason);
        return Written::Failed;
    }
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteFile(output_, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                       nullptr)) {
            const DWORD error = GetLastError();
            if (error == ERROR_BROKEN_PIPE || error == ERROR_NO_DATA ||
                error == ERROR_PIPE_NOT_CONNECTED) {
                return Written::ReaderGone;
            }
            SystemReason(error, reason);
            return Written::Failed;
        }
        bytes.remove_prefix(written);
    }
    return Written::All;
}

void Win32ConvertStreams::Complain(std::string_view message) {
    FindStandardStreams();
    WriteTo(errors_, u"tychobvr: " + Utf16FromUtf8(message) + u"\n");
}

bool Win32ConvertStreams::WriteWholeFile(const std::string& name, std::string_view bytes,
                                         std::u16string& reason) {
    ReplacingFile file;
    return file.Open(Utf16FromUtf8(name), reason) && file.Write(bytes, reason) &&
           file.Commit(reason);
}
