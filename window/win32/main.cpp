#include <windows.h>

#include <commctrl.h>
#include <versionhelpers.h>

#include <cstdlib>
#include <optional>

#include "CommandLine.h"
#include "Form1.h"
#include "Handles.h"
#include "UserTexts.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    if (const std::optional<int> exitCode = ProcessCommandLine()) return *exitCode;
    // The window follows its monitor's DPI as only Windows 10 lets it; the command line works
    // on any Windows.
    if (!IsWindows10OrGreater()) {
        MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(UserTexts().needsWindows10.data()),
                    L"TychoBVR", MB_OK | MB_ICONERROR);
        return EXIT_FAILURE;
    }
    const ComApartment com;  // for the screen readers' annotations
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    Form1 form;
    if (!form.Create(instance, show)) return EXIT_FAILURE;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (form.HandleDialogKeys(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
