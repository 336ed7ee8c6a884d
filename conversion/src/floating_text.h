// Doubles to and from text as <charconv> writes and reads them. Where the standard library
// lacks the floating-point overloads (the libc++ of Emscripten 3.1.6), fast_float reads and {fmt}
// writes them, to the same text; integers always go through <charconv>.
#pragma once

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>
#include <system_error>

namespace conversion {

// std::bit_cast, which that libc++ lacks too.
template <typename To, typename From>
To BitCast(const From& from) {
    static_assert(sizeof(To) == sizeof(From));
    To to;
    std::memcpy(&to, &from, sizeof to);
    return to;
}

// std::to_chars(first, last, value, std::chars_format::fixed, decimals).
std::to_chars_result ToCharsFixed(char* first, char* last, double value, int decimals);

// std::from_chars for a decimal in the general format. Out of range is result_out_of_range.
std::from_chars_result FromCharsDecimal(const char* first, const char* last, double& value);

// std::from_chars for hexadecimal digits alone, rounded to nearest; too large is
// result_out_of_range.
std::from_chars_result FromCharsHex(const char* first, const char* last, double& value);

}  // namespace conversion
