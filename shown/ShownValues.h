// The numbers that a result with magnitudes shows besides the line's B, V and R, wherever it is
// shown: the window's tooltip, the converter's rows, the page.
#pragma once

#include <optional>

#include "tychobvr/conversion.h"

struct ShownValues {
    conversion::ConvertedMagnitudes line;
    double colourIndex = 0.0;                              // BT − VT
    std::optional<conversion::BessellMagnitudes> bessell;  // nothing outside Bessell's table
    conversion::HendenMagnitudes henden;
    bool extrapolated = false;  // BT − VT outside the range of the fits
    bool faint = false;         // VT fainter than Tycho-2 measures well
};
// Each number is written with this many decimals.
constexpr int kShownDecimals = 3;

// The value as its shown digits give it, in units of the last: 9.9996 with 3 decimals as 10000,
// so that what is judged of a number is what its reader sees.
long long ShownUnits(double value, int decimals = kShownDecimals);

// The numbers for values whose result line gives magnitudes.
ShownValues ValuesFor(const conversion::TaggedValues& values);
