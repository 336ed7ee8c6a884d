#include <gtest/gtest.h>

#include <optional>

#include "tychobvr/conversion.h"

namespace {

// Expected values computed by hand from the table's rows.
TEST(BessellTest, RowsHoldAndCubicsJoinThem) {
    const struct {
        double BT;
        double VT;
        double V;
        double BMinusV;
    } cases[] = {
        {10.5, 10.0, 9.946, 0.465},            // on the row 0.50
        {10.525, 10.0, 9.9435625, 0.4850625},  // between 0.50 and 0.55
        {9.75, 10.0, 10.038, -0.219},          // the first row, -0.25
        {9.775, 10.0, 10.0340625, -0.19875},   // between the first two rows
        {12.0, 10.0, 9.794, 1.658},            // the last row, 2.00
        {11.975, 10.0, 9.7971875, 1.6385},     // between the last two rows
        {10.0004, 10.0, 10.001, -0.0046},      // shown as 0.000: the row
    };
    for (const auto& c : cases) {
        const std::optional<conversion::BessellMagnitudes> m =
            conversion::ConvertBessell2000(c.BT, c.VT);
        ASSERT_TRUE(m) << c.BT;
        EXPECT_NEAR(c.V, m->V, 1e-9) << c.BT;
        EXPECT_NEAR(c.BMinusV, m->BMinusV, 1e-9) << c.BT;
    }
}

TEST(BessellTest, NoValueOutsideTheTable) {
    for (const double BT : {9.749, 12.001, 30.0, -30.0}) {
        EXPECT_FALSE(conversion::ConvertBessell2000(BT, 10.0)) << BT;
    }
}

TEST(HendenTest, RAndIFits) {
    const conversion::HendenMagnitudes m = conversion::ConvertHendenRI(10.5, 10.0);
    EXPECT_NEAR(9.71575, m.R, 1e-12);
    EXPECT_NEAR(9.4922, m.I, 1e-12);
    const conversion::HendenMagnitudes blue = conversion::ConvertHendenRI(7.8, 8.0);
    EXPECT_NEAR(8.0941, blue.R, 1e-12);
    EXPECT_NEAR(8.14852, blue.I, 1e-12);
}

}  // namespace
