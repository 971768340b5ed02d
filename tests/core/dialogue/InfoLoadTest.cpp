#include "core/data/Cp1251.h"
#include "core/dialogue/InfoEditorModel.h"

#include <gtest/gtest.h>

namespace {

using namespace pw;
using Strings = std::vector<std::string>;

struct SplitCase {
    const char* text;
    Strings elements;
};

class SplitElementsCase : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitElementsCase, CutsAtSeparatorsAndBlanks) {
    EXPECT_EQ(SplitElements(GetParam().text), GetParam().elements);
}

INSTANTIATE_TEST_SUITE_P(Texts, SplitElementsCase,
                         testing::Values(SplitCase{"", {}}, SplitCase{"  \t", {}}, SplitCase{"A", {"A"}},
                                         SplitCase{"A;B", {"A", "B"}}, SplitCase{"A;;B", {"A", "", "B"}},
                                         SplitCase{"A;", {"A", ""}}, SplitCase{";A", {"", "A"}},
                                         SplitCase{" A ; B ", {"A", "B"}},
                                         SplitCase{"A B;C", {"A", "B", "C"}}, SplitCase{";", {"", ""}},
                                         SplitCase{"A; ", {"A"}}, SplitCase{";;", {"", "", ""}}));

std::vector<std::string> Texts(const std::vector<LoadNotice>& notices) {
    std::vector<std::string> out;
    for (const LoadNotice& n : notices)
        out.push_back(n.text + " | " + n.caption + (n.icon == NoticeIcon::Error ? " | error" : ""));
    return out;
}

std::vector<ConditionRow> NpcRows(const std::string& npcs, const std::string& states,
                                  std::vector<LoadNotice>* notices = nullptr) {
    TInfo info;
    info.CondSecondaryNPC = npcs;
    info.CondSecondaryNPCstates = Utf8ToCp1251(states);
    LoadedInfo loaded = LoadInfoModel(info);
    if (notices)
        *notices = loaded.notices;
    for (ConditionRow& row : loaded.model.NpcList)
        row[1] = Cp1251ToUtf8(row[1]);
    return loaded.model.NpcList;
}

TEST(LoadInfoModel, FieldsBecomeTheirControlsTexts) {
    TInfo info;
    info.Name = "Abc";
    info.Owner = "Diego";
    info.Quest = "Q";
    info.SortID = -1;
    info.ConditionType = 52;
    info.InfoType = 0;
    info.InfoGiven = true;
    info.GoldCost = -5;
    info.Folder = "Own/Folder/";
    info.TeachSkillIndex = 7;
    info.TeachAttrib = "Str";
    info.TeachAttribValue = 3;
    info.Permanent = true;
    const InfoEditorModel m = LoadInfoModel(info).model;
    EXPECT_EQ(m.NameEd, "Abc");
    EXPECT_EQ(m.OwnerCmb, "Diego");
    EXPECT_EQ(m.QuestEd, "Q");
    EXPECT_EQ(m.SortIdEd, "-1");
    EXPECT_EQ(m.ConditionTypeIndex, 52);
    EXPECT_EQ(m.InfoTypeIndex, 0);
    EXPECT_EQ(m.InfoGivenEd, "True");
    EXPECT_EQ(m.ClearChildrenEd, "False");
    EXPECT_EQ(m.PermanentEd, "True");
    EXPECT_EQ(m.GoldCostEd, "-5");
    EXPECT_EQ(m.FolderCmb, "Own/Folder/");
    EXPECT_EQ(m.TeachSkillIndexEd, "7");
    EXPECT_EQ(m.TeachAttribEd, "Str");
    EXPECT_EQ(m.TeachAttribValueEd, "3");
    EXPECT_EQ(m.TeachSkillCmb, "");
    EXPECT_EQ(m.CondItemContainerCmb, "");
}

TEST(LoadInfoModel, PositionsWithoutAnEntryLeaveNoSelection) {
    TInfo info;
    info.ConditionType = 53;
    info.InfoType = -1;
    const InfoEditorModel m = LoadInfoModel(info).model;
    EXPECT_EQ(m.ConditionTypeIndex, -1);
    EXPECT_EQ(m.InfoTypeIndex, -1);
    info.InfoType = 6;
    EXPECT_EQ(LoadInfoModel(info).model.InfoTypeIndex, -1);
}

TEST(LoadInfoModel, SkillAndHolderAreLookedUpByTheirBeginning) {
    TInfo info;
    info.TeachSkill = "Perk_Axe";
    info.CondItemContainer = "Gor";
    LoadedInfo loaded = LoadInfoModel(info);
    EXPECT_EQ(loaded.model.TeachSkillCmb, "Perk_Axe_1");
    EXPECT_EQ(loaded.model.CondItemContainerCmb, "Goran");
    EXPECT_TRUE(loaded.notices.empty());
}

TEST(LoadInfoModel, UnknownSkillAndHolderStayAsTypedWithNoticesSkillFirst) {
    TInfo info;
    info.TeachSkill = "perk_axe_1";
    info.CondItemContainer = Utf8ToCp1251("Хорхе");
    LoadedInfo loaded = LoadInfoModel(info);
    EXPECT_EQ(loaded.model.TeachSkillCmb, "perk_axe_1");
    EXPECT_EQ(Cp1251ToUtf8(loaded.model.CondItemContainerCmb), "Хорхе");
    EXPECT_EQ(Texts(loaded.notices), (Strings{"Навык perk_axe_1 отсутствует в базе. | Внимание",
                                              "Персонаж Хорхе отсутствует в базе. | Внимание"}));
}

TEST(LoadInfoModel, CommandRowsTakeTheKthElementOfEachScriptList) {
    struct Case {
        const char* name;
        const char* commands;
        const char* entities1;
        const char* texts;
        std::vector<CommandRow> rows;
    };
    const Case cases[] = {
        {"NoScriptGivesOneEmptyRow", "", "", "", {CommandRow{}}},
        {"ShorterListsLeaveCellsEmpty",
         "Say;Say;End",
         "",
         "T1;T2",
         {{"Say", "", "", "", "", "T1"}, {"Say", "", "", "", "", "T2"}, {"End", "", "", "", "", ""}}},
        {"AFinalSeparatorGivesAnEmptyRow",
         "Say;End;",
         "",
         "",
         {{"Say", "", "", "", "", ""}, {"End", "", "", "", "", ""}, CommandRow{}}},
        {"OneRowIsTakenUnsplit", "Say", " player ", "T 1", {{"Say", " player ", "", "", "", "T 1"}}},
        {"BlanksAfterALastSeparatorStillGiveItsRow",
         "Say",
         "",
         "T1; ",
         {{"Say", "", "", "", "", "T1"}, CommandRow{}}},
        {"ElementsSplitByBlanksGetRowsOfTheirOwn",
         "Say;End",
         "",
         "T 1;T2",
         {{"Say", "", "", "", "", "T"}, {"End", "", "", "", "", "1"}, {"", "", "", "", "", "T2"}}},
    };
    for (const Case& c : cases) {
        TInfo info;
        info.InfoScript_Commands = c.commands;
        info.InfoScript_Entities1 = c.entities1;
        info.InfoScript_Texts = c.texts;
        EXPECT_EQ(LoadInfoModel(info).model.CommandList, c.rows) << c.name;
    }
}

TEST(LoadInfoModel, ItemRows) {
    TInfo info;
    EXPECT_TRUE(LoadInfoModel(info).model.ItemsList.empty());
    info.CondItems = "A";
    EXPECT_EQ(LoadInfoModel(info).model.ItemsList, (std::vector<ConditionRow>{{"A", ""}}));
    info.CondItems = "A;B;C";
    info.CondItemAmounts = "1;2";
    EXPECT_EQ(LoadInfoModel(info).model.ItemsList,
              (std::vector<ConditionRow>{{"A", "1"}, {"B", "2"}, {"C", ""}}));
}

TEST(LoadInfoModel, StateNumbersShowAsStateWords) {
    EXPECT_EQ(NpcRows("Diego;Gorn", "0;3"), (std::vector<ConditionRow>{{"Diego", "Жив"}, {"Gorn", "Мертв"}}));
    EXPECT_EQ(NpcRows("Diego;Gorn", "0;-1"), (std::vector<ConditionRow>{{"Diego", "Жив"}, {"Gorn", ""}}));
    EXPECT_EQ(NpcRows("Diego;Gorn", "$5;6"),
              (std::vector<ConditionRow>{{"Diego", "Не говорил с героем"}, {"Gorn", ""}}));
    EXPECT_EQ(NpcRows("Diego", "2"), (std::vector<ConditionRow>{{"Diego", "Повержен"}}));
    EXPECT_EQ(NpcRows("Diego", "Жив"), (std::vector<ConditionRow>{{"Diego", "Жив"}}));
    // One row: a larger number names the character at that position.
    EXPECT_EQ(NpcRows("Diego", "6"), (std::vector<ConditionRow>{{"Diego", "Abbas"}}));
    EXPECT_EQ(NpcRows("Diego", "9999"), (std::vector<ConditionRow>{{"Diego", ""}}));
    EXPECT_TRUE(NpcRows("", "").empty());
}

TEST(LoadInfoModel, EachUnreadableStateElementRaisesAnErrorNotice) {
    std::vector<LoadNotice> notices;
    EXPECT_EQ(NpcRows("Diego;Gorn;Lee", "0;Abc;x", &notices),
              (std::vector<ConditionRow>{{"Diego", "Жив"}, {"Gorn", ""}, {"Lee", ""}}));
    EXPECT_EQ(Texts(notices), (Strings{"Грубая ошибка в списке персонажей | Редактор диалогов | error",
                                       "Грубая ошибка в списке персонажей | Редактор диалогов | error"}));
    // An empty element is still an element; a row that the state list has no element for is not.
    NpcRows("Diego;Gorn", "0;", &notices);
    EXPECT_EQ(notices.size(), 1u);
    EXPECT_EQ(NpcRows("Diego;Gorn;Lee", "0;3", &notices),
              (std::vector<ConditionRow>{{"Diego", "Жив"}, {"Gorn", "Мертв"}, {"Lee", ""}}));
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(NpcRows("Diego;Gorn", "", &notices), (std::vector<ConditionRow>{{"Diego", ""}, {"Gorn", ""}}));
    EXPECT_TRUE(notices.empty());
}

// A check of a library loads every file into the storage of the one before: each load must give what
// loading that file alone gives, whatever came before it.
TEST(LoadInfoModel, LoadingIntoAnEarlierFilesStorageGivesAFreshLoad) {
    std::vector<TInfo> infos(5);
    infos[0].Name = "A_Dialogue_With_A_Long_Name";
    infos[0].TeachSkill = "NoSuchSkill";
    infos[0].InfoScript_Commands = "Say;Say;Say;GiveItem;End";
    infos[0].InfoScript_Entities1 = "owner;player;owner;player";
    infos[0].InfoScript_Texts = "A_Long_Text_Id_0;A_Long_Text_Id_1 Split;A_Long_Text_Id_2";
    infos[0].CondItems = "It_Apple;It_Sword;It_Ring";
    infos[0].CondItemAmounts = "1;2";
    infos[0].CondSecondaryNPC = "Diego;Gorn;Lee";
    infos[0].CondSecondaryNPCstates = "0;x;3";
    infos[1].InfoScript_Commands = "Say"; // one row, taken unsplit
    infos[1].InfoScript_Texts = " T 1 ";
    infos[2].InfoScript_Commands = "Say;End; "; // fewer elements than the separators announce
    infos[2].CondSecondaryNPC = "Diego";
    infos[2].CondSecondaryNPCstates = "2";
    infos[4].InfoScript_Texts = "A;B;C;D;E;F;G;H"; // more rows than any file before
    for (const bool backwards : {false, true}) {
        LoadedInfo reused;
        for (std::size_t i = 0; i < infos.size(); ++i) {
            const TInfo& info = infos[backwards ? infos.size() - 1 - i : i];
            LoadInfoModel(info, reused);
            const LoadedInfo fresh = LoadInfoModel(info);
            EXPECT_TRUE(reused.model == fresh.model) << i << (backwards ? " backwards" : "");
            EXPECT_EQ(Texts(reused.notices), Texts(fresh.notices)) << i;
        }
    }
}

TEST(MisalignedScriptWarning, EmptyListsDoNotCountAndEqualCountsPass) {
    TInfo info;
    EXPECT_EQ(MisalignedScriptWarning(info).text, "");
    info.InfoScript_Commands = "Say;End";
    info.InfoScript_Texts = "T1;";
    EXPECT_EQ(MisalignedScriptWarning(info).text, "") << "lists left empty are not compared";
    info.InfoScript_IDs2 = ";;";
    const ScriptListsWarning warning = MisalignedScriptWarning(info);
    EXPECT_EQ(warning.text,
              "Списки инфоскрипта содержат разное число разделителей \";\" (InfoScript_Commands 1, "
              "InfoScript_IDs2 2, InfoScript_Texts 1): команды и их аргументы не совпадают по строкам.");
    EXPECT_EQ(warning.key, "InfoScript_IDs2"); // the first list that differs from the commands
}

} // namespace
