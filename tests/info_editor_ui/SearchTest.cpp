// The dialogue search box: Enter searches the library, choosing a result loads it.

#include "InfoTabFixture.h"

#include <QTest>
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

struct InfoTabSearch : InfoTabFixture {
    std::string a, b, c;
    void SetUp() override {
        a = WriteInfo("a.info", {"Name=Diego_Hello", "Owner=Diego", "InfoScript_Texts=ABC_01;ABC_02"});
        b = WriteInfo("b.info", {"Name=Gorn_Hello", "Owner=Gorn", "Quest=Diego"});
        c = WriteInfo("c.info", {"Name=Milten_Hello", "Owner=Milten"});
        workspace.infoFiles = {a, b, c};
        workspace.libraryReady = true;
        tab.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&tab));
    }
    QComboBox* Box() { return Combo("FindInfoCmb"); }
    void Search(const QString& query) {
        Box()->setEditText(query);
        QTest::keyClick(Box(), Qt::Key_Return);
    }
    QStringList Items() {
        QStringList items;
        for (int i = 0; i < Box()->count(); ++i)
            items << Box()->itemText(i);
        return items;
    }
};

TEST_F(InfoTabSearch, EnterListsTheMatchesAndShowsTheCount) {
    PaintedTexts painted(Box());
    Search("diego");
    EXPECT_EQ(Items(), QStringList({QString::fromStdString(a), QString::fromStdString(b)}));
    EXPECT_EQ(Box()->currentText(), "Результатов -  2 ");
    EXPECT_TRUE(painted.texts.contains("Выполняется поиск, ждите..."))
        << painted.texts.join(",").toStdString();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(Text("NameEd"), ""); // a search loads nothing

    Search("ABC_0");
    EXPECT_EQ(Items(), QStringList({QString::fromStdString(a)}));
    Search("Nothing");
    EXPECT_TRUE(Items().isEmpty());
    EXPECT_EQ(Box()->currentText(), "Результатов -  0 ");
}

TEST_F(InfoTabSearch, EnterAgainOnTheCountOrOnBlanksChangesNothing) {
    Search("Gorn");
    const QStringList found = Items();
    QTest::keyClick(Box(), Qt::Key_Return);
    EXPECT_EQ(Items(), found);
    EXPECT_EQ(Box()->currentText(), "Результатов -  1 ");
    Search("   ");
    EXPECT_EQ(Items(), found);
    EXPECT_EQ(Box()->currentText(), "   ");
    EXPECT_EQ(Text("NameEd"), "");
}

TEST_F(InfoTabSearch, ChoosingAResultLoadsIt) {
    Search("Diego");
    Box()->setCurrentIndex(1);
    emit Box()->activated(1);
    EXPECT_EQ(Text("NameEd"), "Gorn_Hello");
    EXPECT_EQ(Text("OwnerCmb"), "Gorn");
}

TEST_F(InfoTabSearch, TheButtonRunsTheSameSearch) {
    Box()->setEditText("Milten");
    QTest::mouseClick(Find<QToolButton>("SpeedButton1"), Qt::LeftButton);
    EXPECT_EQ(Items(), QStringList({QString::fromStdString(c)}));
    EXPECT_EQ(Box()->currentText(), "Результатов -  1 ");
}

TEST_F(InfoTabSearch, WithoutALibraryTheSearchOnlyExplains) {
    workspace.libraryReady = false;
    workspace.infoFiles.clear();
    Search("Diego");
    const auto messages = dialogs.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].text.contains("настройках"));
    EXPECT_EQ(messages[0].owner, tab.window());
    EXPECT_EQ(Box()->currentText(), "Diego");
}

} // namespace
} // namespace pwtest
