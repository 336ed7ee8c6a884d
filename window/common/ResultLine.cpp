#include "ResultLine.h"

#include <algorithm>
#include <cstddef>

#include "RelationScatter.h"
#include "tychobvr/conversion.h"

namespace {

// A number for the tooltip, with the separator given, and negative ones with the minus sign
// rather than the hyphen-minus.
std::u16string ForToolTip(std::string_view number, char16_t separator) {
    std::u16string text;
    for (const char c : number) text += c == '.' ? separator : static_cast<char16_t>(c);
    if (!text.empty() && text.front() == u'-') text.front() = u'−';
    return text;
}

std::u16string Constant(double value, int decimals, char16_t separator) {
    return ForToolTip(conversion::FormatFixed(value, decimals), separator);
}

void AppendLine(std::u16string& lines, std::u16string_view line) {
    if (!lines.empty()) lines += u'\n';
    lines += line;
}

std::u16string ToolTip(const ShownValues& numbers, char16_t separator, const Texts& texts) {
    const auto shown = [separator](double value) {
        return ForToolTip(conversion::FormatFixed(value, kShownDecimals), separator);
    };
    std::u16string lines;
    if (numbers.extrapolated) {
        AppendLine(lines, texts.extrapolatedFirstLine);
        AppendLine(lines, texts.extrapolatedSecondLine);
    }
    if (numbers.faint) {
        AppendLine(lines,
                   Substitute(texts.faint, Constant(conversion::kFaintTycho2VT, 1, separator)));
    }
    AppendLine(lines, Substitute(texts.colourIndex, shown(numbers.colourIndex)));
    if (numbers.bessell) {
        AppendLine(lines, Substitute(texts.bessell, shown(numbers.bessell->V),
                                     shown(numbers.bessell->BMinusV)));
    } else {
        AppendLine(lines,
                   Substitute(texts.bessellOutside,
                              Constant(conversion::kBessellLowestColourIndex, 2, separator),
                              Constant(conversion::kBessellHighestColourIndex, 2, separator)));
    }
    AppendLine(lines, Substitute(texts.henden, shown(numbers.henden.R), shown(numbers.henden.I)));
    // Copied text carries no catalogue errors: the fits' scatter is all that can be told.
    const RelationScatter scatter = ScatterFor(numbers.colourIndex, false);
    AppendLine(lines, Substitute(texts.relationScatter, shown(scatter.V), shown(scatter.BMinusV)));
    AppendLine(lines, Substitute(texts.fitsRange,
                                 Constant(conversion::kFitsLowestColourIndex, 1, separator),
                                 Constant(conversion::kFitsHighestColourIndex, 1, separator)));
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
        const ShownValues shown = ValuesFor(values);
        result.extrapolated = shown.extrapolated;
        result.toolTip = ToolTip(shown, decimalSeparator, texts);
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
