#include "FilesToCsv.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstdint>
#include <string_view>

#include "FileConversion.h"
#include "ReplacingFile.h"
#include "ResultLine.h"
#include "Texts.h"
#include "UserTexts.h"
#include "Utf.h"
#include "Win32ConvertStreams.h"
#include "resource.h"

namespace {

// How often the progress dialog looks at the conversion: often enough that Cancel and the end
// show at once, seldom enough to cost nothing.
constexpr UINT kPollMs = 50;
constexpr UINT_PTR kPollTimer = 1;
constexpr int kBarSteps = 1000;
// Room for the names of a few thousand files picked at once.
constexpr DWORD kPickedLength = 1 << 16;

const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::u16string FromWide(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }

std::u16string FolderOf(const std::u16string& path) {
    const std::size_t slash = path.find_last_of(u"\\/");
    return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash);
}

std::u16string NameOf(const std::u16string& path) {
    const std::size_t slash = path.find_last_of(u"\\/");
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

// A dialog filter: each name and its patterns, each ended by a NUL, and a NUL after the last.
std::u16string Filter(std::initializer_list<std::u16string_view> namesAndPatterns) {
    std::u16string filter;
    for (const std::u16string_view part : namesAndPatterns) {
        filter += part;
        filter += u'\0';
    }
    return filter;
}

std::u16string StarPatterns() {
    std::u16string patterns;
    for (const std::u16string_view pattern : kStarFilePatterns) {
        if (!patterns.empty()) patterns += u';';
        patterns += pattern;
    }
    return patterns;
}

// Runs a dialog of the program's resources as a modal one, its messages handled by the object's
// HandleMessage; gives what the dialog ended with.
template <typename Dialog>
INT_PTR RunModal(HWND owner, int resource, Dialog& handler) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
    const DLGPROC procedure = [](HWND dialog, UINT message, WPARAM wParam,
                                 LPARAM lParam) -> INT_PTR {
        if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
        return self == nullptr ? FALSE : self->HandleMessage(dialog, message, wParam);
    };
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(resource), owner, procedure,
                           reinterpret_cast<LPARAM>(&handler));
}

// The progress of a conversion, with its Cancel; it ends itself when the conversion ends.
class ProgressDialog {
public:
    ProgressDialog(FileConversion& conversion, const std::vector<std::u16string>& files)
        : conversion_(conversion), files_(files) {}

    // True when the conversion ended, false when it was cancelled.
    bool Run(HWND owner) { return RunModal(owner, IDD_PROGRESS, *this) == IDOK; }

    INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam) {
        switch (message) {
            case WM_INITDIALOG:
                OnInitDialog(dialog);
                return TRUE;
            case WM_TIMER:
                OnTimer();
                return TRUE;
            case WM_COMMAND:
                if (LOWORD(wParam) == IDCANCEL) OnCancel();
                return TRUE;
            default:
                return FALSE;
        }
    }

private:
    void OnInitDialog(HWND dialogHandle) {
        dialog_ = dialogHandle;
        const Texts& texts = UserTexts();
        SetWindowTextW(dialog_, Wide(std::u16string(texts.converting)));
        SetDlgItemTextW(dialog_, IDCANCEL, Wide(std::u16string(texts.cancel)));
        SendDlgItemMessageW(dialog_, IDC_PROGRESS, PBM_SETRANGE32, 0, kBarSteps);
        SetTimer(dialog_, kPollTimer, kPollMs, nullptr);
        OnTimer();
    }

    void OnTimer() {
        const FileConversion::Progress now = conversion_.Now();
        SendDlgItemMessageW(dialog_, IDC_PROGRESS, PBM_SETPOS,
                            static_cast<WPARAM>(now.fraction * kBarSteps), 0);
        if (now.source != shownSource_ || !labelled_) {
            labelled_ = true;
            shownSource_ = now.source;
            const std::u16string name =
                now.source < files_.size() ? NameOf(files_[now.source]) : std::u16string();
            const std::u16string label = Substitute(
                UserTexts().reading, {name, Utf16FromUtf8(std::to_string(now.source + 1)),
                                      Utf16FromUtf8(std::to_string(files_.size()))});
            SetDlgItemTextW(dialog_, IDC_READING, Wide(label));
        }
        if (now.done) End(IDOK);
    }

    // Cancel, Escape and the close box.
    void OnCancel() {
        conversion_.Cancel();
        End(IDCANCEL);
    }

    void End(INT_PTR result) {
        KillTimer(dialog_, kPollTimer);
        EndDialog(dialog_, result);
    }

    FileConversion& conversion_;
    const std::vector<std::u16string>& files_;
    HWND dialog_ = nullptr;
    std::size_t shownSource_ = 0;
    bool labelled_ = false;
};

// What the conversion had to say, in a read-only text box to select and copy from.
class MessagesDialog {
public:
    MessagesDialog(std::u16string_view title, std::u16string text)
        : title_(title), text_(std::move(text)) {}

    void Run(HWND owner) { RunModal(owner, IDD_MESSAGES, *this); }

    INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam) {
        switch (message) {
            case WM_INITDIALOG:
                return OnInitDialog(dialog);
            case WM_COMMAND:
                if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, IDOK);
                return TRUE;
            default:
                return FALSE;
        }
    }

private:
    INT_PTR OnInitDialog(HWND dialog) {
        SetWindowTextW(dialog, Wide(title_));
        SetDlgItemTextW(dialog, IDOK, Wide(std::u16string(UserTexts().ok)));
        SetDlgItemTextW(dialog, IDC_MESSAGES, Wide(text_));
        // The focus on OK, so that Enter closes it and the text is not selected at once.
        SetFocus(GetDlgItem(dialog, IDOK));
        return FALSE;
    }

    std::u16string title_;
    std::u16string text_;
};

// What both file dialogs are given: their owner, title and filter, and the room for the names
// picked, which may hold a name to begin with. The texts must outlive the dialog.
OPENFILENAMEW FileDialog(HWND owner, const std::u16string& title, const std::u16string& filter,
                         std::u16string& names) {
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = Wide(filter);
    dialog.lpstrFile = reinterpret_cast<wchar_t*>(names.data());
    dialog.nMaxFile = static_cast<DWORD>(names.size());
    dialog.lpstrTitle = Wide(title);
    return dialog;
}

// Where the user wants the table: beside the first file, as tychobvr.csv, unless they say
// otherwise; nothing when they close the dialog. Windows asks whether to replace a file.
std::u16string AskForTarget(HWND owner, const std::u16string& firstFile) {
    const Texts& texts = UserTexts();
    std::u16string name(kPickedLength, u'\0');
    name.replace(0, 12, u"tychobvr.csv");
    const std::u16string folder = FolderOf(firstFile);
    const std::u16string title(texts.saveTable);
    const std::u16string filter = Filter({texts.csvFiles, u"*.csv"});
    OPENFILENAMEW dialog = FileDialog(owner, title, filter, name);
    dialog.lpstrInitialDir = folder.empty() ? nullptr : Wide(folder);
    dialog.lpstrDefExt = L"csv";
    dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                   OFN_NOREADONLYRETURN;
    if (!GetSaveFileNameW(&dialog)) return {};
    return FromWide(dialog.lpstrFile);
}

}  // namespace

bool RunWithProgress(HWND owner, FileConversion& conversion,
                     const std::vector<std::u16string>& files) {
    const bool completed = ProgressDialog(conversion, files).Run(owner);
    // Cancelled, the conversion stops at its next piece.
    if (!completed) conversion.Cancel();
    conversion.Wait();
    return completed;
}

std::u16string AskForSaveFile(HWND owner, std::u16string_view title, std::u16string_view kind,
                              std::u16string_view pattern, std::u16string_view name,
                              const std::u16string& besideFile, const wchar_t* extension) {
    std::u16string picked(kPickedLength, u'\0');
    picked.replace(0, name.size(), name);
    const std::u16string folder = FolderOf(besideFile);
    const std::u16string titleText(title);
    const std::u16string filter = Filter({kind, pattern});
    OPENFILENAMEW dialog = FileDialog(owner, titleText, filter, picked);
    dialog.lpstrInitialDir = folder.empty() ? nullptr : Wide(folder);
    dialog.lpstrDefExt = extension;
    dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                   OFN_NOREADONLYRETURN;
    if (!GetSaveFileNameW(&dialog)) return {};
    return FromWide(dialog.lpstrFile);
}

std::vector<std::u16string> AskForStarFiles(HWND owner) {
    const Texts& texts = UserTexts();
    std::u16string picked(kPickedLength, u'\0');
    const std::u16string title(texts.filesToConvert);
    const std::u16string filter = Filter({texts.allFiles, u"*.*", texts.starFiles, StarPatterns()});
    OPENFILENAMEW dialog = FileDialog(owner, title, filter, picked);
    dialog.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
                   OFN_HIDEREADONLY;
    if (!GetOpenFileNameW(&dialog)) return {};
    // One file: its path. Several: their folder, then each name, each ended by a NUL.
    const std::u16string first = FromWide(dialog.lpstrFile);
    if (dialog.nFileOffset <= first.size()) return {first};
    std::vector<std::u16string> files;
    for (std::size_t at = first.size() + 1; at < picked.size() && picked[at] != u'\0';) {
        const std::u16string name = FromWide(reinterpret_cast<const wchar_t*>(picked.c_str() + at));
        // A drive's root ends in its backslash already.
        files.push_back(first.back() == u'\\' ? first + name : first + u'\\' + name);
        at += name.size() + 1;
    }
    return files;
}

std::vector<std::u16string> DroppedFiles(HDROP drop) {
    std::vector<std::u16string> files;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::u16string file(DragQueryFileW(drop, i, nullptr, 0), u'\0');
        DragQueryFileW(drop, i, reinterpret_cast<wchar_t*>(file.data()),
                       static_cast<UINT>(file.size() + 1));
        files.push_back(std::move(file));
    }
    DragFinish(drop);
    return files;
}

ConversionSources SourcesOf(const std::vector<std::u16string>& files) {
    ConversionSources sources;
    for (const std::u16string& file : files) {
        sources.names.push_back(Utf8FromUtf16(file));
        WIN32_FILE_ATTRIBUTE_DATA attributes{};
        if (GetFileAttributesExW(Wide(file), GetFileExInfoStandard, &attributes)) {
            sources.totalBytes +=
                (std::uint64_t(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
        }
    }
    return sources;
}

void ConvertFilesToCsv(HWND owner, const std::vector<std::u16string>& files) {
    if (files.empty()) return;
    const Texts& texts = UserTexts();
    const std::u16string target = AskForTarget(owner, files.front());
    if (target.empty()) return;
    ReplacingFile table;
    std::u16string reason;
    if (!table.Open(target, reason)) {
        MessagesDialog(texts.conversionEnded, Substitute(texts.tableNotSaved, target, reason))
            .Run(owner);
        return;
    }
    const ConversionSources sources = SourcesOf(files);
    Win32ConvertStreams reading;
    std::u16string writeFailure;
    bool completed = false;
    std::string said;
    {
        // The conversion writes on its own thread, and nothing else touches the file until it
        // ends.
        FileConversion conversion(
            sources.names, sources.totalBytes, texts, reading,
            [&table, &writeFailure](std::string_view bytes, std::u16string& why) {
                if (table.Write(bytes, why)) return true;
                writeFailure = why;
                return false;
            });
        completed = ProgressDialog(conversion, files).Run(owner);
        // Cancelled, the conversion stops at its next piece, and the file it wrote goes with it.
        if (!completed) conversion.Cancel();
        conversion.Wait();
        said = conversion.Messages();
    }
    if (!completed) return;
    std::u16string shown = WithCrLfLineEnds(Utf16FromUtf8(said));
    if (table.Commit(reason)) {
        shown = Substitute(texts.tableSaved, target) + u"\r\n\r\n" + shown;
    } else {
        shown =
            Substitute(texts.tableNotSaved, target, writeFailure.empty() ? reason : writeFailure) +
            u"\r\n\r\n" + shown;
    }
    MessagesDialog(texts.conversionEnded, shown).Run(owner);
}
