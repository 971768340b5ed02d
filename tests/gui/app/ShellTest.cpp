// The main window's shell: the edit-mode window, exit, About, the tray, and screenshots of a window.

#include "core/data/Version.h"
#include "gui/app/AboutBox.h"
#include "gui/app/MainForm.h"
#include "gui/app/TrayIcon.h"
#include "gui/screenshot/ScrView.h"

#include "AppFixture.h"
#include "UserInput.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

class ShellTest : public pwtest::AppFixture {
protected:
    void SetUp() override {
        QApplication::setQuitOnLastWindowClosed(false); // as the program runs
        pwtest::WriteBytes(InfosPath() + "/a.info", "[Info]\r\n");
        OpenWindow("[LocAdmin_Strings]\r\nid1=x;\r\n");
        workspace->aboutBox = &about;
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    void TearDown() override {
        form.reset(); // before the About box it shows
        QApplication::setQuitOnLastWindowClosed(true);
    }

    static void Trigger(QWidget* window, const char* item) {
        auto* action = window->findChild<QAction*>(item);
        ASSERT_NE(action, nullptr) << item;
        action->trigger();
    }
    static std::vector<pw::TForm1*> EditorWindows() {
        std::vector<pw::TForm1*> windows;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* editor = qobject_cast<pw::TForm1*>(window))
                windows.push_back(editor);
        return windows;
    }
    pw::TForm1* EditModeWindow() const {
        for (pw::TForm1* window : EditorWindows())
            if (window != form.get())
                return window;
        return nullptr;
    }
    // Runs the event loop until the program is told to end, or gives up after a while with 1.
    static int RunUntilTheEnd() {
        QTimer giveUp;
        giveUp.setSingleShot(true);
        QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        giveUp.start(5000);
        return QCoreApplication::exec();
    }

    pw::TAboutBox about;
};

TEST_F(ShellTest, EditModeOpensASecondFullEditorThatRebuildsTheSharedLibrary) {
    pwtest::WriteBytes(InfosPath() + "/b.info", "[Info]\r\n"); // added after start-up
    pwtest::WriteBytes(TablePath(), "[LocAdmin_Strings]\r\nid1=y;\r\n");
    const auto firstTable = workspace->stringTable;
    ASSERT_EQ(workspace->infoFiles.size(), 1u);

    Trigger(form.get(), "N10");
    pw::TForm1* second = EditModeWindow();
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_TRUE(second->isVisible());
    EXPECT_TRUE(form->isVisible());
    EXPECT_NE(second->windowTitle(), form->windowTitle()); // the two can be told apart
    EXPECT_NE(form->findChild<QSystemTrayIcon*>(), nullptr);
    EXPECT_EQ(second->findChild<QSystemTrayIcon*>(), nullptr);
    EXPECT_LT(second->palette().color(QPalette::Window).lightness(),
              form->palette().color(QPalette::Window).lightness());

    // Both windows go on with the rescanned library and the reopened table.
    EXPECT_EQ(workspace->infoFiles.size(), 2u);
    EXPECT_NE(workspace->stringTable, firstTable);
    for (pw::TForm1* window : {second, form.get()}) // a table's text is in its pane once the tab is shown
        window->findChild<QTabWidget*>("PgCtrl")->setCurrentIndex(2);
    pw::TForm1::WaitForWork(); // and the table is read, in the background
    EXPECT_EQ(second->findChild<QPlainTextEdit*>("SynMemText")->toPlainText(),
              "[LocAdmin_Strings]\nid1=y;\n");
    EXPECT_EQ(form->findChild<QPlainTextEdit*>("SynMemText")->toPlainText(), "[LocAdmin_Strings]\nid1=x;\n");
}

TEST_F(ShellTest, AThirdEditorWindowIsRefused) {
    Trigger(form.get(), "N10");
    pw::TForm1* second = EditModeWindow();
    ASSERT_NE(second, nullptr);
    Trigger(second, "N10");
    Trigger(form.get(), "N10");

    ASSERT_EQ(dialogs.Messages().size(), 2u);
    for (const auto& box : dialogs.Messages()) {
        EXPECT_EQ(box.text, "Нельзя открыть более двух экземпляров редактора");
        EXPECT_EQ(box.icon, pw::MsgIcon::Information);
    }
    EXPECT_EQ(dialogs.Messages()[0].owner, second);
    EXPECT_EQ(EditorWindows().size(), 2u);
}

TEST_F(ShellTest, ClosedEditModeWindowComesBackAsItWasLeft) {
    Trigger(form.get(), "N10");
    pw::TForm1* second = EditModeWindow();
    ASSERT_NE(second, nullptr);
    second->findChild<QLineEdit*>("NameEd")->setText(QStringLiteral("Kept"));
    second->close();
    EXPECT_FALSE(second->isVisible());
    EXPECT_TRUE(form->isVisible());

    Trigger(form.get(), "N10");
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(EditModeWindow(), second);
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(second->findChild<QLineEdit*>("NameEd")->text(), "Kept");
}

TEST_F(ShellTest, ExitAsksAndNoLeavesEveryWindowAsItWas) {
    Trigger(form.get(), "N10");
    Trigger(form.get(), "N2");
    Trigger(EditModeWindow(), "N2");
    ASSERT_EQ(dialogs.Messages().size(), 2u);
    const auto box = dialogs.Messages().front();
    EXPECT_EQ(box.text, "Завершить работу в приложении?");
    EXPECT_EQ(box.icon, pw::MsgIcon::Question);
    EXPECT_EQ(box.buttons, pw::MsgButtons::YesNo);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(EditModeWindow()->isVisible());
}

TEST_F(ShellTest, ExitAnsweredYesClosesEveryWindowAndEndsTheProgram) {
    Trigger(form.get(), "N10");
    pw::TForm1* second = EditModeWindow();
    dialogs.answers = {pw::MsgAnswer::Yes};
    QTimer::singleShot(0, second, [second] { Trigger(second, "N2"); });
    EXPECT_EQ(RunUntilTheEnd(), 0);
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(second->isVisible());
}

TEST_F(ShellTest, ExitFromTheTrayEndsTheProgramWhileTheWindowIsHidden) {
    form->hide();
    dialogs.answers = {pw::MsgAnswer::Yes};
    QTimer::singleShot(0, form.get(), [this] { Trigger(form.get(), "N33"); });
    EXPECT_EQ(RunUntilTheEnd(), 0);
    EXPECT_EQ(dialogs.Messages().size(), 1u);
}

TEST_F(ShellTest, TheFirstWindowsCloseBoxEndsTheProgramWithoutAQuestion) {
    Trigger(form.get(), "N10");
    QTimer::singleShot(0, form.get(), [this] { form->close(); });
    EXPECT_EQ(RunUntilTheEnd(), 0);
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(ShellTest, AboutHidesTheAskingWindowUntilItIsClosed) {
    Trigger(form.get(), "N10");
    pw::TForm1* second = EditModeWindow();
    std::vector<std::pair<bool, bool>> shownDuring; // first window, edit-mode window
    dialogs.onModal = [&](QDialog* shown) {
        EXPECT_EQ(shown, &about);
        shownDuring.emplace_back(form->isVisible(), second->isVisible());
        QStringList texts; // it names the version plotwright-cli --version prints
        for (const QLabel* label : shown->findChildren<QLabel*>())
            texts << label->text();
        EXPECT_TRUE(texts.join('\n').contains(QString::fromLatin1(pw::kProgramVersion)))
            << texts.join('\n').toStdString();
    };
    Trigger(form.get(), "N17");
    Trigger(second, "N17");
    EXPECT_EQ(shownDuring, (std::vector<std::pair<bool, bool>>{{false, true}, {true, false}}));
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(second->isVisible());

    // Asked from the tray while the window waits there, it leaves the window there.
    form->hide();
    Trigger(form.get(), "N32");
    EXPECT_EQ(shownDuring.size(), 3u);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(ShellTest, MinimisingGoesToTheTrayAndALeftClickBringsTheWindowBack) {
    auto* tray = form->findChild<pw::TrayIcon*>();
    ASSERT_NE(tray, nullptr);
    tray->SetTrayProbe([] { return true; });
    auto* icon = form->findChild<QSystemTrayIcon*>("JvTrayIcon1");
    ASSERT_NE(icon, nullptr);
    ASSERT_NE(icon->contextMenu(), nullptr); // what the right button opens
    EXPECT_TRUE(icon->contextMenu()->actions().contains(form->findChild<QAction*>("N30")));

    form->showMinimized();
    EXPECT_TRUE(QTest::qWaitFor([this] { return !form->isVisible(); }, 2000));
    emit icon->activated(QSystemTrayIcon::Context); // the right button only opens the menu
    QCoreApplication::processEvents();
    EXPECT_FALSE(form->isVisible());
    emit icon->activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMinimized());

    form->showMinimized();
    EXPECT_TRUE(QTest::qWaitFor([this] { return !form->isVisible(); }, 2000));
    Trigger(form.get(), "N30");
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMinimized());
}

TEST_F(ShellTest, WithoutATrayMinimisingKeepsTheTaskBarEntry) {
    form->findChild<pw::TrayIcon*>()->SetTrayProbe([] { return false; });
    form->showMinimized();
    QTest::qWait(50);
    EXPECT_TRUE(form->isMinimized());
    EXPECT_TRUE(form->isVisible());
}

TEST_F(ShellTest, LeftShiftPrintScreenTakesTheWholeWindowInUse) {
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    pwtest::PressShiftPrintScreen(*form);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].dialog, &pw::TScrViewFrm::Shared());
    const QImage first = pw::TScrViewFrm::Shared().Picture();
    EXPECT_EQ(first.size(), form->frameGeometry().size());

    Trigger(form.get(), "N10");
    pw::TForm1* second = EditModeWindow();
    second->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(second));
    pwtest::PressShiftPrintScreen(*second);
    ASSERT_EQ(dialogs.calls.size(), 2u);
    const QImage picture = pw::TScrViewFrm::Shared().Picture();
    const QRect inside(second->geometry().topLeft() - second->frameGeometry().topLeft(), second->size());
    EXPECT_EQ(picture.copy(inside), second->grab().toImage().convertToFormat(QImage::Format_RGB888));
}

} // namespace
