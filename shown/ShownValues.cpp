#include "ShownValues.h"

#include <array>
#include <string>

long long ShownUnits(double value, int decimals) {
    // Magnitudes, as most are: their thousandths as WriteFixed rounds them, without their text.
    if (long long thousandths; decimals == 3 && conversion::ShownThousandths(value, thousandths)) {
        return thousandths;
    }
    std::array<char, conversion::kMostFixedChars + 8> buffer;
    std::string general;
    std::string_view text;
    if (const char* end = conversion::WriteFixed(buffer.data(), value, decimals)) {
        text = std::string_view(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    } else {
        general = conversion::FormatFixed(value, decimals);
        text = general;
    }
    long long units = 0;
    for (const char c : text) {
        if (c >= '0' && c <= '9') units = units * 10 + (c - '0');
    }
    return !text.empty() && text.front() == '-' ? -units : units;
}

ShownValues ValuesFor(const conversion::TaggedValues& values) {
    ShownValues shown;
    shown.line = conversion::ConvertMagnitudes(values.BT, values.VT);
    shown.colourIndex = values.BT - values.VT;
    shown.bessell = conversion::ConvertBessell2000(values.BT, values.VT);
    shown.henden = conversion::ConvertHendenRI(values.BT, values.VT);
    shown.extrapolated = !conversion::IsWithinFits(values.BT, values.VT);
    shown.faint = values.VT > conversion::kFaintTycho2VT;
    return shown;
}
