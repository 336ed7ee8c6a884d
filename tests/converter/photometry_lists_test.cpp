// The lists photometry programs read and the stars like the target: positions as they write them,
// the target first, exactly the usable stars, and --like on both sides of the target.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "FinderChart.h"
#include "MemoryStreams.h"
#include "PhotometryLists.h"

namespace {

TEST(ListPositionTest, SexagesimalWithoutSixty) {
    const struct {
        double ra, dec;
        std::string_view hours, degrees;
    } cases[] = {
        {83.82208333333333, -5.391111111111111, "05:35:17.300", "-05:23:28.00"},
        // Rounding that would make 60 carries, across 24h to 0h.
        {359.99999999, 89.999999999, "00:00:00.000", "+90:00:00.00"},
        {14.999999999, -0.0000000001, "01:00:00.000", "+00:00:00.00"},
        {0.0, -89.99999, "00:00:00.000", "-89:59:59.96"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.hours, HoursText(c.ra)) << c.ra;
        EXPECT_EQ(c.degrees, DegreesText(c.dec)) << c.dec;
    }
}

// Around 05 35 17.3 -05 23 28: the target (V 8.459, B − V 0.430), a usable star 0.490 fainter
// and 0.084 redder, one 0.500 brighter, a faint one, and a double.
constexpr std::string_view kField =
    "RAJ2000\tDEJ2000\tTYC1\tTYC2\tTYC3\tBTmag\te_BTmag\tVTmag\te_VTmag\tCCDM\n"
    "083.82208333\t-05.39111111\t1\t1\t1\t9.0\t0.02\t8.5\t0.015\t\n"
    "083.90000000\t-05.39111111\t1\t2\t1\t9.6\t0.02\t9.0\t0.015\t\n"
    "083.82208333\t-05.50000000\t1\t3\t1\t8.5\t0.02\t8.0\t0.015\t\n"
    "083.70000000\t-05.39111111\t1\t4\t1\t12.0\t0.2\t11.5\t0.15\t\n"
    "083.82208333\t-05.30000000\t1\t5\t1\t9.0\t0.02\t8.5\t0.015\tA\n";

Command Around(std::string_view position, const SelectionWords& more = {}) {
    SelectionWords words = more;
    words.position = std::string(position);
    return Convert({{"f.tsv", std::string(kField)}}, {"f.tsv"}, words);
}

TEST(PhotometryListTest, TargetFirstThenExactlyTheUsableStars) {
    SelectionWords aij;
    aij.to = "aij";
    const Command list = Around("05 35 17.3 -05 23 28", aij);
    EXPECT_EQ(0, list.status) << list.errors;
    const std::string_view header = "#RA, Dec, Ref Star, Centroid, Magnitude\n";
    const std::size_t body = list.output.find(header);
    ASSERT_NE(std::string::npos, body);
    EXPECT_EQ(
        "05:35:17.300, -05:23:28.00, 0, 1, 8.459\n"
        "05:35:36.000, -05:23:28.00, 1, 1, 8.949\n"
        "05:35:17.300, -05:30:00.00, 1, 1, 7.959\n",
        list.output.substr(body + header.size()));

    SelectionWords siril;
    siril.to = "siril";
    const Command comparison = Around("05 35 17.3 -05 23 28", siril);
    const std::size_t rows = comparison.output.find("type,name,ra,dec,mag\n");
    ASSERT_NE(std::string::npos, rows);
    EXPECT_EQ(2, std::count(comparison.output.begin(),
                            comparison.output.begin() + static_cast<std::ptrdiff_t>(rows), '#'));
    EXPECT_EQ(
        "type,name,ra,dec,mag\n"
        "Target,TYC 1-1-1,83.822083,-5.391111,8.459\n"
        "Comp1,TYC 1-2-1,83.900000,-5.391111,8.949\n"
        "Comp1,TYC 1-3-1,83.822083,-5.500000,7.959\n",
        comparison.output.substr(rows));

    // No star at the position: the position itself, without a magnitude.
    const Command empty = Around("05 36 00 -05 23 28", aij);
    EXPECT_NE(std::string::npos,
              empty.output.find("05:36:00.000, -05:23:28.00, 0, 1, 99.999\n05:35:36.000"));
}

TEST(LikeTest, WithinOnBothSidesOfTheTarget) {
    const struct {
        std::string like;
        std::string lines;  // of f.tsv, nearest first
    } cases[] = {
        // 0.490 fainter and 0.084 redder, the same, 0.500 brighter, and 3.000 fainter.
        {"0.5:0.2", "2 3 6 4"}, {"0.5:0.05", "2 6 4"}, {"0.45:0.2", "2 6"},
        {"3.5:1", "2 3 6 4 5"}, {"0:0", "2 6"},
    };
    for (const auto& c : cases) {
        SelectionWords words;
        words.like = c.like;
        const Command run = Around("05 35 17.3 -05 23 28", words);
        std::string lines;
        for (std::size_t at = run.output.find('\n') + 1; at < run.output.size();) {
            const std::size_t comma = run.output.find(',', at);
            const std::size_t next = run.output.find(',', comma + 1);
            if (!lines.empty()) lines += ' ';
            lines.append(run.output, comma + 1, next - comma - 1);
            at = run.output.find('\n', at) + 1;
        }
        EXPECT_EQ(c.lines, lines) << c.like;
        EXPECT_EQ(0, run.status) << c.like;
    }
    // Without a star at the position there is nothing to be like: a usage error, and no table.
    SelectionWords words;
    words.like = "1:1";
    const Command none = Around("05 36 00 -05 23 28", words);
    EXPECT_EQ(2, none.status);
    EXPECT_EQ("", none.output);
    EXPECT_NE(std::string::npos, none.errors.find("--like: no star lies at 05 36 00.0"));
}

}  // namespace

namespace {

// Barnard's star, the fastest, as Tycho-2's record gives it at J2000, moved to 2026.9 and back
// to 1950; astropy's apply_space_motion puts it at these places. Without --epoch it stays.
TEST(EpochTest, TheFastestStarWhereAstropyPutsIt) {
    const std::string record =
        "0425 02502 1| |269.45207389|  4.69327996| -798.8|10277.3| 24| 25| 1.6| 1.5|1988.86|"
        "1988.22| 5|0.8|1.2|0.8|1.2|11.683|0.085| 9.776|0.028|999| | 87937   |269.45390833|  "
        "4.66964333|1.76|1.72| 23.6| 25.8| | 0.1\n";
    const struct {
        const char* epoch;
        std::string_view position;
    } cases[] = {
        {"2026.9", "269.44608468,4.77006980"},
        {"1950", "269.46320297,4.55054525"},
        {nullptr, "269.45207389,4.69327996"},
    };
    for (const auto& c : cases) {
        SelectionWords words;
        if (c.epoch) words.epoch = c.epoch;
        const Command run = Convert({{"t.dat", record}}, {"t.dat"}, words);
        const std::size_t row = run.output.find('\n') + 1;
        EXPECT_NE(std::string::npos, run.output.find(c.position, row)) << run.output;
        // Around the place it moved to, it is the target.
        words.position = std::string(c.position);
        words.radius = "1arcsec";
        EXPECT_NE(std::string::npos,
                  Convert({{"t.dat", record}}, {"t.dat"}, words).output.find(",0,target"));
    }
}

}  // namespace

namespace {

// The dot and label of a star in a chart, by the start of its title.
struct Drawn {
    double x = 0, y = 0, r = 0;
    std::string label;
};
Drawn DrawnStar(const std::string& svg, const std::string& title) {
    const std::size_t at = svg.find("<g><title>" + title);
    EXPECT_NE(std::string::npos, at) << title;
    if (at == std::string::npos) return {};
    const std::string group = svg.substr(at, svg.find("</g>", at) - at);
    const auto number = [&group](const std::string& name) {
        const std::size_t from = group.find(name + "=\"") + name.size() + 2;
        return std::stod(group.substr(from, group.find('"', from) - from));
    };
    Drawn drawn{number("cx"), number("cy"), number("r"), {}};
    const std::size_t text = group.rfind("\">");
    if (group.find("<text") != std::string::npos) {
        drawn.label = group.substr(text + 2, group.find("</text>", text) - text - 2);
    }
    return drawn;
}

TEST(FinderChartTest, NorthUpEastLeftBrightDotsLargerLabelsWithoutThePoint) {
    SelectionWords words;
    words.position = "05 35 17.3 -05 23 28";
    words.chart = "chart.svg";
    MemoryStreams streams;
    streams.files = {{"f.tsv", std::string(kField)}};
    CsvConverter::Options options;
    ASSERT_FALSE(ReadSelection(words, EnglishTexts(), options.selection));
    options.chartFile = "chart.svg";
    EXPECT_EQ(0, RunConvert({"f.tsv"}, options, EnglishTexts(), streams));
    const std::string svg = streams.written["chart.svg"];
    ASSERT_FALSE(svg.empty());
    const Drawn target = DrawnStar(svg, "TYC 1-1-1 V 8.459 B−V 0.430");
    const Drawn east = DrawnStar(svg, "TYC 1-2-1");  // RA 83.9: east of the target
    const Drawn west = DrawnStar(svg, "TYC 1-4-1");  // RA 83.7
    const Drawn south = DrawnStar(svg, "TYC 1-3-1");
    const Drawn north = DrawnStar(svg, "TYC 1-5-1");
    EXPECT_LT(east.x, target.x);
    EXPECT_GT(west.x, target.x);
    EXPECT_GT(south.y, target.y);
    EXPECT_LT(north.y, target.y);
    // V 7.959 is brighter than 8.949, which is brighter than the faint 11.459.
    EXPECT_GT(south.r, east.r);
    EXPECT_GT(east.r, west.r);
    // Usable stars are labelled V × 10 rounded half up; the target and the double are not.
    EXPECT_EQ("89", east.label);
    EXPECT_EQ("80", south.label);
    EXPECT_EQ("", target.label);
    EXPECT_EQ("", north.label);
    EXPECT_EQ(std::string::npos, svg.find("8.9</text>"));
    EXPECT_EQ("95", ChartLabel(9470));
    EXPECT_EQ("95", ChartLabel(9450));
    EXPECT_EQ("94", ChartLabel(9449));
    EXPECT_EQ("-5", ChartLabel(-460));
    // The same chart, byte for byte, however often it is drawn.
    MemoryStreams again;
    again.files = streams.files;
    RunConvert({"f.tsv"}, options, EnglishTexts(), again);
    EXPECT_EQ(svg, again.written["chart.svg"]);
}

}  // namespace
