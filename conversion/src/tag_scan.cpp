#include <cstddef>
#include <string_view>

#include "tychobvr/conversion.h"

namespace conversion {
namespace {

constexpr std::size_t kFieldLength = 6;
constexpr std::size_t kBlock = 32;

// The index of the last '=' before `end`, or -1 when there is none. Whole blocks are
// tested without an early exit first, so the compiler can vectorise the common case.
std::size_t FindLastEquals(const char16_t* text, std::size_t end) {
    while (end >= kBlock) {
        const char16_t* block = text + end - kBlock;
        unsigned hits = 0;
        for (std::size_t i = 0; i < kBlock; ++i) hits |= block[i] == u'=' ? 1u : 0u;
        if (hits != 0) {
            for (std::size_t i = kBlock; i-- > 0;) {
                if (block[i] == u'=') return end - kBlock + i;
            }
        }
        end -= kBlock;
    }
    while (end-- > 0) {
        if (text[end] == u'=') return end;
    }
    return std::size_t(-1);
}

}  // namespace

// Each tag overwrites what an earlier one left, so only the last "BT=" and the last "VT="
// decide: the scan walks back from the end and reads just those two fields.
TaggedValues ScanTaggedValues(std::u16string_view text) {
    TaggedValues values;
    bool foundBT = false;
    bool foundVT = false;
    std::size_t end = text.size();
    while (!(foundBT && foundVT)) {
        const std::size_t equals = FindLastEquals(text.data(), end);
        if (equals == std::size_t(-1) || equals < 2) break;
        end = equals;
        if (text[equals - 1] != u'T') continue;
        const char16_t band = text[equals - 2];
        const std::u16string_view field = text.substr(equals + 1, kFieldLength);
        if (band == u'B' && !foundBT) {
            values.BT = ReadLeadingNumber(field);
            foundBT = true;
        } else if (band == u'V' && !foundVT) {
            values.VT = ReadLeadingNumber(field);
            foundVT = true;
        }
    }
    return values;
}

}  // namespace conversion
