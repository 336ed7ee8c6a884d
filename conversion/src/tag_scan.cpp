#include <cstddef>
#include <string_view>

#include "tychobvr/conversion.h"

namespace conversion {
namespace {

constexpr std::size_t kFieldLength = 6;
constexpr std::size_t kBlock = 32;

// The index of the '=' of the last tag before `end` whose band letter is `first` or `second`,
// or -1 when there is none. Whole blocks are tested without an early exit first, so the compiler
// can vectorise them: text with many '=' but none of the wanted tags passes at memory speed.
std::size_t FindLastTag(const char16_t* text, std::size_t end, char16_t first, char16_t second) {
    const auto isTag = [=](std::size_t at) {
        return text[at] == u'=' && text[at - 1] == u'T' &&
               (text[at - 2] == first || text[at - 2] == second);
    };
    while (end >= 2 + kBlock) {
        const char16_t* block = text + end - kBlock;
        // Most blocks hold no '=' at all, which the cheapest test tells.
        unsigned equals = 0;
        for (std::size_t i = 0; i < kBlock; ++i) equals |= block[i] == u'=' ? 1u : 0u;
        if (equals != 0) {
            unsigned hits = 0;
            for (const char16_t* at = block; at < block + kBlock; ++at) {
                hits |= static_cast<unsigned>(at[0] == u'=') &
                        static_cast<unsigned>(at[-1] == u'T') &
                        (static_cast<unsigned>(at[-2] == first) |
                         static_cast<unsigned>(at[-2] == second));
            }
            if (hits != 0) {
                for (std::size_t i = kBlock; i-- > 0;) {
                    if (isTag(end - kBlock + i)) return end - kBlock + i;
                }
            }
        }
        end -= kBlock;
    }
    while (end > 2) {
        if (isTag(--end)) return end;
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
        // Once one band is found, only the other one's tags are looked for.
        const char16_t first = foundBT ? u'V' : u'B';
        const char16_t second = foundVT ? u'B' : u'V';
        const std::size_t equals = FindLastTag(text.data(), end, first, second);
        if (equals == std::size_t(-1)) break;
        end = equals;
        const std::u16string_view field = text.substr(equals + 1, kFieldLength);
        if (text[equals - 2] == u'B') {
            values.BT = ReadLeadingNumber(field);
            foundBT = true;
        } else {
            values.VT = ReadLeadingNumber(field);
            foundVT = true;
        }
    }
    return values;
}

}  // namespace conversion
