#include "CommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ConvertCommand.h"
#include "PosixConvertStreams.h"
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

// "-v" is the version, as it always was, and Qt's parser reads "--v" as "-v": the range of V goes
// by another name inside, and by its own in what the user reads.
const QString kVRange = QStringLiteral("v-range");

QStringList WithVRange(QStringList arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString& argument = arguments[i];
        if (argument == u"--") break;
        if (argument == u"--v") {
            argument = QStringLiteral("--v-range");
            ++i;  // its value, whatever it is
        } else if (argument.startsWith(u"--v=")) {
            argument = QStringLiteral("--v-range=") + argument.mid(4);
        }
    }
    return arguments;
}

// Qt's texts with the range's own name, in the columns of the help.
QString WithV(QString text) {
    return text
        .replace(QStringLiteral("--v-range <MIN:MAX>"), QStringLiteral("--v <MIN:MAX>      "))
        .replace(QStringLiteral("--v-range"), QStringLiteral("--v"));
}

// Ends the program with a message; usage errors end with status 2.
constexpr int kUsageError = 2;

[[noreturn]] void Fail(const QString& message, int status = kUsageError) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
                 message.toUtf8().constData());
    std::exit(status);
}

// The options of "--convert" beside the sources.
struct ConvertOptions {
    QCommandLineOption encoding, form, near, radius, V, BMinusV, like, usable, largestError, epoch,
        to, chart;
};

// "--convert": the sources as the user gave them, bytes and all.
[[noreturn]] void Convert(const QCommandLineParser& parser, const ConvertOptions& named,
                          const Texts& texts) {
    const QCommandLineOption& encoding = named.encoding;
    const QCommandLineOption& form = named.form;
    CsvConverter::Options options;
    if (parser.isSet(encoding)) {
        const QString name = parser.value(encoding);
        const std::optional<InputEncoding> input = EncodingNamed(name.toStdString());
        if (!input) Fail(ToQString(Substitute(texts.unknownEncoding, ToView(name))));
        options.encoding = *input;
    }
    if (parser.isSet(form)) {
        const QString name = parser.value(form);
        const std::optional<SourceForm> formNamed = FormNamed(name.toStdString());
        if (!formNamed) Fail(ToQString(Substitute(texts.unknownForm, ToView(name))));
        options.form = *formNamed;
    }
    SelectionWords words;
    const auto word = [&parser](const QCommandLineOption& option) {
        return parser.isSet(option) ? std::optional<std::string>(parser.value(option).toStdString())
                                    : std::nullopt;
    };
    words.position = word(named.near);
    words.radius = word(named.radius);
    words.V = word(named.V);
    words.BMinusV = word(named.BMinusV);
    words.largestError = word(named.largestError);
    words.like = word(named.like);
    words.to = word(named.to);
    words.epoch = word(named.epoch);
    if (parser.isSet(named.chart)) {
        words.chart = QFile::encodeName(parser.value(named.chart)).toStdString();
    }
    words.usable = parser.isSet(named.usable);
    if (const std::optional<std::u16string> wrong =
            ReadSelection(words, texts, options.selection)) {
        Fail(ToQString(*wrong));
    }
    if (words.chart) options.chartFile = *words.chart;
    std::vector<std::string> sources;
    for (const QString& source : parser.positionalArguments()) {
        sources.push_back(QFile::encodeName(source).toStdString());
    }
    PosixConvertStreams streams;
    std::exit(RunConvert(sources, options, texts, streams));
}

}  // namespace

void ProcessCommandLine(int& argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    LoadQtTranslations(app);
    const Texts& texts = UserTexts();
    QCommandLineParser parser;
    // The converter's usage under the window's, which Qt writes with the program as it was called.
    parser.setApplicationDescription(
        ToQString(Substitute(texts.convertUsage, ToView(QCoreApplication::arguments().value(0))) +
                  u"\n" + std::u16string(texts.commandLineDescription)));
    // Qt's options are single-dash words, which must not read as bundles of -h and -v.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(
        {QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")},
        ToQString(texts.helpOption));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     ToQString(texts.versionOption));
    const QCommandLineOption convert(QStringLiteral("convert"), ToQString(texts.convertOption));
    const QCommandLineOption encoding(QStringLiteral("encoding"), ToQString(texts.encodingOption),
                                      QStringLiteral("NAME"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(convert);
    const QCommandLineOption form(QStringLiteral("form"), ToQString(texts.formOption),
                                  QStringLiteral("FORM"));
    parser.addOption(encoding);
    parser.addOption(form);
    const ConvertOptions convertOptions{
        encoding,
        form,
        QCommandLineOption(QStringLiteral("near"), ToQString(texts.nearOption),
                           QStringLiteral("POSITION")),
        QCommandLineOption(QStringLiteral("radius"), ToQString(texts.radiusOption),
                           QStringLiteral("R")),
        QCommandLineOption(kVRange, ToQString(texts.vOption), QStringLiteral("MIN:MAX")),
        QCommandLineOption(QStringLiteral("b-v"), ToQString(texts.bMinusVOption),
                           QStringLiteral("MIN:MAX")),
        QCommandLineOption(QStringLiteral("like"), ToQString(texts.likeOption),
                           QStringLiteral("DV:DBV")),
        QCommandLineOption(QStringLiteral("usable"), ToQString(texts.usableOption)),
        QCommandLineOption(QStringLiteral("max-error"), ToQString(texts.largestErrorOption),
                           QStringLiteral("MAG")),
        QCommandLineOption(QStringLiteral("epoch"), ToQString(texts.epochOption),
                           QStringLiteral("YEAR")),
        QCommandLineOption(QStringLiteral("to"), ToQString(texts.toOption),
                           QStringLiteral("csv|aij|siril")),
        QCommandLineOption(QStringLiteral("chart"), ToQString(texts.chartOption),
                           QStringLiteral("FILE.svg")),
    };
    for (const QCommandLineOption* option :
         {&convertOptions.near, &convertOptions.radius, &convertOptions.V, &convertOptions.BMinusV,
          &convertOptions.like, &convertOptions.usable, &convertOptions.largestError,
          &convertOptions.epoch, &convertOptions.to, &convertOptions.chart}) {
        parser.addOption(*option);
    }
    AddHiddenOptions(parser, kQtOptionsWithValue, true);
    AddHiddenOptions(parser, kQtSwitches, false);
    if (!parser.parse(WithVRange(QCoreApplication::arguments()))) {
        const QStringList unknown = parser.unknownOptionNames();
        Fail(unknown.isEmpty()
                 ? WithV(parser.errorText())
                 : ToQString(Substitute(texts.unknownOption, ToView(unknown.first()))));
    }
    if (parser.isSet(help)) {
        std::fputs(qPrintable(WithV(parser.helpText())), stdout);
        std::exit(EXIT_SUCCESS);
    }
    if (parser.isSet(version)) parser.showVersion();
    if (parser.isSet(convert)) Convert(parser, convertOptions, texts);
    const QStringList arguments = parser.positionalArguments();
    if (!arguments.isEmpty()) {
        Fail(ToQString(Substitute(texts.unexpectedArgument, ToView(arguments.first()))));
    }
    // Without a display Qt would abort with a word about its platform plugins.
    if (!HasDisplay(parser)) Fail(ToQString(texts.needsDisplay), EXIT_FAILURE);
}
