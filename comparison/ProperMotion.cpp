// Proper motion through ERFA's eraPmsafe, with no parallax and no radial velocity: ERFA then takes
// the star as distant enough to move at well below the speed of light, as astropy does for a
// position without a distance.
#include "ProperMotion.h"

#include <cmath>
#include <numbers>

#include "erfa.h"

namespace {

constexpr double kRadians = std::numbers::pi / 180.0;
constexpr double kRadiansPerMas = kRadians / 3600.0 / 1000.0;
constexpr double kJ2000 = 2451545.0;  // Julian date
constexpr double kDaysPerYear = 365.25;

}  // namespace

SkyPosition AtEpoch(const SkyPosition& position, const ProperMotion& motion, double epoch) {
    const double dec = position.dec * kRadians;
    const double cosine = std::cos(dec);
    // At a pole right ascension has no rate to give.
    if (cosine < 1e-12) return position;
    double ra = 0.0, moved = 0.0, pmRa = 0.0, pmDec = 0.0, parallax = 0.0, velocity = 0.0;
    // The rate of right ascension as astropy reckons it, its rounding and all: close to a pole
    // ERFA's result turns on the last bit of it.
    eraPmsafe(position.ra * kRadians, dec, motion.raMasPerYear / cosine * kRadiansPerMas,
              motion.decMasPerYear * kRadiansPerMas, 0.0, 0.0, kJ2000,
              (motion.epoch - 2000.0) * kDaysPerYear, kJ2000, (epoch - 2000.0) * kDaysPerYear, &ra,
              &moved, &pmRa, &pmDec, &parallax, &velocity);
    double raDegrees = ra / kRadians;
    if (raDegrees < 0.0) raDegrees += 360.0;
    if (raDegrees >= 360.0) raDegrees -= 360.0;
    return {raDegrees, moved / kRadians};
}
