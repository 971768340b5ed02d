#include "data/Cp1251.h"

#include <QByteArray>
#include <QStringDecoder>

#include <gtest/gtest.h>

using namespace pw;

// Our own table must agree with the system codec for every byte, so files round-trip the same way in
// the windows and in the data layer.
TEST(Cp1251, TableAgreesWithTheSystemCodecForAllBytes) {
    QStringDecoder decoder("windows-1251");
    ASSERT_TRUE(decoder.isValid());
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        const QString decoded = decoder.decode(QByteArray(&byte, 1));
        ASSERT_EQ(decoded.size(), 1) << b;
        EXPECT_EQ(static_cast<char32_t>(decoded.at(0).unicode()),
                  Cp1251ToUnicode(static_cast<unsigned char>(b)))
            << "byte " << b;
        EXPECT_EQ(UnicodeToCp1251(Cp1251ToUnicode(static_cast<unsigned char>(b))), byte) << "byte " << b;
    }
}

TEST(Cp1251, Utf8AndUtf16RoundTrips) {
    const std::string russian = "\xCF\xF0\xE8\xE2\xE5\xF2, \xB8\xEB\xEA\xE0!"; // "Привет, ёлка!"
    EXPECT_EQ(Cp1251ToUtf8(russian), "Привет, ёлка!");
    EXPECT_EQ(Utf8ToCp1251("Привет, ёлка!"), russian);
    EXPECT_EQ(Utf16LeToCp1251(Cp1251ToUtf16Le(russian)), russian);
    EXPECT_EQ(Cp1251ToUtf16Le("A\xC0"), std::string("A\0\x10\x04", 4));
    // Characters the code page lacks come back as '?'.
    EXPECT_EQ(Utf8ToCp1251("a中b"), "a?b");
    EXPECT_EQ(Utf16LeToCp1251(std::string("\x2d\x4e", 2)), "?");
}

TEST(Cp1251, CaseFoldsLatinAndCyrillicLetters) {
    EXPECT_EQ(Cp1251UpperString("abc\xE0\xFF\xB8"), "ABC\xC0\xDF\xA8"); // абя ё -> АБЯ Ё
    EXPECT_EQ(Cp1251Lower('\xC0'), '\xE0');
    EXPECT_EQ(Cp1251Upper('1'), '1');
    EXPECT_TRUE(Cp1251EqualNoCase("\xCC\xE5\xF0\xF2\xE2", "\xEC\xE5\xF0\xF2\xE2")); // Мертв / мертв
    EXPECT_FALSE(AsciiEqualNoCase("\xCC", "\xEC"));
    EXPECT_TRUE(AsciiEqualNoCase("SortId", "SORTID"));
}
