// A finder chart's shapes read back from its SVG, for a window that draws it without an SVG
// renderer of the system's: the rectangles, circles, lines and texts that the chart is made of,
// in the chart's own units.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ChartShape {
    enum class Kind { Rect, Circle, Line, Text };
    Kind kind = Kind::Rect;
    double x = 0, y = 0;  // a rectangle's corner, a circle's centre, a line's start, a text's place
    double x2 = 0, y2 = 0;  // a line's end
    double width = 0, height = 0, radius = 0;
    std::optional<std::uint32_t> fill, stroke;  // 0xRRGGBB; none where not painted
    double strokeWidth = 1;
    double fontSize = 11;
    bool bold = false;
    enum class Anchor { Start, Middle, End } anchor = Anchor::Start;
    std::string text;  // UTF-8, its inner spans' texts run together
};

std::vector<ChartShape> ReadChartShapes(std::string_view svg);

// The chart's SVG read piece by piece: the value of a tag's attribute, and an element's text with
// its inner tags dropped and its entities undone.
std::optional<std::string_view> SvgAttribute(std::string_view tag, std::string_view name);
std::optional<double> SvgNumber(std::string_view tag, std::string_view name);
std::string SvgText(std::string_view inner);
