// Drives a running tychobvr.exe from another process, the way a user and the clipboard would.
#pragma once

#include <windows.h>

#include <array>
#include <chrono>
#include <string>
#include <string_view>

// One run of the program, from its start to its window's close.
class Program {
public:
    // Starts the program with the arguments and waits until its window is there: its form, or
    // a top-level window of another class, such as a message box's "#32770".
    explicit Program(const std::wstring& path, const std::wstring& arguments = L"",
                     const wchar_t* windowClass = nullptr);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool HasWindow() const { return form != nullptr; }
    bool IsRunning() const;
    HWND Form() const { return form; }
    HWND Control(int id) const { return GetDlgItem(form, id); }
    DWORD ThreadId() const { return process.dwThreadId; }
    HANDLE Process() const { return process.hProcess; }
    // How long it took from the start until the window was shown.
    std::chrono::steady_clock::duration StartTime() const { return startTime; }

    // Waits for the program to end, at most ten seconds, and gives its exit code.
    DWORD Wait() const;

    // Clicks OK and returns once the press is done.
    void Press() const;

private:
    PROCESS_INFORMATION process{};
    HWND form = nullptr;
    std::chrono::steady_clock::duration startTime{};
};

// What a run of the program with its standard output and error redirected printed.
struct Output {
    DWORD exitCode = 0;
    std::string out;
    std::string err;
    bool timedOut = false;
};

// Runs the program with the arguments to its end, at most ten seconds.
Output RunForOutput(const std::wstring& path, const std::wstring& arguments);

// The text of a control in another process.
std::u16string TextOf(HWND control);

// Puts Unicode text on the clipboard; an empty view empties the clipboard.
bool PutOnClipboard(std::u16string_view text);

// Keeps the clipboard open, as a slow program might, until the object goes.
class HeldClipboard {
public:
    explicit HeldClipboard(HWND owner = nullptr) : held(OpenClipboard(owner) != FALSE) {}
    ~HeldClipboard() {
        if (held) CloseClipboard();
    }
    HeldClipboard(const HeldClipboard&) = delete;
    HeldClipboard& operator=(const HeldClipboard&) = delete;
    bool Held() const { return held; }

private:
    bool held;
};

// A child window's rectangle in its parent's client coordinates.
RECT ClientRectOf(HWND child);

// Where the window's controls belong at a DPI: their rectangles in its client area, from their
// places in twips.
struct ControlPlace {
    int id;
    RECT rect;
};
std::array<ControlPlace, 3> ControlsAt(int dpi);

// The user's screen DPI for programs started from now on; the previous value is given back.
DWORD SetScreenDpi(DWORD dpi);
