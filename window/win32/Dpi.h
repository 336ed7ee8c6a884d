// Windows 10's per-monitor DPI functions, looked up when first used, so that the program still
// loads on an older Windows, which lacks them; there the system's DPI stands in.
#pragma once

#include <windows.h>

UINT DpiOf(HWND window);
BOOL SystemParametersForDpi(UINT action, UINT parameter, void* value, UINT dpi);
