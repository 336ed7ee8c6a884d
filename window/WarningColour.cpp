#include "WarningColour.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kLegibleContrast = 4.5;
constexpr int kWarningHue = 4;
constexpr int kWarningSaturation = 200;

double Linear(float channel) {
    return channel <= 0.04045f ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return 0.2126 * Linear(rgb.redF()) + 0.7152 * Linear(rgb.greenF()) +
           0.0722 * Linear(rgb.blueF());
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor WarningColour(const QColor& background) {
    // Every background reaches 4.5 : 1 with black or with white, so the walk ends in time.
    const bool darken =
        ContrastRatio(Qt::black, background) >= ContrastRatio(Qt::white, background);
    const int step = darken ? -5 : 5;
    for (int lightness = darken ? 110 : 160; lightness >= 0 && lightness <= 255;
         lightness += step) {
        const QColor colour = QColor::fromHsl(kWarningHue, kWarningSaturation, lightness);
        if (ContrastRatio(colour, background) >= kLegibleContrast) return colour;
    }
    return darken ? QColor(Qt::black) : QColor(Qt::white);
}
