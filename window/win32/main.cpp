#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <optional>

#include "CommandLine.h"
#include "Form1.h"
#include "Handles.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    if (const std::optional<int> exitCode = ProcessCommandLine()) return *exitCode;
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
