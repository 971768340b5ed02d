// A rename across the library from the window: the preview with a box per file, the files left out, an
// unfinished rename finished from its message, and the forms and search boxes showing the new names after.

#include "gui/app/MainForm.h"
#include "gui/common/BackgroundWork.h"
#include "gui/library/LibraryIndexService.h"

#include "core/data/Platform.h"

#include "AppFixture.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <functional>
#include <memory>

namespace {

class RenameWindowTest : public pwtest::AppFixture {
protected:
    void SetUp() override {
        using pwtest::WriteBytes;
        WriteBytes(InfosPath() + "/a.info", "[Info]\r\nName=Talk_A\r\nQuest=Q_Old\r\n");
        WriteBytes(InfosPath() + "/sub/b.info", "[Info]\r\nName=Talk_B\r\nQuest= q_old \r\n");
        WriteBytes(QuestsPath() + "/Q_Old_quest_G3_World_01.quest", "[Quest]\r\nName=Q_Old\r\n");
        OpenWindow("[LocAdmin_Strings]\r\n");
        workspace->libraryIndex->WaitUntilBuilt();
    }
    static QTreeView* Tree(QDialog* shown) { return shown->findChild<QTreeView*>("ChangesTree"); }
    static QString Summary(QDialog* shown) { return shown->findChild<QLabel*>("SummaryLbl")->text(); }
    // The preview's row of the file whose shown path is path.
    static QModelIndex FileRow(QDialog* shown, const QString& path) {
        const QAbstractItemModel* model = Tree(shown)->model();
        for (int row = 0; row < model->rowCount(); ++row)
            if (model->index(row, 0).data().toString() == path)
                return model->index(row, 0);
        ADD_FAILURE() << "no row " << path.toStdString();
        return {};
    }
    static void Untick(QDialog* shown, const QString& path) {
        Tree(shown)->model()->setData(FileRow(shown, path), Qt::Unchecked, Qt::CheckStateRole);
    }
    // The preview and the application run in the background; these wait for them to end.
    static void Settle(QDialog* shown) { shown->findChild<pw::BackgroundWork*>()->Wait(); }
    static void Preview(QDialog* shown, const QString& newName) {
        shown->findChild<QLineEdit*>("NewNameEd")->setText(newName);
        shown->findChild<QPushButton*>("PreviewBtn")->click();
        Settle(shown);
    }
    static void Apply(QDialog* shown) {
        shown->findChild<QPushButton*>("ApplyBtn")->click();
        Settle(shown);
    }
    // Runs the rename of Q_Old from the Quest field; each showing of the dialog is handed to the next of
    // steps.
    void RenameQuest(std::vector<std::function<void(QDialog*)>> steps) {
        dialogs.onModal = [steps, shown = std::size_t(0)](QDialog* dialog) mutable {
            ASSERT_LT(shown, steps.size());
            steps[shown++](dialog);
        };
        form->FollowJump({pw::Jump::Kind::Rename, "Q_Old", pw::Jump::Thing::Quest});
    }
    std::string Quest() const { return QuestsPath() + "/Q_New_quest_G3_World_01.quest"; }

    pwtest::TempDir cache; // the notes of renames under way
    pwtest::ScopedEnvironment cacheDir{"PLOTWRIGHT_CACHE_DIR", cache.Path()};
};

TEST_F(RenameWindowTest, TheBoxesKeepTheirChoiceAcrossPreviewsAndTheCountFollowsThem) {
    form->LoadInfo(InfosPath() + "/a.info");
    dialogs.answers = {pw::MsgAnswer::Yes}; // to the warning about the file left out
    RenameQuest({[this](QDialog* shown) {
        shown->show(); // the dialog's default button answers Enter only while it shows
        Preview(shown, "Q_New");
        EXPECT_EQ(Summary(shown), "Файлов: 3, изменений: 3.");
        // Paths below the library folder they are in; the whole path in the tooltip.
        const QModelIndex b = FileRow(shown, QStringLiteral("sub/b.info"));
        EXPECT_EQ(b.data(Qt::ToolTipRole).toString(), QString::fromStdString(InfosPath() + "/sub/b.info"));
        EXPECT_EQ(b.model()->index(0, 1, b).data(Qt::ToolTipRole).toString(), "q_old");
        Untick(shown, "sub/b.info");
        EXPECT_EQ(Summary(shown), "Файлов: 2, изменений: 2.");
        QTest::keyClick(shown->findChild<QLineEdit*>("NewNameEd"), Qt::Key_Return); // a new preview
        Settle(shown);
        EXPECT_EQ(FileRow(shown, "sub/b.info").data(Qt::CheckStateRole).value<Qt::CheckState>(),
                  Qt::Unchecked);
        EXPECT_EQ(Summary(shown), "Файлов: 2, изменений: 2.");
        Apply(shown);
    }});
    ASSERT_GE(dialogs.Messages().size(), 2u);
    EXPECT_TRUE(dialogs.Messages()[0].text.startsWith(
        "Файлы без флажка по-прежнему будут называть «Q_Old», а после переименования этого имени в "
        "библиотеке не останется:\nsub/b.info"));
    EXPECT_EQ(pwtest::ReadBytes(InfosPath() + "/a.info"), "[Info]\r\nName=Talk_A\r\nQuest=Q_New\r\n");
    EXPECT_EQ(pwtest::ReadBytes(InfosPath() + "/sub/b.info"), "[Info]\r\nName=Talk_B\r\nQuest= q_old \r\n");
    EXPECT_EQ(pwtest::ReadBytes(Quest()), "[Quest]\r\nName=Q_New\r\n");
    EXPECT_FALSE(pwtest::Exists(QuestsPath() + "/Q_Old_quest_G3_World_01.quest"));
    EXPECT_EQ(form->findChild<QLineEdit*>("QuestEd")->text(), "Q_New");
    EXPECT_EQ(dialogs.Messages().back().text, "Изменено файлов: 2.");
}

TEST_F(RenameWindowTest, AFileLeftOutIsWarnedOfAndNoKeepsEverythingAsItWas) {
    RenameQuest({[](QDialog* shown) {
        Preview(shown, "Q_New");
        Untick(shown, "Q_Old_quest_G3_World_01.quest"); // the quest itself would keep its name
        Apply(shown);
        shown->reject();
    }});
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].buttons, pw::MsgButtons::YesNoDefaultNo);
    EXPECT_TRUE(dialogs.Messages()[0].text.contains("а отмеченные файлы будут называть «Q_New», которого в "
                                                    "библиотеке нет."));
    EXPECT_EQ(pwtest::ReadBytes(InfosPath() + "/a.info"), "[Info]\r\nName=Talk_A\r\nQuest=Q_Old\r\n");
    EXPECT_TRUE(pwtest::Exists(QuestsPath() + "/Q_Old_quest_G3_World_01.quest"));
}

TEST_F(RenameWindowTest, EnterInTheNewNamePreviewsAndWritesNothing) {
    RenameQuest({[](QDialog* shown) {
        shown->show();
        auto* name = shown->findChild<QLineEdit*>("NewNameEd");
        name->setText("Q_New");
        QTest::keyClick(name, Qt::Key_Return);
        Settle(shown);
        EXPECT_EQ(Tree(shown)->model()->rowCount(), 3);
        QTest::keyClick(name, Qt::Key_Return); // again: still only the preview
        Settle(shown);
        shown->reject();
    }});
    EXPECT_EQ(pwtest::ReadBytes(InfosPath() + "/a.info"), "[Info]\r\nName=Talk_A\r\nQuest=Q_Old\r\n");
    EXPECT_TRUE(pwtest::Exists(QuestsPath() + "/Q_Old_quest_G3_World_01.quest"));
}

TEST_F(RenameWindowTest, AChangedFormIsAskedAboutBeforeAnythingIsWritten) {
    form->LoadInfo(InfosPath() + "/a.info");
    form->findChild<QLineEdit*>("NameEd")->setText("Edited");
    RenameQuest({[](QDialog* shown) {
        Preview(shown, "Q_New");
        Apply(shown); // "Нет" to the question: the dialog stays, nothing is written
        shown->reject();
    }});
    EXPECT_EQ(pwtest::ReadBytes(InfosPath() + "/a.info"), "[Info]\r\nName=Talk_A\r\nQuest=Q_Old\r\n");
    EXPECT_EQ(form->findChild<QLineEdit*>("NameEd")->text(), "Edited");
}

TEST_F(RenameWindowTest, ARenameLeftUnfinishedIsFinishedWithRetry) {
    const std::string b = InfosPath() + "/sub/b.info";
    dialogs.answers = {pw::MsgAnswer::Retry};
    RenameQuest({[b](QDialog* shown) {
                     Preview(shown, "Q_New");
                     pwtest::WriteBytes(b, "[Info]\r\nName=Talk_B\r\nQuest=Q_Old\r\n"); // changed meanwhile
                     Apply(shown);
                 },
                 [](QDialog* shown) {
                     // The same rename again, previewing what is left.
                     Settle(shown);
                     EXPECT_EQ(shown->findChild<QLineEdit*>("NewNameEd")->text(), "Q_New");
                     EXPECT_EQ(Summary(shown),
                               "Файлов: 1, изменений: 1. Прерванное переименование будет закончено.");
                     Apply(shown);
                 }});
    const auto boxes = dialogs.Messages();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].buttons, pw::MsgButtons::RetryClose);
    EXPECT_EQ(boxes[0].text,
              QStringLiteral("Изменено файлов: 2.\nИзменены после просмотра и оставлены как есть:\n") +
                  QString::fromStdString(b) +
                  "\nПереименование не закончено. «Повторить» покажет, что осталось сделать.");
    EXPECT_EQ(boxes[1].text, "Изменено файлов: 1.");
    EXPECT_EQ(pwtest::ReadBytes(b), "[Info]\r\nName=Talk_B\r\nQuest=Q_New\r\n");
}

// Counts the paint events of the widget it watches.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* watched) { watched->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

TEST_F(RenameWindowTest, ARenameStoppedHalfWayLeavesWholeFilesAndRetryFinishesIt) {
    form->show();
    const std::string b = InfosPath() + "/sub/b.info";
    dialogs.answers = {pw::MsgAnswer::Retry};
    RenameQuest(
        {[this](QDialog* shown) {
             Preview(shown, "Q_New");
             // Another writer holds sub/'s lock: the rename writes a.info and then waits there.
             auto held = std::make_unique<pw::platform::FolderLock>();
             ASSERT_FALSE(held->Acquire(InfosPath() + "/sub"));
             shown->findChild<QPushButton*>("ApplyBtn")->click();
             auto* work = shown->findChild<pw::BackgroundWork*>();
             QTRY_VERIFY_WITH_TIMEOUT(work->Dialog() && work->Dialog()->isVisible(), 10000);
             // The window goes on painting and answering, and what the rename works on is locked.
             EXPECT_FALSE(shown->findChild<QLineEdit*>("NewNameEd")->isEnabled());
             EXPECT_FALSE(shown->findChild<QPushButton*>("ApplyBtn")->isEnabled());
             EXPECT_FALSE(Tree(shown)->model()->flags(FileRow(shown, "a.info")) & Qt::ItemIsUserCheckable);
             PaintCounter counter(form.get());
             form->update();
             QTRY_VERIFY(counter.paints > 0);
             EXPECT_TRUE(work->Running());
             EXPECT_EQ(pwtest::ReadBytes(InfosPath() + "/a.info"),
                       "[Info]\r\nName=Talk_A\r\nQuest=Q_New\r\n");
             QTest::mouseClick(work->Dialog()->findChild<QPushButton*>(), Qt::LeftButton);
             held.reset();
             Settle(shown);
         },
         [](QDialog* shown) {
             Settle(shown);
             EXPECT_EQ(Summary(shown), "Файлов: 2, изменений: 2. Прерванное переименование будет закончено.");
             Apply(shown);
         }});
    const auto boxes = dialogs.Messages();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].buttons, pw::MsgButtons::RetryClose);
    EXPECT_EQ(boxes[0].text,
              QStringLiteral("Переименование остановлено. Изменено файлов: 1 из 3, остальные не "
                             "тронуты.\nИзменены:\n") +
                  QString::fromStdString(InfosPath() + "/a.info") +
                  "\nПереименование не закончено. «Повторить» покажет, что осталось сделать.");
    EXPECT_EQ(boxes[1].text, "Изменено файлов: 2.");
    EXPECT_EQ(pwtest::ReadBytes(b), "[Info]\r\nName=Talk_B\r\nQuest= Q_New \r\n");
    EXPECT_EQ(pwtest::ReadBytes(Quest()), "[Quest]\r\nName=Q_New\r\n");
}

TEST_F(RenameWindowTest, TheSearchLineFollowsARenamedDialogue) {
    const std::string old = InfosPath() + "/Talk_C_info_G3_World_01.info";
    pwtest::WriteBytes(old, "[Info]\r\nName=Talk_C\r\n");
    workspace->infoFiles.push_back(old);
    auto* search = form->findChild<QComboBox*>("FindInfoCmb");
    search->setEditText("Talk_C");
    QTest::keyClick(search, Qt::Key_Return);
    ASSERT_EQ(search->count(), 1);
    search->setCurrentIndex(0);
    emit search->activated(0);
    ASSERT_EQ(form->findChild<QLineEdit*>("NameEd")->text(), "Talk_C");
    dialogs.onModal = [](QDialog* shown) {
        Preview(shown, "Talk_Z");
        Apply(shown);
    };
    form->FollowJump({pw::Jump::Kind::Rename, "Talk_C", pw::Jump::Thing::Dialogue});
    const QString now = QString::fromStdString(InfosPath() + "/Talk_Z_info_G3_World_01.info");
    EXPECT_EQ(search->currentText(), now);
    EXPECT_EQ(search->itemText(0), now);
    EXPECT_EQ(form->findChild<QLineEdit*>("NameEd")->text(), "Talk_Z");
}

} // namespace
