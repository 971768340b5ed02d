#include "text_pane/TextPane.h"

#include "TempDir.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <stdexcept>

using pw::DecodeTextFile;
using pw::LineBreak;
using pw::TextEncoding;

namespace {

// "Привет" in Windows-1251, UTF-16 and UTF-8.
const std::string kPrivet1251 = "\xCF\xF0\xE8\xE2\xE5\xF2";
const std::string kPrivetUtf16Le = std::string("\x1F\x04\x40\x04\x38\x04\x32\x04\x35\x04\x42\x04", 12);
const std::string kPrivetUtf16Be = std::string("\x04\x1F\x04\x40\x04\x38\x04\x32\x04\x35\x04\x42", 12);
const std::string kPrivetUtf8 = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";
const QString kPrivet = QString::fromUtf8("Привет");

TEST(DecodeTextFile, ByteOrderMarksChooseTheEncoding) {
    const std::string crlf16Le("\r\0\n\0", 4);
    const std::string crlf16Be("\0\r\0\n", 4);
    struct Case {
        std::string bytes;
        TextEncoding encoding;
    } cases[] = {
        {kPrivet1251 + "\r\nx", TextEncoding::Ansi},
        {"\xEF\xBB\xBF" + kPrivetUtf8 + "\r\nx", TextEncoding::Utf8Bom},
        {"\xFF\xFE" + kPrivetUtf16Le + crlf16Le + std::string("x\0", 2), TextEncoding::Utf16LeBom},
        {"\xFE\xFF" + kPrivetUtf16Be + crlf16Be + std::string("\0x", 2), TextEncoding::Utf16BeBom},
    };
    for (const Case& c : cases) {
        const pw::LoadedText loaded = DecodeTextFile(c.bytes);
        EXPECT_EQ(loaded.encoding, c.encoding);
        EXPECT_EQ(loaded.text, kPrivet + "\nx"); // the mark itself is not part of the text
        EXPECT_EQ(loaded.lineBreak, LineBreak::CrLf);
    }
}

TEST(DecodeTextFile, TextWithoutMarkIsWindows1251EvenWhenItLooksLikeUtf8) {
    const pw::LoadedText loaded = DecodeTextFile(kPrivetUtf8);
    EXPECT_EQ(loaded.encoding, TextEncoding::Ansi);
    EXPECT_EQ(loaded.text, QString::fromUtf8("РџСЂРёРІРµС‚"));
}

TEST(DecodeTextFile, LineEndsAreNormalisedAndTheFirstKindIsKept) {
    EXPECT_EQ(DecodeTextFile("a\nb\r\nc").lineBreak, LineBreak::Lf);
    EXPECT_EQ(DecodeTextFile("a\rb\nc").lineBreak, LineBreak::Cr);
    EXPECT_EQ(DecodeTextFile("a\r\nb\rc\nd").text, "a\nb\nc\nd");
    EXPECT_EQ(DecodeTextFile("a\r\r\nb").text, "a\n\nb");
    EXPECT_EQ(DecodeTextFile("one line").lineBreak, LineBreak::CrLf);
    EXPECT_EQ(DecodeTextFile("\xFF\xFE").text, QString());
}

TEST(TextPane, LoadsAFileAndKeepsItsTextWhenTheNextOneIsMissing) {
    pwtest::TempDir dir;
    pwtest::WriteBytes(dir.File("stringtable.ini"), "\xFF\xFE" + kPrivetUtf16Le + std::string("\n\0", 2));
    pw::TextPane pane;
    pane.LoadFromFile(dir.File("stringtable.ini"));
    EXPECT_EQ(pane.toPlainText(), kPrivet + "\n");
    EXPECT_EQ(pane.Encoding(), TextEncoding::Utf16LeBom);
    EXPECT_EQ(pane.LineBreakStyle(), LineBreak::Lf);
    EXPECT_EQ(pane.blockCount(), 2);

    const std::string missing = dir.File("missing.ini");
    try {
        pane.LoadFromFile(missing);
        FAIL() << "a missing file must not load";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()).rfind("Cannot open file \"" + missing + "\". ", 0), 0u)
            << error.what();
    }
    EXPECT_EQ(pane.toPlainText(), kPrivet + "\n");
}

TEST(TextPane, UsesAFixedPitchFont) {
    pw::TextPane pane;
    const QFontMetrics metrics(pane.font());
    EXPECT_EQ(metrics.horizontalAdvance(u'i'), metrics.horizontalAdvance(u'W'));
    EXPECT_EQ(pane.font().pixelSize(), 13);
}

} // namespace
