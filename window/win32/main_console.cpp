// tychobvr.com: the same command line for a console, where cmd.exe and PowerShell wait for it
// and show what it writes. Without anything to answer there, it starts the window, tychobvr.exe
// beside it, and returns at once as a window program does.
#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "CommandLine.h"
#include "Console.h"

namespace {

int StartWindowProgram() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    path.replace(path.rfind(L'.'), std::wstring::npos, L".exe");
    std::wstring commandLine = GetCommandLineW();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        std::u16string reason;
        SystemReason(GetLastError(), reason);
        Say(STD_ERROR_HANDLE, u"tychobvr: " + reason + u"\n", true);
        return EXIT_FAILURE;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return EXIT_SUCCESS;
}

}  // namespace

int wmain() {
    if (const std::optional<int> exitCode = ProcessCommandLine()) return *exitCode;
    return StartWindowProgram();
}
