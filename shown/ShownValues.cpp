#include "ShownValues.h"

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
