#include "CommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "Texts.h"

namespace {

// The options that QApplication and its platform plugins take out of the arguments themselves.
constexpr char kQtOptionsWithValue[] =
    "platform platformpluginpath platformtheme plugin qwindowgeometry qwindowicon qwindowtitle "
    "session style stylesheet qmljsdebugger display name visual geometry icon title";
constexpr char kQtSwitches[] = "reverse widgetcount testability nograb dograb";

void AddHiddenOptions(QCommandLineParser& parser, const char* names, bool takeValue) {
    for (const QString& name : QString::fromLatin1(names).split(u' ')) {
        QCommandLineOption option(name);
        if (takeValue) option.setValueName(QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

}  // namespace

void ProcessCommandLine(int& argc, char* argv[]) {
    const QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const std::u16string_view description = EnglishTexts().commandLineDescription;
    parser.setApplicationDescription(
        QString::fromUtf16(description.data(), static_cast<qsizetype>(description.size())));
    // Qt's options are single-dash words, which must not read as bundles of -h and -v.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
    AddHiddenOptions(parser, kQtOptionsWithValue, true);
    AddHiddenOptions(parser, kQtSwitches, false);
    parser.process(app);

    const QStringList arguments = parser.positionalArguments();
    if (!arguments.isEmpty()) {
        std::fprintf(stderr, "%s: Unexpected argument '%s'.\n",
                     qPrintable(QCoreApplication::applicationName()),
                     qPrintable(arguments.first()));
        std::exit(EXIT_FAILURE);
    }
}
