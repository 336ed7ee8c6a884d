#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "tychobvr/conversion.h"

using conversion::ScanTaggedValues;

namespace {

struct Case {
    const char* name;
    std::u16string_view text;
    double bt;
    double vt;
};

void ExpectScans(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const conversion::TaggedValues values = ScanTaggedValues(c.text);
        EXPECT_EQ(c.bt, values.BT);
        EXPECT_EQ(c.vt, values.VT);
    }
}

}  // namespace

TEST(TagScanTest, SixCharacterField) {
    ExpectScans({{"both tags", u"BT=10.500 VT=10.000", 10.5, 10.0},
                 {"cut after six", u"BT=12.3456", 12.345, 0.0},
                 {"blanks count", u"BT=   10.123", 10.0, 0.0},
                 {"tag ends text", u"xBT=", 0.0, 0.0},
                 {"field cut by end", u"VT=9.", 0.0, 9.0},
                 {"minus cut after six", u"VT=-10.234", 0.0, -10.23}});
}

TEST(TagScanTest, LineEnds) {
    ExpectScans({{"CR LF stops number", u"BT=9\r\n87 VT=1", 9.0, 1.0},
                 {"bare LF joins lines", u"BT=9\n87 VT=1", 987.0, 1.0},
                 {"bare CR stops number", u"BT=9\r87 VT=1", 9.0, 1.0},
                 {"tags on two lines", u"HIP 1\r\nBT= 9.876\r\nVT= 9.123\r\n", 9.876, 9.123}});
}

TEST(TagScanTest, TagsAnywhere) {
    ExpectScans({{"adjacent", u"BT=9.8VT=9.1", 9.8, 9.1},
                 {"after letter", u"xBT=5 yVT=6", 5.0, 6.0},
                 {"after digit and bracket", u"1BT=5 (VT=6)", 5.0, 6.0},
                 {"lower case", u"bt=5 VT=6", 0.0, 6.0},
                 {"mixed case after tags", u"BT=3 VT=6 Bt=1 bT=2 Vt=4 vT=5", 3.0, 6.0},
                 {"blank before equals", u"BT =5 VT=6", 0.0, 6.0},
                 {"empty", u"", 0.0, 0.0},
                 {"too short", u"BT", 0.0, 0.0},
                 {"equals first", u"=BT=1", 1.0, 0.0}});
}

TEST(TagScanTest, LastOccurrenceWins) {
    ExpectScans({{"second read as zero", u"BT=9.5 BT=abc VT=1", 0.0, 1.0},
                 {"second replaces first", u"BT=1 VT=2 BT=3 VT=4", 3.0, 4.0},
                 {"field holds other tag", u"BT=VT=7", 0.0, 7.0},
                 {"overlapping windows", u"BT=BT=2", 2.0, 0.0}});
}

TEST(TagScanTest, FoundZeroIsMissing) {
    ExpectScans(
        {{"zero value", u"BT=0.000 VT=9", 0.0, 9.0}, {"blank field", u"BT=      VT=9", 0.0, 9.0}});
}

TEST(TagScanTest, LongTextLastTagsDecide) {
    std::u16string text;
    for (int i = 0; i < 1000; ++i) text += u"BT=1.000 VT=2.000 other=3 ";
    text += u"BT=4.5" + std::u16string(100, u'=') + u"VT=5.5";
    const conversion::TaggedValues values = ScanTaggedValues(text);
    EXPECT_EQ(4.5, values.BT);
    EXPECT_EQ(5.5, values.VT);
}

namespace {

// Every position in increasing order, each match overwriting the last: the plain reading.
conversion::TaggedValues ScanForward(std::u16string_view text) {
    conversion::TaggedValues values;
    for (std::size_t p = 0; p + 3 <= text.size(); ++p) {
        const std::u16string_view tag = text.substr(p, 3);
        const std::u16string_view field = text.substr(p + 3, 6);
        if (tag == u"BT=") values.BT = conversion::ReadLeadingNumber(field);
        if (tag == u"VT=") values.VT = conversion::ReadLeadingNumber(field);
    }
    return values;
}

}  // namespace

TEST(TagScanTest, AgreesWithForwardScanOnRandomTexts) {
    constexpr std::u16string_view kAlphabet = u"BVT=BVT=19.- \r\nE&H";
    std::mt19937 random(12345);
    std::uniform_int_distribution<std::size_t> length(0, 80);
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    for (int round = 0; round < 20000; ++round) {
        std::u16string text(length(random), u' ');
        for (char16_t& c : text) c = kAlphabet[pick(random)];
        const conversion::TaggedValues expected = ScanForward(text);
        const conversion::TaggedValues actual = ScanTaggedValues(text);
        ASSERT_EQ(expected.BT, actual.BT) << "round " << round;
        ASSERT_EQ(expected.VT, actual.VT) << "round " << round;
    }
}
