#include "Form1.h"

#include <QClipboard>
#include <QFont>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
#include <QStringList>

#include "ResultLine.h"

namespace {

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
    Text1->setAccessibleName(QStringLiteral("Clipboard text"));

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 184, 289, 17);
    Label1->setFont(LabelFont());
    Label1->setTextFormat(Qt::PlainText);
    // Selectable so the result can be copied; mouse selection alone takes no Tab focus.
    Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label1->setAccessibleDescription(QStringLiteral("Result"));

    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(208, 208, 89, 33);
    Command1->setAutoDefault(false);
    Command1->setDefault(false);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);

    setTabOrder(Text1, Command1);
    Text1->setFocus();
}

void Form1::Command1_Click() {
    Text1->setPlainText(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
    Label1->setText(ResultLine(WithCrLfLineEnds(Text1->toPlainText())));
}
