// A number as the window shows it, for decisions that must agree with what the user reads.
#pragma once

#include <cstdint>
#include <cstring>

#include "tychobvr/conversion.h"

namespace conversion {

// The value rounded to the three decimals it is shown with; NaN where it cannot be written.
double ShownValue(double value);

// The value in the whole thousandths it is shown with, signed, where it lies below 2^13 as
// magnitudes and colour indices do; false otherwise, and for NaN. Quicker than ShownValue, and
// the same to any comparison with a whole number of thousandths.
inline bool ShownThousandths(double value, long long& thousandths) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    std::uint64_t size;
    if (!QuickThousandths(bits, size)) return false;
    thousandths = (bits >> 63) != 0 ? -static_cast<long long>(size) : static_cast<long long>(size);
    return true;
}

}  // namespace conversion
