// The texts in the user's interface language, and Qt's own translations for it.
#pragma once

#include <string_view>

#include "Texts.h"

class QCoreApplication;
class QString;

// Read once, from the first of the user's interface languages.
const Texts& UserTexts();

// Qt's own texts in the user's language, the text box's context menu among them, where Qt has
// them translated.
void LoadQtTranslations(QCoreApplication& application);

// A text of the catalogue as a QString, and a QString's characters as the shared code takes them.
QString ToQString(std::u16string_view text);
std::u16string_view ToView(const QString& text);
