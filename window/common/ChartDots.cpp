// The dots of a finder chart read back from the SVG that draws them.
#include "ChartDots.h"

#include <cmath>
#include <utility>

#include "tychobvr/conversion.h"

namespace {

// The number in the attribute `name="…"` of the element's text.
std::optional<double> Attribute(std::string_view text, std::string_view name) {
    for (std::size_t at = text.find(name); at != std::string_view::npos;
         at = text.find(name, at + 1)) {
        const std::size_t value = at + name.size();
        if (at == 0 || text[at - 1] != ' ' || text.substr(value, 2) != "=\"") continue;
        const std::size_t end = text.find('"', value + 2);
        if (end == std::string_view::npos) return std::nullopt;
        return conversion::ReadDecimal(text.substr(value + 2, end - value - 2));
    }
    return std::nullopt;
}

// The text of an element, its five entities undone.
std::string Unescaped(std::string_view text) {
    static constexpr std::pair<std::string_view, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string out;
    while (!text.empty()) {
        bool undone = false;
        for (const auto& [entity, c] : kEntities) {
            if (text.starts_with(entity)) {
                out += c;
                text.remove_prefix(entity.size());
                undone = true;
                break;
            }
        }
        if (!undone) {
            out += text.front();
            text.remove_prefix(1);
        }
    }
    return out;
}

}  // namespace

ChartDots ReadChartDots(std::string_view svg) {
    ChartDots chart;
    const std::size_t open = svg.find("<svg ");
    if (open == std::string_view::npos) return chart;
    const std::string_view head = svg.substr(open, svg.find('>', open) - open);
    chart.width = Attribute(head, "width").value_or(0);
    chart.height = Attribute(head, "height").value_or(0);
    constexpr std::string_view kDot = "<g><title>";
    for (std::size_t at = svg.find(kDot); at != std::string_view::npos;
         at = svg.find(kDot, at + 1)) {
        const std::size_t titleEnd = svg.find("</title>", at);
        const std::size_t circleEnd = svg.find("/>", titleEnd);
        if (titleEnd == std::string_view::npos || circleEnd == std::string_view::npos) break;
        const std::string_view circle = svg.substr(titleEnd, circleEnd - titleEnd);
        const auto x = Attribute(circle, "cx"), y = Attribute(circle, "cy");
        const auto r = Attribute(circle, "r");
        if (!x || !y || !r) continue;
        chart.dots.push_back(
            {*x, *y, *r, Unescaped(svg.substr(at + kDot.size(), titleEnd - at - kDot.size()))});
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
