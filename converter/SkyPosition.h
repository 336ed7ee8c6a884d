// Positions on the sky: read from a table's cells and from what a user types, the separation
// and position angle between two of them, and a position written as observers write it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Right ascension and declination in degrees, 0 ≤ ra < 360 and −90 ≤ dec ≤ +90.
struct SkyPosition {
    double ra = 0.0;
    double dec = 0.0;
};

// A cell's right ascension: decimal degrees, or hours as VizieR writes them ("05 35 17.30",
// "05:35:17.30", "05 35.3"). Nothing for a blank cell or anything else.
template <typename Char>
std::optional<double> ReadCellRightAscension(std::basic_string_view<Char> cell);
// A cell's declination: decimal degrees, or degrees, minutes and seconds ("-05 23 28.0",
// "-05:23:28", "+05 23.5").
template <typename Char>
std::optional<double> ReadCellDeclination(std::basic_string_view<Char> cell);

// Why a text a user typed is no position.
enum class PositionFault { None, NotAPosition, RightAscensionRange, DeclinationRange, Sixty };

// A position as a user types it, read strictly: RA and Dec separated by blanks or by one comma,
// each in decimal degrees ("83.8221 -5.3911", "8 +20") or sexagesimal, RA in hours and Dec in
// degrees ("05 35 17.3 -05 23 28", "05:35:17.3 -05:23:28", "5h35m17.3s -5d23m28s").
std::optional<SkyPosition> ReadTypedPosition(std::string_view text, PositionFault& fault);

// The great-circle distance in degrees, exact near 0 and near 180 alike.
double SeparationDegrees(const SkyPosition& from, const SkyPosition& to);
// The direction from `from` to `to` in degrees east of north, 0 ≤ angle < 360; 0 where the two
// are the same.
double PositionAngleDegrees(const SkyPosition& from, const SkyPosition& to);

// The position in hours and degrees as "05 35 17.3 −05 23 28", with the minus sign.
std::u16string PositionText(const SkyPosition& position);
