// Any bytes, taken as UTF-16 code units, must give one of the three kinds of result.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "tychobvr/conversion.h"

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// "-"? digits "." three digits, starting at `pos`; moves `pos` past it.
bool ConsumeNumber(std::u16string_view line, std::size_t& pos) {
    if (pos < line.size() && line[pos] == u'-') ++pos;
    const std::size_t digitsBegin = pos;
    while (pos < line.size() && IsDigit(line[pos])) ++pos;
    if (pos == digitsBegin || pos >= line.size() || line[pos] != u'.') return false;
    ++pos;
    for (int i = 0; i < 3; ++i, ++pos) {
        if (pos >= line.size() || !IsDigit(line[pos])) return false;
    }
    return true;
}

bool ConsumeLiteral(std::u16string_view line, std::size_t& pos, std::u16string_view literal) {
    if (line.substr(pos, literal.size()) != literal) return false;
    pos += literal.size();
    return true;
}

bool IsResultLine(std::u16string_view line) {
    std::size_t pos = 0;
    return ConsumeLiteral(line, pos, u"B = ") && ConsumeNumber(line, pos) &&
           ConsumeLiteral(line, pos, u" / V = ") && ConsumeNumber(line, pos) &&
           ConsumeLiteral(line, pos, u" / R = ") && ConsumeNumber(line, pos) && pos == line.size();
}

std::u16string WithoutBlanks(std::u16string_view text) {
    std::u16string kept;
    for (char16_t c : text) {
        if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\u3000') kept += c;
    }
    return kept;
}

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string text(size / 2, u'\0');
    std::memcpy(text.data(), data, text.size() * 2);

    const std::u16string line = conversion::BuildResultText(text, u'.');
    Check(line == u"BT,VT data not found" || line == u"BT,VT value out of range" ||
          IsResultLine(line));

    const conversion::TaggedValues values = conversion::ScanTaggedValues(text);
    const bool found = values.BT != 0.0 && values.VT != 0.0;
    Check(found || line == u"BT,VT data not found" || line == u"BT,VT value out of range");

    const double number = conversion::ReadLeadingNumber(text);
    Check(std::bit_cast<std::uint64_t>(number) ==
          std::bit_cast<std::uint64_t>(conversion::ReadLeadingNumber(WithoutBlanks(text))));
    return 0;
}
