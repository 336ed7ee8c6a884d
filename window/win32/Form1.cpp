#include <initguid.h>  // defines the accessibility property GUIDs in this unit

#include "Form1.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <climits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Clipboard.h"
#include "ComparisonStars.h"
#include "Dpi.h"
#include "FilesToCsv.h"
#include "Texts.h"
#include "UserTexts.h"
#include "WarningColour.h"
#include "resource.h"
#include "tychobvr/conversion.h"

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

constexpr wchar_t kClassName[] = L"TychoBVR.Form1";
constexpr wchar_t kTitle[] = L"BT,VTからV等級を算出";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExtendedStyle = WS_EX_CONTROLPARENT;

// Positions and sizes in twips, from the client area's top left corner.
struct Placement {
    int left;
    int top;
    int width;
    int height;
};
constexpr int kClientWidth = 4560;
constexpr int kClientHeight = 3720;
constexpr Placement kText1Placement{120, 120, 4335, 2415};
constexpr Placement kLabel1Placement{120, 2760, 4335, 255};
constexpr Placement kCommand1Placement{3120, 3120, 1335, 495};

constexpr int kTwipsPerInch = 1440;
constexpr int kPointsPerInch = 72;
constexpr int kLabelPoints = 12;

int Pixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch); }

const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::u16string WindowText(HWND control) {
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(control)), u'\0');
    const int copied = GetWindowTextW(control, reinterpret_cast<wchar_t*>(text.data()),
                                      static_cast<int>(text.size() + 1));
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

// The system's font for message boxes and dialogs at the DPI; null, the System font, on failure.
UniqueFont MessageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, dpi)) {
        return nullptr;
    }
    return UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
}

UniqueFont LabelFont(UINT dpi) {
    return UniqueFont(CreateFontW(-MulDiv(kLabelPoints, static_cast<int>(dpi), kPointsPerInch), 0,
                                  0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, L"ＭＳ Ｐゴシック"));
}

COLORREF ToColorRef(Rgb colour) { return RGB(colour.red, colour.green, colour.blue); }

Rgb ToRgb(COLORREF colour) { return {GetRValue(colour), GetGValue(colour), GetBValue(colour)}; }

}  // namespace

bool Form1::Create(HINSTANCE instanceHandle, int show) {
    instance = instanceHandle;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TYCHOBVR));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_TYCHOBVR),
                                                        IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    // The class is registered once per process, however many windows it makes.
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return false;
    }
    // The size is set for the window's DPI once it exists.
    if (CreateWindowExW(kExtendedStyle, kClassName, kTitle, kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                        this) == nullptr) {
        return false;
    }
    ShowWindow(window, show);
    return true;
}

bool Form1::HandleDialogKeys(MSG& message) {
    return TranslateAcceleratorW(window, accelerators.get(), &message) != 0 ||
           IsDialogMessageW(window, &message) != FALSE;
}

LRESULT CALLBACK Form1::WndProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Form1* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<Form1*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window = handle;
        SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Form1*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
    }
    if (self == nullptr) return DefWindowProcW(handle, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(handle, GWLP_USERDATA, 0);
        self->window = nullptr;
        return DefWindowProcW(handle, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

// A multiline edit control keeps Tab for itself even under the dialog manager, and closes its
// parent on Escape. Here both go to the dialog manager instead: Tab moves on to the button, as
// the tab order says, and Escape arrives as IDCANCEL, which does nothing.
LRESULT CALLBACK Form1::TextBoxProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR) {
    if (message == WM_GETDLGCODE) {
        LRESULT code = DefSubclassProc(control, message, wParam, lParam);
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        if (key != nullptr && key->message == WM_KEYDOWN &&
            ((key->wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) || key->wParam == VK_ESCAPE)) {
            code &= ~static_cast<LRESULT>(DLGC_WANTTAB | DLGC_WANTALLKEYS);
        }
        return code;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(control, TextBoxProc, id);
    return DefSubclassProc(control, message, wParam, lParam);
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate() ? 0 : -1;
        case WM_ACTIVATE:
            OnActivate(wParam);
            return 0;
        case WM_COMMAND:
            OnCommand(wParam);
            return 0;
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_SYSCOMMAND:
            if (OnSysCommand(wParam)) return 0;
            break;
        case WM_CTLCOLORSTATIC:
            return OnCtlColorStatic(wParam, lParam);
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_SETTINGCHANGE:
            OnSettingChange(wParam);
            break;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND Form1::CreateControl(const wchar_t* className, const wchar_t* text, DWORD style,
                          DWORD extendedStyle, int id) {
    return CreateWindowExW(extendedStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0,
                           0, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                           nullptr);
}

bool Form1::OnCreate() {
    // Created in the tab order: the text box, then the button; the label takes no focus.
    Text1 = CreateControl(WC_EDITW, L"",
                          WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                              ES_AUTOHSCROLL | ES_WANTRETURN,
                          WS_EX_CLIENTEDGE, IDC_TEXT1);
    Command1 = CreateControl(WC_BUTTONW, L"OK", WS_TABSTOP | BS_PUSHBUTTON, 0, IDC_COMMAND1);
    // SS_NOTIFY lets the label see the mouse, which its tooltip needs.
    Label1 =
        CreateControl(WC_STATICW, L"V = xx.xxx", SS_LEFT | SS_NOPREFIX | SS_NOTIFY, 0, IDC_LABEL1);
    toolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, instance, nullptr);
    if (Text1 == nullptr || Command1 == nullptr || Label1 == nullptr || toolTip == nullptr) {
        return false;
    }
    SendMessageW(Text1, EM_SETLIMITTEXT, 0, 0);  // no limit on what is typed or pasted
    SetWindowSubclass(Text1, TextBoxProc, 0, 0);

    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(Label1);
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(toolTip, TTM_SETMAXTIPWIDTH, 0, SHRT_MAX);  // lines break where the text does

    IAccPropServices* services = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IAccPropServices, reinterpret_cast<void**>(&services)))) {
        accessibility.reset(services);
        accessibility->SetHwndPropStr(Text1, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                      PROPID_ACC_NAME,
                                      Wide(std::u16string(UserTexts().textBoxName)));
    }
    ShowResult(MessageResult(u"V = xx.xxx", UserTexts()));

    // Files: Ctrl+O, the system menu above Close, or a drop anywhere on the window; the
    // comparison stars: Ctrl+K and the system menu beside it.
    ACCEL keys[] = {{FVIRTKEY | FCONTROL, 'O', IDM_CONVERT},
                    {FVIRTKEY | FCONTROL, 'K', IDM_COMPARISON}};
    accelerators.reset(CreateAcceleratorTableW(keys, 2));
    if (const HMENU menu = GetSystemMenu(window, FALSE)) {
        const std::u16string item = std::u16string(UserTexts().convertFiles) + u"\tCtrl+O";
        InsertMenuW(menu, SC_CLOSE, MF_BYCOMMAND | MF_STRING, IDM_CONVERT, Wide(item));
        const std::u16string stars = std::u16string(UserTexts().comparisonStars) + u"\tCtrl+K";
        InsertMenuW(menu, SC_CLOSE, MF_BYCOMMAND | MF_STRING, IDM_COMPARISON, Wide(stars));
        InsertMenuW(menu, SC_CLOSE, MF_BYCOMMAND | MF_SEPARATOR, 0, nullptr);
    }
    DragAcceptFiles(window, TRUE);

    LayOut(DpiOf(window));
    lastFocus = Text1;
    return true;
}

void Form1::OnActivate(WPARAM wParam) {
    // As a dialog box does, the focus comes back to where it was.
    if (LOWORD(wParam) == WA_INACTIVE) {
        lastFocus = GetFocus();
    } else if (lastFocus != nullptr) {
        SetFocus(lastFocus);
    }
}

void Form1::OnCommand(WPARAM wParam) {
    // IDOK and IDCANCEL, from Enter and Escape, press nothing and close nothing.
    if (LOWORD(wParam) == IDC_COMMAND1 && HIWORD(wParam) == BN_CLICKED) Command1_Click();
    if (LOWORD(wParam) == IDM_CONVERT) ConvertFiles_Click();
    if (LOWORD(wParam) == IDM_COMPARISON) ComparisonStars_Click();
}

void Form1::ComparisonStars_Click() {
    if (!IsWindowEnabled(window)) return;
    ComparisonStars dialog;
    dialog.Run(window);
}

void Form1::OnDropFiles(HDROP drop) {
    const std::vector<std::u16string> files = DroppedFiles(drop);
    // While a dialog of the window's is open, the window takes nothing more.
    if (IsWindowEnabled(window)) ConvertFilesToCsv(window, files);
}

bool Form1::OnSysCommand(WPARAM wParam) {
    if ((wParam & 0xFFF0) == IDM_COMPARISON) {
        ComparisonStars_Click();
        return true;
    }
    if ((wParam & 0xFFF0) != IDM_CONVERT) return false;
    ConvertFiles_Click();
    return true;
}

LRESULT Form1::OnCtlColorStatic(WPARAM wParam, LPARAM lParam) {
    const LRESULT brush = DefWindowProcW(window, WM_CTLCOLORSTATIC, wParam, lParam);
    if (reinterpret_cast<HWND>(lParam) == Label1 && extrapolated) {
        const Rgb face = ToRgb(GetSysColor(COLOR_BTNFACE));
        SetTextColor(reinterpret_cast<HDC>(wParam), ToColorRef(WarningColour(face)));
    }
    return brush;
}

void Form1::OnDpiChanged(UINT dpi, const RECT& suggested) {
    // Windows' rectangle first, then the client area exact in twips: where the frame does not
    // grow with the DPI, as under Wine, the suggested size is a little off.
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    LayOut(dpi);
}

void Form1::OnSettingChange(WPARAM wParam) {
    if (wParam == SPI_SETNONCLIENTMETRICS) LayOut(layoutDpi);
}

void Form1::OnDestroy() {
    if (accessibility) {
        const MSAAPROPID name = PROPID_ACC_NAME;
        const MSAAPROPID description = PROPID_ACC_DESCRIPTION;
        accessibility->ClearHwndProps(Text1, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &name,
                                      1);
        accessibility->ClearHwndProps(Label1, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                      &description, 1);
    }
    PostQuitMessage(0);
}

void Form1::LayOut(UINT dpi) {
    layoutDpi = dpi;
    // The client area in twips, around it the frame that the window has now.
    RECT frame{};
    RECT client{};
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    SetWindowPos(window, nullptr, 0, 0,
                 Pixels(kClientWidth, dpi) + (frame.right - frame.left) - client.right,
                 Pixels(kClientHeight, dpi) + (frame.bottom - frame.top) - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const struct {
        HWND control;
        Placement placement;
    } children[] = {
        {Text1, kText1Placement}, {Label1, kLabel1Placement}, {Command1, kCommand1Placement}};
    for (const auto& [control, placement] : children) {
        SetWindowPos(control, nullptr, Pixels(placement.left, dpi), Pixels(placement.top, dpi),
                     Pixels(placement.width, dpi), Pixels(placement.height, dpi),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The controls take the new fonts before the old ones are deleted.
    UniqueFont newMessageFont = MessageFont(dpi);
    UniqueFont newLabelFont = LabelFont(dpi);
    SendMessageW(Text1, WM_SETFONT, reinterpret_cast<WPARAM>(newMessageFont.get()), TRUE);
    SendMessageW(Command1, WM_SETFONT, reinterpret_cast<WPARAM>(newMessageFont.get()), TRUE);
    SendMessageW(Label1, WM_SETFONT, reinterpret_cast<WPARAM>(newLabelFont.get()), TRUE);
    messageFont = std::move(newMessageFont);
    labelFont = std::move(newLabelFont);
}

void Form1::ConvertFiles_Click() { ConvertFilesToCsv(window, AskForStarFiles(window)); }

void Form1::Command1_Click() {
    const WaitCursor busy;
    const std::optional<std::u16string> text = ReadClipboardText(window);
    if (!text) {
        // Text1 keeps what it shows; the next press tries again.
        ShowResult(MessageResult(UserTexts().clipboardInUse, UserTexts()));
        return;
    }
    SetWindowTextW(Text1, Wide(WithCrLfLineEnds(*text)));
    ShowResult(ResultFor(WindowText(Text1), conversion::UserDecimalSeparator(), UserTexts()));
}

void Form1::ShowResult(const Result& result) {
    SetWindowTextW(Label1, Wide(result.line));
    const std::u16string tip = WithCrLfLineEnds(result.toolTip);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(Label1);
    tool.lpszText = const_cast<wchar_t*>(Wide(tip));
    SendMessageW(toolTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    if (accessibility) {
        accessibility->SetHwndPropStr(Label1, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                      PROPID_ACC_DESCRIPTION, Wide(result.description));
    }
    extrapolated = result.extrapolated;
    InvalidateRect(Label1, nullptr, TRUE);
}
