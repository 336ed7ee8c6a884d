#include "CsvConverter.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <functional>
#include <future>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "ShownValues.h"
#include "Utf.h"
#include "tychobvr/conversion.h"

namespace {

constexpr std::string_view kHeader =
    "source,line,BT,VT,B,V,R,BT_VT,extrapolated,faint,bessell_V,bessell_B_V,henden_R,henden_I\n";

// Lines are converted this many at a time, or as many as make this many units.
constexpr std::size_t kLinesAtOnce = 16384;
constexpr std::size_t kUnitsAtOnce = std::size_t(1) << 20;

// A compacted line is at most two tags with their fields and two more units, with separators:
// the limit must leave room for it to grow again.
constexpr std::size_t kTagAndField = 3 + 6;
constexpr std::size_t kSmallestLineLimit = 4 * kTagAndField;

// A field of RFC 4180, quoted where it holds a comma, a quote or a line break.
std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string field = "\"";
    for (char c : text) {
        if (c == '"') field += '"';
        field += c;
    }
    field += '"';
    return field;
}

// The shortest decimal that reads back as the same double, such as 10.5 or 1e+22, or a whole
// number.
template <typename Number>
void AppendNumber(std::string& out, Number value) {
    std::array<char, 32> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    out.append(buffer.data(), result.ptr);
}

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

// The rows for the lines of a batch from `first` to `last` that give magnitudes.
std::string Rows(const CsvConverter::Batch& batch, std::size_t firstLine, std::size_t lastLine) {
    const std::u16string_view text = batch.text;
    std::string out;
    for (auto first = batch.lines.begin() + static_cast<std::ptrdiff_t>(firstLine),
              last = batch.lines.begin() + static_cast<std::ptrdiff_t>(lastLine);
         first != last; ++first) {
        const conversion::TaggedValues values =
            conversion::ScanTaggedValues(text.substr(first->begin, first->end - first->begin));
        if (conversion::ResultKindOf(values) != conversion::ResultKind::Magnitudes) continue;
        const ShownValues shown = ValuesFor(values);
        out += batch.quotedName;
        out += ',';
        AppendNumber(out, first->number);
        out += ',';
        AppendNumber(out, values.BT);
        out += ',';
        AppendNumber(out, values.VT);
        for (const double number : {shown.line.B, shown.line.V, shown.line.R, shown.colourIndex}) {
            out += ',';
            conversion::AppendFixed(out, number, kShownDecimals);
        }
        out += shown.extrapolated ? ",1" : ",0";
        out += shown.faint ? ",1" : ",0";
        out += ',';
        if (shown.bessell) {
            conversion::AppendFixed(out, shown.bessell->V, kShownDecimals);
            out += ',';
            conversion::AppendFixed(out, shown.bessell->BMinusV, kShownDecimals);
        } else {
            out += ',';
        }
        for (const double number : {shown.henden.R, shown.henden.I}) {
            out += ',';
            conversion::AppendFixed(out, number, kShownDecimals);
        }
        out += '\n';
    }
    return out;
}

}  // namespace

CsvConverter::CsvConverter(InputEncoding encoding, const Texts& texts, Write write, Report report,
                           std::size_t lineLimit)
    : encoding_(encoding),
      texts_(texts),
      write_(std::move(write)),
      report_(std::move(report)),
      lineLimit_(std::max(lineLimit, kSmallestLineLimit)) {}

void CsvConverter::WriteHeader() { Emit(kHeader); }

void CsvConverter::BeginSource(std::string_view name) {
    decoder_ = LineDecoder(encoding_);
    name_ = name;
    batch_.quotedName = CsvField(name);
    lineNumber_ = 0;
    lineStart_ = batch_.text.size();
    untaken_.clear();
}

void CsvConverter::Feed(std::string_view bytes) {
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
        const LineDecoder::Step step = decoder_.Decode(bytes, text, lineStart_ + lineLimit_);
        bytes.remove_prefix(step.taken);
        if (step.lineEnded) {
            EndLine();
            if (outputFailed_) return;
        } else if (text.size() - lineStart_ >= lineLimit_) {
            std::u16string line = text.substr(lineStart_);
            Compact(line);
            text.replace(lineStart_, std::u16string::npos, line);
        } else {
            break;  // what is left is the start of a character still to come, or nothing
        }
    }
    untaken_.assign(bytes);
}

void CsvConverter::EndSource(bool complete) {
    if (outputFailed_) return;
    if (complete) {
        decoder_.Finish(untaken_);
        if (batch_.text.size() > lineStart_ || decoder_.LineInvalid()) EndLine();
    }
    batch_.text.resize(lineStart_);
    untaken_.clear();
    if (!batch_.lines.empty()) WriteRows();
    CollectRows();
}

void CsvConverter::EndLine() {
    ++lineNumber_;
    std::u16string& text = batch_.text;
    // A CR right before the LF belongs to the line end.
    if (text.size() > lineStart_ && text.back() == u'\r') text.pop_back();
    if (decoder_.LineInvalid()) {
        text.resize(lineStart_);
        inputFailed_ = true;
        std::string number;
        AppendNumber(number, lineNumber_);
        report_(Utf8FromUtf16(Substitute(texts_.invalidBytes, Utf16FromUtf8(name_),
                                         std::u16string(number.begin(), number.end()))));
    } else {
        batch_.lines.push_back({lineNumber_, lineStart_, text.size()});
        if (batch_.lines.size() == kLinesAtOnce || text.size() >= kUnitsAtOnce) WriteRows();
    }
    lineStart_ = batch_.text.size();
    decoder_.StartLine();
}

// A batch that two threads convert at once: each takes the next group of lines that is left,
// and the rows keep the batch's order.
struct CsvConverter::Converting {
    static constexpr std::size_t kGroup = 256;

    explicit Converting(Batch lines)
        : batch(std::move(lines)), rows((batch.lines.size() + kGroup - 1) / kGroup) {}

    void Work() {
        for (std::size_t group = next++; group < rows.size(); group = next++) {
            rows[group] =
                Rows(batch, group * kGroup, std::min((group + 1) * kGroup, batch.lines.size()));
        }
    }

    const Batch batch;
    std::vector<std::string> rows;  // a group's each
    std::atomic<std::size_t> next{0};
};

CsvConverter::~CsvConverter() {
    if (helper_.valid()) helper_.wait();
}

void CsvConverter::WriteRows() {
    CollectRows();
    converting_ = std::make_shared<Converting>(std::move(batch_));
    batch_ = Batch{converting_->batch.quotedName, {}, {}};
    // Another thread starts on it while this one decodes the next lines, then helps.
    if (std::thread::hardware_concurrency() > 1) {
        helper_ = std::async(std::launch::async, [work = converting_] { work->Work(); });
    }
}

void CsvConverter::CollectRows() {
    if (!converting_) return;
    converting_->Work();
    if (helper_.valid()) helper_.get();
    for (const std::string& rows : converting_->rows) Emit(rows);
    converting_.reset();
}

void CsvConverter::Emit(std::string_view text) {
    if (!outputFailed_ && !text.empty() && !write_(text)) outputFailed_ = true;
}
