// The identifiers of the program's resources and controls, for tychobvr.rc, the code and the
// tests that drive the window.
#pragma once

#define IDI_TYCHOBVR 1

// Neither IDOK nor IDCANCEL, which the dialog manager sends for Enter and Escape.
#define IDC_TEXT1 101
#define IDC_LABEL1 102
#define IDC_COMMAND1 103
