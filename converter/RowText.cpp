#include "RowText.h"

#include <algorithm>
#include <string>

#include "ShownValues.h"
#include "Utf.h"
#include "tychobvr/conversion.h"

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
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    constexpr std::size_t kMostDigits = 20;
    Need(kMostDigits);
    std::size_t digits = 1;
    for (std::uint64_t bound = 10; digits < kMostDigits && value >= bound; bound *= 10) ++digits;
    char* at = to_ + digits;
    to_ = at;
    while (value >= 100) {
        const auto pair = static_cast<std::size_t>(value % 100) * 2;
        value /= 100;
        *--at = kPairs[pair + 1];
        *--at = kPairs[pair];
    }
    if (value >= 10) {
        const auto pair = static_cast<std::size_t>(value) * 2;
        *--at = kPairs[pair + 1];
        *--at = kPairs[pair];
    } else {
        *--at = static_cast<char>('0' + value);
    }
}

void RowWriter::Fixed(double value) {
    Need(conversion::kMostFixedChars);
    if (char* const end = conversion::WriteFixed(to_, value, kShownDecimals)) {
        to_ = end;
    } else {
        FixedGenerally(value);
    }
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

void RowWriter::Field(std::u16string_view text) {
    Need(text.size());
    char* to = to_;
    // The units below 64 that a field is quoted for.
    constexpr std::uint64_t kQuoted = std::uint64_t(1) << ',' | std::uint64_t(1) << '"' |
                                      std::uint64_t(1) << '\r' | std::uint64_t(1) << '\n';
    for (const char16_t c : text) {
        if (c >= 0x80 || (c < 64 && ((kQuoted >> c) & 1) != 0)) {
            FieldGenerally(text);  // written again from the start
            return;
        }
        *to++ = static_cast<char>(c);
    }
    to_ = to;
}

void RowWriter::FieldGenerally(std::u16string_view text) {
    std::string field = Utf8FromUtf16(text);
    if (field.find_first_of(",\"\r\n") != std::string::npos) {
        std::string quoted = "\"";
        for (const char unit : field) {
            if (unit == '"') quoted += '"';
            quoted += unit;
        }
        quoted += '"';
        field = std::move(quoted);
    }
    Text(field);
}
