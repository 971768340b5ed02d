// The quest tab through its widgets: loading a file, compiling with the boxes it shows, the search box,
// showing a quest by name and the pane's Ctrl+S.

#include "core/data/ReadReport.h"
#include "core/library/LibrarySearch.h"
#include "core/quest/QuestEditorModel.h"
#include "gui/quest_tab/QuestTab.h"

#include "EditorTabFixture.h"
#include "FormChecks.h"
#include "UserInput.h"

#include <QTextBlock>
#include <QTextLayout>

#include <filesystem>

namespace pwtest {
namespace {

const std::string kSuffix = "_quest_G3_World_01.quest";

using QuestTabControls = EditorTabFixture<pw::QuestTab>;
using QuestTabLoad = EditorTabFixture<pw::QuestTab>;

TEST_F(QuestTabControls, EveryLabelCanBeReadWhole) {
#ifdef _WIN32
    GTEST_SKIP() << "the widths are those of Wine's replacement fonts, not Windows's Tahoma";
#endif
    tab.resize(923, 860);
    tab.show();
    EXPECT_EQ(UnreadableLabels(tab).join('\n').toStdString(), "");
}

// The hint of the quest shown before goes: it would name a line of another quest.
TEST_F(QuestTabLoad, LoadFillsEveryFieldAndThePaneAndClearsTheHint) {
    const std::string path = WriteQuest("q.quest", {"Name=Квест",
                                                    "Type=8",
                                                    "FinishedQuests=A;B",
                                                    "LogTopic=T_1",
                                                    "LogText=T_2",
                                                    "ExperiencePoints=0x10",
                                                    "PoliticalSuccess=1",
                                                    "PoliticalSuccessAmount=2",
                                                    "EnclaveSuccess=Lago",
                                                    "EnclaveSuccessAmount=3",
                                                    "JobSuccess=",
                                                    "JobSuccessAmount=4",
                                                    "Folder=Own/Folder/",
                                                    "DeliveryEntities=It_A",
                                                    "DeliveryAmounts=5",
                                                    "DeliveryCounter=6",
                                                    "DestinationEntity=Diego",
                                                    "RunningTimeYears=7",
                                                    "RunningTimeDays=8",
                                                    "RunningTimeHours=9",
                                                    "AttribSuccess=STR",
                                                    "AttribSuccessAmount=10"});
    Edit("QuestStrViewEd")->setText("the quest before's line");
    tab.LoadQuest(path);
    EXPECT_TRUE(dialogs.calls.empty());
    const std::pair<const char*, const char*> expected[] = {
        {"QuestNameEd", "Квест"},
        {"QuestFinishedQuestsEd", "A;B"},
        {"QuestLogTopicEd", "T_1"},
        {"QuestLogTextEd", "T_2"},
        {"QuestExperiencePointsEd", "16"},
        {"QuestPoliticalSuccessEd", "1"},
        {"QuestPoliticalSuccessAmountEd", "2"},
        {"QuestEnclaveSuccessCMB", "Lago"},
        {"QuestEnclaveSuccessAmountEd", "3"},
        {"QuestJobSuccessEd", "-1"},
        {"QuestJobSuccessAmountEd", "4"},
        {"QuestFolderCMB", "Own/Folder/"},
        {"QuestDeliveryEntitiesEd", "It_A"},
        {"QuestDeliveryAmountsEd", "5"},
        {"QuestDeliveryCounterEd", "6"},
        {"QuestDestinationEntityEd", "Diego"},
        {"QuestRunningTimeYearsEd", "7"},
        {"QuestRunningTimeDaysEd", "8"},
        {"QuestRunningTimeHoursEd", "9"},
        {"QuestAttribSuccessEd", "STR"},
        {"QuestAttribSuccessAmountEd", "10"},
        {"QuestStrViewEd", ""},
    };
    for (const auto& [name, text] : expected)
        EXPECT_EQ(Text(name), QString::fromUtf8(text)) << name;
    EXPECT_EQ(Combo("QuestTypeCMB")->currentIndex(), 8);
    EXPECT_EQ(Combo("QuestEnclaveSuccessCMB")->currentIndex(), 23); // Lago
    EXPECT_TRUE(Pane()->toPlainText().startsWith("[Quest]\nName=Квест\nType=8\n"));
    // The pane shows the file coloured: its section line is set apart.
    EXPECT_FALSE(Pane()->document()->firstBlock().layout()->formats().isEmpty());
}

TEST_F(QuestTabLoad, TypeOutsideTheListOrTypedByHandCompilesAsMinusOne) {
    tab.LoadQuest(WriteQuest("q.quest", {"Name=Foo", "Type=12"}));
    EXPECT_EQ(Combo("QuestTypeCMB")->currentIndex(), -1);
    EXPECT_EQ(Text("QuestTypeCMB"), "");
    Click("Button1");
    EXPECT_NE(ReadBytes(dir.File("_Quests/Foo" + kSuffix)).find("\r\nType=-1\r\n"), std::string::npos);

    Combo("QuestTypeCMB")->setCurrentIndex(2);
    Combo("QuestTypeCMB")->setEditText("2 - Убийство!");
    Click("Button1");
    EXPECT_NE(ReadBytes(dir.File("_Quests/Foo" + kSuffix)).find("\r\nType=-1\r\n"), std::string::npos);
    Combo("QuestTypeCMB")->setEditText("11 - украсть");
    Click("Button1");
    EXPECT_NE(ReadBytes(dir.File("_Quests/Foo" + kSuffix)).find("\r\nType=11\r\n"), std::string::npos);
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(QuestTabLoad, MissingFileIsReportedAndChangesNothing) {
    Edit("QuestNameEd")->setText("typed");
    Pane()->setPlainText("shown");
    tab.LoadQuest(dir.File("gone.quest"));
    EXPECT_EQ(Boxes(), QStringList{"Не удалось открыть файл " +
                                   QString::fromStdString(dir.File("gone.quest")) + " / Ошибка"});
    EXPECT_EQ(dialogs.Messages()[0].icon, pw::MsgIcon::Error);
    EXPECT_EQ(Text("QuestNameEd"), "typed");
    EXPECT_EQ(Pane()->toPlainText(), "shown");
}

TEST_F(QuestTabLoad, AFileThatIsNoQuestIsRefusedWithItsReasonAndTheFormStaysAsTyped) {
    Edit("QuestNameEd")->setFocus();
    QTest::keyClicks(Edit("QuestNameEd"), "typed");
    Pane()->setPlainText("shown");
    using namespace std::string_literals;
    const std::pair<const char*, std::string> files[] = {
        {"empty.quest", ""},
        {"binary.quest", "\x7F\x45LF\0\0\x01Name=X"s},
        {"big-endian.quest", "\xFE\xFF\0[\0Q\0u\0e\0s\0t\0]"s},
        {"marked.quest", "\xEF\xBB\xBF[Quest]\r\nName=X\r\n"},
        {"info.quest", "[Info]\r\nName=X\r\n"},
    };
    for (const auto& [file, bytes] : files) {
        const std::string path = dir.File(file);
        WriteBytes(path, bytes);
        pw::TQuest quest;
        pw::RecordReadReport report;
        quest.ReadFromFile(path, &report);
        ASSERT_FALSE(report.notRecord.empty()) << file;
        dialogs.calls.clear();
        tab.LoadQuest(path);
        ASSERT_EQ(Boxes(),
                  QStringList{QString::fromStdString(report.notRecord + "\r\n" + path) + " / Ошибка"});
        EXPECT_EQ(dialogs.Messages()[0].icon, pw::MsgIcon::Error);
        EXPECT_EQ(Text("QuestNameEd"), "typed") << file;
        EXPECT_EQ(Pane()->toPlainText(), "shown");
    }
}

struct QuestTabCompile : EditorTabFixture<pw::QuestTab> {
    void SetUp() override { Pane()->setPlainText("previous"); }
    void Compile(const QString& name) {
        Edit("QuestNameEd")->setText(name);
        Click("Button1");
    }
    bool Written(const std::string& name) { return Exists(dir.File("_Quests/" + name + kSuffix)); }
};

TEST_F(QuestTabCompile, AnUntouchedTabCompilesToTheDefaults) {
    Edit("QuestNameEd")->setText("Foo");
    Click("Button1");
    EXPECT_TRUE(dialogs.calls.empty());
    const std::string written = ReadBytes(dir.File("_Quests/Foo" + kSuffix));
    EXPECT_EQ(written,
              "[Quest]\r\nName=Foo\r\nType=0\r\nFinishedQuests=\r\nLogTopic=\r\nLogText=\r\n"
              "ExperiencePoints=0\r\nPoliticalSuccess=0\r\nPoliticalSuccessAmount=0\r\n"
              "EnclaveSuccess=Ardea\r\nEnclaveSuccessAmount=0\r\nJobSuccess=\r\nJobSuccessAmount=\r\n"
              "Folder=Myrtana/Ardea_City/\r\nDeliveryEntities=\r\nDeliveryAmounts=\r\n"
              "DeliveryCounter=\r\nDestinationEntity=\r\nRunningTimeYears=0\r\nRunningTimeDays=0\r\n"
              "RunningTimeHours=0\r\nAttribSuccess=\r\nAttribSuccessAmount=0\r\n");
    EXPECT_EQ(Pane()->toPlainText(), QString::fromStdString(written).replace("\r\n", "\n"));
}

TEST_F(QuestTabCompile, NumbersAreCheckedBeforeTheNameAndGoToTheGeneralErrorDisplay) {
    Edit("QuestJobSuccessEd")->clear(); // an empty field is no number, though the file keeps "none" so
    Edit("QuestRunningTimeDaysEd")->setText("x");
    Compile("");
    pw::QuestEditorModel model;
    model.QuestJobSuccessEd.clear();
    model.QuestRunningTimeDaysEd = "x";
    EXPECT_EQ(Boxes(),
              QStringList{QString::fromStdString(pw::FillQuestRecord(model).message) + " / plotwright"});
    EXPECT_EQ(dialogs.Messages()[0].icon, pw::MsgIcon::Error);
    EXPECT_EQ(Pane()->toPlainText(), "previous");
    EXPECT_FALSE(std::filesystem::exists(dir.File("_Quests")));
}

// Which names are refused in which words is the compile logic's (tested there); the tab shows its
// message in a box of the quest editor's own.
TEST_F(QuestTabCompile, NameProblemsAndAMissingFolderGetTheEditorsOwnBox) {
    QStringList expected;
    for (const char* name : {"", "a/b", ".."}) {
        Compile(name);
        pw::QuestEditorModel model;
        model.QuestNameEd = name;
        expected << QString::fromStdString(pw::FillQuestRecord(model).message) + " / Редактор квестов";
    }
    workspace.configs->TmpFiles = false;
    workspace.configs->QuestsPath.clear();
    Compile("Foo");
    pw::QuestEditorModel named;
    named.QuestNameEd = "Foo";
    expected << QString::fromStdString(pw::CompileQuest(named, {false, dir.Path(), ""}).message) +
                    " / Редактор квестов";
    EXPECT_EQ(Boxes(), expected);
    for (const auto& box : dialogs.Messages()) {
        EXPECT_EQ(box.icon, pw::MsgIcon::None);
        EXPECT_EQ(box.owner, &tab);
    }
    EXPECT_EQ(Pane()->toPlainText(), "previous");
    EXPECT_FALSE(std::filesystem::exists(dir.File("_Quests")));
}

// Text the file's code page lacks is refused in the editor's own box before anything is written; text
// it holds is written as it stands.
TEST_F(QuestTabCompile, ACharacterTheCodePageLacksIsNamedWithItsFieldAndNothingIsWritten) {
    Combo("QuestFolderCMB")->setEditText("Myrtana/Gdańsk/");
    Compile("Foo");
    EXPECT_EQ(Boxes(),
              QStringList{"В поле «Каталог» есть символ «ń» (U+0144), которого нет в кодировке "
                          "Windows-1251. Квест не скомпилирован: замените или удалите этот символ. / "
                          "Редактор квестов"});
    EXPECT_EQ(dialogs.Messages()[0].icon, pw::MsgIcon::None);
    EXPECT_EQ(Pane()->toPlainText(), "previous");
    EXPECT_FALSE(std::filesystem::exists(dir.File("_Quests")));

    Combo("QuestFolderCMB")->setEditText("Myrtana/");
    Edit("QuestLogTopicEd")->setText("Ёж № 1 — «да»");
    Compile("Foo");
    EXPECT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_NE(ReadBytes(dir.File("_Quests/Foo" + kSuffix)).find(Ansi("\r\nLogTopic=Ёж № 1 — «да»\r\n")),
              std::string::npos);
}

TEST_F(QuestTabCompile, AFailedWriteNamesThePathAndKeepsThePane) {
    workspace.configs->TmpFiles = false;
    workspace.configs->QuestsPath = dir.File("missing");
    Compile("Foo");
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_TRUE(
        dialogs.Messages()[0].text.contains(QString::fromStdString(dir.File("missing/Foo" + kSuffix))))
        << dialogs.Messages()[0].text.toStdString();
    EXPECT_EQ(dialogs.Messages()[0].icon, pw::MsgIcon::Error);
    EXPECT_EQ(Pane()->toPlainText(), "previous");
}

TEST_F(QuestTabCompile, BlankNamesPassAndWithoutScratchFilesTheTreeRootIsUsed) {
    Compile("  ");
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_TRUE(Written("  "));
    workspace.configs->TmpFiles = false;
    workspace.configs->QuestsPath = dir.Path();
    Compile("Foo");
    EXPECT_TRUE(Exists(dir.File("Foo" + kSuffix)));
    EXPECT_TRUE(Pane()->toPlainText().startsWith("[Quest]\nName=Foo\n"));
}

TEST_F(QuestTabControls, CtrlSInThePaneOnlyPointsToTheCompileButton) {
    tab.show();
    Pane()->setPlainText("text");
    QTest::keyClick(Pane(), Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(Pane(), Qt::Key_X);
    EXPECT_EQ(Boxes(), QStringList{"Используйте кнопку \"Компилировать\"! / Редактор квестов"});
    EXPECT_EQ(dialogs.Messages()[0].icon, pw::MsgIcon::Information);
    EXPECT_EQ(Pane()->toPlainText(), "text");
    EXPECT_FALSE(Exists(dir.File("_Quests")));
}

TEST_F(QuestTabLoad, ShowQuestByNameShowsOnlyTheFirstMatchingFile) {
    workspace.questFiles = {WriteQuest("a.quest", {"Name=Other"}),
                            WriteQuest("b.quest", {"Name=aBc", "Type=3"}),
                            WriteQuest("c.quest", {"Name=ABC"})};
    Edit("QuestNameEd")->setText("typed");
    tab.ShowQuestByName("ABC");
    EXPECT_TRUE(Pane()->toPlainText().startsWith("[Quest]\nName=aBc\n"));
    EXPECT_EQ(Text("QuestNameEd"), "typed"); // no field is filled
    Pane()->setPlainText("shown");
    tab.ShowQuestByName("ABD");
    EXPECT_EQ(Pane()->toPlainText(), "shown");
    EXPECT_TRUE(dialogs.calls.empty());
}

struct QuestTabSearch : EditorTabFixture<pw::QuestTab> {
    void SetUp() override {
        workspace.questFiles = {WriteQuest("a.quest", {"Name=Fish", "DestinationEntity=Carlos"}),
                                WriteQuest("b.quest", {"Name=Other", "DeliveryEntities=It_Fish;It_Bread"}),
                                WriteQuest("c.quest", {"Name=Carlos_Help"})};
        workspace.libraryReady = true;
        tab.show();
    }
    QComboBox* Box() { return Combo("FindQuestCmb"); }
    QStringList Items() {
        QStringList items;
        for (int i = 0; i < Box()->count(); ++i)
            items << Box()->itemText(i);
        return items;
    }
};

TEST_F(QuestTabSearch, EnterOrTheButtonSearchesAndChoosingLoads) {
    Box()->setEditText("carlos");
    QTest::keyClick(Box(), Qt::Key_Return);
    const QString a = QString::fromStdString(workspace.questFiles[0]);
    EXPECT_EQ(Items(), QStringList{a});
    EXPECT_EQ(Box()->currentText(), QString::fromStdString(pw::Cp1251ToUtf8(pw::SearchCountText(1))));
    EXPECT_EQ(Text("QuestNameEd"), ""); // a search loads nothing

    QTest::keyClick(Box(), Qt::Key_Return); // the count is no query
    EXPECT_EQ(Items(), QStringList{a});
    Box()->setEditText("It_Fish"); // one entity of several is not the whole value
    Click("SpeedButton2");
    EXPECT_EQ(Items(), QStringList());
    Box()->setEditText("IT_FISH;IT_BREAD");
    Click("SpeedButton2");
    EXPECT_EQ(Items(), QStringList{QString::fromStdString(workspace.questFiles[1])});

    emit Box()->activated(0);
    EXPECT_EQ(Text("QuestNameEd"), "Other");
    EXPECT_TRUE(Pane()->toPlainText().startsWith("[Quest]\nName=Other\n"));
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(QuestTabSearch, WheelChangesNoBoxWithoutTheFocus) {
    Box()->setEditText("carlos");
    QTest::keyClick(Box(), Qt::Key_Return);
    tab.resize(923, 860);
    tab.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&tab));
    Edit("QuestNameEd")->setFocus();
    int boxes = 0;
    for (QComboBox* box : tab.findChildren<QComboBox*>()) {
        SCOPED_TRACE(box->objectName().toStdString());
        const QString before = box->currentText();
        TurnWheel(box, 1);
        TurnWheel(box, -1);
        EXPECT_EQ(box->currentText(), before);
        ++boxes;
    }
    EXPECT_GT(boxes, 1);
    EXPECT_EQ(Text("QuestNameEd"), ""); // no search result was loaded
    EXPECT_TRUE(Edit("QuestNameEd")->hasFocus());
}

TEST_F(QuestTabSearch, AFileWhoseNameIsNotInTheFileSystemsEncodingStillOpens) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows names files in UTF-16: every name converts to the program's UTF-8";
#endif
    // A Windows-1251 name, as an archive made on Windows unpacks it.
    workspace.questFiles.push_back(WriteQuest(Ansi("Рыбалка.quest"), {"Name=Fishing_Trip"}));
    Box()->setEditText("Fishing_Trip");
    QTest::keyClick(Box(), Qt::Key_Return);
    ASSERT_EQ(Items().size(), 1);
    emit Box()->activated(0);
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(Text("QuestNameEd"), "Fishing_Trip");
}

} // namespace
} // namespace pwtest
