// Turns a text carrying a star's Tycho magnitudes BT and VT into its B, V and R line.
// Texts are UTF-16 code units; every length and position counts code units.
#pragma once

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

// Renders the value through a picture such as "B = #0.000 / ": the text around the numeric
// pattern is copied as it stands, and the value is rounded to as many decimals as the pattern
// has zeros after its period. The one without a separator uses the user's locale.
std::u16string FormatWithPicture(double value, std::u16string_view picture);
std::u16string FormatWithPicture(double value, std::u16string_view picture,
                                 char16_t decimalSeparator);

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

}  // namespace conversion
