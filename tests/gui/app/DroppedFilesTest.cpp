// Files dropped onto the main window: the extension test and what a drop opens or refuses.

#include "gui/app/DroppedFiles.h"
#include "gui/app/MainForm.h"

#include "AppFixture.h"

#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTabWidget>
#include <QUrl>

namespace {

using pw::DroppedFileKind;
using pw::DroppedFileKindOf;

TEST(DroppedFileKindOf, ExtensionOfTheFileNameDecidesIgnoringLetterCase) {
    EXPECT_EQ(DroppedFileKindOf("/lib/A.INFO"), DroppedFileKind::Info);
    EXPECT_EQ(DroppedFileKindOf("C:\\Quests\\Q.QuEsT"), DroppedFileKind::Quest);
    for (const char* other :
         {"/lib/notes.txt", "/lib/a.info.bak", "/lib/a.infos", "/lib.info/readme", "info", ""})
        EXPECT_EQ(DroppedFileKindOf(other), DroppedFileKind::Unsupported) << other;
}

class DropTest : public pwtest::AppFixture {
protected:
    void SetUp() override {
        pwtest::WriteBytes(InfosPath() + "/Diego_Hello.INFO",
                           "[Info]\r\nName=Diego_Hello\r\nOwner=Diego\r\n");
        pwtest::WriteBytes(InfosPath() + "/Gorn_Hello.info", "[Info]\r\nName=Gorn_Hello\r\n");
        OpenWindow("[LocAdmin_Strings]\r\n");
        tabs = form->findChild<QTabWidget*>("PgCtrl");
        tabs->setCurrentIndex(1); // a drop does not switch to the dialogue tab
        dialogs.calls.clear();
    }
    QString File(const std::string& name) { return QString::fromStdString(InfosPath() + "/" + name); }
    QString DialogueName() { return form->findChild<QLineEdit*>("NameEd")->text(); }

    QTabWidget* tabs = nullptr;
};

TEST_F(DropTest, FirstDroppedInfoFileIsLoadedWithoutSwitchingTabs) {
    form->OpenDroppedFile({File("Diego_Hello.INFO"), File("Gorn_Hello.info"), File("notes.txt")});
    EXPECT_EQ(DialogueName(), "Diego_Hello");
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(DropTest, FirstDroppedQuestFileIsLoadedIntoTheQuestTabWithoutSwitchingTabs) {
    pwtest::WriteBytes(QuestsPath() + "/Fish.QUEST", "[Quest]\r\nName=Fish\r\nType=2\r\n");
    tabs->setCurrentIndex(0);
    form->OpenDroppedFile({QString::fromStdString(QuestsPath() + "/Fish.QUEST"), File("Gorn_Hello.info")});
    EXPECT_EQ(form->findChild<QLineEdit*>("QuestNameEd")->text(), "Fish");
    EXPECT_EQ(DialogueName(), "");
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(DropTest, UnsupportedFileIsRefusedWithTheProgramsMessage) {
    form->OpenDroppedFile({File("notes.txt"), File("Gorn_Hello.info")});
    const auto messages = dialogs.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Поддерживаются только файлы форматов *.QUEST и *.INFO");
    EXPECT_EQ(messages[0].caption, "Gothic III Plotwright");
    EXPECT_EQ(messages[0].icon, pw::MsgIcon::None);
    EXPECT_EQ(messages[0].buttons, pw::MsgButtons::Ok);
    EXPECT_EQ(messages[0].owner, form.get());
    EXPECT_EQ(DialogueName(), "");
}

TEST_F(DropTest, FilesDroppedOnATextFieldOpenInsteadOfBeingPasted) {
    QLineEdit* name = form->findChild<QLineEdit*>("NameEd");
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(File("Gorn_Hello.info"))});
    mime.setText(File("Gorn_Hello.info"));
    EXPECT_TRUE(form->acceptDrops()); // Qt offers a drag only to a window that takes drops
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(name, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(name, &drop);
    EXPECT_EQ(DialogueName(), "Gorn_Hello");
}

} // namespace
