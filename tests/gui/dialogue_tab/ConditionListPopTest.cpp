// The condition lists' context menus, triggered item by item on a real list.

#include "gui/dialogue_tab/ConditionListPop.h"
#include "gui/dialogue_tab/ReportLists.h"

#include <QAction>
#include <QMenu>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace {

using Rows = std::vector<pw::ConditionRow>;

class ConditionListPopTest : public ::testing::Test {
protected:
    void SetUp() override {
        pw::SetupReportList(
            &list, {{QStringLiteral("Условный предмет"), 200}, {QStringLiteral("Количество"), 100}}, false);
        menu = pw::AttachConditionListPop(&list, pw::kItemsListPopNames);
    }
    void Trigger(const char* name) { menu->findChild<QAction*>(QLatin1String(name))->trigger(); }
    Rows Read() const { return pw::ListRowTexts<pw::kConditionCellCount>(&list); }
    int Selected() const {
        const QModelIndexList rows = list.selectionModel()->selectedRows();
        return rows.size() == 1 ? rows[0].row() : -static_cast<int>(rows.size()) - 1;
    }

    QTableWidget list;
    QMenu* menu = nullptr;
};

TEST_F(ConditionListPopTest, AddingAndInsertingKeepTheSelection) {
    Trigger("N19");
    EXPECT_EQ(Read(), (Rows{{"<EMPTY>", ""}}));
    EXPECT_EQ(Selected(), -1); // none

    pw::FillReportList(&list, Rows{{"A", "1"}, {"B", "2"}});
    list.selectRow(1);
    Trigger("N26"); // before
    Trigger("N27"); // after
    Trigger("N19");
    EXPECT_EQ(Read(), (Rows{{"A", "1"}, {"<EMPTY>", ""}, {"B", "2"}, {"<EMPTY>", ""}, {"<EMPTY>", ""}}));
    EXPECT_EQ(Selected(), 2);
}

TEST_F(ConditionListPopTest, InsertAndDeleteNeedASelectedRow) {
    pw::FillReportList(&list, Rows{{"A", "1"}, {"B", "2"}});
    Trigger("N26");
    Trigger("N27");
    Trigger("N29");
    EXPECT_EQ(Read(), (Rows{{"A", "1"}, {"B", "2"}}));
    list.selectRow(0);
    Trigger("N29");
    EXPECT_EQ(Read(), (Rows{{"B", "2"}}));
    EXPECT_EQ(Selected(), -1);
}

// A row operation puts back what the list showed, also characters Windows-1251 lacks, which the compile
// must still see to name them.
TEST_F(ConditionListPopTest, RowOperationsKeepEveryCharacter) {
    pw::FillReportList(&list, Rows{{"A", "1"}});
    list.item(0, 0)->setText(QStringLiteral("Żółw😀"));
    list.selectRow(0);
    Trigger("N26");
    EXPECT_EQ(list.item(1, 0)->text(), QStringLiteral("Żółw😀"));
}

} // namespace
