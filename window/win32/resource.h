// The identifiers of the program's resources and controls, for tychobvr.rc, the code and the
// tests that drive the window.
#pragma once

#define IDI_TYCHOBVR 1

// Neither IDOK nor IDCANCEL, which the dialog manager sends for Enter and Escape.
#define IDC_TEXT1 101
#define IDC_LABEL1 102
#define IDC_COMMAND1 103

// The conversion of files: its command, Ctrl+O and in the system menu, whose commands keep
// their low four bits clear; its progress and messages dialogs and their controls.
#define IDM_CONVERT 0x0010
#define IDD_PROGRESS 200
#define IDD_MESSAGES 201
#define IDC_READING 210
#define IDC_PROGRESS 211
#define IDC_MESSAGES 212
