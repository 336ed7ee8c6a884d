// On Windows the user's decimal separator comes from the regional settings: the C++ library of
// mingw-w64 knows only the C locale. A file of its own, so that the program does not link the
// C++ locales it never uses.
#include <windows.h>

#include "tychobvr/conversion.h"

namespace conversion {

char16_t UserDecimalSeparator() {
    static const char16_t separator = [] {
        wchar_t point[4] = {};  // at most three characters and the terminating null
        const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, point, 4);
        return length == 2 ? static_cast<char16_t>(point[0]) : u'.';
    }();
    return separator;
}

}  // namespace conversion
