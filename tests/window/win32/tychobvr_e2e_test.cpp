// The real tychobvr.exe, driven from another process through the clipboard and its controls.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include "Driver.h"
#include "resource.h"
#include "version.h"

namespace {

const std::u16string kStar = u"B = 10.389 / V = 9.959 / R = 9.743";

std::wstring ProgramPath() {
    const char* path = std::getenv("TYCHOBVR_EXE");
    return path == nullptr ? std::wstring() : std::wstring(path, path + std::strlen(path));
}

std::string Narrow(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

// Waits up to two seconds for what posted messages are to bring about.
bool Eventually(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

class WindowTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(program.HasWindow()) << "no window from TYCHOBVR_EXE"; }

    HWND Text1() const { return program.Control(IDC_TEXT1); }
    HWND Label1() const { return program.Control(IDC_LABEL1); }
    HWND Command1() const { return program.Control(IDC_COMMAND1); }
    HWND Focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(program.ThreadId(), &info) ? info.hwndFocus : nullptr;
    }
    void Key(HWND control, WPARAM key) const {
        PostMessageW(control, WM_KEYDOWN, key, 1);
        PostMessageW(control, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
    }
    void PressWith(std::u16string_view clipboard) const {
        ASSERT_TRUE(PutOnClipboard(clipboard));
        program.Press();
    }

    Program program{ProgramPath()};
};

TEST_F(WindowTest, ShowsTheClipboardAndItsLine) {
    const struct {
        std::u16string_view clipboard;
        std::u16string_view line;
    } cases[] = {
        {u"BT=10.500 VT=10.000", kStar},
        {u"BT=7 VT=7", u"B = 7.018 / V = 7.008 / R = 7.003"},
        {u"BT=0.5 VT=0.3", u"B = 0.466 / V = 0.288 / R = 0.199"},
        {u"HIP 1 BT=12 VT=10 & more", u"B = 11.502 / V = 9.810 / R = 8.965"},
        {u"BT=9", u"BT,VT data not found"},
        {u"BT=1E999 VT=1", u"BT,VT value out of range"},
    };
    EXPECT_EQ(u"V = xx.xxx", TextOf(Label1()));
    for (const auto& c : cases) {
        PressWith(c.clipboard);
        EXPECT_EQ(c.clipboard, TextOf(Text1()));
        EXPECT_EQ(c.line, TextOf(Label1())) << Narrow(std::u16string(c.clipboard));
    }
}

TEST_F(WindowTest, BareLineFeedsBecomeLinesOfTheTextBox) {
    PressWith(u"Star\nVT=8.5\nBT=9\n87");
    EXPECT_EQ(u"Star\r\nVT=8.5\r\nBT=9\r\n87", TextOf(Text1()));
    EXPECT_EQ(4, SendMessageW(Text1(), EM_GETLINECOUNT, 0, 0));
    // "87" on the next line must not join the "9" that ends the line before.
    EXPECT_EQ(u"B = 8.889 / V = 8.459 / R = 8.243", TextOf(Label1()));
}

TEST_F(WindowTest, EmptyClipboardEmptiesTheTextBox) {
    SendMessageW(Text1(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"BT=10.5 VT=10 typed"));
    PressWith(u"");
    EXPECT_EQ(u"", TextOf(Text1()));
    EXPECT_EQ(u"BT,VT data not found", TextOf(Label1()));
}

TEST_F(WindowTest, MebibyteOfCatalogueIsShownWhole) {
    std::u16string text;
    while (text.size() < 512 * 1024) text += u"TYC 1234-5678-1 BT=11.500 VT=11.000 n=2\r\n";
    text += u"BT=10.500 VT=10.000";
    PressWith(text);
    EXPECT_EQ(text.size(), TextOf(Text1()).size());
    EXPECT_EQ(kStar, TextOf(Label1()));
}

TEST_F(WindowTest, ClipboardHeldByAnotherProgram) {
    PressWith(u"BT=10.5 VT=10");
    {
        const HeldClipboard held;
        ASSERT_TRUE(held.Held());
        program.Press();
        EXPECT_EQ(u"Clipboard in use by another program", TextOf(Label1()));
        EXPECT_EQ(u"BT=10.5 VT=10", TextOf(Text1()));
    }
    ASSERT_TRUE(program.IsRunning());
    PressWith(u"BT=12 VT=10");
    EXPECT_EQ(u"B = 11.502 / V = 9.810 / R = 8.965", TextOf(Label1()));
}

TEST_F(WindowTest, KeyboardMovesButNeverPressesByAccident) {
    ASSERT_TRUE(PutOnClipboard(u"BT=10.5 VT=10"));
    ASSERT_TRUE(Eventually([&] { return Focus() == Text1(); }));
    EXPECT_EQ(BS_PUSHBUTTON, GetWindowLongW(Command1(), GWL_STYLE) & BS_TYPEMASK);
    Key(Text1(), VK_RETURN);
    Key(Text1(), VK_ESCAPE);
    Key(Text1(), VK_TAB);
    ASSERT_TRUE(Eventually([&] { return Focus() == Command1(); }));
    EXPECT_EQ(u"\r\n", TextOf(Text1()));
    EXPECT_EQ(u"V = xx.xxx", TextOf(Label1()));
    Key(Command1(), VK_ESCAPE);
    Key(Command1(), VK_SPACE);
    EXPECT_TRUE(Eventually([&] { return TextOf(Label1()) == kStar; }));
    EXPECT_TRUE(program.IsRunning());
}

TEST(CommandLineTest, AnswersOnTheStreamsItWasGivenWithoutAWindow) {
    const struct {
        const wchar_t* arguments;
        DWORD exitCode;
        const char* out;
        const char* err;
    } cases[] = {
        {L"--version", 0, "tychobvr " TYCHOBVR_VERSION_TEXT "\n", ""},
        {L"-v", 0, "tychobvr " TYCHOBVR_VERSION_TEXT "\n", ""},
        {L"--bogus", 2, "", "tychobvr: Unknown option 'bogus'.\n"},
        {L"star.txt", 2, "", "tychobvr: Unexpected argument 'star.txt'.\n"},
        {L"--convert --encoding", 2, "", "tychobvr: Missing value after '--encoding'.\n"},
    };
    for (const auto& c : cases) {
        const Output output = RunForOutput(ProgramPath(), c.arguments);
        EXPECT_FALSE(output.timedOut) << "a window or message box is waiting";
        EXPECT_EQ(c.exitCode, output.exitCode);
        EXPECT_EQ(c.out, output.out);
        EXPECT_EQ(c.err, output.err);
    }
    const Output help = RunForOutput(ProgramPath(), L"--help");
    EXPECT_EQ(0u, help.exitCode);
    EXPECT_EQ(0u, help.out.find("Usage: tychobvr.exe [options]\n")) << help.out;
    EXPECT_NE(std::string::npos, help.out.find("--version")) << help.out;
}

// Positions and sizes in twips, as pixels at the DPI.
RECT Expected(int left, int top, int width, int height, int dpi) {
    const auto px = [dpi](int twips) { return MulDiv(twips, dpi, 1440); };
    return {px(left), px(top), px(left) + px(width), px(top) + px(height)};
}

TEST(LayoutTest, ControlsInTwipsAtEveryDpi) {
    for (const int dpi : {96, 144}) {
        const DWORD previous = SetScreenDpi(static_cast<DWORD>(dpi));
        {
            const Program program(ProgramPath());
            ASSERT_TRUE(program.HasWindow());
            const struct {
                int id;
                RECT rect;
            } controls[] = {
                {IDC_TEXT1, Expected(120, 120, 4335, 2415, dpi)},
                {IDC_LABEL1, Expected(120, 2760, 4335, 255, dpi)},
                {IDC_COMMAND1, Expected(3120, 3120, 1335, 495, dpi)},
            };
            RECT client{};
            GetClientRect(program.Form(), &client);
            EXPECT_EQ(MulDiv(4560, dpi, 1440), client.right) << dpi;
            EXPECT_EQ(MulDiv(3720, dpi, 1440), client.bottom) << dpi;
            for (const auto& control : controls) {
                const RECT rect = ClientRectOf(program.Control(control.id));
                EXPECT_EQ(control.rect.left, rect.left) << dpi << " " << control.id;
                EXPECT_EQ(control.rect.top, rect.top) << dpi << " " << control.id;
                EXPECT_EQ(control.rect.right, rect.right) << dpi << " " << control.id;
                EXPECT_EQ(control.rect.bottom, rect.bottom) << dpi << " " << control.id;
            }
        }
        SetScreenDpi(previous);
    }
}

// Run by the package check with the Wine prefix set to Windows 7, where the window cannot follow
// its monitor's DPI.
TEST(OldWindowsTest, SaysWhatItNeedsAndEnds) {
    if (std::getenv("TYCHOBVR_OLD_WINDOWS") == nullptr) GTEST_SKIP() << "run on Windows 7";
    const Program program(ProgramPath(), L"", L"#32770");
    ASSERT_TRUE(program.HasWindow()) << "no message box";
    constexpr int kMessageBoxText = 0xFFFF;
    EXPECT_EQ(u"TychoBVR needs Windows 10 or later.",
              TextOf(GetDlgItem(program.Form(), kMessageBoxText)));
    PostMessageW(program.Form(), WM_COMMAND, IDOK, 0);
    EXPECT_EQ(1u, program.Wait());
}

// Run by ctest with a user locale set and the separator it must give.
TEST(UserLocale, ResultLineUsesTheUsersSeparator) {
    const char* separator = std::getenv("TYCHOBVR_EXPECTED_SEPARATOR");
    if (separator == nullptr) GTEST_SKIP() << "run by ctest with a locale set";
    const Program program(ProgramPath());
    ASSERT_TRUE(program.HasWindow());
    ASSERT_TRUE(PutOnClipboard(u"BT=10.5 VT=10"));
    program.Press();
    const char16_t s = static_cast<char16_t>(separator[0]);
    EXPECT_EQ(std::u16string(u"B = 10") + s + u"389 / V = 9" + s + u"959 / R = 9" + s + u"743",
              TextOf(program.Control(IDC_LABEL1)));
}

}  // namespace
