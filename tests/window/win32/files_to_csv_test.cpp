// The window's conversion of files in the test's own process, driven as a user would: Ctrl+O
// and the common dialogs, a drop of files, Escape on the progress, and the table held against
// what tychobvr.com --convert writes for the same files.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>
#include <shellapi.h>
#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "Dialogs.h"
#include "Driver.h"
#include "Form1.h"
#include "Texts.h"
#include "UserTexts.h"
#include "resource.h"

namespace {

using Clock = std::chrono::steady_clock;

std::wstring Wide(std::u16string_view text) { return {text.begin(), text.end()}; }

// The file name box of a common file dialog: an edit of its own, or the edit somewhere inside
// its combo box.
HWND FileNameBox(HWND dialog) {
    if (const HWND edit = GetDlgItem(dialog, edt1)) return edit;
    HWND edit = nullptr;
    EnumChildWindows(
        GetDlgItem(dialog, cmb13),
        [](HWND child, LPARAM found) {
            wchar_t name[16] = {};
            GetClassNameW(child, name, 16);
            if (std::wstring(name) != L"Edit") return TRUE;
            *reinterpret_cast<HWND*>(found) = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&edit));
    return edit;
}

// Types a file name into the dialog's box.
void TypeFileName(HWND dialog, const std::wstring& name) {
    SetWindowTextW(FileNameBox(dialog), name.c_str());
    if (const HWND combo = GetDlgItem(dialog, cmb13)) SetWindowTextW(combo, name.c_str());
}

bool IsFileDialog(HWND dialog, std::u16string_view title) {
    return WindowTextOf(dialog) == Wide(title) && FileNameBox(dialog) != nullptr;
}

// The open dialog: the files typed in by name, from the folder that it shows.
DialogScript::Step PickFiles(std::vector<std::wstring> names) {
    return [names](HWND dialog) {
        if (!IsFileDialog(dialog, UserTexts().filesToConvert)) return false;
        std::wstring typed;
        for (const std::wstring& name : names) typed += L"\"" + name + L"\" ";
        TypeFileName(dialog, typed);
        Click(dialog, IDOK);
        return true;
    };
}

// The save dialog: the name it proposes, then the target typed in.
DialogScript::Step SaveAs(std::wstring* proposed, std::wstring target) {
    return [proposed, target](HWND dialog) {
        if (!IsFileDialog(dialog, UserTexts().saveTable)) return false;
        *proposed = WindowTextOf(FileNameBox(dialog));
        TypeFileName(dialog, target);
        Click(dialog, IDOK);
        return true;
    };
}

// The question whether to replace a file that is there.
DialogScript::Step Replace() {
    return [](HWND dialog) {
        if (GetDlgItem(dialog, IDYES) == nullptr) return false;
        Click(dialog, IDYES);
        return true;
    };
}

// The messages at the end: their text kept, then closed with Enter.
DialogScript::Step ReadMessages(std::wstring* said, const wchar_t* picture = nullptr) {
    return [said, picture](HWND dialog) {
        const HWND messages = GetDlgItem(dialog, IDC_MESSAGES);
        if (messages == nullptr) return false;
        *said = WindowTextOf(messages);
        if (picture != nullptr) Snap(dialog, picture);
        Click(dialog, IDOK);
        return true;
    };
}

std::wstring FromUtf8(const std::string& text) {
    std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(
                          CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0)),
                      L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        static_cast<int>(wide.size()));
    return wide;
}

// A DROPFILES block of the paths, as the shell posts it.
HGLOBAL DropOf(const std::vector<std::wstring>& paths) {
    std::wstring names;
    for (const std::wstring& path : paths) names += path + L'\0';
    names += L'\0';
    const std::size_t size = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(drop + 1, names.data(), names.size() * sizeof(wchar_t));
    GlobalUnlock(block);
    return block;
}

class FilesToCsvTest : public testing::Test {
protected:
    void SetUp() override {
        // One apartment for the whole run, as the program has one for its life.
        static const ComApartment com;
        const INITCOMMONCONTROLSEX controls{sizeof controls,
                                            ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        wchar_t temporary[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temporary);
        // A folder of each test's own: the file dialogs watch the folders that they showed.
        static int tests = 0;
        folder = std::wstring(temporary) + L"tychobvr-files-" +
                 std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++tests);
        CreateDirectoryW(folder.c_str(), nullptr);
        // The open dialog starts in the current folder.
        SetCurrentDirectoryW(folder.c_str());
        ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr), SW_SHOW));
        SetForegroundWindow(form.Window());
    }
    void TearDown() override {
        DestroyWindow(form.Window());
        // The window's end quits the program's loop: here the next test's dialogs would see it.
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
        for (const std::wstring& name : Files()) DeleteFileW((folder + L"\\" + name).c_str());
        SetCurrentDirectoryW(L"C:\\");
        RemoveDirectoryW(folder.c_str());
    }

    std::wstring Copied(const std::wstring& sample) {
        const std::wstring path = folder + L"\\" + sample;
        CopyFileW((std::wstring(TYCHOBVR_SAMPLES) + L"\\" + sample).c_str(), path.c_str(), FALSE);
        return path;
    }
    std::vector<std::wstring> Files() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found{};
        const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(found.cFileName);
        } while (FindNextFileW(search, &found));
        FindClose(search);
        return names;
    }

    // Runs the window's messages, its keys as the program's loop takes them, until the script
    // has finished and no dialog is left, or thirty seconds have passed.
    void RunUntilDone(const DialogScript& script) {
        const Clock::time_point end = Clock::now() + std::chrono::seconds(30);
        while (Clock::now() < end && !(script.Finished() && TopDialog() == nullptr)) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (form.HandleDialogKeys(message)) continue;
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }

    // Ctrl+O, as the keyboard gives it to the window.
    void PressCtrlO() {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        PostMessageW(GetDlgItem(form.Window(), IDC_TEXT1), WM_KEYDOWN, 'O', 1);
        PostMessageW(GetDlgItem(form.Window(), IDC_TEXT1), WM_KEYUP, 'O',
                     static_cast<LPARAM>(0xC0000001));
    }
    static void ReleaseCtrl() {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
    }

    // What tychobvr.com writes for the same files: the table, and its messages as the window
    // shows them.
    static Output CommandLine(const std::vector<std::wstring>& files) {
        std::wstring arguments = L"--convert";
        for (const std::wstring& file : files) arguments += L" \"" + file + L"\"";
        return RunForOutput(TYCHOBVR_COM, arguments);
    }
    static std::wstring AsShown(const std::string& messages) {
        std::wstring shown;
        for (const wchar_t c : FromUtf8(messages)) {
            if (c == L'\n') shown += L'\r';
            shown += c;
        }
        for (std::size_t at; (at = shown.find(L"tychobvr: ")) != std::wstring::npos;)
            shown.erase(at, 10);
        return shown;
    }

    Form1 form;
    std::wstring folder;
};

// Ctrl+O with several files, or the files dropped on the window with one among them that cannot
// be read: the table is the command line's bytes, and the messages are its messages after the
// name of the table.
TEST_F(FilesToCsvTest, ConvertsAsTheCommandLine) {
    for (const bool dropped : {false, true}) {
        // A list of known variables last, which counts all the same.
        std::vector<std::wstring> files = {Copied(L"catalogue.tsv"), Copied(L"tyc2-sample.dat.gz"),
                                           Copied(L"stars.txt"), Copied(L"variables-sample.tsv")};
        if (dropped) files.insert(files.begin() + 1, folder + L"\\gone.txt");
        const std::wstring target = folder + (dropped ? L"\\dropped.csv" : L"\\opened.csv");
        std::wstring proposed, said;
        std::vector<DialogScript::Step> steps;
        if (!dropped)
            steps.push_back(PickFiles(
                {L"catalogue.tsv", L"tyc2-sample.dat.gz", L"stars.txt", L"variables-sample.tsv"}));
        steps.push_back(SaveAs(&proposed, target));
        steps.push_back(ReadMessages(&said, dropped ? L"messages" : nullptr));
        const DialogScript script(std::move(steps));
        if (dropped) {
            // The shell drops files only on a window that says it takes them.
            EXPECT_TRUE(GetWindowLongW(form.Window(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
            PostMessageW(form.Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf(files)), 0);
        } else {
            PressCtrlO();
        }
        RunUntilDone(script);
        ReleaseCtrl();
        ASSERT_TRUE(script.Finished()) << (dropped ? "dropped" : "Ctrl+O");

        EXPECT_EQ(L"tychobvr.csv", proposed);
        const Output expected = CommandLine(files);
        EXPECT_EQ(expected.out, ReadAll(target));
        const std::wstring saved =
            Wide(Substitute(UserTexts().tableSaved, std::u16string(target.begin(), target.end())));
        EXPECT_EQ(saved + L"\r\n\r\n" + AsShown(expected.err), said);
    }
    // OK still works afterwards.
    ASSERT_TRUE(PutOnClipboard(u"BT=10.5 VT=10"));
    SendMessageW(GetDlgItem(form.Window(), IDC_COMMAND1), BM_CLICK, 0, 0);
    EXPECT_EQ(u"B = 10.389 / V = 9.959 / R = 9.743", TextOf(GetDlgItem(form.Window(), IDC_LABEL1)));
}

// A table that is there already is replaced once the user says so.
TEST_F(FilesToCsvTest, ReplacesATableWhenAsked) {
    const std::wstring file = Copied(L"catalogue.tsv");
    const std::wstring target = folder + L"\\tychobvr.csv";
    std::ofstream(std::filesystem::path(target)) << "old table\n";
    std::wstring proposed, said;
    const DialogScript script({SaveAs(&proposed, target), Replace(), ReadMessages(&said)});
    PostMessageW(form.Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf({file})), 0);
    RunUntilDone(script);
    ASSERT_TRUE(script.Finished());
    EXPECT_EQ(CommandLine({file}).out, ReadAll(target));
}

// Escape on the progress dialog stops the conversion of a large file at once, and leaves no
// file behind, neither the table nor the one it was written into.
TEST_F(FilesToCsvTest, EscapeLeavesNoFile) {
    const std::wstring big = folder + L"\\tyc2.dat";
    {
        const std::string sample = ReadAll(Copied(L"suppl-sample.dat"));
        const std::string record = sample.substr(0, sample.find('\n') + 1);
        std::string block;
        while (block.size() < (1u << 20)) block += record;
        std::ofstream file(std::filesystem::path(big), std::ios::binary);
        for (int i = 0; i < 256; ++i)
            file.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
    DeleteFileW((folder + L"\\suppl-sample.dat").c_str());
    const std::vector<std::wstring> before = Files();
    std::wstring proposed;
    Clock::time_point escaped{};
    int position = 0;
    const DialogScript script({SaveAs(&proposed, folder + L"\\tychobvr.csv"), [&](HWND dialog) {
                                   const HWND bar = GetDlgItem(dialog, IDC_PROGRESS);
                                   if (bar == nullptr) return false;
                                   position = static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0));
                                   if (position <= 0) return false;
                                   Snap(dialog, L"progress");
                                   escaped = Clock::now();
                                   PostMessageW(GetDlgItem(dialog, IDCANCEL), WM_KEYDOWN, VK_ESCAPE,
                                                1);
                                   return true;
                               }});
    PostMessageW(form.Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf({big})), 0);
    Clock::time_point ended{};
    {
        const Clock::time_point end = Clock::now() + std::chrono::seconds(30);
        while (Clock::now() < end && !(script.Finished() && TopDialog() == nullptr)) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
        ended = Clock::now();
    }
    ASSERT_TRUE(script.Finished());
    const auto stoppedMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(ended - escaped).count();
    std::printf("cancelled at %.1f %% of 256 MiB, stopped within %lld ms\n", position / 10.0,
                static_cast<long long>(stoppedMs));
    EXPECT_LT(position, 1000) << "the conversion ended before it could be cancelled";
    EXPECT_LT(stoppedMs, 200);
    EXPECT_EQ(before, Files());
}

// The system menu offers the conversion, in the user's language, with its shortcut.
TEST_F(FilesToCsvTest, SystemMenuOffersConversion) {
    const HMENU menu = GetSystemMenu(form.Window(), FALSE);
    wchar_t text[128] = {};
    ASSERT_GT(GetMenuStringW(menu, IDM_CONVERT, text, 128, MF_BYCOMMAND), 0);
    EXPECT_EQ(Wide(UserTexts().convertFiles) + L"\tCtrl+O", text);
    if (PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE) {
        EXPECT_EQ(L"ファイルを CSV に変換…\tCtrl+O", std::wstring(text));
    }
}

}  // namespace
