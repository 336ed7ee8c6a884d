#include "floating_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "tychobvr/conversion.h"

#if defined(__EMSCRIPTEN__)
#define TYCHOBVR_FLOATING_CHARCONV 0
#define FMT_HEADER_ONLY
#include <fast_float/fast_float.h>
#include <fmt/format.h>
#else
#define TYCHOBVR_FLOATING_CHARCONV 1
#endif

namespace conversion {

#if TYCHOBVR_FLOATING_CHARCONV

std::to_chars_result ToCharsFixed(char* first, char* last, double value, int decimals) {
    return std::to_chars(first, last, value, std::chars_format::fixed, decimals);
}

std::from_chars_result FromCharsDecimal(const char* first, const char* last, double& value) {
    return std::from_chars(first, last, value);
}

std::from_chars_result FromCharsHex(const char* first, const char* last, double& value) {
    return std::from_chars(first, last, value, std::chars_format::hex);
}

void AppendShortest(std::string& out, double value) {
    std::array<char, 32> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    out.append(buffer.data(), result.ptr);
}

#else

std::to_chars_result ToCharsFixed(char* first, char* last, double value, int decimals) {
    // {fmt} rounds fixed notation exactly from the binary value, as to_chars does.
    const auto result =
        fmt::format_to_n(first, static_cast<std::size_t>(last - first), "{:.{}f}", value, decimals);
    if (result.size > static_cast<std::size_t>(last - first))
        return {last, std::errc::value_too_large};
    return {result.out, std::errc()};
}

std::from_chars_result FromCharsDecimal(const char* first, const char* last, double& value) {
    double read = 0.0;
    const auto result = fast_float::from_chars(first, last, read);
    if (result.ec != std::errc()) return {result.ptr, result.ec};
    // fast_float reads what overflows as an infinity and what underflows as a zero; <charconv>
    // calls both out of range.
    const bool nonzeroDigit =
        std::any_of(first, result.ptr, [](char c) { return c >= '1' && c <= '9'; });
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
        out += std::isnan(value) ? "nan" : value < 0 ? "-inf" : "inf";
        return;
    }
    // {fmt}'s shortest digits, in whichever form it writes them, then the shorter of fixed and
    // scientific notation, fixed on a tie, as to_chars chooses.
    const std::string shortest = fmt::format("{}", value);
    const bool negative = shortest.front() == '-';
    const std::size_t e = shortest.find('e');
    const std::string_view mantissa = std::string_view(shortest).substr(
        negative ? 1 : 0, e == std::string::npos ? std::string::npos : e - (negative ? 1 : 0));
    int exponent = e == std::string::npos ? 0 : std::stoi(shortest.substr(e + 1));
    const std::size_t point = mantissa.find('.');
    // The position of the point, then the significant digits alone.
    exponent += static_cast<int>(point == std::string_view::npos ? mantissa.size() : point) - 1;
    std::string digits;
    for (const char c : mantissa) {
        if (c != '.') digits += c;
    }
    while (digits.size() > 1 && digits.front() == '0') {
        digits.erase(0, 1);
        --exponent;
    }
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const auto count = static_cast<int>(digits.size());
    std::string scientific = digits.substr(0, 1);
    if (count > 1) scientific += "." + digits.substr(1);
    scientific += exponent < 0 ? "e-" : "e+";
    const int size = exponent < 0 ? -exponent : exponent;
    if (size < 10) scientific += '0';
    scientific += std::to_string(size);
    std::string fixed;
    if (exponent >= count - 1) {
        fixed = digits + std::string(static_cast<std::size_t>(exponent - (count - 1)), '0');
    } else if (exponent >= 0) {
        fixed = digits.substr(0, static_cast<std::size_t>(exponent + 1)) + "." +
                digits.substr(static_cast<std::size_t>(exponent + 1));
    } else {
        fixed = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    if (negative) out += '-';
    out += fixed.size() <= scientific.size() - (negative ? 1 : 0)
               ? fixed
               : std::string(scientific.substr(negative ? 1 : 0));
}

#endif

std::optional<double> ReadDecimal(std::string_view text) {
    double value = 0.0;
    const auto result = FromCharsDecimal(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace conversion
