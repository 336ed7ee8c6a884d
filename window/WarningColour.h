// A text colour that stands out as a warning and stays legible on the window's background.
#pragma once

#include <QColor>

// The WCAG contrast ratio of two colours, from 1 (the same luminance) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);

// A red with a contrast of at least 4.5 : 1 with the background: darker on a light
// background, lighter on a dark one.
QColor WarningColour(const QColor& background);
