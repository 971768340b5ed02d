// Loading a .info file into the tab: the fields, the three lists, the raw text and the notices.

#include "InfoTabFixture.h"

#include "text_pane/TextPane.h"

namespace pwtest {
namespace {

using pw::MsgIcon;

struct InfoTabLoad : InfoTabFixture {
    QString PaneText() { return Find<pw::TextPane>("SynInfoMem")->toPlainText(); }
};

TEST_F(InfoTabLoad, RealisticFileFillsFieldsListsAndPane) {
    const std::string path =
        WriteInfo("Lester_Braga_Meeting_info_G3_World_01.info", {"Name=Lester_Braga_Meeting",
                                                                 "SortID=",
                                                                 "Owner=Lester",
                                                                 "Quest=Braga_Quest",
                                                                 "InfoGiven=True",
                                                                 "ConditionType=5",
                                                                 "InfoType=1",
                                                                 "GoldCost=25",
                                                                 "Folder=Varant/Braga/",
                                                                 "CondPlayerKnows=SentToVarant",
                                                                 "CondOwnerNearEntity=Braga_Gate",
                                                                 "Parent=Lester_Hello",
                                                                 "CondItemContainer=Lester",
                                                                 "CondItems=It_Gold;It_Map",
                                                                 "CondItemAmounts=100;1",
                                                                 "CondSecondaryNPC=Diego;Gorn;Milten",
                                                                 "CondSecondaryNPCstates=0;3;5",
                                                                 "TeachSkill=Perk_Axe",
                                                                 "TeachSkillIsPerc=False",
                                                                 "TeachSkillIndex=2",
                                                                 "TeachSkillValue=7",
                                                                 "TeachAttrib=Str",
                                                                 "TeachAttribValue=5",
                                                                 "ClearChildren=True",
                                                                 "Permanent=False",
                                                                 "InfoScript_Commands=Say;GiveXP;End",
                                                                 "InfoScript_Entities1=owner;;",
                                                                 "InfoScript_Entities2=;;",
                                                                 "InfoScript_IDs1=;100;",
                                                                 "InfoScript_IDs2=;;",
                                                                 "InfoScript_Texts=Lester_01;;"});
    tab.LoadInfo(path);

    EXPECT_TRUE(dialogs.calls.empty());
    const std::pair<const char*, const char*> fields[] = {
        {"NameEd", "Lester_Braga_Meeting"},
        {"SortIdEd", "-1"},
        {"OwnerCmb", "Lester"},
        {"QuestEd", "Braga_Quest"},
        {"ConditionTypeCmb", "[5] Квест открыт"},
        {"InfoTypeCmb", "1 - Приоритет I"},
        {"InfoGivenEd", "True"},
        {"ParentEd", "Lester_Hello"},
        {"GoldCostEd", "25"},
        {"CondOwnerNearEntityEd", "Braga_Gate"},
        {"FolderCmb", "Varant/Braga/"},
        {"CondPlayerKnowsEd", "SentToVarant"},
        {"CondItemContainerCmb", "Lester"},
        {"TeachSkillCmb", "Perk_Axe_1"},
        {"TeachSkillIsPercEd", "False"},
        {"TeachSkillIndexEd", "2"},
        {"TeachSkillValueEd", "7"},
        {"TeachAttribEd", "Str"},
        {"TeachAttribValueEd", "5"},
        {"ClearChildrenEd", "True"},
        {"PermanentEd", "False"},
    };
    for (const auto& [name, text] : fields)
        EXPECT_EQ(Text(name), QString::fromUtf8(text)) << name;
    EXPECT_EQ(Combo("TeachSkillCmb")->currentIndex(), 5); // the whole entry is selected

    EXPECT_EQ(Rows("ItemsList"), (std::vector<QString>{"It_Gold|100", "It_Map|1"}));
    EXPECT_EQ(Rows("NpcList"),
              (std::vector<QString>{"Diego|Жив", "Gorn|Мертв", "Milten|Не говорил с героем"}));
    EXPECT_EQ(Rows("CommandList"),
              (std::vector<QString>{"Say|owner||||Lester_01", "GiveXP|||100||", "End|||||"}));
    EXPECT_EQ(PaneText(), QString::fromUtf8(pw::Cp1251ToUtf8(ReadBytes(path))).replace("\r\n", "\n"));
}

TEST_F(InfoTabLoad, CyrillicTextsAreShownDecoded) {
    tab.LoadInfo(WriteInfo("a.info", {"Name=Диалог", "Owner=Торговец", "Quest=Квест_1"}));
    EXPECT_EQ(Text("NameEd"), "Диалог");
    EXPECT_EQ(Text("OwnerCmb"), "Торговец");
    EXPECT_EQ(Combo("OwnerCmb")->currentIndex(), -1); // not one of the names, shown as typed
    EXPECT_TRUE(PaneText().contains("Name=Диалог"));
}

TEST_F(InfoTabLoad, ALoadReplacesEverythingTheEditorHeld) {
    tab.LoadInfo(WriteInfo("a.info", {"Name=First", "Owner=Abe", "CondItems=A;B", "CondItemAmounts=1;2",
                                      "InfoScript_Commands=Say;End", "TeachSkill=Spl_Fear"}));
    tab.LoadInfo(WriteInfo("b.info", {"Name=Second", "ConditionType=53", "InfoType=-1"}));
    EXPECT_EQ(Text("NameEd"), "Second");
    EXPECT_EQ(Text("OwnerCmb"), "");
    EXPECT_EQ(Text("TeachSkillCmb"), "");
    EXPECT_TRUE(Rows("ItemsList").empty());
    EXPECT_EQ(Rows("CommandList"), std::vector<QString>{"|||||"}); // no InfoScript: one empty row
    EXPECT_EQ(Combo("ConditionTypeCmb")->currentIndex(), -1);      // no entry at 53
    EXPECT_EQ(Text("ConditionTypeCmb"), "");
    EXPECT_EQ(Combo("InfoTypeCmb")->currentIndex(), -1);
}

TEST_F(InfoTabLoad, NamesMissingFromTheListsAreNoticedInOrderAndLoadingGoesOn) {
    tab.show();
    tab.LoadInfo(WriteInfo("a.info", {"Name=N", "TeachSkill=perk_axe_1", "CondItemContainer=Nobody",
                                      "CondSecondaryNPC=Diego;Gorn;Lee", "CondSecondaryNPCstates=0;Abc;7z"}));
    const auto messages = dialogs.Messages();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0].text, "Навык perk_axe_1 отсутствует в базе.");
    EXPECT_EQ(messages[1].text, "Персонаж Nobody отсутствует в базе.");
    for (int i : {0, 1}) {
        EXPECT_EQ(messages[i].caption, "Внимание");
        EXPECT_EQ(messages[i].icon, MsgIcon::None);
    }
    for (int i : {2, 3}) {
        EXPECT_EQ(messages[i].text, "Грубая ошибка в списке персонажей");
        EXPECT_EQ(messages[i].caption, "Редактор диалогов");
        EXPECT_EQ(messages[i].icon, MsgIcon::Error);
    }
    for (const auto& message : messages) {
        EXPECT_EQ(message.owner, tab.window());
        EXPECT_EQ(message.buttons, pw::MsgButtons::Ok);
    }
    EXPECT_EQ(Text("TeachSkillCmb"), "perk_axe_1");
    EXPECT_EQ(Text("CondItemContainerCmb"), "Nobody");
    EXPECT_EQ(Rows("NpcList"), (std::vector<QString>{"Diego|Жив", "Gorn|", "Lee|"}));
    EXPECT_TRUE(PaneText().startsWith("[Info]"));
}

TEST_F(InfoTabLoad, UnreadablePathIsReportedAndLeavesTheTabAsItWas) {
    tab.LoadInfo(WriteInfo("good.info", {"Name=Kept", "Owner=Abe", "InfoScript_Commands=End"}));
    const QString paneBefore = PaneText();

    for (const std::string& path : {dir.File("missing.info"), dir.Path()}) {
        dialogs.calls.clear();
        tab.LoadInfo(path);
        const auto messages = dialogs.Messages();
        ASSERT_EQ(messages.size(), 1u) << path;
        EXPECT_EQ(messages[0].text, "Не удалось открыть файл " + QString::fromStdString(path));
        EXPECT_EQ(messages[0].caption, "Ошибка");
        EXPECT_EQ(messages[0].icon, MsgIcon::Error);
        EXPECT_EQ(messages[0].owner, tab.window());
        EXPECT_EQ(Text("NameEd"), "Kept");
        EXPECT_EQ(Rows("CommandList"), std::vector<QString>{"End|||||"});
        EXPECT_EQ(PaneText(), paneBefore);
    }
}

} // namespace
} // namespace pwtest
