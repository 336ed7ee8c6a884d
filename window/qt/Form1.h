#pragma once

#include <QWidget>

class QAction;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The program's only window: the clipboard's text, its result line and the "OK" button. Files
// opened with Ctrl+O, or from the text box's context menu, or dropped anywhere on it, are
// converted into a CSV table; Ctrl+K opens the comparison stars of a field.
class Form1 : public QWidget {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);

protected:
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Files dropped on the text box are converted too, where it would take them as text.
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void Command1_Click();
    void ConvertFiles_Triggered();
    void ComparisonStars_Triggered();
    void Text1_CustomContextMenuRequested(const QPoint& position);

private:
    void ColourLabel();
    // Converts the files once the event that brought them has ended: a drop's source waits
    // for the drop to finish.
    void ConvertLater(const QStringList& files);

    QPlainTextEdit* Text1;
    QLabel* Label1;
    QPushButton* Command1;
    QAction* convertFiles;
    QAction* comparisonStars;   // Ctrl+K
    bool extrapolated = false;  // whether Label1 shows magnitudes outside the fits' range
};
