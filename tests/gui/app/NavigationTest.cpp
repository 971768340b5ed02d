// Finding one's way through the library from the main window: the jumps from the forms' names, back and
// forward, and the browser.

#include "gui/app/MainForm.h"
#include "gui/app/NavigationHistory.h"
#include "gui/library/LibraryBrowser.h"
#include "gui/library/LibraryIndexService.h"

#include "AppFixture.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

namespace {

using pw::Place;

TEST(NavigationHistory, MovesLikeABrowserAndANewPlaceDropsThoseAhead) {
    pw::NavigationHistory history;
    EXPECT_FALSE(history.CanGoBack());
    const Place a{Place::Tab::Dialogue, "a"}, b{Place::Tab::Quest, "b"}, c{Place::Tab::StringTable, "c"};
    history.Visit(a);
    history.Visit(b);
    history.Visit(b); // shown again: no new place
    ASSERT_TRUE(history.CanGoBack());
    EXPECT_EQ(history.BackPlace(), a);
    history.MovedBack();
    EXPECT_FALSE(history.CanGoBack());
    ASSERT_TRUE(history.CanGoForward());
    EXPECT_EQ(history.ForwardPlace(), b);
    history.Visit(c);
    EXPECT_FALSE(history.CanGoForward());
    EXPECT_EQ(history.BackPlace(), a);
}

class NavigationTest : public pwtest::AppFixture {
protected:
    void SetUp() override {
        using pwtest::WriteBytes;
        WriteBytes(InfosPath() + "/child.info",
                   "[Info]\r\nName=Diego_Child\r\nOwner=Diego\r\nParent=diego_parent\r\nQuest=Q_Ardea\r\n");
        WriteBytes(InfosPath() + "/parent.info", "[Info]\r\nName=Diego_Parent\r\nOwner=Diego\r\n");
        WriteBytes(QuestsPath() + "/q.quest", "[Quest]\r\nName=Q_Ardea\r\nLogTopic=Q_Ardea_Topic\r\n");
        OpenWindow("[LocAdmin_Strings]\r\nOther=x;;\r\nq_ardea_topic=Find the smugglers;;\r\n");
        workspace->libraryIndex->WaitUntilBuilt();
    }
    template <class T> T* Find(const char* name) { return form->findChild<T*>(name); }
    QString Text(const char* field) { return Find<QLineEdit>(field)->text(); }
    QWidget* CurrentTab() { return Find<QTabWidget>("PgCtrl")->currentWidget(); }
    void CtrlClick(const char* field) {
        QTest::mouseClick(Find<QLineEdit>(field), Qt::LeftButton, Qt::ControlModifier);
    }
    void Trigger(const char* action) { Find<QAction>(action)->trigger(); }
};

TEST_F(NavigationTest, JumpsLandOnWhatANameNamesAndBackAndForwardRetraceThem) {
    form->LoadInfo(InfosPath() + "/child.info");
    CtrlClick("ParentEd");
    EXPECT_EQ(Text("NameEd"), "Diego_Parent");
    EXPECT_EQ(CurrentTab(), Find<QWidget>("tbInfo"));

    Trigger("BackAction");
    EXPECT_EQ(Text("NameEd"), "Diego_Child");
    CtrlClick("QuestEd");
    EXPECT_EQ(CurrentTab(), Find<QWidget>("tbQuest"));
    EXPECT_EQ(Text("QuestNameEd"), "Q_Ardea");
    CtrlClick("QuestLogTopicEd");
    EXPECT_EQ(CurrentTab(), Find<QWidget>("TabSheet1"));
    EXPECT_EQ(Find<QPlainTextEdit>("SynMemText")->textCursor().selectedText(),
              "q_ardea_topic=Find the smugglers;;");

    // The jump to the parent was left by going back, so it is no longer ahead.
    Trigger("BackAction");
    EXPECT_EQ(CurrentTab(), Find<QWidget>("tbQuest"));
    Trigger("BackAction");
    EXPECT_EQ(CurrentTab(), Find<QWidget>("tbInfo"));
    EXPECT_EQ(Text("NameEd"), "Diego_Child");
    EXPECT_FALSE(Find<QAction>("BackAction")->isEnabled());
    Trigger("ForwardAction");
    EXPECT_EQ(CurrentTab(), Find<QWidget>("tbQuest"));
}

TEST_F(NavigationTest, ANameTheLibraryLacksIsSaidInTheStatusBarAndOpensNothing) {
    form->LoadInfo(InfosPath() + "/child.info");
    Find<QLineEdit>("ParentEd")->setText("Nobody_Here");
    CtrlClick("ParentEd");
    EXPECT_EQ(form->statusBar()->currentMessage(), "Диалог «Nobody_Here» в библиотеке не найден");
    EXPECT_EQ(Text("NameEd"), "Diego_Child");
    // The next jump's outcome takes its place.
    form->FollowJump({pw::Jump::Kind::StringEntry, "Nowhere_01", pw::Jump::Thing::String});
    EXPECT_EQ(form->statusBar()->currentMessage(), "Строка «Nowhere_01» в таблице строк не найдена");
    form->FollowJump({pw::Jump::Kind::StringEntry, "Q_Ardea_Topic", pw::Jump::Thing::String});
    EXPECT_EQ(CurrentTab(), Find<QWidget>("TabSheet1"));
    EXPECT_EQ(form->statusBar()->currentMessage(), "");
    Find<QTabWidget>("PgCtrl")->setCurrentWidget(Find<QWidget>("tbInfo"));

    // A file renamed outside the program since the index read it is found again under its new name.
    pwtest::WriteBytes(InfosPath() + "/parent.info", "[Info]\r\nName=Diego_Renamed\r\n");
    pwtest::WriteBytes(InfosPath() + "/new.info", "[Info]\r\nName=Diego_Parent\r\nOwner=Gorn\r\n");
    Find<QLineEdit>("ParentEd")->setText("Diego_Parent");
    // The form was changed, so the jump asks first (once the index is read again); "Нет" keeps it.
    CtrlClick("ParentEd");
    pw::TForm1::WaitForWork();
    ASSERT_FALSE(dialogs.calls.empty());
    EXPECT_EQ(dialogs.calls.back().text,
              "Диалог «Diego_Child» изменён и не скомпилирован. Отказаться от изменений?");
    EXPECT_EQ(Text("NameEd"), "Diego_Child");
    dialogs.answers = {pw::MsgAnswer::Yes};
    CtrlClick("ParentEd");
    EXPECT_EQ(Text("NameEd"), "Diego_Parent");
    EXPECT_TRUE(Find<QPlainTextEdit>("SynInfoMem")->toPlainText().contains("Owner=Gorn"));
}

TEST_F(NavigationTest, AJumpDuringABuildLandsOnceTheBuildIsDoneAndTheNewestJumpWins) {
    pwtest::WriteBytes(InfosPath() + "/late.info", "[Info]\r\nName=Diego_Late\r\nOwner=Diego\r\n");
    workspace->libraryIndex->Rebuild(); // the index in use does not know Diego_Late yet
    form->FollowJump({pw::Jump::Kind::Dialogue, "Diego_Parent"});
    form->FollowJump({pw::Jump::Kind::Dialogue, "Diego_Late"});
    EXPECT_EQ(Text("NameEd"), ""); // waiting, with the window answering
    pw::TForm1::WaitForWork();
    EXPECT_EQ(Text("NameEd"), "Diego_Late");
    EXPECT_EQ(form->statusBar()->currentMessage(), "");
    EXPECT_FALSE(Find<QAction>("BackAction")->isEnabled()); // the jump given up went nowhere
}

TEST_F(NavigationTest, QuittingWhileAJumpWaitsAsksAndStopsItOnYes) {
    form->show();
    workspace->libraryIndex->Rebuild();
    form->FollowJump({pw::Jump::Kind::Dialogue, "Diego_Parent"});
    form->close(); // "Нет": the window stays and the jump goes on waiting
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, "Ещё идёт работа в фоне. Остановить её и выйти? Файлы, которые она "
                                          "не успела записать, останутся как были.");
    EXPECT_TRUE(form->isVisible());
    dialogs.answers = {pw::MsgAnswer::Yes};
    form->close();
    EXPECT_FALSE(form->isVisible());
    QApplication::processEvents();
    EXPECT_EQ(Text("NameEd"), ""); // stopped: it never lands
}

TEST_F(NavigationTest, TheBrowserFiltersCountsAndOpensWhatIsChosen) {
    form->LoadInfo(InfosPath() + "/parent.info");
    form->FollowJump({pw::Jump::Kind::ChildDialogues, "Diego_Parent"});
    auto* browser = form->findChild<pw::LibraryBrowser*>();
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->findChild<QLineEdit*>("FilterEd")->text(), "parent:Diego_Parent");
    EXPECT_EQ(browser->findChild<QLabel*>("CountLbl")->text(), "Найдено: 1 из 3 (показано 2)");

    auto* tree = browser->findChild<QTreeView*>("LibraryTree");
    // Diego, then his parent dialogue, then the child the filter kept.
    const QModelIndex child =
        tree->model()->index(0, 0, tree->model()->index(0, 0, tree->model()->index(0, 0)));
    EXPECT_EQ(child.data().toString(), "Diego_Child");
    tree->setCurrentIndex(child);
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_EQ(Text("NameEd"), "Diego_Child");
}

// The dialogues shown only to place a match are grey and counted apart; a file that could not be read
// counts as any other; Enter in the filter line opens the only match, Down goes into the tree.
TEST_F(NavigationTest, TheBrowserTellsMatchesFromTheirPlaceAndEnterOpensTheOnlyOne) {
    pwtest::WriteBytes(InfosPath() + "/broken.info", "");
    workspace->libraryIndex->Rebuild();
    workspace->libraryIndex->WaitUntilBuilt();
    pw::LibraryBrowser* browser = form->ShowBrowser();
    auto* filter = browser->findChild<QLineEdit*>("FilterEd");
    auto* count = browser->findChild<QLabel*>("CountLbl");
    auto* tree = browser->findChild<QTreeView*>("LibraryTree");
    browser->SetFilter("Diego_Child");
    EXPECT_EQ(count->text(), "Найдено: 1 из 4 (показано 2)");
    const QModelIndex parent = tree->model()->index(0, 0, tree->model()->index(0, 0));
    ASSERT_EQ(parent.data().toString(), "Diego_Parent");
    EXPECT_TRUE(parent.data(Qt::ForegroundRole).isValid());
    EXPECT_FALSE(tree->model()->index(0, 0, parent).data(Qt::ForegroundRole).isValid());
    QTest::keyClick(filter, Qt::Key_Down);
    EXPECT_EQ(browser->focusWidget(), tree);
    QTest::keyClick(filter, Qt::Key_Return);
    EXPECT_EQ(Text("NameEd"), "Diego_Child");

    browser->SetFilter("broken");
    EXPECT_EQ(count->text(), "Найдено: 1 из 4");
    browser->SetFilter("Diego");
    QTest::keyClick(filter, Qt::Key_Return); // two match: nothing is opened
    EXPECT_EQ(Text("NameEd"), "Diego_Child");
}

TEST_F(NavigationTest, TheBrowserOfAnEditModeWindowClosesWithIt) {
    form->show();
    Find<QAction>("N10")->trigger();
    pw::TForm1* second = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != form.get() && qobject_cast<pw::TForm1*>(window))
            second = static_cast<pw::TForm1*>(window);
    ASSERT_NE(second, nullptr);
    pw::LibraryBrowser* browser = second->ShowBrowser();
    ASSERT_TRUE(browser->isVisible());
    second->close();
    EXPECT_FALSE(browser->isVisible());
}

} // namespace
