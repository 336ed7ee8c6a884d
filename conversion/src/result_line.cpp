#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "decimal_separator.h"
#include "floating_text.h"
#include "shown_value.h"
#include "tychobvr/conversion.h"

namespace conversion {
namespace {

constexpr double kBOffset = 0.018;
constexpr double kBColourSlope = 0.258;
constexpr double kVOffset = 0.008;
constexpr double kVColourSlope = 0.0988;
constexpr double kRFactor = 0.5;
constexpr int kShownDecimals = 3;

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

// A value times 10^decimals, rounded to a whole number half to even as std::to_chars rounds
// it, with the value's sign; for the doubles where that is exact in 64 bits: below 2^53 with at
// most three decimals, which every magnitude is. Nothing for the others.
struct Scaled {
    std::uint64_t magnitude = 0;
    bool negative = false;
};

std::optional<Scaled> RoundScaled(double value, int decimals) {
    constexpr int kMantissaBits = 52;
    const auto bits = BitCast<std::uint64_t>(value);
    const auto biased = static_cast<int>((bits >> kMantissaBits) & 0x7FF);
    if (decimals < 0 || decimals > 3 || biased == 0x7FF) return std::nullopt;
    std::uint64_t mantissa = bits & ((std::uint64_t(1) << kMantissaBits) - 1);
    if (biased != 0) mantissa |= std::uint64_t(1) << kMantissaBits;
    // value = ±mantissa × 2^-shift
    const int shift = 1075 - std::max(biased, 1);
    if (shift < 0) return std::nullopt;
    std::uint64_t scaled = mantissa;
    for (int i = 0; i < decimals; ++i) scaled *= 10;
    Scaled result;
    result.negative = (bits >> 63) != 0;
    if (shift == 0) {
        result.magnitude = scaled;
    } else if (shift < 64) {  // else below one half
        result.magnitude = scaled >> shift;
        const std::uint64_t rest = scaled & ((std::uint64_t(1) << shift) - 1);
        const std::uint64_t half = std::uint64_t(1) << (shift - 1);
        if (rest > half || (rest == half && (result.magnitude & 1) != 0)) ++result.magnitude;
    }
    return result;
}

// The value in fixed notation, such as "-1.234", for what RoundScaled leaves: std::to_chars,
// rounded correctly from the exact binary value whatever the C locale. A double has 309 integer
// digits at most; a picture may ask for hundreds of decimals.
std::string GeneralFixedDigits(double value, int decimals) {
    std::string digits(320 + static_cast<std::size_t>(std::max(decimals, 0)), '\0');
    const auto result = ToCharsFixed(digits.data(), digits.data() + digits.size(), value, decimals);
    digits.resize(static_cast<std::size_t>(result.ptr - digits.data()));
    return digits;
}

}  // namespace

std::string FormatFixed(double value, int decimals, int minIntegerDigits) {
    std::string text;
    AppendFixed(text, value, decimals, minIntegerDigits);
    return text;
}

namespace detail {

const std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> table{};
    for (std::size_t i = 0; i < 100; ++i) {
        table[2 * i] = static_cast<char>('0' + i / 10);
        table[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return table;
}();

const std::array<std::array<char, 4>, 1000> kThreeDecimals = [] {
    std::array<std::array<char, 4>, 1000> table{};
    for (std::size_t i = 0; i < table.size(); ++i) {
        table[i] = {'.', static_cast<char>('0' + i / 100), static_cast<char>('0' + i / 10 % 10),
                    static_cast<char>('0' + i % 10)};
    }
    return table;
}();

std::uint64_t ExactThousandths(std::uint64_t bits) {
    const auto biased = static_cast<int>((bits >> 52) & 0x7FF);
    constexpr int kOne = 1023;
    // Below 2^-11, zeros and subnormals included, the value rounds to 0.000.
    if (biased <= kOne - 12) return 0;
    const std::uint64_t scaled =
        ((bits & ((std::uint64_t(1) << 52) - 1)) | std::uint64_t(1) << 52) * 1000;
    const int shift = 1075 - biased;  // from 40 to 63
    const std::uint64_t thousandths = scaled >> shift;
    const std::uint64_t rest = scaled & ((std::uint64_t(1) << shift) - 1);
    const std::uint64_t half = std::uint64_t(1) << (shift - 1);
    return thousandths +
           static_cast<std::uint64_t>(rest > half || (rest == half && (thousandths & 1) != 0));
}

char* WriteFixedGenerally(char* out, double value, int decimals) {
    const std::optional<Scaled> scaled = RoundScaled(value, decimals);
    if (!scaled) return nullptr;
    // The digits from the last, with the period after `decimals` of them, and at least one
    // integer digit; a value that rounds to zero shows no sign. 2^53 × 1000 has 19 digits.
    std::array<char, kMostFixedChars> buffer;
    char* const end = buffer.data() + buffer.size();
    char* first = end;
    std::uint64_t rest = scaled->magnitude;
    for (int written = 0; written < decimals; ++written) {
        *--first = static_cast<char>('0' + rest % 10);
        rest /= 10;
    }
    if (decimals > 0) *--first = '.';
    do {
        *--first = static_cast<char>('0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (scaled->negative && scaled->magnitude != 0) *--first = '-';
    const auto size = static_cast<std::size_t>(end - first);
    std::memcpy(out, first, size);
    return out + size;
}

}  // namespace detail

void AppendFixed(std::string& out, double value, int decimals, int minIntegerDigits) {
    constexpr int kMostPaddedDigits = 20;
    if (minIntegerDigits <= 1) {
        std::array<char, kMostFixedChars> buffer;
        if (char* const end = WriteFixed(buffer.data(), value, decimals)) {
            out.append(buffer.data(), end);
            return;
        }
    }
    const std::optional<Scaled> scaled = RoundScaled(value, decimals);
    if (scaled && minIntegerDigits <= kMostPaddedDigits) {
        // The digits from the last, with the period after `decimals` of them, and at least one
        // integer digit; a value that rounds to zero shows no sign.
        std::array<char, 48> buffer;
        char* const end = buffer.data() + buffer.size();
        char* first = end;
        std::uint64_t rest = scaled->magnitude;
        const int leastDigits = decimals + std::max(minIntegerDigits, 1);
        for (int written = 0; rest != 0 || written < leastDigits; ++written) {
            if (written == decimals && decimals > 0) *--first = '.';
            *--first = static_cast<char>('0' + rest % 10);
            rest /= 10;
        }
        if (scaled->negative && scaled->magnitude != 0) *--first = '-';
        out.append(first, end);
        return;
    }
    const std::string fixed = GeneralFixedDigits(value, decimals);
    std::string_view digits = fixed;
    bool sign = false;
    if (!digits.empty() && digits.front() == '-') {
        digits.remove_prefix(1);
        sign =
            std::any_of(digits.begin(), digits.end(), [](char c) { return c != '0' && c != '.'; });
    }
    const auto integerDigits =
        static_cast<int>(std::find(digits.begin(), digits.end(), '.') - digits.begin());
    const auto zeros = static_cast<std::size_t>(std::max(minIntegerDigits - integerDigits, 0));
    if (sign) out += '-';
    out.append(zeros, '0');
    out += digits;
}

ConvertedMagnitudes ConvertMagnitudes(double BT, double VT) {
    // The core is built without floating-point contraction, so each step rounds on its own.
    ConvertedMagnitudes result;
    result.B = (BT + kBOffset) - kBColourSlope * (BT - VT);
    result.V = (VT + kVOffset) - kVColourSlope * (BT - VT);
    result.R = result.V - kRFactor * (result.B - result.V);
    return result;
}

double ShownValue(double value) {
    // The nearest double to the shown decimal, which a division of two exact doubles gives.
    constexpr std::uint64_t kExactInDouble = std::uint64_t(1) << 53;
    if (const std::optional<Scaled> scaled = RoundScaled(value, kShownDecimals)) {
        if (scaled->magnitude < kExactInDouble) {
            const double shown = static_cast<double>(scaled->magnitude) / 1000.0;
            return scaled->negative ? -shown : shown;
        }
    }
    const std::string digits = GeneralFixedDigits(value, kShownDecimals);
    double shown = 0.0;
    const auto result = FromCharsDecimal(digits.data(), digits.data() + digits.size(), shown);
    return result.ec == std::errc() ? shown : std::numeric_limits<double>::quiet_NaN();
}

bool IsWithinFits(double BT, double VT) {
    // Judged on the digits that are shown, so that 10.8 - 9.0 = 1.8000000000000007 is inside.
    constexpr long long kLowest = -200, kHighest = 1800;
    static_assert(kFitsLowestColourIndex * 1000 == kLowest &&
                  kFitsHighestColourIndex * 1000 == kHighest);
    long long shown;
    return ShownThousandths(BT - VT, shown) && shown >= kLowest && shown <= kHighest;
}

std::u16string FormatWithPicture(double value, std::u16string_view picture,
                                 char16_t decimalSeparator) {
    const Pattern pattern = FindPattern(picture);
    if (pattern.begin == std::u16string_view::npos) return std::u16string(picture);
    const std::string number = FormatFixed(value, pattern.decimals, pattern.minIntegerDigits);
    std::u16string out(picture.substr(0, pattern.begin));
    for (const char c : number) out += c == '.' ? decimalSeparator : static_cast<char16_t>(c);
    out += picture.substr(pattern.end);
    return out;
}

std::u16string FormatWithPicture(double value, std::u16string_view picture) {
    return FormatWithPicture(value, picture, UserDecimalSeparator());
}

namespace {

ResultKind KindOf(const TaggedValues& values, const ConvertedMagnitudes& m) {
    if (!std::isfinite(values.BT) || !std::isfinite(values.VT)) return ResultKind::OutOfRange;
    if (values.BT == 0.0 || values.VT == 0.0) return ResultKind::NotFound;
    const bool finite = std::isfinite(m.B) && std::isfinite(m.V) && std::isfinite(m.R);
    return finite ? ResultKind::Magnitudes : ResultKind::OutOfRange;
}

}  // namespace

ResultKind ResultKindOf(const TaggedValues& values) {
    return KindOf(values, ConvertMagnitudes(values.BT, values.VT));
}

std::u16string BuildResultText(const TaggedValues& values, char16_t decimalSeparator) {
    const ConvertedMagnitudes m = ConvertMagnitudes(values.BT, values.VT);
    switch (KindOf(values, m)) {
        case ResultKind::NotFound:
            return std::u16string(kNotFound);
        case ResultKind::OutOfRange:
            return std::u16string(kOutOfRange);
        case ResultKind::Magnitudes:
            break;
    }
    return FormatWithPicture(m.B, kBPicture, decimalSeparator) +
           FormatWithPicture(m.V, kVPicture, decimalSeparator) +
           FormatWithPicture(m.R, kRPicture, decimalSeparator);
}

std::u16string BuildResultText(std::u16string_view text, char16_t decimalSeparator) {
    return BuildResultText(ScanTaggedValues(text), decimalSeparator);
}

std::u16string BuildResultText(std::u16string_view text) {
    return BuildResultText(text, UserDecimalSeparator());
}

}  // namespace conversion
