// Doubles to and from text with {fmt} and fast_float, header-only, to the same text and the
// same results as <charconv>: for a standard library that lacks its floating-point overloads (the
// libc++ of Emscripten 3.1.6). The native tests hold it to <charconv> itself.
#pragma once

#include <charconv>
#include <string>

namespace conversion::portable {

std::to_chars_result ToCharsFixed(char* first, char* last, double value, int decimals);
std::from_chars_result FromCharsDecimal(const char* first, const char* last, double& value);
std::from_chars_result FromCharsHex(const char* first, const char* last, double& value);
void AppendShortest(std::string& out, double value);

}  // namespace conversion::portable
