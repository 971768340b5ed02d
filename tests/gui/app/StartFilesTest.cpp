// Files given at the program's start, and a later start handing its files to the editor already running.

#include "gui/app/DroppedFiles.h"
#include "gui/app/MainForm.h"
#include "gui/app/RunningEditor.h"

#include "AppFixture.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include <chrono>
#include <future>

#ifndef _WIN32
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace {

using Start = pw::RunningEditor::Start;

TEST(IsStringTableFile, TheFileNameDecidesIgnoringLetterCase) {
    EXPECT_TRUE(pw::IsStringTableFile("/game/StringTable.INI"));
    EXPECT_TRUE(pw::IsStringTableFile("C:\\Gothic III\\Data\\stringtable.ini"));
    for (const char* other :
         {"/game/mystringtable.ini", "/game/stringtable.ini.bak", "/stringtable.ini/x", ""})
        EXPECT_FALSE(pw::IsStringTableFile(other)) << other;
}

class StartFilesTest : public pwtest::AppFixture {
protected:
    void SetUp() override {
        // A folder with Cyrillic letters and a blank, as modders' folders are.
        const std::string mine = InfosPath() + "/Мои диалоги";
        QDir().mkpath(QString::fromStdString(mine));
        pwtest::WriteBytes(InfosPath() + "/Diego_Hello.info", "[Info]\r\nName=Diego_Hello\r\n");
        pwtest::WriteBytes(mine + "/Горн привет.INFO", "[Info]\r\nName=Gorn_Hello\r\n");
        pwtest::WriteBytes(QuestsPath() + "/Fish.quest", "[Quest]\r\nName=Fish\r\n");
        OpenWindow("[LocAdmin_Strings]\r\n");
        dialogs.calls.clear();
    }
    static QString Path(const std::string& path) { return QString::fromStdString(path); }
    QString Gorn() const { return Path(InfosPath() + "/Мои диалоги/Горн привет.INFO"); }
    QString Text(const char* name) const { return form->findChild<QLineEdit*>(name)->text(); }
    QString Page() const { return form->findChild<QTabWidget*>("PgCtrl")->currentWidget()->objectName(); }
};

TEST_F(StartFilesTest, EachFileOpensInItsTabTheLastOfEachKindStaysAndItsTabIsShown) {
    form->OpenFiles({Path(InfosPath() + "/Diego_Hello.info"), Path(QuestsPath() + "/Fish.quest"), Gorn()});
    EXPECT_EQ(Text("NameEd"), "Gorn_Hello");
    EXPECT_EQ(Text("QuestNameEd"), "Fish");
    EXPECT_EQ(Page(), "tbInfo");
    EXPECT_TRUE(dialogs.calls.empty());

    form->OpenFiles({Path(QuestsPath() + "/Fish.quest")});
    EXPECT_EQ(Page(), "tbQuest");
}

TEST_F(StartFilesTest, OtherFilesAreNamedInOneMessageAndTheRestStillOpens) {
    form->OpenFiles({Path(dir.File("notes.txt")), Gorn(), Path(dir.File("a b.info.bak"))});
    EXPECT_EQ(Text("NameEd"), "Gorn_Hello");
    const auto messages = dialogs.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Поддерживаются только файлы форматов *.QUEST и *.INFO\n\n" +
                                    QDir::toNativeSeparators(Path(dir.File("notes.txt"))) + "\n" +
                                    QDir::toNativeSeparators(Path(dir.File("a b.info.bak"))));
    EXPECT_EQ(messages[0].caption, "Gothic III Plotwright");
}

TEST_F(StartFilesTest, AStringTableShowsTheStringEditorAndAnotherThanTheSettingsOneIsSaidSo) {
    form->OpenFiles({Path(TablePath())});
    EXPECT_EQ(Page(), "TabSheet1");
    EXPECT_TRUE(dialogs.calls.empty());

    const std::string other = dir.File("mod/StringTable.ini");
    QDir().mkpath(Path(dir.File("mod")));
    pwtest::WriteBytes(other, "[LocAdmin_Strings]\r\n");
    form->OpenFiles({Path(other)});
    const auto messages = dialogs.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].text.contains(QDir::toNativeSeparators(Path(TablePath()))));
    EXPECT_TRUE(messages[0].text.contains(QDir::toNativeSeparators(Path(other))));
    EXPECT_EQ(messages[0].icon, pw::MsgIcon::Information);
}

TEST_F(StartFilesTest, AChangedFormIsAskedAboutAndNoKeepsIt) {
    form->findChild<QLineEdit*>("NameEd")->setText("Diego");
    form->findChild<QTabWidget*>("PgCtrl")->setCurrentIndex(1);
    form->OpenFiles({Gorn()});
    EXPECT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(Text("NameEd"), "Diego");
    EXPECT_EQ(Page(), "tbQuest"); // where it was: nothing was opened
}

class RunningEditorTest : public StartFilesTest {
protected:
    // Each test its own socket, apart from a real editor's and other runs'.
    QString Name() const {
        return pw::RunningEditorName(Path(dir.File("plotwright.inf"))) +
               QString::number(QCoreApplication::applicationPid());
    }
    // A later start, on a thread of its own as another process would be, while this one serves.
    Start LaterStart(const QStringList& files) {
        auto later = std::async(std::launch::async, [name = Name(), files] {
            pw::RunningEditor editor(name);
            return editor.HandOverOrListen(files);
        });
        EXPECT_TRUE(QTest::qWaitFor(
            [&later] { return later.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
            10000));
        return later.get();
    }
};

TEST_F(RunningEditorTest, ALaterStartHandsItsFilesToTheRunningEditorWhichComesToTheFrontAndOpensThem) {
    EXPECT_NE(pw::RunningEditorName(Path(dir.File("plotwright.inf"))),
              pw::RunningEditorName(Path(dir.File("other/plotwright.inf"))));
    pw::RunningEditor running(Name());
    ASSERT_EQ(running.HandOverOrListen({}), Start::Running);
    QObject::connect(&running, &pw::RunningEditor::FilesHanded, form.get(), &pw::TForm1::TakeHandedFiles);
    form->hide(); // in the tray

    EXPECT_EQ(LaterStart({Gorn(), Path(QuestsPath() + "/Fish.quest")}), Start::Handed);
    EXPECT_TRUE(QTest::qWaitFor([this] { return Text("QuestNameEd") == "Fish"; }));
    EXPECT_EQ(Text("NameEd"), "Gorn_Hello");
    EXPECT_TRUE(form->isVisible());

    form->hide();
    EXPECT_EQ(LaterStart({}), Start::Handed);
    EXPECT_TRUE(QTest::qWaitFor([this] { return form->isVisible(); }));
}

TEST_F(RunningEditorTest, ASocketLeftByAKilledEditorIsTakenOver) {
#ifdef _WIN32
    GTEST_SKIP() << "a Windows pipe ends with the process that made it";
#else
    // What a killed editor leaves: the socket file, with nobody listening on it.
    const QByteArray file = QDir::temp().filePath(Name()).toLocal8Bit();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(static_cast<std::size_t>(file.size()), sizeof(address.sun_path));
    std::copy(file.begin(), file.end(), address.sun_path);
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    close(fd);

    pw::RunningEditor running(Name());
    EXPECT_EQ(running.HandOverOrListen({}), Start::Running);
    QObject::connect(&running, &pw::RunningEditor::FilesHanded, form.get(), &pw::TForm1::TakeHandedFiles);
    EXPECT_EQ(LaterStart({Gorn()}), Start::Handed);
    EXPECT_TRUE(QTest::qWaitFor([this] { return Text("NameEd") == "Gorn_Hello"; }));
#endif
}

} // namespace
