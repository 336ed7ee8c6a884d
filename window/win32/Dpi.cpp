#include "Dpi.h"

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);

// A function of user32, or null where this Windows has none of that name.
template <typename Function>
Function User32Function(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

UINT DpiOf(HWND window) {
    static const auto function = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (function != nullptr) return function(window);
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

BOOL SystemParametersForDpi(UINT action, UINT parameter, void* value, UINT dpi) {
    static const auto function =
        User32Function<SystemParametersInfoForDpiFunction>("SystemParametersInfoForDpi");
    if (function != nullptr) return function(action, parameter, value, 0, dpi);
    return SystemParametersInfoW(action, parameter, value, 0);
}
