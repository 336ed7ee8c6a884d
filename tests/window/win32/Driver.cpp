#include "Driver.h"

#include <cstring>
#include <string>
#include <thread>

#include "resource.h"

namespace {

constexpr wchar_t kFormClass[] = L"TychoBVR.Form1";
constexpr auto kPatience = std::chrono::seconds(20);

struct Search {
    DWORD processId;
    const wchar_t* windowClass;
    HWND found;
};

BOOL CALLBACK MatchForm(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (processId != search->processId || std::wcscmp(className, search->windowClass) != 0 ||
        !IsWindowVisible(window)) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

}  // namespace

Program::Program(const std::wstring& path, const std::wstring& arguments,
                 const wchar_t* windowClass) {
    std::wstring commandLine = L"\"" + path + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    const auto start = std::chrono::steady_clock::now();
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return;
    }
    WaitForInputIdle(process.hProcess, 10000);
    Search search{process.dwProcessId, windowClass != nullptr ? windowClass : kFormClass, nullptr};
    while (std::chrono::steady_clock::now() - start < kPatience && IsRunning()) {
        EnumWindows(MatchForm, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    startTime = std::chrono::steady_clock::now() - start;
    form = search.found;
}

Program::~Program() {
    if (process.hProcess == nullptr) return;
    if (form != nullptr) PostMessageW(form, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

bool Program::IsRunning() const {
    return process.hProcess != nullptr && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD Program::Wait() const {
    DWORD exitCode = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &exitCode);
    }
    return exitCode;
}

void Program::Press() const { SendMessageW(Control(IDC_COMMAND1), BM_CLICK, 0, 0); }

namespace {

// What a pipe holds now, read without waiting for more.
std::string Drain(HANDLE pipe) {
    std::string text;
    char buffer[4096];
    DWORD available = 0;
    DWORD read = 0;
    while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0 &&
           ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        text.append(buffer, read);
    }
    return text;
}

}  // namespace

Output RunForOutput(const std::wstring& path, const std::wstring& arguments) {
    Output output;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
    // Room for all that the program says, --help included, so that it never waits to write.
    constexpr DWORD kPipeBytes = 1 << 20;
    CreatePipe(&outRead, &outWrite, &inherit, kPipeBytes);
    CreatePipe(&errRead, &errWrite, &inherit, kPipeBytes);
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    std::wstring commandLine = L"\"" + path + L"\" " + arguments;
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &process) != FALSE;
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    // What the program says fits the pipes' buffers, so it is read once the program has ended.
    if (started) {
        if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
            output.timedOut = true;
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, 10000);
        }
        GetExitCodeProcess(process.hProcess, &output.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    output.out = Drain(outRead);
    output.err = Drain(errRead);
    CloseHandle(outRead);
    CloseHandle(errRead);
    return output;
}

std::u16string TextOf(HWND control) {
    const auto length = SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
    std::u16string text(static_cast<std::size_t>(length), u'\0');
    const auto copied = SendMessageW(control, WM_GETTEXT, static_cast<WPARAM>(length + 1),
                                     reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

bool PutOnClipboard(std::u16string_view text) {
    HeldClipboard clipboard;
    if (!clipboard.Held() || !EmptyClipboard()) return false;
    if (text.empty()) return true;
    const SIZE_T bytes = (text.size() + 1) * sizeof(char16_t);
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr) return false;
    void* data = GlobalLock(memory);
    std::memcpy(data, text.data(), text.size() * sizeof(char16_t));
    static_cast<char16_t*>(data)[text.size()] = u'\0';
    GlobalUnlock(memory);
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
        GlobalFree(memory);
        return false;
    }
    return true;
}

std::array<ControlPlace, 3> ControlsAt(int dpi) {
    const auto rect = [dpi](int left, int top, int width, int height) {
        const auto px = [dpi](int twips) { return MulDiv(twips, dpi, 1440); };
        return RECT{px(left), px(top), px(left) + px(width), px(top) + px(height)};
    };
    return {{{IDC_TEXT1, rect(120, 120, 4335, 2415)},
             {IDC_LABEL1, rect(120, 2760, 4335, 255)},
             {IDC_COMMAND1, rect(3120, 3120, 1335, 495)}}};
}

RECT ClientRectOf(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

DWORD SetScreenDpi(DWORD dpi) {
    HKEY key = nullptr;
    DWORD previous = 96;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0,
                      KEY_QUERY_VALUE | KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
        return previous;
    }
    DWORD size = sizeof previous;
    RegQueryValueExW(key, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&previous),
                     &size);
    RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                   sizeof dpi);
    RegCloseKey(key);
    return previous;
}
