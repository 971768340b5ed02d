// A rename across the library from the window: the preview with a box per file, the files left out, and
// the form showing the new name afterwards.

#include "gui/app/MainForm.h"
#include "gui/library/LibraryIndexService.h"

#include "AppFixture.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

class RenameWindowTest : public pwtest::AppFixture {
protected:
    void SetUp() override {
        using pwtest::WriteBytes;
        WriteBytes(InfosPath() + "/a.info", "[Info]\r\nName=Talk_A\r\nQuest=Q_Old\r\n");
        WriteBytes(InfosPath() + "/b.info", "[Info]\r\nName=Talk_B\r\nQuest= q_old \r\n");
        WriteBytes(QuestsPath() + "/Q_Old_quest_G3_World_01.quest", "[Quest]\r\nName=Q_Old\r\n");
        OpenWindow("[LocAdmin_Strings]\r\n");
        workspace->libraryIndex->WaitUntilBuilt();
    }
    // Renames Q_Old to Q_New from the dialogue tab's Quest field, leaving out the file named leftOut.
    void RenameFromQuestField(const QString& leftOut) {
        dialogs.onModal = [leftOut](QDialog* shown) {
            shown->findChild<QLineEdit*>("NewNameEd")->setText("Q_New");
            shown->findChild<QPushButton*>("PreviewBtn")->click();
            auto* tree = shown->findChild<QTreeWidget*>("ChangesTree");
            for (int i = 0; i < tree->topLevelItemCount(); ++i)
                if (tree->topLevelItem(i)->text(0).endsWith(leftOut))
                    tree->topLevelItem(i)->setCheckState(0, Qt::Unchecked);
            shown->findChild<QPushButton*>("ApplyBtn")->click();
        };
        form->FollowJump({pw::Jump::Kind::Rename, "Q_Old", pw::Jump::Thing::Quest});
    }
};

TEST_F(RenameWindowTest, ThePreviewsFilesAreAppliedButThoseLeftOutAndTheFormShowsTheNewName) {
    form->LoadInfo(InfosPath() + "/a.info");
    RenameFromQuestField("b.info");
    EXPECT_EQ(pwtest::ReadBytes(InfosPath() + "/a.info"), "[Info]\r\nName=Talk_A\r\nQuest=Q_New\r\n");
    EXPECT_EQ(pwtest::ReadBytes(InfosPath() + "/b.info"), "[Info]\r\nName=Talk_B\r\nQuest= q_old \r\n");
    EXPECT_EQ(pwtest::ReadBytes(QuestsPath() + "/Q_New_quest_G3_World_01.quest"),
              "[Quest]\r\nName=Q_New\r\n");
    EXPECT_FALSE(pwtest::Exists(QuestsPath() + "/Q_Old_quest_G3_World_01.quest"));
    EXPECT_EQ(form->findChild<QLineEdit*>("QuestEd")->text(), "Q_New");
    ASSERT_FALSE(dialogs.calls.empty());
    EXPECT_EQ(dialogs.calls.back().text, "Изменено файлов: 2.");
}

TEST_F(RenameWindowTest, EnterInTheNewNamePreviewsAndWritesNothing) {
    dialogs.onModal = [](QDialog* shown) {
        shown->show(); // the dialog's default button answers Enter only while it shows
        auto* name = shown->findChild<QLineEdit*>("NewNameEd");
        name->setText("Q_New");
        QTest::keyClick(name, Qt::Key_Return);
        EXPECT_EQ(shown->findChild<QTreeWidget*>("ChangesTree")->topLevelItemCount(), 3);
        QTest::keyClick(name, Qt::Key_Return); // again: still only the preview
        shown->reject();
    };
    form->FollowJump({pw::Jump::Kind::Rename, "Q_Old", pw::Jump::Thing::Quest});
    EXPECT_EQ(pwtest::ReadBytes(InfosPath() + "/a.info"), "[Info]\r\nName=Talk_A\r\nQuest=Q_Old\r\n");
    EXPECT_TRUE(pwtest::Exists(QuestsPath() + "/Q_Old_quest_G3_World_01.quest"));
}

TEST_F(RenameWindowTest, AChangedFormIsAskedAboutBeforeAnythingIsWritten) {
    form->LoadInfo(InfosPath() + "/a.info");
    form->findChild<QLineEdit*>("NameEd")->setText("Edited");
    RenameFromQuestField("none"); // "Нет" to the question: the dialog stays, nothing is written
    EXPECT_EQ(pwtest::ReadBytes(InfosPath() + "/a.info"), "[Info]\r\nName=Talk_A\r\nQuest=Q_Old\r\n");
    EXPECT_EQ(form->findChild<QLineEdit*>("NameEd")->text(), "Edited");
}

} // namespace
