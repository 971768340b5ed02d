// The command grid's hand editing: keys, the in-place editor, drag and drop, the context menus, the
// editing surfaces and the splitter, on the real widgets.

#include "core/dialogue/InfoScript.h"
#include "gui/dialogue_tab/CommandListEditor.h"
#include "gui/dialogue_tab/ReportLists.h"

#include "UserInput.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

using pw::CommandListEditor;
using Rows = std::vector<pw::CommandRow>;

class CommandListEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        other = new QLineEdit(&window);
        layout->addWidget(other);
        splitter = new QSplitter(Qt::Vertical, &window);
        splitter->setChildrenCollapsible(false);
        grid = new QTableWidget(splitter);
        grid->setObjectName(QStringLiteral("CommandList"));
        pw::SetupReportList(grid, pw::CommandListColumns(), true);
        pane = new QPlainTextEdit(splitter);
        layout->addWidget(splitter, 1);
        editing = new CommandListEditor(grid, pane, splitter);
        cellEditor = grid->findChild<QLineEdit*>(QStringLiteral("CellEditor"));
        window.resize(900, 700);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        splitter->setSizes({207, 300});
        grid->setFocus();
    }

    void SetRows(const Rows& rows) { pw::FillReportList(grid, rows); }
    Rows Read() const { return pw::ListRowTexts<pw::kCommandCellCount>(grid); }
    void Select(std::initializer_list<int> rows) {
        grid->clearSelection();
        for (int row : rows)
            grid->selectionModel()->select(grid->model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    std::vector<int> Selected() const {
        std::vector<int> rows;
        for (int row = 0; row < grid->rowCount(); ++row)
            if (grid->selectionModel()->isRowSelected(row, {}))
                rows.push_back(row);
        return rows;
    }
    QPoint CellCenter(int row, int column) const {
        return grid->visualRect(grid->model()->index(row, column)).center();
    }
    // Ctrl+Enter with the mouse pointer over the viewport point.
    void CtrlEnterAt(const QPoint& viewportPos) {
        QCursor::setPos(grid->viewport()->mapToGlobal(viewportPos));
        ASSERT_EQ(grid->viewport()->mapFromGlobal(QCursor::pos()), viewportPos);
        QTest::keyClick(grid, Qt::Key_Return, Qt::ControlModifier);
    }
    QAction* Item(const char* name) const { return window.findChild<QAction*>(QLatin1String(name)); }

    static Rows Numbered(int count) {
        Rows rows;
        for (int i = 1; i <= count; ++i)
            rows.push_back({"Say", std::to_string(i), "", "", "", "ID_" + std::to_string(i)});
        return rows;
    }

    QWidget window;
    QLineEdit* other = nullptr;
    QSplitter* splitter = nullptr;
    QTableWidget* grid = nullptr;
    QPlainTextEdit* pane = nullptr;
    CommandListEditor* editing = nullptr;
    QLineEdit* cellEditor = nullptr;
};

// A row operation puts back what the grid showed, also characters Windows-1251 lacks, which the compile
// must still see to name them.
TEST_F(CommandListEditorTest, RowOperationsKeepEveryCharacter) {
    SetRows(Numbered(2));
    grid->item(1, 5)->setText(QStringLiteral("ID_ż😀"));
    Select({0});
    Item("N8")->trigger();
    EXPECT_EQ(grid->item(2, 5)->text(), QStringLiteral("ID_ż😀"));
}

TEST_F(CommandListEditorTest, KeysAndMenuItemsWorkTheRowsAndKeepTheMarks) {
    QTest::keyClick(grid, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(Read(), (Rows{{"<EMPTY>", "", "", "", "", ""}}));
    EXPECT_EQ(Selected(), (std::vector<int>{0}));
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    grid->setCurrentCell(0, 0);
    QTest::keyClick(grid, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept")); // not a copy of the cell

    SetRows(Numbered(5));
    Select({3, 1});
    Item("N8")->trigger(); // before row 1; the marks stay on their rows
    EXPECT_EQ(Read()[1][0], "<EMPTY>");
    EXPECT_EQ(Selected(), (std::vector<int>{2, 4}));
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier); // Shift may be held
    EXPECT_EQ(grid->rowCount(), 4);
    EXPECT_EQ(Selected(), (std::vector<int>{3}));

    // Without Ctrl these keys do nothing here.
    QTest::keyClick(grid, Qt::Key_Insert);
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(grid->rowCount(), 4);
}

TEST_F(CommandListEditorTest, CtrlEnterEditsTheCellUnderThePointer) {
    SetRows(Numbered(3));
    Select({1});
    CtrlEnterAt(CellCenter(1, 3));
    ASSERT_TRUE(cellEditor->isVisible());
    EXPECT_TRUE(cellEditor->hasFocus());
    EXPECT_EQ(cellEditor->geometry().topLeft(), grid->visualRect(grid->model()->index(1, 3)).topLeft());
    QTest::keyClicks(cellEditor, QStringLiteral("Quest_Ring"));
    QTest::keyClick(cellEditor, Qt::Key_Down); // unused by the editor; the grid keeps its selection
    QTest::keyClick(cellEditor, Qt::Key_PageDown);
    EXPECT_EQ(Selected(), (std::vector<int>{1}));
    other->setFocus();
    EXPECT_FALSE(cellEditor->isVisible());
    EXPECT_EQ(Read()[1], (pw::CommandRow{"Say", "2", "", "Quest_Ring", "", "ID_2"}));
    EXPECT_EQ(Selected(), (std::vector<int>{1}));

    // The first column: the editor is as wide as the column; an empty text stays empty.
    grid->setFocus();
    CtrlEnterAt(CellCenter(0, 0));
    EXPECT_EQ(cellEditor->width(), grid->columnWidth(0));
    cellEditor->clear();
    other->setFocus();
    EXPECT_EQ(Read()[0][0], "");

    // Below the last row the editor stays hidden.
    grid->setFocus();
    CtrlEnterAt(QPoint(10, grid->visualRect(grid->model()->index(2, 0)).bottom() + 40));
    EXPECT_FALSE(cellEditor->isVisible());
}

TEST_F(CommandListEditorTest, TextGoesToTheRowTheEditorWasOpenedOver) {
    SetRows(Numbered(3));
    Select({0});
    int changes = 0;
    QObject::connect(grid, &QTableWidget::itemChanged, grid, [&changes] { ++changes; });
    editing->EditCellAt(CellCenter(2, 5));
    other->setFocus();
    EXPECT_EQ(changes, 0); // an unchanged text is not written

    editing->EditCellAt(CellCenter(2, 5));
    QTest::keyClicks(cellEditor, QStringLiteral("ID_new"));
    other->setFocus();
    EXPECT_EQ(Read()[2][5], "ID_new");
    EXPECT_EQ(Read()[0][5], "ID_1");
    EXPECT_EQ(Selected(), (std::vector<int>{0, 2}));

    // Another tab shown over an open edit takes the focus away from it like any other control.
    editing->EditCellAt(CellCenter(1, 2));
    QTest::keyClicks(cellEditor, QStringLiteral("Lester"));
    splitter->hide();
    EXPECT_FALSE(cellEditor->hasFocus());
    splitter->show();
    EXPECT_FALSE(cellEditor->isVisible());
    EXPECT_EQ(Read()[1][2], "Lester");
}

TEST_F(CommandListEditorTest, DeactivationAndReloadDropTheTypedText) {
    SetRows(Numbered(2));
    Select({0});
    editing->EditCellAt(CellCenter(0, 1));
    QTest::keyClicks(cellEditor, QStringLiteral("lost"));
    const auto elsewhere = pwtest::ActivateAnotherWindow();
    EXPECT_FALSE(cellEditor->isVisible());
    EXPECT_EQ(Read()[0][1], "1");

    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    editing->EditCellAt(CellCenter(1, 1));
    QTest::keyClicks(cellEditor, QStringLiteral("stale"));
    SetRows(Numbered(4)); // another dialogue loaded behind the open editor
    EXPECT_FALSE(cellEditor->isVisible());
    other->setFocus();
    EXPECT_EQ(Read(), Numbered(4));

    // The window is destroyed with an edit open: nothing reaches the dying grid.
    editing->EditCellAt(CellCenter(0, 0));
    QTest::keyClicks(cellEditor, QStringLiteral("closing"));
    ASSERT_TRUE(cellEditor->hasFocus());
}

TEST_F(CommandListEditorTest, DropExchangesTheFirstSelectedRowWithTheTargetRow) {
    SetRows(Numbered(5));
    Select({0});
    editing->CommandListDragOver(3);
    editing->CommandListDragOver(-1); // over no row: the last highlighted row stays the target
    editing->CommandListDragDrop();
    const Rows rows = Read();
    EXPECT_EQ(rows[0][1] + rows[1][1] + rows[2][1] + rows[3][1] + rows[4][1], "42315");
    EXPECT_EQ(Selected(), (std::vector<int>{0}));

    // A drag from anywhere else is refused over the grid.
    QMimeData data;
    data.setText(QStringLiteral("Say"));
    QDragEnterEvent enter(CellCenter(1, 0), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(grid->viewport(), &enter);
    EXPECT_FALSE(enter.isAccepted());
}

TEST_F(CommandListEditorTest, SurfaceSwitchesAndTheirMenuStates) {
    QMenu* gridMenu = grid->findChild<QMenu*>(QStringLiteral("CommandListPop"));
    QMenu* paneMenu = pane->findChild<QMenu*>(QStringLiteral("SynInfoMemPop"));
    // The menus offer no switch until the program shows them.
    for (const char* name : {"N12", "N13", "N14", "N15"})
        EXPECT_FALSE(Item(name)->isVisible()) << name;
    // Qt reports a hidden item as disabled; shown, each item tells the state its menu gave it.
    for (const char* name : {"N12", "N13", "N14", "N15"})
        Item(name)->setVisible(true);
    const auto opened = [](QMenu* menu) {
        menu->popup(QPoint(0, 0));
        menu->close();
    };
    ASSERT_TRUE(pane->isVisible());
    opened(gridMenu);
    opened(paneMenu);
    EXPECT_FALSE(Item("N15")->isEnabled());
    EXPECT_TRUE(Item("N12")->isEnabled());
    EXPECT_FALSE(Item("N14")->isEnabled());

    Item("N13")->trigger(); // grid only
    EXPECT_TRUE(grid->isVisible());
    EXPECT_FALSE(pane->isVisible());
    opened(gridMenu);
    opened(paneMenu);
    EXPECT_TRUE(Item("N15")->isEnabled());
    EXPECT_FALSE(Item("N12")->isEnabled());
    EXPECT_TRUE(Item("N14")->isEnabled());
    // The pane's menu also opens over the quest tab's pane, where this page is out of sight: it still
    // tells the surfaces chosen here.
    splitter->hide();
    Item("N14")->setEnabled(false);
    opened(paneMenu);
    EXPECT_TRUE(Item("N14")->isEnabled());
    splitter->show();

    editing->N12Click(); // pane only; its item is disabled in this state
    EXPECT_FALSE(grid->isVisible());
    EXPECT_TRUE(pane->isVisible());

    Item("N15")->trigger();
    EXPECT_TRUE(grid->isVisible());
    EXPECT_TRUE(pane->isVisible());
    EXPECT_EQ(splitter->sizes()[0], splitter->sizes()[1]);
}

TEST_F(CommandListEditorTest, AnotherPaneSharesThePanesMenu) {
    QPlainTextEdit questPane(&window);
    questPane.setReadOnly(true);
    window.layout()->addWidget(&questPane);
    editing->AttachSynInfoMemPop(&questPane);
    QMenu* paneMenu = pane->findChild<QMenu*>(QStringLiteral("SynInfoMemPop"));
    // While the menu's items stay hidden, the pane keeps its own menu.
    emit questPane.customContextMenuRequested(QPoint(5, 5));
    const QList<QMenu*> own = questPane.findChildren<QMenu*>();
    ASSERT_EQ(own.size(), 1);
    EXPECT_TRUE(own[0]->isVisible());
    EXPECT_FALSE(paneMenu->isVisible());
    own[0]->close();

    Item("N14")->setVisible(true);
    Item("N14")->setEnabled(true);
    emit questPane.customContextMenuRequested(QPoint(5, 5));
    EXPECT_TRUE(paneMenu->isVisible());
    EXPECT_FALSE(Item("N14")->isEnabled()); // both surfaces show: the same enabling rule
    paneMenu->close();
}

TEST_F(CommandListEditorTest, SplitterKeepsTheGridBetweenItsLimits) {
    EXPECT_FALSE(pw::Splitter1CanResize(40));
    EXPECT_TRUE(pw::Splitter1CanResize(41));
    EXPECT_TRUE(pw::Splitter1CanResize(519));
    EXPECT_FALSE(pw::Splitter1CanResize(520));

    // Dragging the handle far up or down stops at the nearest accepted height.
    QSplitterHandle* handle = splitter->handle(1);
    const auto drag = [&](int dy) {
        const QPoint start = handle->rect().center();
        QTest::mousePress(handle, Qt::LeftButton, {}, start);
        QTest::mouseMove(handle, start + QPoint(0, dy));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, start + QPoint(0, dy));
    };
    const int total = splitter->sizes()[0] + splitter->sizes()[1];
    ASSERT_GT(total, 520);
    drag(-400);
    EXPECT_EQ(splitter->sizes()[0], 41);
    drag(100);
    EXPECT_EQ(splitter->sizes()[0], 141);
    drag(600);
    EXPECT_EQ(splitter->sizes()[0], 519);
}

} // namespace
