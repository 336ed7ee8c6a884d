// Text to the standard streams of a program of either subsystem.
#pragma once

#include <windows.h>

#include <string_view>

// Writes the text to a console as UTF-16, or to a file or pipe as UTF-8.
bool WriteTo(HANDLE handle, std::u16string_view text);

// Writes to the standard stream when it was redirected or is a console; a window program
// borrows the console it was started from, and has a message box as the last resort.
void Say(DWORD stream, std::u16string_view text, bool error);

// Whether a standard handle leads anywhere.
bool IsUsable(HANDLE handle);

// The system's words for an error code, in the user's language, without a line end.
std::u16string_view SystemReason(DWORD error, std::u16string& storage);
