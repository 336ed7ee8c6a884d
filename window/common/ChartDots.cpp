// The dots of a finder chart read back from the SVG that draws them.
#include "ChartDots.h"

#include <cmath>
#include <utility>

#include "ChartShapes.h"

ChartDots ReadChartDots(std::string_view svg) {
    ChartDots chart;
    const std::size_t open = svg.find("<svg ");
    if (open == std::string_view::npos) return chart;
    const std::string_view head = svg.substr(open, svg.find('>', open) - open);
    chart.width = SvgNumber(head, "width").value_or(0);
    chart.height = SvgNumber(head, "height").value_or(0);
    constexpr std::string_view kDot = "<g><title>";
    for (std::size_t at = svg.find(kDot); at != std::string_view::npos;
         at = svg.find(kDot, at + 1)) {
        const std::size_t titleEnd = svg.find("</title>", at);
        const std::size_t circleEnd = svg.find("/>", titleEnd);
        if (titleEnd == std::string_view::npos || circleEnd == std::string_view::npos) break;
        const std::string_view circle = svg.substr(titleEnd, circleEnd - titleEnd);
        const auto x = SvgNumber(circle, "cx"), y = SvgNumber(circle, "cy");
        const auto r = SvgNumber(circle, "r");
        if (!x || !y || !r) continue;
        chart.dots.push_back(
            {*x, *y, *r, SvgText(svg.substr(at + kDot.size(), titleEnd - at - kDot.size()))});
    }
    return chart;
}

std::optional<std::string> DotAt(const ChartDots& chart, double x, double y) {
    // A small dot is found a few units around it, as a pointer rests near it.
    constexpr double kReach = 4.0;
    for (auto dot = chart.dots.rbegin(); dot != chart.dots.rend(); ++dot) {
        if (std::hypot(dot->x - x, dot->y - y) <= dot->radius + kReach) return dot->title;
    }
    return std::nullopt;
}
