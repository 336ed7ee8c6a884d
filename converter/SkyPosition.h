// Positions on the sky read from a table's cells and from what a user types.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "SkyGeometry.h"

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
