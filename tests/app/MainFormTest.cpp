#include "app/MainForm.h"

#include "AppFixture.h"
#include "app/ConfigsForm.h"

#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <algorithm>

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
    static std::vector<std::string> Sorted(std::vector<std::string> list) {
        std::sort(list.begin(), list.end());
        return list;
    }
    static QString TableText(pw::TForm1& form) {
        return form.findChild<QPlainTextEdit*>("SynMemText")->toPlainText();
    }
    // The string table's text is put into its pane when the pane's tab is first shown.
    static QString ShownTableText(pw::TForm1& form) {
        form.show();
        form.findChild<QTabWidget*>("PgCtrl")->setCurrentIndex(2);
        return TableText(form);
    }
};

TEST_F(MainFormTest, FrameHasItsCaptionSizeTabsAndMenus) {
    WriteSettings(TablePath());
    pwtest::WriteBytes(TablePath(), "");
    auto workspace = MakeWorkspace();
    pw::TForm1 form(*workspace);

    EXPECT_EQ(form.objectName(), "Form1");
    EXPECT_EQ(form.windowTitle(), "Gothic lll Plotwright");
    EXPECT_EQ(form.width(), 927);
    EXPECT_EQ(form.height() - form.menuBar()->sizeHint().height(), 924);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(form.acceptDrops());
    ASSERT_NE(form.findChild<QStatusBar*>("SB"), nullptr);

    auto* tabs = form.findChild<QTabWidget*>("PgCtrl");
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 3);
    const char* pages[] = {"tbInfo", "tbQuest", "TabSheet1"};
    const char* captions[] = {"Диалоги", "Квесты", "Редактор строк"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(tabs->widget(i)->objectName(), pages[i]);
        EXPECT_EQ(tabs->tabText(i), captions[i]);
        EXPECT_FALSE(tabs->tabIcon(i).isNull());
    }
    EXPECT_NE(tabs->widget(0)->layout(), nullptr); // the dialogue editor goes in there
    const QImage image0 = form.PgCtrlImgList().at(0).pixmap(16).toImage();
    EXPECT_NE(image0, form.PgCtrlImgList().at(1).pixmap(16).toImage());

    EXPECT_EQ(form.menuBar()->objectName(), "MainMenu1");
    auto* file = form.findChild<QMenu*>("N1");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->title(), "Файл");
    QStringList items;
    for (const QAction* action : file->actions())
        items << action->objectName() + ":" + (action->isSeparator() ? "-" : action->text());
    EXPECT_EQ(items.join(','), "N10:Режим редактирования,N18:-,N17:О программе,N2:Выход");
    EXPECT_EQ(form.findChild<QAction*>("N3")->text(), "Настройки");
}

TEST_F(MainFormTest, CreationBuildsTheLibraryAndLoadsTheTable) {
    WriteSettings(TablePath());
    pwtest::WriteBytes(TablePath(), "[LocAdmin_Strings]\r\nid1=\xCF\xF0\xE8\xE2\xE5\xF2;\r\n");
    auto workspace = MakeWorkspace();
    pw::TForm1 form(*workspace);

    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(Sorted(workspace->infoFiles),
              (std::vector<std::string>{InfosPath() + "/a.info", InfosPath() + "/deep/b.INFO"}));
    EXPECT_EQ(workspace->questFiles, std::vector<std::string>{QuestsPath() + "/q.quest"});
    EXPECT_TRUE(workspace->libraryReady);
    ASSERT_NE(workspace->stringTable, nullptr);
    EXPECT_EQ(workspace->stringTable->Path(), TablePath());
    EXPECT_EQ(TableText(form), ""); // the window did not wait for the table
    EXPECT_EQ(ShownTableText(form), "[LocAdmin_Strings]\nid1=Привет;\n");
}

TEST_F(MainFormTest, Utf16TableIsShownDecoded) {
    WriteSettings(TablePath());
    pwtest::WriteBytes(TablePath(), std::string("\xFF\xFE[\0a\0]\0\r\0\n\0\x1F\x04=\0", 16));
    auto workspace = MakeWorkspace();
    pw::TForm1 form(*workspace);
    EXPECT_EQ(ShownTableText(form), "[a]\nП=");
}

TEST_F(MainFormTest, UnreadableTableIsReportedAfterTheLibraryIsBuilt) {
    WriteSettings(TablePath()); // the table itself does not exist
    auto workspace = MakeWorkspace();
    pw::TForm1 form(*workspace);

    ASSERT_EQ(dialogs.Messages().size(), 1u);
    const auto box = dialogs.Messages().front();
    EXPECT_TRUE(box.text.startsWith(QString::fromStdString("Cannot open file \"" + TablePath() + "\". ")))
        << box.text.toStdString();
    EXPECT_EQ(box.caption, "plotwright");
    EXPECT_EQ(box.icon, pw::MsgIcon::Error);
    EXPECT_EQ(box.owner, &form);
    EXPECT_EQ(workspace->infoFiles.size(), 2u);
    EXPECT_EQ(workspace->questFiles.size(), 1u);
    EXPECT_TRUE(workspace->libraryReady);
    EXPECT_EQ(ShownTableText(form), "");
    EXPECT_EQ(dialogs.Messages().size(), 1u);
}

TEST_F(MainFormTest, FirstStartWarnsThenShowsTheEmptySettingsDialog) {
    auto workspace = MakeWorkspace(); // no settings file
    pw::TForm1 form(*workspace);
    QStringList shownFields;
    dialogs.onModal = [&shownFields](QDialog* shown) {
        for (const char* name : {"InfosPathEd", "QuestsPathEd", "StringsPathEd"})
            shownFields << shown->findChild<QLineEdit*>(name)->text();
    };
    pw::TConfigsFrm settings(*workspace->configs, &form);

    ASSERT_EQ(dialogs.calls.size(), 2u);
    const auto& box = dialogs.calls[0];
    EXPECT_EQ(box.kind, Kind::Message);
    EXPECT_EQ(box.text, "Please, check settings and restart application.");
    EXPECT_EQ(box.caption, "Path not defined");
    EXPECT_EQ(box.icon, pw::MsgIcon::Warning);
    EXPECT_EQ(box.buttons, pw::MsgButtons::Ok);
    EXPECT_EQ(box.owner, &form);
    EXPECT_EQ(dialogs.calls[1].kind, Kind::RunModal);
    EXPECT_EQ(dialogs.calls[1].dialog, &settings);
    EXPECT_EQ(shownFields, QStringList({"", "", ""}));
    EXPECT_FALSE(workspace->libraryReady);
    EXPECT_EQ(workspace->stringTable, nullptr);
    EXPECT_TRUE(workspace->infoFiles.empty());
}

TEST_F(MainFormTest, SettingsMenuReopensTheSameDialogWithSaveStillDisabled) {
    WriteSettings(TablePath());
    pwtest::WriteBytes(TablePath(), "");
    auto workspace = MakeWorkspace();
    pw::TForm1 form(*workspace);
    workspace->configsForm = new pw::TConfigsFrm(*workspace->configs, &form);
    workspace->configsForm->findChild<QPushButton*>("SaveBtn")->click();

    bool saveEnabled = true;
    dialogs.onModal = [&saveEnabled](QDialog* shown) {
        saveEnabled = shown->findChild<QPushButton*>("SaveBtn")->isEnabled();
    };
    form.findChild<QAction*>("N3")->trigger();
    ASSERT_EQ(dialogs.calls.back().kind, Kind::RunModal);
    EXPECT_EQ(dialogs.calls.back().dialog, workspace->configsForm);
    EXPECT_FALSE(saveEnabled);
}

TEST_F(MainFormTest, ChangeMarkBlinksUntilTheStringTabIsShown) {
    WriteSettings(TablePath());
    pwtest::WriteBytes(TablePath(), "");
    auto workspace = MakeWorkspace();
    pw::TForm1 form(*workspace);
    auto* tabs = form.findChild<QTabWidget*>("PgCtrl");
    auto* timer = form.findChild<QTimer*>("InfoTm");
    ASSERT_NE(timer, nullptr);
    const auto iconKey = [&](int image) { return form.PgCtrlImgList().at(image).cacheKey(); };
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(tabs->tabIcon(2).cacheKey(), iconKey(0));

    form.MarkTableChanged();
    EXPECT_EQ(tabs->tabToolTip(2), "В таблицу строк были внесены изменения");
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 500);
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
    WriteSettings(TablePath());
    pwtest::WriteBytes(TablePath(), "[LocAdmin_Strings]\r\nOld_1=x;\r\n");
    auto workspace = MakeWorkspace();
    pw::TForm1 form(*workspace);
    auto* tabs = form.findChild<QTabWidget*>("PgCtrl");
    auto* timer = form.findChild<QTimer*>("InfoTm");

    dialogs.answers = {pw::MsgAnswer::No};
    form.AddTableString("Old_1", "y"); // the duplicate question, answered No
    EXPECT_FALSE(timer->isActive());
    form.AddTableString("  ", "y");
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(dialogs.Messages().back().text, "Идентификатор строки не задан");

    // The quest tab's ">>>" button.
    form.findChild<QLineEdit*>("QuestLogTopicEd")->setText("New_1");
    form.findChild<QLineEdit*>("QuestStrViewEd")->setText("z");
    dialogs.answers = {pw::MsgAnswer::Yes};
    form.findChild<QPushButton*>("WriteInfoTableBtn")->click();
    EXPECT_EQ(pwtest::ReadBytes(TablePath()), "[LocAdmin_Strings]\r\nOld_1=x;\r\nNew_1=z;\r\n");
    QLineEdit hint;
    form.LookupTableString("new_1", &hint);
    EXPECT_EQ(hint.text(), "z;");
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(tabs->tabToolTip(2), "В таблицу строк были внесены изменения");
    const auto iconKey = [&](int image) { return form.PgCtrlImgList().at(image).cacheKey(); };
    EXPECT_TRUE(QTest::qWaitFor([&] { return tabs->tabIcon(2).cacheKey() == iconKey(1); }, 2000));
    tabs->setCurrentIndex(2);
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(tabs->tabIcon(2).cacheKey(), iconKey(0));

    // The dialogue tab's ">>>" button.
    pwtest::WriteBytes(InfosPath() + "/say.info",
                       "[Info]\r\nInfoScript_Commands=Say\r\nInfoScript_Texts=Say_1\r\n");
    form.LoadInfo(InfosPath() + "/say.info");
    form.findChild<QTableWidget*>("CommandList")->selectRow(0);
    form.findChild<QLineEdit*>("InfoStrViewEd")->setText("s");
    dialogs.answers = {pw::MsgAnswer::Yes};
    form.findChild<QPushButton*>("WriteBtn")->click();
    EXPECT_NE(pwtest::ReadBytes(TablePath()).find("\r\nSay_1=s;\r\n"), std::string::npos);
    EXPECT_TRUE(timer->isActive());
}

TEST_F(MainFormTest, DoubleClickOnTheDialoguesQuestShowsThatQuestsFile) {
    WriteSettings(TablePath());
    pwtest::WriteBytes(TablePath(), "");
    pwtest::WriteBytes(QuestsPath() + "/deep/fish.quest", "[Quest]\r\nName=Fish_Quest\r\n");
    auto workspace = MakeWorkspace();
    pw::TForm1 form(*workspace);
    auto* quest = form.findChild<QLineEdit*>("QuestEd");
    quest->setText("FISH_quest");
    QTest::mouseDClick(quest, Qt::LeftButton);
    EXPECT_EQ(form.findChild<QPlainTextEdit*>("SynQuestMem")->toPlainText(), "[Quest]\nName=Fish_Quest\n");
    EXPECT_EQ(form.findChild<QTabWidget*>("PgCtrl")->currentIndex(), 0);
    EXPECT_EQ(form.findChild<QLineEdit*>("QuestNameEd")->text(), "");
    EXPECT_TRUE(dialogs.calls.empty());
}

} // namespace
