#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "CsvConverter.h"

namespace {

struct Output {
    std::string rows;  // the first 23 columns, which these cases are about
    std::string full;  // every column
    std::vector<std::string> messages;
    bool failed = false;
};

// Each row's first columns: the columns from u_B on are judged elsewhere.
std::string FirstColumns(std::string_view rows, int columns = 23) {
    std::string kept;
    bool quoted = false;
    int column = 0;
    for (const char c : rows) {
        if (c == '"') quoted = !quoted;
        if (!quoted && c == ',') ++column;
        if (!quoted && c == '\n') {
            column = 0;
            kept += c;
        } else if (column < columns) {
            kept += c;
        }
    }
    return kept;
}

// Converts one source, given in pieces of `piece` bytes, with the texts in English.
Output Convert(std::string_view bytes, InputEncoding encoding = InputEncoding::Utf8,
               std::size_t piece = 1 << 16, std::size_t lineLimit = CsvConverter::kLineLimit,
               SourceForm form = SourceForm::Automatic) {
    Output output;
    CsvConverter converter(
        CsvConverter::Options{encoding, form, {}}, EnglishTexts(),
        [&output](std::string_view text) {
            output.rows += text;
            return true;
        },
        [&output](std::string_view message) { output.messages.emplace_back(message); }, lineLimit);
    converter.BeginSource("in, \"1\".txt");
    for (std::size_t at = 0; at < bytes.size(); at += piece)
        converter.Feed(bytes.substr(at, piece));
    converter.EndSource();
    converter.Finish();
    EXPECT_FALSE(converter.OutputFailed());
    output.failed = converter.InputFailed();
    output.full = std::exchange(output.rows, FirstColumns(output.rows));
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
            c.row.empty()
                ? ""
                : std::string(kSource) + "1," + std::string(c.row) + std::string(kNoStar) + "\n";
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
    const std::string expected = std::string(kSource) +
                                 "1,10.5,10,10.389,9.959,9.743,0.500,0,0,9.946,0.465,9.716,9.492" +
                                 std::string(kNoStar) + "\n" + std::string(kSource) +
                                 "3,10.5,10,10.389,9.959,9.743,0.500,0,0,9.946,0.465,9.716,9.492" +
                                 std::string(kNoStar) + "\n";
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

// Real header and record lines of each form, as VizieR, SIMBAD and the catalogue files write them.
constexpr std::string_view kTycho2Record =
    "0001 00008 1| |  2.31750494|  2.23184345|  -16.3|   -9.0| 68| 73| 1.7| 1.8|1958.89|1951.94| "
    "4|1.0|1.0|0.9|1.0|12.146|0.158|12.146|0.223|999| |         |  2.31754222|  2.23186444|1.67|"
    "1.54| 88.0|100.8| |-0.2";
constexpr std::string_view kHipparcosRecord =
    "H|           1| |00 00 00.22|+01 05 20.4| 9.10| |H|000.00091185|+01.08901332| |   3.54|   "
    "-5.20|   -1.88|  1.32|  0.74|  1.39|  1.36|  0.81| 0.32|-0.07|-0.11|-0.24| 0.09|-0.01| 0.10|"
    "-0.01| 0.01| 0.34|  0| 0.74|     1| 9.643|0.020| 9.130|0.019| | 0.482|0.025|T|0.55|0.03|L| | "
    "9.2043|0.0020|0.017| 87| | 9.17| 9.24|       | | | |          |  |  1| | | |  |   |       |   "
    "  |     |    |S| | |224700|B+00 5077 |          |          |0.66|F5          |S ";
constexpr std::string_view kSupplementRecord =
    "0002 01234 1|T|  3.43012345| -4.12345678|   12.3|   -4.5| 30.1| 28.2|  3.1|  2.9| |10.873|"
    "0.061|10.226|0.048|999|T|       ";
// Where mflag is H the VT field holds Hp: no Tycho magnitudes.
constexpr std::string_view kSupplementHpRecord =
    "0003 00042 1|H| 12.00000000|+15.50000000|       |       |     |     |     |     |H|      |  "
    "   | 7.123|0.002|999| |  1234 ";

TEST(CsvConverterTest, FormsGiveOneRowPerStar) {
    const std::string tycho2 = std::string(kTycho2Record);
    // The B to henden_I columns of the Tycho-2 record's star and of HIP 1.
    const std::string tycho2Shown = "12.164,12.154,12.149,0.000,0,1,12.147,-0.005,12.132,12.107";
    const std::string hip1Shown = "9.529,9.087,8.867,0.513,0,0,9.075,0.476,8.839,8.610";
    const struct {
        std::string_view name;
        std::string bytes;
        std::string rows;  // after the source's name
        std::string summary;
        SourceForm form = SourceForm::Automatic;
    } cases[] = {
        {"VizieR TSV, units and dashes, a blank cell",
         "#\n#   VizieR Astronomical Server\n#Column\t_RAJ2000\t(F12.8)\n\n"
         "_RAJ2000\t_DEJ2000\tTYC1\tTYC2\tTYC3\tTYC\tBTmag\te_BTmag\tVTmag\te_VTmag\tHIP\n"
         "deg\tdeg\t\t\t\t\tmag\tmag\tmag\tmag\t\n"
         "------------\t------------\t----\t-----\t-\t-\t------\t-----\t------\t-----\t------\n"
         "000.02402278\t+01.08802111\t   1\t  704\t1\tT\t 9.986\t0.025\t 9.491\t0.018\t\n"
         "000.1\t+01.2\t   1\t  705\t1\t\t      \t     \t 9.491\t0.018\t  12\n\n",
         "8,9.986,9.491,9.876,9.450,9.237,0.495,0,0,9.437,0.461,9.209,8.988,TYC 1-704-1,"
         "000.02402278,+01.08802111,0.025,0.018,0.019,0.020,0.030,0.026\n"
         "9,,9.491,,,,,,,,,,,TYC 1-705-1,000.1,+01.2,,0.018,,,,\n",
         "2 stars, 1 lacking BT or VT"},
        {"semicolons, a units line that is a comment, sexagesimal positions",
         "HIP;RAJ2000;DEJ2000;BTmag;VTmag;e_BTmag;e_VTmag\r\n#;\"h:m:s\";\"d:m:s\";mag;mag;mag;"
         "mag\r\n"
         "----;----;----;---;---;---;---\r\n     1;00 00 00.22;+01 05 20.4; 9.643; "
         "9.130;0.020;0.019\r\n",
         "4,9.643,9.13," + hip1Shown +
             ",HIP 1,00 00 00.22,+01 05 20.4,0.02,0.019,0.016,0.021,0.031,"
             "0.023\n",
         "1 star, 0 lacking BT or VT"},
        {"CSV with quotes, a quoted line break, and a magnitude of 0",
         "# from a list\nMAIN_ID,ra,dec,BT,VT\n\"HD 1, "
         "A\",1.5,-2.5,0,0.5\n\"two\nlines\",3,4,8.5,8\n",
         "3,0,0.5,0.147,0.557,0.763,-0.500,1,0,,,0.756,0.930,\"HD 1, A\",1.5,-2.5,,,,,,\n"
         "4,8.5,8,8.389,7.959,7.743,0.500,0,0,7.946,0.465,7.716,7.492,\"two\nlines\",3,4,,,,,,\n",
         "2 stars, 0 lacking BT or VT"},
        {"bars", "Star|RAdeg|DEdeg|BTmag|VTmag\nalpha|1|2|5.5|5.0\n",
         "2,5.5,5,5.389,4.959,4.743,0.500,0,0,4.946,0.465,4.716,4.492,alpha,1,2,,,,,,\n",
         "1 star, 0 lacking BT or VT"},
        {"tyc2.dat with CR LF, and a record without its mean position",
         tycho2 + "\r\n" + tycho2.substr(0, 15) + std::string(25, ' ') + tycho2.substr(40) + "\r\n",
         "1,12.146,12.146," + tycho2Shown +
             ",TYC 1-8-1,2.31750494,2.23184345,0.158,0.223,0.131,0.246,0.349,0.230\n"
             "2,12.146,12.146," +
             tycho2Shown + ",TYC 1-8-1,2.31754222,2.23186444,0.158,0.223,0.131,0.246,0.349,0.230\n",
         "2 stars, 0 lacking BT or VT"},
        {"the supplement, with an Hp star",
         std::string(kSupplementRecord) + "\n" + std::string(kSupplementHpRecord) + "\n",
         "1,10.873,10.226,10.724,10.170,9.893,0.647,0,0,10.158,0.588,9.862,9.580,TYC 2-1234-1,"
         "3.43012345,-4.12345678,0.061,0.048,0.047,0.053,0.080,0.065\n"
         "2,,,,,,,,,,,,,TYC 3-42-1,12.00000000,+15.50000000,,,,,,\n",
         "2 stars, 1 lacking BT or VT"},
        {"hip_main.dat", std::string(kHipparcosRecord) + "\n",
         "1,9.643,9.13," + hip1Shown +
             ",HIP 1,000.00091185,+01.08901332,0.02,0.019,0.016,0.021,0.031,0.023\n",
         "1 star, 0 lacking BT or VT"},
        {"a table named by the user, whose first line would read as tagged text",
         "BT=1 VT=1\tBT\tVT\n\t10.5\t10\n",
         "2,10.5,10,10.389,9.959,9.743,0.500,0,0,9.946,0.465,9.716,9.492,,,,,,,,,\n",
         "1 star, 0 lacking BT or VT", SourceForm::Table},
    };
    for (const auto& c : cases) {
        for (const std::size_t piece : {std::size_t(1), std::size_t(1) << 16}) {
            const Output output =
                Convert(c.bytes, InputEncoding::Utf8, piece, CsvConverter::kLineLimit, c.form);
            std::string expected;
            for (std::size_t at = 0; at < c.rows.size();) {
                // Each row begins with the source; a quoted line break is inside a row.
                const std::size_t end = c.rows.find("\n", c.rows.find_first_of("0123456789", at));
                std::size_t rowEnd = end;
                while (std::count(c.rows.begin() + static_cast<std::ptrdiff_t>(at),
                                  c.rows.begin() + static_cast<std::ptrdiff_t>(rowEnd), '"') %
                       2) {
                    rowEnd = c.rows.find("\n", rowEnd + 1);
                }
                expected += std::string(kSource) + c.rows.substr(at, rowEnd + 1 - at);
                at = rowEnd + 1;
            }
            EXPECT_EQ(expected, output.rows) << c.name << ", pieces of " << piece;
            EXPECT_EQ(std::vector<std::string>{"in, \"1\".txt: " + c.summary}, output.messages)
                << c.name;
            EXPECT_FALSE(output.failed) << c.name;
        }
    }
}

TEST(CsvConverterTest, CellsThatAreNoNumbersAreNamedAndFail) {
    const struct {
        std::string_view name;
        std::string bytes;
        std::string rows;
        std::vector<std::string> messages;
    } cases[] = {
        {"a magnitude, an error and an identifier in a table; the other stars are converted",
         "TYC1\tTYC2\tTYC3\tBTmag\tVTmag\te_BTmag\te_VTmag\n1\t2\t3\t9,5\t9\t0.1\t0.1\n"
         "1\t2\tx\t9.5\t9\t0.1\t0.1\n1\t2\t3\t9.5\t9\tinf\t0.1\n1\t2\t4\t9.5\t9\t0.1\t0.1\n",
         "2,,9,,,,,,,,,,,TYC 1-2-3,,,0.1,0.1,,,,\n"
         "3,9.5,9,,,,,,,,,,,,,,0.1,0.1,,,,\n"
         "4,9.5,9,,,,,,,,,,,TYC 1-2-3,,,,0.1,,,,\n"
         "5,9.5,9,9.389,8.959,8.743,0.500,0,0,8.946,0.465,8.716,8.492,TYC 1-2-4,,,0.1,0.1,0.079,"
         "0.110,0.161,0.119\n",
         {"in, \"1\".txt:2: BTmag is not a number: '9,5'",
          "in, \"1\".txt:3: TYC3 is not a number: 'x'",
          "in, \"1\".txt:4: e_BTmag is not a number: 'inf'",
          "in, \"1\".txt: 4 stars, 0 lacking BT or VT"}},
        {"a record's magnitude",
         std::string(kTycho2Record).replace(110, 6, "12.1x6") + "\n",
         "1,,12.146,,,,,,,,,,,TYC 1-8-1,2.31750494,2.23184345,0.158,0.223,,,,\n",
         {"in, \"1\".txt:1: BTmag is not a number: '12.1x6'",
          "in, \"1\".txt: 1 star, 0 lacking BT or VT"}},
    };
    for (const auto& c : cases) {
        const Output output = Convert(c.bytes);
        std::string expected;
        for (std::size_t at = 0; at < c.rows.size(); at = c.rows.find('\n', at) + 1) {
            expected += std::string(kSource) + c.rows.substr(at, c.rows.find('\n', at) + 1 - at);
        }
        EXPECT_EQ(expected, output.rows) << c.name;
        EXPECT_EQ(c.messages, output.messages) << c.name;
        EXPECT_TRUE(output.failed) << c.name;
    }
}

// A catalogue file split at line ends, its parts converted by converters of their own, gives the
// rows, messages and summary of the whole.
TEST(CsvConverterTest, PartsOfACatalogueGiveTheRowsOfTheWhole) {
    const std::string tycho2(kTycho2Record);
    const std::string sources[] = {
        // A comment and a blank line, CR LF, a cell that is no number, a record beyond ASCII, a
        // record whose line starts as a byte order mark would, and a last line without its LF.
        "# Tycho-2\n" + tycho2 + "\n\n" + tycho2 + "\r\n" +
            std::string(kTycho2Record).replace(110, 6, "12.1x6") + "\n" +
            std::string(kTycho2Record).replace(150, 1, "\xC3\xA9") + "\n" + tycho2 + "\n" +
            "\xEF\xBB\xBF" + tycho2.substr(3) + "\n" + tycho2,
        std::string(kHipparcosRecord) + "\n" + std::string(kHipparcosRecord) + "\n",
    };
    for (const std::string& source : sources) {
        const Output whole = Convert(source);
        ASSERT_FALSE(whole.rows.empty());
        // Every split once the form is known, and parts of one line or of all the rest.
        std::vector<std::size_t> ends;  // of each line, after its LF
        for (std::size_t at = source.find('\n'); at != std::string::npos;
             at = source.find('\n', at + 1)) {
            ends.push_back(at + 1);
        }
        std::size_t splits = 0;
        for (std::size_t splitLine = 0; splitLine < ends.size(); ++splitLine) {
            for (const std::size_t partLines : {std::size_t(1), ends.size()}) {
                Output split;
                const auto write = [&split](std::string_view text) {
                    split.rows += text;
                    return true;
                };
                const auto report = [&split](std::string_view message) {
                    split.messages.emplace_back(message);
                };
                CsvConverter converter({}, EnglishTexts(), write, report);
                converter.BeginSource("in, \"1\".txt");
                converter.Feed(std::string_view(source).substr(0, ends[splitLine]));
                const std::optional<CsvConverter::Split> at = converter.SplitHere();
                if (!at) continue;
                ++splits;
                std::uint64_t lines = at->lines;
                for (std::size_t begin = ends[splitLine], line = splitLine + 1;
                     begin < source.size(); line += partLines) {
                    const std::size_t last = line + partLines - 1;
                    const std::size_t end = last < ends.size() ? ends[last] : source.size();
                    const std::string_view part =
                        std::string_view(source).substr(begin, end - begin);
                    CsvConverter partConverter({}, EnglishTexts(), write, report);
                    partConverter.BeginPart("in, \"1\".txt", at->form, lines);
                    partConverter.Feed(part);
                    converter.AddPart(partConverter.EndPart());
                    lines += static_cast<std::uint64_t>(std::count(part.begin(), part.end(), '\n'));
                    begin = end;
                }
                converter.EndSource();
                split.failed = converter.InputFailed();
                EXPECT_EQ(whole.full, split.rows) << splitLine << ", " << partLines;
                EXPECT_EQ(whole.messages, split.messages) << splitLine << ", " << partLines;
                EXPECT_EQ(whole.failed, split.failed) << splitLine << ", " << partLines;
            }
        }
        // Only before the first record is the form still unknown.
        EXPECT_LE(2 * (ends.size() - 2), splits);
    }
}

TEST(CsvConverterTest, SourcesWithNothingToConvertSaySo) {
    const Output output = Convert("name,B,V\nx,1,2\n");
    EXPECT_EQ("", output.rows);
    EXPECT_EQ(std::vector<std::string>{"in, \"1\".txt: no BT= and VT= tags, and no table with "
                                       "BTmag and VTmag columns"},
              output.messages);
    EXPECT_FALSE(output.failed);
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

// Records of ASCII alone are taken many at a time, in batches of a bounded size: across all the
// batches of a large catalogue, with comments and CR LF among the records, the rows are those of
// the same lines taken one piece at a time, each shorter than a record.
TEST(CsvConverterTest, LargeCataloguesGiveTheRowsOfTheirLines) {
    std::string source;
    for (int i = 0; i < 12000; ++i) {
        std::string record(kTycho2Record);
        const std::string thousandths = std::to_string(1000 + i % 1000);
        record.replace(110, 6, std::to_string(10 + i / 1000 % 10) + "." + thousandths.substr(1));
        source += record;
        source += i % 7 == 0 ? "\r\n" : "\n";
        if (i % 1000 == 0) source += "# more records\n";
    }
    // Pieces of 64 KiB would fill a batch only as a piece begins.
    const Output whole = Convert(source, InputEncoding::Utf8, 99999);
    ASSERT_EQ(Convert(source, InputEncoding::Utf8, 100).rows, whole.rows);
    EXPECT_EQ(12000, std::count(whole.rows.begin(), whole.rows.end(), '\n'));
}

// Cells read as from_chars reads them, and their own digits stand for to_chars' shortest form
// wherever they are used for it.
TEST(CsvConverterTest, CellsAreWrittenAsToCharsWritesTheirValues) {
    std::mt19937 random(20261209);
    std::vector<std::string> cells = {"0",
                                      "-0.000",
                                      "00.0100",
                                      "999.9999",
                                      "1000",
                                      "0.01",
                                      "0.0099",
                                      "10",
                                      "-9.87",
                                      "+1.5",
                                      "1e3",
                                      "12.",
                                      ".5",
                                      "0.1",
                                      "0.30000000000000004",
                                      "7.000000000000001"};
    // Signs, leading zeros, whole numbers and up to eleven decimals, trailing zeros among them.
    for (int i = 0; i < 20000; ++i) {
        std::string cell;
        if (random() % 4 == 0) cell.push_back('-');
        if (random() % 5 == 0) cell.push_back('0');
        cell.append(std::to_string(random() % 1000 * (random() % 3 == 0 ? 0 : 1)));
        if (random() % 8 != 0) {
            cell.push_back('.');
            const std::string digits = std::to_string(random());
            cell.append(digits, 0, random() % 12);
        }
        cells.push_back(cell);
    }
    for (const std::string& cell : cells) {
        const std::u16string text(cell.begin(), cell.end());
        // Every cell here is a number; from_chars takes no '+'.
        const std::string_view digits = std::string_view(cell).substr(cell.front() == '+' ? 1 : 0);
        double expected = 0.0;
        std::from_chars(digits.data(), digits.data() + digits.size(), expected);
        ShortestText shortest;
        const std::optional<double> value = ReadCellNumber(text, shortest);
        ASSERT_TRUE(value) << cell;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(expected), std::bit_cast<std::uint64_t>(*value))
            << cell;
        std::array<char, 32> buffer;
        const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), *value).ptr;
        if (shortest.size != 0) {
            ASSERT_EQ(std::string(buffer.data(), end), shortest.View()) << cell;
        }
        // Records of ASCII alone are read as the bytes they are, to the same value and text.
        ShortestText shortestOfBytes;
        const std::optional<double> valueOfBytes = ReadCellNumber(cell, shortestOfBytes);
        ASSERT_TRUE(valueOfBytes) << cell;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(*value), std::bit_cast<std::uint64_t>(*valueOfBytes))
            << cell;
        ASSERT_EQ(shortest.View(), shortestOfBytes.View()) << cell;
    }
}

// Cells of records are trimmed a word at a time where a word can be read: to the same cell as
// byte by byte, whatever blanks, tabs and other bytes lie in it and after it.
TEST(CsvConverterTest, CellsAreTrimmedAWordAtATimeAsByteByByte) {
    std::mt19937_64 random(207);
    // '!' and '\b' differ from the blank and the tab in the lowest bit alone.
    constexpr char kBytes[] = {' ', '\t', '!', '\b', '1', '.', '\x80', '\0'};
    const auto below = [&random](std::size_t count) {
        return static_cast<std::size_t>(random() % count);
    };
    for (int i = 0; i < 200000; ++i) {
        std::string record(1 + below(20), ' ');
        for (char& c : record) c = kBytes[below(std::size(kBytes))];
        const std::size_t begin = below(record.size());
        const std::size_t size = below(record.size() - begin + 1);
        const std::string_view cell = std::string_view(record).substr(begin, size);
        const std::string_view trimmed = TrimmedWithin(cell, record.size() - begin);
        ASSERT_EQ(Trimmed(cell), trimmed) << record << " " << begin << " " << size;
        ASSERT_EQ(Trimmed(cell).data(), trimmed.data());
    }
}

}  // namespace
