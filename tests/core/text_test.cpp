#include "core/text.h"
#include "core/val_long.h"

#include "platform/failure.h"
#include "platform/os/locale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace {

class TextRules : public testing::Test {
protected:
    void SetUp() override { os::SetLocaleDecimalSeparator("."); }
    void TearDown() override { os::SetLocaleDecimalSeparator("."); }
};

TEST_F(TextRules, PositionsCountCharactersFromOne) {
    struct Case {
        std::string got, expected;
    };
    const Case cases[] = {
        {Mid("abcdef", 2, 3), "bcd"}, {Mid("abcdef", 4), "def"}, {Mid("abc", 5, 2), ""},  {Mid("abc", 0, 2), "ab"},
        {Mid("mémoire", 2, 2), "ém"}, {Left("abc", 2), "ab"},    {Left("abc", 9), "abc"}, {Right("abcdef", 2), "ef"},
        {Right("ab", 5), "ab"},       {Right("ab", 0), ""},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.expected);
    EXPECT_EQ(Len("mémoire"), 7);
    EXPECT_EQ(InStr("a.b.c", "."), 2);
    EXPECT_EQ(InStr(3, "a.b.c", "."), 4);
    EXPECT_EQ(InStr("abc", "x"), 0);
    EXPECT_EQ(InStr("é.", "."), 2);
    EXPECT_EQ(InStr(9, "abc", "a"), 0);
}

TEST_F(TextRules, TrimAndCase) {
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(LTrim("  a "), "a ");
    EXPECT_EQ(RTrim(" a  "), " a");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(LCase("SnIpPer"), "snipper");
    EXPECT_EQ(UCase("village"), "VILLAGE");
}

TEST_F(TextRules, IntegerConversionsRoundHalvesToEven) {
    struct Case {
        double value;
        int32_t expected;
    };
    const Case cases[] = {{2.5, 2},
                          {3.5, 4},
                          {-2.5, -2},
                          {2.4999, 2},
                          {2.6, 3},
                          {-0.5, 0},
                          {-1.5, -2},
                          {-3.7, -4},
                          {0.49999999999999994, 0},
                          {1e9, 1000000000},
                          {2147483647.4, 2147483647},
                          {-2147483648.5, INT32_MIN}};
    for (const Case& c : cases) EXPECT_EQ(CLng(c.value), c.expected) << c.value;
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_THROW(CInt(32767.5), Failure);
    EXPECT_THROW(CLng(2147483648.0), Failure);
    EXPECT_THROW(CLng(2147483647.5), Failure);
    EXPECT_THROW(CLng(std::nan("")), Failure);
    EXPECT_THROW(CLng(1e300), Failure);
    EXPECT_EQ(CLng(" 12 "), 12);
}

TEST_F(TextRules, NumericTextFollowsTheLocaleSeparator) {
    EXPECT_DOUBLE_EQ(CDbl("12.5"), 12.5);
    EXPECT_DOUBLE_EQ(CDbl("-1.5e2"), -150);
    EXPECT_THROW(CDbl("12,5"), Failure);
    os::SetLocaleDecimalSeparator(",");
    EXPECT_DOUBLE_EQ(CDbl("12,5"), 12.5);
    EXPECT_THROW(CDbl("12.5"), Failure);
    EXPECT_EQ(CStr(12.5), "12,5");
    EXPECT_EQ(Format(0.5, "#.00"), ",50");
    for (const char* bad : {"", " ", "abc", "1.2.3", "1e", "--1", "1 2"}) {
        os::SetLocaleDecimalSeparator(".");
        EXPECT_FALSE(IsNumeric(bad)) << bad;
        EXPECT_THROW(CDbl(bad), Failure) << bad;
    }
}

TEST_F(TextRules, NumbersAsText) {
    EXPECT_EQ(CStr(12.5), "12.5");
    EXPECT_EQ(CStr(3.0), "3");
    EXPECT_EQ(CStr(-0.25), "-0.25");
    EXPECT_EQ(CStr(0.1 + 0.2), "0.3");
    EXPECT_EQ(CStr(int32_t{-7}), "-7");
}

TEST_F(TextRules, FormatPatterns) {
    struct Case {
        double value;
        const char* pattern;
        const char* expected;
    };
    const Case cases[] = {
        {0, "#.0", ".0"},       {0, "#.00", ".00"},   {0.5, "#.00", ".50"},   {12.345, "#.00", "12.35"},
        {59.96, "#.0", "60.0"}, {1.25, "#.0", "1.2"}, {-0.5, "#.00", "-.50"}, {3, "0.0", "3.0"},
        {0.25, "0.0", "0.2"},   {7.0, "#", "7"},
    };
    for (const Case& c : cases) EXPECT_EQ(Format(c.value, c.pattern), c.expected) << c.value << " " << c.pattern;
}

TEST_F(TextRules, ValLongNeverFails) {
    EXPECT_EQ(ValLong("42"), 42);
    EXPECT_EQ(ValLong("not a number"), 0);
    EXPECT_EQ(ValLong(""), 0);
    EXPECT_EQ(ValLong(2.5), 2);
    EXPECT_EQ(ValLong(3.5), 4);
    EXPECT_EQ(ValLong(1e12), 0);
    EXPECT_EQ(ValLong("99999999999"), 0);
}

}  // namespace
