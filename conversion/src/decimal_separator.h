// The decimal separator of a locale, for rendering numbers.
#pragma once

#include <locale>

namespace conversion {

// The locale's decimal point as one UTF-16 code unit; the period where it has none that fits.
char16_t DecimalSeparatorOf(const std::locale& locale);

// The separator of the user's numeric locale, read once; the period where that locale is
// the C locale, unknown or not installed.
char16_t UserDecimalSeparator();

}  // namespace conversion
