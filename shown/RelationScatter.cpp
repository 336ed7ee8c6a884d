// The fits' scatter as calibrated, and the uncertainties that combine it with a star's errors.
#include "RelationScatter.h"

#include <cmath>
#include <limits>

namespace {

constexpr double kOnward = std::numeric_limits<double>::infinity();

// Printed by tools/calibrate_scatter from the Hipparcos main catalogue's stars with ground-based
// V and B − V (tools/data/hip_main_odd.dat.gz); the tool's --check holds these to what it
// prints. docs/uncertainties.md gives the method and how well they cover the residuals.
// BEGIN CALIBRATED SCATTER
constexpr ScatterBand kPlain[] = {
    {0.3, {0.016, 0.014, 0.021}}, {0.6, {0.051, 0.015, 0.056}},     {1.0, {0.029, 0.015, 0.035}},
    {1.4, {0.028, 0.011, 0.021}}, {kOnward, {0.029, 0.025, 0.039}},
};
constexpr ScatterBand kFlagged[] = {
    {0.6, {0.056, 0.049, 0.052}},
    {kOnward, {0.048, 0.034, 0.042}},
};
// END CALIBRATED SCATTER

}  // namespace

std::span<const ScatterBand> PlainScatterBands() { return kPlain; }
std::span<const ScatterBand> FlaggedScatterBands() { return kFlagged; }
