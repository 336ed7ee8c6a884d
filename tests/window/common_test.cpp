#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "ResultLine.h"
#include "WarningColour.h"

namespace {

TEST(LineEndsTest, EveryBreakBecomesCrLf) {
    const struct {
        std::u16string_view text;
        std::u16string_view expected;
    } cases[] = {
        {u"BT=9", u"BT=9"},         {u"", u""},
        {u"a\nb", u"a\r\nb"},       {u"\na\n", u"\r\na\r\n"},
        {u"\n\n", u"\r\n\r\n"},     {u"a\r\nb", u"a\r\nb"},
        {u"a\rb\r", u"a\r\nb\r\n"}, {u"\r\r\n\n", u"\r\n\r\n\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, WithCrLfLineEnds(c.text))
            << std::string(c.text.begin(), c.text.end());
    }
}

TEST(WarningColourTest, LegibleRedOnAnyBackground) {
    const Rgb backgrounds[] = {
        {255, 255, 255}, {0xef, 0xef, 0xef}, {0x77, 0x77, 0x77}, {0x35, 0x35, 0x35}, {0, 0, 0},
    };
    for (const Rgb background : backgrounds) {
        const Rgb warning = WarningColour(background);
        EXPECT_GE(ContrastRatio(warning, background), 4.5) << background.red;
        // A red: hue below 15 degrees.
        EXPECT_GT(warning.red, warning.green);
        EXPECT_LT((warning.green - warning.blue) * 4, warning.red - warning.blue);
    }
}

}  // namespace
