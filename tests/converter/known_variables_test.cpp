// Known variables and the target: matching by position, lists in each form and wherever they
// stand among the sources, their bad cells, and the star at the position of --near.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "KnownVariables.h"
#include "MemoryStreams.h"

namespace {

TEST(KnownVariablesTest, WithinTenArcsecAcrossZeroHoursAndAtThePoles) {
    constexpr double kArcsec = 1.0 / 3600.0;
    const struct {
        const char* name;
        SkyPosition listed, star;
        bool matched;
    } cases[] = {
        {"9″ north", {83.8, -5.4}, {83.8, -5.4 + 9 * kArcsec}, true},
        {"11″ north", {83.8, -5.4}, {83.8, -5.4 + 11 * kArcsec}, false},
        {"9″ east at +60°, 18″ of RA", {200, 60}, {200 + 18 * kArcsec, 60}, true},
        {"11″ east at +60°, 22″ of RA", {200, 60}, {200 + 22 * kArcsec, 60}, false},
        {"9″ across 0h", {360 - 4.5 * kArcsec, 0}, {4.5 * kArcsec, 0}, true},
        {"across 0h the other way", {4 * kArcsec, 1}, {360 - 5 * kArcsec, 1}, true},
        {"11″ across 0h", {360 - 5.5 * kArcsec, 0}, {5.5 * kArcsec, 0}, false},
        {"across a zone's edge", {10, 1.0 / 60 - 2 * kArcsec}, {10, 1.0 / 60 + 2 * kArcsec}, true},
        {"the north pole, RA opposite", {10, 90 - 4 * kArcsec}, {190, 90 - 4 * kArcsec}, true},
        {"the north pole, 12″ across it", {10, 90 - 6 * kArcsec}, {190, 90 - 6 * kArcsec}, false},
        {"on the south pole", {0, -90}, {123, -90 + 9 * kArcsec}, true},
        {"near the south pole, RA 90° apart",
         {0, -90 + 5 * kArcsec},
         {90, -90 + 5 * kArcsec},
         true},
        {"9″ at Dec +89.99°", {100, 89.99}, {100, 89.99 - 9 * kArcsec}, true},
    };
    for (const auto& c : cases) {
        KnownVariables variables;
        variables.Add({200, -30}, "far away");
        variables.Add(c.listed, "listed EW");
        variables.Seal();
        const std::optional<std::string_view> match = variables.Match(c.star);
        EXPECT_EQ(c.matched, match.has_value()) << c.name;
        if (match) {
            EXPECT_EQ("listed EW", *match) << c.name;
        }
    }
    // The nearest of two, whichever was listed first; and none in an empty list.
    KnownVariables two;
    two.Add({10, 10 + 6 * kArcsec}, "farther");
    two.Add({10, 10 - 3 * kArcsec}, "nearer");
    two.Seal();
    EXPECT_EQ("nearer", two.Match({10, 10}).value_or(""));
    EXPECT_FALSE(KnownVariables().Match({10, 10}));
    // A label is kept to its limit, not cut inside a character.
    KnownVariables longLabel;
    std::string label(KnownVariables::kLongestLabel - 1, 'x');
    label += "\u00e9";
    longLabel.Add({1, 1}, label);
    longLabel.Seal();
    EXPECT_EQ(std::string(KnownVariables::kLongestLabel - 1, 'x'),
              longLabel.Match({1, 1}).value_or(""));
}

// The columns of the rows from usable on, a row a line.
std::string Judged(const std::string& table) {
    std::string judged;
    std::size_t at = table.find('\n') + 1;
    while (at < table.size()) {
        const std::size_t end = table.find('\n', at);
        std::string_view row(table.data() + at, end - at);
        for (int column = 0; column < 29; ++column) row.remove_prefix(row.find(',') + 1);
        judged += row;
        judged += '\n';
        at = end + 1;
    }
    return judged;
}

// Two stars 3″ apart in declination, the first at 05 35 17.3 -05 23 28, and one far away.
constexpr std::string_view kStars =
    "RAJ2000\tDEJ2000\tTYC1\tTYC2\tTYC3\tBTmag\te_BTmag\tVTmag\te_VTmag\n"
    "083.82208333\t-05.39111111\t1\t1\t1\t9.0\t0.02\t8.5\t0.015\n"
    "083.82208333\t-05.39194444\t1\t2\t1\t9.0\t0.02\t8.5\t0.015\n"
    "200.00000000\t+60.00000000\t1\t3\t1\t9.0\t0.02\t8.5\t0.015\n";
// The first star as two of its neighbours see it: both stars lie within the match.
constexpr std::string_view kJudged =
    "0,variable,del Cep DCEP\n"
    "0,variable,del Cep DCEP\n"
    "1,,\n";

// ASCII text as UTF-16, little-endian, with its byte order mark.
std::string Utf16(std::string_view ascii) {
    std::string bytes = "\xff\xfe";
    for (const char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

TEST(VariableListTest, EachFormAsVizierWritesIt) {
    const struct {
        const char* name;
        std::string list;
    } cases[] = {
        {"VSX in TSV, with VizieR's banner, units and dashes",
         "#\n#   VizieR Astronomical Server\n#Title: Variable Star indeX (VSX)\n"
         "_RAJ2000\t_DEJ2000\tOID\tName\tV\tType\tmax\tRAJ2000\tDEJ2000\n"
         "deg\tdeg\t\t\t\t\tmag\tdeg\tdeg\n"
         "---------\t---------\t-------\t---------\t-\t------\t------\t---------\t---------\n"
         "083.82208\t-05.39139\t1\tdel Cep\t0\tDCEP\t3.48\t083.82208\t-05.39139\n"},
        {"the GCVS, sexagesimal, with ';'",
         "GCVS;RAJ2000;DEJ2000;VarType;magMax\n;\"h:m:s\";\"d:m:s\";;mag\n"
         "del Cep;05 35 17.30;-05 23 29.0;DCEP;3.48\n"},
        {"with '|'", "VarName|RAJ2000|DEJ2000|VarType\ndel Cep|05:35:17.3|-05:23:29|DCEP\n"},
        {"CSV with quotes", "ra,dec,MAIN_ID,Type\n83.82208,-5.39139,\"del Cep\",DCEP\n"},
        {"CRLF line ends and a byte order mark",
         "\xef\xbb\xbfName\tType\tRAJ2000\tDEJ2000\r\ndel Cep\tDCEP\t83.82208\t-5.39139\r\n"},
        {"UTF-16 with its byte order mark",
         Utf16("Name\tType\tra\tdec\ndel Cep\tDCEP\t83.82208\t-5.39139\n")},
    };
    for (const auto& c : cases) {
        const Command run =
            Convert({{"stars.tsv", std::string(kStars)}, {"list", c.list}}, {"stars.tsv", "list"});
        EXPECT_EQ(0, run.status) << c.name << "\n" << run.errors;
        EXPECT_EQ(kJudged, Judged(run.output)) << c.name;
        EXPECT_EQ("list: a list of 1 known variable\nstars.tsv: 3 stars, 0 lacking BT or VT\n",
                  run.errors)
            << c.name;
    }
}

TEST(VariableListTest, WhereverItStandsAndHoweverItIsRead) {
    const std::string list = "Name\tType\tRAJ2000\tDEJ2000\ndel Cep\tDCEP\t83.82208\t-5.39139\n";
    const struct {
        const char* name;
        std::map<std::string, std::string> files;
        std::vector<std::string> sources;
        std::size_t piece;
    } cases[] = {
        {"before", {{"s", std::string(kStars)}, {"v", list}}, {"v", "s"}, 1 << 16},
        {"after", {{"s", std::string(kStars)}, {"v", list}}, {"s", "v"}, 1 << 16},
        {"in pieces of 5 bytes", {{"s", std::string(kStars)}, {"v", list}}, {"s", "v"}, 5},
        {"on standard input", {{"s", std::string(kStars)}, {"-", list}}, {"s", "-"}, 7},
        {"the stars on standard input", {{"-", std::string(kStars)}, {"v", list}}, {"-", "v"}, 7},
    };
    for (const auto& c : cases) {
        const Command run = Convert(c.files, c.sources, {}, c.piece);
        EXPECT_EQ(0, run.status) << c.name << "\n" << run.errors;
        EXPECT_EQ(kJudged, Judged(run.output)) << c.name;
    }
    // A list gives no rows, with or without --near.
    const Command alone = Convert({{"v", list}}, {"v"});
    EXPECT_EQ(1u, std::count(alone.output.begin(), alone.output.end(), '\n'));
    SelectionWords words;
    words.position = "05 35 17.3 -05 23 28";
    const Command near = Convert({{"v", list}, {"s", std::string(kStars)}}, {"s", "v"}, words);
    // The target is never usable, and what the lists found is counted.
    EXPECT_EQ("0,target variable,del Cep DCEP\n0,target variable,del Cep DCEP\n",
              Judged(near.output));
    EXPECT_NE(std::string::npos, near.errors.find(", 0 usable, 2 known variables, of 3 read\n"));
}

TEST(VariableListTest, BadCellsAreNamedAndTheRestStillMark) {
    const std::string header = "Name\tType\tRAJ2000\tDEJ2000\n";
    const std::string good = "del Cep\tDCEP\t83.82208\t-5.39139\n";
    const struct {
        const char* name;
        std::string list;
        int status;
        std::string errors;
        std::string judged;
    } cases[] = {
        {"a declination that is none", header + "R Lep\tM\t05 35 17\t-95 00 00\n" + good, 1,
         "v:2: DEJ2000 is not a position: '-95 00 00'\nv: a list of 2 known variables\n",
         std::string(kJudged)},
        {"a right ascension that is none", header + "R Lep\tM\t24 00 00\t-05\n" + good, 1,
         "v:2: RAJ2000 is not a position: '24 00 00'\nv: a list of 2 known variables\n",
         std::string(kJudged)},
        {"no valid position at all", header + "R Lep\tM\tx\ty\n", 1,
         "v:2: RAJ2000 is not a position: 'x'\nv:2: DEJ2000 is not a position: 'y'\n"
         "v: no variable in the list has a position\nv: a list of 1 known variable\n",
         "1,,\n1,,\n1,,\n"},
        {"VSX's constant stars mark nothing",
         "Name\tV\tType\tRAJ2000\tDEJ2000\ndel Cep\t2\tCST\t83.82208\t-5.39139\n", 1,
         "v: no variable in the list has a position\nv: a list of 0 known variables\n",
         "1,,\n1,,\n1,,\n"},
    };
    for (const auto& c : cases) {
        const Command run = Convert({{"v", c.list}, {"s", std::string(kStars)}}, {"v", "s"});
        EXPECT_EQ(c.status, run.status) << c.name;
        EXPECT_EQ(c.errors + "s: 3 stars, 0 lacking BT or VT\n", run.errors) << c.name;
        EXPECT_EQ(c.judged, Judged(run.output)) << c.name;
    }
}

TEST(TargetTest, TheStarAtThePositionWithinTenArcsec) {
    const struct {
        const char* position;
        std::string judged;
        std::string summary;
    } cases[] = {
        // 8″ north of the first star, 11″ of the second.
        {"05 35 17.3 -05 23 20", "0,target,\n1,,\n",
         "2 stars within 1° of 05 35 17.3 −05 23 20, 1 usable"},
        // 6″ south of the second, 9″ of the first: both are there.
        {"05 35 17.3 -05 23 37", "0,target,\n0,target,\n", ", 0 usable"},
        // 11″ north of the first: no star is there.
        {"05 35 17.3 -05 23 17", "1,,\n1,,\n", ", 2 usable"},
    };
    for (const auto& c : cases) {
        SelectionWords words;
        words.position = c.position;
        const Command run = Convert({{"s", std::string(kStars)}}, {"s"}, words);
        EXPECT_EQ(c.judged, Judged(run.output)) << c.position;
        EXPECT_NE(std::string::npos, run.errors.find(c.summary)) << c.position << run.errors;
    }
}

}  // namespace
