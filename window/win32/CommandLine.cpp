#include "CommandLine.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "Handles.h"
#include "Texts.h"
#include "UserTexts.h"
#include "version.h"

namespace {

constexpr std::u16string_view kProgram = u"tychobvr";

std::u16string Help(const Texts& texts) {
    std::u16string help = Substitute(texts.usage, u"tychobvr.exe");
    help.append(u"\n").append(texts.commandLineDescription).append(u"\n\n");
    help.append(texts.optionsHeading).append(u"\n");
    help.append(u"  -?, -h, --help  ").append(texts.helpOption).append(u"\n");
    help.append(u"  -v, --version   ").append(texts.versionOption).append(u"\n");
    return help;
}

std::string Utf8(std::u16string_view text) {
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int wideLength = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide, wideLength, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(std::max(length, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, wideLength, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

bool WriteTo(HANDLE handle, std::u16string_view text) {
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode)) {
        return WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written,
                             nullptr) != FALSE;
    }
    const std::string bytes = Utf8(text);
    return WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) !=
           FALSE;
}

// A program of the Windows subsystem has a standard stream only when it was redirected; else
// it may borrow the console it was started from, and has a message box as the last resort.
void Say(DWORD stream, std::u16string_view text, bool error) {
    const HANDLE handle = GetStdHandle(stream);
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE &&
        GetFileType(handle) != FILE_TYPE_UNKNOWN && WriteTo(handle, text)) {
        return;
    }
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

int Fail(std::u16string_view message) {
    std::u16string line(kProgram);
    line.append(u": ").append(message).append(u"\n");
    Say(STD_ERROR_HANDLE, line, true);
    return EXIT_FAILURE;
}

}  // namespace

std::optional<int> ProcessCommandLine() {
    int count = 0;
    const std::unique_ptr<LPWSTR, LocalDeleter> arguments(
        CommandLineToArgvW(GetCommandLineW(), &count));
    if (!arguments) return std::nullopt;
    const Texts& texts = UserTexts();
    bool optionsEnded = false;  // after "--" every word is an argument
    for (int i = 1; i < count; ++i) {
        const std::u16string_view argument(reinterpret_cast<const char16_t*>(arguments.get()[i]));
        if (optionsEnded) return Fail(Substitute(texts.unexpectedArgument, argument));
        if (argument == u"--") {
            optionsEnded = true;
            continue;
        }
        if (argument == u"-h" || argument == u"--help" || argument == u"-?" || argument == u"/?") {
            Say(STD_OUTPUT_HANDLE, Help(texts), false);
            return EXIT_SUCCESS;
        }
        if (argument == u"-v" || argument == u"--version") {
            Say(STD_OUTPUT_HANDLE, std::u16string(kProgram) + u" " TYCHOBVR_VERSION_TEXT u"\n",
                false);
            return EXIT_SUCCESS;
        }
        if (argument.size() > 1 && argument.front() == u'-') {
            return Fail(
                Substitute(texts.unknownOption, argument.substr(argument.find_first_not_of(u'-'))));
        }
        return Fail(Substitute(texts.unexpectedArgument, argument));
    }
    return std::nullopt;
}
