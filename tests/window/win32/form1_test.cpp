// The Windows window in the test's own process, where its fonts and its tooltip can be read.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "Driver.h"
#include "Form1.h"
#include "resource.h"

namespace {

class Form1Test : public testing::Test {
protected:
    void SetUp() override {
        const INITCOMMONCONTROLSEX controls{sizeof controls,
                                            ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE));
    }
    void TearDown() override { DestroyWindow(form.Window()); }

    HWND Control(int id) const { return GetDlgItem(form.Window(), id); }
    void PressWith(std::u16string_view clipboard) const {
        ASSERT_TRUE(PutOnClipboard(clipboard));
        SendMessageW(Control(IDC_COMMAND1), BM_CLICK, 0, 0);
    }
    std::wstring ToolTip() const {
        const HWND toolTip = FindToolTip();
        wchar_t text[1024] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = form.Window();
        tool.uId = reinterpret_cast<UINT_PTR>(Control(IDC_LABEL1));
        tool.lpszText = text;
        SendMessageW(toolTip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&tool));
        return text;
    }
    HWND FindToolTip() const {
        HWND found = nullptr;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM data) {
                wchar_t name[64] = {};
                GetClassNameW(window, name, 64);
                if (std::wstring(name) != TOOLTIPS_CLASSW) return TRUE;
                *reinterpret_cast<HWND*>(data) = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }

    const ComApartment com;
    Form1 form;
};

TEST_F(Form1Test, LabelFont) {
    const auto font = reinterpret_cast<HFONT>(SendMessageW(Control(IDC_LABEL1), WM_GETFONT, 0, 0));
    LOGFONTW logFont{};
    ASSERT_EQ(static_cast<int>(sizeof logFont), GetObjectW(font, sizeof logFont, &logFont));
    EXPECT_STREQ(L"ＭＳ Ｐゴシック", logFont.lfFaceName);
    EXPECT_EQ(-MulDiv(12, static_cast<int>(GetDpiForWindow(form.Window())), 72), logFont.lfHeight);
    EXPECT_EQ(FW_NORMAL, logFont.lfWeight);
    EXPECT_EQ(SHIFTJIS_CHARSET, logFont.lfCharSet);
}

TEST_F(Form1Test, ToolTipSaysWhatTheLineRestsOn) {
    PressWith(u"BT=12.000 VT=9.000");
    EXPECT_EQ(
        L"Extrapolated: BT − VT lies outside the range of the fits,\r\n"
        L"so B and V may be off by a tenth of a magnitude or more.\r\n"
        L"BT − VT = 3.000\r\n"
        L"The B and V fits hold for -0.2 ≤ BT − VT ≤ 1.8.\r\n"
        L"R = V − 0.5 (B − V) is a coarse approximation.",
        ToolTip());
    PressWith(u"BT=9");
    EXPECT_EQ(L"", ToolTip());
}

}  // namespace
