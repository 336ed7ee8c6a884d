#include <QApplication>

#include "CommandLine.h"
#include "Form1.h"
#include "UserTexts.h"

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("tychobvr"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TYCHOBVR_VERSION));
    QCoreApplication::setOrganizationDomain(QStringLiteral("tychobvr.org"));
    ProcessCommandLine(argc, argv);

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tychobvr.TychoBVR"));
    LoadQtTranslations(app);
    Form1 form;
    form.show();
    return app.exec();
}
