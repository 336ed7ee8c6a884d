// Whether a star lies in the field of --near, judged on its position before anything else of it
// is read: at once from a catalogue record's bytes, or from the cells of its position.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "Catalogue.h"
#include "Selection.h"
#include "ShownValues.h"
#include "SkyPosition.h"

// Where a star lies against the field of --near: nothing when it lies outside or has no
// position, which is decided before anything else of the star is read.
struct InField {
    double separation = 0.0;  // arcminutes
    double angle = 0.0;       // degrees east of north
    SkyPosition position;     // the star's own, at the epoch of --epoch where it moved
    SkyPosition catalogue;    // as the source gives it
    bool moved = false;       // by its proper motion
};

// A cell of decimal degrees such as " -5.39111111", near enough its value to tell a star far
// outside a field at once: digits as a whole number, scaled once. Nothing for any other cell,
// which is then read exactly.
template <typename Char>
inline std::optional<double> RoughDegrees(std::basic_string_view<Char> cell) {
    std::size_t at = 0;
    while (at < cell.size() && cell[at] == Char(' ')) ++at;
    const bool negative = at < cell.size() && cell[at] == Char('-');
    if (at < cell.size() && (cell[at] == Char('-') || cell[at] == Char('+'))) ++at;
    std::uint64_t digits = 0;
    int count = 0, decimals = -1;
    for (; at < cell.size() && count < 15; ++at) {
        const Char c = cell[at];
        if (c >= Char('0') && c <= Char('9')) {
            digits = digits * 10 + static_cast<std::uint64_t>(c - Char('0'));
            ++count;
            if (decimals >= 0) ++decimals;
        } else if (c == Char('.') && decimals < 0) {
            decimals = 0;
        } else {
            break;
        }
    }
    while (at < cell.size() && cell[at] == Char(' ')) ++at;
    if (count == 0 || at != cell.size()) return std::nullopt;
    static constexpr double kTens[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const double value = static_cast<double>(digits) / kTens[decimals < 0 ? 0 : decimals];
    return negative ? -value : value;
}

// Whether a catalogue record's star lies, beyond doubt, farther north or south of the field than
// its radius, as PlaceInField would find: such a star is only counted, as a row's star would be.
// `lacking` says whether it lacks BT or VT, `positioned` whether it has a position.
bool FarOutsideField(const RecordLayout& layout, std::string_view record, const NearField& field,
                     bool& lacking, bool& positioned);

// The star's place in the field from the cells of its position; nothing where it lies outside or
// has none. A star with a position is counted in `positioned`; a cell that is no position is
// named by its column through `complain`. `move` gives where the star has moved to from where
// the cells put it, or nothing where it stays; it moves `reach` degrees at the most.
template <typename Char, typename Complain, typename Move>
inline std::optional<InField> PlaceInField(const NearField& field,
                                           std::basic_string_view<Char> raCell,
                                           std::basic_string_view<Char> decCell,
                                           std::u16string_view raName, std::u16string_view decName,
                                           std::uint64_t& positioned, Complain complain,
                                           double reach, Move move) {
    // Declination first: a star farther north or south than it can reach the field from is out
    // at once. The rough reading is off by far less than the margin.
    if (const std::optional<double> rough = RoughDegrees(decCell);
        rough && std::fabs(*rough) <= 90.0 &&
        std::fabs(*rough - field.centre.dec) > field.radius + reach + 1e-9) {
        if (!raCell.empty()) ++positioned;
        return std::nullopt;
    }
    const std::optional<double> dec = ReadCellDeclination(decCell);
    if (!dec) {
        if (!decCell.empty()) complain(decName, decCell);
        return std::nullopt;
    }
    if (std::fabs(*dec - field.centre.dec) > field.radius + reach) {
        if (!raCell.empty()) ++positioned;
        return std::nullopt;
    }
    const std::optional<double> ra = ReadCellRightAscension(raCell);
    if (!ra) {
        if (!raCell.empty()) complain(raName, raCell);
        return std::nullopt;
    }
    ++positioned;
    const SkyPosition catalogue{*ra, *dec};
    const std::optional<SkyPosition> moved = move(catalogue);
    const SkyPosition star = moved.value_or(catalogue);
    const double separation = SeparationDegrees(field.centre, star);
    if (separation > field.radius) return std::nullopt;
    InField placed{separation * 60.0, PositionAngleDegrees(field.centre, star), star, catalogue,
                   moved.has_value()};
    // 359.96° is shown as 360.0, which is north again.
    if (ShownUnits(placed.angle, 1) == 3600) placed.angle = 0.0;
    return placed;
}

// The same for a star that stays where its cells put it.
template <typename Char, typename Complain>
inline std::optional<InField> PlaceInField(const NearField& field,
                                           std::basic_string_view<Char> raCell,
                                           std::basic_string_view<Char> decCell,
                                           std::u16string_view raName, std::u16string_view decName,
                                           std::uint64_t& positioned, Complain complain) {
    return PlaceInField(field, raCell, decCell, raName, decName, positioned, complain, 0.0,
                        [](const SkyPosition&) { return std::optional<SkyPosition>(); });
}
