// The Windows window in the test's own process, where its fonts and its tooltip can be read.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
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
    const std::wstring tip = ToolTip();
    EXPECT_EQ(0u, tip.find(L"Extrapolated: BT − VT lies outside the range of the fits,\r\n"))
        << "lines broken with CR LF";
    EXPECT_NE(std::wstring::npos, tip.find(L"\r\nR = V − 0.5 (B − V) is a coarse approximation."));
    PressWith(u"BT=9");
    EXPECT_EQ(L"", ToolTip());
}

// Run by ctest with a Japanese user locale, which Wine takes from LC_ALL.
TEST_F(Form1Test, JapaneseDesktop) {
    const char* locale = std::getenv("LC_ALL");
    if (locale == nullptr || std::string(locale).rfind("ja", 0) != 0) {
        GTEST_SKIP() << "run by ctest with LC_ALL=ja_JP.UTF-8";
    }
    PressWith(u"BT=12.000 VT=11.000");
    EXPECT_EQ(
        L"暗い星です（VT > 10.5）：Tycho-2 の BT・VT は 0.1 等以上ずれることがあります\r\n"
        L"色指数 BT − VT = 1.000\r\n"
        L"Bessell (2000)：V = 10.902、B − V = 0.878\r\n"
        L"Henden の R・I 変換式：R = 10.446、I = 10.023\r\n"
        L"B と V の変換式の適用範囲は −0.2 ≦ BT − VT ≦ 1.8 です。\r\n"
        L"R = V − 0.5 (B − V) は粗い近似です。",
        ToolTip());
    wchar_t line[64] = {};
    GetWindowTextW(Control(IDC_LABEL1), line, 64);
    EXPECT_STREQ(L"B = 11.760 / V = 10.909 / R = 10.484", line);
}

}  // namespace
