// The decimal separator of a locale, for rendering numbers.
#pragma once

#include <locale>

#include "tychobvr/conversion.h"

namespace conversion {

// The locale's decimal point as one UTF-16 code unit; the period where it has none that fits.
char16_t DecimalSeparatorOf(const std::locale& locale);

}  // namespace conversion
