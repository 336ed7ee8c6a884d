#include "portable_floating_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <string_view>
#include <system_error>

#define FMT_HEADER_ONLY
// Only the C locale's digits are written; without this {fmt} brings in std::locale.
#define FMT_STATIC_THOUSANDS_SEPARATOR ','
#include <fast_float/fast_float.h>
#include <fmt/compile.h>

namespace conversion::portable {

std::to_chars_result ToCharsFixed(char* first, char* last, double value, int decimals) {
    // {fmt} rounds fixed notation exactly from the binary value, as to_chars does. The formats
    // are compiled, so that no other type's writer and no locale come into the page.
    const auto result = fmt::format_to_n(first, static_cast<std::size_t>(last - first),
                                         FMT_COMPILE("{:.{}f}"), value, decimals);
    if (result.size > static_cast<std::size_t>(last - first))
        return {last, std::errc::value_too_large};
    return {result.out, std::errc()};
}

std::from_chars_result FromCharsDecimal(const char* first, const char* last, double& value) {
    double read = 0.0;
    const auto result = fast_float::from_chars(first, last, read);
    if (result.ec != std::errc()) return {result.ptr, result.ec};
    // fast_float reads what overflows as an infinity and what underflows as a zero; <charconv>
    // calls both out of range. Only the mantissa's digits tell an underflow: 0e999 is a zero.
    const char* const mantissaEnd =
        std::find_if(first, result.ptr, [](char c) { return c == 'e' || c == 'E'; });
    const bool nonzeroDigit =
        std::any_of(first, mantissaEnd, [](char c) { return c >= '1' && c <= '9'; });
    if (std::isinf(read) || (read == 0.0 && nonzeroDigit))
        return {result.ptr, std::errc::result_out_of_range};
    value = read;
    return {result.ptr, std::errc()};
}

std::from_chars_result FromCharsHex(const char* first, const char* last, double& value) {
    const auto digit = [](char c) {
        return c >= '0' && c <= '9'   ? c - '0'
               : c >= 'a' && c <= 'f' ? c - 'a' + 10
               : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                      : -1;
    };
    const char* p = first;
    while (p < last && *p == '0') ++p;
    // The first sixteen significant digits exactly, the rest as a sticky bit: the lowest of 64
    // bits, far below the 53 that round, makes the one conversion round as if it saw them all.
    std::uint64_t bits = 0;
    int taken = 0;
    int dropped = 0;
    bool sticky = false;
    const char* end = first;
    for (const char* q = first; q < last && digit(*q) >= 0; ++q) end = q + 1;
    if (end == first) return {first, std::errc::invalid_argument};
    for (; p < end; ++p) {
        if (taken < 16) {
            bits = bits << 4 | static_cast<std::uint64_t>(digit(*p));
            ++taken;
        } else {
            sticky = sticky || *p != '0';
            ++dropped;
        }
    }
    if (sticky) bits |= 1;
    const double read = std::ldexp(static_cast<double>(bits), 4 * dropped);
    if (std::isinf(read)) return {end, std::errc::result_out_of_range};
    value = read;
    return {end, std::errc()};
}

void AppendShortest(std::string& out, double value) {
    if (!std::isfinite(value)) {
        if (std::signbit(value)) out += '-';
        out += std::isnan(value) ? "nan" : "inf";
        return;
    }
    // {fmt}'s shortest digits, in whichever form it writes them.
    std::array<char, 32> text;
    const char* const end = fmt::format_to(text.data(), FMT_COMPILE("{}"), value);
    const char* p = text.data();
    if (*p == '-') {
        out += '-';
        ++p;
    }
    // The significant digits alone, and the power of ten of the first.
    std::array<char, 24> digits;
    int count = 0;
    int exponent = -1;
    bool point = false;
    for (; p < end && *p != 'e'; ++p) {
        if (*p == '.') {
            point = true;
        } else if (count == 0 && *p == '0') {
            if (point) --exponent;
        } else {
            digits[static_cast<std::size_t>(count++)] = *p;
            if (!point) ++exponent;
        }
    }
    if (count == 0) {
        out += '0';
        return;
    }
    while (count > 1 && digits[static_cast<std::size_t>(count - 1)] == '0') --count;
    if (p < end) {
        ++p;  // the 'e'
        if (*p == '+') ++p;
        int power = 0;
        std::from_chars(p, end, power);
        exponent += power;
    }
    // The shorter of fixed and scientific notation, fixed on a tie, as to_chars chooses.
    const int magnitude = exponent < 0 ? -exponent : exponent;
    const int scientificSize = count + (count > 1 ? 1 : 0) + 2 + (magnitude >= 100 ? 3 : 2);
    const int fixedSize = exponent >= count - 1 ? exponent + 1
                          : exponent >= 0       ? count + 1
                                                : count + 1 - exponent;
    if (fixedSize > scientificSize) {
        out += digits[0];
        if (count > 1) {
            out += '.';
            out.append(digits.data() + 1, static_cast<std::size_t>(count - 1));
        }
        out += exponent < 0 ? "e-" : "e+";
        if (magnitude < 10) out += '0';
        std::array<char, 8> power;
        out.append(power.data(),
                   std::to_chars(power.data(), power.data() + power.size(), magnitude).ptr);
    } else if (exponent >= count - 1) {
        // An integer: the shortest text in fixed notation is its exact value.
        fmt::format_to(std::back_inserter(out), FMT_COMPILE("{:.0f}"), std::fabs(value));
    } else if (exponent >= 0) {
        out.append(digits.data(), static_cast<std::size_t>(exponent + 1));
        out += '.';
        out.append(digits.data() + exponent + 1, static_cast<std::size_t>(count - exponent - 1));
    } else {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out.append(digits.data(), static_cast<std::size_t>(count));
    }
}

}  // namespace conversion::portable
