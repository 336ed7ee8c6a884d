#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <string>
#include <string_view>

#include "decimal_separator.h"
#include "tychobvr/conversion.h"

namespace conversion {
namespace {

constexpr double kBOffset = 0.018;
constexpr double kBColourSlope = 0.258;
constexpr double kVOffset = 0.008;
constexpr double kVColourSlope = 0.0988;
constexpr double kRFactor = 0.5;

constexpr std::u16string_view kBPicture = u"B = #0.000 / ";
constexpr std::u16string_view kVPicture = u"V = #0.000 / ";
constexpr std::u16string_view kRPicture = u"R = #0.000";
constexpr std::u16string_view kNotFound = u"BT,VT data not found";
constexpr std::u16string_view kOutOfRange = u"BT,VT value out of range";

bool IsPatternChar(char16_t c) { return c == u'#' || c == u'0' || c == u'.'; }

struct Pattern {
    std::size_t begin = std::u16string_view::npos;
    std::size_t end = std::u16string_view::npos;
    int minIntegerDigits = 0;
    int decimals = 0;
};

// The numeric pattern is the first run of '#', '0' and '.' that holds a digit placeholder.
Pattern FindPattern(std::u16string_view picture) {
    Pattern pattern;
    std::size_t pos = 0;
    while (pos < picture.size()) {
        const std::size_t begin = pos;
        while (pos < picture.size() && IsPatternChar(picture[pos])) ++pos;
        const std::u16string_view run = picture.substr(begin, pos - begin);
        if (run.find_first_of(u"#0") != std::u16string_view::npos) {
            const std::size_t point = run.find(u'.');
            const std::u16string_view integer = run.substr(0, point);
            const std::u16string_view fraction =
                point == std::u16string_view::npos ? std::u16string_view() : run.substr(point + 1);
            pattern.begin = begin;
            pattern.end = pos;
            pattern.minIntegerDigits =
                static_cast<int>(std::count(integer.begin(), integer.end(), u'0'));
            pattern.decimals = static_cast<int>(std::count_if(
                fraction.begin(), fraction.end(), [](char16_t c) { return c != u'.'; }));
            return pattern;
        }
        if (pos == begin) ++pos;
    }
    return pattern;
}

void AppendNumber(std::u16string& out, double value, const Pattern& pattern, char16_t separator) {
    // Fixed format rounds the exact binary value correctly and ignores the C locale.
    std::array<char, 400> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value,
                                      std::chars_format::fixed, pattern.decimals);
    std::string_view text(digits.data(), static_cast<std::size_t>(result.ptr - digits.data()));
    if (!text.empty() && text.front() == '-') {
        text.remove_prefix(1);
        // A value that rounds to zero shows no sign.
        if (text.find_first_not_of("0.") != std::string_view::npos) out += u'-';
    }
    const std::size_t point = text.find('.');
    const std::size_t integerDigits = point == std::string_view::npos ? text.size() : point;
    for (std::size_t i = integerDigits; i < static_cast<std::size_t>(pattern.minIntegerDigits);
         ++i) {
        out += u'0';
    }
    for (char c : text) out += c == '.' ? separator : static_cast<char16_t>(c);
}

}  // namespace

ConvertedMagnitudes ConvertMagnitudes(double BT, double VT) {
    // The core is built without floating-point contraction, so each step rounds on its own.
    ConvertedMagnitudes result;
    result.B = (BT + kBOffset) - kBColourSlope * (BT - VT);
    result.V = (VT + kVOffset) - kVColourSlope * (BT - VT);
    result.R = result.V - kRFactor * (result.B - result.V);
    return result;
}

std::u16string FormatWithPicture(double value, std::u16string_view picture,
                                 char16_t decimalSeparator) {
    const Pattern pattern = FindPattern(picture);
    if (pattern.begin == std::u16string_view::npos) return std::u16string(picture);
    std::u16string out(picture.substr(0, pattern.begin));
    AppendNumber(out, value, pattern, decimalSeparator);
    out += picture.substr(pattern.end);
    return out;
}

std::u16string FormatWithPicture(double value, std::u16string_view picture) {
    return FormatWithPicture(value, picture, UserDecimalSeparator());
}

std::u16string BuildResultText(std::u16string_view text, char16_t decimalSeparator) {
    const TaggedValues tagged = ScanTaggedValues(text);
    if (!std::isfinite(tagged.BT) || !std::isfinite(tagged.VT)) return std::u16string(kOutOfRange);
    if (tagged.BT == 0.0 || tagged.VT == 0.0) return std::u16string(kNotFound);
    const ConvertedMagnitudes m = ConvertMagnitudes(tagged.BT, tagged.VT);
    if (!std::isfinite(m.B) || !std::isfinite(m.V) || !std::isfinite(m.R)) {
        return std::u16string(kOutOfRange);
    }
    return FormatWithPicture(m.B, kBPicture, decimalSeparator) +
           FormatWithPicture(m.V, kVPicture, decimalSeparator) +
           FormatWithPicture(m.R, kRPicture, decimalSeparator);
}

std::u16string BuildResultText(std::u16string_view text) {
    return BuildResultText(text, UserDecimalSeparator());
}

}  // namespace conversion
