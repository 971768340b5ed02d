#include "core/data/Cp1251.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>

#ifdef PLOTWRIGHT_HAVE_QT
#include <QByteArray>
#include <QStringDecoder>
#endif

using namespace pw;

#ifdef PLOTWRIGHT_HAVE_QT
// Our own table must agree with the system codec for every byte, so files round-trip the same way in
// the windows and in the data layer.
TEST(Cp1251, TableAgreesWithTheSystemCodecForAllBytes) {
    QStringDecoder decoder("windows-1251");
    if (!decoder.isValid())
        GTEST_SKIP() << "this Qt has no converter for code pages (Qt for Windows is built without ICU)";
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
#endif

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

TEST(Cp1251, ExactConversionsRefuseWhatWouldBeLost) {
    struct Case {
        std::string utf8;
        std::optional<std::string> cp1251; // std::nullopt: not valid UTF-8, or not in the code page
        bool validUtf8;
    };
    const Case cases[] = {
        {"", "", true},
        {"Новое значение №5 — «да»",
         "\xCD\xEE\xE2\xEE\xE5 \xE7\xED\xE0\xF7\xE5\xED\xE8\xE5 \xB9"
         "5 \x97 \xAB\xE4\xE0\xBB",
         true},
        {"€ Ё ё ‰", "\x88 \xA8 \xB8 \x89", true},
        {"a中b", std::nullopt, true},
        {"😀", std::nullopt, true},
        {"\xD0", std::nullopt, false},             // cut after its lead byte
        {"\xC0\x80", std::nullopt, false},         // an overlong NUL
        {"\xED\xA0\x80", std::nullopt, false},     // a surrogate
        {"\xF4\x90\x80\x80", std::nullopt, false}, // past U+10FFFF
        {"\x80"
         "abc",
         std::nullopt, false},
        {"\xCF\xF0\xE8", std::nullopt, false}, // Windows-1251 bytes, as a script might pass them
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8ToCp1251Exact(c.utf8), c.cp1251) << c.utf8;
        EXPECT_EQ(DecodeUtf8(c.utf8).has_value(), c.validUtf8) << c.utf8;
        const std::optional<std::string> wide = Utf8ToUtf16Le(c.utf8);
        ASSERT_EQ(wide.has_value(), c.validUtf8) << c.utf8;
        if (wide) {
            EXPECT_EQ(Utf16LeToUtf8(*wide), c.utf8) << "round trip through UTF-16";
        }
    }
    EXPECT_EQ(*Utf8ToUtf16Le("😀"), std::string("\x3D\xD8\x00\xDE", 4));
    // An unpaired surrogate is no character; an odd last byte is left out.
    EXPECT_EQ(Utf16LeToUtf8(std::string("A\0\x3D\xD8"
                                        "B\0\x00\xDE",
                                        8)),
              "A\xEF\xBF\xBD"
              "B\xEF\xBF\xBD");
    EXPECT_EQ(Utf16LeToUtf8(std::string("A\0B", 3)), "A");
}

TEST(Cp1251, CaseFoldsLatinAndCyrillicLetters) {
    EXPECT_EQ(Cp1251UpperString("abc\xE0\xFF\xB8"), "ABC\xC0\xDF\xA8"); // абя ё -> АБЯ Ё
    EXPECT_EQ(Cp1251Lower('\xC0'), '\xE0');
    EXPECT_EQ(Cp1251Upper('1'), '1');
    EXPECT_TRUE(Cp1251EqualNoCase("\xCC\xE5\xF0\xF2\xE2", "\xEC\xE5\xF0\xF2\xE2")); // Мертв / мертв
    EXPECT_FALSE(AsciiEqualNoCase("\xCC", "\xEC"));
    EXPECT_TRUE(AsciiEqualNoCase("SortId", "SORTID"));
}

// Names that compare equal hash equal, whatever byte stands where in the words the hash takes; bytes that
// only look like a letter's other case are not folded.
TEST(Cp1251, FoldedHashFoldsOnlyLatinLettersWhereverTheyStand) {
    const FoldedHash hash;
    for (std::size_t length = 1; length <= 17; ++length)
        for (std::size_t at = 0; at < length; ++at)
            for (int b = 0; b < 256; ++b) {
                std::string name(length, 'x');
                name[at] = static_cast<char>(b);
                std::string upper = name;
                upper[at] = AsciiUpper(name[at]);
                ASSERT_EQ(hash(name), hash(upper)) << length << " " << at << " " << b;
            }
    for (const auto& [a, b] : {std::pair{"`", "@"}, {"{", "["}, {"\xE0", "\xC0"}, {"~_x", "^_x"}})
        EXPECT_NE(hash(a), hash(b)) << a;
}

TEST(Cp1251, FindNoCaseFoldsOnlyLatinLettersAtEveryPlace) {
    // Texts of few letters, so that parts recur, overlap and stand at both ends, and long enough to be
    // tested sixteen places at a time.
    std::mt19937 rng(9);
    const std::string alphabet = "aAbB\xE0\xC0";
    const auto folded = [](std::string text) {
        for (char& c : text)
            c = AsciiUpper(c);
        return text;
    };
    for (int round = 0; round < 4000; ++round) {
        std::string text, part;
        for (std::size_t i = rng() % (round % 2 ? 12 : 70); i > 0; --i)
            text += alphabet[rng() % alphabet.size()];
        for (std::size_t i = rng() % 5; i > 0; --i)
            part += alphabet[rng() % alphabet.size()];
        const std::size_t from = rng() % (text.size() + 2);
        EXPECT_EQ(FindNoCase(text, part, from), folded(text).find(folded(part), from))
            << text << " / " << part << " from " << from;
        EXPECT_EQ(ContainsNoCase(text, part), folded(text).find(folded(part)) != std::string::npos);
    }
}
