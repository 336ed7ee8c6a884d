#include "UserTexts.h"

#include <windows.h>

#include <string>

const Texts& UserTexts() {
    static const Texts& texts = []() -> const Texts& {
        wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
        const LCID language = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
        const int length = LCIDToLocaleName(language, name, LOCALE_NAME_MAX_LENGTH, 0);
        // Locale names such as "ja-JP" are ASCII.
        const std::string ascii(name, name + (length > 0 ? length - 1 : 0));
        return TextsFor(ascii);
    }();
    return texts;
}
