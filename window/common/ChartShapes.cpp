// The finder chart's own SVG read back into shapes: only the elements and attributes that the
// chart writes.
#include "ChartShapes.h"

#include <charconv>

#include "tychobvr/conversion.h"

std::optional<std::string_view> SvgAttribute(std::string_view tag, std::string_view name) {
    for (std::size_t at = tag.find(name); at != std::string_view::npos;
         at = tag.find(name, at + 1)) {
        const std::size_t value = at + name.size();
        if (at == 0 || tag[at - 1] != ' ' || tag.substr(value, 2) != "=\"") continue;
        const std::size_t end = tag.find('"', value + 2);
        if (end == std::string_view::npos) return std::nullopt;
        return tag.substr(value + 2, end - value - 2);
    }
    return std::nullopt;
}

std::optional<double> SvgNumber(std::string_view tag, std::string_view name) {
    const auto text = SvgAttribute(tag, name);
    if (!text) return std::nullopt;
    return conversion::ReadDecimal(*text);
}

namespace {

double Number(std::string_view tag, std::string_view name, double otherwise = 0) {
    return SvgNumber(tag, name).value_or(otherwise);
}

std::optional<std::uint32_t> Colour(std::string_view tag, std::string_view name,
                                    std::optional<std::uint32_t> otherwise) {
    const auto text = SvgAttribute(tag, name);
    if (!text) return otherwise;
    if (text->size() != 7 || text->front() != '#') return std::nullopt;  // "none"
    std::uint32_t value = 0;
    std::from_chars(text->data() + 1, text->data() + 7, value, 16);
    return value;
}

}  // namespace

std::string SvgText(std::string_view inner) {
    static constexpr std::pair<std::string_view, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string out;
    while (!inner.empty()) {
        if (inner.front() == '<') {
            const std::size_t end = inner.find('>');
            inner.remove_prefix(end == std::string_view::npos ? inner.size() : end + 1);
            continue;
        }
        bool undone = false;
        for (const auto& [entity, c] : kEntities) {
            if (inner.starts_with(entity)) {
                out += c;
                inner.remove_prefix(entity.size());
                undone = true;
                break;
            }
        }
        if (!undone) {
            out += inner.front();
            inner.remove_prefix(1);
        }
    }
    return out;
}

std::vector<ChartShape> ReadChartShapes(std::string_view svg) {
    std::vector<ChartShape> shapes;
    constexpr std::uint32_t kBlack = 0x000000;
    for (std::size_t at = svg.find('<'); at != std::string_view::npos; at = svg.find('<', at + 1)) {
        const std::size_t close = svg.find('>', at);
        if (close == std::string_view::npos) break;
        const std::string_view tag = svg.substr(at, close - at);
        ChartShape shape;
        if (tag.starts_with("<rect ")) {
            shape.kind = ChartShape::Kind::Rect;
            shape.x = Number(tag, "x");
            shape.y = Number(tag, "y");
            shape.width = Number(tag, "width");
            shape.height = Number(tag, "height");
            shape.fill = Colour(tag, "fill", kBlack);
            shape.stroke = Colour(tag, "stroke", std::nullopt);
        } else if (tag.starts_with("<circle ")) {
            shape.kind = ChartShape::Kind::Circle;
            shape.x = Number(tag, "cx");
            shape.y = Number(tag, "cy");
            shape.radius = Number(tag, "r");
            shape.fill = Colour(tag, "fill", kBlack);
            shape.stroke = Colour(tag, "stroke", std::nullopt);
        } else if (tag.starts_with("<line ")) {
            shape.kind = ChartShape::Kind::Line;
            shape.x = Number(tag, "x1");
            shape.y = Number(tag, "y1");
            shape.x2 = Number(tag, "x2");
            shape.y2 = Number(tag, "y2");
            shape.fill.reset();
            shape.stroke = Colour(tag, "stroke", std::nullopt);
        } else if (tag.starts_with("<text ")) {
            shape.kind = ChartShape::Kind::Text;
            shape.x = Number(tag, "x");
            shape.y = Number(tag, "y");
            shape.fontSize = Number(tag, "font-size", 11);
            shape.bold =
                SvgAttribute(tag, "font-weight") == std::optional<std::string_view>("bold");
            const auto anchor = SvgAttribute(tag, "text-anchor");
            if (anchor == "middle") shape.anchor = ChartShape::Anchor::Middle;
            if (anchor == "end") shape.anchor = ChartShape::Anchor::End;
            shape.fill = Colour(tag, "fill", kBlack);
            const std::size_t end = svg.find("</text>", close);
            if (end == std::string_view::npos) break;
            shape.text = SvgText(svg.substr(close + 1, end - close - 1));
            at = end;
        } else {
            continue;
        }
        shape.strokeWidth = Number(tag, "stroke-width", 1);
        shapes.push_back(std::move(shape));
    }
    return shapes;
}
