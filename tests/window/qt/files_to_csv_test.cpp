// The window's conversion of files, driven as a user would: Ctrl+O and its dialogs, a drop of
// files, Cancel, and the table held against what "tychobvr --convert" writes for the same files.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <optional>
#include <vector>

#include "Form1.h"
#include "MessagesDialog.h"

namespace {

// With TYCHOBVR_SCREENSHOTS set to a folder, a picture of the dialog there, named for it and
// the language, for a person to look at.
void Snap(QWidget* dialog, const char* name) {
    const QString folder = qEnvironmentVariable("TYCHOBVR_SCREENSHOTS");
    if (folder.isEmpty()) return;
    const QString language =
        qgetenv("LANGUAGE") == "ja" ? QStringLiteral("ja") : QStringLiteral("en");
    QTest::qWait(100);  // laid out and painted
    dialog->grab().save(
        QDir(folder).filePath(QStringLiteral("qt-%1-%2.png").arg(QLatin1String(name), language)));
}

// Answers the modal dialogs as they come up, in order: each step is given the dialog on top
// and says whether it has done with it.
class DialogScript : public QObject {
public:
    using Step = std::function<bool(QWidget* dialog)>;

    explicit DialogScript(std::vector<Step> steps) : steps_(std::move(steps)) {
        connect(&timer_, &QTimer::timeout, this, [this] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (dialog != nullptr && next_ < steps_.size() && dialog->isVisible() &&
                steps_[next_](dialog)) {
                ++next_;
            }
        });
        timer_.start(10);
    }
    bool Finished() const { return next_ == steps_.size(); }

private:
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    QTimer timer_;
};

// The open dialog: the files picked from their folder.
DialogScript::Step PickFiles(const QStringList& files) {
    return [files](QWidget* dialog) {
        auto* fileDialog = qobject_cast<QFileDialog*>(dialog);
        if (fileDialog == nullptr || fileDialog->acceptMode() != QFileDialog::AcceptOpen) {
            return false;
        }
        fileDialog->setDirectory(QFileInfo(files.first()).absolutePath());
        QStringList quoted;
        for (const QString& file : files) quoted << u'"' + QFileInfo(file).fileName() + u'"';
        fileDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
            ->setText(quoted.join(u' '));
        static_cast<QDialog*>(fileDialog)->accept();  // QFileDialog's own, which is protected
        return true;
    };
}

// The save dialog: what it proposes, then the target given.
DialogScript::Step SaveAs(QString* proposed, const QString& target) {
    return [proposed, target](QWidget* dialog) {
        auto* fileDialog = qobject_cast<QFileDialog*>(dialog);
        if (fileDialog == nullptr || fileDialog->acceptMode() != QFileDialog::AcceptSave) {
            return false;
        }
        *proposed = fileDialog->selectedFiles().value(0);
        // Typed, as a user does: the dialog may still be reading its folder, and reselect.
        fileDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(target);
        // Later, since it may ask whether to replace the file, in a dialog of its own.
        QTimer::singleShot(0, fileDialog, [fileDialog] {
            static_cast<QDialog*>(fileDialog)->accept();  // QFileDialog's own, which is protected
        });
        return true;
    };
}

// The question whether to replace a file that is there.
DialogScript::Step Replace() {
    return [](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        if (box == nullptr) return false;
        box->button(QMessageBox::Yes)->click();
        return true;
    };
}

// The messages at the end: their text kept, then closed.
DialogScript::Step ReadMessages(QString* said, const char* picture = nullptr) {
    return [said, picture](QWidget* dialog) {
        auto* messages = qobject_cast<MessagesDialog*>(dialog);
        if (messages == nullptr) return false;
        *said = messages->Text();
        if (picture != nullptr) Snap(messages, picture);
        messages->accept();
        return true;
    };
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What the command line writes for the same files: the table and its messages.
struct Converted {
    QByteArray table;
    QString messages;
};
Converted ConvertedByCommandLine(const QStringList& files) {
    QProcess program;
    program.start(QStringLiteral(TYCHOBVR_PROGRAM),
                  QStringList{QStringLiteral("--convert")} + files);
    program.waitForFinished(60000);
    return {program.readAllStandardOutput(),
            QString::fromUtf8(program.readAllStandardError()).remove(QStringLiteral("tychobvr: "))};
}

QMimeData* FileUrls(const QStringList& files) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& file : files) urls << QUrl::fromLocalFile(file);
    data->setUrls(urls);
    return data;
}

// Drags the files over a widget and drops them there; whether the drop was taken.
bool Drop(QWidget* target, const QStringList& files) {
    QMimeData* data = FileUrls(files);
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) {
        delete data;
        return false;
    }
    QDropEvent drop(QPointF(at), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    delete data;
    return drop.isAccepted();
}

}  // namespace

class FilesToCsvTest : public QObject {
    Q_OBJECT

private:
    std::optional<QTemporaryDir> folder;  // a new one for each test
    Form1* form = nullptr;
    QString samples = QStringLiteral(TYCHOBVR_SAMPLES);

    QString Copied(const QString& sample) {
        const QString path = folder->filePath(sample);
        QFile::copy(QDir(samples).filePath(sample), path);
        return path;
    }

    // Presses OK with a star on the clipboard: the window still answers.
    void CheckOkStillWorks() {
        QGuiApplication::clipboard()->setText(QStringLiteral("BT=10.500 VT=10.000"));
        QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);
        QCOMPARE(form->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                 QStringLiteral("B = 10.389 / V = 9.959 / R = 9.743"));
    }

private slots:
    void init() {
        folder.emplace();
        QVERIFY(folder->isValid());
        form = new Form1;
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        form->activateWindow();  // Ctrl+O belongs to the active window
        QVERIFY(QTest::qWaitForWindowActive(form));
    }

    void cleanup() {
        delete form;
        folder.reset();
    }

    // Ctrl+O with several files, or the files dropped on the text box or elsewhere on the
    // window, with one among them that cannot be read: the table is the command line's bytes,
    // and the messages are its messages after the name of the table.
    void convertsAsTheCommandLine_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Ctrl+O") << QStringLiteral("Ctrl+O");
        QTest::newRow("drop on the text box") << QStringLiteral("text box");
        QTest::newRow("drop on the window") << QStringLiteral("window");
    }

    void convertsAsTheCommandLine() {
        QFETCH(QString, how);
        // A list of known variables last, which counts all the same.
        QStringList files = {Copied(QStringLiteral("catalogue.tsv")),
                             Copied(QStringLiteral("tyc2-sample.dat.gz")),
                             Copied(QStringLiteral("stars-shift_jis.txt")),
                             Copied(QStringLiteral("variables-sample.tsv"))};
        if (how != QStringLiteral("Ctrl+O"))
            files.insert(1, folder->filePath(QStringLiteral("gone.txt")));
        const QString target = folder->filePath(
            QString(QTest::currentDataTag()).replace(u' ', u'-') + QStringLiteral(".csv"));
        QString proposed, said;
        std::vector<DialogScript::Step> steps;
        if (how == QStringLiteral("Ctrl+O")) steps.push_back(PickFiles(files));
        steps.push_back(SaveAs(&proposed, target));
        steps.push_back(ReadMessages(&said, "messages"));
        DialogScript script(std::move(steps));
        if (how == QStringLiteral("Ctrl+O")) {
            QTest::keyClick(form, Qt::Key_O, Qt::ControlModifier);
        } else {
            QWidget* where =
                how == QStringLiteral("text box")
                    ? form->findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->viewport()
                    : static_cast<QWidget*>(form);
            QVERIFY(Drop(where, files));
        }
        QTRY_VERIFY_WITH_TIMEOUT(script.Finished(), 30000);

        QCOMPARE(proposed, folder->filePath(QStringLiteral("tychobvr.csv")));
        const Converted expected = ConvertedByCommandLine(files);
        QCOMPARE(ReadAll(target), expected.table);
        const QString saved = qgetenv("LANGUAGE") == "ja"
                                  ? QStringLiteral("表を %1 に保存しました。\n\n")
                                  : QStringLiteral("The table is saved as %1.\n\n");
        QCOMPARE(said, saved.arg(target) + expected.messages);
        // A drop converts: it is not pasted into the text box.
        QCOMPARE(form->findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->toPlainText(),
                 QString());
        CheckOkStillWorks();
    }

    // A table that is there already is replaced only once the user says so.
    void replacesATableWhenAsked() {
        const QString file = Copied(QStringLiteral("stars.txt"));
        const QString target = folder->filePath(QStringLiteral("tychobvr.csv"));
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old table\n");
        old.close();
        QString proposed, said;
        DialogScript script({SaveAs(&proposed, target), Replace(), ReadMessages(&said)});
        QVERIFY(Drop(form, {file}));
        QTRY_VERIFY_WITH_TIMEOUT(script.Finished(), 30000);
        QCOMPARE(ReadAll(target), ConvertedByCommandLine({file}).table);
    }

    // Escape on the progress dialog stops the conversion of a large file at once, and leaves no
    // file behind, neither the table nor the one it was written into.
    void cancelLeavesNoFile() {
        const QString big = folder->filePath(QStringLiteral("suppl_1.dat"));
        {
            const QByteArray record =
                ReadAll(QDir(samples).filePath(QStringLiteral("suppl-sample.dat")))
                    .split('\n')
                    .value(0) +
                '\n';
            QFile file(big);
            QVERIFY(file.open(QIODevice::WriteOnly));
            const QByteArray block =
                record.repeated(static_cast<qsizetype>((1 << 20) / record.size()));
            for (int i = 0; i < 400; ++i) file.write(block);
        }
        const QStringList before = QDir(folder->path()).entryList(QDir::Files);
        QString proposed;
        QElapsedTimer sinceEscape;
        int shownPermille = 0;
        DialogScript script({SaveAs(&proposed, folder->filePath(QStringLiteral("tychobvr.csv"))),
                             [&](QWidget* dialog) {
                                 auto* progress = qobject_cast<QProgressDialog*>(dialog);
                                 if (progress == nullptr || progress->value() <= 0) return false;
                                 shownPermille = progress->value();
                                 Snap(progress, "progress");
                                 sinceEscape.start();
                                 QTest::keyClick(progress, Qt::Key_Escape);
                                 return true;
                             }});
        QVERIFY(Drop(form, {big}));
        QTRY_VERIFY_WITH_TIMEOUT(script.Finished(), 30000);
        // Dropped files convert once the drop has ended; the flow has returned when the timer
        // that started it has.
        QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeModalWidget() == nullptr, 5000);
        const qint64 stoppedMs = sinceEscape.elapsed();
        qInfo("cancelled at %.1f %% of 400 MiB, stopped within %lld ms", shownPermille / 10.0,
              stoppedMs);
        QVERIFY2(shownPermille < 1000, "the conversion ended before it could be cancelled");
        QVERIFY2(stoppedMs < 200, qPrintable(QString::number(stoppedMs)));
        QCOMPARE(QDir(folder->path()).entryList(QDir::Files), before);
        CheckOkStillWorks();
    }

    // Closing the save dialog converts nothing.
    void noTargetNoConversion() {
        const QString file = Copied(QStringLiteral("stars.txt"));
        const QStringList before = QDir(folder->path()).entryList(QDir::Files);
        DialogScript script({[](QWidget* dialog) {
            auto* fileDialog = qobject_cast<QFileDialog*>(dialog);
            if (fileDialog == nullptr) return false;
            fileDialog->reject();
            return true;
        }});
        QVERIFY(Drop(form, {file}));
        QTRY_VERIFY_WITH_TIMEOUT(script.Finished(), 30000);
        QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeModalWidget() == nullptr, 5000);
        QCOMPARE(QDir(folder->path()).entryList(QDir::Files), before);
    }

    // The text box's context menu offers the conversion with its shortcut.
    void contextMenuOffersConversion() {
        auto* text1 = form->findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
        QAction* offered = nullptr;
        QTimer::singleShot(100, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr) return;
            for (QAction* action : menu->actions()) {
                if (action->shortcut() == QKeySequence(QKeySequence::Open)) offered = action;
            }
            menu->close();
        });
        const QPoint at = text1->viewport()->rect().center();
        QContextMenuEvent event(QContextMenuEvent::Keyboard, at,
                                text1->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(text1->viewport(), &event);
        QVERIFY(offered != nullptr);
        QCOMPARE(offered->text(), qgetenv("LANGUAGE") == "ja"
                                      ? QStringLiteral("ファイルを CSV に変換…")
                                      : QStringLiteral("Convert files to CSV…"));
    }
};

QTEST_MAIN(FilesToCsvTest)
#include "files_to_csv_test.moc"
