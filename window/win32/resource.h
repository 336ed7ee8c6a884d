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

// The comparison stars: the command, Ctrl+K and in the system menu; the dialog and its controls,
// each field's label just before it, which names it to screen readers.
#define IDM_COMPARISON 0x0020
#define IDD_COMPARISON 202
#define IDC_POSITION_LABEL 220
#define IDC_POSITION 221
#define IDC_POSITION_PROBLEM 222
#define IDC_RADIUS_LABEL 223
#define IDC_RADIUS 224
#define IDC_RADIUS_PROBLEM 225
#define IDC_LIKE_LABEL 226
#define IDC_LIKE 227
#define IDC_LIKE_PROBLEM 228
#define IDC_EPOCH_LABEL 229
#define IDC_EPOCH 230
#define IDC_EPOCH_PROBLEM 231
#define IDC_USABLE 232
#define IDC_CATALOGUE_FILES 233
#define IDC_REMOVE_FILES 234
#define IDC_FILES 235
#define IDC_SHOW 236
#define IDC_SAVE_TABLE 237
#define IDC_SAVE_CHART 238
#define IDC_SAVE_AIJ 239
#define IDC_SAVE_SIRIL 240
#define IDC_CHART 241
#define IDC_SAID 242
