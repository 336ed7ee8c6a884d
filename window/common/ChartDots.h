// The stars' dots of a finder chart, read back from its SVG, so that a window can tell which
// star the pointer rests on: each dot's place and size in the chart's own units, and its title.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ChartDot {
    double x = 0, y = 0, radius = 0;
    std::string title;  // the star's id and magnitudes, UTF-8
};

struct ChartDots {
    double width = 0, height = 0;  // of the chart, in its units
    std::vector<ChartDot> dots;    // faintest first, as drawn
};

ChartDots ReadChartDots(std::string_view svg);
// The title of the dot at a point of the chart, the one drawn last where they overlap, within a
// few units of small dots; nothing where there is none.
std::optional<std::string> DotAt(const ChartDots& chart, double x, double y);
