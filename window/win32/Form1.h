// The program's only window, made of the standard Windows controls.
#pragma once

#include <windows.h>

#include <oleacc.h>
#include <shellapi.h>

#include "Handles.h"
#include "ResultLine.h"

// The clipboard's text in Text1, its result line in Label1 and the "OK" button Command1, laid
// out in twips for the window's DPI. Files opened with Ctrl+O, or from the system menu, or
// dropped on the window, are converted into a CSV table.
class Form1 {
public:
    Form1() = default;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Creates the window and shows it; false when Windows cannot.
    bool Create(HINSTANCE instance, int show);

    HWND Window() const { return window; }

    // Lets the keyboard move between the controls as in a dialog box, and Ctrl+O convert files;
    // true when the message was used up that way.
    bool HandleDialogKeys(MSG& message);

private:
    static LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK TextBoxProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR data);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    bool OnCreate();
    void OnActivate(WPARAM wParam);
    void OnCommand(WPARAM wParam);
    void OnDropFiles(HDROP drop);
    bool OnSysCommand(WPARAM wParam);
    LRESULT OnCtlColorStatic(WPARAM wParam, LPARAM lParam);
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void OnSettingChange(WPARAM wParam);
    void OnDestroy();

    void Command1_Click();
    void ConvertFiles_Click();
    void ComparisonStars_Click();
    HWND CreateControl(const wchar_t* className, const wchar_t* text, DWORD style,
                       DWORD extendedStyle, int id);
    void LayOut(UINT dpi);
    void ShowResult(const Result& result);

    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    HWND Text1 = nullptr;
    HWND Label1 = nullptr;
    HWND Command1 = nullptr;
    HWND toolTip = nullptr;
    UINT layoutDpi = USER_DEFAULT_SCREEN_DPI;  // the DPI the window is laid out for
    UniqueFont messageFont;                    // the text box's and the button's, for that DPI
    UniqueFont labelFont;
    UniqueAccelerators accelerators;         // Ctrl+O
    ComPtr<IAccPropServices> accessibility;  // null where the annotations are not to be had
    HWND lastFocus = nullptr;                // the control to give the focus back to on activation
    bool extrapolated = false;               // whether Label1 shows magnitudes outside the fits
};
