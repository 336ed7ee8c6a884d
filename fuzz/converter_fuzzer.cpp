// Any bytes through the converter must give the same rows and messages, in the same order,
// however they are read: whole, in pieces of 1 to 37 bytes, or split at a line end with the rest
// given to a second converter, as the page's workers are.
//
// The first four bytes choose the options: the encoding, whether to keep the stars around a
// position (the whole sky, so that every star with a position is kept and sorted, or a small
// field), whether to judge them against a few known variables and to move them to another epoch;
// the form, the line limit (a small one or the default), whether only lists of variables are
// read, as before a conversion, and the piece size.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CsvConverter.h"
#include "KnownVariables.h"

namespace {

struct Options {
    CsvConverter::Options converter;
    std::size_t lineLimit = CsvConverter::kLineLimit;
    std::size_t piece = 1;
};

struct Output {
    std::string rows;
    std::string messages;  // each with its line end, in order
    bool failed = false;
    std::size_t listed = 0;  // where only lists are read: the variables they gave
};

class Run {
public:
    explicit Run(const Options& options, bool header = true)
        : converter_(
              WithList(options.converter), EnglishTexts(),
              [this](std::string_view bytes) {
                  output.rows += bytes;
                  return true;
              },
              [this](std::string_view message) {
                  output.messages += message;
                  output.messages += '\n';
              },
              options.lineLimit) {
        if (header) converter_.WriteHeader();
    }
    CsvConverter& operator*() { return converter_; }
    CsvConverter* operator->() { return &converter_; }
    Output output;
    KnownVariables listed;

private:
    // Lists are read into the run's own variables.
    CsvConverter::Options WithList(CsvConverter::Options options) {
        if (options.listsInto) options.listsInto = &listed;
        return options;
    }

    CsvConverter converter_;
};

constexpr std::string_view kName = "source.dat";

Output Finished(Run& run) {
    run->EndSource();
    run->Finish();
    run.output.failed = run->InputFailed();
    run.output.listed = run.listed.Size();
    return run.output;
}

Output Whole(const Options& options, std::string_view bytes) {
    Run run(options);
    run->BeginSource(kName);
    run->Feed(bytes);
    return Finished(run);
}

Output InPieces(const Options& options, std::string_view bytes) {
    Run run(options);
    run->BeginSource(kName);
    for (std::size_t at = 0; at < bytes.size(); at += options.piece) {
        run->Feed(bytes.substr(at, options.piece));
    }
    return Finished(run);
}

// Split at the first line end past the middle, where the converter allows it; nothing where it
// does not.
std::optional<Output> Split(const Options& options, std::string_view bytes) {
    const std::size_t end = bytes.find('\n', bytes.size() / 2);
    if (end == std::string_view::npos) return std::nullopt;
    Run run(options);
    run->BeginSource(kName);
    run->Feed(bytes.substr(0, end + 1));
    const std::optional<CsvConverter::Split> split = run->SplitHere();
    if (!split) return std::nullopt;
    Run part(options, false);
    part->BeginPart(kName, split->form, split->lines);
    part->Feed(bytes.substr(end + 1));
    const CsvConverter::Stars stars = part->EndPart();
    run.output.rows += part.output.rows;
    run.output.messages += part.output.messages;
    run->AddPart(stars);
    return Finished(run);
}

void Expect(const Output& expected, const Output& got, const char* how) {
    if (expected.rows == got.rows && expected.messages == got.messages &&
        expected.failed == got.failed && expected.listed == got.listed) {
        return;
    }
    std::fprintf(stderr, "read %s, the converter gave\n%s%s\nwhere whole it gave\n%s%s\n", how,
                 got.rows.c_str(), got.messages.c_str(), expected.rows.c_str(),
                 expected.messages.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    static constexpr SourceForm kForms[] = {
        SourceForm::Automatic, SourceForm::Tagged,           SourceForm::Table,
        SourceForm::Tycho2,    SourceForm::Tycho2Supplement, SourceForm::Hipparcos,
        SourceForm::Variables};
    Options options;
    options.converter.encoding = data[0] & 1 ? InputEncoding::ShiftJis : InputEncoding::Utf8;
    if (data[0] & 2) {
        // The whole sky, or a field that most stars lie far outside of.
        SelectionWords words;
        words.position = data[0] & 4 ? "0 +0" : "00 09 16 +02 13 55";
        words.radius = data[0] & 4 ? "180" : "2";
        if (ReadSelection(words, EnglishTexts(), options.converter.selection)) std::abort();
    }
    // Positions moved to another epoch, which also keeps a file from being split.
    if (data[0] & 16) options.converter.selection.epoch = 2026.9;
    if (data[0] & 8) {
        // Variables at the seeds' stars, one of them across 0h, and at a pole.
        static const std::shared_ptr<const KnownVariables> kVariables = [] {
            auto variables = std::make_shared<KnownVariables>();
            variables->Add({0.02402278, 1.08802111}, "V1 Psc DSCT");
            variables->Add({2.3175, 2.2318}, "V2 Psc EW");
            variables->Add({359.9999, 1.0}, "V3 Psc RRAB");
            variables->Add({0.0, 90.0}, "V4 UMi M");
            variables->Seal();
            return variables;
        }();
        options.converter.selection.variables = kVariables;
    }
    // Only the lists, into each run's own variables.
    static KnownVariables unused;
    if (data[2] & 2) options.converter.listsInto = &unused;
    options.converter.form = kForms[data[1] % std::size(kForms)];
    options.lineLimit = data[2] & 1 ? 40 : CsvConverter::kLineLimit;
    options.piece = 1 + data[3] % 37;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 4, size - 4);

    const Output whole = Whole(options, bytes);
    Expect(whole, InPieces(options, bytes), "in pieces");
    if (const std::optional<Output> split = Split(options, bytes)) {
        Expect(whole, *split, "split at a line end");
    }
    return 0;
}
