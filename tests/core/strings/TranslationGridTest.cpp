#include "core/strings/TranslationGrid.h"

#include "TestText.h"

#include <gtest/gtest.h>

using namespace pw;

namespace {

const std::string kTable = "[LocAdmin_Strings]\r\n"
                           "Diego_01=Hello;;;;;;;;;;;;;;;;Привет;;;\r\n"
                           "Diego_02=Gold;;;;;;;;;;;;;;;;RU;;;\r\n"
                           "Gorn_01=Axe;;;;;;;;;;;;;;;;;;;\r\n"
                           "Gorn_02=Xardas;;;;;;;;;;;;;;;;Xardas;;;\r\n";

} // namespace

TEST(TranslationGrid, FiltersByAPartOfIdOrTextsAndByTheTargetsState) {
    TranslationGrid grid{LanguageTable(pwtest::Ansi(kTable))};
    const TableLanguages& languages = grid.Layout().languages;
    grid.SetLanguages(*languages.Find("en"), *languages.Find("ru"));
    EXPECT_EQ(grid.SourceText(0), "Hello");
    EXPECT_EQ(grid.TargetText(0), "Привет");
    EXPECT_EQ(grid.Filter("", StateFilter::All), (std::vector<std::size_t>{0, 1, 2, 3}));
    EXPECT_EQ(grid.Filter("gorn", StateFilter::All), (std::vector<std::size_t>{2, 3}));
    EXPECT_EQ(grid.Filter("GOLD", StateFilter::All), (std::vector<std::size_t>{1}));
    EXPECT_EQ(grid.Filter("Прив", StateFilter::All), (std::vector<std::size_t>{0}));
    EXPECT_EQ(grid.Filter("", StateFilter::Missing), (std::vector<std::size_t>{2}));
    EXPECT_EQ(grid.Filter("", StateFilter::Placeholder), (std::vector<std::size_t>{1}));
    EXPECT_EQ(grid.Filter("", StateFilter::SameAsEnglish), (std::vector<std::size_t>{3}));
    EXPECT_EQ(grid.Filter("diego", StateFilter::Missing), (std::vector<std::size_t>{}));
    // The German column shown as the target instead.
    grid.SetLanguages(*languages.Find("en"), *languages.Find("de"));
    EXPECT_EQ(grid.Filter("", StateFilter::Missing).size(), 4u);
}

TEST(TranslationGrid, CountsFollowTheValuesWritten) {
    TranslationGrid grid{LanguageTable(pwtest::Ansi(kTable))};
    EXPECT_EQ(grid.Counts()[8].Translated(), 1u);
    grid.SetValue(2, "Axe;;;;;;;;;;;;;;;;Топор;;;");
    EXPECT_EQ(grid.Counts()[8].Translated(), 2u);
    EXPECT_EQ(grid.Line(2), 4u);
}
