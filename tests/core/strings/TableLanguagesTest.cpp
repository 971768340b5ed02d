#include "core/strings/TableLanguages.h"

#include <gtest/gtest.h>

using namespace pw;

namespace {

std::vector<std::string> Codes(const TableLanguages& languages) {
    std::vector<std::string> codes;
    for (const TableLanguage& language : languages.All())
        codes.push_back(language.code);
    return codes;
}

} // namespace

TEST(TableLanguages, FieldsAreWhatSplittingAtEverySemicolonGives) {
    EXPECT_EQ(SplitFields("Hi;;Ciao;"), (std::vector<std::string_view>{"Hi", "", "Ciao", ""}));
    EXPECT_EQ(SplitFields(""), (std::vector<std::string_view>{""}));
    EXPECT_EQ(FieldCount("a;b;"), 3u);
    EXPECT_EQ(FieldOf("a;b;", 1), "b");
    EXPECT_EQ(FieldOf("a;b;", 2), "");
    EXPECT_EQ(FieldOf("a;b;", 3), std::nullopt);
    EXPECT_EQ(FieldOf("a", 0), "a");
}

TEST(TableLanguages, WithoutHeaderTheGamesTenInItsOrder) {
    const TableLanguages game;
    EXPECT_EQ(Codes(game),
              (std::vector<std::string>{"en", "it", "fr", "de", "es", "cs", "hu", "pl", "ru", "ja"}));
    const TableLanguage& russian = game.All()[8];
    EXPECT_EQ(russian.name, "Русский");
    EXPECT_EQ(russian.column, 9);
    EXPECT_EQ(russian.TextField(), 16u);
    EXPECT_EQ(Codes(TableLanguages::FromHeader(" ; ")), Codes(game));
}

TEST(TableLanguages, HeaderNamesTheColumnsAndTheTenthMayBeChinese) {
    const TableLanguages table = TableLanguages::FromHeader(
        "English;Italian;French;German;Spanish;Czech;Hungarian;Polish;Russian;TRC;");
    ASSERT_EQ(table.All().size(), 10u);
    EXPECT_EQ(table.All()[9].code, "zh-TW");
    EXPECT_EQ(table.All()[9].header, "TRC");
    EXPECT_EQ(TableLanguages::FromHeader("English;Chinese").All()[1].code, "zh-TW");
    // A header in another order, with a language the program has no name for.
    const TableLanguages other = TableLanguages::FromHeader("Russian;English;Klingon Mod");
    EXPECT_EQ(Codes(other), (std::vector<std::string>{"ru", "en", "klingon-mod"}));
    EXPECT_EQ(other.All()[2].name, "Klingon Mod");
    EXPECT_EQ(other.English()->column, 2);
    EXPECT_EQ(TableLanguages::FromHeader("Russian;German").English(), nullptr);
}

TEST(TableLanguages, ALanguageIsFoundByCodeColumnOrName) {
    const TableLanguages table = TableLanguages::FromHeader("English;German;Russian");
    for (const char* given : {"ru", "RU", "3", " 3 ", "Russian", "rus", "Русский"})
        ASSERT_NE(table.Find(given), nullptr) << given;
    EXPECT_EQ(table.Find("ru")->column, 3);
    EXPECT_EQ(table.Find("4"), nullptr);
    EXPECT_EQ(table.Find("0"), nullptr);
    EXPECT_EQ(table.Find("pl"), nullptr);
    EXPECT_EQ(TableLanguages().Find("10")->code, "ja");
}

TEST(TableLanguages, CellStatesInTheirOrder) {
    struct Case {
        std::optional<std::string_view> cell;
        std::optional<std::string_view> english;
        bool isEnglish;
        CellState state;
    };
    const Case cases[] = {
        {std::nullopt, "Hello", false, CellState::Missing},
        {"", "Hello", false, CellState::Missing},
        {" \t", "Hello", false, CellState::Missing},
        {"-", "Hello", false, CellState::Placeholder},
        {" RU ", "Hello", false, CellState::Placeholder},
        {"[ENG]", "Hello", true, CellState::Placeholder},
        {"[ trc ]", "Hello", false, CellState::Placeholder},
        {"(Ita)", "Hello", false, CellState::Placeholder},
        {"jp", "Hello", false, CellState::Placeholder},
        {"--", "Hello", false, CellState::Translated},
        {"Russian", "Hello", false, CellState::Translated},
        {"[RU", "Hello", false, CellState::Translated},
        {" Hello ", "Hello\t", false, CellState::SameAsEnglish},
        {"Hello", "Hello", true, CellState::Translated},
        {"Hello", std::nullopt, false, CellState::Translated},
        {"RU", "RU", false, CellState::Placeholder},
        {"Привет", "Hello", false, CellState::Translated},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StateOfCell(c.cell, c.english, c.isEnglish), c.state)
            << (c.cell ? std::string(*c.cell) : "(none)") << " / "
            << (c.english ? std::string(*c.english) : "(none)");
}

TEST(TableLanguages, StateOfALanguageInAValue) {
    const TableLanguages game;
    const std::string value = "Hello;;IT;;Hello;;Hallo;";
    EXPECT_EQ(StateOf(value, *game.Find("en"), game), CellState::Translated);
    EXPECT_EQ(StateOf(value, *game.Find("it"), game), CellState::Placeholder);
    EXPECT_EQ(StateOf(value, *game.Find("fr"), game), CellState::SameAsEnglish);
    EXPECT_EQ(StateOf(value, *game.Find("de"), game), CellState::Translated);
    EXPECT_EQ(StateOf(value, *game.Find("ru"), game), CellState::Missing);
}

TEST(TableLanguages, WritingAFieldKeepsEveryOtherAndLengthensShortValues) {
    EXPECT_EQ(WithField("Hi;sd;Ciao;;", 2, "Salve", 20), "Hi;sd;Salve;;");
    EXPECT_EQ(WithField("Hi;sd;Ciao;;", 0, "", 20), ";sd;Ciao;;");
    EXPECT_EQ(WithField("Hi;", 4, "Bonjour", 8), "Hi;;;;Bonjour;;;");
    EXPECT_EQ(WithField("", 16, "Привет", 20), std::string(16, ';') + "Привет;;;");
    EXPECT_EQ(WithField("Hi", 2, "x", 1), "Hi;;x");
}

TEST(TableLanguages, ACellHoldsNeitherSemicolonNorLineBreak) {
    EXPECT_EQ(CellTextProblem("Привет, \\n мир"), std::nullopt);
    EXPECT_NE(CellTextProblem("a;b"), std::nullopt);
    EXPECT_NE(CellTextProblem("a\nb"), std::nullopt);
    EXPECT_NE(CellTextProblem("a\rb"), std::nullopt);
}
