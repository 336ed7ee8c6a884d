#include "CommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "Texts.h"
#include "UserTexts.h"

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

// Whether Qt has a display to connect to: one named by the environment or on the command line,
// or a platform chosen explicitly, such as offscreen.
bool HasDisplay(const QCommandLineParser& parser) {
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!qEnvironmentVariableIsEmpty(variable)) return true;
    }
    return parser.isSet(QStringLiteral("platform")) || parser.isSet(QStringLiteral("display"));
}

[[noreturn]] void Fail(const QString& message) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
                 message.toUtf8().constData());
    std::exit(EXIT_FAILURE);
}

}  // namespace

void ProcessCommandLine(int& argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    LoadQtTranslations(app);
    const Texts& texts = UserTexts();
    QCommandLineParser parser;
    parser.setApplicationDescription(ToQString(texts.commandLineDescription));
    // Qt's options are single-dash words, which must not read as bundles of -h and -v.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(
        {QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")},
        ToQString(texts.helpOption));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     ToQString(texts.versionOption));
    parser.addOption(help);
    parser.addOption(version);
    AddHiddenOptions(parser, kQtOptionsWithValue, true);
    AddHiddenOptions(parser, kQtSwitches, false);
    if (!parser.parse(QCoreApplication::arguments())) {
        const QStringList unknown = parser.unknownOptionNames();
        Fail(unknown.isEmpty()
                 ? parser.errorText()
                 : ToQString(Substitute(texts.unknownOption, ToView(unknown.first()))));
    }
    if (parser.isSet(help)) parser.showHelp(EXIT_SUCCESS);
    if (parser.isSet(version)) parser.showVersion();
    const QStringList arguments = parser.positionalArguments();
    if (!arguments.isEmpty()) {
        Fail(ToQString(Substitute(texts.unexpectedArgument, ToView(arguments.first()))));
    }
    // Without a display Qt would abort with a word about its platform plugins.
    if (!HasDisplay(parser)) Fail(ToQString(texts.needsDisplay));
}
