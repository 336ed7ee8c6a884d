// Comparison stars: positions typed and read from cells, separations and position angles, the
// flags that make doubles and variables, the total uncertainties, and the rows --near keeps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "CsvConverter.h"
#include "RelationScatter.h"
#include "SkyPosition.h"
#include "StarFlags.h"

// The cases name only the options and flags they set.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

TEST(TypedPositionTest, FormsAndFaults) {
    const struct {
        std::string_view text;
        std::optional<SkyPosition> position;
        PositionFault fault = PositionFault::None;
    } cases[] = {
        {"83.8221 -5.3911", SkyPosition{83.8221, -5.3911}},
        {"83.8221,-5.3911", SkyPosition{83.8221, -5.3911}},
        {" 8 +20 ", SkyPosition{8, 20}},
        {"05 35 17.3 -05 23 28", SkyPosition{83.82208333333333, -5.391111111111111}},
        {"05:35:17.3 -05:23:28", SkyPosition{83.82208333333333, -5.391111111111111}},
        {"5h35m17.3s -5d23m28s", SkyPosition{83.82208333333333, -5.391111111111111}},
        {"05 35 17.3, -05 23 28", SkyPosition{83.82208333333333, -5.391111111111111}},
        // The sign of a declination below one degree is its own.
        {"00 00 00 -00 30 00", SkyPosition{0, -0.5}},
        {"23:59:59.9 +90:00:00", SkyPosition{359.99958333333333, 90}},
        {"24 00 00 +10 00 00", std::nullopt, PositionFault::RightAscensionRange},
        {"360 10", std::nullopt, PositionFault::RightAscensionRange},
        {"10 -90.5", std::nullopt, PositionFault::DeclinationRange},
        {"00 00 00 +90 00 01", std::nullopt, PositionFault::DeclinationRange},
        {"05 60 00 +10 00 00", std::nullopt, PositionFault::Sixty},
        {"05 35 17.3 -05 23 60", std::nullopt, PositionFault::Sixty},
        {"05 35 -05 23", std::nullopt, PositionFault::NotAPosition},
        {"83.8 -05:23:28", std::nullopt, PositionFault::NotAPosition},
        {"5h35m17.3 -5d23m28s", std::nullopt, PositionFault::NotAPosition},
        {"05.5 35 17 -05 23 28", std::nullopt, PositionFault::NotAPosition},
        {"-5 10", std::nullopt, PositionFault::NotAPosition},
        {"1,2,3", std::nullopt, PositionFault::NotAPosition},
        {"1e1 2", std::nullopt, PositionFault::NotAPosition},
        {"", std::nullopt, PositionFault::NotAPosition},
    };
    for (const auto& c : cases) {
        PositionFault fault = PositionFault::None;
        const std::optional<SkyPosition> read = ReadTypedPosition(c.text, fault);
        EXPECT_EQ(c.fault, fault) << c.text;
        ASSERT_EQ(c.position.has_value(), read.has_value()) << c.text;
        if (!read) continue;
        EXPECT_NEAR(c.position->ra, read->ra, 1e-12) << c.text;
        EXPECT_NEAR(c.position->dec, read->dec, 1e-12) << c.text;
    }
}

TEST(CellPositionTest, DegreesAndSexagesimal) {
    const struct {
        std::u16string_view ra, dec;
        std::optional<double> raDegrees, decDegrees;
    } cases[] = {
        {u"083.82208333", u"-05.39111111", 83.82208333, -5.39111111},
        {u"05 35 17.30", u"-05 23 28.0", 83.82208333333333, -5.391111111111111},
        {u"05:35:17.3", u"-05:23:28", 83.82208333333333, -5.391111111111111},
        {u"05 35.5", u"+05 30.0", 83.875, 5.5},
        {u" 360.0 ", u"-90", 0.0, -90.0},
        {u"24 00 00", u"+90 00 01", std::nullopt, std::nullopt},
        {u"-1", u"91", std::nullopt, std::nullopt},
        {u"05h35m", u"x", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<double> ra = ReadCellRightAscension(c.ra);
        const std::optional<double> dec = ReadCellDeclination(c.dec);
        ASSERT_EQ(c.raDegrees.has_value(), ra.has_value());
        ASSERT_EQ(c.decDegrees.has_value(), dec.has_value());
        if (ra) {
            EXPECT_NEAR(*c.raDegrees, *ra, 1e-12);
        }
        if (dec) {
            EXPECT_NEAR(*c.decDegrees, *dec, 1e-12);
        }
    }
}

TEST(SeparationTest, NearZeroNear180AcrossRaZeroAndThePoles) {
    const struct {
        SkyPosition from, to;
        double separation, angle;  // no angle where none is meant: from a pole, to the antipode
    } cases[] = {
        {{10, 20}, {10, 20}, 0, 0},
        // One milliarcsecond north: the cosine rule would give 0 here.
        {{10, 20}, {10, 20 + 1 / 3.6e6}, 1 / 3.6e6, 0},
        {{0, 0}, {180, 0}, 180, 0},
        {{0, 10}, {180, -10}, 180, NAN},
        {{0, 0}, {179.9999, 0}, 179.9999, 90},
        {{359.9, 0}, {0.1, 0}, 0.2, 90},
        {{0.1, 0}, {359.9, 0}, 0.2, 270},
        {{0, 89.9}, {180, 89.9}, 0.2, 0},
        {{45, 90}, {200, 89}, 1, NAN},
        {{30, -89.9}, {210, -89.9}, 0.2, 180},
        {{83.8221, -5.3911}, {83.8221, -4.3911}, 1, 0},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(c.separation, SeparationDegrees(c.from, c.to), 1e-12)
            << c.from.ra << " " << c.from.dec << " to " << c.to.ra << " " << c.to.dec;
        if (std::isnan(c.angle)) continue;
        EXPECT_NEAR(c.angle, PositionAngleDegrees(c.from, c.to), 1e-6)
            << c.from.ra << " " << c.from.dec << " to " << c.to.ra << " " << c.to.dec;
    }
    EXPECT_EQ(u"05 35 17.3 \u221205 23 28", PositionText({83.82208333333333, -5.391111111111111}));
    // Rounding that would make 60 seconds carries instead.
    EXPECT_EQ(u"00 00 00.0 +01 00 00", PositionText({359.9999999, 0.99999}));
}

TEST(StarFlagsTest, EachRule) {
    const struct {
        FlagCells<char> cells;
        bool companion, variable;
    } cases[] = {
        {{}, false, false},
        {{.prox = "999"}, false, false},
        {{.prox = "100"}, false, false},
        {{.prox = "99"}, true, false},
        {{.prox = "3"}, true, false},
        {{.posflg = "D"}, true, false},
        {{.posflg = "P"}, true, false},
        {{.posflg = "O"}, false, false},
        {{.pflag = "P"}, true, false},
        {{.pflag = "X"}, false, false},
        {{.ccdm = "A"}, true, false},
        {{.proxy = "H"}, true, false},
        {{.proxy = "T"}, true, false},
        {{.multFlag = "C"}, true, false},
        {{.varFlag = "1"}, false, false},
        {{.varFlag = "2"}, false, true},
        {{.varFlag = "3"}, false, true},
        {{.hvarType = "D"}, true, false},
        {{.hvarType = "M"}, false, true},
        {{.hvarType = "P"}, false, true},
        {{.hvarType = "U"}, false, true},
        {{.hvarType = "C"}, false, false},
        {{.ccdm = "B", .varFlag = "3"}, true, true},
    };
    for (const auto& c : cases) {
        const StarFlags flags = FlagsOf(c.cells);
        EXPECT_EQ(c.companion, flags.companion)
            << c.cells.prox << c.cells.posflg << c.cells.pflag << c.cells.ccdm << c.cells.proxy
            << c.cells.multFlag << c.cells.hvarType;
        EXPECT_EQ(c.variable, flags.variable) << c.cells.varFlag << c.cells.hvarType;
    }
    // UTF-16 cells as well, and no letter beyond ASCII that ends in the same byte.
    EXPECT_TRUE(FlagsOf(FlagCells<char16_t>{.posflg = u"D"}).companion);
    EXPECT_FALSE(FlagsOf(FlagCells<char16_t>{.posflg = u"\u0144"}).companion);
}

TEST(UncertaintyTest, ErrorsAndScatterInQuadrature) {
    for (const double colour : {-0.5, 0.1, 0.45, 0.8, 1.2, 1.6, 3.0}) {
        for (const bool flagged : {false, true}) {
            for (const auto& [errorBT, errorVT] :
                 {std::pair{0.0, 0.0}, std::pair{0.01, 0.012}, std::pair{0.2, 0.15}}) {
                const ShownValues shown = ValuesFor({9.0 + colour, 9.0});
                const conversion::MagnitudeErrors e = conversion::PropagateErrors(errorBT, errorVT);
                const Uncertainties u = TotalUncertainties(e, shown, flagged);
                const RelationScatter s = ScatterFor(colour, flagged);
                EXPECT_DOUBLE_EQ(std::hypot(e.V, s.V), u.V);
                EXPECT_DOUBLE_EQ(std::hypot(e.B, s.B), u.B);
                EXPECT_DOUBLE_EQ(std::hypot(e.BMinusV, s.BMinusV), u.BMinusV);
                const double approximation = shown.line.R - shown.henden.R;
                EXPECT_NEAR(std::sqrt(e.R * e.R + s.V * s.V + s.BMinusV * s.BMinusV / 4 +
                                      approximation * approximation),
                            u.R, 1e-15);
                // Never below the errors they include, as shown either.
                for (const auto& [total, error] :
                     {std::pair{u.B, e.B}, std::pair{u.V, e.V}, std::pair{u.R, e.R},
                      std::pair{u.BMinusV, e.BMinusV}}) {
                    EXPECT_GE(total, error);
                    EXPECT_GE(ShownUnits(total), ShownUnits(error));
                }
            }
        }
    }
    // Doubles and variables are less certain than stars of which nothing is said.
    for (const double colour : {0.1, 0.45, 0.8, 1.2, 1.6}) {
        EXPECT_GT(ScatterFor(colour, true).V, ScatterFor(colour, false).V) << colour;
    }
    // The bands' edges belong to the band above.
    EXPECT_EQ(PlainScatterBands()[1].scatter.V, ScatterFor(0.3, false).V);
}

struct Converted {
    std::string rows;
    std::vector<std::string> messages;
    bool failed = false;
};

// Converts the sources in turn with the options given as a user writes them.
Converted Convert(const std::vector<std::pair<std::string, std::string>>& sources,
                  const SelectionWords& words, std::size_t piece = 1 << 16) {
    CsvConverter::Options options;
    const std::optional<std::u16string> wrong =
        ReadSelection(words, EnglishTexts(), options.selection);
    EXPECT_FALSE(wrong.has_value());
    Converted run;
    CsvConverter converter(
        options, EnglishTexts(),
        [&run](std::string_view text) {
            run.rows += text;
            return true;
        },
        [&run](std::string_view message) { run.messages.emplace_back(message); });
    converter.WriteHeader();
    for (const auto& [name, bytes] : sources) {
        converter.BeginSource(name);
        for (std::size_t at = 0; at < bytes.size(); at += piece) {
            converter.Feed(std::string_view(bytes).substr(at, piece));
        }
        converter.EndSource();
    }
    converter.Finish();
    run.failed = converter.InputFailed();
    return run;
}

// A row's columns from the first to the last named, counted from 0.
std::string Columns(std::string_view row, int first, int last) {
    std::string columns;
    int column = 0;
    for (const char c : row) {
        if (c == ',') ++column;
        if (column >= first && column <= last && !(c == ',' && column == first)) columns += c;
    }
    return columns;
}

std::vector<std::string> Rows(std::string_view text) {
    std::vector<std::string> rows;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        rows.emplace_back(text.substr(at, end - at));
        at = end + 1;
    }
    return rows;
}

constexpr std::string_view kHeader =
    "source,line,BT,VT,B,V,R,BT_VT,extrapolated,faint,bessell_V,bessell_B_V,henden_R,henden_I,"
    "id,ra,dec,e_BT,e_VT,e_B,e_V,e_R,e_B_V,u_B,u_V,u_R,u_B_V,sep,pa,usable,why,known_variable";

// What the summary of a field says where no list of variables was given.
constexpr std::string_view kUnchecked = "; variability not checked against any list of variables";

// Stars around 05 35 17.3 -05 23 28: two on the centre, where the target is, one 10 s of time
// east, ties 10' north and south, one without a position, and one outside; with the flags of a
// VizieR table.
constexpr std::string_view kField =
    "_RAJ2000\t_DEJ2000\tTYC1\tTYC2\tTYC3\tBTmag\te_BTmag\tVTmag\te_VTmag\tprox\tCCDM\tVarFlag\n"
    "05 35 27.30\t-05 23 28.0\t1\t2\t1\t9.0\t0.02\t8.5\t0.015\t999\t\t\n"
    "05 35 17.30\t-05 13 28.0\t1\t3\t1\t9.0\t0.02\t8.5\t0.015\t999\tA\t\n"
    "05 35 17.30\t-05 33 28.0\t1\t4\t1\t12.0\t0.2\t11.5\t0.15\t999\t\t\n"
    "\t\t1\t5\t1\t9.0\t0.02\t8.5\t0.015\t999\t\t\n"
    "05 35 17.30\t-05 23 28.0\t1\t1\t1\t9.0\t0.02\t8.5\t0.015\t50\t\t2\n"
    "07 35 17.30\t-05 33 28.0\t1\t6\t1\t9.0\t0.02\t8.5\t0.015\t999\t\t\n"
    "05 35 17.30\t-05 23 28.0\t1\t7\t1\t8.5\t\t8.0\t\t999\t\t\n";

TEST(NearTest, NearestFirstWithTiesInSourceOrder) {
    SelectionWords words;
    words.position = "05 35 17.3 -05 23 28";
    words.radius = "30arcmin";
    // Two sources: the ties across them keep the order in which they were read.
    const Converted run =
        Convert({{"a.tsv", std::string(kField)}, {"b.tsv", std::string(kField)}}, words, 7);
    const std::vector<std::string> rows = Rows(run.rows);
    ASSERT_EQ(11u, rows.size());
    EXPECT_EQ(kHeader, rows[0]);
    const std::string_view expected[] = {
        // line, and from u_B to why
        "a.tsv,6|0.058,0.052,0.067,0.056,0.000,0.0,0,target uncertain double variable",
        "a.tsv,8|,,,,0.000,0.0,0,target",
        "b.tsv,6|0.058,0.052,0.067,0.056,0.000,0.0,0,target uncertain double variable",
        "b.tsv,8|,,,,0.000,0.0,0,target",
        "a.tsv,2|0.053,0.022,0.049,0.060,2.489,90.0,1,",
        "b.tsv,2|0.053,0.022,0.049,0.060,2.489,90.0,1,",
        "a.tsv,3|0.058,0.052,0.067,0.056,10.000,0.0,0,uncertain double",
        "a.tsv,4|0.162,0.167,0.254,0.218,10.000,180.0,0,faint uncertain",
        "b.tsv,3|0.058,0.052,0.067,0.056,10.000,0.0,0,uncertain double",
        "b.tsv,4|0.162,0.167,0.254,0.218,10.000,180.0,0,faint uncertain",
    };
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(expected[i], Columns(rows[i + 1], 0, 1) + "|" + Columns(rows[i + 1], 23, 30))
            << i;
    }
    // Enough rows that a sort which is not stable would reorder ties.
    std::vector<std::pair<std::string, std::string>> many;
    for (char source = 'a'; source <= 'h'; ++source) {
        many.emplace_back(std::string(1, source), std::string(kField));
    }
    std::vector<std::tuple<double, std::string, int>> order;  // sep, source, line
    for (const std::string& row : Rows(Convert(many, words).rows)) {
        if (row == kHeader) continue;
        order.emplace_back(std::stod(Columns(row, 27, 27)), Columns(row, 0, 0),
                           std::stoi(Columns(row, 1, 1)));
    }
    ASSERT_EQ(40u, order.size());
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
    EXPECT_EQ((std::vector<std::string>{
                  "a.tsv: 7 stars, 0 lacking BT or VT", "b.tsv: 7 stars, 0 lacking BT or VT",
                  "10 stars within 30′ of 05 35 17.3 −05 23 28, 2 usable, of 14 read" +
                      std::string(kUnchecked)}),
              run.messages);
    EXPECT_FALSE(run.failed);
}

TEST(NearTest, RangesUsableAndSourcesWithoutPositions) {
    const struct {
        std::string_view name;
        SelectionWords words;
        std::vector<std::string> lines;  // of a.tsv, nearest first
        std::string summary;
    } cases[] = {
        {"V from 8 to 8.5: only the stars with V shown in the range",
         {.position = "83.8220833 -5.3911111", .V = "8:8.5"},
         {"6", "2", "3"},
         "3 stars within 1° of 05 35 17.3 −05 23 28 and in the V and B − V ranges, 1 usable, of "
         "7 read"},
        {"B − V up to 0.43, which holds the 0.430 shown, an end left out",
         {.position = "5h35m17.3s -5d23m28s", .BMinusV = ":0.43"},
         {"6", "8", "2", "3", "4"},
         "5 stars within 1° of 05 35 17.3 −05 23 28 and in the V and B − V ranges, 1 usable, of "
         "7 read"},
        {"usable only",
         {.position = "05:35:17.3 -05:23:28", .usable = true},
         {"2"},
         "5 stars within 1° of 05 35 17.3 −05 23 28, 1 usable, of 7 read"},
        {"a larger bound for the V uncertainty",
         {.position = "05:35:17.3 -05:23:28", .largestError = "0.2", .usable = true},
         {"2"},
         "5 stars within 1° of 05 35 17.3 −05 23 28, 1 usable, of 7 read"},
        {"a radius that holds the stars 10' north and south",
         {.position = "05:35:17.3 -05:23:28", .radius = "0.2deg"},
         {"6", "8", "2", "3", "4"},
         "5 stars within 0.2° of 05 35 17.3 −05 23 28, 1 usable, of 7 read"},
        {"a radius that holds only the centre",
         {.position = "05:35:17.3 -05:23:28", .radius = "90arcsec"},
         {"6", "8"},
         "2 stars within 90″ of 05 35 17.3 −05 23 28, 0 usable, of 7 read"},
    };
    for (const auto& c : cases) {
        const Converted run = Convert({{"a.tsv", std::string(kField)}}, c.words);
        std::vector<std::string> lines;
        for (const std::string& row : Rows(run.rows)) {
            if (row != kHeader) lines.push_back(Columns(row, 1, 1));
        }
        EXPECT_EQ(c.lines, lines) << c.name;
        ASSERT_EQ(2u, run.messages.size()) << c.name;
        EXPECT_EQ(c.summary + std::string(kUnchecked), run.messages[1]) << c.name;
    }
    // Tagged text has no positions: no rows, and a word for it, but no failure.
    SelectionWords words;
    words.position = "10 20";
    const Converted tagged = Convert({{"t.txt", "BT=10.5 VT=10\n"}}, words);
    EXPECT_EQ(std::string(kHeader) + "\n", tagged.rows);
    EXPECT_EQ((std::vector<std::string>{
                  "t.txt: no star has a position, so none can lie near 00 40 00.0 +20 00 00",
                  "0 stars within 1° of 00 40 00.0 +20 00 00, 0 usable, of 1 read" +
                      std::string(kUnchecked)}),
              tagged.messages);
    EXPECT_FALSE(tagged.failed);
    // A position that cannot be read is named, and that star left out.
    const Converted unreadable = Convert(
        {{"u.tsv", "RAJ2000\tDEJ2000\tBTmag\tVTmag\n05 35 17.3\t-05 61 00\t9\t8.5\n"}}, words);
    EXPECT_EQ(std::string(kHeader) + "\n", unreadable.rows);
    EXPECT_EQ("u.tsv:2: DEJ2000 is not a position: '-05 61 00'", unreadable.messages.front());
    EXPECT_TRUE(unreadable.failed);
}

// Catalogue records far north or south of the field are only counted: the counts and the rows
// are those that reading every record whole gives.
TEST(NearTest, RecordsFarOutsideAreCounted) {
    const std::string record =
        "0001 00008 1| |  2.31750494|  2.23184345|  -16.3|   -9.0| 68| 73| 1.7| 1.8|1958.89|"
        "1951.94| 4|1.0|1.0|0.9|1.0|12.146|0.158|12.146|0.223|999| |         |  2.31754222|  "
        "2.23186444|1.67|1.54| 88.0|100.8| |-0.2";
    const auto at = [&record](std::string_view dec, bool withBT) {
        std::string moved = record;
        moved.replace(28, 12, dec);
        if (!withBT) moved.replace(110, 12, "      |     ");
        return moved + "\n";
    };
    const std::string source = at("-45.00000000", true) + at("-45.00000000", false) +
                               at("  2.23184345", true) + at(" -0.50000000", false) +
                               at("+89.50000000", true) + at("  5.10000000", true) +
                               at(" -0.70000000", true);
    SelectionWords words;
    words.position = "00 09 16 +02 13 55";
    words.radius = "3";
    const Converted run = Convert({{"t.dat", source}}, words);
    std::vector<std::string> lines;
    for (const std::string& row : Rows(run.rows)) {
        if (row != kHeader) lines.push_back(Columns(row, 1, 1));
    }
    // The last two lie just inside the field, within its edges' whole degrees.
    EXPECT_EQ((std::vector<std::string>{"3", "4", "6", "7"}), lines);
    EXPECT_EQ(
        (std::vector<std::string>{"t.dat: 7 stars, 2 lacking BT or VT",
                                  "4 stars within 3° of 00 09 16.0 +02 13 55, 0 usable, of 7 read" +
                                      std::string(kUnchecked)}),
        run.messages);
}

TEST(NearTest, WithoutNearEveryRowIsJudged) {
    const Converted run = Convert({{"a.tsv", std::string(kField)}}, {});
    const std::vector<std::string> rows = Rows(run.rows);
    ASSERT_EQ(8u, rows.size());
    const std::string_view judged[] = {
        ",,1,", ",,0,uncertain double",          ",,0,faint uncertain",
        ",,1,", ",,0,uncertain double variable", ",,1,",
        ",,1,"};
    for (std::size_t i = 0; i < std::size(judged); ++i) {
        EXPECT_EQ(judged[i], Columns(rows[i + 1], 27, 30)) << i;
    }
    // Tagged text: the line's own doubts alone.
    EXPECT_EQ(",,,,,,0,extrapolated",
              Columns(Rows(Convert({{"t", "BT=12 VT=9\n"}}, {}).rows)[1], 23, 30));
    EXPECT_EQ(",,,,,,0,no-bt-vt",
              Columns(Rows(Convert({{"a", "BT\tVT\n\t9\n"}}, {}).rows)[1], 23, 30));
}

TEST(SelectionTest, UsageErrorsNameTheOption) {
    const struct {
        SelectionWords words;
        std::u16string_view error;
    } cases[] = {
        {{.radius = "1"}, u"--radius needs --near"},
        {{.V = "1:2"}, u"--v needs --near"},
        {{.BMinusV = ":1"}, u"--b-v needs --near"},
        {{.usable = true}, u"--usable needs --near"},
        {{.position = "1 2", .radius = "0"},
         u"--radius: '0' is not a radius: give degrees greater "
         u"than 0 and at most 180, or arcmin or arcsec (30arcmin, "
         u"90arcsec)"},
        {{.position = "1 2", .radius = "180.5"}, u""},
        {{.position = "1 2", .radius = "10parsec"}, u""},
        {{.position = "1 2", .V = "9"},
         u"--v: '9' is not a range MIN:MAX (either may be left out, as "
         u"in :9)"},
        {{.position = "1 2", .V = "9:8"}, u"--v: '9:8': MIN is greater than MAX"},
        {{.position = "1 2", .BMinusV = "0.5:-0.2"}, u"--b-v: '0.5:-0.2': MIN is greater than MAX"},
        {{.largestError = "0"}, u"--max-error: '0' is not a magnitude greater than 0"},
        {{.position = "05 35 17.3 -05 23 28 1"}, u""},
    };
    for (const auto& c : cases) {
        Selection selection;
        const std::optional<std::u16string> error =
            ReadSelection(c.words, EnglishTexts(), selection);
        ASSERT_TRUE(error.has_value());
        if (!c.error.empty()) {
            EXPECT_EQ(c.error, *error);
        }
    }
    Selection selection;
    EXPECT_FALSE(
        ReadSelection({.position = "1 2", .radius = "180", .V = "-1.5:", .largestError = "0.1"},
                      EnglishTexts(), selection));
    EXPECT_EQ(180, selection.field->radius);
    EXPECT_EQ(-1.5, selection.V.low);
    EXPECT_FALSE(selection.V.high);
    EXPECT_EQ(0.1, selection.largestError);
}

}  // namespace
