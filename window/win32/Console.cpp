#include "Console.h"

#include <algorithm>
#include <string>

#include "Utf.h"

bool IsUsable(HANDLE handle) {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

bool WriteTo(HANDLE handle, std::u16string_view text) {
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode)) {
        // Older consoles refuse a write of more than 64 KiB; a piece never splits a surrogate pair.
        constexpr std::size_t kPiece = 8192;
        while (!text.empty()) {
            std::size_t size = std::min(text.size(), kPiece);
            if (size < text.size() && text[size - 1] >= 0xD800 && text[size - 1] <= 0xDBFF) --size;
            if (!WriteConsoleW(handle, text.data(), static_cast<DWORD>(size), &written, nullptr)) {
                return false;
            }
            text.remove_prefix(size);
        }
        return true;
    }
    const std::string bytes = Utf8FromUtf16(text);
    return WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) !=
           FALSE;
}

void Say(DWORD stream, std::u16string_view text, bool error) {
    const HANDLE handle = GetStdHandle(stream);
    if (IsUsable(handle) && WriteTo(handle, text)) return;
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        const HANDLE console =
            CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        const bool written = console != INVALID_HANDLE_VALUE && WriteTo(console, text);
        if (console != INVALID_HANDLE_VALUE) CloseHandle(console);
        FreeConsole();
        if (written) return;
    }
    const std::u16string message(text);
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(message.c_str()), L"TychoBVR",
                static_cast<UINT>(MB_OK | (error ? MB_ICONERROR : MB_ICONINFORMATION)));
}

std::u16string_view SystemReason(DWORD error, std::u16string& storage) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0 || text == nullptr) {
        storage = u"error " + Utf16FromUtf8(std::to_string(error));
    } else {
        storage.assign(reinterpret_cast<const char16_t*>(text), length);
        LocalFree(text);
    }
    while (!storage.empty() && (storage.back() == u'\n' || storage.back() == u'\r' ||
                                storage.back() == u' ' || storage.back() == u'.')) {
        storage.pop_back();
    }
    return storage;
}
