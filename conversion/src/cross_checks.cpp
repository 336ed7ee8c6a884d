#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>

#include "shown_value.h"
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

std::optional<BessellMagnitudes> ConvertBessell2000(double BT, double VT) {
    const double colourIndex = BT - VT;
    // Judged, like the fits' range, on the colour index as it is shown.
    const double shown = ShownValue(colourIndex);
    if (!(shown >= kBessellLowestColourIndex && shown <= kBessellHighestColourIndex)) {
        return std::nullopt;
    }
    const long long offset = std::llround(shown * 1000) - kFirstRowThousandths;
    const auto row = static_cast<std::size_t>(offset / kRowStepThousandths);
    double vMinusVT = kBessellTable[row].vMinusVT;
    double difference = kBessellTable[row].bMinusVMinusColourIndex;
    if (offset % kRowStepThousandths != 0) {
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
        vMinusVT = Cubic(v, u);
        difference = Cubic(d, u);
    }
    return BessellMagnitudes{VT + vMinusVT, colourIndex + difference};
}

HendenMagnitudes ConvertHendenRI(double BT, double VT) {
    const double colourIndex = BT - VT;
    return {(VT - kHendenROffset) - kHendenRSlope * colourIndex,
            (VT - kHendenIOffset) - kHendenISlope * colourIndex};
}

}  // namespace conversion
