// Turns a text carrying a star's Tycho magnitudes BT and VT into its B, V and R line.
// Texts are UTF-16 code units; every length and position counts code units.
#pragma once

#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace conversion {

// Each member is 0 until its tag is found; a found tag whose value reads as 0 also leaves 0.
struct TaggedValues {
    double BT = 0.0;
    double VT = 0.0;
};

struct ConvertedMagnitudes {
    double B = 0.0;
    double V = 0.0;
    double R = 0.0;
};

// The number the text begins with, after every blank, tab, line feed and ideographic space
// is removed; 0 when it begins with none. Never fails: a number beyond the double range reads
// as an infinity of its sign.
double ReadLeadingNumber(std::u16string_view text);

// The values after the last "BT=" and the last "VT=" of the text, each read from the
// six code units that follow its tag.
TaggedValues ScanTaggedValues(std::u16string_view text);

// Every step is rounded to a double, whatever the build flags.
ConvertedMagnitudes ConvertMagnitudes(double BT, double VT);

// The B and V formulas are fits that hold for colour indices BT − VT in this range, edges
// included; outside it their values are extrapolations.
inline constexpr double kFitsLowestColourIndex = -0.2;
inline constexpr double kFitsHighestColourIndex = 1.8;

// Whether BT − VT, rounded to three decimals as it is shown, lies in the fits' range.
bool IsWithinFits(double BT, double VT);

// A second opinion on V and B − V: M. S. Bessell (2000), PASP 112, 961, Table 2, which gives
// V − VT and (B − V) − (BT − VT) against BT − VT for B-G main-sequence stars and K-M giants.
inline constexpr double kBessellLowestColourIndex = -0.25;
inline constexpr double kBessellHighestColourIndex = 2.00;
struct BessellMagnitudes {
    double V = 0.0;
    double BMinusV = 0.0;
};

// V and B − V from Bessell's table: a row's own values on a row, and between rows the cubic
// through the four nearest rows. Nothing when BT − VT, rounded to three decimals as it is shown,
// lies outside the table.
std::optional<BessellMagnitudes> ConvertBessell2000(double BT, double VT);

// R = VT − 0.014 − 0.5405 (BT − VT) and I = VT − 0.039 − 0.9376 (BT − VT): A. Henden's 2001 fits
// of Tycho-2 against about 270 Landolt standards, the same as the B and V formulas'.
struct HendenMagnitudes {
    double R = 0.0;
    double I = 0.0;
};
HendenMagnitudes ConvertHendenRI(double BT, double VT);

// The standard errors of B, V, R and B − V that the errors of BT and VT give through the fits,
// which are linear: B = 0.742 BT + 0.258 VT + 0.018, V = −0.0988 BT + 1.0988 VT + 0.008, and so
// R = 1.5 V − 0.5 B and B − V = 0.8408 (BT − VT). They leave out the fits' own scatter.
struct MagnitudeErrors {
    double B = 0.0;
    double V = 0.0;
    double R = 0.0;
    double BMinusV = 0.0;
};
// Inline: every row of a catalogue's conversion carries its errors through.
inline MagnitudeErrors PropagateErrors(double errorBT, double errorVT) {
    // The same coefficients as the fits, BT's and VT's in each magnitude; B and V share their
    // errors, so B − V has its own rather than the root of the sum of theirs.
    const auto combined = [errorBT, errorVT](double ofBT, double ofVT) {
        const double fromBT = ofBT * errorBT;
        const double fromVT = ofVT * errorVT;
        return std::sqrt(fromBT * fromBT + fromVT * fromVT);
    };
    return {combined(0.742, 0.258), combined(0.0988, 1.0988), combined(0.5192, 1.5192),
            0.8408 * std::sqrt(errorBT * errorBT + errorVT * errorVT)};
}

// Tycho-2's photometric errors grow steeply with magnitude: σ(VT) is about 0.013 mag for
// VT < 9, and VT fainter than this is treated with suspicion.
inline constexpr double kFaintTycho2VT = 10.5;

// Renders the value through a picture such as "B = #0.000 / ": the text around the numeric
// pattern is copied as it stands, and the value is rounded to as many decimals as the pattern
// has zeros after its period. The one without a separator uses the user's locale.
std::u16string FormatWithPicture(double value, std::u16string_view picture);

// The number that FormatWithPicture writes, with the period as its separator: the value rounded
// to `decimals` places, with at least `minIntegerDigits` integer digits, and no sign when it
// rounds to zero; "10.389" for 10.3885 and 3 decimals.
std::string FormatFixed(double value, int decimals, int minIntegerDigits = 1);
// The same number, appended to `out`.
void AppendFixed(std::string& out, double value, int decimals, int minIntegerDigits = 1);
// The same number with one integer digit at least, written at `out`, which has room for
// kMostFixedChars, where it is exact in 64-bit integers: at most three decimals, as every
// magnitude has. Returns the end, or nullptr for the others, which only AppendFixed writes.
inline constexpr int kMostFixedChars = 24;
inline char* WriteFixed(char* out, double value, int decimals);
std::u16string FormatWithPicture(double value, std::u16string_view picture,
                                 char16_t decimalSeparator);

// The shortest decimal that reads back as the value, appended as std::to_chars writes it:
// "10.5", "1e+22".
void AppendShortest(std::string& out, double value);
// A decimal such as "-1.5e3", all of the text, as std::from_chars reads it; nothing for any other
// text or for a value beyond the range of a double.
std::optional<double> ReadDecimal(std::string_view text);

// The decimal separator of the user's locale, read once: from the environment's LC_ALL,
// LC_NUMERIC or LANG on Linux, from the user's regional settings on Windows; the period where
// that gives none that fits one UTF-16 unit.
char16_t UserDecimalSeparator();

// The line "B = ... / V = ... / R = ..." for the text, or "BT,VT data not found" when either
// value is missing or zero, or "BT,VT value out of range" when a value or a result is not
// finite. Never fails on any text.
std::u16string BuildResultText(std::u16string_view text);
std::u16string BuildResultText(std::u16string_view text, char16_t decimalSeparator);

// Which of its three forms the result line takes for the values.
enum class ResultKind { Magnitudes, NotFound, OutOfRange };
ResultKind ResultKindOf(const TaggedValues& values);

// The result line for values already scanned from a text.
std::u16string BuildResultText(const TaggedValues& values, char16_t decimalSeparator);

namespace detail {

// "00" to "99", and ".000" to ".999".
extern const std::array<char, 200> kDigitPairs;
extern const std::array<std::array<char, 4>, 1000> kThreeDecimals;
char* WriteFixedGenerally(char* out, double value, int decimals);
// The value's binary value times 1000, rounded half to even, for values from 2^-11 to 2^13.
std::uint64_t ExactThousandths(std::uint64_t bits);

}  // namespace detail

// The value's magnitude in whole thousandths, rounded half to even, where it lies below 2^13, as
// magnitudes do; nothing otherwise. The nearest whole number of thousandths through the double
// product, whose rounding error is below 2^-30 here: only a product that close to a half may round
// the other way, and those are rounded from the exact binary value. A fused multiply-add in either
// step only makes it more exact.
inline bool QuickThousandths(std::uint64_t bits, std::uint64_t& thousandths) {
    const auto biased = static_cast<int>((bits >> 52) & 0x7FF);
    constexpr int kOne = 1023;
    if (biased >= kOne + 13) return false;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    const double scaled = std::fabs(value) * 1000.0;
    constexpr double kRoundsToWhole = 0x1.8p52;  // adding it leaves no fraction below 2^51
    const double nearest = (scaled + kRoundsToWhole) - kRoundsToWhole;
    if (std::fabs(scaled - nearest) < 0.5 - 0x1p-28) {
        thousandths = static_cast<std::uint64_t>(static_cast<std::int64_t>(nearest));
    } else {
        thousandths = detail::ExactThousandths(bits);
    }
    return true;
}

// The value in the whole thousandths it is shown with, signed, where it lies below 2^13 as
// magnitudes and colour indices do; false otherwise, and for NaN.
inline bool ShownThousandths(double value, long long& thousandths) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    std::uint64_t size;
    if (!QuickThousandths(bits, size)) return false;
    thousandths = (bits >> 63) != 0 ? -static_cast<long long>(size) : static_cast<long long>(size);
    return true;
}

// Inline for the numbers written most, with three decimals and below 2^13 as magnitudes are, so
// that a table of them pays no call for each, and its digits written without a branch that
// depends on them.
inline char* WriteFixed(char* out, double value, int decimals) {
    std::uint64_t bits;
    static_assert(sizeof bits == sizeof value);
    std::memcpy(&bits, &value, sizeof bits);
    std::uint64_t thousandths;
    if (decimals != 3 || !QuickThousandths(bits, thousandths))
        return detail::WriteFixedGenerally(out, value, decimals);
    // A value that rounds to zero shows no sign. The sign is written always and kept only where
    // it is shown, without a branch: colour indices are negative now and then, unforeseeably.
    *out = '-';
    char* const to = out + static_cast<std::size_t>((bits >> 63) != 0 && thousandths != 0);
    constexpr std::size_t kNumber = 8;
    if (thousandths < 100000) {
        // Below 100, as magnitudes and their errors are: "00.000" in one word, with the zero
        // that leads shifted out where there is one.
        const auto integer = static_cast<unsigned>(thousandths) / 1000;
        const auto fraction = static_cast<unsigned>(thousandths) - integer * 1000;
        std::uint16_t pair;
        std::uint32_t decimals4;
        std::memcpy(&pair, detail::kDigitPairs.data() + 2 * integer, 2);
        std::memcpy(&decimals4, detail::kThreeDecimals[fraction].data(), 4);
        const auto skipped = static_cast<unsigned>(integer < 10);
        std::uint64_t word;
        if constexpr (std::endian::native == std::endian::little) {
            word = (std::uint64_t{decimals4} << 16 | pair) >> (8 * skipped);
        } else {
            word = (std::uint64_t{pair} << 48 | std::uint64_t{decimals4} << 16) << (8 * skipped);
        }
        std::memcpy(to, &word, kNumber);
        return to + 6 - skipped;
    }
    const auto integer = static_cast<unsigned>(thousandths / 1000);
    const auto fraction = static_cast<std::size_t>(thousandths - integer * std::uint64_t{1000});
    std::uint16_t high, low;
    std::uint32_t decimals4;
    std::memcpy(&high, detail::kDigitPairs.data() + 2 * (integer / 100), 2);
    std::memcpy(&low, detail::kDigitPairs.data() + 2 * (integer % 100), 2);
    std::memcpy(&decimals4, detail::kThreeDecimals[fraction].data(), 4);
    const auto skipped = static_cast<unsigned>(integer < 1000) +
                         static_cast<unsigned>(integer < 100) + static_cast<unsigned>(integer < 10);
    std::uint64_t word;
    if constexpr (std::endian::native == std::endian::little) {
        word = (std::uint64_t{decimals4} << 32 | std::uint64_t{low} << 16 | high) >> (8 * skipped);
    } else {
        word = (std::uint64_t{high} << 48 | std::uint64_t{low} << 32 | decimals4) << (8 * skipped);
    }
    std::memcpy(to, &word, kNumber);
    return to + kNumber - skipped;
}

}  // namespace conversion
