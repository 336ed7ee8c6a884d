#include "CommandLine.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Console.h"
#include "ConvertCommand.h"
#include "Handles.h"
#include "Texts.h"
#include "UserTexts.h"
#include "Utf.h"
#include "Win32ConvertStreams.h"
#include "version.h"

namespace {

constexpr std::u16string_view kProgram = u"tychobvr";
constexpr int kUsageError = 2;

// An option with its description beside it, wrapped at blanks to lines of 80 columns.
std::u16string Described(std::u16string_view names, std::u16string_view description) {
    constexpr std::size_t kIndent = 24;
    constexpr std::size_t kWidth = 80;
    std::u16string text = u"  " + std::u16string(names);
    text.resize(std::max(text.size() + 2, kIndent), u' ');
    std::size_t column = text.size();
    for (std::size_t word = 0; word < description.size();) {
        const std::size_t end = std::min(description.find(u' ', word), description.size());
        if (column > kIndent && column + 1 + (end - word) > kWidth) {
            text += u'\n' + std::u16string(kIndent, u' ');
            column = kIndent;
        } else if (column > kIndent) {
            text += u' ';
            ++column;
        }
        text.append(description.substr(word, end - word));
        column += end - word;
        word = end + 1;
    }
    return text + u"\n";
}

std::u16string Help(const Texts& texts) {
    std::u16string help = Substitute(texts.usage, u"tychobvr.exe");
    help.append(u"\n").append(Substitute(texts.convertUsage, u"tychobvr.exe")).append(u"\n");
    help.append(texts.commandLineDescription).append(u"\n\n");
    help.append(texts.optionsHeading).append(u"\n");
    help += Described(u"-?, -h, --help", texts.helpOption);
    help += Described(u"-v, --version", texts.versionOption);
    help += Described(u"--convert", texts.convertOption);
    help += Described(u"--encoding <NAME>", texts.encodingOption);
    help += Described(u"--form <FORM>", texts.formOption);
    help += Described(u"--near <POSITION>", texts.nearOption);
    help += Described(u"--radius <R>", texts.radiusOption);
    help += Described(u"--v <MIN:MAX>", texts.vOption);
    help += Described(u"--b-v <MIN:MAX>", texts.bMinusVOption);
    help += Described(u"--like <DV:DBV>", texts.likeOption);
    help += Described(u"--usable", texts.usableOption);
    help += Described(u"--max-error <MAG>", texts.largestErrorOption);
    help += Described(u"--epoch <YEAR>", texts.epochOption);
    help += Described(u"--to <csv|aij|siril>", texts.toOption);
    help += Described(u"--chart <FILE.svg>", texts.chartOption);
    return help;
}

int Fail(std::u16string_view message, int status = kUsageError) {
    std::u16string line(kProgram);
    line.append(u": ").append(message).append(u"\n");
    Say(STD_ERROR_HANDLE, line, true);
    return status;
}

bool IsOption(std::u16string_view argument, std::initializer_list<std::u16string_view> names) {
    for (const std::u16string_view name : names) {
        if (argument == name) return true;
    }
    return false;
}

}  // namespace

std::optional<int> ProcessCommandLine() {
    int count = 0;
    const std::unique_ptr<LPWSTR, LocalDeleter> arguments(
        CommandLineToArgvW(GetCommandLineW(), &count));
    if (!arguments) return std::nullopt;
    const Texts& texts = UserTexts();
    bool convert = false;
    std::optional<std::u16string> encodingName;
    std::optional<std::u16string> formName;
    SelectionWords words;
    // The options that take a value, as --name VALUE or --name=VALUE.
    const std::pair<std::u16string_view, std::optional<std::string>*> valued[] = {
        {u"--near", &words.position},
        {u"--radius", &words.radius},
        {u"--v", &words.V},
        {u"--b-v", &words.BMinusV},
        {u"--max-error", &words.largestError},
        {u"--like", &words.like},
        {u"--to", &words.to},
        {u"--epoch", &words.epoch},
        {u"--chart", &words.chart}};
    std::vector<std::u16string> files;
    bool optionsEnded = false;  // after "--" every word is an argument
    for (int i = 1; i < count; ++i) {
        const std::u16string_view argument(reinterpret_cast<const char16_t*>(arguments.get()[i]));
        const bool isFile =
            optionsEnded || argument == u"-" || (!argument.starts_with(u'-') && argument != u"/?");
        if (isFile) {
            files.emplace_back(argument);
        } else if (argument == u"--") {
            optionsEnded = true;
        } else if (IsOption(argument, {u"-h", u"--help", u"-?", u"/?"})) {
            Say(STD_OUTPUT_HANDLE, Help(texts), false);
            return EXIT_SUCCESS;
        } else if (IsOption(argument, {u"-v", u"--version"})) {
            Say(STD_OUTPUT_HANDLE, std::u16string(kProgram) + u" " TYCHOBVR_VERSION_TEXT u"\n",
                false);
            return EXIT_SUCCESS;
        } else if (argument == u"--convert") {
            convert = true;
        } else if (argument == u"--encoding") {
            if (++i == count) return Fail(Substitute(texts.missingValue, argument));
            encodingName = reinterpret_cast<const char16_t*>(arguments.get()[i]);
        } else if (argument.starts_with(u"--encoding=")) {
            encodingName = argument.substr(argument.find(u'=') + 1);
        } else if (const auto named =
                       std::find_if(std::begin(valued), std::end(valued),
                                    [argument](const auto& option) {
                                        return argument == option.first ||
                                               (argument.starts_with(option.first) &&
                                                argument.size() > option.first.size() &&
                                                argument[option.first.size()] == u'=');
                                    });
                   named != std::end(valued)) {
            if (argument == named->first) {
                if (++i == count) return Fail(Substitute(texts.missingValue, argument));
                *named->second =
                    Utf8FromUtf16(reinterpret_cast<const char16_t*>(arguments.get()[i]));
            } else {
                *named->second = Utf8FromUtf16(argument.substr(named->first.size() + 1));
            }
        } else if (argument == u"--usable") {
            words.usable = true;
        } else if (argument == u"--form") {
            if (++i == count) return Fail(Substitute(texts.missingValue, argument));
            formName = reinterpret_cast<const char16_t*>(arguments.get()[i]);
        } else if (argument.starts_with(u"--form=")) {
            formName = argument.substr(argument.find(u'=') + 1);
        } else {
            return Fail(
                Substitute(texts.unknownOption, argument.substr(argument.find_first_not_of(u'-'))));
        }
    }
    if (!convert) {
        if (!files.empty()) return Fail(Substitute(texts.unexpectedArgument, files.front()));
        return std::nullopt;
    }
    CsvConverter::Options options;
    if (encodingName) {
        const std::optional<InputEncoding> encoding = EncodingNamed(Utf8FromUtf16(*encodingName));
        if (!encoding) return Fail(Substitute(texts.unknownEncoding, *encodingName));
        options.encoding = *encoding;
    }
    if (formName) {
        const std::optional<SourceForm> form = FormNamed(Utf8FromUtf16(*formName));
        if (!form) return Fail(Substitute(texts.unknownForm, *formName));
        options.form = *form;
    }
    if (const std::optional<std::u16string> wrong =
            ReadSelection(words, texts, options.selection)) {
        return Fail(*wrong);
    }
    if (words.chart) options.chartFile = *words.chart;
    std::vector<std::string> sources;
    for (const std::u16string& file : files) sources.push_back(Utf8FromUtf16(file));
    Win32ConvertStreams streams;
    return RunConvert(sources, options, texts, streams);
}
