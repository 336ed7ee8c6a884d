#include "ResultLine.h"

#include <algorithm>
#include <cstddef>

#include "tychobvr/conversion.h"

namespace {

constexpr std::u16string_view kShown = u"#0.000";

// A number for the tooltip, negative ones with the minus sign rather than the hyphen-minus.
std::u16string ForToolTip(std::u16string text) {
    if (!text.empty() && text.front() == u'-') text.front() = u'−';
    return text;
}

std::u16string Constant(double value, std::u16string_view picture, char16_t separator) {
    return ForToolTip(conversion::FormatWithPicture(value, picture, separator));
}

void AppendLine(std::u16string& lines, std::u16string_view line) {
    if (!lines.empty()) lines += u'\n';
    lines += line;
}

std::u16string ToolTip(const ShownNumbers& numbers, char16_t separator, const Texts& texts) {
    std::u16string lines;
    if (numbers.extrapolated) {
        AppendLine(lines, texts.extrapolatedFirstLine);
        AppendLine(lines, texts.extrapolatedSecondLine);
    }
    if (numbers.faint) {
        AppendLine(lines,
                   Substitute(texts.faint, Constant(conversion::kFaintTycho2VT, u"#0.0", separator)));
    }
    AppendLine(lines, Substitute(texts.colourIndex, ForToolTip(numbers.colourIndex)));
    if (!numbers.bessellV.empty()) {
        AppendLine(lines, Substitute(texts.bessell, ForToolTip(numbers.bessellV),
                                     ForToolTip(numbers.bessellBMinusV)));
    } else {
        AppendLine(lines,
                   Substitute(texts.bessellOutside,
                              Constant(conversion::kBessellLowestColourIndex, u"#0.00", separator),
                              Constant(conversion::kBessellHighestColourIndex, u"#0.00", separator)));
    }
    AppendLine(lines, Substitute(texts.henden, ForToolTip(numbers.hendenR),
                                 ForToolTip(numbers.hendenI)));
    AppendLine(lines, Substitute(texts.fitsRange,
                                 Constant(conversion::kFitsLowestColourIndex, u"#0.0", separator),
                                 Constant(conversion::kFitsHighestColourIndex, u"#0.0", separator)));
    AppendLine(lines, texts.rApproximation);
    return lines;
}

}  // namespace

std::u16string WithCrLfLineEnds(std::u16string_view text) {
    // At most one unit is added per break: a bare LF or a bare CR gains its partner.
    const auto breaks = static_cast<std::size_t>(std::count(text.begin(), text.end(), u'\n') +
                                                 std::count(text.begin(), text.end(), u'\r'));
    if (breaks == 0) return std::u16string(text);
    std::u16string result(text.size() + breaks, u'\0');
    char16_t* out = result.data();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c != u'\n' && c != u'\r') {
            *out++ = c;
            continue;
        }
        *out++ = u'\r';
        *out++ = u'\n';
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    }
    result.resize(static_cast<std::size_t>(out - result.data()));
    return result;
}

ShownNumbers NumbersFor(const conversion::TaggedValues& values, char16_t decimalSeparator) {
    const auto shown = [decimalSeparator](double value) {
        return conversion::FormatWithPicture(value, kShown, decimalSeparator);
    };
    const conversion::ConvertedMagnitudes m = conversion::ConvertMagnitudes(values.BT, values.VT);
    ShownNumbers numbers;
    numbers.B = shown(m.B);
    numbers.V = shown(m.V);
    numbers.R = shown(m.R);
    numbers.colourIndex = shown(values.BT - values.VT);
    if (const auto bessell = conversion::ConvertBessell2000(values.BT, values.VT)) {
        numbers.bessellV = shown(bessell->V);
        numbers.bessellBMinusV = shown(bessell->BMinusV);
    }
    const conversion::HendenMagnitudes henden = conversion::ConvertHendenRI(values.BT, values.VT);
    numbers.hendenR = shown(henden.R);
    numbers.hendenI = shown(henden.I);
    numbers.extrapolated = !conversion::IsWithinFits(values.BT, values.VT);
    numbers.faint = values.VT > conversion::kFaintTycho2VT;
    return numbers;
}

Result ResultFor(std::u16string_view text, char16_t decimalSeparator, const Texts& texts) {
    const conversion::TaggedValues values = conversion::ScanTaggedValues(text);
    Result result;
    result.line = conversion::BuildResultText(values, decimalSeparator);
    if (conversion::ResultKindOf(values) == conversion::ResultKind::Magnitudes) {
        const ShownNumbers numbers = NumbersFor(values, decimalSeparator);
        result.extrapolated = numbers.extrapolated;
        result.toolTip = ToolTip(numbers, decimalSeparator, texts);
    }
    result.description = std::u16string(result.extrapolated ? texts.extrapolatedDescription
                                                            : texts.resultDescription);
    return result;
}

Result MessageResult(std::u16string_view message, const Texts& texts) {
    Result result;
    result.line = std::u16string(message);
    result.description = std::u16string(texts.resultDescription);
    return result;
}
