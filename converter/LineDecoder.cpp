#include "LineDecoder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {

using Byte = unsigned char;

// The double-byte characters of code page 932: a row per lead byte 0x81-0x9F and 0xE0-0xFC,
// a column per trail byte 0x40-0xFC, 0 where the pair is not a character.
constexpr std::array<std::array<char16_t, 0xFD - 0x40>, 0x1F + 0x1D> kCp932DoubleBytes{{
#include "data/cp932_double_bytes.inc"
}};

bool IsCp932Lead(Byte b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

char16_t Cp932DoubleByte(Byte lead, Byte trail) {
    if (trail < 0x40 || trail > 0xFC) return 0;
    const std::size_t row = lead <= 0x9F ? lead - 0x81u : lead - 0xE0u + 0x1Fu;
    return kCp932DoubleBytes[row][trail - 0x40u];
}

bool IsContinuation(Byte b) { return (b & 0xC0) == 0x80; }

// Where a UTF-8 sequence that starts with `lead` may have its second byte, for well-formed
// sequences only: no overlong forms, no surrogates, nothing above U+10FFFF.
bool SecondByteFits(Byte lead, Byte second) {
    switch (lead) {
        case 0xE0:
            return second >= 0xA0 && second <= 0xBF;
        case 0xED:
            return second >= 0x80 && second <= 0x9F;
        case 0xF0:
            return second >= 0x90 && second <= 0xBF;
        case 0xF4:
            return second >= 0x80 && second <= 0x8F;
        default:
            return IsContinuation(second);
    }
}

std::size_t Utf8Length(Byte lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;  // a continuation byte, an overlong lead or one beyond U+10FFFF
}

// Each decoder appends to `line` and returns what it took; it stops at an LF, at the limit, or
// before a character that the bytes given end inside.
using Step = LineDecoder::Step;

Step DecodeUtf8(const Byte* begin, const Byte* end, std::u16string& line, std::size_t limit,
                bool& invalid) {
    const Byte* p = begin;
    // A line of ASCII alone, the common case, is found with memchr, tested as a whole and
    // widened at once.
    if (p < end && line.size() < limit) {
        const std::size_t room = std::min(static_cast<std::size_t>(end - p), limit - line.size());
        const auto* const feed = static_cast<const Byte*>(std::memchr(p, '\n', room));
        const Byte* const stop = feed != nullptr ? feed : p + room;
        Byte highs = 0;
        for (const Byte* at = p; at < stop; ++at) highs |= *at;
        if (highs < 0x80) {
            const std::size_t at = line.size();
            line.resize(at + static_cast<std::size_t>(stop - p));
            char16_t* out = line.data() + at;
            for (const Byte* from = p; from < stop; ++from) *out++ = *from;
            if (feed != nullptr) return {static_cast<std::size_t>(feed + 1 - begin), true};
            p = stop;
        }
    }
    while (p < end && line.size() < limit) {
        // Runs of ASCII are copied without further tests.
        const Byte* run = p;
        const Byte* runEnd = p + std::min(static_cast<std::size_t>(end - p), limit - line.size());
        // Eight bytes at a time while none has its high bit set or is an LF.
        while (runEnd - run >= 8) {
            std::uint64_t word;
            std::memcpy(&word, run, sizeof word);
            constexpr std::uint64_t kOnes = 0x0101010101010101u;
            constexpr std::uint64_t kHighs = 0x8080808080808080u;
            const std::uint64_t feeds = word ^ (kOnes * '\n');
            if (((word | ((feeds - kOnes) & ~feeds)) & kHighs) != 0) break;
            run += 8;
        }
        while (run < runEnd && *run < 0x80 && *run != '\n') ++run;
        const std::size_t at = line.size();
        line.resize(at + static_cast<std::size_t>(run - p));
        char16_t* out = line.data() + at;
        for (const Byte* from = p; from < run; ++from) *out++ = *from;
        p = run;
        if (p == end || line.size() >= limit) break;
        if (*p == '\n') return {static_cast<std::size_t>(p + 1 - begin), true};
        const std::size_t length = Utf8Length(*p);
        if (length == 0) {
            invalid = true;
            ++p;
            continue;
        }
        // The bytes that fit so far; a sequence cut short by the end of the bytes is awaited.
        std::size_t fitting = 1;
        while (fitting < length && p + fitting < end &&
               (fitting == 1 ? SecondByteFits(*p, p[1]) : IsContinuation(p[fitting]))) {
            ++fitting;
        }
        if (fitting < length) {
            if (p + fitting == end) break;
            invalid = true;
            p += fitting;
            continue;
        }
        char32_t code = *p & (0x7F >> length);
        for (std::size_t i = 1; i < length; ++i) code = (code << 6) | (p[i] & 0x3Fu);
        if (code >= 0x10000) {
            code -= 0x10000;
            line += static_cast<char16_t>(0xD800 + (code >> 10));
            line += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            line += static_cast<char16_t>(code);
        }
        p += length;
    }
    return {static_cast<std::size_t>(p - begin), false};
}

Step DecodeUtf16(const Byte* begin, const Byte* end, std::u16string& line, std::size_t limit,
                 bool bigEndian, bool& invalid) {
    const auto unitAt = [bigEndian](const Byte* at) {
        return static_cast<char16_t>(bigEndian ? (at[0] << 8) | at[1] : (at[1] << 8) | at[0]);
    };
    const Byte* p = begin;
    while (end - p >= 2 && line.size() < limit) {
        const char16_t unit = unitAt(p);
        if (unit == u'\n') return {static_cast<std::size_t>(p + 2 - begin), true};
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (end - p < 4) break;  // its low surrogate is still to come
            const char16_t low = unitAt(p + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                line += unit;
                line += low;
                p += 4;
            } else {
                invalid = true;
                p += 2;
            }
            continue;
        }
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            invalid = true;
        } else {
            line += unit;
        }
        p += 2;
    }
    return {static_cast<std::size_t>(p - begin), false};
}

Step DecodeShiftJis(const Byte* begin, const Byte* end, std::u16string& line, std::size_t limit,
                    bool& invalid) {
    const Byte* p = begin;
    while (p < end && line.size() < limit) {
        const Byte b = *p;
        if (b == '\n') return {static_cast<std::size_t>(p + 1 - begin), true};
        if (b < 0x80) {
            line += static_cast<char16_t>(b);
            ++p;
        } else if (b >= 0xA1 && b <= 0xDF) {
            line += static_cast<char16_t>(0xFF61 + (b - 0xA1));  // half-width katakana
            ++p;
        } else if (IsCp932Lead(b)) {
            if (p + 1 == end) break;  // its trail byte is still to come
            if (const char16_t c = Cp932DoubleByte(b, p[1])) {
                line += c;
                p += 2;
            } else {
                // The second byte may be an LF or a character of its own: it is read again.
                invalid = true;
                ++p;
            }
        } else {
            invalid = true;
            ++p;
        }
    }
    return {static_cast<std::size_t>(p - begin), false};
}

bool StartsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianBom = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianBom = "\xFE\xFF";

}  // namespace

std::optional<InputEncoding> EncodingNamed(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    for (std::string_view utf8 : {"utf-8", "utf8"}) {
        if (lower == utf8) return InputEncoding::Utf8;
    }
    for (std::string_view shiftJis :
         {"shift_jis", "shift-jis", "sjis", "cp932", "ms932", "windows-31j"}) {
        if (lower == shiftJis) return InputEncoding::ShiftJis;
    }
    return std::nullopt;
}

LineDecoder::Step LineDecoder::Decode(std::string_view bytes, std::u16string& line,
                                      std::size_t limit) {
    std::size_t skipped = 0;
    if (form_ == Form::Undecided) {
        if (encoding_ == InputEncoding::ShiftJis) {
            form_ = Form::ShiftJis;
        } else if (StartsWith(bytes, kUtf16LittleEndianBom)) {
            form_ = Form::Utf16LittleEndian;
            skipped = kUtf16LittleEndianBom.size();
        } else if (StartsWith(bytes, kUtf16BigEndianBom)) {
            form_ = Form::Utf16BigEndian;
            skipped = kUtf16BigEndianBom.size();
        } else if (bytes.size() < kUtf8Bom.size() &&
                   (kUtf8Bom.starts_with(bytes) || kUtf16LittleEndianBom.starts_with(bytes) ||
                    kUtf16BigEndianBom.starts_with(bytes))) {
            return {};  // a byte order mark may still be coming
        } else {
            form_ = Form::Utf8;
            if (StartsWith(bytes, kUtf8Bom)) skipped = kUtf8Bom.size();
        }
    }
    const auto* begin = reinterpret_cast<const Byte*>(bytes.data()) + skipped;
    const auto* end = reinterpret_cast<const Byte*>(bytes.data()) + bytes.size();
    Step step;
    switch (form_) {
        case Form::Utf16LittleEndian:
        case Form::Utf16BigEndian:
            step = DecodeUtf16(begin, end, line, limit, form_ == Form::Utf16BigEndian, invalid_);
            break;
        case Form::ShiftJis:
            step = DecodeShiftJis(begin, end, line, limit, invalid_);
            break;
        case Form::Utf8:
        case Form::Undecided:
            step = DecodeUtf8(begin, end, line, limit, invalid_);
            break;
    }
    step.taken += skipped;
    return step;
}

std::optional<std::size_t> LineDecoder::AsciiLine(std::string_view bytes, std::size_t limit) const {
    if (!AsciiCompatible()) return std::nullopt;
    const std::size_t room = std::min(bytes.size(), limit);
    const void* const feed = std::memchr(bytes.data(), '\n', room);
    if (feed == nullptr) return std::nullopt;
    const auto length = static_cast<std::size_t>(static_cast<const char*>(feed) - bytes.data());
    // Sixteen bytes at a time, the last eight again where fewer are left: any byte with its high
    // bit set is no ASCII.
    std::uint64_t highs = 0;
    const char* const line = bytes.data();
    const auto word = [line](std::size_t at) {
        std::uint64_t eight;
        std::memcpy(&eight, line + at, sizeof eight);
        return eight;
    };
    if (length >= 8) {
        std::size_t at = 0;
        for (; at + 16 <= length; at += 16) highs |= word(at) | word(at + 8);
        if (at < length) highs |= word(std::min(at, length - 8)) | word(length - 8);
    } else {
        for (std::size_t at = 0; at < length; ++at) highs |= static_cast<Byte>(line[at]);
    }
    if ((highs & 0x8080808080808080) != 0) return std::nullopt;
    return length;
}

void LineDecoder::Finish(std::string_view untaken) {
    // What is left at the end is the start of a character that never came, or a lone first
    // byte of a byte order mark, which is no character either.
    if (!untaken.empty()) invalid_ = true;
}
