#pragma once
// The context menus of the condition lists ItemsList and NpcList: add a row at the end, insert one
// before or after the selected row, delete the selected row. The rules are CommandRows'.

#include "core/dialogue/CommandRows.h"

class QMenu;
class QTableWidget;

namespace pw {

// The objectNames of one condition list's menu and of its items, in menu order.
struct ConditionPopNames {
    const char* menu;
    const char* add;
    const char* firstSeparator;
    const char* insertBefore;
    const char* insertAfter;
    const char* secondSeparator;
    const char* remove;
};
inline constexpr ConditionPopNames kItemsListPopNames{"ItemsListPop", "N19", "N25", "N26",
                                                      "N27",          "N28", "N29"};
inline constexpr ConditionPopNames kNPCListPopNames{"NPCListPop", "N16", "N20", "N21", "N22", "N23", "N24"};

// Builds the list's context menu (a child of the list, shown on a right click) with its items bound to
// the row operations below.
QMenu* AttachConditionListPop(QTableWidget* list, const ConditionPopNames& names);

// Appends "<EMPTY>" with an empty cell; the selection is unchanged.
void AddConditionListRow(QTableWidget* list);
// Inserts a new row before or after the selected row, which stays selected; nothing without one.
void InsertConditionListRow(QTableWidget* list, InsertSide side);
// Deletes the selected row; nothing without one.
void DeleteConditionListRow(QTableWidget* list);

} // namespace pw
