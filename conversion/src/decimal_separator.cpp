#include "decimal_separator.h"

#include <cstdlib>
#include <exception>
#include <locale>

namespace conversion {

char16_t DecimalSeparatorOf(const std::locale& locale) {
    // The wide facet, since a narrow one gives only the first byte of a multi-byte point.
    if (!std::has_facet<std::numpunct<wchar_t>>(locale)) return u'.';
    const auto point =
        static_cast<unsigned long>(std::use_facet<std::numpunct<wchar_t>>(locale).decimal_point());
    const bool fitsOneUnit = point != 0 && point <= 0xFFFF && (point < 0xD800 || point > 0xDFFF);
    return fitsOneUnit ? static_cast<char16_t>(point) : u'.';
}

// Windows has its own, in user_decimal_separator_windows.cpp.
#ifndef _WIN32

namespace {

// The name the numeric category takes from the environment, in the order POSIX gives, or
// "" to let the platform pick the user's default.
const char* NumericLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* name = std::getenv(variable);
        if (name != nullptr && *name != '\0') return name;
    }
    return "";
}

char16_t ReadUserDecimalSeparator() {
    try {
        return DecimalSeparatorOf(std::locale(NumericLocaleName()));
    } catch (const std::exception&) {
        return u'.';  // a locale that is unknown or not installed
    }
}

}  // namespace

char16_t UserDecimalSeparator() {
    static const char16_t separator = ReadUserDecimalSeparator();
    return separator;
}

#endif

}  // namespace conversion
