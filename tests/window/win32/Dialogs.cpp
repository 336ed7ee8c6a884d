#include "Dialogs.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

std::wstring WindowTextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)), L'\0');
    GetWindowTextW(window, text.data(), static_cast<int>(text.size() + 1));
    return text;
}

HWND TopDialog() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) {
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (std::wstring(name) == L"#32770" && IsWindowVisible(window) &&
                IsWindowEnabled(window)) {
                *reinterpret_cast<HWND*>(data) = window;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

DialogScript::DialogScript(std::vector<Step> steps) : steps_(std::move(steps)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 20, Tick);
}

DialogScript::~DialogScript() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
}

void CALLBACK DialogScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
    DialogScript* self = current_;
    if (self == nullptr || self->Finished()) return;
    const HWND dialog = TopDialog();
    if (dialog != nullptr && self->steps_[self->next_](dialog)) ++self->next_;
}

void Click(HWND dialog, int id) { PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

void Snap(HWND dialog, const wchar_t* name) {
    const wchar_t* folder = _wgetenv(L"TYCHOBVR_SCREENSHOTS");
    if (folder == nullptr) return;
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);  // the X server draws what Wine sent it
    RECT rect{};
    GetWindowRect(dialog, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    BITMAPINFOHEADER header{sizeof header, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header),
                                            DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    // From the window's own surface: the screen of a virtual display may hold none of it.
    const HDC windowDc = GetWindowDC(dialog);
    BitBlt(memory, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
    ReleaseDC(dialog, windowDc);
    SelectObject(memory, old);
    const DWORD size = static_cast<DWORD>(((width * 3 + 3) & ~3) * height);
    const BITMAPFILEHEADER file{0x4D42,
                                static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof header + size),
                                0, 0, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof header)};
    const bool japanese = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE;
    std::ofstream out(std::filesystem::path(std::wstring(folder) + L"\\win32-" + name +
                                            (japanese ? L"-ja.bmp" : L"-en.bmp")),
                      std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(static_cast<const char*>(bits), size);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

std::string ReadAll(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}
