// Any bytes through the converter must give the same rows and messages, in the same order,
// however they are read: whole, in pieces of 1 to 37 bytes, or split at a line end with the rest
// given to a second converter, as the page's workers are.
//
// The first four bytes choose the options: the encoding and whether to keep the stars around a
// position (the whole sky, so that every star with a position is kept and sorted, or a small
// field), the form,
// the line limit (a small one or the default) and the piece size.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CsvConverter.h"

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
};

class Run {
public:
    explicit Run(const Options& options, bool header = true)
        : converter_(
              options.converter, EnglishTexts(),
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

private:
    CsvConverter converter_;
};

constexpr std::string_view kName = "source.dat";

Output Finished(Run& run) {
    run->EndSource();
    run->Finish();
    run.output.failed = run->InputFailed();
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
        expected.failed == got.failed) {
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
        SourceForm::Tycho2,    SourceForm::Tycho2Supplement, SourceForm::Hipparcos};
    Options options;
    options.converter.encoding = data[0] & 1 ? InputEncoding::ShiftJis : InputEncoding::Utf8;
    if (data[0] & 2) {
        // The whole sky, or a field that most stars lie far outside of.
        SelectionWords words;
        words.position = data[0] & 4 ? "0 +0" : "00 09 16 +02 13 55";
        words.radius = data[0] & 4 ? "180" : "2";
        if (ReadSelection(words, EnglishTexts(), options.converter.selection)) std::abort();
    }
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
