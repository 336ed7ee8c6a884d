// What the page calls: the windows' result for a text, and the converter fed in pieces. Strings
// cross as UTF-8; every text the page shows comes from here.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ConvertCommand.h"
#include "CsvConverter.h"
#include "IndexedReading.h"
#include "KnownVariables.h"
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
        {"convertFile", texts.pageConvertFile}, {"dropHint", texts.pageDropHint},
        {"cancel", texts.pageCancel},           {"near", texts.pageNear},
        {"nearHint", texts.pageNearHint},       {"radius", texts.pageRadius},
        {"radiusHint", texts.pageRadiusHint},   {"like", texts.pageLike},
        {"likeHint", texts.pageLikeHint},       {"epoch", texts.pageEpoch},
        {"epochHint", texts.pageEpochHint},     {"chartFile", texts.pageChartFile},
        {"aijFile", texts.pageAijFile},         {"sirilFile", texts.pageSirilFile},
        {"progress", texts.pageProgress},       {"done", texts.pageDone},
        {"cancelled", texts.pageCancelled},     {"fromTextBox", texts.pageFromTextBox},
        {"textBoxName", texts.textBoxName},     {"cannotRead", texts.cannotRead}};
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

// Where a file may be split for workers to convert its parts, and what a part gave. Counts of
// lines and stars cross as doubles, exact far beyond any file's.
struct PageSplit {
    bool possible = false;
    int form = 0;
    double lines = 0;
};
struct PagePart {
    double stars = 0;
    double lacking = 0;
    bool failed = false;
};

// The options of a conversion from the page's fields, as --near, --radius, --like and --epoch
// take them, with the chart drawn; the usage error where they are wrong. An empty position picks
// no field, and an empty field no option.
struct Fields {
    std::string position, radius, like, epoch;
};
std::u16string Selected(const Fields& fields, const Texts& texts, CsvConverter::Options& options) {
    SelectionWords words;
    const auto given = [](const std::string& text) {
        return text.empty() ? std::nullopt : std::optional<std::string>(text);
    };
    words.position = given(fields.position);
    if (words.position) {
        words.radius = given(fields.radius);
        words.like = given(fields.like);
        words.chart = "chart.svg";
    }
    words.epoch = given(fields.epoch);
    return ReadSelection(words, texts, options.selection).value_or(std::u16string());
}

// The converter for one file at a time, as --convert runs it: first the lists of known variables
// among the files, each file read as far as its form and a list to its end; then, from Start on,
// the table in pieces, and what the command line would write on standard error. A worker's
// converter converts a part of a file, and writes no header. A converter whose position or
// radius is wrong converts nothing: the page shows its error instead.
class PageConverter {
public:
    PageConverter(const std::string& language, bool header, const std::string& position,
                  const std::string& radius, const std::string& like, const std::string& epoch)
        : texts_(TextsFor(language)),
          header_(header),
          selectionError_(
              Utf8FromUtf16(Selected({position, radius, like, epoch}, texts_, options_))),
          lists_(
              ListOptions(), texts_, [](std::string_view) { return true; }, Report()),
          converter_(std::make_unique<CsvConverter>(options_, texts_, Write(), Report())) {}

    std::string SelectionError() const { return selectionError_; }

    // A file read to learn whether it is a list, and if so to its end: its form is known once
    // ListForm is 0 (no list) or 1 (a list); -1 while it is not.
    void BeginList(const std::string& name) { lists_.BeginSource(name); }
    void FeedListRoom() { lists_.Feed(room_); }
    int ListForm() {
        const std::optional<bool> list = lists_.SourceIsList();
        if (list.value_or(false)) anyList_ = true;
        return list ? (*list ? 1 : 0) : -1;
    }
    void EndList(bool complete) { lists_.EndSource(complete); }
    // After the lists: the stars are judged by what they gave, and the table begins.
    void Start() {
        variables_->Seal();
        if (anyList_) options_.selection.variables = variables_;
        converter_ = std::make_unique<CsvConverter>(options_, texts_, Write(), Report());
        if (header_ && selectionError_.empty()) converter_->WriteHeader();
    }

    void Begin(const std::string& name) { converter_->BeginSource(name); }
    PageSplit Split() {
        const std::optional<CsvConverter::Split> split = converter_->SplitHere();
        if (!split) return {};
        return {true, static_cast<int>(split->form), static_cast<double>(split->lines)};
    }
    void BeginPart(const std::string& name, int form, double linesBefore) {
        converter_->BeginPart(name, static_cast<SourceForm>(form),
                              static_cast<std::uint64_t>(linesBefore));
    }
    PagePart EndPart() {
        const CsvConverter::Stars stars = converter_->EndPart();
        return {static_cast<double>(stars.stars), static_cast<double>(stars.lacking),
                stars.inputFailed};
    }
    void AddPart(const PagePart& part) {
        converter_->AddPart({static_cast<std::uint64_t>(part.stars),
                             static_cast<std::uint64_t>(part.lacking), part.failed});
    }
    // Room in the program's memory for the next piece of the file, which the page fills with one
    // copy and then feeds: a string from the page would be copied a byte at a time. The view is
    // valid until the next call.
    emscripten::val Room(std::size_t size) {
        room_.resize(size);
        return emscripten::val(emscripten::typed_memory_view(
            room_.size(), reinterpret_cast<const unsigned char*>(room_.data())));
    }
    void FeedRoom() { converter_->Feed(room_); }
    // A source that could not be read to its end gives no row for the line it cuts.
    void End(bool complete) { converter_->EndSource(complete); }
    // After the last file: the field's rows, nearest first, and its summary.
    void Finish() { converter_->Finish(); }
    // Then, around a position, its chart as --chart draws it, and the lists of --to.
    std::string Chart() const { return converter_->Chart(); }
    std::string List(const std::string& name) const {
        return converter_->PhotometryList(name == "aij" ? OutputForm::AstroImageJ
                                                        : OutputForm::Siril);
    }
    bool UsageFailed() const { return converter_->UsageFailed(); }

    // Tycho-2's index among the files, after Start. Each file named as the index is given whole
    // in the room: true where it is one, and then it gives no rows.
    bool TakeIndex(int source) {
        std::optional<std::string> bytes = RegionIndexBytes(room_);
        if (!bytes) return false;
        isIndex_.insert(source);
        if (indexBytes_.empty()) indexSource_ = source, indexBytes_ = std::move(*bytes);
        return true;
    }
    // The files, their names one to a line, and which are lists ('1') and which not ('0'): the
    // files that the index has the field read of, in order; none where it cannot serve, when its
    // messages say why.
    emscripten::val PlanIndex(const std::string& names, const std::string& lists) {
        std::vector<std::string> sources;
        for (std::size_t at = 0; at <= names.size();) {
            const std::size_t end = std::min(names.find('\n', at), names.size());
            sources.push_back(names.substr(at, end - at));
            at = end + 1;
        }
        std::vector<bool> skipped(sources.size());
        for (std::size_t i = 0; i < sources.size(); ++i) {
            skipped[i] =
                (i < lists.size() && lists[i] == '1') || isIndex_.count(static_cast<int>(i));
        }
        emscripten::val planned = emscripten::val::array();
        if (indexBytes_.empty()) return planned;
        std::string note;
        plan_ = PlanByIndex(sources, skipped, sources[static_cast<std::size_t>(indexSource_)],
                            indexBytes_, options_.selection, texts_, note);
        if (!note.empty()) Report()(note);
        if (!plan_) return planned;
        for (const IndexPlan::File& file : plan_->files) {
            fetches_.emplace(static_cast<int>(file.source),
                             std::make_unique<IndexedFetch>(plan_->index, file.plan,
                                                            sources[file.source], texts_));
            planned.call<void>("push", static_cast<int>(file.source));
        }
        return planned;
    }
    // A planned file's first bytes and then its last 4, in the room: 1 where it is read in the
    // slices that IndexRange gives, 2 where in order from its start, 0 where it does not fit.
    int IndexBegin(int source, double size, std::size_t headSize) {
        IndexedFetch& fetch = *fetches_.at(source);
        const std::string_view room(room_);
        if (!fetch.Begin(room.substr(0, headSize), static_cast<std::uint64_t>(size),
                         room.substr(std::min(headSize, room.size())))) {
            return 0;
        }
        return fetch.Gzip() ? 2 : 1;
    }
    // Where the next slice begins and its length, or null once all are read.
    emscripten::val IndexRange(int source) const {
        const auto range = fetches_.at(source)->NextRange();
        if (!range) return emscripten::val::null();
        emscripten::val pair = emscripten::val::array();
        pair.call<void>("push", static_cast<double>(range->first));
        pair.call<void>("push", static_cast<double>(range->second));
        return pair;
    }
    // The file's bytes from `offset` in the room; false where they do not fit the index.
    bool IndexTake(int source, double offset) {
        return fetches_.at(source)->Take(static_cast<std::uint64_t>(offset), room_);
    }
    bool IndexComplete(int source) const { return fetches_.at(source)->Complete(); }
    // Once the file is read: false where it did not have what the index counts, when no file is
    // read by the index and its messages say why.
    bool IndexEnd(int source) {
        IndexedFetch& fetch = *fetches_.at(source);
        if (fetch.Ended()) {
            runs_[source] = fetch.TakeRuns();
            return true;
        }
        Report()(IndexUnusedNote(plan_->indexName, fetch.Why(), texts_));
        plan_.reset();
        fetches_.clear();
        runs_.clear();
        return false;
    }
    // After the last planned file, where all fitted.
    void IndexDone() {
        if (plan_) Report()(IndexUsedNote(*plan_, texts_));
    }
    // Whether a file is the index, and gives no rows; whether it was read by the index, and is
    // converted from its runs by ConvertIndexed.
    bool IsIndex(int source) const { return isIndex_.count(source) != 0; }
    bool ReadByIndex(int source) const { return plan_ && runs_.count(source) != 0; }
    void ConvertIndexed(int source, const std::string& name) {
        std::vector<IndexedRun>& runs = runs_.at(source);
        if (runs.empty()) return;
        converter_->BeginSource(name);
        for (IndexedRun& run : runs) {
            converter_->SkipTo(run.linesBefore);
            converter_->Feed(std::exchange(run.bytes, {}));
        }
        converter_->EndSource(true);
    }
    // What has been written since the last call, as a view of the program's memory that stays
    // valid until the next call.
    emscripten::val TakeTable() {
        taken_ = std::exchange(table_, {});
        return emscripten::val(emscripten::typed_memory_view(
            taken_.size(), reinterpret_cast<const unsigned char*>(taken_.data())));
    }
    std::string TakeMessages() { return std::exchange(messages_, {}); }
    bool Failed() const { return converter_->InputFailed() || lists_.InputFailed(); }

private:
    CsvConverter::Options ListOptions() {
        CsvConverter::Options options = options_;
        options.listsInto = variables_.get();
        return options;
    }
    CsvConverter::Write Write() {
        return [this](std::string_view bytes) {
            table_ += bytes;
            return true;
        };
    }
    CsvConverter::Report Report() {
        return [this](std::string_view message) {
            messages_ += message;
            messages_ += '\n';
        };
    }

    const Texts& texts_;
    bool header_;
    CsvConverter::Options options_;
    std::string selectionError_;
    std::string table_;
    std::string taken_;
    std::string messages_;
    std::string room_;
    std::shared_ptr<KnownVariables> variables_ = std::make_shared<KnownVariables>();
    bool anyList_ = false;
    std::set<int> isIndex_;
    int indexSource_ = -1;
    std::string indexBytes_;
    std::optional<IndexPlan> plan_;
    std::map<int, std::unique_ptr<IndexedFetch>> fetches_;
    std::map<int, std::vector<IndexedRun>> runs_;
    CsvConverter lists_;
    std::unique_ptr<CsvConverter> converter_;
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
    emscripten::function("isRegionIndexName",
                         emscripten::optional_override(
                             [](const std::string& name) { return IsRegionIndexName(name); }));
    emscripten::value_object<PageSplit>("PageSplit")
        .field("possible", &PageSplit::possible)
        .field("form", &PageSplit::form)
        .field("lines", &PageSplit::lines);
    emscripten::value_object<PagePart>("PagePart")
        .field("stars", &PagePart::stars)
        .field("lacking", &PagePart::lacking)
        .field("failed", &PagePart::failed);
    emscripten::class_<PageConverter>("Converter")
        .constructor<std::string, bool, std::string, std::string, std::string, std::string>()
        .function("selectionError", &PageConverter::SelectionError)
        .function("beginList", &PageConverter::BeginList)
        .function("feedListRoom", &PageConverter::FeedListRoom)
        .function("listForm", &PageConverter::ListForm)
        .function("endList", &PageConverter::EndList)
        .function("start", &PageConverter::Start)
        .function("finish", &PageConverter::Finish)
        .function("chart", &PageConverter::Chart)
        .function("list", &PageConverter::List)
        .function("usageFailed", &PageConverter::UsageFailed)
        .function("takeIndex", &PageConverter::TakeIndex)
        .function("planIndex", &PageConverter::PlanIndex)
        .function("indexBegin", &PageConverter::IndexBegin)
        .function("indexRange", &PageConverter::IndexRange)
        .function("indexTake", &PageConverter::IndexTake)
        .function("indexComplete", &PageConverter::IndexComplete)
        .function("indexEnd", &PageConverter::IndexEnd)
        .function("indexDone", &PageConverter::IndexDone)
        .function("isIndex", &PageConverter::IsIndex)
        .function("readByIndex", &PageConverter::ReadByIndex)
        .function("convertIndexed", &PageConverter::ConvertIndexed)
        .function("begin", &PageConverter::Begin)
        .function("split", &PageConverter::Split)
        .function("beginPart", &PageConverter::BeginPart)
        .function("endPart", &PageConverter::EndPart)
        .function("addPart", &PageConverter::AddPart)
        .function("room", &PageConverter::Room)
        .function("feedRoom", &PageConverter::FeedRoom)
        .function("end", &PageConverter::End)
        .function("takeTable", &PageConverter::TakeTable)
        .function("takeMessages", &PageConverter::TakeMessages)
        .function("failed", &PageConverter::Failed);
}
