#include "FilesToCsv.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>
#include <QSaveFile>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FileConversion.h"
#include "MessagesDialog.h"
#include "PosixConvertStreams.h"
#include "Texts.h"
#include "UserTexts.h"

namespace {

// How often the progress dialog looks at the conversion: often enough that Cancel and the end
// show at once, seldom enough to cost nothing.
constexpr int kPollMs = 50;
constexpr int kBarSteps = 1000;

QString Substituted(std::u16string_view text, const QString& first, const QString& second = {},
                    const QString& third = {}) {
    return ToQString(Substitute(text, {ToView(first), ToView(second), ToView(third)}));
}

}  // namespace

QString StarFilesFilter() {
    const Texts& texts = UserTexts();
    QStringList patterns;
    for (const std::u16string_view pattern : kStarFilePatterns) patterns << ToQString(pattern);
    return ToQString(texts.allFiles) + QStringLiteral(" (*);;") + ToQString(texts.starFiles) +
           QStringLiteral(" (") + patterns.join(u' ') + u')';
}

bool RunWithProgress(QWidget* window, FileConversion& conversion, const QStringList& files) {
    const Texts& texts = UserTexts();
    QProgressDialog progress(window);
    progress.setWindowTitle(ToQString(texts.converting));
    progress.setCancelButtonText(ToQString(texts.cancel));
    progress.setRange(0, kBarSteps);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    progress.setMinimumDuration(0);
    const auto show = [&] {
        const FileConversion::Progress now = conversion.Now();
        progress.setValue(static_cast<int>(now.fraction * kBarSteps));
        const auto source = static_cast<qsizetype>(now.source);
        progress.setLabelText(Substituted(texts.reading, QFileInfo(files.value(source)).fileName(),
                                          QString::number(source + 1),
                                          QString::number(files.size())));
        if (now.done) progress.accept();
    };
    show();
    QObject::connect(&progress, &QProgressDialog::canceled, [&conversion] { conversion.Cancel(); });
    QTimer poll;
    poll.setInterval(kPollMs);
    QObject::connect(&poll, &QTimer::timeout, &progress, show);
    poll.start();
    // Only the end of the conversion accepts the dialog: Cancel, Escape or closing it cancel.
    const bool cancelled = progress.exec() != QDialog::Accepted;
    poll.stop();
    // Cancelled, the conversion stops at its next piece.
    if (cancelled) conversion.Cancel();
    conversion.Wait();
    return !cancelled;
}

ConversionSources SourcesOf(const QStringList& files) {
    ConversionSources sources;
    for (const QString& file : files) {
        sources.names.push_back(QFile::encodeName(file).toStdString());
        sources.totalBytes +=
            static_cast<std::uint64_t>(std::max<qint64>(QFileInfo(file).size(), 0));
    }
    return sources;
}

void ConvertFilesToCsv(QWidget* window, const QStringList& files) {
    if (files.isEmpty()) return;
    const Texts& texts = UserTexts();
    const QString proposed =
        QFileInfo(files.first()).absoluteDir().filePath(QStringLiteral("tychobvr.csv"));
    const QString target =
        QFileDialog::getSaveFileName(window, ToQString(texts.saveTable), proposed,
                                     ToQString(texts.csvFiles) + QStringLiteral(" (*.csv)"));
    if (target.isEmpty()) return;

    QSaveFile table(target);
    if (!table.open(QIODevice::WriteOnly)) {
        MessagesDialog(ToQString(texts.conversionEnded),
                       Substituted(texts.tableNotSaved, target, table.errorString()), window)
            .exec();
        return;
    }
    const ConversionSources sources = SourcesOf(files);
    PosixConvertStreams reading;
    QString writeFailure;
    // The conversion writes on its own thread, and nothing else touches the file until it ends.
    FileConversion conversion(
        sources.names, sources.totalBytes, texts, reading,
        [&table, &writeFailure](std::string_view bytes, std::u16string& reason) {
            const auto size = static_cast<qint64>(bytes.size());
            if (table.write(bytes.data(), size) == size) return true;
            writeFailure = table.errorString();
            reason = std::u16string(ToView(writeFailure));
            return false;
        });

    const bool cancelled = !RunWithProgress(window, conversion, files);
    // Cancelled, the file it wrote goes with it.
    if (cancelled) return;
    QString said = QString::fromUtf8(conversion.Messages());
    if (table.commit()) {
        said.prepend(Substituted(texts.tableSaved, QDir::toNativeSeparators(target)) +
                     QStringLiteral("\n\n"));
    } else {
        said.prepend(Substituted(texts.tableNotSaved, QDir::toNativeSeparators(target),
                                 writeFailure.isEmpty() ? table.errorString() : writeFailure) +
                     QStringLiteral("\n\n"));
    }
    MessagesDialog(ToQString(texts.conversionEnded), said, window).exec();
}
