// A text colour that stands out as a warning and stays legible on the window's background.
#pragma once

// A colour as 8-bit sRGB channels.
struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The WCAG contrast ratio of two colours, from 1 (the same luminance) to 21 (black on white).
double ContrastRatio(Rgb a, Rgb b);

// A red with a contrast of at least 4.5 : 1 with the background: darker on a light
// background, lighter on a dark one.
Rgb WarningColour(Rgb background);
