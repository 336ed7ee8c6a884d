// Derives the scatter of the B and V fits from Hipparcos stars with ground-based photometry, and
// says how well the uncertainties that it gives cover the residuals.
//
//   calibrate_scatter hip_main.dat.gz            prints the table of scatter and the coverage
//   calibrate_scatter --check hip_main.dat.gz    fails unless the program's table is that one
//   calibrate_scatter --hold-out hip_main.dat.gz calibrates on each half of the stars (HIP 1 and
//                                                3 modulo 4) and tells the coverage on the other
//
// The stars: V (bytes 42-46) and B - V (246-251) from ground-based photometry (flag G at bytes 50
// and 259), BT and VT with their errors (218-242). Those the file says nothing against (no double
// and no variability flag at all) make the plain bands; those it calls double or variable the
// flagged ones. A residual is the fit's value less the ground-based one.
//
// For each band and each of V, B and B - V, the scatter s is found for which the residuals'
// own |r| fall within sigma = sqrt(e^2 + s^2 + g^2) for 68.3 % of the stars, where e is the
// catalogue error carried through the fit and g the ground-based value's own error (0.01 mag for
// V, whose error the catalogue does not give; the catalogue's e_B-V for B - V). Being a
// quantile, a few wild stars cannot set it; and since |r| is taken about zero, not about its
// median, the fits' systematic offset in a band is part of the scatter. Where 2 sigma would then
// hold fewer than 94.5 %, the middle of the 91 to 98 % sought, s grows until it does, so that
// stars the calibration has not seen stay within the range too; but never so far that 1 sigma
// holds more than 74 %. Each s is rounded up to the shown thousandth. The total uncertainty u
// leaves g out: it is the uncertainty of the derived value, not of the ground-based one.

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Catalogue.h"
#include "RelationScatter.h"
#include "ShownValues.h"
#include "StarFlags.h"

namespace {

constexpr double kGroundErrorV = 0.01;

struct Star {
    unsigned long hip = 0;
    double colourIndex = 0.0;
    bool flagged = false;
    bool varFlag = false;  // any variability flag, also below 0.06 mag
    conversion::MagnitudeErrors errors;
    ShownValues shown;
    double residual[3] = {};  // V, B, B - V
    double ground[3] = {};
};

enum Quantity { kV, kB, kBMinusV };
constexpr const char* kQuantityNames[] = {"V", "B", "B-V"};

std::string_view Bytes(std::string_view record, std::size_t first, std::size_t last) {
    if (record.size() < last) return {};
    return Trimmed(record.substr(first - 1, last - first + 1));
}

std::optional<double> Number(std::string_view record, std::size_t first, std::size_t last) {
    ShortestText unused;
    const std::string_view cell = Bytes(record, first, last);
    return cell.empty() ? std::nullopt : ReadCellNumber(cell, unused);
}

std::vector<std::string> ReadLines(const char* path) {
    std::vector<std::string> lines;
    gzFile file = gzopen(path, "rb");
    if (!file) return lines;
    char buffer[1024];
    while (gzgets(file, buffer, sizeof buffer)) {
        std::string line(buffer);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        lines.push_back(std::move(line));
    }
    gzclose(file);
    return lines;
}

std::optional<Star> StarOf(std::string_view record) {
    const RecordLayout& layout = LayoutOf(SourceForm::Hipparcos);
    if (Bytes(record, 50, 50) != "G" || Bytes(record, 259, 259) != "G") return std::nullopt;
    const auto V = Number(record, 42, 46), BMinusV = Number(record, 246, 251);
    const auto BT = Number(record, 218, 223), errorBT = Number(record, 225, 229);
    const auto VT = Number(record, 231, 236), errorVT = Number(record, 238, 242);
    if (!V || !BMinusV || !BT || !VT || !errorBT || !errorVT) return std::nullopt;
    const auto field = [record](const Field& at) {
        return at.size == 0 ? std::string_view() : Bytes(record, at.begin + 1, at.begin + at.size);
    };
    const FlagCells<char> cells{
        field(layout.prox),  field(layout.posflg),   field(layout.pflag),   field(layout.ccdm),
        field(layout.proxy), field(layout.multFlag), field(layout.varFlag), field(layout.hvarType)};
    const StarFlags flags = FlagsOf(cells);
    // A star with any variability flag, even below 0.06 mag, is no plain star.
    if (!flags.Any() && !cells.varFlag.empty()) return std::nullopt;
    Star star;
    star.hip = static_cast<unsigned long>(Number(record, 9, 14).value_or(0));
    star.flagged = flags.Any();
    star.varFlag = !cells.varFlag.empty();
    star.shown = ValuesFor({*BT, *VT});
    star.colourIndex = star.shown.colourIndex;
    star.errors = conversion::PropagateErrors(*errorBT, *errorVT);
    const double groundBMinusV = Number(record, 253, 257).value_or(kGroundErrorV);
    star.residual[kV] = star.shown.line.V - *V;
    star.residual[kB] = star.shown.line.B - (*V + *BMinusV);
    star.residual[kBMinusV] = (star.shown.line.B - star.shown.line.V) - *BMinusV;
    star.ground[kV] = kGroundErrorV;
    star.ground[kB] = std::hypot(kGroundErrorV, groundBMinusV);
    star.ground[kBMinusV] = groundBMinusV;
    return star;
}

double CatalogueError(const conversion::MagnitudeErrors& errors, int quantity) {
    return quantity == kV ? errors.V : quantity == kB ? errors.B : errors.BMinusV;
}

// The share of the stars whose residual lies within `times` sigma for a scatter s.
double Coverage(const std::vector<const Star*>& stars, int quantity, double s, double times) {
    std::size_t within = 0;
    for (const Star* star : stars) {
        const double e = CatalogueError(star->errors, quantity), g = star->ground[quantity];
        if (std::fabs(star->residual[quantity]) <= times * std::sqrt(e * e + s * s + g * g)) {
            ++within;
        }
    }
    return stars.empty() ? 0.0 : static_cast<double>(within) / static_cast<double>(stars.size());
}

// The smallest s that gives at least the share, by bisection: the share never falls as s grows.
double SmallestScatter(const std::vector<const Star*>& stars, int quantity, double share,
                       double times) {
    double low = 0.0, high = 1.0;
    if (Coverage(stars, quantity, low, times) >= share) return 0.0;
    for (int step = 0; step < 60; ++step) {
        const double middle = (low + high) / 2;
        (Coverage(stars, quantity, middle, times) >= share ? high : low) = middle;
    }
    return high;
}

// The share within 2 sigma that the scatter is raised to, where 1 sigma allows.
double twoSigmaAim = 0.945;

double Scatter(const std::vector<const Star*>& stars, int quantity) {
    const double oneSigma = SmallestScatter(stars, quantity, 0.683, 1.0);
    const double twoSigma = SmallestScatter(stars, quantity, twoSigmaAim, 2.0);
    const double mostForOneSigma = SmallestScatter(stars, quantity, 0.74, 1.0);
    const double s = std::max(oneSigma, std::min(twoSigma, mostForOneSigma));
    return std::ceil(s * 1000.0 - 1e-9) / 1000.0;
}

std::vector<ScatterBand> Calibrate(const std::vector<Star>& stars, bool flagged,
                                   bool quiet = false) {
    const std::span<const ScatterBand> edges =
        flagged ? FlaggedScatterBands() : PlainScatterBands();
    std::vector<ScatterBand> bands;
    double from = -INFINITY;
    for (const ScatterBand& edge : edges) {
        std::vector<const Star*> band;
        for (const Star& star : stars) {
            if (star.flagged == flagged && star.colourIndex >= from &&
                star.colourIndex < edge.below) {
                band.push_back(&star);
            }
        }
        ScatterBand calibrated{edge.below, {}};
        calibrated.scatter.V = Scatter(band, kV);
        calibrated.scatter.B = Scatter(band, kB);
        calibrated.scatter.BMinusV = Scatter(band, kBMinusV);
        bands.push_back(calibrated);
        if (!quiet) {
            std::fprintf(stderr, "  %s band below %g: %zu stars\n", flagged ? "flagged" : "plain",
                         edge.below, band.size());
        }
        from = edge.below;
    }
    return bands;
}

std::string Table(const std::vector<ScatterBand>& plain, const std::vector<ScatterBand>& flagged) {
    std::string table = "// BEGIN CALIBRATED SCATTER\n";
    for (const auto& [name, bands] :
         {std::pair{"kPlain", &plain}, std::pair{"kFlagged", &flagged}}) {
        table += std::string("constexpr ScatterBand ") + name + "[] = {\n";
        for (const ScatterBand& band : *bands) {
            char line[128];
            const std::string below =
                std::isinf(band.below) ? "kOnward" : conversion::FormatFixed(band.below, 1);
            std::snprintf(line, sizeof line, "    {%s, {%.3f, %.3f, %.3f}},\n", below.c_str(),
                          band.scatter.B, band.scatter.V, band.scatter.BMinusV);
            table += line;
        }
        table += "};\n";
    }
    return table + "// END CALIBRATED SCATTER\n";
}

// How many residuals the program's own uncertainties cover, with the ground-based errors added.
void ReportCoverage(const std::vector<Star>& stars, const char* name,
                    const std::function<bool(const Star&)>& in) {
    std::size_t count = 0, within[3][2] = {};
    for (const Star& star : stars) {
        if (!in(star)) continue;
        ++count;
        const Uncertainties u = TotalUncertainties(star.errors, star.shown, star.flagged);
        const double total[3] = {u.V, u.B, u.BMinusV};
        for (int quantity = 0; quantity < 3; ++quantity) {
            const double sigma = std::hypot(total[quantity], star.ground[quantity]);
            const double r = std::fabs(star.residual[quantity]);
            if (r <= sigma) ++within[quantity][0];
            if (r <= 2 * sigma) ++within[quantity][1];
        }
    }
    std::printf("%-34s %4zu stars", name, count);
    for (int quantity = 0; quantity < 3; ++quantity) {
        std::printf("   %s %5.1f %% / %5.1f %%", kQuantityNames[quantity],
                    100.0 * static_cast<double>(within[quantity][0]) / static_cast<double>(count),
                    100.0 * static_cast<double>(within[quantity][1]) / static_cast<double>(count));
    }
    std::printf("\n");
}

// The scatter of a calibration's band for a star.
RelationScatter BandScatter(const std::vector<ScatterBand>& bands, double colourIndex) {
    for (const ScatterBand& band : bands) {
        if (colourIndex < band.below) return band.scatter;
    }
    return bands.back().scatter;
}

// Calibrates on each half of the set, as the program's table is calibrated, and tells how many of
// the other half's V, B and B - V residuals fall within 2 sigma: what a calibration gives stars
// it has not seen, with the 2 sigma aim of the lower edge and of the middle of the range.
void HoldOut(const std::vector<Star>& stars) {
    for (const double aim : {0.91, 0.945}) {
        twoSigmaAim = aim;
        for (const unsigned long half : {1ul, 3ul}) {
            std::vector<Star> seen, unseen;
            for (const Star& star : stars) (star.hip % 4 == half ? seen : unseen).push_back(star);
            const std::vector<ScatterBand> plain = Calibrate(seen, false, true);
            const std::vector<ScatterBand> flagged = Calibrate(seen, true, true);
            std::size_t count = 0, within[3] = {};
            for (const Star& star : unseen) {
                if (star.varFlag) continue;
                ++count;
                const RelationScatter s =
                    BandScatter(star.flagged ? flagged : plain, star.colourIndex);
                const double scatter[3] = {s.V, s.B, s.BMinusV};
                for (int quantity = 0; quantity < 3; ++quantity) {
                    const double e = CatalogueError(star.errors, quantity);
                    const double sigma = std::sqrt(e * e + scatter[quantity] * scatter[quantity] +
                                                   star.ground[quantity] * star.ground[quantity]);
                    if (std::fabs(star.residual[quantity]) <= 2 * sigma) ++within[quantity];
                }
            }
            std::printf(
                "aim %.1f %%, calibrated on HIP %lu mod 4, %zu unseen stars within 2 sigma:",
                100 * aim, half, count);
            for (int quantity = 0; quantity < 3; ++quantity) {
                std::printf(
                    "   %s %5.1f %%", kQuantityNames[quantity],
                    100.0 * static_cast<double>(within[quantity]) / static_cast<double>(count));
            }
            std::printf("\n");
        }
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    const bool check = argc == 3 && std::strcmp(argv[1], "--check") == 0;
    const bool holdOut = argc == 3 && std::strcmp(argv[1], "--hold-out") == 0;
    if (argc != 2 && !check && !holdOut) {
        std::fprintf(stderr, "usage: calibrate_scatter [--check | --hold-out] hip_main.dat.gz\n");
        return 2;
    }
    const char* path = argv[argc - 1];
    const std::vector<std::string> lines = ReadLines(path);
    std::vector<Star> stars;
    for (const std::string& line : lines) {
        if (const std::optional<Star> star = StarOf(line)) stars.push_back(*star);
    }
    if (stars.empty()) {
        std::fprintf(stderr, "calibrate_scatter: %s: no stars with ground-based V and B - V\n",
                     path);
        return 1;
    }
    std::fprintf(stderr, "calibrate_scatter: %zu records, %zu stars\n", lines.size(), stars.size());
    if (holdOut) {
        HoldOut(stars);
        return 0;
    }
    const std::vector<ScatterBand> plain = Calibrate(stars, false);
    const std::vector<ScatterBand> flagged = Calibrate(stars, true);
    const std::string table = Table(plain, flagged);
    if (check) {
        const std::vector<ScatterBand> ownPlain(PlainScatterBands().begin(),
                                                PlainScatterBands().end());
        const std::vector<ScatterBand> ownFlagged(FlaggedScatterBands().begin(),
                                                  FlaggedScatterBands().end());
        const std::string own = Table(ownPlain, ownFlagged);
        if (own != table) {
            std::fprintf(stderr, "calibrate_scatter: the program's table is\n%s\nnot\n%s",
                         own.c_str(), table.c_str());
            return 1;
        }
        std::printf("the program's scatter is the calibration's\n");
        return 0;
    }
    std::printf("%s\n", table.c_str());
    std::printf("Within 1 sigma / 2 sigma, with the table above:\n");
    ReportCoverage(stars, "no variability flag (the set)",
                   [](const Star& star) { return !star.varFlag; });
    ReportCoverage(stars, "  of them neither double nor var.",
                   [](const Star& star) { return !star.flagged; });
    ReportCoverage(stars, "double or variable", [](const Star& star) { return star.flagged; });
    return 0;
}
