#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "CsvConverter.h"

namespace {

struct Output {
    std::string rows;
    std::vector<std::string> messages;
    bool failed = false;
};

// Converts one source, given in pieces of `piece` bytes, with the texts in English.
Output Convert(std::string_view bytes, InputEncoding encoding = InputEncoding::Utf8,
               std::size_t piece = 1 << 16, std::size_t lineLimit = CsvConverter::kLineLimit,
               SourceForm form = SourceForm::Automatic) {
    Output output;
    CsvConverter converter(
        CsvConverter::Options{encoding, form}, EnglishTexts(),
        [&output](std::string_view text) {
            output.rows += text;
            return true;
        },
        [&output](std::string_view message) { output.messages.emplace_back(message); }, lineLimit);
    converter.BeginSource("in, \"1\".txt");
    for (std::size_t at = 0; at < bytes.size(); at += piece)
        converter.Feed(bytes.substr(at, piece));
    converter.EndSource();
    EXPECT_FALSE(converter.OutputFailed());
    output.failed = converter.InputFailed();
    return output;
}

constexpr std::string_view kSource = "\"in, \"\"1\"\".txt\",";
// Tagged text has no identifier, position or errors.
constexpr std::string_view kNoStar = ",,,,,,,,,";

TEST(CsvConverterTest, RowsForLinesThatGiveMagnitudes) {
    const struct {
        std::string_view line;
        std::string_view row;  // after the source and the line number; empty for no row
    } cases[] = {
        {"BT=10.500 VT=10.000", "10.5,10,10.389,9.959,9.743,0.500,0,0,9.946,0.465,9.716,9.492"},
        {"BT=12.000 VT=9.000\r", "12,9,11.244,8.712,7.445,3.000,1,0,,,7.365,6.148"},
        {"VT=11 BT=11.5", "11.5,11,11.389,10.959,10.743,0.500,0,1,10.946,0.465,10.716,10.492"},
        // The six-unit field: an ideographic space is one unit and a blank, and exponents count.
        {"BT=\xE3\x80\x80"
         "12.3456 VT=1e1",
         "12.34,10,11.754,9.777,8.788,2.340,1,0,,,8.721,7.767"},
        {"BT=1E22 VT=1E22",
         "1e+22,1e+22,10000000000000000000000.000,10000000000000000000000.000,"
         "10000000000000000000000.000,0.000,0,1,10000000000000000000000.000,-0.005,"
         "10000000000000000000000.000,10000000000000000000000.000"},
        // A no-break space is no blank: it stops the number.
        {"BT=\xC2\xA0"
         "9.5 VT=9",
         ""},
        // The last of several tags decides, even one whose field reads as nothing; so does a
        // tag that ends the line.
        {"BT=9.5 VT=9 BT=x", ""},
        {"BT=9.5 VT=9 BT=8.5", "8.5,9,8.647,9.057,9.263,-0.500,1,0,,,9.256,9.430"},
        {"BT=9.5 VT=", ""},
        {"BT=1E999 VT=9", ""},
    };
    for (const auto& c : cases) {
        const std::string expected =
            c.row.empty() ? ""
                          : std::string(kSource) + "1," + std::string(c.row) +
                                std::string(kNoStar) + "\n";
        EXPECT_EQ(expected, Convert(c.line).rows) << c.line;
    }
}

// The three lines below in UTF-16 with its byte order mark, a lone low surrogate on the second.
std::string Utf16Bytes(bool bigEndian) {
    const std::u16string text =
        u"\uFEFF東 VT=10 BT=10.5\r\n" + std::u16string(1, char16_t(0xDC00)) + u"\nVT=10 ｶ BT=10.5";
    std::string bytes;
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

// The same three lines, "東 BT=10.5", a line of bytes that are not valid, and "VT=10 ｶ BT=10.5"
// (with a half-width katakana), in each encoding.
TEST(CsvConverterTest, EncodingsGiveTheSameRows) {
    const std::string expected =
        std::string(kSource) + "1,10.5,10,10.389,9.959,9.743,0.500,0,0,9.946,0.465,9.716,9.492" +
        std::string(kNoStar) + "\n" + std::string(kSource) +
        "3,10.5,10,10.389,9.959,9.743,0.500,0,0,9.946,0.465,9.716,9.492" + std::string(kNoStar) +
        "\n";
    const struct {
        std::string_view name;
        std::string bytes;
        InputEncoding encoding;
    } cases[] = {
        {"UTF-8", "\xE6\x9D\xB1 VT=10 BT=10.5\n\xC0\xAF VT=1 BT=1\r\nVT=10 \xEF\xBD\xB6 BT=10.5",
         InputEncoding::Utf8},
        {"UTF-8 with BOM",
         "\xEF\xBB\xBF\xE6\x9D\xB1 VT=10 BT=10.5\r\n\xED\xA0\x80 VT=1 BT=1\n"
         "VT=10 \xEF\xBD\xB6 BT=10.5\n",
         InputEncoding::Utf8},
        {"Shift_JIS", "\x93\x8C VT=10 BT=10.5\r\n\x81\x7F VT=1 BT=1\nVT=10 \xB6 BT=10.5\r\n",
         InputEncoding::ShiftJis},
        {"UTF-16 LE", Utf16Bytes(false), InputEncoding::Utf8},
        {"UTF-16 BE", Utf16Bytes(true), InputEncoding::Utf8},
    };
    for (const auto& c : cases) {
        // Piece by piece, a character or a byte order mark may be cut anywhere.
        for (const std::size_t piece : {std::size_t(1), std::size_t(3), std::size_t(1) << 16}) {
            const Output output = Convert(c.bytes, c.encoding, piece);
            EXPECT_EQ(expected, output.rows) << c.name << ", pieces of " << piece;
            ASSERT_EQ(1u, output.messages.size()) << c.name;
            EXPECT_EQ(
                "in, \"1\".txt:2: bytes that are not valid in the input's encoding; line skipped",
                output.messages[0]);
        }
    }
}

// A line too long to hold is kept shortened to what decides it: it must give the row that the
// whole line gives, wherever its tags stand.
TEST(CsvConverterTest, LongLinesGiveTheRowsOfTheWholeLine) {
    std::mt19937 random(20261208);
    // Tags with values among loose characters that may make or break others.
    constexpr std::string_view kLoose = "BTV=.5 x\r-";
    const std::string_view pieces[] = {"BT=", "VT=", "9.876", "1", " 10.5"};
    // Shortened at its 36th unit, the "=", this line must not gain a "BT=" where the field
    // that ends in "B" meets the "T=".
    std::string text = "VT=8 BT=9.5xxB" + std::string(20, 'y') + "T=7.0\n";
    for (int line = 0; line < 2000; ++line) {
        const std::size_t length = 10 + random() % 200;
        for (std::size_t i = 0; i < length; ++i) {
            const std::size_t pick = random() % (kLoose.size() + std::size(pieces));
            if (pick < kLoose.size()) {
                text += kLoose[pick];
            } else {
                text += pieces[pick - kLoose.size()];
            }
        }
        text += '\n';
    }
    const Output whole = Convert(text);
    EXPECT_LT(100, std::count(whole.rows.begin(), whole.rows.end(), '\n'))
        << "too few rows to tell";
    for (const std::size_t piece : {std::size_t(7), std::size_t(1000)}) {
        EXPECT_EQ(whole.rows, Convert(text, InputEncoding::Utf8, piece, 0).rows) << piece;
    }
}

}  // namespace
