#include "ComparisonStars.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QSettings>
#include <QVBoxLayout>

#include <string>
#include <vector>

#include "ChartView.h"
#include "ComparisonFields.h"
#include "FileConversion.h"
#include "FilesToCsv.h"
#include "PosixConvertStreams.h"
#include "UserTexts.h"

namespace {

// Where the dialog keeps its fields and files between runs.
QSettings Settings() { return QSettings(QStringLiteral("TychoBVR"), QStringLiteral("TychoBVR")); }
const QString kGroup = QStringLiteral("ComparisonStars");

std::u16string Text(const QLineEdit* edit) {
    return std::u16string(ToView(edit->text().trimmed()));
}

QLabel* ProblemLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setStyleSheet(QStringLiteral("color: #c00000"));
    label->hide();
    return label;
}

void ShowProblem(QLabel* label, const std::u16string& problem) {
    label->setText(ToQString(problem));
    label->setVisible(!problem.empty());
}

}  // namespace

ComparisonStars::ComparisonStars(QWidget* parent)
    : QDialog(parent),
      position(new QLineEdit(this)),
      radius(new QLineEdit(this)),
      like(new QLineEdit(this)),
      epoch(new QLineEdit(this)),
      usableOnly(new QCheckBox(ToQString(UserTexts().fieldUsableOnly), this)),
      positionProblem(ProblemLabel(this)),
      radiusProblem(ProblemLabel(this)),
      likeProblem(ProblemLabel(this)),
      epochProblem(ProblemLabel(this)),
      fileList(new QListWidget(this)),
      showButton(new QPushButton(ToQString(UserTexts().show), this)),
      chart(new ChartView(this)),
      said(new QPlainTextEdit(this)) {
    const Texts& texts = UserTexts();
    setWindowTitle(ToQString(texts.comparisonStars).remove(u'…'));
    setAcceptDrops(true);

    // Each field named by its label, for screen readers and tests alike.
    QFormLayout* form = new QFormLayout;
    const auto addField = [&](QLineEdit* edit, std::u16string_view name, QLabel* problem,
                              const char* object) {
        edit->setObjectName(QString::fromLatin1(object));
        edit->setAccessibleName(ToQString(name));
        problem->setObjectName(QString::fromLatin1(object) + QStringLiteral("Problem"));
        form->addRow(ToQString(name), edit);
        form->addRow(QString(), problem);
    };
    addField(position, texts.fieldPosition, positionProblem, "position");
    addField(radius, texts.fieldRadius, radiusProblem, "radius");
    addField(like, texts.fieldLike, likeProblem, "like");
    addField(epoch, texts.fieldEpoch, epochProblem, "epoch");
    position->setPlaceholderText(QStringLiteral("22 29 10.3 +58 24 55"));
    like->setPlaceholderText(QStringLiteral("0.5:0.3"));
    epoch->setPlaceholderText(QStringLiteral("2026.9"));
    usableOnly->setObjectName(QStringLiteral("usableOnly"));
    form->addRow(QString(), usableOnly);

    auto* catalogueFiles = new QPushButton(ToQString(texts.catalogueFiles), this);
    catalogueFiles->setObjectName(QStringLiteral("catalogueFiles"));
    catalogueFiles->setAutoDefault(false);
    auto* removeFiles = new QPushButton(ToQString(texts.removeFiles), this);
    removeFiles->setObjectName(QStringLiteral("removeFiles"));
    removeFiles->setAutoDefault(false);
    fileList->setObjectName(QStringLiteral("files"));
    fileList->setAccessibleName(ToQString(texts.catalogueFiles).remove(u'…'));
    fileList->setMaximumHeight(110);
    auto* fileButtons = new QHBoxLayout;
    fileButtons->addWidget(catalogueFiles);
    fileButtons->addWidget(removeFiles);
    fileButtons->addStretch();

    showButton->setObjectName(QStringLiteral("show"));
    showButton->setDefault(true);
    const std::u16string_view saveNames[] = {texts.saveTableButton, texts.saveChart,
                                             texts.saveAstroImageJ, texts.saveSiril};
    const char* saveObjects[] = {"saveTable", "saveChart", "saveAstroImageJ", "saveSiril"};
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(showButton);
    for (std::size_t i = 0; i < 4; ++i) {
        saveButtons[i] = new QPushButton(ToQString(saveNames[i]), this);
        saveButtons[i]->setObjectName(QString::fromLatin1(saveObjects[i]));
        saveButtons[i]->setAutoDefault(false);
        buttons->addWidget(saveButtons[i]);
    }
    buttons->addStretch();
    auto* close = new QPushButton(ToQString(texts.close), this);
    close->setAutoDefault(false);
    buttons->addWidget(close);

    said->setObjectName(QStringLiteral("said"));
    said->setReadOnly(true);
    said->setMaximumHeight(90);
    said->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    chart->setObjectName(QStringLiteral("chart"));

    auto* left = new QVBoxLayout;
    left->addLayout(form);
    left->addLayout(fileButtons);
    left->addWidget(fileList);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(chart, 1);
    layout->addWidget(said);
    resize(720, 900);

    connect(showButton, &QPushButton::clicked, this, &ComparisonStars::Show_Clicked);
    connect(catalogueFiles, &QPushButton::clicked, this, &ComparisonStars::CatalogueFiles_Clicked);
    connect(removeFiles, &QPushButton::clicked, this, &ComparisonStars::RemoveFiles_Clicked);
    connect(saveButtons[0], &QPushButton::clicked, this, &ComparisonStars::SaveTable_Clicked);
    connect(saveButtons[1], &QPushButton::clicked, this, &ComparisonStars::SaveChart_Clicked);
    connect(saveButtons[2], &QPushButton::clicked, this, &ComparisonStars::SaveAstroImageJ_Clicked);
    connect(saveButtons[3], &QPushButton::clicked, this, &ComparisonStars::SaveSiril_Clicked);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    LoadSettings();
    Clear();
}

ComparisonStars::~ComparisonStars() { StoreSettings(); }

void ComparisonStars::LoadSettings() {
    QSettings settings = Settings();
    settings.beginGroup(kGroup);
    position->setText(settings.value(QStringLiteral("position")).toString());
    radius->setText(settings.value(QStringLiteral("radius"), QStringLiteral("1")).toString());
    like->setText(settings.value(QStringLiteral("like")).toString());
    epoch->setText(settings.value(QStringLiteral("epoch")).toString());
    usableOnly->setChecked(settings.value(QStringLiteral("usableOnly"), false).toBool());
    files_ = settings.value(QStringLiteral("files")).toStringList();
    ShowFiles();
}

void ComparisonStars::StoreSettings() const {
    QSettings settings = Settings();
    settings.beginGroup(kGroup);
    settings.setValue(QStringLiteral("position"), position->text());
    settings.setValue(QStringLiteral("radius"), radius->text());
    settings.setValue(QStringLiteral("like"), like->text());
    settings.setValue(QStringLiteral("epoch"), epoch->text());
    settings.setValue(QStringLiteral("usableOnly"), usableOnly->isChecked());
    settings.setValue(QStringLiteral("files"), files_);
}

void ComparisonStars::AddFiles(const QStringList& files) {
    for (const QString& file : files) {
        if (!files_.contains(file)) files_ << file;
    }
    ShowFiles();
}

void ComparisonStars::ShowFiles() {
    fileList->clear();
    for (const QString& file : files_) fileList->addItem(QDir::toNativeSeparators(file));
}

void ComparisonStars::Clear() {
    for (QByteArray& output : outputs_) output.clear();
    for (QPushButton* button : saveButtons) button->setEnabled(false);
    chart->SetChart({});
}

QByteArray ComparisonStars::Bytes(Output output) const {
    return outputs_[static_cast<int>(output)];
}

void ComparisonStars::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void ComparisonStars::dropEvent(QDropEvent* event) {
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) files << url.toLocalFile();
    }
    AddFiles(files);
    event->acceptProposedAction();
}

void ComparisonStars::CatalogueFiles_Clicked() {
    const QString folder = files_.isEmpty() ? QString() : QFileInfo(files_.last()).absolutePath();
    AddFiles(QFileDialog::getOpenFileNames(this, ToQString(UserTexts().catalogueFiles).remove(u'…'),
                                           folder, StarFilesFilter()));
}

void ComparisonStars::RemoveFiles_Clicked() {
    files_.clear();
    ShowFiles();
}

void ComparisonStars::Show_Clicked() {
    const Texts& texts = UserTexts();
    ComparisonFields fields;
    fields.position = Text(position);
    fields.radius = Text(radius);
    fields.like = Text(like);
    fields.epoch = Text(epoch);
    fields.usableOnly = usableOnly->isChecked();
    CsvConverter::Options options;
    const FieldProblems problems = ReadComparisonFields(fields, texts, options);
    ShowProblem(positionProblem, problems.position);
    ShowProblem(radiusProblem, problems.radius);
    ShowProblem(likeProblem, problems.like);
    ShowProblem(epochProblem, problems.epoch);
    // Nothing runs until every field is mended.
    if (problems.Any()) return;
    if (files_.isEmpty()) {
        said->setPlainText(ToQString(texts.noFiles));
        return;
    }
    Clear();
    StoreSettings();
    const ConversionSources sources = SourcesOf(files_);
    PosixConvertStreams reading;
    QByteArray table;
    FieldOutputs outputs;
    FileConversion conversion(
        sources.names, sources.totalBytes, texts, reading,
        [&table](std::string_view bytes, std::u16string&) {
            table.append(bytes.data(), static_cast<qsizetype>(bytes.size()));
            return true;
        },
        options, &outputs);
    // Cancelled, nothing of it is kept.
    if (!RunWithProgress(this, conversion, files_)) {
        said->clear();
        return;
    }
    said->setPlainText(QString::fromUtf8(conversion.Messages()));
    if (conversion.Status() == 2) return;
    outputs_[0] = table;
    outputs_[1] = QByteArray::fromStdString(outputs.chart);
    outputs_[2] = QByteArray::fromStdString(outputs.astroImageJ);
    outputs_[3] = QByteArray::fromStdString(outputs.siril);
    chart->SetChart(outputs_[1]);
    for (int i = 0; i < 4; ++i) saveButtons[i]->setEnabled(!outputs_[i].isEmpty());
}

bool ComparisonStars::SaveTo(Output output, const QString& path, QString& reason) const {
    QSaveFile file(path);
    const QByteArray& bytes = outputs_[static_cast<int>(output)];
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        reason = file.errorString();
        return false;
    }
    return true;
}

void ComparisonStars::Save(Output output, const QString& title, const QString& filter,
                           const QString& name) {
    const QString folder = files_.isEmpty() ? QString() : QFileInfo(files_.first()).absolutePath();
    const QString path =
        QFileDialog::getSaveFileName(this, title, QDir(folder).filePath(name), filter);
    if (path.isEmpty()) return;
    const Texts& texts = UserTexts();
    QString reason;
    const QString shown = QDir::toNativeSeparators(path);
    if (SaveTo(output, path, reason)) {
        said->appendPlainText(ToQString(Substitute(texts.fileSaved, ToView(shown))));
    } else {
        said->appendPlainText(
            ToQString(Substitute(texts.fileNotSaved, ToView(shown), ToView(reason))));
    }
}

void ComparisonStars::SaveTable_Clicked() {
    const Texts& texts = UserTexts();
    Save(Output::Table, ToQString(texts.saveTable),
         ToQString(texts.csvFiles) + QStringLiteral(" (*.csv)"), QStringLiteral("field.csv"));
}

void ComparisonStars::SaveChart_Clicked() {
    const Texts& texts = UserTexts();
    Save(Output::Chart, ToQString(texts.saveChart).remove(u'…'),
         ToQString(texts.svgCharts) + QStringLiteral(" (*.svg)"), QStringLiteral("field.svg"));
}

void ComparisonStars::SaveAstroImageJ_Clicked() {
    const Texts& texts = UserTexts();
    Save(Output::AstroImageJ, ToQString(texts.saveAstroImageJ).remove(u'…'),
         ToQString(texts.astroImageJLists) + QStringLiteral(" (*.radec)"),
         QStringLiteral("field.radec"));
}

void ComparisonStars::SaveSiril_Clicked() {
    const Texts& texts = UserTexts();
    Save(Output::Siril, ToQString(texts.saveSiril).remove(u'…'),
         ToQString(texts.sirilLists) + QStringLiteral(" (*.csv)"),
         QStringLiteral("field-siril.csv"));
}
