// Reading a source: its bytes decoded into lines, gzip inflated as it comes, its form decided
// from its first lines, and its lines gathered into batches whose rows are written in order;
// then what the source and the run as a whole found.
#include "CsvConverter.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "FieldPlacement.h"
#include "FinderChart.h"
#include "PhotometryLists.h"
#include "StarRows.h"
#include "Utf.h"
#include "tychobvr/conversion.h"

namespace {

// A compacted line is at most two tags with their fields and two more units, with separators:
// the limit must leave room for it to grow again.
constexpr std::size_t kTagAndField = 3 + 6;
constexpr std::size_t kSmallestLineLimit = 4 * kTagAndField;

// Shortens a line that is still growing to a text that gives the same result, however the line
// goes on: the last "BT=" and the last "VT=" with their value fields, which may go on into what
// is still to come, and the last two units, which may begin a tag. The pieces keep their order;
// where two touch they stay one, and elsewhere a separator keeps them apart, so that no tag is made
// or lost between them.
void Compact(std::u16string& line) {
    std::vector<std::pair<std::size_t, std::size_t>> pieces;
    for (std::u16string_view tag : {u"BT=", u"VT="}) {
        const std::size_t at = line.rfind(tag);
        if (at != std::u16string::npos) {
            pieces.emplace_back(at, std::min(at + kTagAndField, line.size()));
        }
    }
    // A tag cut by the end of the line so far has at most its first two units there.
    const std::size_t tail = 2;
    pieces.emplace_back(line.size() - std::min(tail, line.size()), line.size());
    std::sort(pieces.begin(), pieces.end());
    std::u16string compact;
    std::size_t end = 0;
    for (const auto& [begin, pieceEnd] : pieces) {
        if (!compact.empty() && begin > end) compact += u'|';
        const std::size_t from = compact.empty() ? begin : std::max(begin, end);
        if (pieceEnd > from) compact.append(line, from, pieceEnd - from);
        end = std::max(end, pieceEnd);
    }
    line = std::move(compact);
}

template <typename Char>
bool IsCommentOrBlank(std::basic_string_view<Char> line) {
    const auto text = Trimmed(line);
    return text.empty() || text.front() == Char('#');
}

}  // namespace

CsvConverter::CsvConverter(Options options, const Texts& texts, Write write, Report report,
                           std::size_t lineLimit)
    : options_(options),
      texts_(texts),
      write_(std::move(write)),
      report_(std::move(report)),
      lineLimit_(std::max(lineLimit, kSmallestLineLimit)) {
    batch_.text.reserve(kUnitsAtOnce + 4096);
}

void CsvConverter::WriteHeader() {
    // Around a position the header waits for the rows, which an option may still refuse; a
    // photometry program's list has a header of its own.
    if (!options_.selection.field) Emit(HeaderRow());
}

void CsvConverter::BeginSource(std::string_view name) {
    if (sourceFailed_) inputFailed_ = true;
    sourceFailed_ = false;
    decoder_ = LineDecoder(options_.encoding);
    batch_.quotedName = CsvField(name);
    batch_.name = Utf16FromUtf8(name);
    batch_.texts = &texts_;
    batch_.selection = &options_.selection;
    positioned_ = 0;
    lineNumber_ = 0;
    lineStart_ = recordStart_ = batch_.text.size();
    overlong_ = false;
    form_ = batch_.form = options_.form;
    table_.reset();
    batch_.table.reset();
    unitsLines_ = 0;
    stars_ = lacking_ = 0;
    tagFound_ = false;
    inflater_.reset();
    compressionKnown_ = false;
    untaken_.clear();
}

void CsvConverter::Complain(std::uint64_t line, std::u16string_view text,
                            std::initializer_list<std::u16string_view> values) {
    sourceFailed_ = true;
    batch_.notes.push_back({line, Utf8FromUtf16(Substitute(text, values))});
}

namespace {

// A count as the summary gives it, its thousands grouped: "2,539,913".
std::u16string Grouped(std::uint64_t count) {
    const std::u16string digits = Decimal(count);
    std::u16string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0) grouped += u',';
        grouped += digits[i];
    }
    return grouped;
}

}  // namespace

std::optional<bool> CsvConverter::SourceIsList() const {
    if (form_ == SourceForm::Automatic) return std::nullopt;
    return form_ == SourceForm::Variables;
}

bool CsvConverter::Skipped() {
    if (form_ == SourceForm::Automatic ||
        (form_ == SourceForm::Variables) == (options_.listsInto != nullptr)) {
        return false;
    }
    batch_.text.clear();
    batch_.bytes.clear();
    batch_.lines.clear();
    batch_.notes.clear();
    lineStart_ = recordStart_ = 0;
    untaken_.clear();
    // What its reading found wrong is told, and counts, where the source is read for its rows.
    sourceFailed_ = false;
    return true;
}

void CsvConverter::Feed(std::string_view bytes) {
    if (outputFailed_ || Skipped()) return;
    std::string held;  // the first bytes of the source, held back until its form is known
    if (!compressionKnown_) {
        // A gzip stream begins with its two magic bytes, which may come one piece at a time.
        held = untaken_ + std::string(bytes);
        if (held.size() < 2 && GzipInflater::MayBegin(held)) {
            untaken_ = std::move(held);
            return;
        }
        untaken_.clear();
        compressionKnown_ = true;
        if (GzipInflater::Begins(held)) inflater_ = std::make_unique<GzipInflater>();
        bytes = held;
    }
    if (inflater_) {
        if (inflater_->Failed()) return;
        inflater_->Inflate(bytes, [this](std::string_view out) { FeedDecoded(out); });
        if (inflater_->Failed()) {
            Complain(kAfterLines, texts_.notGzip,
                     {batch_.name, Utf16FromUtf8(inflater_->Reason())});
        }
        return;
    }
    FeedDecoded(bytes);
}

void CsvConverter::FeedDecoded(std::string_view bytes) {
    if (outputFailed_) return;
    std::string joined;
    if (!untaken_.empty()) {
        joined = untaken_;
        joined += bytes;
        bytes = joined;
    }
    // The line being decoded goes straight to the end of the batch's text.
    std::u16string& text = batch_.text;
    for (;;) {
        if (IsRecordForm(form_) || PlainList()) {
            bytes = TakeAsciiRecords(bytes);
            if (outputFailed_) return;
        }
        const LineDecoder::Step step = decoder_.Decode(bytes, text, lineStart_ + lineLimit_);
        bytes.remove_prefix(step.taken);
        if (step.lineEnded) {
            EndLine();
            if (outputFailed_ || Skipped()) return;
        } else if (text.size() - lineStart_ >= lineLimit_) {
            if (form_ == SourceForm::Automatic || form_ == SourceForm::Tagged) {
                std::u16string line = text.substr(lineStart_);
                Compact(line);
                text.replace(lineStart_, std::u16string::npos, line);
            } else {
                // A table's row or a record is never this long: it is dropped with a word.
                overlong_ = true;
                text.resize(lineStart_);
            }
        } else {
            break;  // what is left is the start of a character still to come, or nothing
        }
    }
    untaken_.assign(bytes);
}

void CsvConverter::SkipTo(std::uint64_t lines) {
    if (!untaken_.empty() || batch_.text.size() != lineStart_ || recordStart_ != lineStart_ ||
        lines < lineNumber_) {
        return;
    }
    lineNumber_ = lines;
}

std::string_view CsvConverter::TakeAsciiRecords(std::string_view bytes) {
    // The records go into the batch as one run of bytes, line ends and comments included, copied
    // when the batch is full and at the end: where each copy is a call, as in WebAssembly, a copy
    // for each record took a twentieth of the conversion.
    const char* run = bytes.data();
    const auto inRun = [&run](const char* at) { return static_cast<std::size_t>(at - run); };
    const auto copyRun = [&] { batch_.bytes.append(run, inRun(bytes.data())); };
    // Under --epoch a star may move into the field from as far as its fastest motion takes it.
    std::optional<NearField> rough = options_.selection.field;
    if (rough && IsRecordForm(form_)) {
        rough->radius += options_.selection.Reach(LayoutOf(form_).positionEpoch);
    }
    // Only where no line is being decoded.
    while (!outputFailed_ && batch_.text.size() == lineStart_ && recordStart_ == lineStart_ &&
           !overlong_ && !decoder_.LineInvalid()) {
        const std::optional<std::size_t> length = decoder_.AsciiLine(bytes, lineLimit_);
        if (!length) break;
        std::string_view record = bytes.substr(0, *length);
        const std::size_t begin = batch_.bytes.size() + inRun(record.data());
        bytes.remove_prefix(*length + 1);
        recordNumber_ = ++lineNumber_;
        if (!record.empty() && record.back() == '\r') record.remove_suffix(1);
        if (IsCommentOrBlank(record)) continue;
        // Under --near, most records lie far outside the field: they are counted here and go no
        // further, and the run of bytes to copy goes on after them.
        bool lacking = false, positioned = false;
        if (rough && form_ != SourceForm::Variables &&
            FarOutsideField(LayoutOf(form_), record, *rough, lacking, positioned)) {
            ++stars_;
            ++read_;
            if (lacking) ++lacking_;
            if (positioned) ++positioned_;
            if (record.data() != run) batch_.bytes.append(run, inRun(record.data()));
            run = bytes.data();
            continue;
        }
        batch_.lines.push_back({recordNumber_, begin, begin + record.size(), true});
        if (BatchFull(inRun(bytes.data()))) {
            copyRun();
            run = bytes.data();
            WriteRows();
        }
        lineStart_ = recordStart_ = batch_.text.size();
    }
    copyRun();
    return bytes;
}

std::optional<CsvConverter::Split> CsvConverter::SplitHere() {
    // Another converter has no lists of variables to judge its stars by, nor the epoch to move them
    // to.
    if (outputFailed_ || options_.selection.field || options_.selection.variables ||
        options_.selection.epoch || !IsRecordForm(form_) || !compressionKnown_ || inflater_ ||
        !untaken_.empty() || batch_.text.size() != lineStart_ || recordStart_ != lineStart_ ||
        overlong_ || decoder_.LineInvalid() || !decoder_.AsciiCompatible()) {
        return std::nullopt;
    }
    if (BatchHasWork()) WriteRows();
    CollectRows();
    if (outputFailed_) return std::nullopt;
    return Split{form_, lineNumber_};
}

void CsvConverter::BeginPart(std::string_view name, SourceForm form, std::uint64_t linesBefore) {
    BeginSource(name);
    decoder_ = LineDecoder::GoingOn(options_.encoding);
    compressionKnown_ = true;
    form_ = batch_.form = form;
    lineNumber_ = linesBefore;
}

CsvConverter::Stars CsvConverter::EndPart() {
    FinishSource(true);
    return {stars_, lacking_, InputFailed()};
}

void CsvConverter::AddPart(const Stars& part) {
    stars_ += part.stars;
    lacking_ += part.lacking;
    read_ += part.stars;
    if (part.inputFailed) inputFailed_ = true;
}

void CsvConverter::EndSource(bool complete) {
    if (outputFailed_) return;
    if (!Skipped()) FinishSource(complete);
    // What a source of another form says is told where it is read.
    if (Skipped()) return;
    if (form_ == SourceForm::Variables) {
        // A list that marks nothing is no list the user meant to give.
        const std::u16string_view fault = !table_            ? texts_.noListHeader
                                          : positioned_ == 0 ? texts_.noListPositions
                                                             : u"";
        if (!fault.empty()) {
            inputFailed_ = true;
            report_(Utf8FromUtf16(Substitute(fault, {batch_.name})));
        }
        report_(Utf8FromUtf16(Substitute(stars_ == 1 ? texts_.listSummaryOne : texts_.listSummary,
                                         {batch_.name, Grouped(stars_)})));
        return;
    }
    const bool noStars = form_ == SourceForm::Tagged || (form_ == SourceForm::Table && !table_);
    // A stream that was damaged or cut short has said so: what it lacks is the rest of it.
    const bool streamCut = inflater_ && !inflater_->Ended();
    if (noStars && !tagFound_ && !streamCut) {
        report_(Utf8FromUtf16(Substitute(texts_.nothingFound, {batch_.name})));
    } else if (!noStars) {
        report_(Utf8FromUtf16(Substitute(stars_ == 1 ? texts_.starSummary : texts_.starsSummary,
                                         {batch_.name, Decimal(stars_), Decimal(lacking_)})));
    }
    if (options_.selection.field && positioned_ == 0 && (tagFound_ || !noStars)) {
        report_(Utf8FromUtf16(
            Substitute(texts_.noPositions, {batch_.name, options_.selection.field->centreText})));
    }
}

namespace {

// The choices that made a list's stars, as its header says them.
std::string CriteriaOf(const Selection& selection) {
    std::string criteria;
    const auto add = [&criteria](const std::string& said) {
        criteria += criteria.empty() ? said : "; " + said;
    };
    const auto range = [](const Range& limits) {
        return (limits.low ? conversion::FormatFixed(*limits.low, 3) : std::string()) + ":" +
               (limits.high ? conversion::FormatFixed(*limits.high, 3) : std::string());
    };
    if (selection.V.Limits()) add("V " + range(selection.V));
    if (selection.BMinusV.Limits()) add("B-V " + range(selection.BMinusV));
    if (selection.like) {
        add("like the target within " + conversion::FormatFixed(selection.like->V, 3) +
            " in V and " + conversion::FormatFixed(selection.like->BMinusV, 3) + " in B-V");
    }
    add("V uncertainty at most " + conversion::FormatFixed(selection.largestError, 3));
    if (selection.epoch) add("positions at epoch " + selection.epochText);
    return criteria;
}

}  // namespace

std::string CsvConverter::PhotometryList(OutputForm output) const {
    switch (output) {
        case OutputForm::AstroImageJ:
            return AstroImageJList(kept_, origin_);
        case OutputForm::Siril:
            return SirilList(kept_, origin_);
        case OutputForm::Csv:
            break;
    }
    return {};
}

void CsvConverter::Finish() {
    const Selection& selection = options_.selection;
    const std::optional<NearField>& field = selection.field;
    if (outputFailed_ || !field) return;
    // Nearest first; rows of one separation in the order they were read.
    std::stable_sort(held_.begin(), held_.end(),
                     [](const Held& a, const Held& b) { return a.key < b.key; });
    // The target is the nearest star at the position; --like keeps the stars like it.
    const FieldStar* target = nullptr;
    for (const Held& row : held_) {
        if (fieldStars_[row.star].target) {
            target = &fieldStars_[row.star];
            break;
        }
    }
    if (selection.like && (!target || !target->V || !target->BMinusV)) {
        usageFailed_ = true;
        report_(Utf8FromUtf16(Substitute(texts_.likeWithoutTarget, {field->centreText})));
        return;
    }
    const auto like = [&](const FieldStar& star) {
        if (!selection.like || star.target) return true;
        const auto within = [](std::int64_t a, std::int64_t b, double most) {
            return std::llabs(a - b) <= std::llround(most * 1000.0);
        };
        return star.V && star.BMinusV && within(*star.V, *target->V, selection.like->V) &&
               within(*star.BMinusV, *target->BMinusV, selection.like->BMinusV);
    };
    std::vector<FieldStar> kept;
    std::string rows(selection.output == OutputForm::Csv ? HeaderRow() : std::string_view());
    constexpr std::size_t kWriteAtOnce = std::size_t(1) << 16;
    for (const Held& row : held_) {
        const FieldStar& star = fieldStars_[row.star];
        if (!like(star)) continue;
        kept.push_back(star);
        if (selection.output != OutputForm::Csv || (selection.usableOnly && !star.usable)) continue;
        rows.append(heldText_, row.begin, row.end - row.begin);
        if (rows.size() >= kWriteAtOnce) {
            Emit(rows);
            rows.clear();
        }
    }
    Emit(rows);
    held_.clear();
    heldText_.clear();
    fieldStars_.clear();
    if (selection.chart) {
        chart_ = FinderChart(kept, {field->centre, field->radius, Utf8FromUtf16(field->centreText),
                                    Utf8FromUtf16(field->radiusText), selection.epochText});
    }
    origin_ = {field->centre, Utf8FromUtf16(field->centreText), Utf8FromUtf16(field->radiusText),
               CriteriaOf(selection)};
    if (selection.output != OutputForm::Csv) {
        Emit(selection.output == OutputForm::AstroImageJ ? AstroImageJList(kept, origin_)
                                                         : SirilList(kept, origin_));
    }
    if (outputFailed_) return;
    const std::uint64_t within = kept.size();
    const auto usable = static_cast<std::uint64_t>(
        std::count_if(kept.begin(), kept.end(), [](const FieldStar& star) { return star.usable; }));
    const auto known = static_cast<std::uint64_t>(std::count_if(
        kept.begin(), kept.end(), [](const FieldStar& star) { return !star.variable.empty(); }));
    kept_ = std::move(kept);
    const bool ranges = selection.V.Limits() || selection.BMinusV.Limits() || selection.like;
    // Whether variability was checked at all, and what the lists found.
    std::u16string variables;
    if (selection.variables) {
        variables = Substitute(known == 1 ? texts_.nearKnownVariable : texts_.nearKnownVariables,
                               Grouped(known));
    }
    report_(Utf8FromUtf16(
        Substitute(within == 1 ? texts_.nearSummaryOne : texts_.nearSummary,
                   {Grouped(within), field->radiusText, field->centreText, Grouped(usable),
                    Grouped(read_), ranges ? texts_.nearRanges : std::u16string_view(), variables,
                    selection.variables ? std::u16string_view() : texts_.nearUnchecked})));
}

void CsvConverter::FinishSource(bool complete) {
    if (outputFailed_) return;
    if (!compressionKnown_) {
        // Fewer bytes than a gzip stream's magic: plain text.
        compressionKnown_ = true;
        std::string head = std::move(untaken_);
        untaken_.clear();
        FeedDecoded(head);
    }
    if (inflater_ && complete && !inflater_->Failed() && !inflater_->Ended()) {
        Complain(kAfterLines, texts_.notGzip, {batch_.name, u"unexpected end of file"});
    }
    // A gzip stream that is damaged or cut short stops inside its text: the line it cuts gives no
    // row, which would look complete, as where reading the source fails.
    if (inflater_ && !inflater_->Ended()) complete = false;
    if (complete) {
        decoder_.Finish(untaken_);
        if (batch_.text.size() > lineStart_ || decoder_.LineInvalid() ||
            recordStart_ != lineStart_) {
            EndLine(true);
        }
    }
    batch_.text.resize(recordStart_);
    untaken_.clear();
    // Only comments and blank lines: tagged text without a tag.
    if (form_ == SourceForm::Automatic) form_ = batch_.form = SourceForm::Tagged;
    if (Skipped()) return;
    if (BatchHasWork()) WriteRows();
    CollectRows();
}

void CsvConverter::Decide(std::u16string_view line) {
    if (const std::optional<SourceForm> record = RecordFormOf(line)) {
        form_ = *record;
    } else if (auto table = TableHeaderOf(line)) {
        form_ = SourceForm::Table;
        table_ = std::make_shared<const TableLayout>(std::move(*table));
    } else if (auto list = VariableListHeaderOf(line)) {
        form_ = SourceForm::Variables;
        table_ = std::make_shared<const TableLayout>(std::move(*list));
    } else {
        form_ = SourceForm::Tagged;
    }
}

void CsvConverter::EndLine(bool last) {
    ++lineNumber_;
    std::u16string& text = batch_.text;
    // A CR right before the LF belongs to the line end.
    if (text.size() > lineStart_ && text.back() == u'\r') text.pop_back();
    if (recordStart_ == lineStart_) recordNumber_ = lineNumber_;
    const auto nextLine = [this] {
        lineStart_ = recordStart_ = batch_.text.size();
        overlong_ = false;
        decoder_.StartLine();
    };
    if (decoder_.LineInvalid() || overlong_) {
        Complain(lineNumber_, decoder_.LineInvalid() ? texts_.invalidBytes : texts_.lineTooLong,
                 {batch_.name, Decimal(lineNumber_)});
        text.resize(recordStart_);
        return nextLine();
    }
    const std::u16string_view line(text.data() + lineStart_, text.size() - lineStart_);
    if (form_ == SourceForm::Automatic && !IsCommentOrBlank(line)) {
        Decide(line);
        batch_.form = form_;
        batch_.table = table_;
        if (form_ != SourceForm::Tagged) {
            // What came before was comments and blank lines, and a header is no star.
            text.erase(0, lineStart_);
            batch_.lines.clear();
            lineStart_ = recordStart_ = 0;
            if (TableLike()) {
                unitsLines_ = 2;
                text.clear();
                return nextLine();
            }
        }
    } else if (TableLike() && !table_) {
        // A table or list named by the user: its header is its first line that is no comment.
        if (!IsCommentOrBlank(line)) {
            if (auto table =
                    form_ == SourceForm::Table ? TableHeaderOf(line) : VariableListHeaderOf(line)) {
                table_ = std::make_shared<const TableLayout>(std::move(*table));
                batch_.table = table_;
                unitsLines_ = 2;
            }
        }
        text.resize(recordStart_);
        return nextLine();
    }
    if (TableLike()) {
        if (table_->quoted && !last &&
            EndsInsideQuotes(std::u16string_view(text).substr(recordStart_))) {
            // A quoted cell goes on in the next line, with the line break in it.
            text += u'\n';
            lineStart_ = text.size();
            decoder_.StartLine();
            return;
        }
    }
    TakeRecord(recordStart_, text.size());
    nextLine();
}

void CsvConverter::TakeRecord(std::size_t begin, std::size_t end) {
    std::u16string& text = batch_.text;
    const std::u16string_view record(text.data() + begin, end - begin);
    if (form_ != SourceForm::Automatic && form_ != SourceForm::Tagged) {
        bool star = !IsCommentOrBlank(record);
        if (star && TableLike() && unitsLines_ > 0) {
            if (IsUnitsOrDashes(record, *table_)) {
                --unitsLines_;
                star = false;
            } else {
                unitsLines_ = 0;
            }
        }
        if (!star) {
            text.resize(begin);
            return;
        }
    }
    batch_.lines.push_back({recordNumber_, begin, end});
    // Until its form is known, a source's lines wait in the batch: the form decides what they are.
    if (form_ == SourceForm::Automatic &&
        (batch_.lines.size() == kLinesAtOnce || text.size() >= kUnitsAtOnce)) {
        form_ = batch_.form = SourceForm::Tagged;
    }
    if (form_ != SourceForm::Automatic && BatchFull()) WriteRows();
}

bool CsvConverter::BatchFull(std::size_t pendingBytes) const {
    return batch_.lines.size() == kLinesAtOnce ||
           batch_.text.size() + batch_.bytes.size() + pendingBytes >= kUnitsAtOnce;
}
