#include "core/dialogue/CommandRows.h"

#include <gtest/gtest.h>

namespace {

using namespace pw;

// Five rows whose commands are "1" .. "5", so that moves are easy to read.
std::vector<CommandRow> NumberedRows(int count = 5) {
    std::vector<CommandRow> rows;
    for (int i = 1; i <= count; ++i)
        rows.push_back({std::to_string(i), "e1", "", "", "", std::string("t").append(std::to_string(i))});
    return rows;
}

std::string Commands(const std::vector<CommandRow>& rows) {
    std::string out;
    for (const CommandRow& row : rows)
        out += row[0] + ",";
    return out;
}

TEST(AddCommandRow, AppendsASelectedPlaceholderRowKeepingTheSelection) {
    std::vector<CommandRow> rows;
    RowSelection selected;
    AddCommandRow(rows, selected);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], NewCommandRow());
    EXPECT_EQ(selected, RowSelection{0});

    rows = NumberedRows(3);
    selected = {1};
    AddCommandRow(rows, selected);
    EXPECT_EQ(Commands(rows), "1,2,3,<EMPTY>,");
    EXPECT_EQ(selected, (RowSelection{1, 3}));
}

TEST(InsertCommandRow, GoesBeforeOrAfterTheLowestSelectedRow) {
    for (auto [side, index, expected] : {std::tuple{InsertSide::Before, 1, "1,<EMPTY>,2,3,4,5,"},
                                         std::tuple{InsertSide::After, 2, "1,2,<EMPTY>,3,4,5,"}}) {
        std::vector<CommandRow> rows = NumberedRows();
        RowSelection selected{3, 1};
        EXPECT_EQ(InsertCommandRow(rows, selected, side), index);
        EXPECT_EQ(Commands(rows), expected);
        EXPECT_EQ(rows[static_cast<std::size_t>(index)], NewCommandRow());
        // The marks stay on the rows "2" and "4".
        for (int row : selected)
            EXPECT_TRUE(rows[static_cast<std::size_t>(row)][0] == "2" ||
                        rows[static_cast<std::size_t>(row)][0] == "4");
        EXPECT_EQ(selected.size(), 2u);
    }
}

TEST(InsertCommandRow, DoesNothingWithoutSelection) {
    std::vector<CommandRow> rows = NumberedRows();
    RowSelection selected;
    EXPECT_EQ(InsertCommandRow(rows, selected, InsertSide::After), -1);
    EXPECT_EQ(Commands(rows), "1,2,3,4,5,");
    EXPECT_TRUE(selected.empty());
}

TEST(DeleteSelectedCommandRows, DeletesTheSelectedThenSelectsTheLast) {
    std::vector<CommandRow> rows = NumberedRows();
    RowSelection selected{1, 3};
    DeleteSelectedCommandRows(rows, selected);
    EXPECT_EQ(Commands(rows), "1,3,5,");
    EXPECT_EQ(selected, RowSelection{2});
}

TEST(DeleteSelectedCommandRows, EmptyGridAndNoSelection) {
    std::vector<CommandRow> rows;
    RowSelection selected;
    DeleteSelectedCommandRows(rows, selected);
    EXPECT_TRUE(rows.empty());
    EXPECT_TRUE(selected.empty());

    rows = NumberedRows(3);
    DeleteSelectedCommandRows(rows, selected);
    EXPECT_EQ(Commands(rows), "1,2,3,");
    EXPECT_EQ(selected, RowSelection{2});

    selected = {0, 1, 2};
    DeleteSelectedCommandRows(rows, selected);
    EXPECT_TRUE(rows.empty());
    EXPECT_TRUE(selected.empty());
}

TEST(SwapCommandRows, ExchangesWholeRowsLeavingTheOthersInPlace) {
    std::vector<CommandRow> rows = NumberedRows();
    EXPECT_TRUE(SwapCommandRows(rows, 0, 3));
    EXPECT_EQ(Commands(rows), "4,2,3,1,5,");
    EXPECT_EQ(rows[0][5], "t4");
    EXPECT_EQ(rows[3][5], "t1");
}

TEST(SwapCommandRows, RefusesMissingRows) {
    std::vector<CommandRow> rows = NumberedRows();
    EXPECT_FALSE(SwapCommandRows(rows, 0, -1));
    EXPECT_FALSE(SwapCommandRows(rows, 5, 0));
    EXPECT_FALSE(SwapCommandRows(rows, 2, 2));
    EXPECT_EQ(Commands(rows), "1,2,3,4,5,");
}

std::vector<ConditionRow> ConditionRows() {
    return {{"A", "1"}, {"B", "2"}, {"C", "3"}};
}

TEST(ConditionRows, AddAppendsWithoutTouchingTheSelection) {
    std::vector<ConditionRow> rows;
    AddConditionRow(rows);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (ConditionRow{"<EMPTY>", ""}));
}

TEST(ConditionRows, InsertNextToTheSelectedRowWhichStaysSelected) {
    std::vector<ConditionRow> rows = ConditionRows();
    int selected = 1;
    EXPECT_EQ(InsertConditionRow(rows, selected, InsertSide::Before), 1);
    EXPECT_EQ(rows[1][0], "<EMPTY>");
    EXPECT_EQ(rows[static_cast<std::size_t>(selected)][0], "B");
    EXPECT_EQ(InsertConditionRow(rows, selected, InsertSide::After), 3);
    EXPECT_EQ(rows[3][0], "<EMPTY>");
    EXPECT_EQ(rows[static_cast<std::size_t>(selected)][0], "B");
    EXPECT_EQ(rows.size(), 5u);

    selected = -1;
    EXPECT_EQ(InsertConditionRow(rows, selected, InsertSide::After), -1);
    EXPECT_EQ(rows.size(), 5u);
}

TEST(ConditionRows, DeleteRemovesOnlyTheSelectedRow) {
    std::vector<ConditionRow> rows = ConditionRows();
    int selected = -1;
    EXPECT_FALSE(DeleteConditionRow(rows, selected));
    EXPECT_EQ(rows.size(), 3u);
    selected = 0;
    EXPECT_TRUE(DeleteConditionRow(rows, selected));
    EXPECT_EQ(rows, (std::vector<ConditionRow>{{"B", "2"}, {"C", "3"}}));
    EXPECT_EQ(selected, -1);
}

} // namespace
