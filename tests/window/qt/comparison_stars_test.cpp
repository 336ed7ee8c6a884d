// The comparison-star dialog driven as a user would: its fields, Show, the chart and its
// tooltips, each saved file held against what "tychobvr --convert" writes for the same files and
// options, a bad position, Cancel, what it remembers, and Ctrl+K from the window.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "ChartDots.h"
#include "ChartView.h"
#include "ComparisonStars.h"
#include "Form1.h"

namespace {

const QString kSamples = QStringLiteral(TYCHOBVR_SAMPLES);

QStringList Samples() {
    QStringList files;
    for (const char* name :
         {"variables-sample.tsv", "tyc2-sample.dat.gz", "catalogue.tsv", "hip_main-sample.dat"}) {
        files << QDir(kSamples).filePath(QString::fromLatin1(name));
    }
    return files;
}

// The program's standard output for the arguments.
QByteArray Program(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(TYCHOBVR_PROGRAM), arguments);
    process.waitForFinished(60000);
    return process.readAllStandardOutput();
}

void Fill(ComparisonStars& dialog, const QString& position, const QString& radius,
          const QString& like = {}, const QString& epoch = {}) {
    dialog.findChild<QLineEdit*>(QStringLiteral("position"))->setText(position);
    dialog.findChild<QLineEdit*>(QStringLiteral("radius"))->setText(radius);
    dialog.findChild<QLineEdit*>(QStringLiteral("like"))->setText(like);
    dialog.findChild<QLineEdit*>(QStringLiteral("epoch"))->setText(epoch);
}

void Show(ComparisonStars& dialog) {
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("show")), Qt::LeftButton);
}

// With TYCHOBVR_SCREENSHOTS set to a folder, a picture of the dialog there.
void Snap(QWidget* dialog, const QString& name) {
    const QString folder = qEnvironmentVariable("TYCHOBVR_SCREENSHOTS");
    if (folder.isEmpty()) return;
    const QString language =
        qgetenv("LANGUAGE") == "ja" ? QStringLiteral("ja") : QStringLiteral("en");
    QTest::qWait(200);
    dialog->grab().save(QDir(folder).filePath(QStringLiteral("qt-%1-%2.png").arg(name, language)));
}

}  // namespace

class ComparisonStarsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QFile::remove(QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                          .filePath(QStringLiteral("TychoBVR/TychoBVR.conf")));
    }

    void savesTheCommandLineBytes_data() {
        QTest::addColumn<QString>("position");
        QTest::addColumn<QString>("radius");
        QTest::addColumn<QString>("like");
        QTest::addColumn<QString>("epoch");
        QTest::addColumn<bool>("usable");
        QTest::newRow("field") << "00 00 30 +01 10 00"
                               << "3"
                               << ""
                               << "" << false;
        QTest::newRow("like, epoch, usable") << "00 00 05.77 +01 05 17"
                                             << "3"
                                             << "4:1"
                                             << "2026.9" << true;
    }
    void savesTheCommandLineBytes() {
        QFETCH(QString, position);
        QFETCH(QString, radius);
        QFETCH(QString, like);
        QFETCH(QString, epoch);
        QFETCH(bool, usable);
        ComparisonStars dialog;
        dialog.show();
        dialog.AddFiles(Samples());
        Fill(dialog, position, radius, like, epoch);
        dialog.findChild<QCheckBox*>(QStringLiteral("usableOnly"))->setChecked(usable);
        Show(dialog);
        QTRY_VERIFY(!dialog.Bytes(ComparisonStars::Output::Table).isEmpty());

        QTemporaryDir folder;
        QStringList options = {QStringLiteral("--convert"), QStringLiteral("--near"), position,
                               QStringLiteral("--radius"), radius};
        if (!like.isEmpty()) options << QStringLiteral("--like") << like;
        if (!epoch.isEmpty()) options << QStringLiteral("--epoch") << epoch;
        if (usable) options << QStringLiteral("--usable");
        const QString nativeChart = folder.filePath(QStringLiteral("native.svg"));
        const QByteArray table =
            Program(options + QStringList{QStringLiteral("--chart"), nativeChart} + Samples());
        QFile chart(nativeChart);
        QVERIFY(chart.open(QIODevice::ReadOnly));
        const struct {
            ComparisonStars::Output output;
            QByteArray expected;
        } saved[] = {
            {ComparisonStars::Output::Table, table},
            {ComparisonStars::Output::Chart, chart.readAll()},
            {ComparisonStars::Output::AstroImageJ,
             Program(options + QStringList{QStringLiteral("--to"), QStringLiteral("aij")} +
                     Samples())},
            {ComparisonStars::Output::Siril,
             Program(options + QStringList{QStringLiteral("--to"), QStringLiteral("siril")} +
                     Samples())},
        };
        for (const auto& [output, expected] : saved) {
            QVERIFY(!expected.isEmpty());
            const QString path = folder.filePath(QStringLiteral("saved"));
            QString reason;
            QVERIFY(dialog.SaveTo(output, path, reason));
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), expected);
        }
        // The closing line, and a star's id and magnitudes where the pointer rests on its dot.
        const QString said =
            dialog.findChild<QPlainTextEdit*>(QStringLiteral("said"))->toPlainText();
        QVERIFY2(said.contains(QStringLiteral("3°")), qPrintable(said));
        auto* view = dialog.findChild<ChartView*>(QStringLiteral("chart"));
        const QByteArray svg = dialog.Bytes(ComparisonStars::Output::Chart);
        const ChartDots dots =
            ReadChartDots(std::string_view(svg.constData(), static_cast<std::size_t>(svg.size())));
        QVERIFY(!dots.dots.empty());
        const ChartDot& last = dots.dots.back();
        QCOMPARE(view->StarAt(view->ToWidget(last.x, last.y).toPoint()),
                 QString::fromStdString(last.title));
        QVERIFY(view->StarAt(view->ToWidget(5, 5).toPoint()).isEmpty());
    }

    void aBadPositionIsSaidAndNothingRuns() {
        ComparisonStars dialog;
        dialog.show();
        dialog.AddFiles(Samples());
        Fill(dialog, QStringLiteral("25 00 00 +01 00 00"), QStringLiteral("2x"));
        Show(dialog);
        auto* problem = dialog.findChild<QLabel*>(QStringLiteral("positionProblem"));
        QVERIFY(problem->isVisible());
        QVERIFY(problem->text().startsWith(QStringLiteral("--near: '25 00 00 +01 00 00'")));
        QVERIFY(dialog.findChild<QLabel*>(QStringLiteral("radiusProblem"))->isVisible());
        QVERIFY(!dialog.findChild<QLabel*>(QStringLiteral("likeProblem"))->isVisible());
        QVERIFY(dialog.Bytes(ComparisonStars::Output::Table).isEmpty());
        QVERIFY(!dialog.findChild<QPushButton*>(QStringLiteral("saveTable"))->isEnabled());
        // Mended, it runs.
        Fill(dialog, QStringLiteral("00 00 30 +01 10 00"), QStringLiteral("3"));
        Show(dialog);
        QTRY_VERIFY(!dialog.Bytes(ComparisonStars::Output::Table).isEmpty());
        QVERIFY(!problem->isVisible());
    }

    void cancelLeavesNothing() {
        QTemporaryDir folder;
        // Enough records that the conversion is still running when Cancel is pressed.
        QFile sample(QDir(kSamples).filePath(QStringLiteral("hip_main-sample.dat")));
        QVERIFY(sample.open(QIODevice::ReadOnly));
        const QByteArray lines = sample.readAll();
        const QString big = folder.filePath(QStringLiteral("hip_main.dat"));
        QFile file(big);
        QVERIFY(file.open(QIODevice::WriteOnly));
        while (file.size() < (qint64(256) << 20)) file.write(lines);
        file.close();
        ComparisonStars dialog;
        dialog.show();
        dialog.AddFiles({big});
        Fill(dialog, QStringLiteral("00 00 30 +01 10 00"), QStringLiteral("30"));
        bool cancelled = false;
        QTimer::singleShot(100, [&cancelled] {
            if (auto* progress =
                    qobject_cast<QProgressDialog*>(QApplication::activeModalWidget())) {
                cancelled = true;
                progress->cancel();
            }
        });
        Show(dialog);
        QVERIFY(cancelled);
        QVERIFY(dialog.Bytes(ComparisonStars::Output::Table).isEmpty());
        QVERIFY(dialog.Bytes(ComparisonStars::Output::Chart).isEmpty());
        QVERIFY(!dialog.findChild<QPushButton*>(QStringLiteral("saveChart"))->isEnabled());
    }

    void remembersItsFieldsAndFiles() {
        {
            ComparisonStars dialog;
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("removeFiles")),
                              Qt::LeftButton);
            dialog.AddFiles(Samples());
            Fill(dialog, QStringLiteral("1 2"), QStringLiteral("30arcmin"), QStringLiteral("1:1"),
                 QStringLiteral("2030"));
        }
        ComparisonStars again;
        QCOMPARE(again.Files(), Samples());
        QCOMPARE(again.findChild<QLineEdit*>(QStringLiteral("radius"))->text(),
                 QStringLiteral("30arcmin"));
        QCOMPARE(again.findChild<QLineEdit*>(QStringLiteral("epoch"))->text(),
                 QStringLiteral("2030"));
    }

    void ctrlKOpensIt() {
        Form1 form;
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        bool opened = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&opened] {
            if (auto* dialog = qobject_cast<ComparisonStars*>(QApplication::activeModalWidget())) {
                opened = true;
                dialog->reject();
            }
        });
        poll.start(20);
        QTest::keyClick(&form, Qt::Key_K, Qt::ControlModifier);
        QVERIFY(opened);
        const bool japanese = qgetenv("LANGUAGE") == "ja";
        ComparisonStars dialog;
        QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("position"))->accessibleName(),
                 japanese ? QStringLiteral("位置") : QStringLiteral("Position"));
    }

    // With the real Tycho-2 of the tests, δ Cephei's field, for a person to look at.
    void realField() {
        const QString real = qEnvironmentVariable("TYCHOBVR_TYCHO2");
        if (real.isEmpty() || qEnvironmentVariable("TYCHOBVR_SCREENSHOTS").isEmpty()) {
            QSKIP("no real catalogue or screenshots asked for");
        }
        ComparisonStars dialog;
        dialog.show();
        QDir folder(real);
        QStringList files;
        for (const QString& name :
             folder.entryList({QStringLiteral("tyc2.dat.*.gz")}, QDir::Files, QDir::Name)) {
            files << folder.filePath(name);
        }
        files << folder.filePath(QStringLiteral("suppl_1.dat"))
              << folder.filePath(QStringLiteral("index.dat"));
        dialog.AddFiles(files);
        Fill(dialog, QStringLiteral("22 29 10.27 +58 24 54.7"), QStringLiteral("30arcmin"));
        Show(dialog);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.Bytes(ComparisonStars::Output::Table).isEmpty(), 20000);
        Snap(&dialog, QStringLiteral("comparison-stars"));
    }
};

QTEST_MAIN(ComparisonStarsTest)
#include "comparison_stars_test.moc"
