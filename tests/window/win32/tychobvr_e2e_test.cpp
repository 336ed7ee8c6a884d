// The real tychobvr.exe, driven from another process through the clipboard and its controls.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

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

// A block of global memory holding the bytes, for the clipboard.
HGLOBAL Global(const void* bytes, std::size_t size) {
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(memory), bytes, size);
    GlobalUnlock(memory);
    return memory;
}

// Another program's clipboard: the formats it puts there at once, and the Unicode text it
// promises and renders only when asked, after a while or not at all.
class ClipboardOwner {
public:
    struct Format {
        UINT format;
        std::string bytes;
    };
    enum class Promise { None, RendersAfterASecond, RendersNothing };

    ClipboardOwner(const std::vector<Format>& formats, Promise kind, std::u16string text)
        : promise(kind), promised(std::move(text)) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = WndProc;
        windowClass.lpszClassName = L"TychoBVR.ClipboardOwner";
        RegisterClassW(&windowClass);
        window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                 nullptr, nullptr, nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        const HeldClipboard clipboard(window);
        EmptyClipboard();
        for (const Format& format : formats) {
            SetClipboardData(format.format, Global(format.bytes.data(), format.bytes.size()));
        }
        if (promise != Promise::None) SetClipboardData(CF_UNICODETEXT, nullptr);
    }
    ~ClipboardOwner() {
        PutOnClipboard(u"");  // no promise outlives its owner
        DestroyWindow(window);
    }
    ClipboardOwner(const ClipboardOwner&) = delete;
    ClipboardOwner& operator=(const ClipboardOwner&) = delete;

private:
    static LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<ClipboardOwner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_RENDERFORMAT && self != nullptr) {
            if (self->promise == Promise::RendersAfterASecond) {
                std::this_thread::sleep_for(std::chrono::seconds(1));
                const std::u16string& text = self->promised;
                SetClipboardData(static_cast<UINT>(wParam),
                                 Global(text.c_str(), (text.size() + 1) * sizeof(char16_t)));
            }
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    Promise promise;
    std::u16string promised;
    HWND window = nullptr;
};

// What other Windows programs leave on the clipboard: old Japanese ones only CF_TEXT in code
// page 932 with CF_LOCALE, some the text only when it is asked for, some only a picture or files.
TEST_F(WindowTest, ClipboardsOfOtherPrograms) {
    using Promise = ClipboardOwner::Promise;
    const LCID japanese = 0x0411;
    // "すばる BT=10.500 VT=10.000" in code page 932, with its null.
    const std::string shiftJis("\x82\xb7\x82\xce\x82\xe9 BT=10.500 VT=10.000", 27);
    BITMAPINFOHEADER bitmap{sizeof bitmap, 1, 1, 1, 24, BI_RGB, 4, 0, 0, 0, 0};
    std::string dib(reinterpret_cast<const char*>(&bitmap), sizeof bitmap);
    dib.append(4, '\0');
    DROPFILES drop{sizeof drop, {0, 0}, FALSE, TRUE};
    std::string files(reinterpret_cast<const char*>(&drop), sizeof drop);
    const std::u16string path = u"C:\\stars BT=10.5 VT=10.txt";
    files.append(reinterpret_cast<const char*>(path.c_str()), (path.size() + 2) * sizeof(char16_t));
    const struct {
        const char* name;
        std::vector<ClipboardOwner::Format> formats;
        Promise promise;
        std::u16string text;
        std::u16string_view line;
    } cases[] = {
        {"CF_TEXT in code page 932",
         {{CF_TEXT, shiftJis},
          {CF_LOCALE, std::string(reinterpret_cast<const char*>(&japanese), sizeof japanese)}},
         Promise::None,
         u"すばる BT=10.500 VT=10.000",
         kStar},
        {"rendered after a second",
         {},
         Promise::RendersAfterASecond,
         u"BT=10.500 VT=10.000",
         kStar},
        {"rendered as nothing", {}, Promise::RendersNothing, u"", u"BT,VT data not found"},
        {"only a bitmap", {{CF_DIB, dib}}, Promise::None, u"", u"BT,VT data not found"},
        {"only files", {{CF_HDROP, files}}, Promise::None, u"", u"BT,VT data not found"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PressWith(u"BT=9 VT=9");  // what the text box held before
        const ClipboardOwner owner(c.formats, c.promise, c.text);
        const auto start = std::chrono::steady_clock::now();
        program.Press();
        const auto pressed = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(c.text, TextOf(Text1()));
        EXPECT_EQ(c.line, TextOf(Label1()));
        if (c.promise == Promise::RendersAfterASecond) {
            EXPECT_GE(pressed, std::chrono::seconds(1)) << "the press did not wait";
        }
        ASSERT_TRUE(program.IsRunning());
    }
}

TEST_F(WindowTest, FourMebibytesOfText) {
    std::u16string text;
    while (text.size() < 2 * 1024 * 1024) text += u"TYC 1234-5678-1 BT=11.500 VT=11.000 n=2\r\n";
    text += u"BT=10.500 VT=10.000";
    ASSERT_TRUE(PutOnClipboard(text));
    const auto start = std::chrono::steady_clock::now();
    program.Press();
    const std::chrono::duration<double> pressed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(kStar, TextOf(Label1()));
    std::printf("press with %zu KiB of text: %.2f s\n", text.size() * 2 / 1024, pressed.count());
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
    // The Enter's character is posted behind the keys that follow it, so it may come last.
    EXPECT_TRUE(Eventually([&] { return TextOf(Text1()) == u"\r\n"; }));
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

TEST(LayoutTest, ControlsInTwipsAtEveryDpi) {
    for (const int dpi : {96, 144}) {
        const DWORD previous = SetScreenDpi(static_cast<DWORD>(dpi));
        {
            const Program program(ProgramPath());
            ASSERT_TRUE(program.HasWindow());
            RECT client{};
            GetClientRect(program.Form(), &client);
            EXPECT_EQ(MulDiv(4560, dpi, 1440), client.right) << dpi;
            EXPECT_EQ(MulDiv(3720, dpi, 1440), client.bottom) << dpi;
            for (const ControlPlace& control : ControlsAt(dpi)) {
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
