#include "MessagesDialog.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "Texts.h"
#include "UserTexts.h"

MessagesDialog::MessagesDialog(const QString& title, const QString& text, QWidget* parent)
    : QDialog(parent), messages(new QPlainTextEdit(text, this)) {
    setWindowTitle(title);
    messages->setObjectName(QStringLiteral("messages"));
    messages->setReadOnly(true);
    messages->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Read-only text takes the keyboard too, so that Ctrl+A and Ctrl+C copy it.
    messages->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Room for most lines of a path and its message, and for a dozen of them.
    const QFontMetrics metrics(messages->font());
    messages->setMinimumSize(metrics.averageCharWidth() * 90, metrics.lineSpacing() * 14);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(ToQString(UserTexts().ok));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(messages);
    layout->addWidget(buttons);
}

QString MessagesDialog::Text() const { return messages->toPlainText(); }
