#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QMimeData>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>

#include "Form1.h"
#include "WarningColour.h"

class Form1Test : public QObject {
    Q_OBJECT

private:
    Form1* form = nullptr;
    QPlainTextEdit* text1 = nullptr;
    QLabel* label1 = nullptr;
    QPushButton* command1 = nullptr;

    void Press() { QTest::mouseClick(command1, Qt::LeftButton); }
    static void SetClipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }
    QColor LabelColour() const { return label1->palette().color(QPalette::WindowText); }
    static QColor Warning(const QColor& background) {
        const Rgb colour = WarningColour({background.red(), background.green(), background.blue()});
        return QColor(colour.red, colour.green, colour.blue);
    }
    QColor WindowColour(QPalette::ColorRole role) const { return form->palette().color(role); }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void init() {
        form = new Form1;
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        form->activateWindow();
        text1 = form->findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
        label1 = form->findChild<QLabel*>(QStringLiteral("Label1"));
        command1 = form->findChild<QPushButton*>(QStringLiteral("Command1"));
        QVERIFY(text1 && label1 && command1);
    }

    void cleanup() {
        delete form;
        QApplication::setPalette(QPalette());
    }

    void initialState() {
        QCOMPARE(form->windowTitle(), QStringLiteral("BT,VTからV等級を算出"));
        QCOMPARE(text1->toPlainText(), QString());
        QCOMPARE(label1->text(), QStringLiteral("V = xx.xxx"));
        QCOMPARE(command1->text(), QStringLiteral("OK"));
        QVERIFY(!form->windowIcon().isNull());
        QTRY_COMPARE(QApplication::focusWidget(), text1);
    }

    void geometry_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("rect");
        QTest::newRow("Text1") << QStringLiteral("Text1") << QRect(8, 8, 289, 161);
        QTest::newRow("Label1") << QStringLiteral("Label1") << QRect(8, 184, 289, 17);
        QTest::newRow("Command1") << QStringLiteral("Command1") << QRect(208, 208, 89, 33);
    }

    void geometry() {
        QFETCH(QString, name);
        QFETCH(QRect, rect);
        QCOMPARE(form->findChild<QWidget*>(name)->geometry(), rect);
        QCOMPARE(form->size(), QSize(304, 248));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        QVERIFY(!form->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    }

    void textBoxScrollsInsteadOfWrapping() {
        QCOMPARE(text1->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(text1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }

    void tabOrderSkipsLabel() {
        QTRY_COMPARE(QApplication::focusWidget(), text1);
        QTest::keyClick(text1, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), command1);
        QTest::keyClick(command1, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), text1);
        QCOMPARE(text1->toPlainText(), QString());
    }

    void press_data() {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("line");
        const QString star = QStringLiteral("B = 8.889 / V = 8.459 / R = 8.243");
        QTest::newRow("one line") << QStringLiteral("BT=10.500 VT=10.000")
                                  << QStringLiteral("BT=10.500 VT=10.000")
                                  << QStringLiteral("B = 10.389 / V = 9.959 / R = 9.743");
        // "87" on the next line must not join the "9" that ends the line before.
        QTest::newRow("LF") << QStringLiteral("Star\nBT=9\n87 VT=8.5\n")
                            << QStringLiteral("Star\nBT=9\n87 VT=8.5\n") << star;
        QTest::newRow("CR LF") << QStringLiteral("Star\r\nBT=9\r\n87 VT=8.5\r\n")
                               << QStringLiteral("Star\nBT=9\n87 VT=8.5\n") << star;
        QTest::newRow("CR") << QStringLiteral("Star\rBT=9\r87 VT=8.5\r")
                            << QStringLiteral("Star\nBT=9\n87 VT=8.5\n") << star;
        QTest::newRow("tags on separate lines") << QStringLiteral("VT=8.5\nnoise\nBT=9")
                                                << QStringLiteral("VT=8.5\nnoise\nBT=9") << star;
        QTest::newRow("one tag") << QStringLiteral("BT=9") << QStringLiteral("BT=9")
                                 << QStringLiteral("BT,VT data not found");
        QTest::newRow("out of range")
            << QStringLiteral("BT=1E999 VT=1") << QStringLiteral("BT=1E999 VT=1")
            << QStringLiteral("BT,VT value out of range");
    }

    void press() {
        QFETCH(QString, clipboard);
        QFETCH(QString, shown);
        QFETCH(QString, line);
        SetClipboard(clipboard);
        Press();
        QCOMPARE(text1->toPlainText(), shown);
        QCOMPARE(label1->text(), line);
        Press();
        QCOMPARE(label1->text(), line);
    }

    void emptyClipboardEmptiesTextBox() {
        text1->setPlainText(QStringLiteral("BT=10.5 VT=10"));
        QGuiApplication::clipboard()->clear();
        Press();
        QCOMPARE(text1->toPlainText(), QString());
        QCOMPARE(label1->text(), QStringLiteral("BT,VT data not found"));
    }

    void imageOnlyClipboardIsNoText() {
        text1->setPlainText(QStringLiteral("BT=10.5 VT=10"));
        QGuiApplication::clipboard()->setImage(QImage(4, 4, QImage::Format_RGB32));
        Press();
        QCOMPARE(text1->toPlainText(), QString());
        QCOMPARE(label1->text(), QStringLiteral("BT,VT data not found"));
    }

    void typedTextIsReplacedAndNeverAnalysed() {
        SetClipboard(QStringLiteral("no tags here"));
        QTest::keyClicks(text1, QStringLiteral("BT=10.5 VT=10"));
        QCOMPARE(label1->text(), QStringLiteral("V = xx.xxx"));
        Press();
        QCOMPARE(text1->toPlainText(), QStringLiteral("no tags here"));
        QCOMPARE(label1->text(), QStringLiteral("BT,VT data not found"));
    }

    void enterAndEscapeDoNotPress() {
        SetClipboard(QStringLiteral("BT=10.5 VT=10"));
        QTest::keyClicks(text1, QStringLiteral("a"));
        QTest::keyClick(text1, Qt::Key_Return);
        QTest::keyClick(text1, Qt::Key_Enter);
        QTest::keyClick(text1, Qt::Key_Escape);
        QTest::keyClick(form, Qt::Key_Escape);
        QCOMPARE(text1->toPlainText(), QStringLiteral("a\n\n"));
        QCOMPARE(label1->text(), QStringLiteral("V = xx.xxx"));
        QVERIFY(!command1->isDefault());
        QVERIFY(!command1->autoDefault());
    }

    void largeClipboardIsShownAndAnalysed() {
        QString text;
        const QString line = QStringLiteral("TYC 1234-5678-1 BT=11.500 VT=11.000 n=2\r\n");
        while (text.size() < 5 * 1024 * 1024) text += line;  // 10 MiB of UTF-16
        text += QStringLiteral("BT=10.500 VT=10.000");
        SetClipboard(text);
        Press();
        QCOMPARE(text1->document()->blockCount(), text.count(u'\n') + 1);
        QCOMPARE(label1->text(), QStringLiteral("B = 10.389 / V = 9.959 / R = 9.743"));
    }

    void labelFitsWidestLines_data() {
        QTest::addColumn<QString>("line");
        QTest::newRow("positive") << QStringLiteral("B = 10.389 / V = 9.959 / R = 9.743");
        QTest::newRow("negative") << QStringLiteral("B = -10.389 / V = -9.959 / R = -9.743");
        QTest::newRow("not found") << QStringLiteral("BT,VT data not found");
    }

    void labelFitsWidestLines() {
        QFETCH(QString, line);
        const QStringList gothics = {QStringLiteral("ＭＳ Ｐゴシック"),
                                     QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
                                     QStringLiteral("Noto Sans CJK JP")};
        const QFontInfo info(label1->font());
        QVERIFY2(gothics.contains(info.family()), qPrintable(info.family()));
        QCOMPARE(info.pointSize(), 12);
        QCOMPARE(info.weight(), int(QFont::Normal));
        const QFontMetrics metrics(label1->font());
        QVERIFY(metrics.horizontalAdvance(line) <= label1->contentsRect().width());
        QVERIFY(metrics.height() <= label1->contentsRect().height());
    }

    void resultCanBeSelectedButTakesNoFocus() {
        QVERIFY(label1->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
        QVERIFY(!(label1->focusPolicy() & Qt::TabFocus));
        QCOMPARE(label1->textFormat(), Qt::PlainText);
    }

    void resultSaysWhetherItIsExtrapolated_data() {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("toolTipStart");  // the tooltip's texts are the shared layer's
        QTest::addColumn<bool>("warning");
        QTest::newRow("inside") << QStringLiteral("BT=10.500 VT=10.000")
                                << QStringLiteral("BT − VT = 0.500\n") << false;
        QTest::newRow("outside") << QStringLiteral("BT=12.000 VT=9.000")
                                 << QStringLiteral("Extrapolated: ") << true;
        QTest::newRow("not found") << QStringLiteral("BT=9") << QString() << false;
        QTest::newRow("out of range") << QStringLiteral("BT=1E999 VT=1") << QString() << false;
    }

    // Each row follows an extrapolated press, so what that press set must be undone.
    void resultSaysWhetherItIsExtrapolated() {
        QFETCH(QString, clipboard);
        QFETCH(QString, toolTipStart);
        QFETCH(bool, warning);
        SetClipboard(QStringLiteral("BT=11 VT=9"));
        Press();
        SetClipboard(clipboard);
        Press();
        QVERIFY2(label1->toolTip().startsWith(toolTipStart), qPrintable(label1->toolTip()));
        QCOMPARE(label1->toolTip().isEmpty(), toolTipStart.isEmpty());
        QCOMPARE(label1->accessibleDescription(),
                 warning
                     ? QStringLiteral("Result, extrapolated: BT − VT outside the range of the fits")
                     : QStringLiteral("Result"));
        const QColor background = WindowColour(QPalette::Window);
        QCOMPARE(LabelColour(), warning ? Warning(background) : WindowColour(QPalette::WindowText));
    }

    void warningColourFollowsThePalette() {
        SetClipboard(QStringLiteral("BT=12.000 VT=9.000"));
        Press();
        const QColor dark(0x2b, 0x2b, 0x2b);
        QApplication::setPalette(QPalette(QColor(0x35, 0x35, 0x35), dark));
        QTRY_COMPARE(WindowColour(QPalette::Window), dark);
        QCOMPARE(LabelColour(), Warning(dark));
    }

    void busyCursorOnlyDuringPress_data() {
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("empty") << QString();
        QTest::newRow("normal") << QStringLiteral("BT=10.500 VT=10.000");
        QTest::newRow("out of range") << QStringLiteral("BT=1E999 VT=1");
    }

    void busyCursorOnlyDuringPress() {
        QFETCH(QString, clipboard);
        SetClipboard(clipboard);
        text1->setPlainText(QStringLiteral("before"));
        Qt::CursorShape during = Qt::ArrowCursor;
        connect(text1, &QPlainTextEdit::textChanged, this, [&during] {
            if (const QCursor* cursor = QGuiApplication::overrideCursor()) during = cursor->shape();
        });
        Press();
        QCOMPARE(during, Qt::WaitCursor);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    // Run by ctest with a Japanese desktop's LANGUAGE and LC_ALL.
    void japaneseTexts() {
        if (qgetenv("LANGUAGE") != "ja") QSKIP("run by ctest with LANGUAGE=ja");
        SetClipboard(QStringLiteral("BT=12.000 VT=11.000"));
        Press();
        QCOMPARE(label1->text(), QStringLiteral("B = 11.760 / V = 10.909 / R = 10.484"));
        QCOMPARE(
            label1->toolTip(),
            QStringLiteral(
                "暗い星です（VT > 10.5）：Tycho-2 の BT・VT は 0.1 等以上ずれることがあります\n"
                "色指数 BT − VT = 1.000\n"
                "Bessell (2000)：V = 10.902、B − V = 0.878\n"
                "Henden の R・I 変換式：R = 10.446、I = 10.023\n"
                "この色指数での変換式自体の不確かさ：V ± 0.011、B − V ± 0.021\n"
                "B と V の変換式の適用範囲は −0.2 ≦ BT − VT ≦ 1.8 です。\n"
                "R = V − 0.5 (B − V) は粗い近似です。"));
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(label1);
        QCOMPARE(accessible->text(QAccessible::Description), QStringLiteral("結果"));
    }

    void accessibleNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("accessibleName");
        QTest::addColumn<QString>("description");
        QTest::newRow("Text1") << QStringLiteral("Text1") << QStringLiteral("Clipboard text")
                               << QString();
        QTest::newRow("Label1") << QStringLiteral("Label1") << QStringLiteral("V = xx.xxx")
                                << QStringLiteral("Result");
        QTest::newRow("Command1") << QStringLiteral("Command1") << QStringLiteral("OK")
                                  << QString();
    }

    void accessibleNames() {
        if (qgetenv("LANGUAGE") == "ja") QSKIP("the English names");
        QFETCH(QString, name);
        QFETCH(QString, accessibleName);
        QFETCH(QString, description);
        QAccessibleInterface* accessible =
            QAccessible::queryAccessibleInterface(form->findChild<QWidget*>(name));
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Name), accessibleName);
        QCOMPARE(accessible->text(QAccessible::Description), description);
    }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
