// The comparison-star dialog: a field around a target from the catalogue files chosen, shown on
// its finder chart with the converter's closing line, and saved as the table, the chart and the
// photometry programs' lists, each the very bytes the command line writes.
#pragma once

#include <QByteArray>
#include <QDialog>
#include <QStringList>

class ChartView;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

class ComparisonStars : public QDialog {
    Q_OBJECT

public:
    explicit ComparisonStars(QWidget* parent = nullptr);
    ~ComparisonStars() override;

    // The catalogue files, as chosen or dropped.
    void AddFiles(const QStringList& files);
    QStringList Files() const { return files_; }

    // What Show made: the table, the chart and the two lists; empty before it, and after Cancel.
    enum class Output { Table, Chart, AstroImageJ, Siril };
    QByteArray Bytes(Output output) const;
    // Writes one of them to `path` through a file beside it put in place when complete; the
    // system's reason where it could not.
    bool SaveTo(Output output, const QString& path, QString& reason) const;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private slots:
    void Show_Clicked();
    void CatalogueFiles_Clicked();
    void RemoveFiles_Clicked();
    void SaveTable_Clicked();
    void SaveChart_Clicked();
    void SaveAstroImageJ_Clicked();
    void SaveSiril_Clicked();

private:
    void Save(Output output, const QString& title, const QString& filter, const QString& name);
    void ShowFiles();
    void Clear();
    void LoadSettings();
    void StoreSettings() const;

    QLineEdit* position;
    QLineEdit* radius;
    QLineEdit* like;
    QLineEdit* epoch;
    QCheckBox* usableOnly;
    QLabel* positionProblem;
    QLabel* radiusProblem;
    QLabel* likeProblem;
    QLabel* epochProblem;
    QListWidget* fileList;
    QPushButton* showButton;
    QPushButton* saveButtons[4];
    ChartView* chart;
    QPlainTextEdit* said;
    QStringList files_;
    QByteArray outputs_[4];
};
