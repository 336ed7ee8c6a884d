// The comparison-star dialog's fields read as the command line's options.
#include "ComparisonFields.h"

#include <optional>

#include "Selection.h"
#include "Utf.h"

namespace {

std::optional<std::string> Given(const std::u16string& text) {
    if (text.empty()) return std::nullopt;
    return Utf8FromUtf16(text);
}

// The problem of one option given beside a position that is one, or the position's own.
std::u16string ProblemOf(SelectionWords words, const Texts& texts) {
    if (!words.position) words.position = "0 0";
    Selection unused;
    return ReadSelection(words, texts, unused).value_or(std::u16string());
}

}  // namespace

FieldProblems ReadComparisonFields(const ComparisonFields& fields, const Texts& texts,
                                   CsvConverter::Options& options) {
    SelectionWords words;
    // An empty position is no position either: the converter says so in its words.
    words.position = Utf8FromUtf16(fields.position);
    words.radius = Given(fields.radius);
    words.like = Given(fields.like);
    words.epoch = Given(fields.epoch);
    words.usable = fields.usableOnly;
    words.chart = "chart.svg";  // drawn, not written: the dialog shows and saves it

    FieldProblems problems;
    SelectionWords alone;
    alone.position = words.position;
    problems.position = ProblemOf(alone, texts);
    alone = {};
    alone.radius = words.radius;
    problems.radius = ProblemOf(alone, texts);
    alone = {};
    alone.like = words.like;
    problems.like = ProblemOf(alone, texts);
    alone = {};
    alone.epoch = words.epoch;
    problems.epoch = ProblemOf(alone, texts);
    if (problems.Any()) return problems;
    options = {};
    // What the fields together cannot be is the position's to say.
    problems.position = ReadSelection(words, texts, options.selection).value_or(std::u16string());
    return problems;
}
