// The spherical trigonometry of a field: the separation and position angle between two positions,
// and a position written as observers write it.
#include "SkyGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace {

constexpr double kRadians = std::numbers::pi / 180.0;

}  // namespace

double SeparationDegrees(const SkyPosition& from, const SkyPosition& to) {
    const double deltaRa = (to.ra - from.ra) * kRadians;
    const double dec1 = from.dec * kRadians, dec2 = to.dec * kRadians;
    const double sinDec1 = std::sin(dec1), cosDec1 = std::cos(dec1);
    const double sinDec2 = std::sin(dec2), cosDec2 = std::cos(dec2);
    const double x = cosDec2 * std::sin(deltaRa);
    const double y = cosDec1 * sinDec2 - sinDec1 * cosDec2 * std::cos(deltaRa);
    const double z = sinDec1 * sinDec2 + cosDec1 * cosDec2 * std::cos(deltaRa);
    return std::atan2(std::hypot(x, y), z) / kRadians;
}

double PositionAngleDegrees(const SkyPosition& from, const SkyPosition& to) {
    const double deltaRa = (to.ra - from.ra) * kRadians;
    const double dec1 = from.dec * kRadians, dec2 = to.dec * kRadians;
    const double x = std::cos(dec2) * std::sin(deltaRa);
    const double y =
        std::cos(dec1) * std::sin(dec2) - std::sin(dec1) * std::cos(dec2) * std::cos(deltaRa);
    // Where the two are the same but for rounding, no direction is meant.
    if (std::hypot(x, y) < 1e-15) return 0.0;
    const double angle = std::atan2(x, y) / kRadians;
    return angle < 0.0 ? angle + 360.0 : angle;
}

namespace {

void AppendTwoDigits(std::u16string& text, std::uint64_t value) {
    text += static_cast<char16_t>(u'0' + value / 10 % 10);
    text += static_cast<char16_t>(u'0' + value % 10);
}

}  // namespace

std::u16string PositionText(const SkyPosition& position) {
    std::u16string text;
    // Tenths of a second of time, and whole seconds of arc, so that no field rounds up to 60.
    const auto tenths =
        static_cast<std::uint64_t>(std::llround(position.ra / 15.0 * 36000.0)) % (24 * 36000);
    AppendTwoDigits(text, tenths / 36000);
    text += u' ';
    AppendTwoDigits(text, tenths / 600 % 60);
    text += u' ';
    AppendTwoDigits(text, tenths / 10 % 60);
    text += u'.';
    text += static_cast<char16_t>(u'0' + tenths % 10);
    text += u' ';
    const auto seconds = static_cast<std::uint64_t>(std::llround(std::fabs(position.dec) * 3600.0));
    text += position.dec < 0.0 && seconds != 0 ? u'\u2212' : u'+';
    AppendTwoDigits(text, seconds / 3600);
    text += u' ';
    AppendTwoDigits(text, seconds / 60 % 60);
    text += u' ';
    AppendTwoDigits(text, seconds % 60);
    return text;
}

bool CapMeetsBox(const SkyPosition& centre, double radius, const SkyBox& box) {
    if (centre.dec - radius > box.decMax || centre.dec + radius < box.decMin) return false;
    // A cap that holds a pole reaches every right ascension.
    if (std::fabs(centre.dec) + radius >= 90.0 || box.raMax - box.raMin >= 360.0) return true;
    // The cap lies between the two meridians that touch its rim.
    const double halfWidth =
        std::asin(std::sin(radius * kRadians) / std::cos(centre.dec * kRadians)) / kRadians;
    const double width = box.raMax - box.raMin;
    const double fromMin = std::fmod(std::fmod(centre.ra - box.raMin, 360.0) + 360.0, 360.0);
    if (fromMin <= width) return true;
    const double apart = std::min(fromMin - width, 360.0 - fromMin);
    return apart <= halfWidth + 1e-9;
}
