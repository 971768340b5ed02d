// Compiling the tab's content: the checks with their boxes, the written file and the pane.

#include "InfoTabFixture.h"

#include "data/FileIO.h"
#include "text_pane/TextPane.h"

#include <QPushButton>
#include <QTest>

namespace pwtest {
namespace {

using pw::MsgIcon;

struct InfoTabCompile : InfoTabFixture {
    void SetUp() override {
        workspace.configs->TmpFiles = true;
        tab.show();
    }
    pw::TextPane* Pane() { return Find<pw::TextPane>("SynInfoMem"); }
    void Build() { QTest::mouseClick(Find<QPushButton>("BuildBtn"), Qt::LeftButton); }
    void SetText(const char* name, const QString& text) {
        if (auto* box = tab.findChild<QComboBox*>(QLatin1String(name)))
            box->setEditText(text);
        else
            Edit(name)->setText(text);
    }
    std::string Output(const std::string& name) {
        return dir.File("_Infos/" + name + "_info_G3_World_01.info");
    }
    // The one message shown, checked for a warning box with an OK button.
    ScriptedDialogs::Call OnlyWarning() {
        const auto messages = dialogs.Messages();
        EXPECT_EQ(messages.size(), 1u);
        if (messages.empty())
            return {};
        EXPECT_EQ(messages[0].icon, MsgIcon::Warning);
        EXPECT_EQ(messages[0].buttons, pw::MsgButtons::Ok);
        return messages[0];
    }
};

TEST_F(InfoTabCompile, NameAndOwnerAreRequiredBeforeThePaneIsTouched) {
    Pane()->setPlainText("previous");
    SetText("NameEd", "  ");
    SetText("OwnerCmb", "Abe");
    Build();
    auto box = OnlyWarning();
    EXPECT_EQ(box.text, "Не задано имя диалога!");
    EXPECT_EQ(box.caption, "Ошибка");
    EXPECT_EQ(box.owner, tab.window());
    EXPECT_EQ(Pane()->toPlainText(), "previous");

    dialogs.calls.clear();
    SetText("NameEd", "Abc");
    SetText("OwnerCmb", " ");
    Build();
    box = OnlyWarning();
    EXPECT_EQ(box.text, "Не указан владелец диалога!");
    EXPECT_EQ(box.caption, "Ошибка");
    EXPECT_EQ(box.owner, tab.window());
    EXPECT_EQ(Pane()->toPlainText(), "previous");
    EXPECT_FALSE(Exists(dir.File("_Infos")));
}

TEST_F(InfoTabCompile, NameWithAPathSeparatorIsRefused) {
    SetText("NameEd", "../Evil");
    SetText("OwnerCmb", "Abe");
    Build();
    const auto box = OnlyWarning();
    EXPECT_EQ(box.caption, "Ошибка");
    EXPECT_TRUE(box.text.contains("/"));
    EXPECT_FALSE(Exists(dir.File("Evil_info_G3_World_01.info")));
}

TEST_F(InfoTabCompile, ScriptErrorEmptiesThePaneAndWritesNothing) {
    tab.LoadInfo(WriteInfo("in.info", {"Name=Abc", "Owner=Abe", "InfoScript_Commands=Say",
                                       "InfoScript_Entities1=hero", "InfoScript_Texts=T1"}));
    ASSERT_FALSE(Pane()->toPlainText().isEmpty());
    Build();
    const auto box = OnlyWarning();
    EXPECT_EQ(box.caption, "Грубая ошибка в инфоскрипте");
    EXPECT_FALSE(box.text.isEmpty());
    EXPECT_EQ(box.owner, tab.window());
    EXPECT_TRUE(Pane()->toPlainText().isEmpty());
    EXPECT_FALSE(Pane()->document()->isUndoAvailable());
    EXPECT_FALSE(Exists(Output("Abc")));
}

TEST_F(InfoTabCompile, FieldThatDoesNotConvertGivesTheBoxWithoutOwner) {
    SetText("NameEd", "Abc");
    SetText("OwnerCmb", "Abe");
    SetText("GoldCostEd", "");
    Pane()->setPlainText("previous");
    Build();
    const auto box = OnlyWarning();
    EXPECT_EQ(box.text, "Пожалуйста, заполните все поля!");
    EXPECT_EQ(box.caption, "Ошибка");
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_TRUE(Pane()->toPlainText().isEmpty());
    EXPECT_FALSE(Exists(Output("Abc")));
}

TEST_F(InfoTabCompile, SuccessWritesTheScratchFileAndShowsIt) {
    tab.LoadInfo(WriteInfo("in.info", {"Name=Lester_Meeting", "Owner=Lester", "ConditionType=5", "InfoType=1",
                                       "CondSecondaryNPC=Diego;Gorn", "CondSecondaryNPCstates=0;3",
                                       "InfoScript_Commands=Say;End", "InfoScript_Entities1=owner;",
                                       "InfoScript_Texts=Lester_01;", "TeachSkill=Spl_Fear"}));
    SetText("FolderCmb", "Nordmar/Outdoor/");
    SetText("ConditionTypeCmb", "typed, no entry");
    Build();
    EXPECT_TRUE(dialogs.calls.empty());
    const std::string path = Output("Lester_Meeting");
    ASSERT_TRUE(Exists(path));
    const std::string written = ReadBytes(path);
    for (const char* line :
         {"Name=Lester_Meeting\r\n", "Owner=Lester\r\n", "ConditionType=-1\r\n", "InfoType=1\r\n",
          "Folder=Nordmar/Outdoor/\r\n", "CondSecondaryNPCstates=0;3\r\n", "InfoScript_Commands=Say;End\r\n",
          "TeachSkill=Spl_Fear\r\n"})
        EXPECT_NE(written.find(line), std::string::npos) << line;
    EXPECT_EQ(Pane()->toPlainText(), QString::fromStdString(written).replace("\r\n", "\n"));
    EXPECT_EQ(Text("NameEd"), "Lester_Meeting"); // the editor itself is left as it was
}

TEST_F(InfoTabCompile, WriteFailureShowsTheWritersError) {
    workspace.configs->TmpFiles = false;
    workspace.configs->InfosPath = dir.File("no/such/folder");
    SetText("NameEd", "Abc");
    SetText("OwnerCmb", "Abe");
    Build();
    const auto box = OnlyWarning();
    EXPECT_EQ(box.caption, "Ошибка");
    EXPECT_TRUE(box.text.startsWith("Cannot create file")) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains("Abc_info_G3_World_01.info"));
    EXPECT_EQ(box.owner, tab.window());
    EXPECT_TRUE(Pane()->toPlainText().isEmpty());
}

TEST_F(InfoTabCompile, InfosFolderIsUsedWhenScratchFilesAreOff) {
    workspace.configs->TmpFiles = false;
    workspace.configs->InfosPath = dir.Path();
    SetText("NameEd", "Abc");
    SetText("OwnerCmb", "Abe");
    Build();
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_TRUE(Exists(dir.File("Abc_info_G3_World_01.info")));
    EXPECT_FALSE(Exists(dir.File("_Infos")));
}

} // namespace
} // namespace pwtest
