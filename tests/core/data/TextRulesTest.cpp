#include "core/data/MessageText.h"
#include "core/data/Numbers.h"
#include "core/data/StrUtilsEx.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

using namespace std::string_literals;

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

// The count goes eight bytes at a time: every length around those steps, the byte sought at every place,
// and bytes that share its low seven bits (0xBB for ';') or are zero must count exactly.
TEST(StrUtilsEx, CharCountCountsEveryByte) {
    EXPECT_EQ(CharCount(';', "a;b;;c"), 3);
    EXPECT_EQ(CharCount(';', ""), 0);
    const std::string alphabet = ";;\xBB\x00\x3A\x3C\xFF\x7F"
                                 "a "s;
    std::uint32_t state = 12345;
    for (std::size_t length = 0; length <= 40; ++length)
        for (int round = 0; round < 20; ++round) {
            std::string text;
            for (std::size_t i = 0; i < length; ++i) {
                state = state * 1103515245u + 12345u;
                text += alphabet[(state >> 16) % alphabet.size()];
            }
            EXPECT_EQ(CharCount(';', text), std::count(text.begin(), text.end(), ';')) << length;
            EXPECT_EQ(CharCount('\xBB', text), std::count(text.begin(), text.end(), '\xBB')) << length;
        }
    EXPECT_EQ(Trim(" \t\x01 a b \r\n"), "a b");
}

// Values fill the places in turn, converted from Windows-1251; a place left without a value stays as it
// is, and a value is never searched for places itself.
TEST(MessageText, FillMessageFillsEachPlaceInTurn) {
    EXPECT_EQ(FillMessage("Квест %s отсутствует.", {"Q_1"}), "Квест Q_1 отсутствует.");
    EXPECT_EQ(FillMessage("%s и %s", {"\xC0", "%s"}), "А и %s");
    EXPECT_EQ(FillMessage("%s, %s, %s", {"a"}), "a, %s, %s");
    EXPECT_EQ(FillMessage("100%%s", {"x"}), "100%x");
    EXPECT_EQ(FillMessage("%s", {""}), "");
    EXPECT_EQ(FillMessage("без мест %", {"x"}), "без мест %");
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
