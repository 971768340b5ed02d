// The quest tab through its widgets: the field grid, loading a file, compiling with the boxes it
// shows, the search box, showing a quest by name and the pane's Ctrl+S.

#include "FormChecks.h"
#include "QuestTabFixture.h"
#include "UserInput.h"

#include "widgets/ExtCtrls2.h"

#include <QLabel>
#include <QSyntaxHighlighter>
#include <QToolButton>

#include <filesystem>

namespace pwtest {
namespace {

const std::string kSuffix = "_quest_G3_World_01.quest";

TEST_F(QuestTabFixture, FieldsSitInFourRowsOfColumnsWithTheirLabelsAbove) {
    tab.show(); // the combo boxes place their labels as they are laid out
    const std::vector<std::vector<const char*>> rows = {
        {"QuestNameEd", "QuestTypeCMB", "QuestFinishedQuestsEd", "QuestExperiencePointsEd",
         "QuestPoliticalSuccessEd", "QuestPoliticalSuccessAmountEd", "QuestEnclaveSuccessCMB"},
        {"QuestEnclaveSuccessAmountEd", "QuestJobSuccessEd", "QuestJobSuccessAmountEd", "QuestFolderCMB",
         "QuestDeliveryEntitiesEd", "QuestDeliveryAmountsEd", "QuestDeliveryCounterEd"},
        {"QuestDestinationEntityEd", "QuestRunningTimeYearsEd", "QuestRunningTimeDaysEd",
         "QuestRunningTimeHoursEd", "QuestAttribSuccessEd", "QuestAttribSuccessAmountEd", "QuestLogTopicEd"},
        {"QuestLogTextEd", "QuestStrViewEd", "WriteInfoTableBtn", "Button1"},
    };
    const QWidget* first = Find("QuestNameEd");
    for (std::size_t r = 0; r < rows.size(); ++r) {
        int column = 0;
        for (const char* name : rows[r]) {
            const QWidget* w = Find(name);
            const int span = std::string(name) == "QuestStrViewEd" ? 4 : 1;
            EXPECT_EQ(w->x(), first->x() + column * 128) << name;
            EXPECT_EQ(w->width(), 121 + (span - 1) * 128) << name;
            EXPECT_NEAR(w->y(), first->y() + static_cast<int>(r) * 44, 1) << name;
            column += span;
            // The field's label is right above it.
            const QLabel* label = nullptr;
            if (auto* box = qobject_cast<const pw::TLabeledComboBox*>(w))
                label = box->EditLabel();
            for (const QLabel* l : w->parentWidget()->findChildren<QLabel*>())
                if (l->buddy() == w)
                    label = l;
            if (qobject_cast<const QPushButton*>(w))
                continue;
            ASSERT_NE(label, nullptr) << name;
            EXPECT_EQ(label->x(), w->x()) << name;
            EXPECT_LT(label->y() + label->height(), w->y()) << name;
            EXPECT_GT(label->y() + label->height(), w->y() - 8) << name;
        }
    }
    EXPECT_EQ(Combo("QuestTypeCMB")->count(), 12);
    EXPECT_EQ(Combo("QuestFolderCMB")->count(), 31);
    EXPECT_EQ(Combo("QuestEnclaveSuccessCMB")->count(), 25);
    EXPECT_EQ(Find("FindQuestCmb")->width(), 873);
    EXPECT_TRUE(Pane()->isReadOnly());
    EXPECT_NE(Pane()->document()->findChild<QSyntaxHighlighter*>(), nullptr);
}

TEST_F(QuestTabFixture, EveryLabelCanBeReadWhole) {
    tab.resize(923, 860);
    tab.show();
    EXPECT_EQ(UnreadableLabels(tab).join('\n').toStdString(), "");
}

TEST_F(QuestTabFixture, TheUntouchedTabCompilesToTheDefaults) {
    Edit("QuestNameEd")->setText("Foo");
    Click("Button1");
    EXPECT_TRUE(dialogs.calls.empty());
    const std::string written = ReadBytes(dir.File("_Quests/Foo" + kSuffix));
    for (const char* line : {"\r\nType=0\r\n", "\r\nExperiencePoints=0\r\n", "\r\nEnclaveSuccess=Ardea\r\n",
                             "\r\nJobSuccess=\r\nJobSuccessAmount=\r\nFolder=Myrtana/Ardea_City/\r\n",
                             "\r\nRunningTimeHours=0\r\n", "\r\nAttribSuccessAmount=0\r\n"})
        EXPECT_NE(written.find(line), std::string::npos) << line;
    EXPECT_EQ(Pane()->toPlainText(), QString::fromStdString(written).replace("\r\n", "\n"));
}

TEST_F(QuestTabFixture, LoadFillsEveryFieldAndThePaneButNotTheHint) {
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
    Edit("QuestStrViewEd")->setText("kept");
    tab.LoadQuest(path);
    EXPECT_TRUE(dialogs.calls.empty());
    const std::pair<const char*, const char*> expected[] = {
        {"QuestNameEd", "Квест"},
        {"QuestTypeCMB", "8 - Вход в зону"},
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
        {"QuestStrViewEd", "kept"},
    };
    for (const auto& [name, text] : expected)
        EXPECT_EQ(Text(name), QString::fromUtf8(text)) << name;
    EXPECT_EQ(Combo("QuestEnclaveSuccessCMB")->currentIndex(), 23);
    EXPECT_TRUE(Pane()->toPlainText().startsWith("[Quest]\nName=Квест\nType=8\n"));
}

TEST_F(QuestTabFixture, TypeOutsideTheListOrTypedByHandCompilesAsMinusOne) {
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

TEST_F(QuestTabFixture, MissingFileIsReportedAndChangesNothing) {
    Edit("QuestNameEd")->setText("typed");
    Pane()->setPlainText("shown");
    tab.LoadQuest(dir.File("gone.quest"));
    EXPECT_EQ(Boxes(), QStringList{"Не удалось открыть файл " +
                                   QString::fromStdString(dir.File("gone.quest")) + " / Ошибка"});
    EXPECT_EQ(dialogs.Messages()[0].icon, pw::MsgIcon::Error);
    EXPECT_EQ(Text("QuestNameEd"), "typed");
    EXPECT_EQ(Pane()->toPlainText(), "shown");
}

struct QuestTabCompile : QuestTabFixture {
    void SetUp() override { Pane()->setPlainText("previous"); }
    void Compile(const QString& name) {
        Edit("QuestNameEd")->setText(name);
        Click("Button1");
    }
    bool Written(const std::string& name) { return Exists(dir.File("_Quests/" + name + kSuffix)); }
};

TEST_F(QuestTabCompile, NumbersAreCheckedBeforeTheNameAndGoToTheGeneralErrorDisplay) {
    Edit("QuestJobSuccessEd")->clear(); // an empty field is no number, though the file keeps "none" so
    Edit("QuestRunningTimeDaysEd")->setText("x");
    Compile("");
    EXPECT_EQ(Boxes(), QStringList{"'' is not a valid integer value / plotwright"});
    EXPECT_EQ(dialogs.Messages()[0].icon, pw::MsgIcon::Error);
    EXPECT_EQ(Pane()->toPlainText(), "previous");
    EXPECT_FALSE(std::filesystem::exists(dir.File("_Quests")));
}

TEST_F(QuestTabCompile, NameProblemsAndAMissingFolderGetTheEditorsOwnBox) {
    Compile("");
    Compile("a/b");
    Compile("..");
    workspace.configs->TmpFiles = false;
    workspace.configs->QuestsPath.clear();
    Compile("Foo");
    EXPECT_EQ(Boxes(),
              (QStringList{"Имя квеста не задано / Редактор квестов",
                           "Имя квеста не может содержать символы / и \\ / Редактор квестов",
                           "Имя квеста не может быть \".\" или \"..\" / Редактор квестов",
                           "В настройках не указан каталог для квестов (Quests). / Редактор квестов"}));
    for (const auto& box : dialogs.Messages()) {
        EXPECT_EQ(box.icon, pw::MsgIcon::None);
        EXPECT_EQ(box.owner, &tab);
    }
    EXPECT_EQ(Pane()->toPlainText(), "previous");
    EXPECT_FALSE(std::filesystem::exists(dir.File("_Quests")));
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

TEST_F(QuestTabFixture, CtrlSInThePaneOnlyPointsToTheCompileButton) {
    tab.show();
    Pane()->setPlainText("text");
    QTest::keyClick(Pane(), Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(Pane(), Qt::Key_X);
    EXPECT_EQ(Boxes(), QStringList{"Используйте кнопку \"Компилировать\"! / Редактор квестов"});
    EXPECT_EQ(dialogs.Messages()[0].icon, pw::MsgIcon::Information);
    EXPECT_EQ(Pane()->toPlainText(), "text");
    EXPECT_FALSE(Exists(dir.File("_Quests")));
}

TEST_F(QuestTabFixture, ShowQuestByNameShowsOnlyTheFirstMatchingFile) {
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

struct QuestTabSearch : QuestTabFixture {
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
    EXPECT_EQ(Box()->currentText(), "Результатов -  1 ");
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
    // A Windows-1251 name, as an archive made on Windows unpacks it.
    workspace.questFiles.push_back(WriteQuest(pw::Utf8ToCp1251("Рыбалка.quest"), {"Name=Fishing_Trip"}));
    Box()->setEditText("Fishing_Trip");
    QTest::keyClick(Box(), Qt::Key_Return);
    ASSERT_EQ(Items().size(), 1);
    emit Box()->activated(0);
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(Text("QuestNameEd"), "Fishing_Trip");
}

} // namespace
} // namespace pwtest
