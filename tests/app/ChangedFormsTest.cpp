// The editor forms in the main window: the "Правка" menu, and the questions before a drop or the end of
// the program gives up a changed form.

#include "app/MainForm.h"

#include "AppFixture.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace {

class ChangedFormsTest : public pwtest::AppFixture {
protected:
    void SetUp() override {
        QApplication::setQuitOnLastWindowClosed(false); // as the program runs
        pwtest::WriteBytes(InfosPath() + "/gorn.info", "[Info]\r\nName=Gorn_Hello\r\n");
        OpenWindow("[LocAdmin_Strings]\r\n");
        form->show();
    }
    void TearDown() override {
        form.reset();
        QApplication::setQuitOnLastWindowClosed(true);
    }
    template <typename T = QLineEdit> static T* Find(QWidget* window, const char* name) {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QStringList Questions() const {
        QStringList texts;
        for (const auto& box : dialogs.Messages())
            texts << box.text;
        return texts;
    }
    static QString Dialogue(const QString& name) {
        return "Диалог «" + name + "» изменён и не скомпилирован. Отказаться от изменений?";
    }
};

TEST_F(ChangedFormsTest, EditMenuUndoesAndRedoesTheFormOfTheTabShown) {
    QStringList menus;
    for (const QAction* menu : form->menuBar()->actions())
        menus << menu->text();
    EXPECT_EQ(menus, (QStringList{"Файл", "Настройки", "Правка"}));
    auto* undo = Find<QAction>(form.get(), "UndoItem");
    auto* redo = Find<QAction>(form.get(), "RedoItem");
    EXPECT_FALSE(undo->isEnabled());

    QLineEdit* name = Find(form.get(), "NameEd");
    QTest::keyClicks(name, "Diego");
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    auto* tabs = Find<QTabWidget>(form.get(), "PgCtrl");
    tabs->setCurrentIndex(1); // the quest form has no steps
    EXPECT_FALSE(undo->isEnabled());

    tabs->setCurrentIndex(0);
    undo->trigger();
    EXPECT_EQ(name->text(), "");
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_TRUE(redo->isEnabled());
    redo->trigger();
    EXPECT_EQ(name->text(), "Diego");
}

TEST_F(ChangedFormsTest, ADropOntoAChangedFormAsksAndNoKeepsIt) {
    const QString gorn = QString::fromStdString(InfosPath() + "/gorn.info");
    form->OpenDroppedFile({gorn}); // only loaded: no question
    Find(form.get(), "NameEd")->setText("Gorn_Changed");
    form->OpenDroppedFile({gorn});
    EXPECT_EQ(Questions(), QStringList{Dialogue("Gorn_Changed")});
    EXPECT_EQ(Find(form.get(), "NameEd")->text(), "Gorn_Changed");

    dialogs.answers = {pw::MsgAnswer::Yes};
    form->OpenDroppedFile({gorn});
    EXPECT_EQ(Find(form.get(), "NameEd")->text(), "Gorn_Hello");
}

TEST_F(ChangedFormsTest, QuittingAsksAboutEveryChangedFormFirstAndNoKeepsTheProgram) {
    Find<QAction>(form.get(), "N10")->trigger();
    pw::TForm1* second = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != form.get() && qobject_cast<pw::TForm1*>(window))
            second = static_cast<pw::TForm1*>(window);
    ASSERT_NE(second, nullptr);
    Find(form.get(), "NameEd")->setText("Diego");
    Find(second, "QuestNameEd")->setText("Fish");
    const QString quest = "Квест «Fish» изменён и не скомпилирован. Отказаться от изменений?";

    second->close(); // only hidden
    form->close();
    EXPECT_EQ(Questions(), QStringList{Dialogue("Diego")});
    EXPECT_TRUE(form->isVisible());

    dialogs.calls.clear();
    dialogs.answers = {pw::MsgAnswer::Yes, pw::MsgAnswer::No};
    Find<QAction>(form.get(), "N2")->trigger();
    EXPECT_EQ(Questions(), (QStringList{Dialogue("Diego"), quest}));
    EXPECT_TRUE(form->isVisible());

    dialogs.calls.clear();
    dialogs.answers = {pw::MsgAnswer::Yes, pw::MsgAnswer::Yes, pw::MsgAnswer::Yes};
    QTimer::singleShot(0, form.get(), [this] { Find<QAction>(form.get(), "N2")->trigger(); });
    QTimer giveUp;
    QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    giveUp.start(5000);
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_EQ(Questions(), (QStringList{Dialogue("Diego"), quest, "Завершить работу в приложении?"}));
    EXPECT_FALSE(form->isVisible());
}

} // namespace
