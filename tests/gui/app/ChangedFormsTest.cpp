// The editor forms in the main window: the "Правка" menu, and the questions before a drop or the end of
// the program gives up a changed form.

#include "gui/app/MainForm.h"

#include "AppFixture.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QMenuBar>
#include <QTabBar>
#include <QTableWidget>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace {

class ChangedFormsTest : public pwtest::AppFixture {
protected:
    void SetUp() override {
        QApplication::setQuitOnLastWindowClosed(false); // as the program runs
        OpenWindow("[LocAdmin_Strings]\r\n");
        form->show();
    }
    void TearDown() override {
        form.reset();
        QApplication::setQuitOnLastWindowClosed(true);
    }
    template <typename T = QLineEdit> static T* Find(QWidget* window, const char* name) {
        return window->findChild<T*>(name);
    }
    QStringList Questions() const {
        QStringList texts;
        for (const auto& box : dialogs.Messages())
            texts << box.text;
        return texts;
    }
};

TEST_F(ChangedFormsTest, EditMenuUndoesAndRedoesTheFormOfTheTabShown) {
    QStringList menus;
    for (const QAction* menu : form->menuBar()->actions())
        menus << menu->text();
    EXPECT_EQ(menus, (QStringList{"Файл", "Настройки", "Правка", "Вид"}));
    auto* undo = Find<QAction>(form.get(), "UndoItem");
    auto* redo = Find<QAction>(form.get(), "RedoItem");
    EXPECT_FALSE(undo->isEnabled());

    QLineEdit* name = Find(form.get(), "NameEd");
    QTest::keyClicks(name, "Diego");
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_TRUE(undo->isEnabled());
    Find<QTabWidget>(form.get(), "PgCtrl")->setCurrentIndex(1); // the quest form has no steps
    EXPECT_FALSE(undo->isEnabled());
    Find<QTabWidget>(form.get(), "PgCtrl")->setCurrentIndex(0);
    undo->trigger();
    EXPECT_EQ(name->text(), "");
    EXPECT_FALSE(undo->isEnabled());
    redo->trigger();
    EXPECT_EQ(name->text(), "Diego");
}

// Tab in a cell editor goes on to the next cell, and past the row's end to the form's next control,
// never out of the form; the keys of "Правка" act wherever the focus is in the window, the tab bar too.
TEST_F(ChangedFormsTest, TabStaysInTheFormAndUndoActsWhereverTheFocusIs) {
    pwtest::WriteBytes(InfosPath() + "/d.info", "[Info]\r\nName=Diego_Hello\r\nOwner=Diego\r\n"
                                                "InfoScript_Commands=Say\r\nInfoScript_Texts=Diego_01\r\n");
    form->LoadInfo(InfosPath() + "/d.info");
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    auto* grid = Find<QTableWidget>(form.get(), "CommandList");
    grid->setFocus();
    QCursor::setPos(grid->viewport()->mapToGlobal(grid->visualRect(grid->model()->index(0, 4)).center()));
    QTest::keyClick(grid, Qt::Key_Return, Qt::ControlModifier);
    QLineEdit* editor = Find(form.get(), "CellEditor");
    ASSERT_TRUE(editor->hasFocus());
    QTest::keyClicks(editor, "x");
    QTest::keyClick(editor, Qt::Key_Tab);
    EXPECT_EQ(grid->item(0, 4)->text(), "x");
    EXPECT_TRUE(editor->hasFocus());
    EXPECT_EQ(editor->text(), "Diego_01");
    QTest::keyClick(editor, Qt::Key_Tab);
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    EXPECT_TRUE(Find<QWidget>(form.get(), "tbInfo")->isAncestorOf(focused))
        << focused->metaObject()->className();
    QCoreApplication::processEvents(); // the cell's change becomes a step

    QTabBar* tabs = Find<QTabWidget>(form.get(), "PgCtrl")->tabBar();
    tabs->setFocus();
    QTest::keyClick(tabs, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(grid->item(0, 4)->text(), "");
    QTest::keyClick(tabs, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(grid->item(0, 4)->text(), "x");
}

TEST_F(ChangedFormsTest, ADropOrTheEndOfTheProgramAsksAboutEveryChangedFormAndNoKeepsIt) {
    pwtest::WriteBytes(InfosPath() + "/gorn.info", "[Info]\r\nName=Gorn_Hello\r\n");
    Find<QAction>(form.get(), "N10")->trigger();
    pw::TForm1* second = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != form.get() && qobject_cast<pw::TForm1*>(window))
            second = static_cast<pw::TForm1*>(window);
    ASSERT_NE(second, nullptr);
    Find(form.get(), "NameEd")->setText("Diego");
    Find(second, "QuestNameEd")->setText("Fish");
    const QString dialogue = "Диалог «Diego» изменён и не скомпилирован. Отказаться от изменений?";
    const QString quest = "Квест «Fish» изменён и не скомпилирован. Отказаться от изменений?";

    form->OpenDroppedFile({QString::fromStdString(InfosPath() + "/gorn.info")});
    second->close(); // only hidden, it asks nothing
    form->close();
    EXPECT_EQ(Questions(), (QStringList{dialogue, dialogue}));
    EXPECT_EQ(Find(form.get(), "NameEd")->text(), "Diego");
    EXPECT_TRUE(form->isVisible());

    dialogs.calls.clear();
    dialogs.answers = {pw::MsgAnswer::Yes, pw::MsgAnswer::No};
    Find<QAction>(form.get(), "N2")->trigger();
    EXPECT_EQ(Questions(), (QStringList{dialogue, quest}));
    EXPECT_TRUE(form->isVisible());

    // All given up and the end confirmed, the program ends without asking again.
    dialogs.calls.clear();
    dialogs.answers = {pw::MsgAnswer::Yes, pw::MsgAnswer::Yes, pw::MsgAnswer::Yes};
    QTimer::singleShot(0, form.get(), [this] { Find<QAction>(form.get(), "N2")->trigger(); });
    QTimer::singleShot(5000, form.get(), [] { QCoreApplication::exit(1); }); // gives up
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_EQ(Questions(), (QStringList{dialogue, quest, "Завершить работу в приложении?"}));
}

} // namespace
