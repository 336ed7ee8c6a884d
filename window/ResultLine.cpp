#include "ResultLine.h"

#include <QLocale>

#include <algorithm>
#include <string>
#include <string_view>

#include "tychobvr/conversion.h"

namespace {

char16_t LocaleDecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 ? point.front().unicode() : u'.';
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

QString ResultLine(const QString& text) {
    const std::u16string line = conversion::BuildResultText(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                            static_cast<std::size_t>(text.size())),
        LocaleDecimalSeparator());
    return QString::fromStdU16String(line);
}
