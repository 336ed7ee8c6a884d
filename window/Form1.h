#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The program's only window: the clipboard's text, its result line and the "OK" button.
class Form1 : public QWidget {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);

private slots:
    void Command1_Click();

private:
    QPlainTextEdit* Text1;
    QLabel* Label1;
    QPushButton* Command1;
};
