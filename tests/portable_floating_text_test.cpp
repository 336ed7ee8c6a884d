// The page's reading and writing of doubles, built natively and held to <charconv> itself: the
// same text, the same values, the same errors and the same ends.
#include "portable_floating_text.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<double> SampleValues() {
    std::vector<double> values = {0.0,
                                  -0.0,
                                  0.1,
                                  0.5,
                                  1.0,
                                  100.0,
                                  1e15,
                                  1e16,
                                  1e21,
                                  1e22,
                                  1e-5,
                                  1e-7,
                                  123.456,
                                  9.9995,
                                  0.0005,
                                  0.0015,
                                  2.5e-8,
                                  5e-324,
                                  2.2250738585072014e-308,
                                  1.7976931348623157e308,
                                  123456789012345680000.0};
    std::mt19937_64 random(22);
    std::uniform_real_distribution<double> magnitude(-20000.0, 20000.0);
    for (int i = 0; i < 20000; ++i) {
        values.push_back(std::bit_cast<double>(random()));  // any exponent, NaN included
        values.push_back(magnitude(random));
        values.push_back(static_cast<double>(static_cast<int>(random() % 2000000) - 1000000) /
                         1000);
    }
    return values;
}

std::string StdFixed(double value, int decimals) {
    std::array<char, 400> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, decimals);
    return {buffer.data(), result.ptr};
}

TEST(PortableFloatingText, WritesFixedAsToChars) {
    for (const double value : SampleValues()) {
        for (const int decimals : {0, 1, 2, 3, 4, 17}) {
            const std::string expected = StdFixed(value, decimals);
            if (expected.size() > 60) continue;  // the core writes short numbers only
            std::array<char, 400> buffer;
            const auto result = conversion::portable::ToCharsFixed(
                buffer.data(), buffer.data() + buffer.size(), value, decimals);
            ASSERT_EQ(std::errc(), result.ec) << expected;
            EXPECT_EQ(expected, std::string(buffer.data(), result.ptr)) << decimals;
            // One char short of room is an error, as to_chars reports it.
            std::array<char, 60> small;
            const auto tight = conversion::portable::ToCharsFixed(
                small.data(), small.data() + expected.size() - 1, value, decimals);
            EXPECT_EQ(std::errc::value_too_large, tight.ec) << expected;
        }
    }
}

TEST(PortableFloatingText, WritesShortestAsToChars) {
    for (const double value : SampleValues()) {
        std::array<char, 64> buffer;
        const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
        std::string written;
        conversion::portable::AppendShortest(written, value);
        EXPECT_EQ(std::string(buffer.data(), end), written);
    }
}

void ExpectReadsAsFromChars(const std::string& text, std::chars_format format) {
    double expected = -1.0;
    double read = -1.0;
    const char* first = text.data();
    const char* last = first + text.size();
    const auto want = std::from_chars(first, last, expected, format);
    const auto got = format == std::chars_format::hex
                         ? conversion::portable::FromCharsHex(first, last, read)
                         : conversion::portable::FromCharsDecimal(first, last, read);
    EXPECT_EQ(want.ec, got.ec) << text;
    EXPECT_EQ(want.ptr - first, got.ptr - first) << text;
    if (want.ec == std::errc()) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(expected), std::bit_cast<std::uint64_t>(read))
            << text;
    }
}

TEST(PortableFloatingText, ReadsDecimalsAsFromChars) {
    // What the core hands over: digits, a point and an exponent, with something after them.
    std::vector<std::string> texts = {"0",
                                      "-0",
                                      "12.5 ",
                                      "00012.5000",
                                      ".5",
                                      "5.",
                                      "1e5",
                                      "1E+05x",
                                      "1e-5",
                                      "1e",
                                      "1e+",
                                      "-",
                                      "",
                                      ".",
                                      "1e400",
                                      "-1e400",
                                      "1e-400",
                                      "0e999",
                                      "2.4703282292062327e-324",
                                      "2.4703282292062328e-324",
                                      "4.9e-324",
                                      "1.7976931348623158e308",
                                      "1.7976931348623159e308"};
    texts.push_back("0." + std::string(800, '0') + "1");
    texts.push_back("1" + std::string(400, '0'));
    texts.push_back("9.000000000000000055511151231257827021181583404541015625");
    std::mt19937_64 random(21);
    for (const double value : SampleValues()) {
        std::array<char, 400> buffer;
        const auto shortest = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
        texts.emplace_back(buffer.data(), shortest.ptr);
        const auto fixed = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::fixed, static_cast<int>(random() % 25));
        texts.emplace_back(buffer.data(), fixed.ptr);
    }
    for (const std::string& text : texts) {
        // Infinities and NaNs are never handed over: the core reads only digits.
        if (text.find_first_of("ain") != std::string::npos) continue;
        ExpectReadsAsFromChars(text, std::chars_format::general);
    }
}

TEST(PortableFloatingText, ReadsHexDigitsAsFromChars) {
    std::vector<std::string> texts = {"",
                                      "g",
                                      "0",
                                      "000",
                                      "1F",
                                      "ff ",
                                      "0010",
                                      "fffffffffffff8",
                                      "1fffffffffffff",
                                      "3fffffffffffff",
                                      std::string(300, 'f'),
                                      std::string(256, 'f')};
    // Half way between two doubles in the first sixteen digits: only the last digit decides.
    texts.push_back("20000000000001000001");
    std::mt19937_64 random(16);
    const char digits[] = "0123456789abcdefABCDEF";
    for (int i = 0; i < 20000; ++i) {
        std::string text(random() % 5, '0');
        for (std::size_t n = random() % 40; n > 0; --n) text += digits[random() % 22];
        text += ' ';
        texts.push_back(text);
    }
    for (const std::string& text : texts) ExpectReadsAsFromChars(text, std::chars_format::hex);
}

}  // namespace
