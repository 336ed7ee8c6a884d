// The window reads a clipboard that another program owns, through a real X server.
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstddef>

#include "Form1.h"

class Form1X11Test : public QObject {
    Q_OBJECT

private:
    pid_t owner = -1;  // xclip, holding the clipboard until it is stopped

    // Hands the text to xclip, which runs in the foreground (-quiet) until it is stopped. It is
    // started with fork and exec: under qemu-user, QProcess's vfork-like start is refused.
    bool OwnClipboard(const QByteArray& text) {
        int input[2];
        if (pipe(input) != 0) return false;
        owner = fork();
        if (owner == 0) {
            dup2(input[0], STDIN_FILENO);
            close(input[0]);
            close(input[1]);
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDOUT_FILENO);
            execlp("xclip", "xclip", "-quiet", "-selection", "clipboard", "-i", nullptr);
            _exit(127);
        }
        close(input[0]);
        const bool written =
            owner > 0 &&
            write(input[1], text.constData(), static_cast<std::size_t>(text.size())) == text.size();
        close(input[1]);
        if (!written) return false;
        // The selection is ours to read once xclip has taken it over.
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 5000) {
            if (QGuiApplication::clipboard()->ownsClipboard()) return false;
            const QString current = QGuiApplication::clipboard()->text();
            if (current == QString::fromUtf8(text)) return true;
            QTest::qWait(20);
        }
        return false;
    }

private slots:
    void initTestCase() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QLocale::setDefault(QLocale::c());
    }

    void cleanup() {
        if (owner <= 0) return;
        kill(owner, SIGTERM);
        waitpid(owner, nullptr, 0);
        owner = -1;
    }

    void pressReadsOtherProcessClipboard_data() {
        QTest::addColumn<QByteArray>("clipboard");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("line");
        QTest::newRow("one line") << QByteArray("BT=10.500 VT=10.000")
                                  << QStringLiteral("BT=10.500 VT=10.000")
                                  << QStringLiteral("B = 10.389 / V = 9.959 / R = 9.743");
        QTest::newRow("CR LF lines") << QByteArray("Star\r\nBT=9\r\n87 VT=8.5\r\n")
                                     << QStringLiteral("Star\nBT=9\n87 VT=8.5\n")
                                     << QStringLiteral("B = 8.889 / V = 8.459 / R = 8.243");
        QTest::newRow("UTF-8 text")
            << QByteArray("星 BT=7 VT=7 等級") << QStringLiteral("星 BT=7 VT=7 等級")
            << QStringLiteral("B = 7.018 / V = 7.008 / R = 7.003");
    }

    void pressReadsOtherProcessClipboard() {
        QFETCH(QByteArray, clipboard);
        QFETCH(QString, shown);
        QFETCH(QString, line);
        Form1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY2(OwnClipboard(clipboard), "xclip did not take the clipboard");
        QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
        QCOMPARE(form.findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->toPlainText(), shown);
        QCOMPARE(form.findChild<QLabel*>(QStringLiteral("Label1"))->text(), line);
    }
};

QTEST_MAIN(Form1X11Test)
#include "form1_x11_test.moc"
