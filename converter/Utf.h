// Between UTF-8, in which the converter writes, and the UTF-16 of its texts.
#pragma once

#include <string>
#include <string_view>

// UTF-8 for UTF-16 text; an unpaired surrogate becomes U+FFFD.
std::string Utf8FromUtf16(std::u16string_view text);
// UTF-16 for UTF-8 text, for messages: bytes that are not UTF-8 are left out.
std::u16string Utf16FromUtf8(std::string_view text);
