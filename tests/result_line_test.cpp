#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "shown_value.h"
#include "tychobvr/conversion.h"

using conversion::BuildResultText;
using conversion::FormatWithPicture;

namespace {

struct Case {
    const char* name;
    std::u16string_view text;
    std::u16string_view expected;
};

void ExpectLines(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, BuildResultText(c.text, u'.'));
    }
}

}  // namespace

TEST(ResultLineTest, ConvertedLines) {
    ExpectLines({{"typical", u"BT=10.500 VT=10.000", u"B = 10.389 / V = 9.959 / R = 9.743"},
                 {"equal values", u"BT=7 VT=7", u"B = 7.018 / V = 7.008 / R = 7.003"},
                 {"leading zeros", u"BT=0.5 VT=0.3", u"B = 0.466 / V = 0.288 / R = 0.199"},
                 {"trailing zero", u"BT=12 VT=10", u"B = 11.502 / V = 9.810 / R = 8.965"},
                 {"negative", u"BT=-10.5 VT=-10", u"B = -10.353 / V = -9.943 / R = -9.737"},
                 {"free text around", u"Tycho: BT= 9.876, VT= 9.123;",
                  u"B = 9.700 / V = 9.057 / R = 8.735"}});
}

TEST(ResultLineTest, NotFound) {
    ExpectLines({{"empty", u"", u"BT,VT data not found"},
                 {"only BT", u"BT=10.5", u"BT,VT data not found"},
                 {"only VT", u"VT=10.5", u"BT,VT data not found"},
                 {"zero magnitude", u"BT=0 VT=1", u"BT,VT data not found"},
                 {"unreadable value", u"BT=x VT=1", u"BT,VT data not found"}});
}

TEST(ResultLineTest, OutOfRange) {
    ExpectLines({{"BT too large", u"BT=1E999 VT=1", u"BT,VT value out of range"},
                 {"VT too large", u"BT=1 VT=-1E999", u"BT,VT value out of range"},
                 {"before not found", u"BT=1E999", u"BT,VT value out of range"},
                 {"difference overflows", u"BT=9E307 VT=-9E307", u"BT,VT value out of range"},
                 {"too small is zero", u"BT=1E-999 VT=1", u"BT,VT data not found"}});
}

TEST(ResultLineTest, HugeFiniteResultIsWritten) {
    const std::u16string line = BuildResultText(u"BT=1E300 VT=1E300", u'.');
    EXPECT_EQ(u"B = 1", line.substr(0, 5));
    EXPECT_EQ(u".000", line.substr(line.size() - 4));
}

TEST(FormatWithPictureTest, RoundsToThreeDecimals) {
    EXPECT_EQ(u"V = 9.960 / ", FormatWithPicture(9.9595, u"V = #0.000 / ", u'.'));
    EXPECT_EQ(u"R = 1.000", FormatWithPicture(0.99951, u"R = #0.000", u'.'));
    // 0.0005 is stored just above the half, 1.2345 just below it.
    EXPECT_EQ(u"R = 0.001", FormatWithPicture(0.0005, u"R = #0.000", u'.'));
    EXPECT_EQ(u"R = 1.234", FormatWithPicture(1.2345, u"R = #0.000", u'.'));
    EXPECT_EQ(u"R = 123456789.000", FormatWithPicture(123456789.0, u"R = #0.000", u'.'));
}

TEST(FormatWithPictureTest, Signs) {
    EXPECT_EQ(u"B = -1.234 / ", FormatWithPicture(-1.234, u"B = #0.000 / ", u'.'));
    EXPECT_EQ(u"B = 0.000 / ", FormatWithPicture(-0.0004, u"B = #0.000 / ", u'.'));
    EXPECT_EQ(u"B = 0.000 / ", FormatWithPicture(-0.0, u"B = #0.000 / ", u'.'));
    EXPECT_EQ(u"B = -0.001 / ", FormatWithPicture(-0.0006, u"B = #0.000 / ", u'.'));
}

TEST(FormatWithPictureTest, SeparatorOverloads) {
    EXPECT_EQ(u"B = 10,389 / ", FormatWithPicture(10.389, u"B = #0.000 / ", u','));
    EXPECT_EQ(u"B = 10,389 / V = 9,959 / R = 9,743", BuildResultText(u"BT=10.5 VT=10", u','));
    EXPECT_EQ(u"B = 10\u066B389 / ", FormatWithPicture(10.389, u"B = #0.000 / ", u'\u066B'));
}

TEST(FormatWithPictureTest, SlashAndOtherLiteralsAreCopied) {
    EXPECT_EQ(u"a/b 1,500 c-d", FormatWithPicture(1.5, u"a/b #0.000 c-d", u','));
    EXPECT_EQ(u"x 01.500", FormatWithPicture(1.5, u"x 00.000", u'.'));
    EXPECT_EQ(u"2", FormatWithPicture(1.5, u"#0", u'.'));
    EXPECT_EQ(u"no pattern.", FormatWithPicture(1.5, u"no pattern.", u'.'));
}

TEST(FormatWithPictureTest, HundredsOfDecimals) {
    const std::u16string zeros(499, u'0');
    EXPECT_EQ(u"x -1.5" + zeros + u" y", FormatWithPicture(-1.5, u"x #0.0" + zeros + u" y", u'.'));
}

TEST(FitsRangeTest, EdgesAsShownAreInside) {
    struct Case {
        const char* name;
        double bt;
        double vt;
        bool within;
    };
    for (const Case& c : {Case{"typical", 10.5, 10.0, true},
                          Case{"upper edge, 1.8000000000000007", 10.8, 9.0, true},
                          Case{"above", 10.801, 9.0, false}, Case{"lower edge", 9.8, 10.0, true},
                          Case{"below", 9.799, 10.0, false}, Case{"very red", 12.0, 9.0, false},
                          Case{"not finite", 1e308, -1e308, false}}) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.within, conversion::IsWithinFits(c.bt, c.vt));
    }
}

// Numbers are written from the double's exact value, rounded half to even, as std::to_chars
// writes them, and a shown value reads back as the nearest double to the digits shown.
TEST(FormatWithPictureTest, AgreesWithToChars) {
    std::mt19937_64 random(932);
    std::uniform_real_distribution<double> magnitude(-100.0, 100.0);
    // Up to five integer digits, for each length that is written its own way.
    std::uniform_real_distribution<double> wide(-20000.0, 20000.0);
    std::vector<double> values;
    for (int i = 0; i < 20000; ++i) {
        values.push_back(magnitude(random));
        values.push_back(wide(random));
        values.push_back(std::bit_cast<double>(random()));  // any exponent, NaN included
        values.push_back(static_cast<double>(static_cast<int>(random() % 200000) - 100000) / 2048);
        // Next to a half of a thousandth, where the rounding of a product could go either way.
        const double half =
            static_cast<double>(2 * static_cast<int>(random() % 16000000) + 1) / 2000;
        for (const double near : {half, std::nextafter(half, 0.0), std::nextafter(half, 1e9)}) {
            values.push_back(near);
            values.push_back(-near);
        }
    }
    const std::u16string_view pictures[] = {u"#0", u"#0.0", u"#0.00", u"#0.000"};
    for (const double value : values) {
        for (int decimals = 0; decimals <= 3; ++decimals) {
            std::array<char, 400> buffer{};
            const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                           std::chars_format::fixed, decimals)
                                 .ptr;
            std::string digits(buffer.data(), end);
            // A value that rounds to zero shows no sign.
            if (digits.front() == '-' && digits.find_first_not_of("-0.") == std::string::npos) {
                digits.erase(0, 1);
            }
            ASSERT_EQ(std::u16string(digits.begin(), digits.end()),
                      FormatWithPicture(value, pictures[decimals], u'.'))
                << digits;
            if (decimals == 3 && std::isfinite(value)) {
                const std::string shown(buffer.data(), end);
                double expected = 0.0;
                std::from_chars(shown.data(), shown.data() + shown.size(), expected);
                ASSERT_EQ(std::bit_cast<std::uint64_t>(expected),
                          std::bit_cast<std::uint64_t>(conversion::ShownValue(value)))
                    << shown;
            }
        }
    }
}
