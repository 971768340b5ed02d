// Loading a .info file into the tab: the fields, the three lists, the raw text and the notices.

#include "core/data/G3Infos.h"
#include "core/data/ReadReport.h"
#include "core/dialogue/InfoEditorModel.h"
#include "gui/dialogue_tab/InfoTab.h"

#include "EditorTabFixture.h"

#include <QTextBlock>
#include <QTextLayout>

namespace pwtest {
namespace {

using InfoTabLoad = EditorTabFixture<pw::InfoTab>;

TEST_F(InfoTabLoad, RealisticFileFillsFieldsListsAndPane) {
    const std::string path = FixturePath("Diego_Hello_info_G3_World_01.info");
    tab.LoadInfo(path);

    EXPECT_TRUE(dialogs.calls.empty());
    const std::pair<const char*, const char*> fields[] = {
        {"NameEd", "Diego_Hello"},
        {"SortIdEd", "-1"},
        {"OwnerCmb", "Diego"},
        {"QuestEd", "Q_Diego"},
        {"InfoGivenEd", "False"},
        {"ParentEd", "Diego_Start"},
        {"GoldCostEd", "50"},
        {"CondOwnerNearEntityEd", "Zone_Ardea"},
        {"FolderCmb", "Myrtana/Ardea_City/"},
        {"CondPlayerKnowsEd", "Ev_Met"},
        {"CondItemContainerCmb", "Diego"},
        {"TeachSkillCmb", "Perk_Axe_1"},
        {"TeachSkillIsPercEd", "True"},
        {"TeachSkillIndexEd", "2"},
        {"TeachSkillValueEd", "1"},
        {"TeachAttribEd", "Str"},
        {"TeachAttribValueEd", "5"},
        {"ClearChildrenEd", "False"},
        {"PermanentEd", "True"},
    };
    for (const auto& [name, text] : fields)
        EXPECT_EQ(Text(name), QString::fromUtf8(text)) << name;
    EXPECT_EQ(Combo("ConditionTypeCmb")->currentIndex(), 3);
    EXPECT_EQ(Combo("InfoTypeCmb")->currentIndex(), 4);

    EXPECT_EQ(Rows("ItemsList"), (std::vector<QString>{"It_Gold|100", "It_Apple|2"}));
    EXPECT_EQ(Rows("NpcList"), (std::vector<QString>{"Gorn|Жив", "Lee|Мертв", "Abe|Не говорил с героем"}));
    EXPECT_EQ(Rows("CommandList"),
              (std::vector<QString>{"Say|player||||T_01", "Say|npc||||T_02", "Give|npc|player|It_Gold|100|",
                                    "SetGameEvent|||Ev_Diego||", "End|||||"}));
    const QString file = QString::fromStdString(pw::Cp1251ToUtf8(ReadBytes(path))).replace("\r\n", "\n");
    EXPECT_EQ(PaneText(), file);
    // The pane shows the file coloured (its section line set apart) and takes no typing.
    EXPECT_FALSE(Pane()->document()->firstBlock().layout()->formats().isEmpty());
    QTest::keyClicks(Pane(), "typed");
    EXPECT_EQ(PaneText(), file);
}

TEST_F(InfoTabLoad, ALoadReplacesEverythingTheEditorHeld) {
    tab.LoadInfo(WriteInfo("a.info", {"Name=First", "Owner=Abe", "CondItems=A;B",
                                      "InfoScript_Commands=Say;End", "TeachSkill=Spl_Fear"}));
    tab.LoadInfo(WriteInfo("b.info", {"Name=Second", "ConditionType=53", "InfoType=-1"}));
    EXPECT_EQ(Text("OwnerCmb"), "");
    EXPECT_EQ(Text("TeachSkillCmb"), "");
    EXPECT_TRUE(Rows("ItemsList").empty());
    EXPECT_EQ(Rows("CommandList"), std::vector<QString>{"|||||"}); // no InfoScript: one empty row
    EXPECT_EQ(Combo("ConditionTypeCmb")->currentIndex(), -1);      // no entry at 53
    EXPECT_EQ(Text("ConditionTypeCmb"), "");
    EXPECT_EQ(Combo("InfoTypeCmb")->currentIndex(), -1);
}

TEST_F(InfoTabLoad, NamesMissingFromTheListsAreNoticedInOrderAndLoadingGoesOn) {
    const std::string file =
        WriteInfo("a.info", {"Name=N", "TeachSkill=perk_axe_1", "CondItemContainer=Nobody",
                             "CondSecondaryNPC=Diego;Gorn;Lee", "CondSecondaryNPCstates=0;Abc;7z"});
    tab.LoadInfo(file);
    // The notices, their words and their order are the load logic's (tested there); the tab shows
    // each in a box of its own, an error with the error icon, all owned by the window.
    pw::TInfo info;
    info.ReadFromFile(file);
    QStringList expected;
    std::vector<pw::MsgIcon> icons;
    for (const pw::LoadNotice& notice : pw::LoadInfoModel(info).notices) {
        expected << QString::fromStdString(notice.text + " / " + notice.caption);
        icons.push_back(notice.icon == pw::NoticeIcon::Error ? pw::MsgIcon::Error : pw::MsgIcon::None);
    }
    ASSERT_EQ(expected.size(), 4); // two names missing from the lists, two bad states
    QStringList shown;
    std::vector<pw::MsgIcon> shownIcons;
    for (const auto& message : dialogs.Messages()) {
        shown << message.text + " / " + message.caption;
        shownIcons.push_back(message.icon);
        EXPECT_EQ(message.owner, &tab);
    }
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(shownIcons, icons);
    EXPECT_EQ(Text("TeachSkillCmb"), "perk_axe_1");
    EXPECT_EQ(Text("CondItemContainerCmb"), "Nobody");
    EXPECT_EQ(Rows("NpcList"), (std::vector<QString>{"Diego|Жив", "Gorn|", "Lee|"}));
    EXPECT_TRUE(PaneText().startsWith("[Info]"));
}

TEST_F(InfoTabLoad, UnreadablePathIsReportedAndLeavesTheTabAsItWas) {
    tab.LoadInfo(WriteInfo("good.info", {"Name=Kept", "InfoScript_Commands=End"}));
    const QString paneBefore = PaneText();
    for (const std::string& path : {dir.File("missing.info"), dir.Path()}) {
        dialogs.calls.clear();
        tab.LoadInfo(path);
        ASSERT_EQ(dialogs.Messages().size(), 1u) << path;
        const auto box = dialogs.Messages()[0];
        EXPECT_EQ(box.text, "Не удалось открыть файл " + QString::fromStdString(path));
        EXPECT_EQ(box.caption, "Ошибка");
        EXPECT_EQ(box.owner, &tab);
        EXPECT_EQ(Text("NameEd"), "Kept");
        EXPECT_EQ(Rows("CommandList"), std::vector<QString>{"End|||||"});
        EXPECT_EQ(PaneText(), paneBefore);
    }
}

TEST_F(InfoTabLoad, AFileThatIsNoDialogueIsRefusedWithItsReasonAndTheFormStaysAsTyped) {
    tab.LoadInfo(WriteInfo("good.info", {"Name=Kept", "InfoScript_Commands=End"}));
    auto* name = Find<QLineEdit>("NameEd");
    name->setFocus();
    name->end(false);
    QTest::keyClicks(name, "_edited");
    const QString paneBefore = PaneText();
    using namespace std::string_literals;
    const std::pair<const char*, std::string> files[] = {
        {"empty.info", ""},
        {"binary.info", "\x7F\x45LF\0\0\x01Name=X"s},
        {"wide.info", "\xFF\xFE[\0I\0n\0f\0o\0]\0"s},
        {"marked.info", "\xEF\xBB\xBF[Info]\r\nName=X\r\n"},
        {"quest.info", "[Quest]\r\nName=X\r\n"},
    };
    for (const auto& [file, bytes] : files) {
        const std::string path = dir.File(file);
        WriteBytes(path, bytes);
        pw::TInfo info;
        pw::RecordReadReport report;
        info.ReadFromFile(path, &report);
        ASSERT_FALSE(report.notRecord.empty()) << file;
        dialogs.calls.clear();
        tab.LoadInfo(path);
        ASSERT_EQ(dialogs.Messages().size(), 1u) << file;
        const auto box = dialogs.Messages()[0];
        EXPECT_EQ(box.text, QString::fromStdString(report.notRecord + "\r\n" + path));
        EXPECT_EQ(box.caption, "Ошибка");
        EXPECT_EQ(box.icon, pw::MsgIcon::Error);
        EXPECT_EQ(box.owner, &tab);
        EXPECT_EQ(Text("NameEd"), "Kept_edited") << file;
        EXPECT_EQ(Rows("CommandList"), std::vector<QString>{"End|||||"});
        EXPECT_EQ(PaneText(), paneBefore);
    }
}

} // namespace
} // namespace pwtest
