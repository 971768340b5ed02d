#include "core/data/Cp1251.h"
#include "core/dialogue/Vocabularies.h"

#include <gtest/gtest.h>

namespace {

using namespace pw;

std::string Utf8At(const Vocabulary& list, int position) {
    return Cp1251ToUtf8(VocabularyEntry(list, position));
}

TEST(Vocabularies, HoldTheirEntryCounts) {
    EXPECT_EQ(InfoTypes().size(), 6u);
    EXPECT_EQ(ConditionTypes().size(), 53u);
    EXPECT_EQ(Folders().size(), 42u);
    EXPECT_EQ(CharacterNames().size(), 417u);
    EXPECT_EQ(CharacterStates().size(), 6u);
    EXPECT_EQ(NpcListItems().size(), 423u);
    EXPECT_EQ(Skills().size(), 100u);
}

TEST(Vocabularies, SpotEntriesAreSpelledExactly) {
    EXPECT_EQ(Utf8At(InfoTypes(), 0), "0 - Приоритет II. ConditionType=50");
    EXPECT_EQ(Utf8At(InfoTypes(), 3), "3 - Приоритет III");
    EXPECT_EQ(Utf8At(InfoTypes(), 5), "5 - Диалог второстеп. персонажей");
    EXPECT_EQ(Utf8At(ConditionTypes(), 3), "[3] Диалог");
    EXPECT_EQ(Utf8At(ConditionTypes(), 33), "[33] Ступайте в сборный пункт!");
    EXPECT_EQ(Utf8At(ConditionTypes(), 52), "[52] Назад");
    EXPECT_EQ(Utf8At(ConditionTypes(), 53), "");
    EXPECT_EQ(Utf8At(Folders(), 9), "Myrtana/Ardea_City/");
    EXPECT_EQ(Utf8At(Folders(), 41), "Varant/Outdoor/");
    EXPECT_EQ(Utf8At(CharacterNames(), 0), "Abbas");
    EXPECT_EQ(Utf8At(CharacterNames(), 330), "sh");
    EXPECT_EQ(Utf8At(CharacterNames(), 416), "Zuben");
    EXPECT_EQ(Utf8At(Skills(), 38), "Perk_Pickpocket_3");
    EXPECT_EQ(Utf8At(Skills(), 61), "Perk_Watermage");
    EXPECT_EQ(Utf8At(Skills(), 62), "Spl_AnimalForm");
    EXPECT_EQ(Utf8At(Skills(), 99), "Spl_WordOfControl");
    EXPECT_EQ(Utf8At(Skills(), -1), "");
}

TEST(Vocabularies, ConditionTypesCarryTheirOwnPosition) {
    for (int i = 0; i < 53; ++i)
        EXPECT_EQ(
            Utf8At(ConditionTypes(), i).rfind(std::string("[").append(std::to_string(i)).append("] "), 0), 0u)
            << i;
}

TEST(Vocabularies, NpcListItemsAreStatesThenNames) {
    const char* states[] = {"Жив",   "Невредим",         "Повержен",
                            "Мертв", "Говорил с героем", "Не говорил с героем"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Utf8At(NpcListItems(), i), states[i]);
    EXPECT_EQ(Utf8At(NpcListItems(), 6), "Abbas");
    EXPECT_EQ(Utf8At(NpcListItems(), 422), "Zuben");
}

TEST(VocabularyIndexOf, MatchesWholeEntriesIgnoringCaseIncludingCyrillic) {
    EXPECT_EQ(VocabularyIndexOf(NpcListItems(), Utf8ToCp1251("мертв")), 3);
    EXPECT_EQ(VocabularyIndexOf(NpcListItems(), Utf8ToCp1251("НЕ ГОВОРИЛ С ГЕРОЕМ")), 5);
    EXPECT_EQ(VocabularyIndexOf(NpcListItems(), "Abbas"), 6);
    EXPECT_EQ(VocabularyIndexOf(NpcListItems(), "abbas"), 6);
    EXPECT_EQ(VocabularyIndexOf(NpcListItems(), "Abba"), -1);
    EXPECT_EQ(VocabularyIndexOf(NpcListItems(), ""), -1);
    EXPECT_EQ(VocabularyIndexOf(Skills(), "perk_pickpocket_2"), 37);
}

TEST(VocabularyFindPrefix, TakesTheFirstEntryBeginningWithTheTextCaseRespected) {
    EXPECT_EQ(VocabularyEntry(Skills(), VocabularyFindPrefix(Skills(), "Perk_Axe")), "Perk_Axe_1");
    EXPECT_EQ(VocabularyFindPrefix(Skills(), "perk_axe_1"), -1);
    EXPECT_EQ(VocabularyEntry(CharacterNames(), VocabularyFindPrefix(CharacterNames(), "Gor")), "Goran");
    EXPECT_EQ(VocabularyFindPrefix(CharacterNames(), "Zuben_"), -1);
}

} // namespace
