// The Windows window in the test's own process, where its fonts and its tooltip can be read.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <winternl.h>

#include <array>
#include <cstdint>
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

    LOGFONTW FontOf(int id) const {
        const auto font = reinterpret_cast<HFONT>(SendMessageW(Control(id), WM_GETFONT, 0, 0));
        LOGFONTW logFont{};
        EXPECT_EQ(static_cast<int>(sizeof logFont), GetObjectW(font, sizeof logFont, &logFont));
        return logFont;
    }
    // Tells the window that it moved to a monitor of this DPI, with the rectangle that Windows
    // suggests: its size at that DPI, a little further on; returns that rectangle.
    RECT ChangeDpi(UINT dpi) const {
        RECT suggested{0, 0, MulDiv(4560, static_cast<int>(dpi), 1440),
                       MulDiv(3720, static_cast<int>(dpi), 1440)};
        AdjustWindowRectExForDpi(
            &suggested, static_cast<DWORD>(GetWindowLongW(form.Window(), GWL_STYLE)), FALSE,
            static_cast<DWORD>(GetWindowLongW(form.Window(), GWL_EXSTYLE)), dpi);
        RECT window{};
        GetWindowRect(form.Window(), &window);
        OffsetRect(&suggested, window.left + 20 - suggested.left, window.top + 10 - suggested.top);
        SendMessageW(form.Window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        return suggested;
    }

    const ComApartment com;
    Form1 form;
};

// The system's message font at a DPI.
LOGFONTW MessageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
    return metrics.lfMessageFont;
}

// What this process holds: live GDI objects, windows and kernel handles. Wine 8 answers 0 to
// GetGuiResources and GetProcessHandleCount, so they are counted here: the GDI objects in the
// process's GDI handle table, which the PEB points to as on Windows, the windows of this thread
// with their children, and the handle values that Windows still knows.
struct Resources {
    int gdiObjects = 0;
    int windows = 0;
    int kernelHandles = 0;
};

Resources Count() {
    Resources resources;
    struct TableEntry {
        std::uint64_t object;
        std::uint32_t owner;
        std::uint16_t unique;
        std::uint8_t type;
        std::uint8_t flags;
        std::uint64_t user;
    };
    constexpr std::size_t kGdiTableOffset = 0xF8;  // PEB.GdiSharedHandleTable on x64
    constexpr int kGdiHandles = 0x10000;
    PROCESS_BASIC_INFORMATION process{};
    NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &process,
                              sizeof process, nullptr);
    const auto* peb = reinterpret_cast<const unsigned char*>(process.PebBaseAddress);
    const auto* table = peb == nullptr
                            ? nullptr
                            : *reinterpret_cast<const TableEntry* const*>(peb + kGdiTableOffset);
    for (int i = 0; table != nullptr && i < kGdiHandles; ++i) {
        if (table[i].type != 0) ++resources.gdiObjects;
    }
    const auto countWindow = [](HWND window, LPARAM data) {
        ++*reinterpret_cast<int*>(data);
        EnumChildWindows(
            window, [](HWND, LPARAM count) { return ++*reinterpret_cast<int*>(count), TRUE; },
            data);
        return TRUE;
    };
    EnumThreadWindows(GetCurrentThreadId(), countWindow,
                      reinterpret_cast<LPARAM>(&resources.windows));
    for (std::uintptr_t value = 4; value < 0x10000; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            ++resources.kernelHandles;
    }
    return resources;
}

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

// A laptop at 150 % with monitors at 125 % and 100 %: the window keeps its size in twips, its
// label's 12 points and the system's message font at each DPI, where Windows suggests.
TEST_F(Form1Test, FollowsDpiChanges) {
    for (const UINT dpi : {96u, 144u, 120u, 96u}) {
        SCOPED_TRACE(dpi);
        const RECT suggested = ChangeDpi(dpi);
        RECT window{};
        GetWindowRect(form.Window(), &window);
        EXPECT_EQ(suggested.left, window.left);
        EXPECT_EQ(suggested.top, window.top);
        // Exact also under Wine, whose caption and borders keep their size of 96 dpi.
        RECT client{};
        GetClientRect(form.Window(), &client);
        EXPECT_EQ(MulDiv(4560, static_cast<int>(dpi), 1440), client.right);
        EXPECT_EQ(MulDiv(3720, static_cast<int>(dpi), 1440), client.bottom);
        for (const ControlPlace& control : ControlsAt(static_cast<int>(dpi))) {
            const RECT rect = ClientRectOf(Control(control.id));
            EXPECT_TRUE(EqualRect(&control.rect, &rect)) << control.id;
        }
        const LOGFONTW label = FontOf(IDC_LABEL1);
        EXPECT_EQ(-MulDiv(12, static_cast<int>(dpi), 72), label.lfHeight);
        EXPECT_STREQ(L"ＭＳ Ｐゴシック", label.lfFaceName);
        EXPECT_EQ(SHIFTJIS_CHARSET, label.lfCharSet);
        const LOGFONTW message = MessageFont(dpi);
        for (const int id : {IDC_TEXT1, IDC_COMMAND1}) {
            const LOGFONTW font = FontOf(id);
            EXPECT_EQ(message.lfHeight, font.lfHeight) << id;
            EXPECT_STREQ(message.lfFaceName, font.lfFaceName) << id;
        }
    }
}

// A new message font in the system's settings reaches the text box and the button.
TEST_F(Form1Test, TakesTheNewMessageFont) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    const NONCLIENTMETRICSW original = metrics;
    metrics.lfMessageFont.lfHeight = original.lfMessageFont.lfHeight * 3 / 2;
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    SendMessageW(form.Window(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    const LONG height = MessageFont(96).lfHeight;
    EXPECT_EQ(height, FontOf(IDC_TEXT1).lfHeight);
    EXPECT_EQ(height, FontOf(IDC_COMMAND1).lfHeight);
    NONCLIENTMETRICSW restore = original;
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof restore, &restore, 0);
    EXPECT_NE(original.lfMessageFont.lfHeight, height) << "the setting did not change";
}

// A long session: 300 presses over three kinds of clipboard and 20 moves between monitors leave
// no font, brush, window or handle behind. The margin is for what Windows itself may cache.
TEST_F(Form1Test, LongSessionKeepsItsResources) {
    const std::u16string_view clipboards[] = {u"BT=10.500 VT=10.000", u"BT=12.000 VT=9.000",
                                              u"no magnitudes here"};
    constexpr UINT kDpis[] = {144, 120, 96, 168};
    constexpr int kMargin = 4;
    Resources settled;
    for (int press = 0; press < 300; ++press) {
        PressWith(clipboards[press % 3]);
        if (press % 15 == 14) ChangeDpi(kDpis[(press / 15) % 4]);
        if (press == 9) settled = Count();
    }
    const Resources end = Count();
    EXPECT_LE(end.gdiObjects, settled.gdiObjects + kMargin) << "GDI objects";
    EXPECT_EQ(end.windows, settled.windows) << "windows";
    EXPECT_LE(end.kernelHandles, settled.kernelHandles + kMargin) << "kernel handles";
    EXPECT_LT(0, settled.gdiObjects) << "no GDI table to count in";
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
        L"この色指数での変換式自体の不確かさ：V ± 0.011、B − V ± 0.021\r\n"
        L"B と V の変換式の適用範囲は −0.2 ≦ BT − VT ≦ 1.8 です。\r\n"
        L"R = V − 0.5 (B − V) は粗い近似です。",
        ToolTip());
    wchar_t line[64] = {};
    GetWindowTextW(Control(IDC_LABEL1), line, 64);
    EXPECT_STREQ(L"B = 11.760 / V = 10.909 / R = 10.484", line);
}

}  // namespace
