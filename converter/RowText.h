// Rows of CSV text written in place: a row is put together through a cursor, with one test of
// room for each piece, instead of growing a string piece by piece.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "ShortCopy.h"
#include "ShownValues.h"
#include "tychobvr/conversion.h"

// A field of RFC 4180, quoted where it holds a comma, a quote or a line break.
std::string CsvField(std::string_view text);

// Text that only grows at its end.
class RowText {
public:
    void Reserve(std::size_t size) {
        if (size > capacity_) Grow(size - size_);
    }
    void Clear() { size_ = 0; }
    // Room for at least `size` more chars after the end; valid until the next call.
    char* Room(std::size_t size) {
        if (capacity_ - size_ < size) Grow(size);
        return data_.get() + size_;
    }
    // The text now ends at `end`, which lies in the room last given.
    void Keep(const char* end) { size_ = SizeAt(end); }
    // The size the text would have if it ended at `end`, in the room last given.
    std::size_t SizeAt(const char* end) const {
        return static_cast<std::size_t>(end - data_.get());
    }
    std::string_view View() const { return {data_.get(), size_}; }
    const char* At(std::size_t position) const { return data_.get() + position; }

private:
    void Grow(std::size_t more);

    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

// Writes at the end of a RowText, and keeps what it wrote when it goes. A piece of text of any
// length makes sure of room for itself and for kPiecesRoom chars after it; the pieces of a known
// small size (a char, a number, a prefix) are written without a test of room, and at most
// kPiecesRoom chars of them may follow one another, as they do in any row.
class RowWriter {
public:
    static constexpr std::size_t kPiecesRoom = 1024;

    explicit RowWriter(RowText& text)
        : text_(text), to_(text.Room(kPiecesRoom)), end_(to_ + kPiecesRoom) {}
    ~RowWriter() { text_.Keep(to_); }
    RowWriter(const RowWriter&) = delete;
    RowWriter& operator=(const RowWriter&) = delete;

    void Char(char c) { *to_++ = c; }
    void Text(std::string_view text) {
        Need(text.size());
        CopyChars(to_, text.data(), text.size());
        to_ += text.size();
    }
    // The first `size` chars of a small array, copied whole so that the copy has one length.
    template <std::size_t N>
    void Prefix(const std::array<char, N>& chars, std::size_t size) {
        static_assert(N <= 64);
        std::memcpy(to_, chars.data(), N);
        to_ += size;
    }
    // At most 20 chars.
    void Unsigned(std::uint64_t value);
    // The number with the shown decimals, as conversion::AppendFixed writes it: at most
    // conversion::kMostFixedChars chars where it is quick, and text of its own otherwise.
    void Fixed(double value) {
        if (char* const end = conversion::WriteFixed(to_, value, kShownDecimals)) {
            to_ = end;
        } else {
            FixedGenerally(value);
        }
    }
    // The same with another number of decimals.
    void Fixed(double value, int decimals) {
        if (char* const end = conversion::WriteFixed(to_, value, decimals)) {
            to_ = end;
        } else {
            FixedGenerally(value, decimals);
        }
    }
    // Where the next char goes, counted from the start of the text.
    std::size_t Size() const { return text_.SizeAt(to_); }
    // What was written from `position` on.
    std::string_view Since(std::size_t position) const {
        return {text_.At(position), Size() - position};
    }
    // The shortest decimal that reads back as the value, as conversion::AppendShortest writes it.
    void Shortest(double value);
    // A field of RFC 4180 for UTF-16 text, as UTF-8: quoted where it holds a comma, a quote or a
    // line break.
    void Field(std::u16string_view text);
    // The same for UTF-8 text.
    void Field(std::string_view text);

private:
    // Room for `size` chars and the small pieces that may follow them.
    void Need(std::size_t size) {
        if (static_cast<std::size_t>(end_ - to_) < size + kPiecesRoom) MakeRoom(size);
    }
    void MakeRoom(std::size_t size);
    // The rare forms, kept out of the common ones' way.
    void FixedGenerally(double value, int decimals = kShownDecimals);
    void FieldGenerally(std::u16string_view text);

    RowText& text_;
    char* to_;
    char* end_;  // the end of the room, of which a piece of text leaves kPiecesRoom after it
};
