// The dialogue search box: Enter searches the library, choosing a result loads it.

#include "core/data/Library.h"
#include "core/library/LibrarySearch.h"
#include "gui/dialogue_tab/InfoTab.h"

#include "EditorTabFixture.h"
#include "UserInput.h"

#include <QPushButton>
#include <QToolButton>

namespace pwtest {
namespace {

// Records the text a box showed each time it was painted.
class PaintedTexts : public QObject {
public:
    explicit PaintedTexts(QComboBox* box) : mBox(box) { box->installEventFilter(this); }
    QStringList texts;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == mBox && event->type() == QEvent::Paint)
            texts << mBox->currentText();
        return false;
    }

private:
    QComboBox* mBox;
};

struct InfoTabSearch : EditorTabFixture<pw::InfoTab> {
    QString a, b;
    void SetUp() override {
        workspace.infoFiles = {
            WriteInfo("a.info", {"Name=Diego_Hello", "Owner=Diego", "InfoScript_Texts=ABC_01"}),
            WriteInfo("b.info", {"Name=Gorn_Hello", "Owner=Gorn", "Quest=Diego"}),
            WriteInfo("c.info", {"Name=Milten_Hello", "Owner=Milten"})};
        a = QString::fromStdString(workspace.infoFiles[0]);
        b = QString::fromStdString(workspace.infoFiles[1]);
        workspace.libraryReady = true;
        tab.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&tab)); // repaints reach the screen only then
    }
    QComboBox* Box() { return Combo("FindInfoCmb"); }
    // The search's own texts (their words are the search logic's): the count of results, the wait.
    static QString Count(std::size_t found) {
        return QString::fromStdString(pw::Cp1251ToUtf8(pw::SearchCountText(found)));
    }
    static QString Waiting() { return QString::fromStdString(pw::Cp1251ToUtf8(pw::SearchWaitText())); }
    QStringList Search(const QString& query) {
        if (!query.isNull())
            Box()->setEditText(query);
        QTest::keyClick(Box(), Qt::Key_Return);
        QStringList items;
        for (int i = 0; i < Box()->count(); ++i)
            items << Box()->itemText(i);
        return items;
    }
};

TEST_F(InfoTabSearch, EnterListsTheMatchesAfterShowingTheWaitText) {
    PaintedTexts painted(Box());
    EXPECT_EQ(Search("diego"), QStringList({a, b}));
    EXPECT_EQ(Box()->currentText(), Count(2));
    EXPECT_TRUE(painted.texts.contains(Waiting()));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(Text("NameEd"), ""); // a search loads nothing
    EXPECT_EQ(Search("ABC_0"), QStringList({a}));
    EXPECT_EQ(Search("Nothing"), QStringList());
    EXPECT_EQ(Box()->currentText(), Count(0));
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(InfoTabSearch, EnterOnTheCountOrOnBlanksChangesNothing) {
    const QStringList found = Search("Gorn");
    EXPECT_EQ(Search(QString()), found);
    EXPECT_EQ(Box()->currentText(), Count(1));
    EXPECT_EQ(Search("   "), found);
    EXPECT_EQ(Box()->currentText(), "   ");
}

TEST_F(InfoTabSearch, ChoosingAResultLoadsItAndTheButtonSearchesToo) {
    Search("Diego");
    Box()->setCurrentIndex(1);
    emit Box()->activated(1);
    EXPECT_EQ(Text("NameEd"), "Gorn_Hello");

    Box()->setEditText("Milten");
    QTest::mouseClick(Find<QToolButton>("SpeedButton1"), Qt::LeftButton);
    EXPECT_EQ(Box()->currentText(), Count(1));
}

TEST_F(InfoTabSearch, WheelOverTheResultsLoadsNothingUntilTheBoxHasTheFocus) {
    tab.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&tab));
    Search("Diego");
    auto* name = Find<QLineEdit>("NameEd");
    name->setFocus();
    QTest::keyClicks(name, "Unsaved");
    TurnWheel(Box(), 1);
    EXPECT_EQ(name->text(), "Unsaved");
    EXPECT_TRUE(name->hasFocus());
    EXPECT_EQ(Box()->currentText(), Count(2));

    // Clicked, the box has the focus and takes the wheel like a choice from its list.
    QTest::mouseClick(Box()->lineEdit(), Qt::LeftButton);
    ASSERT_TRUE(Box()->hasFocus());
    dialogs.answers = {pw::MsgAnswer::Yes}; // the typed name is given up
    TurnWheel(Box(), 1);
    EXPECT_EQ(name->text(), "Diego_Hello");
}

TEST_F(InfoTabSearch, ACompiledCyrillicDialogueIsListedReadablyAndOpensAgain) {
    workspace.configs->TmpFiles = true;
    Find<QLineEdit>("NameEd")->setText("Диего_Тест");
    Combo("OwnerCmb")->setEditText("Diego");
    QTest::mouseClick(Find<QPushButton>("BuildBtn"), Qt::LeftButton);
    ASSERT_TRUE(dialogs.calls.empty());
    const std::string written = dir.File("_Infos/Диего_Тест_info_G3_World_01.info");
    ASSERT_TRUE(Exists(written));

    pw::ScanLibraryFolder(dir.File("_Infos"), workspace.infoFiles);
    EXPECT_EQ(Search("Диего_Тест"), QStringList({QString::fromStdString(written)}));
    tab.LoadInfo(a.toStdString()); // another name in the form
    emit Box()->activated(0);
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(Text("NameEd"), "Диего_Тест");
}

TEST_F(InfoTabSearch, AFileWhoseNameIsNotInTheFileSystemsEncodingStillOpens) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows names files in UTF-16: every name converts to the program's UTF-8";
#endif
    // A Windows-1251 name, as an archive made on Windows unpacks it.
    workspace.infoFiles.push_back(WriteInfo(Ansi("Хорхе.info"), {"Name=Jorge_Hello", "Owner=Jorge"}));
    ASSERT_EQ(Search("Jorge_Hello").size(), 1);
    emit Box()->activated(0);
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(Text("NameEd"), "Jorge_Hello");
}

TEST_F(InfoTabSearch, WithoutALibraryTheSearchOnlyExplains) {
    workspace.libraryReady = false;
    Search("Diego");
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].text, "Поиск недоступен: в настройках указаны не все пути к библиотеке.");
    EXPECT_EQ(Box()->currentText(), "Diego");
    EXPECT_EQ(Box()->count(), 0);
}

} // namespace
} // namespace pwtest
