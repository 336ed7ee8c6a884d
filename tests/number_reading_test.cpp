#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "tychobvr/conversion.h"

using conversion::ReadLeadingNumber;

namespace {

struct Case {
    const char* name;
    std::u16string_view text;
    double expected;
};

void ExpectReads(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(c.expected),
                  std::bit_cast<std::uint64_t>(ReadLeadingNumber(c.text)));
    }
}

constexpr double kInf = std::numeric_limits<double>::infinity();

}  // namespace

TEST(NumberReadingTest, PlainNumbers) {
    ExpectReads({{"trailing zeros", u"10.500", 10.5},
                 {"negative", u"-0.123", -0.123},
                 {"plus sign", u"+5", 5.0},
                 {"leading period", u".5", 0.5},
                 {"trailing period", u"5.", 5.0},
                 {"whole", u"42", 42.0}});
}

TEST(NumberReadingTest, StopsAtWhatCannotContinue) {
    ExpectReads({{"next tag", u"9.8VT=", 9.8},
                 {"second period", u"12.3.4", 12.3},
                 {"comma", u"1,234", 1.0},
                 {"carriage return", u"9.87\r\n", 9.87},
                 {"slash", u"3/4", 3.0},
                 {"letter D", u"1D5", 1.0},
                 {"full-width digit", u"1\uFF12", 1.0},
                 {"sign after digits", u"1-2", 1.0}});
}

TEST(NumberReadingTest, BlanksAreRemovedAnywhere) {
    ExpectReads({{"trailing blank", u"9.876 ", 9.876},
                 {"leading blank", u" 9.87", 9.87},
                 {"inside digits", u"1 2", 12.0},
                 {"inside fraction", u"9.8 7", 9.87},
                 {"tab and line feed", u"\t1\n2", 12.0},
                 {"ideographic space", u"\u30001\u30002", 12.0},
                 {"between sign and digits", u"- 5", -5.0},
                 {"carriage return is kept", u"1\r2", 1.0},
                 {"line feed joins lines", u"9\n87", 987.0}});
}

TEST(NumberReadingTest, NoDigitsReadsZero) {
    ExpectReads({{"empty", u"", 0.0},
                 {"letters", u"abc", 0.0},
                 {"lone minus", u"-", 0.0},
                 {"lone period", u".", 0.0},
                 {"double sign", u"+-5", 0.0},
                 {"exponent only", u"E5", 0.0},
                 {"period then exponent", u".E5", 0.0},
                 {"blanks only", u"   ", 0.0}});
}

TEST(NumberReadingTest, Exponent) {
    ExpectReads({{"upper", u"1E3", 1000.0},
                 {"lower", u"2.5e-2", 0.025},
                 {"plus sign", u"1E+2", 100.0},
                 {"no digits", u"1E", 1.0},
                 {"sign, no digits", u"2.5E+", 2.5},
                 {"blank inside", u"1E 2", 100.0},
                 {"letters after", u"1EX", 1.0}});
}

TEST(NumberReadingTest, BeyondTheDoubleRange) {
    ExpectReads({{"too large", u"1E999", kInf},
                 {"too large negative", u"-1E999", -kInf},
                 {"too small", u"1E-999", 0.0},
                 {"too small negative", u"-1E-999", -0.0},
                 {"huge exponent digits", u"1E99999999999999999999", kInf},
                 {"leading zeros", u"0.0001E-320", 0.0},
                 {"largest double", u"1.7976931348623157E308", std::numeric_limits<double>::max()},
                 {"smallest subnormal", u"5E-324", std::numeric_limits<double>::denorm_min()}});
}

TEST(NumberReadingTest, RadixPrefixes) {
    ExpectReads({{"hex", u"&H1F", 31.0},
                 {"hex unsigned", u"&HFFFF", 65535.0},
                 {"hex lower-case digits", u"&Hff", 255.0},
                 {"hex 64 bits", u"&HFFFFFFFFFFFFFFFF", 18446744073709551616.0},
                 {"octal", u"&O17", 15.0},
                 {"octal stops at 8", u"&O178", 15.0},
                 {"octal 22 digits", u"&O1777777777777777777777", 18446744073709551616.0},
                 {"no digits", u"&H", 0.0},
                 {"lower-case letter", u"&h1F", 0.0},
                 {"sign before ampersand", u"-&H1F", 0.0},
                 {"other letter", u"&B101", 0.0},
                 {"blank inside", u"& H 1F", 31.0}});
}

TEST(NumberReadingTest, HugeHexIsInfinite) {
    EXPECT_EQ(kInf, ReadLeadingNumber(u"&H" + std::u16string(300, u'F')));
}

TEST(NumberReadingTest, LongTextReadsWholeNumber) {
    EXPECT_EQ(1.0, ReadLeadingNumber(u"0." + std::u16string(400, u'9') + u"x"));
}

// Every decimal reads as the nearest double, as from_chars reads it: short and long digit
// strings, points anywhere, and exponents small and large.
TEST(NumberReadingTest, NearestDoubleAsFromChars) {
    std::mt19937_64 random(2026);
    for (int i = 0; i < 200000; ++i) {
        std::string text = random() % 4 == 0 ? "-" : "";
        const auto digits = static_cast<std::size_t>(1 + random() % (random() % 8 == 0 ? 25 : 7));
        const auto point = static_cast<std::size_t>(random() % (digits + 2));
        for (std::size_t d = 0; d < digits; ++d) {
            if (d == point) text += '.';
            text += static_cast<char>('0' + random() % 10);
        }
        if (random() % 3 == 0) {
            text += 'e';
            text += std::to_string(static_cast<int>(random() % 80) - 40);
        }
        double expected = 0.0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        ASSERT_EQ(std::bit_cast<std::uint64_t>(expected),
                  std::bit_cast<std::uint64_t>(
                      ReadLeadingNumber(std::u16string(text.begin(), text.end()))))
            << text;
    }
}
