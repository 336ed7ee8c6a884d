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

TEST(ResultTest, ToolTipSaysWhatTheLineRestsOn) {
    const struct {
        std::u16string_view text;
        char16_t separator;
        std::u16string_view toolTip;
    } cases[] = {
        {u"BT=10.500 VT=10.000", u'.',
         u"BT − VT = 0.500\n"
         u"Bessell (2000): V = 9.946, B − V = 0.465\n"
         u"Henden's R and I fits: R = 9.716, I = 9.492\n"
         u"Uncertainty of the fits alone at this colour: V ± 0.015, B − V ± 0.056\n"
         u"The B and V fits hold for −0.2 ≤ BT − VT ≤ 1.8.\n"
         u"R = V − 0.5 (B − V) is a coarse approximation."},
        {u"BT=12.000 VT=9.000", u',',
         u"Extrapolated: BT − VT lies outside the range of the fits,\n"
         u"so B and V may be off by a tenth of a magnitude or more.\n"
         u"BT − VT = 3,000\n"
         u"Bessell (2000): no value outside −0,25 ≤ BT − VT ≤ 2,00\n"
         u"Henden's R and I fits: R = 7,365, I = 6,148\n"
         u"Uncertainty of the fits alone at this colour: V ± 0,025, B − V ± 0,039\n"
         u"The B and V fits hold for −0,2 ≤ BT − VT ≤ 1,8.\n"
         u"R = V − 0.5 (B − V) is a coarse approximation."},
        {u"BT=11.5 VT=11", u'.',
         u"Faint for Tycho-2 (VT > 10.5): BT and VT may be off by 0.1 mag or more\n"
         u"BT − VT = 0.500\n"
         u"Bessell (2000): V = 10.946, B − V = 0.465\n"
         u"Henden's R and I fits: R = 10.716, I = 10.492\n"
         u"Uncertainty of the fits alone at this colour: V ± 0.015, B − V ± 0.056\n"
         u"The B and V fits hold for −0.2 ≤ BT − VT ≤ 1.8.\n"
         u"R = V − 0.5 (B − V) is a coarse approximation."},
        {u"BT=9", u'.', u""},
        {u"BT=1E999 VT=1", u'.', u""},
    };
    for (const auto& c : cases) {
        const Result result = ResultFor(c.text, c.separator);
        EXPECT_EQ(c.toolTip, result.toolTip) << std::string(c.text.begin(), c.text.end());
    }
}

TEST(TextsTest, JapaneseForJapaneseOnly) {
    const Texts& english = EnglishTexts();
    const Texts& japanese = TextsFor("ja");
    EXPECT_NE(&english, &japanese);
    for (const char* name : {"ja-JP", "ja_JP.UTF-8", "ja_JP", "ja.UTF-8"}) {
        EXPECT_EQ(&japanese, &TextsFor(name)) << name;
    }
    for (const char* name : {"jav", "en-US", "C", "", "j"}) {
        EXPECT_EQ(&english, &TextsFor(name)) << name;
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
