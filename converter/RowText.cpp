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
    to_ = text_.Room(size + kRoom);
    end_ = to_ + size + kRoom;
}

void RowWriter::Unsigned(std::uint64_t value) {
    constexpr std::size_t kMostDigits = 20;
    Need(kMostDigits);
    to_ = std::to_chars(to_, to_ + kMostDigits, value).ptr;
}

void RowWriter::FixedGenerally(double value) {
    std::string text;
    conversion::AppendFixed(text, value, kShownDecimals);
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

}  // namespace

void RowWriter::Field(std::string_view text) {
    for (const char c : text) {
        const auto unit = static_cast<unsigned char>(c);
        if (unit < 64 && ((kQuoted >> unit) & 1) != 0) {
            Text(CsvField(text));
            return;
        }
    }
    Text(text);
}

void RowWriter::Field(std::u16string_view text) {
    Need(text.size());
    char* to = to_;
    for (const char16_t c : text) {
        if (c >= 0x80 || (c < 64 && ((kQuoted >> c) & 1) != 0)) {
            FieldGenerally(text);  // written again from the start
            return;
        }
        *to++ = static_cast<char>(c);
    }
    to_ = to;
}

void RowWriter::FieldGenerally(std::u16string_view text) { Text(CsvField(Utf8FromUtf16(text))); }
