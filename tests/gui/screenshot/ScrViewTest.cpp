#include "gui/screenshot/ScrView.h"

#include "ScriptedDialogs.h"
#include "TempDir.h"

#include <QAction>
#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

using Kind = pwtest::ScriptedDialogs::Kind;

QImage Picture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixelColor(x, y, QColor(x % 256, y % 256, (x + y) % 256));
    return picture;
}

class ScrViewWheelTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedLines = QApplication::wheelScrollLines();
        QApplication::setWheelScrollLines(3);
        viewer.ShowPicture(Picture(1500, 2000));
        viewer.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
        box = viewer.findChild<QScrollArea*>("ScrlBox");
        bar = box->verticalScrollBar();
    }
    void TearDown() override { QApplication::setWheelScrollLines(savedLines); }
    QPoint OverThePicture() const { return box->viewport()->mapToGlobal(box->viewport()->rect().center()); }

    int savedLines = 0;
    pw::TScrViewFrm viewer;
    QScrollArea* box = nullptr;
    QScrollBar* bar = nullptr;
};

TEST_F(ScrViewWheelTest, NotchOverThePictureScrollsTheSystemsLineCount) {
    ASSERT_EQ(bar->maximum(), 2000 - box->viewport()->height());
    const int line = bar->singleStep();
    EXPECT_TRUE(viewer.FormMouseWheel(OverThePicture(), -120));
    EXPECT_EQ(bar->value(), 3 * line);
    EXPECT_TRUE(viewer.FormMouseWheel(OverThePicture(), -240));
    EXPECT_EQ(bar->value(), 9 * line);
    EXPECT_TRUE(viewer.FormMouseWheel(OverThePicture(), 120));
    EXPECT_EQ(bar->value(), 6 * line);

    // Small turns of a touchpad add up to a notch.
    for (int i = 0; i < 3; ++i)
        viewer.FormMouseWheel(OverThePicture(), -40);
    EXPECT_EQ(bar->value(), 9 * line);

    QApplication::setWheelScrollLines(5);
    EXPECT_TRUE(viewer.FormMouseWheel(OverThePicture(), -120));
    EXPECT_EQ(bar->value(), 14 * line);
}

TEST_F(ScrViewWheelTest, OutsideTheScrollBoxInsideTheWheelIsLeftToTheControlThere) {
    const QPoint overScrollBar = bar->mapToGlobal(bar->rect().center());
    EXPECT_FALSE(viewer.FormMouseWheel(overScrollBar, -120));
    EXPECT_EQ(bar->value(), 0);
}

TEST_F(ScrViewWheelTest, WheelEventsReachTheViewerBeforeThePicture) {
    QWidget* picture = viewer.findChild<QWidget*>("ImgView");
    const QPoint at = picture->mapFromGlobal(OverThePicture());
    QWheelEvent down(at, picture->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(picture, &down);
    EXPECT_EQ(bar->value(), 3 * bar->singleStep());

    // A sideways turn is the scroll box's own. (Sent where a real one arrives after the picture lets it
    // pass: Qt passes no sent wheel event on to the parent.)
    QWidget* inside = box->viewport();
    const QPoint there = inside->rect().center();
    QWheelEvent sideways(there, inside->mapToGlobal(there), QPoint(), QPoint(-120, 0), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(inside, &sideways);
    EXPECT_EQ(bar->value(), 3 * bar->singleStep());
    EXPECT_GT(box->horizontalScrollBar()->value(), 0);
}

class ScrViewSaveTest : public ::testing::Test {
protected:
    void SetUp() override { viewer.ShowPicture(picture); }
    void Save() { viewer.findChild<QAction*>("Savetofile1")->trigger(); }
    QString InDir(const char* name) const { return QString::fromStdString(dir.File(name)); }
    int Choosers() const {
        int count = 0;
        for (const auto& call : dialogs.calls)
            count += call.kind == Kind::ChooseSaveFile;
        return count;
    }

    pwtest::TempDir dir;
    pwtest::ScriptedDialogs dialogs;
    const QImage picture = Picture(64, 48);
    pw::TScrViewFrm viewer;
};

TEST_F(ScrViewSaveTest, NameWithoutExtensionIsSavedAsPng) {
    dialogs.choices = {InDir("shot"), InDir("other.jpg")};
    Save();
    Save();
    EXPECT_TRUE(dialogs.Messages().empty());
    EXPECT_EQ(QImage(InDir("shot.PNG")).convertToFormat(QImage::Format_RGB888), picture);
    // A name with an extension of its own keeps it; the file is a PNG all the same.
    EXPECT_EQ(QImage(InDir("other.jpg"), "PNG").convertToFormat(QImage::Format_RGB888), picture);
}

TEST_F(ScrViewSaveTest, ExistingFileIsReplacedOnlyWhenTheUserSaysSo) {
    pwtest::WriteBytes(dir.File("a.png"), "old");
    dialogs.choices = {InDir("a.png"), std::nullopt};
    dialogs.answers = {pw::MsgAnswer::No};
    Save();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    const auto question = dialogs.Messages().front();
    EXPECT_TRUE(question.text.contains("a.png")) << question.text.toStdString();
    EXPECT_EQ(question.buttons, pw::MsgButtons::YesNoDefaultNo); // Enter keeps the old file
    // No goes back to the chooser, on the name given before.
    ASSERT_EQ(Choosers(), 2);
    EXPECT_EQ(dialogs.calls.back().initialName, InDir("a.png"));
    EXPECT_EQ(pwtest::ReadBytes(dir.File("a.png")), "old");

    dialogs.choices = {InDir("a.png")};
    dialogs.answers = {pw::MsgAnswer::Yes};
    Save();
    EXPECT_EQ(QImage(InDir("a.png")).convertToFormat(QImage::Format_RGB888), picture);
}

TEST_F(ScrViewSaveTest, CancelWritesNothingAndAFailedWriteIsReported) {
    Save(); // no choice: the user cancels
    EXPECT_EQ(Choosers(), 1);
    EXPECT_TRUE(dialogs.Messages().empty());

    dialogs.choices = {InDir("missing/shot.png")};
    Save();
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    const auto box = dialogs.Messages().front();
    EXPECT_TRUE(box.text.startsWith("Cannot create file \"" + InDir("missing/shot.png") + "\". "))
        << box.text.toStdString();
    EXPECT_EQ(box.icon, pw::MsgIcon::Error);
    EXPECT_FALSE(pwtest::Exists(dir.File("missing")));
}

} // namespace
