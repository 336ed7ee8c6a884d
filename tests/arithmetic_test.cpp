#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>

#include "tychobvr/conversion.h"

namespace {

// The same steps, each stored through a volatile so that no product can be fused into a sum.
conversion::ConvertedMagnitudes ConvertStepByStep(double BT, double VT) {
    volatile double sumB = BT + 0.018;
    volatile double colour = BT - VT;
    volatile double productB = 0.258 * colour;
    volatile double B = sumB - productB;
    volatile double sumV = VT + 0.008;
    volatile double productV = 0.0988 * colour;
    volatile double V = sumV - productV;
    volatile double differenceR = B - V;
    volatile double productR = 0.5 * differenceR;
    volatile double R = V - productR;
    return {B, V, R};
}

std::uint64_t Bits(double value) { return std::bit_cast<std::uint64_t>(value); }

}  // namespace

TEST(ArithmeticTest, EveryStepRoundedToADouble) {
    std::mt19937_64 random(2001);
    std::uniform_real_distribution<double> magnitude(-30.0, 30.0);
    for (int i = 0; i < 200000; ++i) {
        const double BT = magnitude(random);
        const double VT = magnitude(random);
        const conversion::ConvertedMagnitudes expected = ConvertStepByStep(BT, VT);
        const conversion::ConvertedMagnitudes actual = conversion::ConvertMagnitudes(BT, VT);
        ASSERT_EQ(Bits(expected.B), Bits(actual.B)) << BT << " " << VT;
        ASSERT_EQ(Bits(expected.V), Bits(actual.V)) << BT << " " << VT;
        ASSERT_EQ(Bits(expected.R), Bits(actual.R)) << BT << " " << VT;
    }
}
