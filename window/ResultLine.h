// What a press does with the text box's contents, apart from the widgets.
#pragma once

#include <QString>

// The text box hands lines back with a bare line feed between them, but the number reading
// removes line feeds and relies on the carriage return to stop a number at a line end.
QString WithCrLfLineEnds(const QString& text);

// The result line for a text, with the decimal separator of the user's locale.
QString ResultLine(const QString& text);
