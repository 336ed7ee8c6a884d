// A finder chart of a field in SVG, drawn as variable-star charts are: gnomonic about the centre,
// north up and east left, dots sized by brightness, comparison stars labelled with their V
// without the decimal point, the target, known variables and doubles marked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "FieldStar.h"

struct ChartField {
    SkyPosition centre;
    double radius = 1.0;     // degrees, at most kLargestChartRadius
    std::string centreText;  // "05 35 17.3 −05 23 28"
    std::string radiusText;  // "1°"
    std::string epochText;   // "2026.9", or empty for the catalogue's
};

// The projection is drawn no wider than this, in degrees.
constexpr double kLargestChartRadius = 30.0;

// The chart of the stars, nearest first as the rows are: the same bytes for the same stars on
// every platform.
std::string FinderChart(const std::vector<FieldStar>& stars, const ChartField& field);

// A comparison star's label: V × 10, rounded half up, without the decimal point ("95" for 9.470).
std::string ChartLabel(std::int64_t vThousandths);
