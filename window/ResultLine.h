// What a press does with the text box's contents, apart from the widgets.
#pragma once

#include <QString>

// The text box hands lines back with a bare line feed between them, but the number reading
// removes line feeds and relies on the carriage return to stop a number at a line end.
QString WithCrLfLineEnds(const QString& text);

// What the label shows for a text: the result line and, when the line gives magnitudes, a
// tooltip that says what they rest on and whether they are extrapolated.
struct Result {
    QString line;
    QString toolTip;
    bool extrapolated = false;
};

// The result for a text, with the decimal separator of the user's locale.
Result ResultFor(const QString& text);
