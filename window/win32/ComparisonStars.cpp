#include "ComparisonStars.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cmath>
#include <cstdint>

#include "ComparisonFields.h"
#include "FileConversion.h"
#include "FilesToCsv.h"
#include "ReplacingFile.h"
#include "ResultLine.h"
#include "UserTexts.h"
#include "Utf.h"
#include "Win32ConvertStreams.h"
#include "resource.h"

namespace {

constexpr wchar_t kKey[] = L"Software\\TychoBVR";
constexpr COLORREF kProblemColour = RGB(0xC0, 0x00, 0x00);

const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::u16string ItemText(HWND dialog, int item) {
    const HWND control = GetDlgItem(dialog, item);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)), L'\0');
    GetWindowTextW(control, text.data(), static_cast<int>(text.size() + 1));
    std::u16string out(text.begin(), text.end());
    while (!out.empty() && out.back() == u' ') out.pop_back();
    while (!out.empty() && out.front() == u' ') out.erase(0, 1);
    return out;
}

void SetItem(HWND dialog, int item, std::u16string_view text) {
    SetDlgItemTextW(dialog, item, Wide(std::u16string(text)));
}

// A value kept in the registry, or `otherwise` where there is none.
std::u16string Stored(const wchar_t* name, std::u16string otherwise) {
    DWORD size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_SZ, nullptr, nullptr, &size) !=
        ERROR_SUCCESS) {
        return otherwise;
    }
    std::wstring text(size / sizeof(wchar_t), L'\0');
    if (RegGetValueW(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_SZ, nullptr, text.data(), &size) !=
        ERROR_SUCCESS) {
        return otherwise;
    }
    text.resize(wcsnlen(text.c_str(), text.size()));
    return {text.begin(), text.end()};
}

void Store(const wchar_t* name, DWORD type, const std::u16string& value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kKey, name, type, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(char16_t)));
}

COLORREF ToColorRef(std::uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace

ComparisonStars::ComparisonStars(std::vector<std::u16string> added) : files_() {
    Load();
    for (std::u16string& file : added) {
        if (std::find(files_.begin(), files_.end(), file) == files_.end()) {
            files_.push_back(std::move(file));
        }
    }
}

void ComparisonStars::Run(HWND owner) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_COMPARISON), owner, Procedure,
                    reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK ComparisonStars::Procedure(HWND dialog, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<ComparisonStars*>(lParam)->dialog_ = dialog;
    }
    auto* self = reinterpret_cast<ComparisonStars*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return self == nullptr ? FALSE : self->HandleMessage(message, wParam, lParam);
}

INT_PTR ComparisonStars::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return TRUE;
        case WM_COMMAND:
            OnCommand(wParam);
            return TRUE;
        case WM_DRAWITEM:
            OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_NOTIFY:
            SetWindowLongPtrW(dialog_, DWLP_MSGRESULT,
                              OnNotify(*reinterpret_cast<const NMHDR*>(lParam)));
            return TRUE;
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<INT_PTR>(
                OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wParam));
            return TRUE;
        case WM_DESTROY:
            Store();
            return FALSE;
        default:
            return FALSE;
    }
}

void ComparisonStars::OnInitDialog() {
    const Texts& texts = UserTexts();
    std::u16string title(texts.comparisonStars);
    if (!title.empty() && title.back() == u'…') title.pop_back();
    SetWindowTextW(dialog_, Wide(title));
    const std::pair<int, std::u16string_view> named[] = {
        {IDC_POSITION_LABEL, texts.fieldPosition},
        {IDC_RADIUS_LABEL, texts.fieldRadius},
        {IDC_LIKE_LABEL, texts.fieldLike},
        {IDC_EPOCH_LABEL, texts.fieldEpoch},
        {IDC_USABLE, texts.fieldUsableOnly},
        {IDC_CATALOGUE_FILES, texts.catalogueFiles},
        {IDC_REMOVE_FILES, texts.removeFiles},
        {IDC_SHOW, texts.show},
        {IDC_SAVE_TABLE, texts.saveTableButton},
        {IDC_SAVE_CHART, texts.saveChart},
        {IDC_SAVE_AIJ, texts.saveAstroImageJ},
        {IDC_SAVE_SIRIL, texts.saveSiril},
        {IDCANCEL, texts.close}};
    for (const auto& [item, text] : named) SetItem(dialog_, item, text);
    SetItem(dialog_, IDC_POSITION, Stored(L"Position", u""));
    SetItem(dialog_, IDC_RADIUS, Stored(L"Radius", u"1"));
    SetItem(dialog_, IDC_LIKE, Stored(L"Like", u""));
    SetItem(dialog_, IDC_EPOCH, Stored(L"Epoch", u""));
    CheckDlgButton(dialog_, IDC_USABLE,
                   Stored(L"UsableOnly", u"0") == u"1" ? BST_CHECKED : BST_UNCHECKED);
    ShowFiles();
    Clear();

    // A tooltip over the chart whose text is the star under the pointer.
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog_,
                               nullptr, nullptr, nullptr);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog_;
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog_, IDC_CHART));
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 400);
}

void ComparisonStars::OnCommand(WPARAM wParam) {
    if (HIWORD(wParam) != BN_CLICKED) return;
    switch (LOWORD(wParam)) {
        case IDC_SHOW:
        case IDOK:  // Enter
            Show_Click();
            break;
        case IDC_CATALOGUE_FILES:
            CatalogueFiles_Click();
            break;
        case IDC_REMOVE_FILES:
            files_.clear();
            ShowFiles();
            break;
        case IDC_SAVE_TABLE:
            Save_Click(Output::Table);
            break;
        case IDC_SAVE_CHART:
            Save_Click(Output::Chart);
            break;
        case IDC_SAVE_AIJ:
            Save_Click(Output::AstroImageJ);
            break;
        case IDC_SAVE_SIRIL:
            Save_Click(Output::Siril);
            break;
        case IDCANCEL:  // Close, Escape and the close box
            EndDialog(dialog_, IDCANCEL);
            break;
        default:
            break;
    }
}

void ComparisonStars::ShowFiles() {
    const HWND list = GetDlgItem(dialog_, IDC_FILES);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::u16string& file : files_) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(file)));
    }
    SendMessageW(list, LB_SETHORIZONTALEXTENT, 2000, 0);
}

void ComparisonStars::Clear() {
    for (std::string& output : outputs_) output.clear();
    shapes_.clear();
    dots_ = {};
    for (const int item : {IDC_SAVE_TABLE, IDC_SAVE_CHART, IDC_SAVE_AIJ, IDC_SAVE_SIRIL}) {
        EnableWindow(GetDlgItem(dialog_, item), FALSE);
    }
    InvalidateRect(GetDlgItem(dialog_, IDC_CHART), nullptr, TRUE);
}

void ComparisonStars::Load() {
    // The files, one to a line.
    const std::u16string files = Stored(L"Files", u"");
    for (std::size_t at = 0; at < files.size();) {
        const std::size_t end = std::min(files.find(u'\n', at), files.size());
        if (end > at) files_.push_back(files.substr(at, end - at));
        at = end + 1;
    }
}

void ComparisonStars::Store() const {
    if (dialog_ == nullptr) return;
    ::Store(L"Position", REG_SZ, ItemText(dialog_, IDC_POSITION));
    ::Store(L"Radius", REG_SZ, ItemText(dialog_, IDC_RADIUS));
    ::Store(L"Like", REG_SZ, ItemText(dialog_, IDC_LIKE));
    ::Store(L"Epoch", REG_SZ, ItemText(dialog_, IDC_EPOCH));
    ::Store(L"UsableOnly", REG_SZ,
            IsDlgButtonChecked(dialog_, IDC_USABLE) == BST_CHECKED ? u"1" : u"0");
    std::u16string files;
    for (const std::u16string& file : files_) files += file + u'\n';
    ::Store(L"Files", REG_SZ, files);
}

void ComparisonStars::OnDropFiles(HDROP drop) {
    for (std::u16string& file : DroppedFiles(drop)) {
        if (std::find(files_.begin(), files_.end(), file) == files_.end()) {
            files_.push_back(std::move(file));
        }
    }
    ShowFiles();
}

void ComparisonStars::CatalogueFiles_Click() {
    for (std::u16string& file : AskForStarFiles(dialog_)) {
        if (std::find(files_.begin(), files_.end(), file) == files_.end()) {
            files_.push_back(std::move(file));
        }
    }
    ShowFiles();
}

void ComparisonStars::Show_Click() {
    const Texts& texts = UserTexts();
    ComparisonFields fields;
    fields.position = ItemText(dialog_, IDC_POSITION);
    fields.radius = ItemText(dialog_, IDC_RADIUS);
    fields.like = ItemText(dialog_, IDC_LIKE);
    fields.epoch = ItemText(dialog_, IDC_EPOCH);
    fields.usableOnly = IsDlgButtonChecked(dialog_, IDC_USABLE) == BST_CHECKED;
    CsvConverter::Options options;
    const FieldProblems problems = ReadComparisonFields(fields, texts, options);
    SetItem(dialog_, IDC_POSITION_PROBLEM, problems.position);
    SetItem(dialog_, IDC_RADIUS_PROBLEM, problems.radius);
    SetItem(dialog_, IDC_LIKE_PROBLEM, problems.like);
    SetItem(dialog_, IDC_EPOCH_PROBLEM, problems.epoch);
    // Nothing runs until every field is mended.
    if (problems.Any()) return;
    if (files_.empty()) {
        SetItem(dialog_, IDC_SAID, texts.noFiles);
        return;
    }
    Clear();
    Store();
    const ConversionSources sources = SourcesOf(files_);
    Win32ConvertStreams reading;
    std::string table;
    FieldOutputs outputs;
    FileConversion conversion(
        sources.names, sources.totalBytes, texts, reading,
        [&table](std::string_view bytes, std::u16string&) {
            table += bytes;
            return true;
        },
        options, &outputs);
    // Cancelled, nothing of it is kept.
    if (!RunWithProgress(dialog_, conversion, files_)) {
        SetItem(dialog_, IDC_SAID, u"");
        return;
    }
    SetItem(dialog_, IDC_SAID, WithCrLfLineEnds(Utf16FromUtf8(conversion.Messages())));
    if (conversion.Status() == 2) return;
    outputs_ = {std::move(table), std::move(outputs.chart), std::move(outputs.astroImageJ),
                std::move(outputs.siril)};
    shapes_ = ReadChartShapes(outputs_[1]);
    dots_ = ReadChartDots(outputs_[1]);
    const int items[] = {IDC_SAVE_TABLE, IDC_SAVE_CHART, IDC_SAVE_AIJ, IDC_SAVE_SIRIL};
    for (std::size_t i = 0; i < outputs_.size(); ++i) {
        EnableWindow(GetDlgItem(dialog_, items[i]), !outputs_[i].empty());
    }
    InvalidateRect(GetDlgItem(dialog_, IDC_CHART), nullptr, TRUE);
}

bool ComparisonStars::SaveTo(Output output, const std::u16string& path,
                             std::u16string& reason) const {
    ReplacingFile file;
    return file.Open(path, reason) && file.Write(Bytes(output), reason) && file.Commit(reason);
}

void ComparisonStars::Save_Click(Output output) {
    const Texts& texts = UserTexts();
    struct Kind {
        std::u16string_view title, kind, pattern, name;
        const wchar_t* extension;
    };
    const Kind kinds[] = {
        {texts.saveTable, texts.csvFiles, u"*.csv", u"field.csv", L"csv"},
        {texts.saveChart, texts.svgCharts, u"*.svg", u"field.svg", L"svg"},
        {texts.saveAstroImageJ, texts.astroImageJLists, u"*.radec", u"field.radec", L"radec"},
        {texts.saveSiril, texts.sirilLists, u"*.csv", u"field-siril.csv", L"csv"}};
    const Kind& kind = kinds[Index(output)];
    const std::u16string path =
        AskForSaveFile(dialog_, kind.title, kind.kind, kind.pattern, kind.name,
                       files_.empty() ? std::u16string() : files_.front(), kind.extension);
    if (path.empty()) return;
    std::u16string reason;
    const std::u16string said = SaveTo(output, path, reason)
                                    ? Substitute(texts.fileSaved, path)
                                    : Substitute(texts.fileNotSaved, path, reason);
    SetItem(dialog_, IDC_SAID, ItemText(dialog_, IDC_SAID) + u"\r\n" + said);
}

RECT ComparisonStars::Drawn() const {
    RECT client{};
    GetClientRect(GetDlgItem(dialog_, IDC_CHART), &client);
    if (dots_.width <= 0 || dots_.height <= 0) return {};
    const double scale = std::min(client.right / dots_.width, client.bottom / dots_.height);
    const auto width = static_cast<LONG>(dots_.width * scale);
    const auto height = static_cast<LONG>(dots_.height * scale);
    const LONG left = (client.right - width) / 2, top = (client.bottom - height) / 2;
    return {left, top, left + width, top + height};
}

POINT ComparisonStars::ToControl(double x, double y) const {
    const RECT drawn = Drawn();
    if (drawn.right <= drawn.left) return {};
    const double scale = (drawn.right - drawn.left) / dots_.width;
    return {drawn.left + static_cast<LONG>(std::lround(x * scale)),
            drawn.top + static_cast<LONG>(std::lround(y * scale))};
}

std::u16string ComparisonStars::StarAt(POINT point) const {
    const RECT drawn = Drawn();
    if (drawn.right <= drawn.left) return {};
    const double scale = (drawn.right - drawn.left) / dots_.width;
    const auto title = DotAt(dots_, (point.x - drawn.left) / scale, (point.y - drawn.top) / scale);
    return title ? Utf16FromUtf8(*title) : std::u16string();
}

void ComparisonStars::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlID != IDC_CHART) return;
    const HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_WINDOW));
    const RECT drawn = Drawn();
    if (shapes_.empty() || drawn.right <= drawn.left) return;
    const double scale = (drawn.right - drawn.left) / dots_.width;
    const auto at = [&](double x, double y) {
        return POINT{drawn.left + static_cast<LONG>(std::lround(x * scale)),
                     drawn.top + static_cast<LONG>(std::lround(y * scale))};
    };
    const int saved = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    for (const ChartShape& shape : shapes_) {
        const int penWidth = std::max(1, static_cast<int>(std::lround(shape.strokeWidth * scale)));
        const HPEN pen = shape.stroke ? CreatePen(PS_SOLID, penWidth, ToColorRef(*shape.stroke))
                                      : static_cast<HPEN>(GetStockObject(NULL_PEN));
        const HBRUSH brush = shape.fill ? CreateSolidBrush(ToColorRef(*shape.fill))
                                        : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        SelectObject(dc, pen);
        SelectObject(dc, brush);
        switch (shape.kind) {
            case ChartShape::Kind::Rect: {
                const POINT a = at(shape.x, shape.y),
                            b = at(shape.x + shape.width, shape.y + shape.height);
                Rectangle(dc, a.x, a.y, b.x + 1, b.y + 1);
                break;
            }
            case ChartShape::Kind::Circle: {
                const POINT a = at(shape.x - shape.radius, shape.y - shape.radius);
                const POINT b = at(shape.x + shape.radius, shape.y + shape.radius);
                Ellipse(dc, a.x, a.y, std::max(b.x, a.x + 2), std::max(b.y, a.y + 2));
                break;
            }
            case ChartShape::Kind::Line: {
                const POINT a = at(shape.x, shape.y), b = at(shape.x2, shape.y2);
                MoveToEx(dc, a.x, a.y, nullptr);
                LineTo(dc, b.x, b.y);
                break;
            }
            case ChartShape::Kind::Text: {
                const HFONT font =
                    CreateFontW(-std::max(1, static_cast<int>(std::lround(shape.fontSize * scale))),
                                0, 0, 0, shape.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
                const HGDIOBJ old = SelectObject(dc, font);
                SetTextColor(dc, ToColorRef(shape.fill.value_or(0)));
                SetTextAlign(dc,
                             TA_BASELINE | (shape.anchor == ChartShape::Anchor::Middle ? TA_CENTER
                                            : shape.anchor == ChartShape::Anchor::End  ? TA_RIGHT
                                                                                       : TA_LEFT));
                const std::u16string text = Utf16FromUtf8(shape.text);
                const POINT a = at(shape.x, shape.y);
                TextOutW(dc, a.x, a.y, Wide(text), static_cast<int>(text.size()));
                SelectObject(dc, old);
                DeleteObject(font);
                break;
            }
        }
        SelectObject(dc, GetStockObject(NULL_PEN));
        SelectObject(dc, GetStockObject(NULL_BRUSH));
        if (shape.stroke) DeleteObject(pen);
        if (shape.fill) DeleteObject(brush);
    }
    RestoreDC(dc, saved);
}

LRESULT ComparisonStars::OnNotify(const NMHDR& header) {
    if (header.hwndFrom != tooltip_) return 0;
    if (header.code == TTN_GETDISPINFOW) {
        auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
        POINT cursor{};
        GetCursorPos(&cursor);
        ScreenToClient(GetDlgItem(dialog_, IDC_CHART), &cursor);
        tip_ = StarAt(cursor);
        info.lpszText = const_cast<wchar_t*>(Wide(tip_));
    }
    return 0;
}

HBRUSH ComparisonStars::OnCtlColorStatic(HDC dc, HWND control) {
    const int item = GetDlgCtrlID(control);
    if (item == IDC_POSITION_PROBLEM || item == IDC_RADIUS_PROBLEM || item == IDC_LIKE_PROBLEM ||
        item == IDC_EPOCH_PROBLEM) {
        SetTextColor(dc, kProblemColour);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return GetSysColorBrush(COLOR_BTNFACE);
    }
    return nullptr;
}
