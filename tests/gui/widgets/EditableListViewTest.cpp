// The in-place editing of TEditableListView, driven by mouse clicks and focus changes as a user would.

#include "gui/widgets/EditableListView.h"

#include "UserInput.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

using pw::TEditableListView;

QString Cell(const QTableWidget& list, int row, int column) {
    const QTableWidgetItem* item = list.item(row, column);
    return item ? item->text() : QStringLiteral("<no item>");
}

// A window with one condition list (200 + 100 pixels wide columns, one selected row at a time) and a
// field to move the focus to.
class EditableListViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        list = new TEditableListView(&window);
        list->setColumnCount(2);
        list->setColumnWidth(0, 200);
        list->setColumnWidth(1, 100);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->verticalHeader()->hide();
        layout->addWidget(list);
        other = new QLineEdit(&window);
        layout->addWidget(other);
        editor = new QLineEdit(&window);
        editor->setObjectName(QStringLiteral("ItemsListEd"));
        list->SetListEditor(editor);
        SetRows({{"ItPo_Apple", "5"}, {"ItMw_Sword", "1"}});
        window.resize(400, 300);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        other->setFocus();
    }

    void SetRows(const std::vector<std::pair<QString, QString>>& rows) {
        list->setRowCount(static_cast<int>(rows.size()));
        for (int row = 0; row < list->rowCount(); ++row) {
            list->setItem(row, 0, new QTableWidgetItem(rows[static_cast<std::size_t>(row)].first));
            list->setItem(row, 1, new QTableWidgetItem(rows[static_cast<std::size_t>(row)].second));
        }
    }

    // A left click on the cell, then the queued request that opens the editor.
    void ClickCell(int row, int column) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, column)).center());
        QCoreApplication::processEvents();
    }

    QWidget window;
    TEditableListView* list = nullptr;
    QLineEdit* other = nullptr;
    QLineEdit* editor = nullptr;
};

TEST_F(EditableListViewTest, ClickingTheAmountEditsItAndLeavingWritesIt) {
    ClickCell(0, 1);
    ASSERT_TRUE(editor->isVisible());
    EXPECT_TRUE(editor->hasFocus());
    EXPECT_EQ(editor->text(), QStringLiteral("5"));
    EXPECT_EQ(editor->geometry().topLeft(), list->visualRect(list->model()->index(0, 1)).topLeft());
    QTest::keyClicks(editor, QStringLiteral("10"));
    other->setFocus();
    EXPECT_EQ(Cell(*list, 0, 1), QStringLiteral("10"));
    EXPECT_EQ(Cell(*list, 0, 0), QStringLiteral("ItPo_Apple"));
    EXPECT_TRUE(list->selectionModel()->isRowSelected(0, {}));
    EXPECT_FALSE(editor->isVisible());

    // Enter means nothing, and keys the editor leaves unused do not move the list to another row;
    // leaving writes the text as typed, untrimmed, into the row the editor was opened over.
    ClickCell(1, 1);
    QTest::keyClicks(editor, QStringLiteral(" 7 "));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(Cell(*list, 1, 1), QStringLiteral("1"));
    QTest::keyClick(editor, Qt::Key_Up);
    QTest::keyClick(editor, Qt::Key_PageUp);
    EXPECT_TRUE(editor->hasFocus());
    EXPECT_TRUE(list->selectionModel()->isRowSelected(1, {}));
    other->setFocus();
    EXPECT_EQ(Cell(*list, 1, 1), QStringLiteral(" 7 "));
    EXPECT_EQ(Cell(*list, 0, 1), QStringLiteral("10"));

    // An unchanged text is not written.
    int changes = 0;
    QObject::connect(list, &QTableWidget::itemChanged, list, [&changes] { ++changes; });
    ClickCell(0, 0);
    other->setFocus();
    EXPECT_EQ(changes, 0);
}

TEST_F(EditableListViewTest, FirstColumnEditorIsOnlyAsWideAsTheColumn) {
    ClickCell(1, 0);
    ASSERT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->geometry(), QRect(0, list->rowViewportPosition(1), 200, editor->height()));
    EXPECT_EQ(editor->selectedText(), QStringLiteral("ItMw_Sword"));
    EXPECT_EQ(editor->cursorPosition(), 0); // a text longer than the cell shows its beginning

    other->setFocus();
    list->SetEditCaptionOnly(true);
    ClickCell(0, 1);
    EXPECT_FALSE(editor->isVisible());
    ClickCell(0, 0);
    EXPECT_TRUE(editor->isVisible());
}

TEST_F(EditableListViewTest, ClickBelowTheRowsWritesTheOpenEditAndLeavesTheEditorHidden) {
    ClickCell(0, 0);
    QTest::keyClicks(editor, QStringLiteral("ItFo_Bread"));
    const QRect last = list->visualRect(list->model()->index(1, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(10, last.bottom() + 30));
    QCoreApplication::processEvents();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(Cell(*list, 0, 0), QStringLiteral("ItFo_Bread"));
    EXPECT_EQ(Cell(*list, 1, 0), QStringLiteral("ItMw_Sword"));
}

TEST_F(EditableListViewTest, ComboEditorTakesTypedTextsOutsideItsList) {
    QComboBox combo(&window);
    combo.setEditable(true);
    combo.addItems({QStringLiteral("Жив"), QStringLiteral("Мертв"), QStringLiteral("Abbas")});
    list->SetListEditor(&combo);
    ClickCell(1, 1);
    ASSERT_TRUE(combo.isVisible());
    EXPECT_EQ(combo.currentText(), QStringLiteral("1"));
    combo.setEditText(QStringLiteral("Повержен?"));
    other->setFocus();
    EXPECT_EQ(Cell(*list, 1, 1), QStringLiteral("Повержен?"));
    EXPECT_FALSE(combo.isVisible());
    list->SetListEditor(nullptr);
}

TEST_F(EditableListViewTest, OwnDropDownAndMinimisingKeepTheEditOpen) {
    QComboBox combo(&window);
    combo.setEditable(true);
    combo.addItems({QStringLiteral("Жив"), QStringLiteral("Мертв")});
    list->SetListEditor(&combo);
    ClickCell(1, 1);
    combo.showPopup();
    ASSERT_TRUE(combo.view()->isVisible());
    EXPECT_FALSE(combo.isHidden());
    combo.view()->setCurrentIndex(combo.model()->index(1, 0));
    QTest::keyClick(combo.view(), Qt::Key_Return); // picked from the list, which closes
    EXPECT_TRUE(combo.hasFocus());
    EXPECT_EQ(Cell(*list, 1, 1), QStringLiteral("1"));
    other->setFocus();
    EXPECT_EQ(Cell(*list, 1, 1), QStringLiteral("Мертв"));
    list->SetListEditor(editor);

    // Minimised, the window loses its activation but keeps the edit for when it comes back.
    ClickCell(0, 1);
    QTest::keyClicks(editor, QStringLiteral("7"));
    window.setWindowState(Qt::WindowMinimized);
    const auto elsewhere = pwtest::ActivateAnotherWindow();
    EXPECT_FALSE(editor->isHidden());
    window.setWindowState(Qt::WindowNoState);
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    EXPECT_EQ(Cell(*list, 0, 1), QStringLiteral("7"));
}

TEST_F(EditableListViewTest, WrongEditorKindIsRefusedAndLeftAlone) {
    QPushButton button(&window);
    try {
        list->SetListEditor(&button);
        FAIL() << "no exception";
    } catch (const pw::EControlTypeMismatch& error) {
        EXPECT_STREQ(error.what(), "Edit control only can be TComboBox or TEdit");
    }
    EXPECT_EQ(button.parentWidget(), &window);
    EXPECT_EQ(list->ListEditor(), editor);
    ClickCell(0, 1);
    EXPECT_TRUE(editor->isVisible());
}

TEST_F(EditableListViewTest, DeactivationAndReplacedRowsDropTheOpenEdit) {
    ClickCell(0, 1);
    QTest::keyClicks(editor, QStringLiteral("99"));
    const auto elsewhere = pwtest::ActivateAnotherWindow();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(Cell(*list, 0, 1), QStringLiteral("5"));

    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ClickCell(1, 1);
    QTest::keyClicks(editor, QStringLiteral("3"));
    list->setRowCount(0); // another dialogue loaded behind the open editor
    SetRows({{"ItAm_Ring", "2"}, {"ItPo_Beer", "4"}});
    EXPECT_FALSE(editor->isVisible());
    list->selectRow(1);
    other->setFocus();
    EXPECT_EQ(Cell(*list, 1, 1), QStringLiteral("4"));

    // The window is destroyed with an edit open: nothing reaches the dying list.
    ClickCell(0, 0);
    QTest::keyClicks(editor, QStringLiteral("closing"));
    ASSERT_TRUE(editor->hasFocus());
}

} // namespace
