#include "core/data/Numbers.h"
#include "core/data/StrUtilsEx.h"

#include <gtest/gtest.h>

using namespace pw;

TEST(StrUtilsEx, TextAfterAndBefore) {
    EXPECT_EQ(TextAfter("=", "a=b=c", false), "b=c");
    EXPECT_EQ(TextBefore("=", "a=b=c", false), "a");
    EXPECT_EQ(TextAfter("=", "abc", false), "");
    EXPECT_EQ(TextBefore("=", "abc", false), "");
    EXPECT_EQ(TextBefore("=", "=abc", false), "");
    EXPECT_EQ(TextAfter("=", "abc=", false), "");
    EXPECT_EQ(TextAfter("key", "KEY=1", false), "=1");
    EXPECT_EQ(TextAfter("key", "KEY=1", true), "");
    EXPECT_EQ(TextAfter("", "abc", false), "");
    // Cyrillic letters fold too, and the result keeps the text's own letters.
    EXPECT_EQ(TextAfter("\xE1", "\xC0\xC1\xE2", false), "\xE2");
}

TEST(StrUtilsEx, CharCountCountsEveryByte) {
    EXPECT_EQ(CharCount(';', "a;b;;c"), 3);
    EXPECT_EQ(CharCount(';', ""), 0);
    EXPECT_EQ(Trim(" \t\x01 a b \r\n"), "a b");
}

TEST(Numbers, WholeNumberAcceptsTheEditorsForms) {
    EXPECT_EQ(ParseWholeNumber("100"), 100);
    EXPECT_EQ(ParseWholeNumber("  -5"), -5);
    EXPECT_EQ(ParseWholeNumber("+7"), 7);
    EXPECT_EQ(ParseWholeNumber("$1F"), 31);
    EXPECT_EQ(ParseWholeNumber("x1f"), 31);
    EXPECT_EQ(ParseWholeNumber("0X10"), 16);
    EXPECT_EQ(ParseWholeNumber("-2147483648"), INT32_MIN);
    for (const char* bad : {"", " ", "1e2", "abc", "12 ", "2147483648", "$", "0x", "--1", "1.0"})
        EXPECT_FALSE(ParseWholeNumber(bad).has_value()) << bad;
}

TEST(Numbers, FileIntegerRule) {
    EXPECT_EQ(ParseFileInteger("42"), 42);
    EXPECT_EQ(ParseFileInteger("-1"), -1);
    EXPECT_EQ(ParseFileInteger("0x1A"), 26);
    EXPECT_EQ(ParseFileInteger("00"), 0);
    for (const char* bad : {"", "0x", "$10", " 1", "abc", "99999999999"})
        EXPECT_FALSE(ParseFileInteger(bad).has_value()) << bad;
    EXPECT_EQ(NotValidIntegerMessage("abc"), "'abc' is not a valid integer value");
}
