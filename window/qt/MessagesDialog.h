// What a conversion of files had to say, in a dialog whose text can be selected and copied.
#pragma once

#include <QDialog>

class QPlainTextEdit;

class MessagesDialog : public QDialog {
    Q_OBJECT

public:
    MessagesDialog(const QString& title, const QString& text, QWidget* parent = nullptr);

    QString Text() const;

private:
    QPlainTextEdit* messages;
};
