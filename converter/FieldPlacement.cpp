// Telling a catalogue record far outside the field from its bytes alone.
#include "FieldPlacement.h"

namespace {

[[gnu::always_inline]] inline std::string_view CellAt(std::string_view record, const Field& at) {
    return at.size == 0 || at.begin >= record.size() ? std::string_view()
                                                     : Trimmed(record.substr(at.begin, at.size));
}

}  // namespace

bool FarOutsideField(const RecordLayout& layout, std::string_view record, const NearField& field,
                     bool& lacking, bool& positioned) {
    const auto cell = [record](const Field& at) { return CellAt(record, at); };
    std::string_view ra = cell(layout.ra), dec = cell(layout.dec);
    if ((ra.empty() || dec.empty()) && layout.ra2.size != 0) {
        ra = cell(layout.ra2);
        dec = cell(layout.dec2);
    }
    // The whole degrees alone bound the declination: "-45.3" lies from -46 to -45.
    std::size_t at = dec.size() > 0 && (dec[0] == '-' || dec[0] == '+') ? 1 : 0;
    int whole = 0, digits = 0;
    for (; at < dec.size() && dec[at] >= '0' && dec[at] <= '9' && digits < 3; ++at, ++digits) {
        whole = whole * 10 + (dec[at] - '0');
    }
    if (digits == 0 || at == dec.size() || dec[at] != '.' || whole >= 90) return false;
    // The rest must be digits, so that the cell reads as the number it seems to be, as
    // PlaceInField's rough reading takes it: anything else is left to be read, and named, there.
    for (++at; at < dec.size(); ++at, ++digits) {
        if (dec[at] < '0' || dec[at] > '9' || digits == 15) return false;
    }
    const double low = dec[0] == '-' ? -(whole + 1.0) : whole;
    const double high = low + 1.0;
    if (high >= field.centre.dec - field.radius && low <= field.centre.dec + field.radius) {
        return false;
    }
    const std::string_view hp = layout.hpFlag.size != 0 ? cell(layout.hpFlag) : std::string_view();
    lacking = hp == "H" || cell(layout.BT).empty() || cell(layout.VT).empty();
    positioned = !ra.empty();
    return true;
}
