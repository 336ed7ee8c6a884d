#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

#include "floating_text.h"

#include "tychobvr/conversion.h"

namespace conversion {
namespace {

bool IsRemovedBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\u3000'; }

bool IsDecimalDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsOctalDigit(char16_t c) { return c >= u'0' && c <= u'7'; }

bool IsHexDigit(char16_t c) {
    return IsDecimalDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// Walks a text as the reader sees it: with the removed blanks left out.
struct Cursor {
    std::u16string_view text;
    std::size_t pos = 0;

    void SkipBlanks() {
        while (pos < text.size() && IsRemovedBlank(text[pos])) ++pos;
    }
    // The current code unit, or 0 at the end of the text (0 never continues a number).
    char16_t Peek() {
        SkipBlanks();
        return pos < text.size() ? text[pos] : u'\0';
    }
    // The code unit after the current one.
    char16_t PeekNext() {
        SkipBlanks();
        return pos < text.size() ? Cursor{text, pos + 1}.Peek() : u'\0';
    }
    void Advance() {
        SkipBlanks();
        ++pos;
    }
};

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Parses plain ASCII digits that were already checked; out of range can only mean overflow.
double ParseHexDigits(const std::string& digits) {
    double value = 0.0;
    const auto result = FromCharsHex(digits.data(), digits.data() + digits.size(), value);
    return result.ec == std::errc::result_out_of_range ? kInfinity : value;
}

// Three bits an octal digit, re-grouped into four bits a hexadecimal digit.
std::string OctalToHex(const std::string& octal) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    unsigned bits = 0;
    int count = static_cast<int>((4 - (3 * octal.size()) % 4) % 4);  // leading zero bits
    for (char digit : octal) {
        bits = (bits << 3) | static_cast<unsigned>(digit - '0');
        count += 3;
        while (count >= 4) {
            count -= 4;
            hex += kHex[(bits >> count) & 0xFu];
        }
        bits &= (1u << count) - 1u;
    }
    return hex;
}

// "&H" or "&O" followed by digits of that base, read as an unsigned whole number.
double ReadRadixNumber(Cursor& cursor) {
    const bool hex = cursor.PeekNext() == u'H';
    cursor.Advance();
    cursor.Advance();
    std::string digits;
    for (char16_t c = cursor.Peek(); hex ? IsHexDigit(c) : IsOctalDigit(c); c = cursor.Peek()) {
        digits += static_cast<char>(c);
        cursor.Advance();
    }
    if (digits.empty()) return 0.0;
    return ParseHexDigits(hex ? digits : OctalToHex(digits));
}

constexpr long long kExponentCap = 100000;  // far beyond any double, small enough to add safely

// Whole numbers of up to 15 digits and the powers of ten up to 10^22 are exact doubles.
constexpr int kExactDigits = 15;
constexpr long long kExactPowers = 22;
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

double ReadDecimalNumber(Cursor& cursor) {
    std::string number;  // the number rewritten in ASCII for from_chars
    bool negative = false;
    if (cursor.Peek() == u'+' || cursor.Peek() == u'-') {
        negative = cursor.Peek() == u'-';
        if (negative) number += '-';
        cursor.Advance();
    }
    bool anyDigit = false;
    bool seenPoint = false;
    bool seenNonZero = false;
    long long magnitude = 0;     // decimal position of the leading significant digit
    std::uint64_t mantissa = 0;  // the first significant digits as a whole number ...
    long long exponent10 = 0;    // ... times ten to this
    int mantissaDigits = 0;
    for (char16_t c = cursor.Peek();; c = cursor.Peek()) {
        if (IsDecimalDigit(c)) {
            anyDigit = true;
            seenNonZero = seenNonZero || c != u'0';
            if (seenNonZero && !seenPoint) ++magnitude;
            if (!seenNonZero && seenPoint) --magnitude;
            if (seenNonZero) ++mantissaDigits;
            if (mantissaDigits <= kExactDigits) {
                mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - u'0');
                if (seenPoint) --exponent10;
            }
        } else if (c == u'.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
        number += static_cast<char>(c);
        cursor.Advance();
    }
    if (!anyDigit) return 0.0;

    // An exponent letter counts only when digits follow it, after an optional sign.
    const char16_t letter = cursor.Peek();
    if (letter == u'E' || letter == u'e') {
        Cursor probe = cursor;
        probe.Advance();
        bool negativeExponent = false;
        if (probe.Peek() == u'+' || probe.Peek() == u'-') {
            negativeExponent = probe.Peek() == u'-';
            probe.Advance();
        }
        if (IsDecimalDigit(probe.Peek())) {
            long long exponent = 0;
            for (char16_t c = probe.Peek(); IsDecimalDigit(c); c = probe.Peek()) {
                exponent = std::min(exponent * 10 + (c - u'0'), kExponentCap);
                probe.Advance();
            }
            if (negativeExponent) exponent = -exponent;
            magnitude += exponent;
            exponent10 += exponent;
            number += 'e';
            number += std::to_string(exponent);
            cursor = probe;
        }
    }

    // A few digits and a small exponent, as every magnitude has, are exact doubles, and one
    // multiplication or division rounds them as from_chars would.
    if (mantissaDigits <= kExactDigits && std::abs(exponent10) <= kExactPowers) {
        const double power = kPowersOfTen[std::abs(exponent10)];
        const auto exact = static_cast<double>(mantissa);
        const double value = exponent10 < 0 ? exact / power : exact * power;
        return negative ? -value : value;
    }
    double value = 0.0;
    const auto result = FromCharsDecimal(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large reads as an infinity, too small as its nearest double, a zero.
        const double limit = magnitude > 0 ? kInfinity : 0.0;
        return negative ? -limit : limit;
    }
    return value;
}

}  // namespace

double ReadLeadingNumber(std::u16string_view text) {
    Cursor cursor{text};
    if (cursor.Peek() == u'&') {
        const char16_t radix = cursor.PeekNext();
        return radix == u'H' || radix == u'O' ? ReadRadixNumber(cursor) : 0.0;
    }
    return ReadDecimalNumber(cursor);
}

}  // namespace conversion
