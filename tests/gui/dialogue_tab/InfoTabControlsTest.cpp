// How the dialogue tab's controls answer a user before anything is loaded: the labels can be read, text
// typed into a box stays as typed, and the wheel changes no box without the focus.

#include "gui/dialogue_tab/InfoTab.h"

#include "EditorTabFixture.h"
#include "FormChecks.h"
#include "UserInput.h"

namespace pwtest {
namespace {

using InfoTabControls = EditorTabFixture<pw::InfoTab>;

TEST_F(InfoTabControls, EveryLabelCanBeReadWhole) {
#ifdef _WIN32
    GTEST_SKIP() << "the widths are those of Wine's replacement fonts, not Windows's Tahoma";
#endif
    tab.resize(923, 860);
    tab.show();
    EXPECT_EQ(UnreadableLabels(tab).join('\n').toStdString(), "");
}

TEST_F(InfoTabControls, TextTypedIntoABoxStaysAsTypedAndNeverJoinsItsList) {
    tab.show();
    QApplication::setActiveWindow(&tab);
    for (const char* name :
         {"OwnerCmb", "ConditionTypeCmb", "InfoTypeCmb", "FolderCmb", "CondItemContainerCmb"}) {
        SCOPED_TRACE(name);
        QComboBox* box = Combo(name);
        const int entries = box->count();
        box->setFocus();
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), "Zz typed");
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(box->currentText(), "Zz typed");
        EXPECT_EQ(box->count(), entries);
    }
}

TEST_F(InfoTabControls, WheelChangesNoBoxWithoutTheFocusNorEndsAnOpenCellEdit) {
    tab.resize(923, 860);
    tab.show();
    tab.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&tab));
    auto* name = Find<QLineEdit>("NameEd");
    name->setFocus();
    int boxes = 0;
    for (QComboBox* box : tab.findChildren<QComboBox*>()) {
        if (!box->isVisible())
            continue;
        SCOPED_TRACE(box->objectName().toStdString());
        const QString before = box->currentText();
        TurnWheel(box, 1);
        TurnWheel(box, -1);
        EXPECT_EQ(box->currentText(), before);
        EXPECT_TRUE(name->hasFocus());
        ++boxes;
    }
    EXPECT_EQ(boxes, 7); // the search box and the six labelled ones; the state editor is hidden

    // A notch over a field while a state is being picked in place leaves the field and the edit alone.
    tab.LoadInfo(WriteInfo("a.info", {"Name=A", "CondSecondaryNPC=Diego", "CondSecondaryNPCstates=0"}));
    auto* npcs = Find<QTableWidget>("NpcList");
    QTest::mouseClick(npcs->viewport(), Qt::LeftButton, {},
                      npcs->visualRect(npcs->model()->index(0, 1)).center());
    QCoreApplication::processEvents();
    QComboBox* states = Combo("NPCListCmb");
    ASSERT_TRUE(states->hasFocus());
    states->setEditText(QStringLiteral("Мертв"));
    const QString infoType = Text("InfoTypeCmb");
    TurnWheel(Combo("InfoTypeCmb"), 1);
    EXPECT_EQ(Text("InfoTypeCmb"), infoType);
    ASSERT_TRUE(states->hasFocus());
    name->setFocus();
    EXPECT_EQ(Rows("NpcList"), std::vector<QString>{"Diego|Мертв"});
}

} // namespace
} // namespace pwtest
