#include "ResultLine.h"

#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <string>
#include <string_view>

#include "tychobvr/conversion.h"

namespace {

char16_t LocaleDecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 ? point.front().unicode() : u'.';
}

QString Formatted(double value, std::u16string_view picture, char16_t separator) {
    return QString::fromStdU16String(conversion::FormatWithPicture(value, picture, separator));
}

QString ToolTip(const conversion::TaggedValues& values, bool extrapolated, char16_t separator) {
    QStringList lines;
    if (extrapolated) {
        lines << QStringLiteral("Extrapolated: BT − VT lies outside the range of the fits,")
              << QStringLiteral("so B and V may be off by a tenth of a magnitude or more.");
    }
    const QString range = Formatted(conversion::kFitsLowestColourIndex, u"#0.0", separator) +
                          QStringLiteral(" ≤ BT − VT ≤ ") +
                          Formatted(conversion::kFitsHighestColourIndex, u"#0.0", separator);
    lines << Formatted(values.BT - values.VT, u"BT − VT = #0.000", separator)
          << QStringLiteral("The B and V fits hold for %1.").arg(range)
          << QStringLiteral("R = V − 0.5 (B − V) is a coarse approximation.");
    return lines.join(u'\n');
}

}  // namespace

QString WithCrLfLineEnds(const QString& text) {
    const qsizetype breaks = text.count(u'\n');
    if (breaks == 0) return text;
    QString result(text.size() + breaks, Qt::Uninitialized);
    QChar* out = result.data();
    qsizetype from = 0;
    for (qsizetype at; (at = text.indexOf(u'\n', from)) >= 0; from = at + 1) {
        out = std::copy(text.cbegin() + from, text.cbegin() + at, out);
        *out++ = u'\r';
        *out++ = u'\n';
    }
    std::copy(text.cbegin() + from, text.cend(), out);
    return result;
}

Result ResultFor(const QString& text) {
    const char16_t separator = LocaleDecimalSeparator();
    const conversion::TaggedValues values = conversion::ScanTaggedValues(std::u16string_view(
        reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
    Result result;
    result.line = QString::fromStdU16String(conversion::BuildResultText(values, separator));
    if (conversion::ResultKindOf(values) == conversion::ResultKind::Magnitudes) {
        result.extrapolated = !conversion::IsWithinFits(values.BT, values.VT);
        result.toolTip = ToolTip(values, result.extrapolated, separator);
    }
    return result;
}
