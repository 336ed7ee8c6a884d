#include "ResultLine.h"

#include <algorithm>
#include <cstddef>

#include "tychobvr/conversion.h"

namespace {

// A number for the tooltip, negative ones with the minus sign rather than the hyphen-minus.
std::u16string Number(double value, std::u16string_view picture, char16_t separator) {
    std::u16string text = conversion::FormatWithPicture(value, picture, separator);
    if (!text.empty() && text.front() == u'-') text.front() = u'−';
    return text;
}

void AppendLine(std::u16string& lines, std::u16string_view line) {
    if (!lines.empty()) lines += u'\n';
    lines += line;
}

std::u16string ToolTip(const conversion::TaggedValues& values, bool extrapolated,
                       char16_t separator, const Texts& texts) {
    const auto number = [separator](double value) { return Number(value, u"#0.000", separator); };
    std::u16string lines;
    if (extrapolated) {
        AppendLine(lines, texts.extrapolatedFirstLine);
        AppendLine(lines, texts.extrapolatedSecondLine);
    }
    if (values.VT > conversion::kFaintTycho2VT) {
        AppendLine(lines,
                   Substitute(texts.faint, Number(conversion::kFaintTycho2VT, u"#0.0", separator)));
    }
    AppendLine(lines, Substitute(texts.colourIndex, number(values.BT - values.VT)));
    if (const auto bessell = conversion::ConvertBessell2000(values.BT, values.VT)) {
        AppendLine(lines, Substitute(texts.bessell, number(bessell->V), number(bessell->BMinusV)));
    } else {
        AppendLine(lines,
                   Substitute(texts.bessellOutside,
                              Number(conversion::kBessellLowestColourIndex, u"#0.00", separator),
                              Number(conversion::kBessellHighestColourIndex, u"#0.00", separator)));
    }
    const conversion::HendenMagnitudes henden = conversion::ConvertHendenRI(values.BT, values.VT);
    AppendLine(lines, Substitute(texts.henden, number(henden.R), number(henden.I)));
    AppendLine(lines, Substitute(texts.fitsRange,
                                 Number(conversion::kFitsLowestColourIndex, u"#0.0", separator),
                                 Number(conversion::kFitsHighestColourIndex, u"#0.0", separator)));
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

Result ResultFor(std::u16string_view text, char16_t decimalSeparator, const Texts& texts) {
    const conversion::TaggedValues values = conversion::ScanTaggedValues(text);
    Result result;
    result.line = conversion::BuildResultText(values, decimalSeparator);
    if (conversion::ResultKindOf(values) == conversion::ResultKind::Magnitudes) {
        result.extrapolated = !conversion::IsWithinFits(values.BT, values.VT);
        result.toolTip = ToolTip(values, result.extrapolated, decimalSeparator, texts);
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
