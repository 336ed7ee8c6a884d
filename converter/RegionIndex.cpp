// Tycho-2's index of regions: reading index.dat, the records a field needs by it, and the check
// of the records read against it.
#include "RegionIndex.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "Catalogue.h"
#include "FieldPlacement.h"

namespace {

// How far an observed position may lie outside its box, in degrees: the box is rounded outwards
// to 0.01°, and a few positions lie 0.00001° beyond it.
constexpr double kBoxTolerance = 0.001;

std::string_view Trimmed(std::string_view cell) {
    while (!cell.empty() && cell.front() == ' ') cell.remove_prefix(1);
    while (!cell.empty() && cell.back() == ' ') cell.remove_suffix(1);
    return cell;
}

std::optional<std::uint64_t> Whole(std::string_view cell) {
    cell = Trimmed(cell);
    if (cell.empty() || cell.size() > 12) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : cell) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

// The index's six cells of a line, or nothing where it has another form.
std::optional<std::array<std::string_view, 6>> Cells(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::array<std::string_view, 6> cells;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const std::size_t bar = line.find('|');
        if ((bar == std::string_view::npos) != (i == cells.size() - 1)) return std::nullopt;
        cells[i] = line.substr(0, bar);
        line = bar == std::string_view::npos ? std::string_view() : line.substr(bar + 1);
    }
    return cells;
}

std::optional<IndexRegion> RegionOf(std::string_view line) {
    const auto cells = Cells(line);
    if (!cells) return std::nullopt;
    const auto tycho2 = Whole((*cells)[0]), supplement = Whole((*cells)[1]);
    std::array<double, 4> bounds{};
    for (std::size_t i = 0; i < bounds.size(); ++i) {
        const auto value = RoughDegrees(Trimmed((*cells)[i + 2]));
        if (!value) return std::nullopt;
        bounds[i] = *value;
    }
    if (!tycho2 || !supplement) return std::nullopt;
    return IndexRegion{*tycho2, *supplement, {bounds[0], bounds[1], bounds[2], bounds[3]}};
}

bool Bounded(const SkyBox& box) {
    return box.raMin >= -0.01 - 1e-9 && box.raMin <= box.raMax && box.raMax <= 360.0 + 1e-9 &&
           box.decMin >= -90.0 && box.decMin <= box.decMax && box.decMax <= 90.0;
}

// Whether a position lies in the box, within the tolerance, across 0h too.
bool InBox(const SkyBox& box, double ra, double dec) {
    if (dec < box.decMin - kBoxTolerance || dec > box.decMax + kBoxTolerance) return false;
    for (const double turn : {0.0, -360.0, 360.0}) {
        if (ra + turn >= box.raMin - kBoxTolerance && ra + turn <= box.raMax + kBoxTolerance) {
            return true;
        }
    }
    return false;
}

// Whether two positions lie within half the margin of each other, told cheaply away from the
// poles: each direction within half of that, whose sum on the sky is less.
bool NearEnough(double ra1, double dec1, double ra2, double dec2) {
    constexpr double kHalf = kRegionMarginDegrees / 2;
    if (std::fabs(dec1 - dec2) > kHalf / 2) return false;
    const double equatorward = std::min(std::fabs(dec1), std::fabs(dec2));
    if (equatorward > 80.0) return SeparationDegrees({ra1, dec1}, {ra2, dec2}) <= kHalf;
    double apart = std::fabs(ra1 - ra2);
    if (apart > 180.0) apart = 360.0 - apart;
    return apart * std::cos(equatorward * (std::numbers::pi / 180.0)) <= kHalf / 2;
}

std::uint64_t StartOf(const IndexRegion& region, IndexedFile file) {
    return file == IndexedFile::Tycho2 ? region.tycho2 : region.supplement;
}

// The first record number after the region, in the file the index counts it in.
std::uint64_t EndOf(const RegionIndex& index, std::size_t region, IndexedFile file) {
    if (region + 1 < index.regions.size()) return StartOf(index.regions[region + 1], file);
    return (file == IndexedFile::Tycho2 ? index.tycho2Records : index.supplementRecords) + 1;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The name without its folders, in lower case, and without ".gz".
std::string BaseName(std::string_view name) {
    const std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
    std::string base;
    for (const char c : name) base += Lower(c);
    if (base.size() > 3 && base.ends_with(".gz")) base.resize(base.size() - 3);
    return base;
}

}  // namespace

std::optional<RegionIndex> ReadRegionIndex(std::string_view bytes, std::uint64_t& badLine) {
    RegionIndex index;
    std::vector<IndexRegion> lines;
    badLine = 0;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::string_view line = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        ++badLine;
        const std::optional<IndexRegion> region = RegionOf(line);
        if (!region) return std::nullopt;
        lines.push_back(*region);
    }
    // The first region begins both files; each begins after the one before; the last line only
    // closes the last region.
    ++badLine;
    if (lines.size() < 2) return std::nullopt;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        badLine = i + 1;
        const IndexRegion& region = lines[i];
        if (i == 0 && (region.tycho2 != 1 || region.supplement != 1)) return std::nullopt;
        if (i > 0 &&
            (region.tycho2 <= lines[i - 1].tycho2 || region.supplement < lines[i - 1].supplement)) {
            return std::nullopt;
        }
        if (i + 1 < lines.size() && !Bounded(region.box)) return std::nullopt;
    }
    index.tycho2Records = lines.back().tycho2 - 1;
    index.supplementRecords = lines.back().supplement - 1;
    lines.pop_back();
    index.regions = std::move(lines);
    badLine = 0;
    return index;
}

bool BeginsLikeRegionIndex(std::string_view head) {
    const std::size_t end = head.find('\n');
    if (end == std::string_view::npos) return false;
    const std::optional<IndexRegion> region = RegionOf(head.substr(0, end));
    return region && region->tycho2 == 1 && region->supplement == 1;
}

IndexedPart IndexedPartNamed(std::string_view name) {
    const std::string base = BaseName(name);
    if (base == "tyc2.dat") return {IndexedFile::Tycho2, -1};
    if (base == "suppl_1.dat") return {IndexedFile::Supplement, -1};
    if (base.size() == 11 && base.starts_with("tyc2.dat.") && base[9] >= '0' && base[9] <= '9' &&
        base[10] >= '0' && base[10] <= '9') {
        return {IndexedFile::Tycho2, (base[9] - '0') * 10 + (base[10] - '0')};
    }
    return {};
}

bool IsRegionIndexName(std::string_view name) { return BaseName(name) == "index.dat"; }

std::vector<std::uint32_t> RegionsMet(const RegionIndex& index, const SkyPosition& centre,
                                      double radius) {
    std::vector<std::uint32_t> met;
    for (std::size_t i = 0; i < index.regions.size(); ++i) {
        if (CapMeetsBox(centre, radius + kRegionMarginDegrees, index.regions[i].box)) {
            met.push_back(static_cast<std::uint32_t>(i + 1));
        }
    }
    return met;
}

FilePlan PlanFile(const RegionIndex& index, IndexedPart part,
                  const std::vector<std::uint32_t>& regions) {
    FilePlan plan;
    plan.part = part;
    const bool tycho2 = part.file == IndexedFile::Tycho2;
    const std::uint64_t all = tycho2 ? index.tycho2Records : index.supplementRecords;
    plan.recordBytes = tycho2 ? kTycho2RecordBytes : kSupplementRecordBytes;
    plan.firstRecord = 1;
    plan.records = all;
    if (part.split >= 0) {
        plan.firstRecord = static_cast<std::uint64_t>(part.split) * kRecordsPerSplit + 1;
        plan.records =
            plan.firstRecord > all ? 0 : std::min(kRecordsPerSplit, all + 1 - plan.firstRecord);
    }
    const std::uint64_t fileEnd = plan.firstRecord + plan.records;
    for (const std::uint32_t region : regions) {
        const std::uint64_t begin =
            std::max(StartOf(index.regions[region - 1], part.file), plan.firstRecord);
        const std::uint64_t end = std::min(EndOf(index, region - 1, part.file), fileEnd);
        if (begin >= end) continue;
        // A record more on either side, within the file.
        const std::uint64_t first =
            (begin > plan.firstRecord ? begin - 1 : begin) - plan.firstRecord;
        const std::uint64_t last = (end < fileEnd ? end + 1 : end) - plan.firstRecord;
        if (!plan.stretches.empty() &&
            plan.stretches.back().first + plan.stretches.back().count >= first) {
            Stretch& before = plan.stretches.back();
            before.count = std::max(before.count, last - before.first);
        } else {
            plan.stretches.push_back({first, last - first});
        }
    }
    return plan;
}

std::optional<Misfit> CheckStretch(const RegionIndex& index, const FilePlan& plan,
                                   const Stretch& stretch, std::string_view bytes) {
    const bool tycho2 = plan.part.file == IndexedFile::Tycho2;
    const RecordLayout& layout =
        LayoutOf(tycho2 ? SourceForm::Tycho2 : SourceForm::Tycho2Supplement);
    const Field ra = tycho2 ? layout.ra2 : layout.ra, dec = tycho2 ? layout.dec2 : layout.dec;
    const auto field = [](std::string_view record, Field at) {
        return record.substr(at.begin, at.size);
    };
    for (std::uint64_t i = 0; i < stretch.count; ++i) {
        Misfit misfit;
        misfit.line = stretch.first + i + 1;
        const std::uint64_t number = plan.firstRecord + stretch.first + i;
        const auto after = std::upper_bound(index.regions.begin(), index.regions.end(), number,
                                            [&plan](std::uint64_t n, const IndexRegion& region) {
                                                return n < StartOf(region, plan.part.file);
                                            });
        misfit.region = static_cast<std::uint32_t>(after - index.regions.begin());
        const std::size_t at = static_cast<std::size_t>(i) * plan.recordBytes;
        if (bytes.size() < at + plan.recordBytes || bytes[at + plan.recordBytes - 1] != '\n' ||
            misfit.region == 0) {
            return misfit;
        }
        const std::string_view record = bytes.substr(at, plan.recordBytes - 1);
        const std::optional<std::uint64_t> tyc1 = Whole(field(record, layout.tycho[0]));
        if (!tyc1 || *tyc1 != misfit.region) {
            misfit.kind = Misfit::Kind::OtherRegion;
            return misfit;
        }
        misfit.kind = Misfit::Kind::OutsideBox;
        const std::optional<double> raDegrees = RoughDegrees(field(record, ra));
        const std::optional<double> decDegrees = RoughDegrees(field(record, dec));
        if (!raDegrees || !decDegrees ||
            !InBox(index.regions[misfit.region - 1].box, *raDegrees, *decDegrees)) {
            return misfit;
        }
        // The mean position, which a field is drawn from, lies near the observed one: within
        // half the margin in declination, and in right ascension on the sky.
        if (tycho2) {
            const auto meanRa = RoughDegrees(field(record, layout.ra));
            const auto meanDec = RoughDegrees(field(record, layout.dec));
            if (meanRa && meanDec && !NearEnough(*meanRa, *meanDec, *raDegrees, *decDegrees)) {
                return misfit;
            }
        }
    }
    return std::nullopt;
}
