// Compiling the tab's content: the checks with their boxes, the written file and the pane. Which rule
// refuses what, in which words, is the compile logic's and tested there; here a refused compile shows
// the logic's message and caption for what the tab holds, in one box.

#include "core/data/G3Infos.h"
#include "core/dialogue/InfoEditorModel.h"
#include "gui/dialogue_tab/InfoTab.h"

#include "EditorTabFixture.h"

#include <QAction>
#include <QPushButton>

namespace pwtest {
namespace {

struct InfoTabCompile : EditorTabFixture<pw::InfoTab> {
    void SetUp() override {
        workspace.configs->TmpFiles = true;
        tab.show();
        Find<pw::TextPane>("SynInfoMem")->setPlainText("previous");
    }
    void Build(const QString& name, const QString& owner) {
        Find<QLineEdit>("NameEd")->setText(name);
        Combo("OwnerCmb")->setEditText(owner);
        QTest::mouseClick(Find<QPushButton>("BuildBtn"), Qt::LeftButton);
    }
    std::string Output(const std::string& name) {
        return dir.File("_Infos/" + name + "_info_G3_World_01.info");
    }
    // The box the logic gives for model with the tab's settings, as "message / caption".
    QString LogicBox(const pw::InfoEditorModel& model) {
        const pw::CompileOutcome outcome = pw::CompileInfo(
            model, {workspace.configs->TmpFiles, workspace.programDir, workspace.configs->InfosPath});
        EXPECT_TRUE(outcome.Failed());
        return QString::fromStdString(outcome.message + " / " + outcome.caption);
    }
    static pw::InfoEditorModel Named(const std::string& name, const std::string& owner,
                                     pw::InfoEditorModel model = {}) {
        model.NameEd = name;
        model.OwnerCmb = owner;
        return model;
    }
    static pw::InfoEditorModel Loaded(const std::string& path) {
        pw::TInfo info;
        info.ReadFromFile(path);
        return pw::LoadInfoModel(info).model;
    }
    // The one box shown: its text and caption; every compile box is a warning with an OK button.
    QString OnlyBox(QWidget* owner) {
        const auto messages = dialogs.Messages();
        EXPECT_EQ(messages.size(), 1u);
        if (messages.size() != 1)
            return {};
        EXPECT_EQ(messages[0].icon, pw::MsgIcon::Warning);
        EXPECT_EQ(messages[0].owner, owner);
        return messages[0].text + " / " + messages[0].caption;
    }
};

TEST_F(InfoTabCompile, NameAndOwnerAreRequiredBeforeThePaneIsTouched) {
    Build("  ", "Abe");
    EXPECT_EQ(OnlyBox(&tab), LogicBox(Named("  ", "Abe")));
    dialogs.calls.clear();
    Build("Abc", " ");
    EXPECT_EQ(OnlyBox(&tab), LogicBox(Named("Abc", " ")));
    EXPECT_EQ(PaneText(), "previous");
    EXPECT_FALSE(Exists(dir.File("_Infos")));
}

TEST_F(InfoTabCompile, ScriptErrorEmptiesThePaneAndItsUndoAndWritesNothing) {
    const std::string file =
        WriteInfo("in.info", {"Name=Abc", "Owner=Abe", "CondItems=It_Gold"}); // items without holder
    tab.LoadInfo(file);
    auto* pane = Find<pw::TextPane>("SynInfoMem");
    pane->setReadOnly(false);
    QTest::keyClicks(pane, "typed");
    ASSERT_TRUE(pane->document()->isUndoAvailable());
    Build("Abc", "Abe");
    EXPECT_EQ(OnlyBox(&tab), LogicBox(Loaded(file)));
    EXPECT_EQ(PaneText(), "");
    EXPECT_FALSE(pane->document()->isUndoAvailable());
    EXPECT_FALSE(Exists(Output("Abc")));
}

TEST_F(InfoTabCompile, FieldThatDoesNotConvertGivesTheBoxWithoutOwner) {
    Find<QLineEdit>("GoldCostEd")->clear();
    Build("Abc", "Abe");
    pw::InfoEditorModel unfilled;
    unfilled.GoldCostEd.clear();
    EXPECT_EQ(OnlyBox(nullptr), LogicBox(Named("Abc", "Abe", unfilled)));
    EXPECT_EQ(PaneText(), "");
    EXPECT_FALSE(Exists(Output("Abc")));
}

TEST_F(InfoTabCompile, WriteFailureShowsTheWritersError) {
    workspace.configs->TmpFiles = false;
    workspace.configs->InfosPath = dir.File("no/such/folder");
    Build("Abc", "Abe");
    const QString box = OnlyBox(&tab);
    EXPECT_TRUE(box.startsWith("Cannot create file")) << box.toStdString();
    EXPECT_TRUE(box.contains("no/such/folder/Abc_info_G3_World_01.info"));
    EXPECT_EQ(PaneText(), "");
}

TEST_F(InfoTabCompile, AScratchFolderThatCannotBeMadeIsNamedInTheBox) {
    WriteBytes(dir.File("_Infos"), "a file");
    Build("Abc", "Abe");
    const QString box = OnlyBox(&tab);
    EXPECT_EQ(box, LogicBox(Named("Abc", "Abe")));
    EXPECT_TRUE(box.startsWith(QString::fromStdString("Cannot create file \"" + dir.File("_Infos") + "\". ")))
        << box.toStdString();
    EXPECT_EQ(PaneText(), "");
}

TEST_F(InfoTabCompile, WithoutAFolderForDialoguesTheBoxSaysSoWithoutAPath) {
    workspace.configs->TmpFiles = false;
    workspace.configs->InfosPath.clear();
    Build("X1", "Abe");
    EXPECT_EQ(OnlyBox(&tab), LogicBox(Named("X1", "Abe")));
    EXPECT_EQ(PaneText(), "");
}

TEST_F(InfoTabCompile, AnUnfilledRowBetweenCommandsIsRefusedAndNothingWritten) {
    const std::string file =
        WriteInfo("in.info", {"Name=Abc", "Owner=Abe", "InfoScript_Commands=Say;Say",
                              "InfoScript_Entities1=player;owner", "InfoScript_Texts=T1;T2"});
    tab.LoadInfo(file);
    auto* grid = Find<QTableWidget>("CommandList");
    grid->selectRow(0);
    Find<QAction>("N7")->trigger(); // "Добавить строку после"
    ASSERT_EQ(Rows("CommandList")[1], "<EMPTY>|||||");
    Build("Abc", "Abe");
    pw::InfoEditorModel gap = Loaded(file);
    gap.CommandList.insert(gap.CommandList.begin() + 1, {"<EMPTY>", "", "", "", "", ""});
    EXPECT_EQ(OnlyBox(&tab), LogicBox(gap));
    EXPECT_EQ(PaneText(), "");
    EXPECT_FALSE(Exists(Output("Abc")));
}

// What every field holds before anything is loaded, as the file shows it.
TEST_F(InfoTabCompile, AnUntouchedTabCompilesToTheDefaults) {
    Build("Abc", "Abe");
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(
        ReadBytes(Output("Abc")),
        "[Info]\r\nName=Abc\r\nSortID=\r\nOwner=Abe\r\nInfoGiven=False\r\nConditionType=3\r\nInfoType=3\r\n"
        "GoldCost=0\r\nFolder=Myrtana/Ardea_City/\r\nClearChildren=False\r\nPermanent=False\r\n");
    // The skill's and the attribute's numbers are written with a skill or attribute only.
    Combo("TeachSkillCmb")->setEditText("Own_Skill");
    Find<QLineEdit>("TeachAttribEd")->setText("Str");
    Build("Abc", "Abe");
    EXPECT_NE(ReadBytes(Output("Abc"))
                  .find("\r\nTeachSkillIsPerc=False\r\nTeachSkill=Own_Skill\r\nTeachSkillIndex=0\r\n"
                        "TeachSkillValue=0\r\nTeachAttrib=Str\r\nTeachAttribValue=0\r\n"),
              std::string::npos)
        << ReadBytes(Output("Abc"));
}

// A loaded dialogue comes back byte for byte, but for what was typed over it.
TEST_F(InfoTabCompile, SuccessWritesTheScratchFileAndShowsIt) {
    const std::string loaded = ReadBytes(FixturePath("Diego_Hello_info_G3_World_01.info"));
    tab.LoadInfo(FixturePath("Diego_Hello_info_G3_World_01.info"));
    Combo("FolderCmb")->setEditText("Nordmar/Outdoor/");
    Combo("ConditionTypeCmb")->setEditText("typed, no entry");
    Build("Diego_Hello", "Diego");
    EXPECT_TRUE(dialogs.calls.empty());
    std::string expected = loaded;
    expected.replace(expected.find("ConditionType=3"), 15, "ConditionType=-1");
    expected.replace(expected.find("Folder=Myrtana/Ardea_City/"), 26, "Folder=Nordmar/Outdoor/");
    const std::string written = ReadBytes(Output("Diego_Hello"));
    EXPECT_EQ(written, expected);
    EXPECT_EQ(PaneText(), QString::fromStdString(written).replace("\r\n", "\n"));
}

// Text the file's code page lacks is refused before anything is written, naming the field or the cell
// and the character; text the code page holds, Cyrillic with its signs, is written as it stands.
TEST_F(InfoTabCompile, ACharacterTheCodePageLacksIsNamedWhereverItIsAndNothingIsWritten) {
    tab.LoadInfo(FixturePath("Diego_Hello_info_G3_World_01.info"));
    const QString shown = PaneText();
    const QString notCompiled =
        "которого нет в кодировке Windows-1251. Диалог не скомпилирован: замените или "
        "удалите этот символ. / Ошибка";
    Find<QLineEdit>("CondPlayerKnowsEd")->setText("Ev_Też");
    Build("Diego_Hello", "Diego");
    EXPECT_EQ(OnlyBox(&tab), "В поле «Необходимое условие» есть символ «ż» (U+017C), " + notCompiled);
    Find<QLineEdit>("CondPlayerKnowsEd")->setText("Ev_Met");

    Find<QTableWidget>("CommandList")->item(2, 3)->setText("It_Gold😀");
    dialogs.calls.clear();
    Build("Diego_Hello", "Diego");
    EXPECT_EQ(OnlyBox(&tab), "В столбце «Параметр IDs1» строки 3 есть символ «😀» (U+1F600), " + notCompiled);
    Find<QTableWidget>("CommandList")->item(2, 3)->setText("It_Gold");

    Find<QTableWidget>("NpcList")->item(1, 0)->setText("Lęe");
    dialogs.calls.clear();
    Build("Diego_Hello", "Diego");
    EXPECT_EQ(OnlyBox(&tab),
              "В столбце «Следующий персонаж» строки 2 есть символ «ę» (U+0119), " + notCompiled);
    EXPECT_EQ(PaneText(), shown);
    EXPECT_FALSE(Exists(dir.File("_Infos")));

    Find<QTableWidget>("NpcList")->item(1, 0)->setText("Lee");
    Find<QLineEdit>("CondOwnerNearEntityEd")->setText("Ёж № 1 — «да»");
    dialogs.calls.clear();
    Build("Diego_Hello", "Diego");
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_NE(ReadBytes(Output("Diego_Hello")).find(Ansi("\r\nCondOwnerNearEntity=Ёж № 1 — «да»\r\n")),
              std::string::npos);
}

// The skill's value and the attribute's share their label on the form; a message tells them apart by the
// key each is written to.
TEST_F(InfoTabCompile, TheTwoFieldsLabelledValueOfSkillAreNamedByTheirKeys) {
    const QString notCompiled = "есть символ «ż» (U+017C), которого нет в кодировке Windows-1251. Диалог не "
                                "скомпилирован: замените или удалите этот символ. / Ошибка";
    Find<QLineEdit>("TeachAttribValueEd")->setText("5ż");
    Build("Diego_Hello", "Diego");
    EXPECT_EQ(OnlyBox(&tab), "В поле «Значение навыка (TeachAttribValue)» " + notCompiled);

    Find<QLineEdit>("TeachAttribValueEd")->setText("5");
    Find<QLineEdit>("TeachSkillValueEd")->setText("5ż");
    dialogs.calls.clear();
    Build("Diego_Hello", "Diego");
    EXPECT_EQ(OnlyBox(&tab), "В поле «Значение навыка (TeachSkillValue)» " + notCompiled);
}

} // namespace
} // namespace pwtest
