#include "gui/text_pane/IniTokenizer.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

using pw::IniTokenKind;

namespace {

const char* NameOf(IniTokenKind kind) {
    switch (kind) {
    case IniTokenKind::Comment:
        return "Comment";
    case IniTokenKind::Text:
        return "Text";
    case IniTokenKind::Section:
        return "Section";
    case IniTokenKind::Key:
        return "Key";
    case IniTokenKind::Number:
        return "Number";
    case IniTokenKind::Space:
        return "Space";
    case IniTokenKind::String:
        return "String";
    case IniTokenKind::Symbol:
        return "Symbol";
    case IniTokenKind::EndOfLine:
        return "End";
    }
    return "?";
}

// The tokens as "Kind‹text›" joined by blanks, after checking that they cover the line in order.
QString Cut(const QString& line) {
    QStringList shown;
    qsizetype next = 0;
    for (const pw::IniToken& token : pw::TokenizeIniLine(line)) {
        EXPECT_EQ(token.start, next) << line.toStdString();
        next = token.start + token.length;
        shown << QString::fromLatin1(NameOf(token.kind)) + QStringLiteral("‹") +
                     line.mid(token.start, token.length) + QStringLiteral("›");
    }
    EXPECT_EQ(next, line.size());
    return shown.join(u' ');
}

TEST(TokenizeIniLine, CutsEachLineByItsRules) {
    const struct {
        QString line;
        QString tokens;
    } cases[] = {
        {"", "End‹›"},
        {";comment", "Comment‹;comment› End‹›"},
        {" ;x", "Space‹ › Text‹;› Text‹x› End‹›"},
        {"[Info]", "Section‹[Info]› End‹›"},
        {"[Info", "Section‹[Info› End‹›"},
        {"[Info] ; note", "Section‹[Info]› Space‹ › Text‹;› Space‹ › Text‹note› End‹›"},
        {"x [y]", "Key‹x [y]› End‹›"},
        {"Name=Abc", "Key‹Name› Symbol‹=› Text‹Abc› End‹›"},
        {"SortID=-1", "Key‹SortID› Symbol‹=› Text‹-1› End‹›"},
        {"GoldCost=12ab", "Key‹GoldCost› Symbol‹=› Text‹12ab› End‹›"},
        {"GoldCost=12", "Key‹GoldCost› Symbol‹=› Number‹12› End‹›"},
        {"V=1.5e3 2x", "Key‹V› Symbol‹=› Number‹1.5e3› Space‹ › Text‹2x› End‹›"},
        {"Name=\"a b\"", "Key‹Name› Symbol‹=› String‹\"a b\"› End‹›"},
        {"Name='a\"b' c", "Key‹Name› Symbol‹=› String‹'a\"b'› Space‹ › Text‹c› End‹›"},
        {"N=\"open", "Key‹N› Symbol‹=› String‹\"open› End‹›"},
        {"N=\"\"\"a\"b", "Key‹N› Symbol‹=› String‹\"\"\"a\"› Text‹b› End‹›"},
        {"N=\"\"x", "Key‹N› Symbol‹=› String‹\"\"› Text‹x› End‹›"},
        {"12=5", "Key‹12› Symbol‹=› Number‹5› End‹›"},
        {"=x", "Symbol‹=› Text‹x› End‹›"},
        {"\"k\"=v", "String‹\"k\"› Symbol‹=› Text‹v› End‹›"},
        {"  Key = v", "Space‹  › Text‹Key› Space‹ › Symbol‹=› Space‹ › Text‹v› End‹›"},
        {"K=Привет a1",
         "Key‹K› Symbol‹=› Text‹П› Text‹р› Text‹и› Text‹в› Text‹е› Text‹т› Space‹ › Text‹a1› End‹›"},
        {"K=Пa1;[", "Key‹K› Symbol‹=› Text‹Пa1› Text‹;› Text‹[› End‹›"},
        {"K=a\tb", "Key‹K› Symbol‹=› Text‹a› Space‹\t› Text‹b› End‹›"},
        {"K=a\r\nb", "Key‹K› Symbol‹=› Text‹a› Space‹\r\n› Text‹b› End‹›"},
        {"K=a\rb\nc", "Key‹K› Symbol‹=› Text‹a› Space‹\r› Text‹b› Space‹\n› Text‹c› End‹›"},
        {"Key\r", "Key‹Key› Space‹\r› End‹›"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Cut(c.line), c.tokens) << c.line.toStdString();
}

} // namespace
