// Start-up time, resident memory and the cost of a press, on the offscreen platform.
//   window_benchmark            runs every measurement and prints a table
//   window_benchmark --child    starts, shows the window and reports (used by the parent)
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <string_view>
#include <vector>

#include "Form1.h"
#include "ResultLine.h"
#include "Statistics.h"

namespace {

// Resident set size in MB, from the kernel's accounting of this process.
double ResidentMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1.0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
        }
    }
    return -1.0;
}

void ShowAndWait(Form1& form) {
    form.show();
    while (!form.windowHandle() || !form.windowHandle()->isExposed()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

int RunChild(int argc, char* argv[]) {
    QApplication app(argc, argv);
    Form1 form;
    ShowAndWait(form);
    std::printf("shown %.1f\n", ResidentMegabytes());
    std::fflush(stdout);
    return 0;
}

void MeasureStartup(const QString& self) {
    std::vector<double> times;
    std::vector<double> resident;
    for (int run = 0; run < 15; ++run) {
        QProcess child;
        const auto start = Clock::now();
        child.start(self, {QStringLiteral("--child")});
        child.waitForReadyRead(10000);
        const auto shown = Clock::now();
        const QByteArray line = child.readLine();
        child.waitForFinished(10000);
        if (!line.startsWith("shown")) {
            std::printf("start-up child failed\n");
            return;
        }
        times.push_back(Milliseconds(shown - start));
        resident.push_back(line.mid(6).trimmed().toDouble());
    }
    std::printf("start to window shown: median %.1f ms, best %.1f ms (15 runs)\n", Median(times),
                *std::min_element(times.begin(), times.end()));
    std::printf("resident memory after start: %.1f MB\n", Median(resident));
}

QString CatalogueText(qsizetype characters) {
    const QString line = QStringLiteral("TYC 1234-5678-1 BT=10.500 VT=10.000 n=2\r\n");
    QString text;
    text.reserve(characters + line.size());
    while (text.size() < characters) text += line;
    text.truncate(characters);
    return text;
}

template <typename Work>
double TimeMilliseconds(Work work) {
    const auto start = Clock::now();
    work();
    return Milliseconds(Clock::now() - start);
}

// The whole press, and beside it the project's own part of it timed step by step on the same
// text: fetching the clipboard, the line ends, the analysis and the label.
void MeasurePress(Form1& form, const char* label, qsizetype characters, int runs) {
    auto* text1 = form.findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
    auto* label1 = form.findChild<QLabel*>(QStringLiteral("Label1"));
    auto* command1 = form.findChild<QPushButton*>(QStringLiteral("Command1"));
    QGuiApplication::clipboard()->setText(CatalogueText(characters));
    std::vector<double> press;
    std::vector<double> own;
    for (int run = 0; run < runs; ++run) {
        text1->clear();
        press.push_back(TimeMilliseconds([&] { command1->click(); }));

        const QString back = text1->toPlainText();
        QString clipboard;
        Result result;
        double ownTime =
            TimeMilliseconds([&] { clipboard = QGuiApplication::clipboard()->text(); });
        ownTime += TimeMilliseconds([&] {
            const std::u16string_view view(reinterpret_cast<const char16_t*>(back.utf16()),
                                           static_cast<std::size_t>(back.size()));
            result = ResultFor(WithCrLfLineEnds(view), u'.');
        });
        label1->clear();
        ownTime += TimeMilliseconds([&] {
            label1->setText(QString::fromStdU16String(result.line));
            label1->setToolTip(QString::fromStdU16String(result.toolTip));
        });
        own.push_back(ownTime);
        if (clipboard.size() != characters) std::printf("clipboard lost\n");
    }
    const double total = Median(press);
    const double ownMedian = Median(own);
    std::printf(
        "press, %-7s clipboard: %9.3f ms, outside setPlainText/toPlainText %7.3f ms (%.2f %%)\n",
        label, total, ownMedian, 100.0 * ownMedian / total);
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && qstrcmp(argv[1], "--child") == 0) return RunChild(argc, argv);

    QApplication app(argc, argv);
    MeasureStartup(QCoreApplication::applicationFilePath());
    Form1 form;
    ShowAndWait(form);
    MeasurePress(form, "1 KiB", 1024, 51);
    MeasurePress(form, "1 MiB", 1024 * 1024, 11);
    MeasurePress(form, "10 MiB", 10 * 1024 * 1024, 7);
    return 0;
}
