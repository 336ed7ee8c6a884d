// The finder chart: the field projected on the tangent plane, then the stars from the faintest up,
// each a group whose title names it, the labels placed where they hide nothing, and the title
// block and legend around. Every number is written with a fixed number of decimals by the same
// code on every platform.
#include "FinderChart.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <optional>

#include "tychobvr/conversion.h"

namespace {

constexpr double kRadians = std::numbers::pi / 180.0;
constexpr double kWidth = 760.0;
constexpr double kTop = 70.0;  // the title block above the chart
constexpr double kChartSize = 760.0;
constexpr double kLegendHeight = 70.0;
constexpr double kCircle = 340.0;  // the field's radius on the chart, in px
constexpr double kCentreX = kWidth / 2, kCentreY = kTop + kChartSize / 2;
constexpr double kCharWidth = 6.6, kTextHeight = 11.0;  // of the labels' 11 px type

std::string Number(double value) { return conversion::FormatFixed(value, 1); }

std::string Escaped(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

struct Point {
    double x = 0.0, y = 0.0;
};

// Gnomonic: the tangent plane at the centre, η north and ξ east, drawn north up and east left.
Point Projected(const SkyPosition& star, const SkyPosition& centre, double scale) {
    const double dRa = (star.ra - centre.ra) * kRadians;
    const double dec = star.dec * kRadians, dec0 = centre.dec * kRadians;
    const double cosine =
        std::sin(dec0) * std::sin(dec) + std::cos(dec0) * std::cos(dec) * std::cos(dRa);
    const double xi = std::cos(dec) * std::sin(dRa) / cosine;
    const double eta =
        (std::cos(dec0) * std::sin(dec) - std::sin(dec0) * std::cos(dec) * std::cos(dRa)) / cosine;
    return {kCentreX - xi * scale, kCentreY - eta * scale};
}

struct Box {
    double left, top, right, bottom;
    bool Overlaps(const Box& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
};

// The magnitude a dot's size follows: V, or VT where V is missing.
std::optional<double> Brightness(const FieldStar& star) {
    if (star.V) return static_cast<double>(*star.V) / 1000.0;
    if (star.VT) return static_cast<double>(*star.VT) / 1000.0;
    return std::nullopt;
}

std::string Magnitude(std::int64_t thousandths) {
    return conversion::FormatFixed(static_cast<double>(thousandths) / 1000.0, 3);
}

// The scale bar: the longest of these that fits in half the radius.
struct Length {
    double degrees;
    const char* text;
};
constexpr Length kLengths[] = {{10.0, "10°"},    {5.0, "5°"},        {2.0, "2°"},
                               {1.0, "1°"},      {0.5, "30′"},       {1 / 3.0, "20′"},
                               {1 / 6.0, "10′"}, {1 / 12.0, "5′"},   {1 / 30.0, "2′"},
                               {1 / 60.0, "1′"}, {1 / 120.0, "30″"}, {1 / 360.0, "10″"}};

}  // namespace

std::string ChartLabel(std::int64_t vThousandths) {
    // Half up: floor((V × 1000 + 50) / 100).
    const std::int64_t shifted = vThousandths + 50;
    const std::int64_t tenths = shifted >= 0 ? shifted / 100 : -((-shifted + 99) / 100);
    return std::to_string(tenths);
}

std::string FinderChart(const std::vector<FieldStar>& stars, const ChartField& field) {
    const double radius = std::min(field.radius, kLargestChartRadius);
    const double scale = kCircle / std::tan(radius * kRadians);
    const double height = kTop + kChartSize + kLegendHeight;

    std::optional<double> faintest;
    for (const FieldStar& star : stars) {
        if (const std::optional<double> m = Brightness(star)) {
            faintest = faintest ? std::max(*faintest, *m) : *m;
        }
    }
    // Dots from 1.2 px for the faintest to 9 px, 1.1 px a magnitude.
    const auto dotRadius = [&](const FieldStar& star) {
        const std::optional<double> m = Brightness(star);
        if (!m || !faintest) return 1.2;
        return std::clamp(1.2 + 1.1 * (*faintest - *m), 1.2, 9.0);
    };

    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
        Number(kWidth) + "\" height=\"" + Number(height) + "\" viewBox=\"0 0 " + Number(kWidth) +
        " " + Number(height) +
        "\" font-family=\"DejaVu Sans, Arial, sans-serif\" font-size=\"11\">\n"
        "<title>Finder chart of " +
        Escaped(field.centreText) + "</title>\n" + "<rect width=\"" + Number(kWidth) +
        "\" height=\"" + Number(height) + "\" fill=\"#ffffff\"/>\n";

    // The title block.
    std::string faintestText = "none";
    std::optional<std::int64_t> faintestV;
    for (const FieldStar& star : stars) {
        if (star.V && (!faintestV || *star.V > *faintestV)) faintestV = star.V;
    }
    if (faintestV) faintestText = Magnitude(*faintestV);
    svg += "<text x=\"20.0\" y=\"28.0\" font-size=\"16\" font-weight=\"bold\">" +
           Escaped(field.centreText) + "</text>\n";
    svg += "<text x=\"20.0\" y=\"50.0\" font-size=\"12\">radius " + Escaped(field.radiusText) +
           " · epoch " +
           (field.epochText.empty() ? std::string("as catalogued (J2000, 1991.25)")
                                    : Escaped(field.epochText)) +
           " · " + std::to_string(stars.size()) + (stars.size() == 1 ? " star" : " stars") +
           " · faintest V " + faintestText + "</text>\n";

    // The field's circle, the letters N and E, and the scale bar.
    svg += "<circle cx=\"" + Number(kCentreX) + "\" cy=\"" + Number(kCentreY) + "\" r=\"" +
           Number(kCircle) + "\" fill=\"none\" stroke=\"#999999\" stroke-width=\"1\"/>\n";
    svg += "<text x=\"" + Number(kCentreX) + "\" y=\"" + Number(kCentreY - kCircle - 8) +
           "\" text-anchor=\"middle\" font-size=\"14\" font-weight=\"bold\">N</text>\n";
    svg += "<text x=\"" + Number(kCentreX - kCircle - 14) + "\" y=\"" + Number(kCentreY + 5) +
           "\" text-anchor=\"middle\" font-size=\"14\" font-weight=\"bold\">E</text>\n";
    const Length* bar = &kLengths[std::size(kLengths) - 1];
    for (const Length& length : kLengths) {
        if (length.degrees <= radius / 2) {
            bar = &length;
            break;
        }
    }
    const double barPx = std::tan(bar->degrees * kRadians) * scale;
    const double barY = kTop + kChartSize - 20;
    svg += "<line x1=\"20.0\" y1=\"" + Number(barY) + "\" x2=\"" + Number(20 + barPx) + "\" y2=\"" +
           Number(barY) + "\" stroke=\"#000000\" stroke-width=\"2\"/>\n";
    svg += "<text x=\"" + Number(20 + barPx / 2) + "\" y=\"" + Number(barY - 6) +
           "\" text-anchor=\"middle\">" + bar->text + "</text>\n";

    // Where each star's dot lies, and what its label may not hide.
    std::vector<Point> points;
    std::vector<Box> taken;
    for (const FieldStar& star : stars) {
        const Point at = Projected(star.position, field.centre, scale);
        points.push_back(at);
        const double r = dotRadius(star) + 1;
        taken.push_back({at.x - r, at.y - r, at.x + r, at.y + r});
        // The marks around a dot: the target's crosshair, a variable's ring and name.
        if (star.target)
            taken.push_back({at.x - r - 14, at.y - r - 14, at.x + r + 14, at.y + r + 14});
        if (!star.variable.empty()) {
            taken.push_back({at.x - r - 4, at.y - r - 4, at.x + r + 4, at.y + r + 4});
            const double w = kCharWidth * static_cast<double>(star.variable.size());
            taken.push_back({at.x + r + 5, at.y + r + 3, at.x + r + 6 + w, at.y + r + 15});
        }
    }
    // From the faintest to the brightest, so that a bright dot is never hidden.
    std::vector<std::size_t> order(stars.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return dotRadius(stars[a]) < dotRadius(stars[b]);
    });
    for (const std::size_t i : order) {
        const FieldStar& star = stars[i];
        const Point at = points[i];
        const double r = dotRadius(star);
        std::string title = star.id.empty() ? std::string("star") : star.id;
        if (star.V) title += " V " + Magnitude(*star.V);
        if (star.BMinusV) title += " B−V " + Magnitude(*star.BMinusV);
        if (!star.V && star.VT) title += " VT " + Magnitude(*star.VT);
        if (!star.variable.empty()) title += " variable " + star.variable;
        svg += "<g><title>" + Escaped(title) + "</title><circle cx=\"" + Number(at.x) + "\" cy=\"" +
               Number(at.y) + "\" r=\"" + Number(r) + "\" fill=\"#000000\"/>";
        if (star.companion) {
            svg += "<line x1=\"" + Number(at.x - r - 4) + "\" y1=\"" + Number(at.y) + "\" x2=\"" +
                   Number(at.x + r + 4) + "\" y2=\"" + Number(at.y) +
                   "\" stroke=\"#000000\" stroke-width=\"1.5\"/>";
        }
        if (!star.variable.empty()) {
            svg += "<circle cx=\"" + Number(at.x) + "\" cy=\"" + Number(at.y) + "\" r=\"" +
                   Number(r + 4) + "\" fill=\"none\" stroke=\"#c00000\" stroke-width=\"1.2\"/>";
            svg += "<text x=\"" + Number(at.x + r + 6) + "\" y=\"" + Number(at.y + r + 14) +
                   "\" fill=\"#c00000\">" + Escaped(star.variable) + "</text>";
        }
        if (star.target) {
            for (const auto& [x1, y1, x2, y2] :
                 {std::array{at.x - r - 14, at.y, at.x - r - 4, at.y},
                  std::array{at.x + r + 4, at.y, at.x + r + 14, at.y},
                  std::array{at.x, at.y - r - 14, at.x, at.y - r - 4},
                  std::array{at.x, at.y + r + 4, at.x, at.y + r + 14}}) {
                svg += "<line x1=\"" + Number(x1) + "\" y1=\"" + Number(y1) + "\" x2=\"" +
                       Number(x2) + "\" y2=\"" + Number(y2) +
                       "\" stroke=\"#0050c0\" stroke-width=\"2\"/>";
            }
        }
        if (star.usable && star.V) {
            const std::string label = ChartLabel(*star.V);
            const double w = kCharWidth * static_cast<double>(label.size());
            const double gap = r + 2;
            // Right, left, above, below, then the corners: the first that hides nothing.
            const Point offsets[] = {{gap, 4},         {-gap - w, 4},
                                     {-w / 2, -gap},   {-w / 2, gap + kTextHeight - 2},
                                     {gap, -gap},      {gap, gap + kTextHeight - 2},
                                     {-gap - w, -gap}, {-gap - w, gap + kTextHeight - 2}};
            Point place{at.x + offsets[0].x, at.y + offsets[0].y};
            for (const Point& offset : offsets) {
                const Box box{at.x + offset.x, at.y + offset.y - kTextHeight + 2,
                              at.x + offset.x + w, at.y + offset.y + 1};
                if (std::none_of(taken.begin(), taken.end(),
                                 [&](const Box& other) { return box.Overlaps(other); })) {
                    place = {at.x + offset.x, at.y + offset.y};
                    break;
                }
            }
            taken.push_back({place.x, place.y - kTextHeight + 2, place.x + w, place.y + 1});
            svg += "<text x=\"" + Number(place.x) + "\" y=\"" + Number(place.y) + "\">" + label +
                   "</text>";
        }
        svg += "</g>\n";
    }

    // The legend.
    const double legendY = kTop + kChartSize + 22;
    svg += "<text x=\"20.0\" y=\"" + Number(legendY) +
           "\">Dots by brightness (V, or VT where V is missing) · 95: a comparison star of V 9.5"
           " · <tspan fill=\"#0050c0\">+</tspan> target · <tspan fill=\"#c00000\">○</tspan>"
           " known variable · — double</text>\n";
    svg += "<text x=\"20.0\" y=\"" + Number(legendY + 18) +
           "\">North up, east left; gnomonic projection about the centre" +
           std::string(field.epochText.empty()
                           ? ""
                           : "; stars without a proper motion are where the catalogue puts them") +
           ".</text>\n";
    svg += "</svg>\n";
    return svg;
}
