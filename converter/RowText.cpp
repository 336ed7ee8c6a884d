#include "RowText.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "ShownValues.h"
#include "Utf.h"
#include "tychobvr/conversion.h"

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string field = "\"";
    for (const char c : text) {
        if (c == '"') field += '"';
        field += c;
    }
    field += '"';
    return field;
}

void RowText::Grow(std::size_t more) {
    const std::size_t capacity = std::max({capacity_ * 2, size_ + more, std::size_t{4096}});
    // Left uninitialised: every char is written before it is kept.
    std::unique_ptr<char[]> data(new char[capacity]);
    if (size_ != 0) std::memcpy(data.get(), data_.get(), size_);
    data_ = std::move(data);
    capacity_ = capacity;
}

void RowWriter::MakeRoom(std::size_t size) {
    text_.Keep(to_);
    // Twice what is asked, so that the room is made again only after many rows.
    const std::size_t room = 2 * (size + kPiecesRoom);
    to_ = text_.Room(room);
    end_ = to_ + room;
}

void RowWriter::Unsigned(std::uint64_t value) {
    constexpr std::size_t kMostDigits = 20;
    to_ = std::to_chars(to_, to_ + kMostDigits, value).ptr;
}

void RowWriter::FixedGenerally(double value, int decimals) {
    std::string text;
    conversion::AppendFixed(text, value, decimals);
    Text(text);
}

void RowWriter::Shortest(double value) {
    std::string text;
    conversion::AppendShortest(text, value);
    Text(text);
}

namespace {

// The units below 64 that a field is quoted for.
constexpr std::uint64_t kQuoted = std::uint64_t(1) << ',' | std::uint64_t(1) << '"' |
                                  std::uint64_t(1) << '\r' | std::uint64_t(1) << '\n';

bool IsQuoted(unsigned char unit) { return unit < 64 && ((kQuoted >> unit) & 1) != 0; }

// Whether a UTF-8 field is quoted. Eight chars at a time while none is below '-', as positions
// and names mostly are: every char that quotes lies below it.
bool NeedsQuotes(std::string_view text) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    std::size_t at = 0;
    for (std::uint64_t word; at + sizeof word <= text.size(); at += sizeof word) {
        std::memcpy(&word, text.data() + at, sizeof word);
        // A high bit for a byte below '-', and perhaps for bytes after it too.
        if (((word - kOnes * '-') & ~word & kOnes * 0x80) != 0) break;
    }
    for (; at < text.size(); ++at) {
        if (IsQuoted(static_cast<unsigned char>(text[at]))) return true;
    }
    return false;
}

}  // namespace

void RowWriter::Field(std::string_view text) {
    if (NeedsQuotes(text)) {
        Text(CsvField(text));
    } else {
        Text(text);
    }
}

void RowWriter::Field(std::u16string_view text) {
    Need(text.size());
    char* to = to_;
    for (const char16_t c : text) {
        if (c >= 0x80 || IsQuoted(static_cast<unsigned char>(c))) {
            FieldGenerally(text);  // written again from the start
            return;
        }
        *to++ = static_cast<char>(c);
    }
    to_ = to;
}

void RowWriter::FieldGenerally(std::u16string_view text) { Text(CsvField(Utf8FromUtf16(text))); }
