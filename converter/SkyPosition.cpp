// Reading positions from cells and from the command line.
#include "SkyPosition.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Catalogue.h"

namespace {

// A field of a sexagesimal value or a decimal number: an optional sign, digits, and a decimal
// point with more digits, or with none.
struct Number {
    double value = 0.0;
    bool negative = false;
    bool signed_ = false;
    bool whole = true;  // no decimal point
};

template <typename Char>
std::optional<Number> ReadNumber(std::basic_string_view<Char> text) {
    Number number;
    std::size_t at = 0;
    if (at < text.size() && (text[at] == Char('+') || text[at] == Char('-'))) {
        number.negative = text[at] == Char('-');
        number.signed_ = true;
        ++at;
    }
    // Up to 17 significant digits as text for the exact reading of a double.
    std::array<char, 32> digits{};
    std::size_t count = 0;
    bool anyDigit = false;
    for (; at < text.size(); ++at) {
        const Char c = text[at];
        if (c >= Char('0') && c <= Char('9')) {
            anyDigit = true;
        } else if (c == Char('.') && number.whole) {
            number.whole = false;
        } else {
            return std::nullopt;
        }
        if (count == digits.size() - 1) return std::nullopt;
        digits[count++] = static_cast<char>(c);
    }
    if (!anyDigit) return std::nullopt;
    ShortestText unused;
    const std::optional<double> value =
        ReadCellNumber(std::string_view(digits.data(), count), unused);
    if (!value) return std::nullopt;
    number.value = *value;
    return number;
}

// Splits at blanks or at colons, never both; at most three fields.
template <typename Char>
std::vector<std::basic_string_view<Char>> Fields(std::basic_string_view<Char> text) {
    std::vector<std::basic_string_view<Char>> fields;
    const bool colons = text.find(Char(':')) != std::basic_string_view<Char>::npos;
    std::size_t at = 0;
    while (at <= text.size()) {
        if (!colons) {
            while (at < text.size() && IsBlank(text[at])) ++at;
            if (at == text.size()) break;
        }
        std::size_t end = at;
        while (end < text.size() && !(colons ? text[end] == Char(':') : IsBlank(text[end]))) ++end;
        fields.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return fields;
}

// Whole units, minutes and seconds (or minutes with a fraction), each below 60 but the first;
// the sign, where there is one, on the first field alone. Nothing for other text.
template <typename Char>
std::optional<double> ReadSexagesimal(std::basic_string_view<Char> text, bool allowSign,
                                      bool minutesMayEnd, PositionFault* fault = nullptr) {
    const auto fields = Fields(text);
    if (fields.size() < (minutesMayEnd ? 2u : 3u) || fields.size() > 3) return std::nullopt;
    std::array<Number, 3> parts;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::optional<Number> part = ReadNumber(fields[i]);
        if (!part || (part->signed_ && (i > 0 || !allowSign))) return std::nullopt;
        // Only the last field may have a fraction.
        if (i + 1 < fields.size() && !part->whole) return std::nullopt;
        parts[i] = *part;
    }
    for (std::size_t i = 1; i < fields.size(); ++i) {
        if (parts[i].value >= 60.0) {
            if (fault) *fault = PositionFault::Sixty;
            return std::nullopt;
        }
    }
    const double value = parts[0].value + parts[1].value / 60.0 + parts[2].value / 3600.0;
    return parts[0].negative ? -value : value;
}

template <typename Char>
bool HasSeparator(std::basic_string_view<Char> text) {
    for (const Char c : text) {
        if (IsBlank(c) || c == Char(':')) return true;
    }
    return false;
}

}  // namespace

template <typename Char>
std::optional<double> ReadCellRightAscension(std::basic_string_view<Char> cell) {
    cell = Trimmed(cell);
    if (cell.empty()) return std::nullopt;
    std::optional<double> degrees;
    if (HasSeparator(cell)) {
        const std::optional<double> hours = ReadSexagesimal(cell, false, true);
        if (hours && *hours < 24.0) degrees = *hours * 15.0;
    } else {
        ShortestText unused;
        degrees = ReadCellNumber(cell, unused);
    }
    if (!degrees || *degrees < 0.0 || *degrees > 360.0) return std::nullopt;
    return *degrees == 360.0 ? 0.0 : *degrees;
}

template <typename Char>
std::optional<double> ReadCellDeclination(std::basic_string_view<Char> cell) {
    cell = Trimmed(cell);
    if (cell.empty()) return std::nullopt;
    std::optional<double> degrees;
    if (HasSeparator(cell)) {
        degrees = ReadSexagesimal(cell, true, true);
    } else {
        ShortestText unused;
        degrees = ReadCellNumber(cell, unused);
    }
    if (!degrees || std::fabs(*degrees) > 90.0) return std::nullopt;
    return degrees;
}

template std::optional<double> ReadCellRightAscension(std::string_view cell);
template std::optional<double> ReadCellRightAscension(std::u16string_view cell);
template std::optional<double> ReadCellDeclination(std::string_view cell);
template std::optional<double> ReadCellDeclination(std::u16string_view cell);

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// "5h35m17.3s" as "5 35 17.3", and "-5d23m28s" as "-5 23 28": letters after each field, in
// order, and nothing after the last but its own letter.
std::optional<std::string> LettersAsBlanks(std::string_view text, std::string_view letters) {
    std::string fields;
    std::size_t next = 0;
    for (const char c : text) {
        if (IsLetter(c)) {
            const char lower = static_cast<char>(c | 0x20);
            if (next == letters.size() || lower != letters[next]) return std::nullopt;
            ++next;
            fields += ' ';
        } else {
            if (next == letters.size()) return std::nullopt;
            fields += c;
        }
    }
    if (next != letters.size() || fields.find("  ") != std::string::npos || fields.front() == ' ') {
        return std::nullopt;
    }
    return fields;
}

bool HasLetter(std::string_view text) {
    for (const char c : text) {
        if (IsLetter(c)) return true;
    }
    return false;
}

// One coordinate as typed: a decimal number of degrees, or three fields of hours (or degrees),
// minutes and seconds.
std::optional<double> ReadTypedCoordinate(std::string_view text, bool rightAscension,
                                          PositionFault& fault) {
    if (text.empty()) return std::nullopt;
    if (HasLetter(text)) {
        const std::optional<std::string> fields =
            LettersAsBlanks(text, rightAscension ? "hms" : "dms");
        if (!fields) return std::nullopt;
        const std::optional<double> value =
            ReadSexagesimal(std::string_view(*fields), !rightAscension, false, &fault);
        return value ? std::optional<double>(rightAscension ? *value * 15.0 : *value) : value;
    }
    if (HasSeparator(text)) {
        const std::optional<double> value = ReadSexagesimal(text, !rightAscension, false, &fault);
        if (value && rightAscension && *value >= 24.0) {
            fault = PositionFault::RightAscensionRange;
            return std::nullopt;
        }
        return value ? std::optional<double>(rightAscension ? *value * 15.0 : *value) : value;
    }
    const std::optional<Number> number = ReadNumber(text);
    if (!number || (rightAscension && number->signed_)) return std::nullopt;
    return number->negative ? -number->value : number->value;
}

std::string_view TrimmedText(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Splits the text into its RA and its Dec: at its one comma; else at its one blank between two
// words, or after the third of six words.
std::optional<std::pair<std::string_view, std::string_view>> RaAndDec(std::string_view text) {
    text = TrimmedText(text);
    if (const std::size_t comma = text.find(','); comma != std::string_view::npos) {
        if (text.find(',', comma + 1) != std::string_view::npos) return std::nullopt;
        return std::pair{TrimmedText(text.substr(0, comma)), TrimmedText(text.substr(comma + 1))};
    }
    std::vector<std::size_t> wordStarts;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (!IsBlank(text[at]) && (at == 0 || IsBlank(text[at - 1]))) wordStarts.push_back(at);
    }
    std::size_t decStart = 0;
    if (wordStarts.size() == 2) {
        decStart = wordStarts[1];
    } else if (wordStarts.size() == 6) {
        decStart = wordStarts[3];
    } else {
        return std::nullopt;
    }
    return std::pair{TrimmedText(text.substr(0, decStart)), text.substr(decStart)};
}

}  // namespace

std::optional<SkyPosition> ReadTypedPosition(std::string_view text, PositionFault& fault) {
    fault = PositionFault::NotAPosition;
    const auto parts = RaAndDec(text);
    if (!parts) return std::nullopt;
    const auto& [raText, decText] = *parts;
    // Both coordinates must be of one kind: degrees, or sexagesimal.
    const bool raPlain = !HasLetter(raText) && !HasSeparator(raText);
    const bool decPlain = !HasLetter(decText) && !HasSeparator(decText);
    if (raPlain != decPlain) return std::nullopt;
    PositionFault raFault = PositionFault::NotAPosition, decFault = PositionFault::NotAPosition;
    const std::optional<double> ra = ReadTypedCoordinate(raText, true, raFault);
    const std::optional<double> dec = ReadTypedCoordinate(decText, false, decFault);
    if (!ra || !dec) {
        fault = !ra ? raFault : decFault;
        return std::nullopt;
    }
    if (*ra < 0.0 || *ra >= 360.0) {
        fault = PositionFault::RightAscensionRange;
        return std::nullopt;
    }
    if (std::fabs(*dec) > 90.0) {
        fault = PositionFault::DeclinationRange;
        return std::nullopt;
    }
    fault = PositionFault::None;
    return SkyPosition{*ra, *dec};
}
