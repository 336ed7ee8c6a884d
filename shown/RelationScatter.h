// How far the B and V fits themselves stray from ground-based photometry, beyond what the
// catalogue's errors explain, and the total uncertainty of the values a row shows.
#pragma once

#include <cmath>
#include <cstddef>
#include <span>

#include "ShownValues.h"
#include "tychobvr/conversion.h"

// One standard deviation of the fits' own scatter, in magnitudes.
struct RelationScatter {
    double B = 0.0;
    double V = 0.0;
    double BMinusV = 0.0;
};

// The scatter for stars whose BT − VT lies below `below` and not in a band before.
struct ScatterBand {
    double below;
    RelationScatter scatter;
};

// The bands by colour, for stars of which the source says nothing that makes them doubles or
// variables, and for those it does; the last band of each runs on without end.
std::span<const ScatterBand> PlainScatterBands();
std::span<const ScatterBand> FlaggedScatterBands();

// The scatter at a colour, BT − VT.
inline RelationScatter ScatterFor(double colourIndex, bool flagged) {
    const std::span<const ScatterBand> bands =
        flagged ? FlaggedScatterBands() : PlainScatterBands();
    for (const ScatterBand& band : bands) {
        if (colourIndex < band.below) return band.scatter;
    }
    return bands.back().scatter;
}

// The total uncertainties, B, V, R and B − V, as the errors are written.
using Uncertainties = conversion::MagnitudeErrors;

// The total uncertainties: the catalogue's errors carried through the fits, combined in
// quadrature with the fits' scatter. R = V − 0.5 (B − V) takes V's and half B − V's, and its
// difference from Henden's R fit as the approximation's own error. Never below the errors.
// Inline: every row of a catalogue's conversion has them.
inline Uncertainties TotalUncertainties(const conversion::MagnitudeErrors& errors,
                                        const ShownValues& shown, bool flagged) {
    const RelationScatter scatter = ScatterFor(shown.colourIndex, flagged);
    const double approximation = shown.line.R - shown.henden.R;
    Uncertainties total;
    // Errors and scatter are far from overflow: the plain root is as exact as hypot, and cheaper.
    total.B = std::sqrt(errors.B * errors.B + scatter.B * scatter.B);
    total.V = std::sqrt(errors.V * errors.V + scatter.V * scatter.V);
    total.BMinusV = std::sqrt(errors.BMinusV * errors.BMinusV + scatter.BMinusV * scatter.BMinusV);
    total.R = std::sqrt(errors.R * errors.R + scatter.V * scatter.V +
                        0.25 * scatter.BMinusV * scatter.BMinusV + approximation * approximation);
    return total;
}
