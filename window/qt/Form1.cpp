#include "Form1.h"

#include <QClipboard>
#include <QEvent>
#include <QFont>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <string_view>

#include "ResultLine.h"
#include "Texts.h"
#include "UserTexts.h"
#include "WarningColour.h"

namespace {

char16_t LocaleDecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 ? point.front().unicode() : u'.';
}

QColor WarningColourOn(const QColor& background) {
    const Rgb colour = WarningColour({background.red(), background.green(), background.blue()});
    return QColor(colour.red, colour.green, colour.blue);
}

QFont LabelFont() {
    // Metric-alike Japanese proportional Gothics stand in where the first family is missing.
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    font.setPointSize(12);
    font.setWeight(QFont::Normal);
    return font;
}

}  // namespace

Form1::Form1(QWidget* parent)
    : QWidget(parent),
      Text1(new QPlainTextEdit(this)),
      Label1(new QLabel(QStringLiteral("V = xx.xxx"), this)),
      Command1(new QPushButton(QStringLiteral("OK"), this)) {
    setWindowTitle(QStringLiteral("BT,VTからV等級を算出"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/org.tychobvr.TychoBVR.png")));
    // The layout is fixed, so the window keeps its size and offers no maximise button.
    setFixedSize(304, 248);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(8, 8, 289, 161);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setTabChangesFocus(true);
    Text1->setAccessibleName(ToQString(UserTexts().textBoxName));

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 184, 289, 17);
    Label1->setFont(LabelFont());
    Label1->setTextFormat(Qt::PlainText);
    // Selectable so the result can be copied; mouse selection alone takes no Tab focus.
    Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label1->setAccessibleDescription(ToQString(UserTexts().resultDescription));

    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(208, 208, 89, 33);
    Command1->setAutoDefault(false);
    Command1->setDefault(false);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);

    setTabOrder(Text1, Command1);
    Text1->setFocus();
}

void Form1::changeEvent(QEvent* event) {
    // A new palette, a dark theme for one, needs a warning colour of its own.
    if (event->type() == QEvent::PaletteChange) ColourLabel();
    QWidget::changeEvent(event);
}

void Form1::Command1_Click() {
    // A clipboard of a few MiB, or an owner that does not answer, keeps the press busy a while.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restoreCursor = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
    Text1->setPlainText(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
    const Result result = ResultFor(WithCrLfLineEnds(ToView(Text1->toPlainText())),
                                    LocaleDecimalSeparator(), UserTexts());
    Label1->setText(ToQString(result.line));
    Label1->setToolTip(ToQString(result.toolTip));
    Label1->setAccessibleDescription(ToQString(result.description));
    extrapolated = result.extrapolated;
    ColourLabel();
}

void Form1::ColourLabel() {
    QPalette colours;  // no role of its own: the label takes every colour from the window
    if (extrapolated) {
        colours.setColor(QPalette::WindowText, WarningColourOn(palette().color(QPalette::Window)));
    }
    Label1->setPalette(colours);
}
