// AstroImageJ's and Siril's lists of a field: the target, then every usable star nearest first.
#include "PhotometryLists.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "tychobvr/conversion.h"

namespace {

void AppendDigits(std::string& text, std::int64_t value, int digits) {
    std::string written = std::to_string(value);
    if (written.size() < static_cast<std::size_t>(digits)) {
        text.append(static_cast<std::size_t>(digits) - written.size(), '0');
    }
    text += written;
}

// A magnitude as the row shows it.
std::string Magnitude(std::int64_t thousandths) {
    return conversion::FormatFixed(static_cast<double>(thousandths) / 1000.0, 3);
}

// The target: the nearest star marked as one, or nothing where none lies at the centre.
const FieldStar* TargetOf(const std::vector<FieldStar>& stars) {
    for (const FieldStar& star : stars) {
        if (star.target) return &star;
    }
    return nullptr;
}

// The name of a star where a comma would split a cell.
std::string WithoutCommas(std::string name) {
    for (char& c : name) {
        if (c == ',') c = ' ';
    }
    return name;
}

}  // namespace

namespace {

// A whole number of the smallest unit shown, `perSecond` to a second, as "05:35:17.300".
std::string Sexagesimal(std::int64_t units, std::int64_t perSecond, int fractionDigits) {
    std::string text;
    AppendDigits(text, units / (3600 * perSecond), 2);
    text += ':';
    AppendDigits(text, units / (60 * perSecond) % 60, 2);
    text += ':';
    AppendDigits(text, units / perSecond % 60, 2);
    text += '.';
    AppendDigits(text, units % perSecond, fractionDigits);
    return text;
}

}  // namespace

std::string HoursText(double raDegrees) {
    // Milliseconds of time, rounded once, so that no field rounds up to 60.
    constexpr std::int64_t kDay = 24LL * 3600 * 1000;
    std::int64_t ms = std::llround(raDegrees / 15.0 * 3600.0 * 1000.0) % kDay;
    if (ms < 0) ms += kDay;
    return Sexagesimal(ms, 1000, 3);
}

std::string DegreesText(double decDegrees) {
    // Hundredths of a second of arc.
    const std::int64_t centi = std::llround(std::fabs(decDegrees) * 3600.0 * 100.0);
    std::string text(1, decDegrees < 0.0 && centi != 0 ? '-' : '+');
    text += Sexagesimal(centi, 100, 2);
    return text;
}

std::string AstroImageJList(const std::vector<FieldStar>& stars, const ListOrigin& origin) {
    std::string list =
        "#RA in sexagesimal HOURS\n"
        "#Dec in sexagesimal DEGREES\n"
        "#Ref Star=0,1 (0=target star, 1=ref star)\n"
        "#Centroid=1 (1=centroid)\n"
        "#Apparent Magnitude (V, or 99.999 where none is known)\n"
        "#Comparison stars within " +
        origin.radiusText + " of " + origin.centreText + ", by TychoBVR" +
        (origin.criteria.empty() ? "" : "; " + origin.criteria) +
        "\n"
        "#RA, Dec, Ref Star, Centroid, Magnitude\n";
    const auto line = [&list](const SkyPosition& at, int reference, const std::string& magnitude) {
        list += HoursText(at.ra) + ", " + DegreesText(at.dec) + ", " + std::to_string(reference) +
                ", 1, " + magnitude + "\n";
    };
    const FieldStar* target = TargetOf(stars);
    if (target && target->V) {
        line(target->position, 0, Magnitude(*target->V));
    } else {
        line(target ? target->position : origin.centre, 0, "99.999");
    }
    for (const FieldStar& star : stars) {
        if (star.usable && star.V) line(star.position, 1, Magnitude(*star.V));
    }
    return list;
}

std::string SirilList(const std::vector<FieldStar>& stars, const ListOrigin& origin) {
    std::string list =
        "# Comparison stars within " + origin.radiusText + " of " + origin.centreText +
        ", from the Tycho-2 magnitudes, by TychoBVR\n" + "# Criteria: usable" +
        (origin.criteria.empty() ? "" : "; " + origin.criteria) + "\n" + "type,name,ra,dec,mag\n";
    const auto row = [&list](const char* type, const std::string& name, const SkyPosition& at,
                             const std::string& magnitude) {
        list += std::string(type) + "," + WithoutCommas(name) + "," +
                conversion::FormatFixed(at.ra, 6) + "," + conversion::FormatFixed(at.dec, 6) + "," +
                magnitude + "\n";
    };
    const FieldStar* target = TargetOf(stars);
    if (target) {
        row("Target", target->id.empty() ? "target" : target->id, target->position,
            target->V ? Magnitude(*target->V) : "");
    } else {
        row("Target", "target", origin.centre, "");
    }
    for (const FieldStar& star : stars) {
        if (star.usable && star.V) row("Comp1", star.id, star.position, Magnitude(*star.V));
    }
    return list;
}
