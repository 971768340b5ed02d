// What the dialogue tab shows before anything is loaded: the fields with their labels, defaults and
// hints, the combo boxes' lists, the search panel and the three lists.

#include "InfoTabFixture.h"

#include <QGroupBox>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>

#include "text_pane/TextPane.h"

namespace pwtest {
namespace {

struct FieldRow {
    const char* name;
    const char* label;
    const char* text;
    const char* hint;
};

const FieldRow kFields[] = {
    {"NameEd", "Название", "", "Название диалога"},
    {"SortIdEd", "Идентификатор", "-1", "Идентификатор сортировки. Поле не подлежит заполнению."},
    {"OwnerCmb", "Владелец", "", ""},
    {"InfoGivenEd", "Передача информации", "False", ""},
    {"ParentEd", "Дочерний диалог", "", "Предыдущий диалог (для склейки длинных диалогов)"},
    {"QuestEd", "Привязан к квесту", "",
     "Квест, к которому привязан диалог. (Двойной клик, чтобы открыть на вкладке редактора квестов)"},
    {"ConditionTypeCmb", "Тип условия", "[3] Диалог", ""},
    {"InfoTypeCmb", "Приоритет/тип", "3 - Приоритет III", ""},
    {"GoldCostEd", "Цена золотом", "0", "Кол-во золота, для активации пункта"},
    {"CondOwnerNearEntityEd", "Место рядом", "",
     "Зона, в которой должен находиться персонаж для активации диалога."},
    {"FolderCmb", "Каталог", "Myrtana/Ardea_City/", ""},
    {"CondPlayerKnowsEd", "Необходимое условие", "", "Какое событие (event) должно предшествовать диалогу."},
    {"CondItemContainerCmb", "Персонаж-держатель", "", ""},
    {"TeachSkillCmb", "Изученный навык", "", ""},
    {"TeachSkillIsPercEd", "Специальный навык", "False", "Является ли выучиваемый навык специальным"},
    {"TeachSkillIndexEd", "Индекс навыка", "0", "Индекс навыка"},
    {"TeachSkillValueEd", "Значение навыка", "0", "Значение навыка"},
    {"TeachAttribEd", "Изучаемый навык", "", "Атрибуты навыка"},
    {"TeachAttribValueEd", "Значение навыка", "0", "Значение навыка"},
    {"PermanentEd", "Показывать постоянно", "False", "Показывать ли пункт диалога постоянно"},
    {"ClearChildrenEd", "Скрыть дочерние д-ги", "False", "Нужно ли убрать все остальные диалоги"},
};

using InfoTabControls = InfoTabFixture;

TEST_F(InfoTabControls, EveryFieldHasItsLabelAboveItDefaultAndHint) {
    tab.show(); // labels are placed when their boxes are shown
    for (const FieldRow& row : kFields) {
        SCOPED_TRACE(row.name);
        QWidget* field = Find<QWidget>(row.name);
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->width(), 121);
        EXPECT_EQ(Text(row.name), QString::fromUtf8(row.text));
        EXPECT_EQ(field->toolTip(), QString::fromUtf8(row.hint));
        QLabel* label = LabelOf(field);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), QString::fromUtf8(row.label));
        EXPECT_TRUE(label->isVisible());
        EXPECT_EQ(label->x(), field->x());
        EXPECT_EQ(label->y() + label->height() + 3, field->y());
    }
}

TEST_F(InfoTabControls, FieldsStandInFourRowsOfSevenColumns) {
    tab.show();
    const char* grid[3][7] = {
        {"NameEd", "SortIdEd", "OwnerCmb", "InfoGivenEd", "ParentEd", "QuestEd", "ConditionTypeCmb"},
        {"InfoTypeCmb", "GoldCostEd", "CondOwnerNearEntityEd", "FolderCmb", "CondPlayerKnowsEd",
         "CondItemContainerCmb", "TeachSkillCmb"},
        {"TeachSkillIsPercEd", "TeachSkillIndexEd", "TeachSkillValueEd", "TeachAttribEd",
         "TeachAttribValueEd", "PermanentEd", "ClearChildrenEd"},
    };
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 7; ++column) {
            SCOPED_TRACE(grid[row][column]);
            QWidget* field = Find<QWidget>(grid[row][column]);
            QWidget* first = Find<QWidget>(grid[row][0]);
            QWidget* above = Find<QWidget>(grid[row > 0 ? row - 1 : 0][column]);
            EXPECT_EQ(field->y(), first->y());
            EXPECT_EQ(field->x(), Find<QWidget>(grid[0][column])->x());
            if (column > 0)
                EXPECT_GT(field->x(), Find<QWidget>(grid[row][column - 1])->geometry().right());
            if (row > 0)
                EXPECT_GT(LabelOf(field)->y(), above->geometry().bottom());
        }

    QLineEdit* hint = Edit("InfoStrViewEd");
    auto* write = Find<QPushButton>("WriteBtn");
    auto* build = Find<QPushButton>("BuildBtn");
    EXPECT_EQ(hint->x(), Edit("TeachSkillIsPercEd")->x());
    EXPECT_EQ(hint->geometry().right(), Edit("TeachAttribValueEd")->geometry().right());
    EXPECT_GT(hint->y(), Edit("TeachSkillIsPercEd")->geometry().bottom());
    EXPECT_EQ(write->x(), Edit("PermanentEd")->x());
    EXPECT_EQ(build->x(), Edit("ClearChildrenEd")->x());
}

TEST_F(InfoTabControls, HintRowAndButtons) {
    QLineEdit* hint = Edit("InfoStrViewEd");
    QLabel* label = LabelOf(hint);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Подсказка");
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    EXPECT_EQ(hint->text(), "");

    auto* write = Find<QPushButton>("WriteBtn");
    EXPECT_EQ(write->text(), ">>>");
    EXPECT_EQ(write->toolTip(), "Записать значение в таблицу строк");
    EXPECT_EQ(Find<QPushButton>("BuildBtn")->text(), "Компилировать");

    QStringList groups;
    for (auto* group : tab.findChildren<QGroupBox*>())
        groups << group->title();
    EXPECT_EQ(groups, QStringList({"Параметры", "Многозначные параметры"}));
}

TEST_F(InfoTabControls, ComboBoxesOfferTheBuiltInListsAndAcceptTypedText) {
    const std::pair<const char*, int> counts[] = {
        {"InfoTypeCmb", 6}, {"ConditionTypeCmb", 53},      {"FolderCmb", 42},
        {"OwnerCmb", 417},  {"CondItemContainerCmb", 417}, {"TeachSkillCmb", 100},
        {"NPCListCmb", 423}};
    for (const auto& [name, count] : counts) {
        SCOPED_TRACE(name);
        QComboBox* box = Combo(name);
        EXPECT_EQ(box->count(), count);
        EXPECT_TRUE(box->isEditable());
        EXPECT_EQ(box->insertPolicy(), QComboBox::NoInsert);
    }
    EXPECT_EQ(Combo("ConditionTypeCmb")->currentIndex(), 3);
    EXPECT_EQ(Combo("ConditionTypeCmb")->itemText(52), "[52] Назад");
    EXPECT_EQ(Combo("FolderCmb")->currentIndex(), 9);
    EXPECT_EQ(Combo("OwnerCmb")->itemText(0), "Abbas");
    EXPECT_EQ(Combo("TeachSkillCmb")->itemText(99), "Spl_WordOfControl");
    QComboBox* npc = Combo("NPCListCmb");
    EXPECT_EQ(npc->itemText(0), "Жив");
    EXPECT_EQ(npc->itemText(5), "Не говорил с героем");
    EXPECT_EQ(npc->itemText(6), "Abbas");
    EXPECT_TRUE(npc->isHidden());
    EXPECT_TRUE(Edit("ItemsListEd")->isHidden());
}

TEST_F(InfoTabControls, SearchPanelHoldsTheWideBoxAndItsButton) {
    auto* panel = Find<QWidget>("SearchPan");
    QComboBox* box = Combo("FindInfoCmb");
    auto* button = Find<QToolButton>("SpeedButton1");
    EXPECT_EQ(box->parentWidget(), panel);
    EXPECT_EQ(box->width(), 873);
    EXPECT_TRUE(box->isEditable());
    EXPECT_EQ(box->count(), 0);
    EXPECT_EQ(button->size(), QSize(21, 21));
    EXPECT_FALSE(button->icon().isNull());
    EXPECT_GT(button->x(), box->geometry().right());
}

TEST_F(InfoTabControls, ListsHaveTheirColumnsAndReportLook) {
    struct Expected {
        const char* name;
        QStringList captions;
        QList<int> widths;
        QAbstractItemView::SelectionMode selection;
    };
    const Expected lists[] = {
        {"ItemsList", {"Условный предмет", "Количество"}, {200, 100}, QAbstractItemView::SingleSelection},
        {"NpcList", {"Следующий персонаж", "Состояние"}, {200, 100}, QAbstractItemView::SingleSelection},
        {"CommandList",
         {"Метод или рутина", "Параметр Entities1", "Параметр Entities2", "Параметр IDs1", "Параметр IDs2",
          "ID строки в таблице строк"},
         {120, 120, 120, 120, 120, 250},
         QAbstractItemView::ExtendedSelection},
    };
    for (const Expected& expected : lists) {
        SCOPED_TRACE(expected.name);
        QTableWidget* list = List(expected.name);
        ASSERT_EQ(list->columnCount(), expected.captions.size());
        for (int column = 0; column < list->columnCount(); ++column) {
            EXPECT_EQ(list->horizontalHeaderItem(column)->text(), expected.captions[column]);
            EXPECT_EQ(list->columnWidth(column), expected.widths[column]);
        }
        EXPECT_TRUE(list->showGrid());
        EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
        EXPECT_EQ(list->selectionMode(), expected.selection);
        EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
    }
    EXPECT_TRUE(Rows("CommandList").empty());
    EXPECT_TRUE(Rows("ItemsList").empty());
}

TEST_F(InfoTabControls, ListsStandAboveTheSplitterAndThePane) {
    tab.resize(923, 860);
    tab.show();
    QTableWidget* items = List("ItemsList");
    QTableWidget* npcs = List("NpcList");
    QTableWidget* commands = List("CommandList");
    auto* pane = Find<pw::TextPane>("SynInfoMem");
    auto* splitter = Find<QSplitter>("Splitter1");
    EXPECT_EQ(items->height(), 74);
    EXPECT_EQ(npcs->y(), items->y());
    EXPECT_GT(npcs->x(), items->x());
    EXPECT_EQ(splitter->orientation(), Qt::Vertical);
    EXPECT_EQ(splitter->widget(0), commands);
    EXPECT_EQ(splitter->widget(1), pane);
    EXPECT_EQ(commands->height(), 207);
    EXPECT_GT(pane->height(), 207);
    EXPECT_TRUE(pane->isReadOnly());
}

} // namespace
} // namespace pwtest
