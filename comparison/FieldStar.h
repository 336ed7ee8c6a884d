// A star of a field as the comparison-star work sees it: what the table's row shows of it, as
// plain values, for the lists of photometry programs and the chart.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "SkyGeometry.h"

struct FieldStar {
    std::string id;        // as the row shows it: "TYC 3995-1479-1", "HIP 1", a table's name
    SkyPosition position;  // degrees
    std::optional<std::int64_t> V, BMinusV;  // as shown, in thousandths of a magnitude
    std::optional<std::int64_t> VT;          // as read, in thousandths
    bool usable = false;
    bool target = false;
    bool companion = false;  // "double"
    std::string variable;    // the list's name and type where a list calls it variable
};
