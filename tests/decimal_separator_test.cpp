#include <gtest/gtest.h>

#include <cstdlib>
#include <exception>
#include <locale>
#include <string>

#include "decimal_separator.h"
#include "tychobvr/conversion.h"

namespace {

template <typename Char>
struct Punct : std::numpunct<Char> {
    explicit Punct(Char point) : point_(point) {}
    Char do_decimal_point() const override { return point_; }
    Char point_;
};

std::locale WithWidePoint(wchar_t point) {
    return std::locale(std::locale::classic(), new Punct<wchar_t>(point));
}

}  // namespace

TEST(DecimalSeparatorTest, FromLocale) {
    EXPECT_EQ(u'.', conversion::DecimalSeparatorOf(std::locale::classic()));
    EXPECT_EQ(u',', conversion::DecimalSeparatorOf(WithWidePoint(L',')));
    EXPECT_EQ(u'\u066B', conversion::DecimalSeparatorOf(WithWidePoint(L'\u066B')));
}

TEST(DecimalSeparatorTest, PointThatDoesNotFitIsPeriod) {
    EXPECT_EQ(u'.', conversion::DecimalSeparatorOf(WithWidePoint(L'\0')));
    if constexpr (sizeof(wchar_t) > 2) {
        EXPECT_EQ(u'.',
                  conversion::DecimalSeparatorOf(WithWidePoint(static_cast<wchar_t>(0x1D7CE))));
    }
}

// Run by ctest with the locale variables set and the separator they must give.
TEST(UserLocale, SeparatorFromEnvironment) {
    const char* expected = std::getenv("TYCHOBVR_EXPECTED_SEPARATOR");
    if (expected == nullptr) GTEST_SKIP() << "run by ctest with a locale set";
    // As in the window, the C and C++ libraries follow the user's locale too.
    try {
        std::locale::global(std::locale(""));
    } catch (const std::exception&) {
    }
    const conversion::TaggedValues values = conversion::ScanTaggedValues(u"BT=10,234 VT=9,5");
    EXPECT_EQ(10.0, values.BT) << "a comma is never a decimal point";
    EXPECT_EQ(9.0, values.VT);
    const char16_t separator = static_cast<char16_t>(expected[0]);
    EXPECT_EQ(separator, conversion::UserDecimalSeparator());
    EXPECT_EQ(std::u16string(u"B = 10") + separator + u"389 / V = 9" + separator + u"959 / R = 9" +
                  separator + u"743",
              conversion::BuildResultText(u"BT=10.5 VT=10"));
}
