#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <optional>

#include "tychobvr/conversion.h"

namespace conversion {
namespace {

struct BessellRow {
    double colourIndex;  // BT - VT
    double vMinusVT;
    double bMinusVMinusColourIndex;  // (B - V) - (BT - VT)
};

constexpr BessellRow kBessellTable[] = {
#include "bessell2000_table.inc"
};
constexpr std::size_t kRows = std::size(kBessellTable);
constexpr long long kFirstRowThousandths = -250;
constexpr long long kRowStepThousandths = 50;
static_assert(kRows == 46, "Bessell's Table 2 has a row every 0.05 from -0.25 to 2.00");

constexpr double kHendenROffset = 0.014;
constexpr double kHendenRSlope = 0.5405;
constexpr double kHendenIOffset = 0.039;
constexpr double kHendenISlope = 0.9376;

// The cubic through four rows at 0, 1, 2 and 3, at u between them.
double Cubic(const double (&y)[4], double u) {
    return -y[0] * (u - 1) * (u - 2) * (u - 3) / 6 + y[1] * u * (u - 2) * (u - 3) / 2 -
           y[2] * u * (u - 1) * (u - 3) / 2 + y[3] * u * (u - 1) * (u - 2) / 6;
}

}  // namespace

namespace {

// The terms at every colour index that can be shown within the table, a thousandth apart from
// its first row: the row's own where one lies there, and between rows the cubic through the four
// nearest. Worked out once, for the conversion of a catalogue asks for them for every star.
struct BessellTerms {
    double vMinusVT;
    double difference;  // (B - V) - (BT - VT)
};
constexpr std::size_t kShownSteps = static_cast<std::size_t>((kRows - 1) * kRowStepThousandths) + 1;
static_assert(kBessellLowestColourIndex * 1000 == kFirstRowThousandths &&
                  kBessellHighestColourIndex * 1000 ==
                      kFirstRowThousandths + static_cast<long long>(kShownSteps) - 1,
              "the terms span the colour indices that the table takes");

const std::array<BessellTerms, kShownSteps>& AllBessellTerms() {
    static const std::array<BessellTerms, kShownSteps> terms = [] {
        std::array<BessellTerms, kShownSteps> all{};
        for (std::size_t offset = 0; offset < kShownSteps; ++offset) {
            const std::size_t row = offset / kRowStepThousandths;
            BessellTerms& at = all[offset];
            at = {kBessellTable[row].vMinusVT, kBessellTable[row].bMinusVMinusColourIndex};
            if (offset % kRowStepThousandths == 0) continue;
            // The four nearest rows: one before and two after, or the first or last four.
            const std::size_t first = row == 0 ? 0 : std::min(row - 1, kRows - 4);
            const double u =
                static_cast<double>(offset) / kRowStepThousandths - static_cast<double>(first);
            double v[4];
            double d[4];
            for (std::size_t i = 0; i < 4; ++i) {
                v[i] = kBessellTable[first + i].vMinusVT;
                d[i] = kBessellTable[first + i].bMinusVMinusColourIndex;
            }
            at = {Cubic(v, u), Cubic(d, u)};
        }
        return all;
    }();
    return terms;
}

}  // namespace

std::optional<BessellMagnitudes> ConvertBessell2000(double BT, double VT) {
    const double colourIndex = BT - VT;
    // Judged, like the fits' range, on the colour index as it is shown, in whole thousandths.
    long long shown;
    if (!ShownThousandths(colourIndex, shown)) return std::nullopt;  // far outside, or NaN
    const long long offset = shown - kFirstRowThousandths;
    if (offset < 0 || offset >= static_cast<long long>(kShownSteps)) return std::nullopt;
    const BessellTerms& terms = AllBessellTerms()[static_cast<std::size_t>(offset)];
    return BessellMagnitudes{VT + terms.vMinusVT, colourIndex + terms.difference};
}

HendenMagnitudes ConvertHendenRI(double BT, double VT) {
    const double colourIndex = BT - VT;
    return {(VT - kHendenROffset) - kHendenRSlope * colourIndex,
            (VT - kHendenIOffset) - kHendenISlope * colourIndex};
}

}  // namespace conversion
