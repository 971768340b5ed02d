// The main window: what its creation builds and reports, the settings dialog, the string table's
// change mark and what the tabs ask of each other.

#include "core/dialogue/InfoScript.h"
#include "gui/app/ConfigsForm.h"
#include "gui/app/MainForm.h"
#include "gui/library/LibraryIndexService.h"
#include "gui/string_editor/StringEditorTab.h"

#include "AppFixture.h"

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <deque>
#include <optional>

namespace {

using Kind = pwtest::ScriptedDialogs::Kind;

class MainFormTest : public pwtest::AppFixture {
protected:
    void SetUp() override {
        pwtest::WriteBytes(InfosPath() + "/a.info", "[Info]\r\n");
        pwtest::WriteBytes(InfosPath() + "/deep/b.INFO", "[Info]\r\n");
        pwtest::WriteBytes(InfosPath() + "/notes.txt", "");
        pwtest::WriteBytes(QuestsPath() + "/q.quest", "[Quest]\r\n");
    }
    // What main() hands the settings dialog: each save is told to the main window.
    static pw::TConfigsFrm::SavedHandler TellingWindow(pw::TForm1& window) {
        return [&window](QWidget* dialog) { window.SettingsSaved(dialog); };
    }
    // The settings dialog of a start without settings: in its first display the three choosers are
    // answered with fields (Infos, Quests, the table; nullopt cancels) and Save is clicked.
    std::unique_ptr<pw::TConfigsFrm> FirstSettings(pw::TForm1& window,
                                                   std::deque<std::optional<QString>> fields) {
        dialogs.onModal = [this, fields](QDialog* shown) {
            dialogs.choices = fields;
            for (const char* button : {"DlgInfosBtn", "DlgQuestsBtn", "DlgStrTableBtn", "SaveBtn"})
                shown->findChild<QPushButton*>(button)->click();
        };
        return std::make_unique<pw::TConfigsFrm>(*workspace->configs, &window, TellingWindow(window));
    }
    std::deque<std::optional<QString>> AllPaths() const {
        return {QString::fromStdString(InfosPath()), QString::fromStdString(QuestsPath()),
                QString::fromStdString(TablePath())};
    }
    static std::vector<std::string> Sorted(std::vector<std::string> list) {
        std::sort(list.begin(), list.end());
        return list;
    }
    static QString TableText(pw::TForm1& window) {
        return window.findChild<QPlainTextEdit*>("SynMemText")->toPlainText();
    }
    // The string table's text is put into its pane when the pane's tab is first shown.
    static QString ShownTableText(pw::TForm1& window) {
        window.show();
        window.findChild<QTabWidget*>("PgCtrl")->setCurrentIndex(2);
        pw::TForm1::WaitForWork(); // the table is read in the background
        return TableText(window);
    }
};

TEST_F(MainFormTest, CreationBuildsTheLibraryAndLoadsTheTable) {
    pw::TForm1& window = OpenWindow("[LocAdmin_Strings]\r\nid1=\xCF\xF0\xE8\xE2\xE5\xF2;\r\n");

    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(Sorted(workspace->infoFiles),
              (std::vector<std::string>{InfosPath() + "/a.info", InfosPath() + "/deep/b.INFO"}));
    EXPECT_EQ(workspace->questFiles, std::vector<std::string>{QuestsPath() + "/q.quest"});
    EXPECT_TRUE(workspace->libraryReady);
    ASSERT_NE(workspace->stringTable, nullptr);
    EXPECT_EQ(workspace->stringTable->Path(), TablePath());
    EXPECT_EQ(TableText(window), ""); // the window did not wait for the table
    EXPECT_EQ(ShownTableText(window), "[LocAdmin_Strings]\nid1=Привет;\n");
}

TEST_F(MainFormTest, Utf16TableIsShownDecoded) {
    EXPECT_EQ(ShownTableText(OpenWindow(std::string("\xFF\xFE[\0a\0]\0\r\0\n\0\x1F\x04=\0", 16))), "[a]\nП=");
}

TEST_F(MainFormTest, UnreadableTableIsReportedAfterTheLibraryIsBuilt) {
    WriteSettings(TablePath()); // the table itself does not exist
    pw::TForm1& window = StartWindow();

    ASSERT_EQ(dialogs.Messages().size(), 1u);
    const auto box = dialogs.Messages().front();
    EXPECT_TRUE(box.text.startsWith(QString::fromStdString("Cannot open file \"" + TablePath() + "\". ")))
        << box.text.toStdString();
    EXPECT_EQ(box.caption, "plotwright");
    EXPECT_EQ(box.icon, pw::MsgIcon::Error);
    EXPECT_EQ(box.owner, &window);
    EXPECT_EQ(workspace->infoFiles.size(), 2u);
    EXPECT_EQ(workspace->questFiles.size(), 1u);
    EXPECT_TRUE(workspace->libraryReady);
    EXPECT_EQ(ShownTableText(window), "");
    EXPECT_EQ(dialogs.Messages().size(), 1u);
}

TEST_F(MainFormTest, FirstStartWarnsThenShowsTheEmptySettingsDialog) {
    pw::TForm1& window = StartWindow(); // no settings file
    QStringList shownFields;
    dialogs.onModal = [&shownFields](QDialog* shown) {
        for (const char* name : {"InfosPathEd", "QuestsPathEd", "StringsPathEd"})
            shownFields << shown->findChild<QLineEdit*>(name)->text();
    };
    pw::TConfigsFrm settings(*workspace->configs, &window);

    ASSERT_EQ(dialogs.calls.size(), 2u);
    const auto& box = dialogs.calls[0];
    EXPECT_EQ(box.kind, Kind::Message);
    EXPECT_EQ(box.text, "Please, check settings and restart application.");
    EXPECT_EQ(box.caption, "Path not defined");
    EXPECT_EQ(box.icon, pw::MsgIcon::Warning);
    EXPECT_EQ(box.buttons, pw::MsgButtons::Ok);
    EXPECT_EQ(box.owner, &window);
    EXPECT_EQ(dialogs.calls[1].kind, Kind::RunModal);
    EXPECT_EQ(dialogs.calls[1].dialog, &settings);
    EXPECT_EQ(shownFields, QStringList({"", "", ""}));
    EXPECT_FALSE(workspace->libraryReady);
    EXPECT_EQ(workspace->stringTable, nullptr);
    EXPECT_TRUE(workspace->infoFiles.empty());
}

TEST_F(MainFormTest, FirstStartSaveOffersTheLibraryAndYesOpensIt) {
    pwtest::WriteBytes(TablePath(), "[LocAdmin_Strings]\r\nid1=x;\r\n");
    pw::TForm1& window = StartWindow(); // no settings file
    dialogs.answers = {pw::MsgAnswer::Yes};
    const auto settings = FirstSettings(window, AllPaths());

    const auto messages = dialogs.Messages(); // the warning, then the question
    ASSERT_EQ(messages.size(), 2u);
    const auto& question = messages[1];
    EXPECT_EQ(question.text, "Открыть библиотеку сейчас?");
    EXPECT_EQ(question.caption, "Настройки");
    EXPECT_EQ(question.icon, pw::MsgIcon::Question);
    EXPECT_EQ(question.buttons, pw::MsgButtons::YesNo); // Enter answers Yes
    EXPECT_EQ(question.owner, settings.get());
    EXPECT_TRUE(workspace->libraryReady);
    EXPECT_EQ(Sorted(workspace->infoFiles),
              (std::vector<std::string>{InfosPath() + "/a.info", InfosPath() + "/deep/b.INFO"}));
    EXPECT_EQ(workspace->questFiles, std::vector<std::string>{QuestsPath() + "/q.quest"});
    EXPECT_NE(workspace->stringTable, nullptr);
    EXPECT_EQ(ShownTableText(window), "[LocAdmin_Strings]\nid1=x;\n");

    // An edit-mode window now starts as after a restart, without the warning.
    window.findChild<QAction*>("N10")->trigger();
    EXPECT_EQ(dialogs.Messages().size(), 2u);
}

TEST_F(MainFormTest, FirstStartSaveAnsweredNoOpensNothing) {
    pwtest::WriteBytes(TablePath(), "[LocAdmin_Strings]\r\nid1=x;\r\n");
    pw::TForm1& window = StartWindow();
    dialogs.answers = {pw::MsgAnswer::No};
    const auto settings = FirstSettings(window, AllPaths());

    ASSERT_EQ(dialogs.Messages().size(), 2u);
    EXPECT_EQ(dialogs.Messages().back().text, "Открыть библиотеку сейчас?");
    EXPECT_FALSE(workspace->libraryReady);
    EXPECT_EQ(workspace->stringTable, nullptr);
    EXPECT_TRUE(workspace->infoFiles.empty());
    EXPECT_EQ(ShownTableText(window), "");
}

TEST_F(MainFormTest, FirstStartSaveWithAPathStillEmptyAsksNothing) {
    pw::TForm1& window = StartWindow();
    auto fields = AllPaths();
    fields[1] = std::nullopt; // the Quests chooser cancelled
    const auto settings = FirstSettings(window, fields);

    EXPECT_EQ(dialogs.calls.back().kind, Kind::Beep); // saved, and nothing after it
    EXPECT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_FALSE(workspace->libraryReady);
}

TEST_F(MainFormTest, SettingsMenuReopensTheSameDialogWithSaveStillDisabled) {
    pw::TForm1& window = OpenWindow("");
    workspace->configsForm = new pw::TConfigsFrm(*workspace->configs, &window, TellingWindow(window));
    workspace->configsForm->findChild<QPushButton*>("SaveBtn")->click();
    EXPECT_TRUE(dialogs.Messages().empty()); // the library is open already: no question

    bool saveEnabled = true;
    dialogs.onModal = [&saveEnabled](QDialog* shown) {
        saveEnabled = shown->findChild<QPushButton*>("SaveBtn")->isEnabled();
    };
    window.findChild<QAction*>("N3")->trigger();
    ASSERT_EQ(dialogs.calls.back().kind, Kind::RunModal);
    EXPECT_EQ(dialogs.calls.back().dialog, workspace->configsForm);
    EXPECT_FALSE(saveEnabled);
}

TEST_F(MainFormTest, ChangeMarkBlinksUntilTheStringTabIsShown) {
    pw::TForm1& window = OpenWindow("");
    auto* tabs = window.findChild<QTabWidget*>("PgCtrl");
    auto* timer = window.findChild<QTimer*>("InfoTm");
    ASSERT_NE(timer, nullptr);
    const auto iconKey = [&](int image) { return window.PgCtrlImgList().at(image).cacheKey(); };
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(tabs->tabIcon(2).cacheKey(), iconKey(0));

    window.MarkTableChanged();
    EXPECT_EQ(tabs->tabToolTip(2), "В таблицу строк были внесены изменения");
    EXPECT_TRUE(timer->isActive());
    EXPECT_TRUE(QTest::qWaitFor([&] { return tabs->tabIcon(2).cacheKey() == iconKey(1); }, 2000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return tabs->tabIcon(2).cacheKey() == iconKey(0); }, 2000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return tabs->tabIcon(2).cacheKey() == iconKey(1); }, 2000));

    tabs->setCurrentIndex(1); // another tab changes nothing
    EXPECT_TRUE(timer->isActive());
    tabs->setCurrentIndex(2);
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(tabs->tabToolTip(2), "");
    EXPECT_EQ(tabs->tabIcon(2).cacheKey(), iconKey(0));
}

TEST_F(MainFormTest, AWriteFromAnEditorMarksTheTableAndARefusalDoesNot) {
    pw::TForm1& window = OpenWindow("[LocAdmin_Strings]\r\nOld_1=x;\r\n");
    auto* tabs = window.findChild<QTabWidget*>("PgCtrl");
    auto* timer = window.findChild<QTimer*>("InfoTm");

    dialogs.answers = {pw::MsgAnswer::No};
    window.AddTableString("Old_1", "y"); // the duplicate question, answered No
    EXPECT_FALSE(timer->isActive());
    window.AddTableString("  ", "y"); // refused: the ID is blank
    EXPECT_FALSE(timer->isActive());

    // The quest tab's ">>>" button.
    window.findChild<QLineEdit*>("QuestLogTopicEd")->setText("New_1");
    window.findChild<QLineEdit*>("QuestStrViewEd")->setText("z");
    dialogs.answers = {pw::MsgAnswer::Yes};
    window.findChild<QPushButton*>("WriteInfoTableBtn")->click();
    EXPECT_EQ(pwtest::ReadBytes(TablePath()), "[LocAdmin_Strings]\r\nOld_1=x;\r\nNew_1=z;\r\n");
    QLineEdit hint;
    window.LookupTableString("new_1", &hint);
    EXPECT_EQ(hint.text(), "z;");
    EXPECT_TRUE(timer->isActive());
    const auto iconKey = [&](int image) { return window.PgCtrlImgList().at(image).cacheKey(); };
    EXPECT_TRUE(QTest::qWaitFor([&] { return tabs->tabIcon(2).cacheKey() == iconKey(1); }, 2000));
    tabs->setCurrentIndex(2);
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(tabs->tabIcon(2).cacheKey(), iconKey(0));

    // The dialogue tab's ">>>" button.
    pwtest::WriteBytes(InfosPath() + "/say.info",
                       "[Info]\r\nInfoScript_Commands=Say\r\nInfoScript_Texts=Say_1\r\n");
    window.LoadInfo(InfosPath() + "/say.info");
    window.findChild<QTableWidget*>("CommandList")->selectRow(0);
    window.findChild<QLineEdit*>("InfoStrViewEd")->setText("s");
    dialogs.answers = {pw::MsgAnswer::Yes};
    window.findChild<QPushButton*>("WriteBtn")->click();
    EXPECT_NE(pwtest::ReadBytes(TablePath()).find("\r\nSay_1=s;\r\n"), std::string::npos);
    EXPECT_TRUE(timer->isActive());
}

TEST_F(MainFormTest, DoubleClickOnTheDialoguesQuestShowsThatQuestsFile) {
    pwtest::WriteBytes(QuestsPath() + "/deep/fish.quest", "[Quest]\r\nName=Fish_Quest\r\n");
    pw::TForm1& window = OpenWindow("");
    auto* quest = window.findChild<QLineEdit*>("QuestEd");
    quest->setText("FISH_quest");
    QTest::mouseDClick(quest, Qt::LeftButton);
    EXPECT_EQ(window.findChild<QPlainTextEdit*>("SynQuestMem")->toPlainText(), "[Quest]\nName=Fish_Quest\n");
    EXPECT_EQ(window.findChild<QTabWidget*>("PgCtrl")->currentIndex(), 0);
    EXPECT_EQ(window.findChild<QLineEdit*>("QuestNameEd")->text(), "");
    EXPECT_TRUE(dialogs.calls.empty());
}

// The dialogue tab's help stays on its page; the table's IDs that completion offers follow every write.
TEST_F(MainFormTest, CommandHelpShowsOnTheDialogueTabAndTableWritesRefreshTheOfferedIds) {
    pwtest::WriteBytes(InfosPath() + "/say.info", "[Info]\r\nInfoScript_Commands=Say\r\n");
    pw::TForm1& window = OpenWindow("[LocAdmin_Strings]\r\nOld_1=x;\r\n");
    window.show();
    auto* tabs = window.findChild<QTabWidget*>("PgCtrl");
    window.LoadInfo(InfosPath() + "/say.info");
    window.findChild<QTableWidget*>("CommandList")->setCurrentCell(0, 1);
    const QString sayHelp = QString::fromStdString(pw::CommandHelp("Say"));
    EXPECT_EQ(window.statusBar()->currentMessage(), sayHelp);
    tabs->setCurrentIndex(2);
    EXPECT_EQ(window.statusBar()->currentMessage(), "");
    pw::TForm1::WaitForWork(); // the table's text goes into the pane once read
    tabs->setCurrentIndex(0);
    EXPECT_EQ(window.statusBar()->currentMessage(), sayHelp);

    const auto tableIds = [this] {
        workspace->libraryIndex->WaitUntilBuilt();
        return workspace->libraryIndex->Current()->tableIds;
    };
    EXPECT_EQ(tableIds(), std::vector<std::string>{"Old_1"});
    window.AddTableString("New_1", "y");
    EXPECT_EQ(tableIds(), (std::vector<std::string>{"New_1", "Old_1"}));
    window.findChild<QPlainTextEdit*>("SynMemText")->setPlainText("[LocAdmin_Strings]\nSaved_1=z;\n");
    dialogs.answers = {pw::MsgAnswer::Yes, pw::MsgAnswer::Yes}; // save, though the file changed meanwhile
    window.findChild<pw::StringEditorTab*>()->SaveStringTableText();
    EXPECT_EQ(tableIds(), std::vector<std::string>{"Saved_1"});
}

} // namespace
