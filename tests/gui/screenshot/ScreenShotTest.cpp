#include "gui/screenshot/ScreenShot.h"

#include "gui/screenshot/ScrView.h"

#include "ScriptedDialogs.h"
#include "UserInput.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

namespace {

using Kind = pwtest::ScriptedDialogs::Kind;

// A shown, active window with a focused text field, so keys travel from the window on to a widget.
struct TestWindow {
    explicit TestWindow(QSize size) {
        widget.resize(size);
        edit = new QLineEdit(&widget);
        widget.show();
        Activate();
    }
    void Activate() {
        widget.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&widget));
        edit->setFocus();
    }
    QImage Inside() { return widget.grab().toImage().convertToFormat(QImage::Format_RGB888); }

    QWidget widget;
    QLineEdit* edit = nullptr;
};

// Counts the releases of Print Screen that reach a widget.
class ReleaseCounter : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyRelease && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Print)
            ++count;
        return false;
    }
};

class ScreenShotTest : public ::testing::Test {
protected:
    void TearDown() override { pw::TScrViewFrm::Shared().hide(); }
    int ModalRuns() const {
        int runs = 0;
        for (const auto& call : dialogs.calls)
            runs += call.kind == Kind::RunModal;
        return runs;
    }

    pwtest::ScriptedDialogs dialogs;
};

TEST_F(ScreenShotTest, LeftShiftPrintScreenCapturesTheWindowOnceAndTheKeyGoesOn) {
    TestWindow window(QSize(220, 140));
    pw::TScreenShot shot(&window.widget);
    ReleaseCounter counter;
    window.edit->installEventFilter(&counter);

    pwtest::PressShiftPrintScreen(window.widget);
    ASSERT_EQ(ModalRuns(), 1);
    EXPECT_EQ(dialogs.calls.back().dialog, &pw::TScrViewFrm::Shared());
    EXPECT_EQ(counter.count, 1);
    // Without a mark's text the picture is the window's pixels, unchanged.
    EXPECT_EQ(shot.Picture(), window.Inside());
    EXPECT_EQ(pw::TScrViewFrm::Shared().Picture(), shot.Picture());

    pwtest::PressShiftPrintScreen(window.widget, pwtest::kRightShift);
    EXPECT_EQ(ModalRuns(), 1);
    pwtest::PressShiftPrintScreen(window.widget);
    EXPECT_EQ(ModalRuns(), 2);
}

TEST_F(ScreenShotTest, WholeWindowTakesTheFrameAroundTheInside) {
    TestWindow window(QSize(220, 140));
    pw::TScreenShot shot(&window.widget);
    shot.SetClientOnly(false);
    shot.Capture();

    const QRect frame = window.widget.frameGeometry();
    EXPECT_EQ(shot.Picture().size(), frame.size());
    const QRect inside(window.widget.geometry().topLeft() - frame.topLeft(), window.widget.size());
    EXPECT_EQ(shot.Picture().copy(inside), window.Inside());
}

TEST_F(ScreenShotTest, WithoutAWindowToTakeItWarnsAndWatchesNoKeys) {
    QObject owner;
    pw::TScreenShot shot(&owner);
    QWidget parent;
    pw::TScreenShot onChild(new QWidget(&parent));
    TestWindow window(QSize(100, 80));
    pwtest::PressShiftPrintScreen(window.widget);
    EXPECT_TRUE(dialogs.calls.empty());

    shot.Capture();
    ASSERT_EQ(dialogs.calls.size(), 1u);
    const auto& box = dialogs.calls.front();
    EXPECT_EQ(box.text, "Cannot make a screenshot");
    EXPECT_EQ(box.caption, "Something is bad");
    EXPECT_EQ(box.icon, pw::MsgIcon::Warning);
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_TRUE(shot.Picture().isNull());
}

TEST_F(ScreenShotTest, CaptureWhileTheViewerIsOpenReplacesItsPicture) {
    TestWindow window(QSize(220, 140));
    pw::TScreenShot shot(&window.widget);
    QImage first;
    QImage second;
    QImage secondWindow;
    dialogs.onModal = [&](QDialog* shown) {
        auto* viewer = static_cast<pw::TScrViewFrm*>(shown);
        viewer->show();
        first = viewer->Picture();
        window.edit->setText(QStringLiteral("changed"));
        window.Activate();
        pwtest::PressShiftPrintScreen(window.widget);
        second = viewer->Picture();
        secondWindow = window.Inside();
        viewer->hide();
    };
    pwtest::PressShiftPrintScreen(window.widget);

    EXPECT_EQ(ModalRuns(), 1);
    EXPECT_NE(first, second);
    EXPECT_EQ(second, secondWindow);
}

TEST_F(ScreenShotTest, WithoutShowAfterMakeOnlyThePictureIsKept) {
    TestWindow window(QSize(120, 90));
    pw::TScreenShot shot(&window.widget);
    shot.SetShowAfterMake(false);
    pwtest::PressShiftPrintScreen(window.widget);
    EXPECT_EQ(ModalRuns(), 0);
    EXPECT_EQ(shot.Picture(), window.Inside());
}

TEST_F(ScreenShotTest, OfTwoWindowsOnlyTheOneInUseCaptures) {
    TestWindow a(QSize(220, 140));
    pw::TScreenShot shotA(&a.widget);
    TestWindow b(QSize(300, 90));
    pw::TScreenShot shotB(&b.widget);

    b.Activate();
    pwtest::PressShiftPrintScreen(b.widget);
    EXPECT_EQ(ModalRuns(), 1);
    EXPECT_EQ(shotB.Picture().size(), QSize(300, 90));
    EXPECT_TRUE(shotA.Picture().isNull());

    a.Activate();
    pwtest::PressShiftPrintScreen(a.widget);
    EXPECT_EQ(ModalRuns(), 2);
    EXPECT_EQ(shotA.Picture().size(), QSize(220, 140));
}

} // namespace
