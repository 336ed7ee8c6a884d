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

protected:
    void changeEvent(QEvent* event) override;

private slots:
    void Command1_Click();

private:
    void ColourLabel();

    QPlainTextEdit* Text1;
    QLabel* Label1;
    QPushButton* Command1;
    bool extrapolated = false;  // whether Label1 shows magnitudes outside the fits' range
};
