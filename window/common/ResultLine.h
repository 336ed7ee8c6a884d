// What a press shows for a text, whatever the window toolkit.
#pragma once

#include <string>
#include <string_view>

#include "ShownValues.h"
#include "Texts.h"
#include "tychobvr/conversion.h"

// The text with every line break, CR LF, a bare LF or a bare CR, written as CR LF. The number
// reading removes line feeds and relies on the carriage return to stop a number at a line end,
// and a Windows edit control shows a bare LF as no break at all.
std::u16string WithCrLfLineEnds(std::u16string_view text);

// What the label shows for a text: the result line and, when the line gives magnitudes, a
// tooltip that says what they rest on and whether they are extrapolated.
struct Result {
    std::u16string line;
    std::u16string toolTip;      // lines joined by '\n'; empty when the line gives no magnitudes
    std::u16string description;  // for screen readers
    bool extrapolated = false;
};

// The result for a text, with numbers written with the decimal separator given.
Result ResultFor(std::u16string_view text, char16_t decimalSeparator,
                 const Texts& texts = EnglishTexts());

// What the label shows when the text could not be fetched: only the message.
Result MessageResult(std::u16string_view message, const Texts& texts = EnglishTexts());
