#include "WarningColour.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kLegibleContrast = 4.5;
constexpr double kWarningHue = 4.0;                 // degrees
constexpr double kWarningSaturation = 200.0 / 255;  // of the HSL model

double Linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(Rgb colour) {
    return 0.2126 * Linear(colour.red) + 0.7152 * Linear(colour.green) +
           0.0722 * Linear(colour.blue);
}

// The warning hue at a lightness from 0 to 1, in the HSL model.
Rgb WarningAtLightness(double lightness) {
    const double chroma = (1.0 - std::abs(2.0 * lightness - 1.0)) * kWarningSaturation;
    const double second = chroma * (1.0 - std::abs(std::fmod(kWarningHue / 60.0, 2.0) - 1.0));
    const double base = lightness - chroma / 2.0;
    const auto channel = [](double value) {
        return std::clamp(static_cast<int>(std::lround(value * 255.0)), 0, 255);
    };
    return {channel(chroma + base), channel(second + base), channel(base)};
}

}  // namespace

double ContrastRatio(Rgb a, Rgb b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb WarningColour(Rgb background) {
    constexpr Rgb kBlack{0, 0, 0};
    constexpr Rgb kWhite{255, 255, 255};
    // Every background reaches 4.5 : 1 with black or with white, so the walk ends in time.
    const bool darken = ContrastRatio(kBlack, background) >= ContrastRatio(kWhite, background);
    const int step = darken ? -5 : 5;
    for (int lightness = darken ? 110 : 160; lightness >= 0 && lightness <= 255;
         lightness += step) {
        const Rgb colour = WarningAtLightness(lightness / 255.0);
        if (ContrastRatio(colour, background) >= kLegibleContrast) return colour;
    }
    return darken ? kBlack : kWhite;
}
