#include "Form1.h"

#include <QAction>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFileDialog>
#include <QFont>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include <cstddef>
#include <string_view>

#include "ComparisonStars.h"
#include "FilesToCsv.h"
#include "ResultLine.h"
#include "Texts.h"
#include "UserTexts.h"
#include "WarningColour.h"

namespace {

char16_t LocaleDecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 ? point.front().unicode() : u'.';
}

QColor WarningColourOn(const QColor& background) {
    const Rgb colour = WarningColour({background.red(), background.green(), background.blue()});
    return QColor(colour.red, colour.green, colour.blue);
}

QFont LabelFont() {
    // Metric-alike Japanese proportional Gothics stand in where the first family is missing.
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    font.setPointSize(12);
    font.setWeight(QFont::Normal);
    return font;
}

// The local files that a drag carries; none when it carries anything else as well.
QStringList DroppedFiles(const QMimeData* data) {
    QStringList files;
    if (data == nullptr || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) return {};
        files << url.toLocalFile();
    }
    return files;
}

}  // namespace

Form1::Form1(QWidget* parent)
    : QWidget(parent),
      Text1(new QPlainTextEdit(this)),
      Label1(new QLabel(QStringLiteral("V = xx.xxx"), this)),
      Command1(new QPushButton(QStringLiteral("OK"), this)),
      convertFiles(new QAction(ToQString(UserTexts().convertFiles), this)),
      comparisonStars(new QAction(ToQString(UserTexts().comparisonStars), this)) {
    setWindowTitle(QStringLiteral("BT,VTからV等級を算出"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/org.tychobvr.TychoBVR.png")));
    // The layout is fixed, so the window keeps its size and offers no maximise button.
    setFixedSize(304, 248);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(8, 8, 289, 161);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setTabChangesFocus(true);
    Text1->setAccessibleName(ToQString(UserTexts().textBoxName));

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 184, 289, 17);
    Label1->setFont(LabelFont());
    Label1->setTextFormat(Qt::PlainText);
    // Selectable so the result can be copied; mouse selection alone takes no Tab focus.
    Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label1->setAccessibleDescription(ToQString(UserTexts().resultDescription));

    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(208, 208, 89, 33);
    Command1->setAutoDefault(false);
    Command1->setDefault(false);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);

    convertFiles->setShortcut(QKeySequence::Open);
    convertFiles->setShortcutContext(Qt::WindowShortcut);
    addAction(convertFiles);
    connect(convertFiles, &QAction::triggered, this, &Form1::ConvertFiles_Triggered);
    comparisonStars->setObjectName(QStringLiteral("comparisonStars"));
    comparisonStars->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    comparisonStars->setShortcutContext(Qt::WindowShortcut);
    addAction(comparisonStars);
    connect(comparisonStars, &QAction::triggered, this, &Form1::ComparisonStars_Triggered);
    Text1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Text1, &QPlainTextEdit::customContextMenuRequested, this,
            &Form1::Text1_CustomContextMenuRequested);
    setAcceptDrops(true);
    Text1->viewport()->installEventFilter(this);

    setTabOrder(Text1, Command1);
    Text1->setFocus();
}

void Form1::changeEvent(QEvent* event) {
    // A new palette, a dark theme for one, needs a warning colour of its own.
    if (event->type() == QEvent::PaletteChange) ColourLabel();
    QWidget::changeEvent(event);
}

void Form1::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent* event) {
    const QStringList files = DroppedFiles(event->mimeData());
    if (files.isEmpty()) return;
    event->acceptProposedAction();
    ConvertLater(files);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text1->viewport()) {
        switch (event->type()) {
            case QEvent::DragEnter:
            case QEvent::DragMove: {
                auto* drag = static_cast<QDragMoveEvent*>(event);
                if (DroppedFiles(drag->mimeData()).isEmpty()) break;
                drag->acceptProposedAction();
                return true;
            }
            case QEvent::Drop: {
                auto* drop = static_cast<QDropEvent*>(event);
                const QStringList files = DroppedFiles(drop->mimeData());
                if (files.isEmpty()) break;
                drop->acceptProposedAction();
                ConvertLater(files);
                return true;
            }
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::ConvertFiles_Triggered() {
    const QStringList files = QFileDialog::getOpenFileNames(
        this, ToQString(UserTexts().filesToConvert), QString(), StarFilesFilter());
    ConvertFilesToCsv(this, files);
}

void Form1::ComparisonStars_Triggered() {
    ComparisonStars dialog(this);
    dialog.exec();
}

void Form1::Text1_CustomContextMenuRequested(const QPoint& position) {
    QMenu* menu = Text1->createStandardContextMenu(position);
    menu->addSeparator();
    menu->addAction(convertFiles);
    menu->addAction(comparisonStars);
    menu->exec(Text1->viewport()->mapToGlobal(position));
    delete menu;
}

void Form1::ConvertLater(const QStringList& files) {
    QTimer::singleShot(0, this, [this, files] { ConvertFilesToCsv(this, files); });
}

void Form1::Command1_Click() {
    // A clipboard of a few MiB, or an owner that does not answer, keeps the press busy a while.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restoreCursor = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
    Text1->setPlainText(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
    const Result result = ResultFor(WithCrLfLineEnds(ToView(Text1->toPlainText())),
                                    LocaleDecimalSeparator(), UserTexts());
    Label1->setText(ToQString(result.line));
    Label1->setToolTip(ToQString(result.toolTip));
    Label1->setAccessibleDescription(ToQString(result.description));
    extrapolated = result.extrapolated;
    ColourLabel();
}

void Form1::ColourLabel() {
    QPalette colours;  // no role of its own: the label takes every colour from the window
    if (extrapolated) {
        colours.setColor(QPalette::WindowText, WarningColourOn(palette().color(QPalette::Window)));
    }
    Label1->setPalette(colours);
}
