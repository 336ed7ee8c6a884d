// What the tests of the window in their own process share: finding the dialog on top, answering
// dialogs as they come up, clicking their buttons, a picture of one, and reading what was saved.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

std::wstring WindowTextOf(HWND window);

// The dialog of this thread on top: a visible "#32770" that is enabled, as one under another
// modal dialog is not.
HWND TopDialog();

// Answers the dialogs as they come up, in order, from a timer that their own message loops
// run: each step is given the dialog on top and says whether it has done with it. Steps only
// post what they do, so that a dialog that opens another never runs inside the timer.
class DialogScript {
public:
    using Step = std::function<bool(HWND dialog)>;

    explicit DialogScript(std::vector<Step> steps);
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    bool Finished() const { return next_ == steps_.size(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);

    static inline DialogScript* current_ = nullptr;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    UINT_PTR timer_ = 0;
};

// Presses a dialog's button, posted.
void Click(HWND dialog, int id);

// With TYCHOBVR_SCREENSHOTS set to a folder, a picture of the dialog as it is drawn, a BMP named
// win32-NAME-en.bmp or -ja.bmp for the language, for a person to look at.
void Snap(HWND dialog, const wchar_t* name);

// A file's bytes; none where it cannot be read.
std::string ReadAll(const std::wstring& path);
