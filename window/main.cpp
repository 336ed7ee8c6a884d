#include <QApplication>

#include "Form1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tychobvr.TychoBVR"));
    Form1 form;
    form.show();
    return app.exec();
}
