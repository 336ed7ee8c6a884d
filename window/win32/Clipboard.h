// The clipboard's text, read the way the press needs it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The clipboard's Unicode text, or the empty text when it holds none; nothing when another
// program keeps the clipboard open for longer than about half a second.
std::optional<std::u16string> ReadClipboardText(HWND owner);
