// Positions on the sky and the spherical trigonometry of a field: the separation and position
// angle between two positions, and a position written as observers write it.
#pragma once

#include <string>

// Right ascension and declination in degrees, 0 ≤ ra < 360 and −90 ≤ dec ≤ +90.
struct SkyPosition {
    double ra = 0.0;
    double dec = 0.0;
};

// The great-circle distance in degrees, exact near 0 and near 180 alike.
double SeparationDegrees(const SkyPosition& from, const SkyPosition& to);
// The direction from `from` to `to` in degrees east of north, 0 ≤ angle < 360; 0 where the two
// are the same.
double PositionAngleDegrees(const SkyPosition& from, const SkyPosition& to);

// A box of right ascension and declination, in degrees, as catalogues bound their regions:
// raMin may be below 0 for a box across 0h, and raMax − raMin ≥ 360 holds every right ascension.
struct SkyBox {
    double raMin = 0.0, raMax = 0.0;
    double decMin = 0.0, decMax = 0.0;
};

// Whether any point within `radius` degrees of `centre` may lie in the box. Never false where
// one does; true for some caps that only come near, as around the poles.
bool CapMeetsBox(const SkyPosition& centre, double radius, const SkyBox& box);

// The position in hours and degrees as "05 35 17.3 −05 23 28", with the minus sign.
std::u16string PositionText(const SkyPosition& position);
