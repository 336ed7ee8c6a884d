// A star's position moved by its proper motion to another epoch, rigorously on the sphere, as
// ERFA's eraPmsafe and astropy's apply_space_motion move a star with no parallax or radial
// velocity.
#pragma once

#include "SkyGeometry.h"

struct ProperMotion {
    double raMasPerYear = 0.0;   // μα cos δ, milliarcseconds a Julian year
    double decMasPerYear = 0.0;  // μδ
    double epoch = 2000.0;       // the Julian year of the position it moves
};

// The position at `epoch`, a Julian year (2026.9).
SkyPosition AtEpoch(const SkyPosition& position, const ProperMotion& motion, double epoch);

// The most a catalogue's star moves in a year, in degrees, with room to spare: Barnard's star,
// the fastest, moves 10.4″.
constexpr double kFastestDegreesPerYear = 12.0 / 3600.0;
