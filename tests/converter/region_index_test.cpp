// A field read by Tycho-2's index against the same field read record by record: a small
// catalogue of regions with its own index, fields at the poles, across 0h, on region edges and
// of 10°; an index or a file that does not fit; files read by seeking, as pipes and in gzip.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "MemoryStreams.h"
#include "RegionIndex.h"
#include "SkyGeometry.h"

namespace {

constexpr std::string_view kRecord =
    "0001 00008 1| |  2.31750494|  2.23184345|  -16.3|   -9.0| 68| 73| 1.7| 1.8|1958.89|1951.94| "
    "4|1.0|1.0|0.9|1.0|12.146|0.158|12.146|0.223|999| |         |  2.31754222|  2.23186444|1.67|"
    "1.54| 88.0|100.8| |-0.2";

std::string Fixed(double value) {
    char text[16];
    std::snprintf(text, sizeof text, "%12.8f", value);
    return text;
}

std::string Record(int region, int star, double ra, double dec) {
    std::string record(kRecord);
    char tyc[24];
    std::snprintf(tyc, sizeof tyc, "%04d %05d", region, star);
    record.replace(0, 10, tyc);
    record.replace(15, 12, Fixed(ra)).replace(28, 12, Fixed(dec));
    record.replace(152, 12, Fixed(ra)).replace(165, 12, Fixed(dec));
    return record + "\n";
}

// Regions of 30° of RA in bands of declination, 200 stars in each, some on its very edges; the
// records in region order, as tyc2.dat has them, and the index of them.
struct Catalogue {
    std::string records, index;
    std::size_t count = 0;
};

constexpr int kStarsPerRegion = 200;

Catalogue MakeCatalogue(int recordsAtLeast = 0) {
    Catalogue catalogue;
    const double bands[] = {-90, -60, -20, 0, 20, 60, 90};
    std::mt19937 random(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    int region = 0;
    char line[64];
    do {
        for (std::size_t band = 0; band + 1 < std::size(bands); ++band) {
            for (double ra = 0; ra < 360; ra += 30) {
                ++region;
                const SkyBox box{ra, ra + 30, bands[band], bands[band + 1]};
                std::snprintf(line, sizeof line, "%7zu|%6d|%6.2f|%6.2f|%6.2f|%6.2f\n",
                              catalogue.count + 1, 1, box.raMin, box.raMax, box.decMin, box.decMax);
                catalogue.index += line;
                for (int star = 1; star <= kStarsPerRegion; ++star) {
                    double starRa = box.raMin + 30 * unit(random);
                    double starDec = box.decMin + (box.decMax - box.decMin) * unit(random);
                    if (star == 1) starDec = box.decMin;  // its first star on an edge
                    if (star == kStarsPerRegion) starRa = box.raMax - 1e-8;  // and its last
                    catalogue.records += Record(region, star, starRa, starDec);
                    ++catalogue.count;
                }
            }
        }
    } while (static_cast<int>(catalogue.count) < recordsAtLeast);
    std::snprintf(line, sizeof line, "%7zu|%6d|%6.2f|%6.2f|%6.2f|%6.2f\n", catalogue.count + 1, 1,
                  0.0, 0.0, 0.0, 0.0);
    catalogue.index += line;
    return catalogue;
}

// gzip of stored blocks, as any reader must read them: no compressor is needed.
std::string Gzipped(const std::string& bytes) {
    std::string out("\x1f\x8b\x08\0\0\0\0\0\0\xff", 10);
    const auto little = [&out](std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
    };
    std::size_t at = 0;
    do {
        const std::size_t size = std::min<std::size_t>(bytes.size() - at, 65535);
        out += static_cast<char>(at + size == bytes.size() ? 1 : 0);
        little(static_cast<std::uint32_t>(size), 2);
        little(static_cast<std::uint32_t>(~size & 0xFFFF), 2);
        out.append(bytes, at, size);
        at += size;
    } while (at < bytes.size());
    little(static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(bytes.data()),
                                            static_cast<uInt>(bytes.size()))),
           4);
    little(static_cast<std::uint32_t>(bytes.size()), 4);
    return out;
}

constexpr std::string_view kUsed = "only their records are read";
constexpr std::string_view kUnused = "not used, and every record is read";

Command Near(const std::map<std::string, std::string>& files,
             const std::vector<std::string>& sources, const std::string& position,
             const std::string& radius, bool seekable = true) {
    MemoryStreams streams;
    streams.files = files;
    streams.seekable = seekable;
    SelectionWords words;
    words.position = position;
    words.radius = radius;
    CsvConverter::Options options;
    EXPECT_FALSE(ReadSelection(words, EnglishTexts(), options.selection));
    const int status = RunConvert(sources, options, EnglishTexts(), streams);
    return {status, streams.output, streams.errors};
}

TEST(RegionIndexTest, CapMeetsEveryBoxThatAPointOfItLiesIn) {
    // Points of random caps, the boxes they fall in: the cap must be found to meet each.
    std::mt19937 random(11);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    int met = 0;
    for (int i = 0; i < 20000; ++i) {
        const SkyPosition centre{360 * unit(random),
                                 std::asin(2 * unit(random) - 1) * 180 / std::numbers::pi};
        const double radius = 0.01 + 12 * unit(random) * unit(random);
        // A point at the rim, in any direction.
        const double angle = 2 * std::numbers::pi * unit(random),
                     r = radius * std::numbers::pi / 180;
        const double dec0 = centre.dec * std::numbers::pi / 180;
        const double dec = std::asin(std::sin(dec0) * std::cos(r) +
                                     std::cos(dec0) * std::sin(r) * std::cos(angle));
        const double ra = centre.ra * std::numbers::pi / 180 +
                          std::atan2(std::sin(angle) * std::sin(r) * std::cos(dec0),
                                     std::cos(r) - std::sin(dec0) * std::sin(dec));
        SkyPosition point{std::fmod(ra * 180 / std::numbers::pi + 720, 360),
                          dec * 180 / std::numbers::pi};
        // A small box around the point, across 0h as the index has it where it falls there.
        const double low = std::floor(point.ra / 2.5) * 2.5 - (point.ra < 2.5 ? 0.01 : 0.0);
        const SkyBox box{low, low + 2.5, std::floor(point.dec) - 0.001, std::floor(point.dec) + 1};
        EXPECT_TRUE(CapMeetsBox(centre, radius, box))
            << centre.ra << ' ' << centre.dec << " r " << radius << " point " << point.ra << ' '
            << point.dec;
        // And a box well away from the cap is not met, where the cap holds no pole.
        const SkyBox away{std::fmod(centre.ra + 180, 360), std::fmod(centre.ra + 180, 360) + 1,
                          centre.dec - 0.5, centre.dec + 0.5};
        if (std::fabs(centre.dec) + radius < 80 && !CapMeetsBox(centre, radius, away)) ++met;
    }
    EXPECT_GT(met, 10000);
    const struct {
        SkyPosition centre;
        double radius;
        SkyBox box;
        bool meets;
    } cases[] = {
        {{359.5, 0}, 1, {-0.01, 2.49, -1, 1}, true},  // across 0h
        {{0.5, 0}, 1, {357.5, 360, -1, 1}, true},     // the other way
        {{180, 0}, 1, {-0.01, 2.49, -1, 1}, false},
        {{10, 89.5}, 1, {200, 220, 88.0, 90}, true},   // over the pole to the other side
        {{10, 88.0}, 1, {200, 220, 88.0, 90}, false},  // short of it
        {{10, -89.5}, 1, {190, 200, -90, -88}, true},
        {{10, 0}, 1, {11.0, 12, -1, 1}, true},  // on the edge
        {{10, 0}, 1, {11.01, 12, -1, 1}, false},
        {{10, 60}, 1, {11.99, 13, 59, 61}, true},  // 2° of RA at +60°
        {{10, 60}, 1, {12.01, 13, 59, 61}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.meets, CapMeetsBox(c.centre, c.radius, c.box))
            << c.centre.ra << ' ' << c.centre.dec << " box " << c.box.raMin;
    }
}

TEST(RegionIndexTest, FieldsGiveTheRowsOfTheWholeCatalogue) {
    const Catalogue catalogue = MakeCatalogue();
    const std::map<std::string, std::string> withIndex = {{"cat/tyc2.dat", catalogue.records},
                                                          {"cat/index.dat", catalogue.index}};
    const std::map<std::string, std::string> without = {{"cat/tyc2.dat", catalogue.records}};
    const struct {
        const char *position, *radius;
    } fields[] = {
        {"0 90", "1"},      {"0 -90", "10"},   {"123 89.5", "1"}, {"200 -89.9", "2"},
        {"359.9 0.5", "1"}, {"0.05 -20", "3"}, {"30 20", "2.5"},  {"60 -60", "2"},
        {"15 0", "10"},     {"330 60", "10"},  {"180 40", "3"},   {"89.999 -20", "3"},
    };
    for (const auto& field : fields) {
        for (const bool seekable : {true, false}) {
            const Command scan = Near(without, {"cat/tyc2.dat"}, field.position, field.radius);
            const Command indexed =
                Near(withIndex, {"cat/tyc2.dat"}, field.position, field.radius, seekable);
            EXPECT_EQ(scan.status, indexed.status);
            EXPECT_EQ(scan.output, indexed.output) << field.position << " r " << field.radius;
            EXPECT_NE(std::string::npos, indexed.errors.find(kUsed)) << indexed.errors;
            EXPECT_GT(std::count(scan.output.begin(), scan.output.end(), '\n'), 1)
                << field.position;
        }
    }
    // In gzip, and with the index named among the sources.
    const Command scan = Near({{"tyc2.dat", catalogue.records}}, {"tyc2.dat"}, "45 30", "5");
    const Command gzip =
        Near({{"tyc2.dat", Gzipped(catalogue.records)}, {"index.dat.gz", Gzipped(catalogue.index)}},
             {"tyc2.dat", "index.dat.gz"}, "45 30", "5");
    EXPECT_EQ(scan.output, gzip.output);
    EXPECT_NE(std::string::npos, gzip.errors.find(kUsed)) << gzip.errors;
}

TEST(RegionIndexTest, AnIndexThatDoesNotFitIsNotUsed) {
    const Catalogue catalogue = MakeCatalogue();
    const std::string& index = catalogue.index;
    // The second region begins a record late: its first star is read as the first region's.
    std::string late = index;
    late.replace(late.find("\n") + 1, 7, "    202");
    std::string early = index;
    early.replace(early.find("\n") + 1, 7, "    200");
    std::string outside = catalogue.records;
    outside.replace(15, 12, Fixed(100.0)).replace(152, 12, Fixed(100.0));
    const struct {
        const char* name;
        std::string records, index;
        std::string_view said;
        const char* position = "10 -85";
    } cases[] = {
        {"one record late", catalogue.records, late, "line 201 is no star of region 1"},
        {"one record early", catalogue.records, early, "line 200 is no star of region 2"},
        // A field of the second region alone: only the record before it tells.
        {"late, one region read", catalogue.records, late, "line 201 is no star of region 1",
         "45 -75"},
        {"early, one region read", catalogue.records, early, "line 200 is no star of region 2",
         "15 -75"},
        {"cut short", catalogue.records, index.substr(0, index.size() - 86), "holds"},
        {"a line broken", catalogue.records, index.substr(0, 60) + "x" + index.substr(61),
         "line 2 is no line"},
        {"another catalogue's", catalogue.records + catalogue.records.substr(0, 207), index,
         "not the 14400 records"},
        {"a star outside its bounds", outside, index, "line 1 lies outside the bounds of region 1"},
    };
    // Read by seeking, and as pipes, whose size is known only once they end.
    for (const bool seekable : {true, false}) {
        for (const auto& c : cases) {
            const Command scan =
                Near({{"tyc2.dat", c.records}}, {"tyc2.dat"}, c.position, "3", seekable);
            const Command indexed = Near({{"tyc2.dat", c.records}, {"index.dat", c.index}},
                                         {"tyc2.dat"}, c.position, "3", seekable);
            EXPECT_EQ(scan.output, indexed.output) << c.name << seekable;
            EXPECT_EQ(scan.status, indexed.status) << c.name << seekable;
            EXPECT_NE(std::string::npos, indexed.errors.find(kUnused))
                << c.name << seekable << indexed.errors;
            EXPECT_NE(std::string::npos, indexed.errors.find(c.said))
                << c.name << seekable << indexed.errors;
        }
    }
}

TEST(RegionIndexTest, SplitFilesGiveTheirOwnLinesAndAMissingOneIsSaid) {
    // Just over one split file of 127,000 records.
    const Catalogue catalogue = MakeCatalogue(127001);
    const std::size_t split = kRecordsPerSplit * kTycho2RecordBytes;
    const std::map<std::string, std::string> files = {
        {"tyc2.dat.00", catalogue.records.substr(0, split)},
        {"tyc2.dat.01", catalogue.records.substr(split)},
        {"index.dat", catalogue.index}};
    std::map<std::string, std::string> without = files;
    without.erase("index.dat");
    const std::vector<std::string> both = {"tyc2.dat.00", "tyc2.dat.01"};
    // The last regions of the catalogue lie in both files; their lines are the files' own.
    for (const char* position : {"345 80", "320 40", "200 10"}) {
        const Command scan = Near(without, both, position, "8");
        const Command indexed = Near(files, both, position, "8");
        EXPECT_EQ(scan.output, indexed.output) << position;
        EXPECT_NE(std::string::npos, indexed.errors.find(kUsed)) << indexed.errors;
    }
    EXPECT_NE(std::string::npos, Near(files, both, "345 80", "8").output.find("tyc2.dat.01,"));
    // One of them not given: the field is what the other holds. One given that is not there:
    // said as the scan says it, with its failure.
    const Command scan = Near(without, {"tyc2.dat.01"}, "345 80", "8");
    const Command indexed = Near(files, {"tyc2.dat.01"}, "345 80", "8");
    EXPECT_EQ(scan.output, indexed.output);
    std::map<std::string, std::string> lost = files;
    lost.erase("tyc2.dat.00");
    const Command missing = Near(lost, both, "345 80", "8");
    EXPECT_EQ(1, missing.status);
    EXPECT_EQ(scan.output, missing.output);
    EXPECT_NE(std::string::npos, missing.errors.find("tyc2.dat.00: cannot read")) << missing.errors;
}

}  // namespace
