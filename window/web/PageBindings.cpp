// What the page calls: the windows' result for a text, and the converter fed in pieces. Strings
// cross as UTF-8; every text the page shows comes from here.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <memory>
#include <string>

#include "ConvertCommand.h"
#include "CsvConverter.h"
#include "ResultLine.h"
#include "Texts.h"
#include "Utf.h"
#include "WarningColour.h"

namespace {

struct PageResult {
    std::string line;
    std::string toolTip;
    std::string description;
    bool extrapolated = false;
};

// The result that a press shows for the text, with the browser's decimal separator and
// language.
PageResult ResultForText(const std::string& text, const std::string& separator,
                         const std::string& language) {
    const std::u16string units = Utf16FromUtf8(separator);
    const char16_t decimalSeparator = units.size() == 1 ? units.front() : u'.';
    const Result result =
        ResultFor(WithCrLfLineEnds(Utf16FromUtf8(text)), decimalSeparator, TextsFor(language));
    return {Utf8FromUtf16(result.line), Utf8FromUtf16(result.toolTip),
            Utf8FromUtf16(result.description), result.extrapolated};
}

// One of the page's texts, by the name the page knows it by.
std::string PageText(const std::string& language, const std::string& name) {
    const Texts& texts = TextsFor(language);
    const std::pair<const char*, std::u16string_view> named[] = {
        {"convertFile", texts.pageConvertFile},
        {"dropHint", texts.pageDropHint},
        {"cancel", texts.pageCancel},
        {"progress", texts.pageProgress},
        {"done", texts.pageDone},
        {"cancelled", texts.pageCancelled},
        {"fromTextBox", texts.pageFromTextBox},
        {"textBoxName", texts.textBoxName}};
    for (const auto& [key, text] : named) {
        if (name == key) return Utf8FromUtf16(text);
    }
    return {};
}

std::string Substituted(const std::string& text, const std::string& first,
                        const std::string& second) {
    return Utf8FromUtf16(
        Substitute(Utf16FromUtf8(text), Utf16FromUtf8(first), Utf16FromUtf8(second)));
}

// The red of an extrapolated line on the page's white, as a CSS colour.
std::string WarningCss() {
    const Rgb red = WarningColour({255, 255, 255});
    return "rgb(" + std::to_string(red.red) + "," + std::to_string(red.green) + "," +
           std::to_string(red.blue) + ")";
}

// The converter for one file at a time, as --convert runs it: its table in pieces, and what the
// command line would write on standard error.
class PageConverter {
public:
    explicit PageConverter(const std::string& language)
        : texts_(TextsFor(language)),
          converter_(
              CsvConverter::Options{}, texts_,
              [this](std::string_view bytes) {
                  table_ += bytes;
                  return true;
              },
              [this](std::string_view message) {
                  messages_ += message;
                  messages_ += '\n';
              }) {
        converter_.WriteHeader();
    }

    void Begin(const std::string& name) { converter_.BeginSource(name); }
    void Feed(const std::string& bytes) { converter_.Feed(bytes); }
    void End() { converter_.EndSource(); }
    // What has been written since the last call, as a view of the program's memory that stays
    // valid until the next call.
    emscripten::val TakeTable() {
        taken_ = std::exchange(table_, {});
        return emscripten::val(emscripten::typed_memory_view(
            taken_.size(), reinterpret_cast<const unsigned char*>(taken_.data())));
    }
    std::string TakeMessages() { return std::exchange(messages_, {}); }
    bool Failed() const { return converter_.InputFailed(); }

private:
    const Texts& texts_;
    std::string table_;
    std::string taken_;
    std::string messages_;
    CsvConverter converter_;
};

}  // namespace

EMSCRIPTEN_BINDINGS(tychobvr) {
    emscripten::value_object<PageResult>("PageResult")
        .field("line", &PageResult::line)
        .field("toolTip", &PageResult::toolTip)
        .field("description", &PageResult::description)
        .field("extrapolated", &PageResult::extrapolated);
    emscripten::function("resultFor", &ResultForText);
    emscripten::function("pageText", &PageText);
    emscripten::function("substitute", &Substituted);
    emscripten::function("warningColour", &WarningCss);
    emscripten::class_<PageConverter>("Converter")
        .constructor<std::string>()
        .function("begin", &PageConverter::Begin)
        .function("feed", &PageConverter::Feed)
        .function("end", &PageConverter::End)
        .function("takeTable", &PageConverter::TakeTable)
        .function("takeMessages", &PageConverter::TakeMessages)
        .function("failed", &PageConverter::Failed);
}
