// "--convert" over the platform's streams: the lists of known variables among the sources first,
// wherever they stand, then every other source in its turn.
#include "ConvertCommand.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "CsvConverter.h"
#include "IndexedReading.h"
#include "KnownVariables.h"
#include "ReadAhead.h"
#include "Utf.h"

namespace {

constexpr std::string_view kStandardInput = "-";
// A list's header follows a banner of some kilobytes; a source whose form is not known after
// this many bytes, as tagged text with a huge first line, is no list.
constexpr std::size_t kLongestHead = std::size_t(1) << 20;

// What reading the lists found: the variables, which sources are lists, and the bytes read of
// standard input to learn its form, which cannot be read again and so begin its conversion.
struct Lists {
    std::shared_ptr<KnownVariables> variables = std::make_shared<KnownVariables>();
    std::vector<bool> isList;
    std::string standardInputHead;
    bool any = false;
};

// Reads each source as far as its form, and each list to its end. A source that cannot be opened
// or read before its form is known is left to its conversion, which says so.
Lists ReadLists(const std::vector<std::string>& sources, const CsvConverter::Options& options,
                const Texts& texts, ConvertStreams& streams, const CsvConverter::Report& complain,
                bool& failed) {
    Lists lists;
    lists.isList.assign(sources.size(), false);
    CsvConverter::Options listOptions = options;
    listOptions.listsInto = lists.variables.get();
    CsvConverter reader(
        listOptions, texts, [](std::string_view) { return true; }, complain);
    bool standardInputSeen = false;
    for (std::size_t index = 0; index < sources.size(); ++index) {
        const std::string& source = sources[index];
        const bool standardInput = source == kStandardInput;
        // Standard input is read once; where it is named again, it has nothing more.
        if (standardInput && std::exchange(standardInputSeen, true)) continue;
        std::u16string reason;
        streams.Reading(index);
        if (!streams.Open(source, reason)) continue;
        reader.BeginSource(source);
        // The form is known from the first lines: small reads, so that little is read of a source
        // that is no list.
        std::vector<char> piece(std::size_t(1) << 16);
        std::ptrdiff_t count = 0;
        std::size_t sniffed = 0;
        while (!reader.SourceIsList() && sniffed < kLongestHead &&
               (count = streams.Read(piece.data(), piece.size(), reason)) > 0) {
            sniffed += static_cast<std::size_t>(count);
            const std::string_view bytes(piece.data(), static_cast<std::size_t>(count));
            if (standardInput) lists.standardInputHead += bytes;
            reader.Feed(bytes);
        }
        if (reader.SourceIsList().value_or(false)) {
            lists.isList[index] = lists.any = true;
            if (standardInput) lists.standardInputHead.clear();
            ReadAhead pieces(streams);
            const char* bytes = nullptr;
            while (count >= 0 && (count = pieces.Next(bytes, reason)) > 0) {
                reader.Feed({bytes, static_cast<std::size_t>(count)});
            }
        }
        streams.Close();
        // A source that is no list says nothing here.
        reader.EndSource(count == 0);
        if (lists.isList[index] && count < 0) {
            complain(Utf8FromUtf16(Substitute(texts.cannotRead, Utf16FromUtf8(source), reason)));
            failed = true;
        }
    }
    if (reader.InputFailed()) failed = true;
    lists.variables->Seal();
    return lists;
}

}  // namespace

int RunConvert(const std::vector<std::string>& sources, CsvConverter::Options options,
               const Texts& texts, ConvertStreams& streams, FieldOutputs* outputs) {
    bool readerGone = false;
    bool failed = false;
    std::u16string writeFailure;
    const auto write = [&](std::string_view bytes) {
        switch (streams.Write(bytes, writeFailure)) {
            case ConvertStreams::Written::All:
                return true;
            case ConvertStreams::Written::ReaderGone:
                readerGone = true;
                break;
            case ConvertStreams::Written::Failed:
                break;
        }
        return false;
    };
    const auto complain = [&streams](std::string_view message) { streams.Complain(message); };
    const auto cannotRead = [&](const std::string& source, std::u16string_view reason) {
        complain(Utf8FromUtf16(Substitute(texts.cannotRead, Utf16FromUtf8(source), reason)));
        failed = true;
    };

    const std::vector<std::string> standardInput{std::string(kStandardInput)};
    const std::vector<std::string>& named = sources.empty() ? standardInput : sources;
    Lists lists = ReadLists(named, options, texts, streams, complain, failed);
    if (lists.any) options.selection.variables = lists.variables;
    IndexedSources indexed = ReadByIndex(named, lists.isList, options.selection, texts, streams);
    if (!indexed.note.empty()) complain(indexed.note);

    CsvConverter converter(options, texts, write, complain);
    converter.WriteHeader();
    for (std::size_t index = 0; index < named.size(); ++index) {
        const std::string& source = named[index];
        if (converter.OutputFailed()) break;
        if (lists.isList[index] || indexed.isIndex[index]) continue;
        if (indexed.runs[index]) {
            // Read already, by the index: only the runs that the field needs, where it needs any.
            if (indexed.runs[index]->empty()) continue;
            converter.BeginSource(source);
            for (IndexedRun& run : *indexed.runs[index]) {
                converter.SkipTo(run.linesBefore);
                converter.Feed(std::exchange(run.bytes, {}));
            }
            converter.EndSource(true);
            continue;
        }
        std::u16string reason;
        streams.Reading(index);
        if (!streams.Open(source, reason)) {
            cannotRead(source, reason);
            continue;
        }
        converter.BeginSource(source);
        if (source == kStandardInput) converter.Feed(std::exchange(lists.standardInputHead, {}));
        std::ptrdiff_t count = 0;
        {
            ReadAhead pieces(streams);
            const char* bytes = nullptr;
            while ((count = pieces.Next(bytes, reason)) > 0 && !converter.OutputFailed()) {
                converter.Feed({bytes, static_cast<std::size_t>(count)});
            }
        }
        streams.Close();
        // The line that a failure cuts short gives no row: it would look complete.
        converter.EndSource(count == 0);
        if (count < 0) cannotRead(source, reason);
    }
    converter.Finish();
    if (converter.UsageFailed()) return 2;
    if (outputs && options.selection.field) {
        outputs->chart = converter.Chart();
        outputs->astroImageJ = converter.PhotometryList(OutputForm::AstroImageJ);
        outputs->siril = converter.PhotometryList(OutputForm::Siril);
    }
    if (!options.chartFile.empty() && !converter.OutputFailed()) {
        std::u16string reason;
        if (!streams.WriteWholeFile(options.chartFile, converter.Chart(), reason)) {
            complain(Utf8FromUtf16(
                Substitute(texts.cannotWriteChart, Utf16FromUtf8(options.chartFile), reason)));
            failed = true;
        }
    }
    if (converter.OutputFailed() && !readerGone) {
        complain(Utf8FromUtf16(Substitute(texts.cannotWrite, writeFailure)));
        failed = true;
    }
    return failed || converter.InputFailed() ? 1 : 0;
}
