// The comparison-star dialog in the test's own process, driven as a user would: its fields,
// Show, each saved file held against what tychobvr.com --convert --near writes for the same
// files and options, the chart's tooltip, a bad position, Ctrl+K, and what it remembers.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "ChartDots.h"
#include "ComparisonStars.h"
#include "Dialogs.h"
#include "Driver.h"
#include "Form1.h"
#include "Handles.h"
#include "Texts.h"
#include "UserTexts.h"
#include "Utf.h"
#include "resource.h"

namespace {

using Clock = std::chrono::steady_clock;

std::u16string Sample(const wchar_t* name) {
    const std::wstring path = std::wstring(TYCHOBVR_SAMPLES) + L"\\" + name;
    return {path.begin(), path.end()};
}

const std::vector<std::u16string>& Samples() {
    static const std::vector<std::u16string> samples = {
        Sample(L"variables-sample.tsv"), Sample(L"tyc2-sample.dat.gz"), Sample(L"catalogue.tsv"),
        Sample(L"hip_main-sample.dat")};
    return samples;
}

std::wstring Quoted(const std::u16string& path) {
    return L" \"" + std::wstring(path.begin(), path.end()) + L"\"";
}

class ComparisonStarsTest : public testing::Test {
protected:
    void SetUp() override {
        static const ComApartment com;
        const INITCOMMONCONTROLSEX controls{sizeof controls,
                                            ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\TychoBVR");
        ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr), SW_SHOW));
        wchar_t temporary[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temporary);
        folder =
            std::wstring(temporary) + L"tychobvr-stars-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder.c_str(), nullptr);
    }
    void TearDown() override {
        DestroyWindow(form.Window());
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
        std::filesystem::remove_all(std::filesystem::path(folder));
    }

    Form1 form;
    std::wstring folder;
};

TEST_F(ComparisonStarsTest, SavesTheCommandLineBytesAndShowsTheStarUnderThePointer) {
    const struct {
        const wchar_t *position, *radius, *like, *epoch;
        bool usable;
    } cases[] = {{L"00 00 30 +01 10 00", L"3", L"", L"", false},
                 {L"00 00 05.77 +01 05 17", L"3", L"4:1", L"2026.9", true}};
    for (const auto& c : cases) {
        ComparisonStars dialog(Samples());
        std::wstring options =
            std::wstring(L"--convert --near \"") + c.position + L"\" --radius " + c.radius;
        if (*c.like) options += std::wstring(L" --like ") + c.like;
        if (*c.epoch) options += std::wstring(L" --epoch ") + c.epoch;
        if (c.usable) options += L" --usable";
        std::wstring files;
        for (const std::u16string& file : Samples()) files += Quoted(file);
        bool checked = false;
        DialogScript script({
            [&](HWND top) {
                if (top != dialog.Dialog()) return false;
                SetDlgItemTextW(top, IDC_POSITION, c.position);
                SetDlgItemTextW(top, IDC_RADIUS, c.radius);
                SetDlgItemTextW(top, IDC_LIKE, c.like);
                SetDlgItemTextW(top, IDC_EPOCH, c.epoch);
                CheckDlgButton(top, IDC_USABLE, c.usable ? BST_CHECKED : BST_UNCHECKED);
                Click(top, IDC_SHOW);
                return true;
            },
            [&](HWND top) {
                if (top != dialog.Dialog() ||
                    dialog.Bytes(ComparisonStars::Output::Table).empty()) {
                    return false;
                }
                const std::wstring chart = folder + L"\\native.svg";
                const struct {
                    ComparisonStars::Output output;
                    std::string expected;
                } saved[] = {
                    {ComparisonStars::Output::Table,
                     RunForOutput(TYCHOBVR_COM, options + L" --chart \"" + chart + L"\"" + files)
                         .out},
                    {ComparisonStars::Output::Chart, ReadAll(chart)},
                    {ComparisonStars::Output::AstroImageJ,
                     RunForOutput(TYCHOBVR_COM, options + L" --to aij" + files).out},
                    {ComparisonStars::Output::Siril,
                     RunForOutput(TYCHOBVR_COM, options + L" --to siril" + files).out},
                };
                for (const auto& [output, expected] : saved) {
                    EXPECT_FALSE(expected.empty());
                    const std::wstring path = folder + L"\\saved";
                    std::u16string reason;
                    EXPECT_TRUE(dialog.SaveTo(output, {path.begin(), path.end()}, reason));
                    EXPECT_EQ(expected, ReadAll(path)) << static_cast<int>(output);
                }
                const std::string& svg = dialog.Bytes(ComparisonStars::Output::Chart);
                const ChartDots dots = ReadChartDots(svg);
                EXPECT_FALSE(dots.dots.empty());
                if (!dots.dots.empty()) {
                    const ChartDot& last = dots.dots.back();
                    const std::u16string title = dialog.StarAt(dialog.ToControl(last.x, last.y));
                    EXPECT_EQ(last.title, Utf8FromUtf16(title));
                }
                EXPECT_TRUE(dialog.StarAt(dialog.ToControl(2, 2)).empty());
                EXPECT_NE(std::wstring::npos, WindowTextOf(GetDlgItem(top, IDC_SAID)).find(L"3°"));
                checked = true;
                Click(top, IDCANCEL);
                return true;
            },
        });
        dialog.Run(form.Window());
        EXPECT_TRUE(checked);
    }
}

TEST_F(ComparisonStarsTest, ABadPositionIsSaidBesideItAndNothingRuns) {
    ComparisonStars dialog(Samples());
    std::wstring problem, radiusProblem;
    DialogScript script({
        [&](HWND top) {
            if (top != dialog.Dialog()) return false;
            SetDlgItemTextW(top, IDC_POSITION, L"25 00 00 +01 00 00");
            Click(top, IDC_SHOW);
            return true;
        },
        [&](HWND top) {
            problem = WindowTextOf(GetDlgItem(top, IDC_POSITION_PROBLEM));
            if (problem.empty()) return false;
            radiusProblem = WindowTextOf(GetDlgItem(top, IDC_RADIUS_PROBLEM));
            Click(top, IDCANCEL);
            return true;
        },
    });
    dialog.Run(form.Window());
    EXPECT_EQ(0u, problem.find(L"--near: '25 00 00 +01 00 00'"));
    EXPECT_TRUE(radiusProblem.empty());
    EXPECT_TRUE(dialog.Bytes(ComparisonStars::Output::Table).empty());
}

TEST_F(ComparisonStarsTest, CtrlKOpensItAndItRemembersItsFields) {
    bool opened = false;
    const std::u16string title = [] {
        std::u16string text(UserTexts().comparisonStars);
        text.pop_back();  // "…"
        return text;
    }();
    DialogScript script({[&](HWND top) {
        if (WindowTextOf(top) != std::wstring(title.begin(), title.end())) return false;
        opened = true;
        SetDlgItemTextW(top, IDC_RADIUS, L"30arcmin");
        Click(top, IDCANCEL);
        return true;
    }});
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PostMessageW(GetDlgItem(form.Window(), IDC_TEXT1), WM_KEYDOWN, 'K', 1);
    const Clock::time_point end = Clock::now() + std::chrono::seconds(20);
    while (Clock::now() < end && !script.Finished()) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (form.HandleDialogKeys(message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_TRUE(opened);
    // Kept in the registry: the next dialog opens with it.
    ComparisonStars again;
    std::wstring radius;
    DialogScript read({[&](HWND top) {
        if (top != again.Dialog()) return false;
        radius = WindowTextOf(GetDlgItem(top, IDC_RADIUS));
        Click(top, IDCANCEL);
        return true;
    }});
    again.Run(form.Window());
    EXPECT_EQ(L"30arcmin", radius);
}

TEST_F(ComparisonStarsTest, CancelLeavesNothingToSave) {
    // Enough records that the conversion still runs when Cancel is pressed.
    const std::string lines = ReadAll(std::wstring(TYCHOBVR_SAMPLES) + L"\\hip_main-sample.dat");
    ASSERT_FALSE(lines.empty());
    const std::wstring big = folder + L"\\hip_main.dat";
    {
        std::ofstream out(std::filesystem::path(big), std::ios::binary);
        std::string block;
        while (block.size() < (std::size_t(4) << 20)) block += lines;
        for (int i = 0; i < 32; ++i)
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
    ComparisonStars dialog({std::u16string(big.begin(), big.end())});
    bool cancelled = false, empty = false;
    DialogScript script({
        [&](HWND top) {
            if (top != dialog.Dialog()) return false;
            SetDlgItemTextW(top, IDC_POSITION, L"00 00 30 +01 10 00");
            SetDlgItemTextW(top, IDC_RADIUS, L"30");
            Click(top, IDC_SHOW);
            return true;
        },
        [&](HWND top) {
            if (GetDlgItem(top, IDC_PROGRESS) != nullptr) {
                cancelled = true;
                Click(top, IDCANCEL);
                return true;
            }
            // Ended before Cancel could be pressed: said below, without hanging.
            if (top != dialog.Dialog() || dialog.Bytes(ComparisonStars::Output::Table).empty()) {
                return false;
            }
            Click(top, IDCANCEL);
            return true;
        },
        [&](HWND top) {
            if (top != dialog.Dialog()) return false;
            empty = dialog.Bytes(ComparisonStars::Output::Table).empty() &&
                    dialog.Bytes(ComparisonStars::Output::Chart).empty() &&
                    !IsWindowEnabled(GetDlgItem(top, IDC_SAVE_TABLE));
            Click(top, IDCANCEL);
            return true;
        },
    });
    dialog.Run(form.Window());
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(empty);
}

// With the real Tycho-2 of the tests (TYCHOBVR_TYCHO2, a Wine path), δ Cephei's field, for a
// person to look at.
TEST_F(ComparisonStarsTest, RealField) {
    const wchar_t* real = _wgetenv(L"TYCHOBVR_TYCHO2");
    if (real == nullptr || _wgetenv(L"TYCHOBVR_SCREENSHOTS") == nullptr) GTEST_SKIP();
    std::vector<std::u16string> files;
    for (int i = 0; i < 20; ++i) {
        wchar_t name[32];
        swprintf(name, 32, L"\\tyc2.dat.%02d.gz", i);
        const std::wstring path = std::wstring(real) + name;
        files.emplace_back(path.begin(), path.end());
    }
    for (const wchar_t* name : {L"\\suppl_1.dat", L"\\index.dat"}) {
        const std::wstring path = std::wstring(real) + name;
        files.emplace_back(path.begin(), path.end());
    }
    ComparisonStars dialog(files);
    bool shown = false;
    DialogScript script({
        [&](HWND top) {
            if (top != dialog.Dialog()) return false;
            SetDlgItemTextW(top, IDC_POSITION, L"22 29 10.27 +58 24 54.7");
            SetDlgItemTextW(top, IDC_RADIUS, L"30arcmin");
            Click(top, IDC_SHOW);
            return true;
        },
        [&](HWND top) {
            if (top != dialog.Dialog() || dialog.Bytes(ComparisonStars::Output::Table).empty()) {
                return false;
            }
            Snap(top, L"comparison-stars");
            shown = true;
            Click(top, IDCANCEL);
            return true;
        },
    });
    dialog.Run(form.Window());
    EXPECT_TRUE(shown);
}

}  // namespace
