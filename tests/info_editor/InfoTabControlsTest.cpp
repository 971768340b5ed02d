// What the dialogue tab shows before anything is loaded.

#include "FormChecks.h"
#include "InfoTabFixture.h"
#include "UserInput.h"

#include "widgets/ExtCtrls2.h"

#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QSyntaxHighlighter>
#include <QTest>
#include <QToolButton>

namespace pwtest {
namespace {

using InfoTabControls = InfoTabFixture;

TEST_F(InfoTabControls, EveryFieldHasItsLabelAboveItDefaultAndHint) {
    struct Field {
        const char *name, *label, *text, *hint;
    };
    const Field fields[] = {
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
        {"CondPlayerKnowsEd", "Необходимое условие", "",
         "Какое событие (event) должно предшествовать диалогу."},
        {"CondItemContainerCmb", "Персонаж-держатель", "", ""},
        {"TeachSkillCmb", "Изученный навык", "", ""},
        {"TeachSkillIsPercEd", "Специальный навык", "False", "Является ли выучиваемый навык специальным"},
        {"TeachSkillIndexEd", "Индекс навыка", "0", "Индекс навыка"},
        {"TeachSkillValueEd", "Значение навыка", "0", "Значение навыка"},
        {"TeachAttribEd", "Изучаемый навык", "", "Атрибуты навыка"},
        {"TeachAttribValueEd", "Значение навыка", "0", "Значение навыка"},
        {"PermanentEd", "Показывать постоянно", "False", "Показывать ли пункт диалога постоянно"},
        {"ClearChildrenEd", "Скрыть дочерние д-ги", "False", "Нужно ли убрать все остальные диалоги"},
        {"InfoStrViewEd", "Подсказка", "", ""},
    };
    tab.show(); // labels are placed when their boxes are shown
    for (const Field& expected : fields) {
        SCOPED_TRACE(expected.name);
        QWidget* field = Find(expected.name);
        QLabel* label = nullptr;
        if (auto* box = qobject_cast<pw::TLabeledComboBox*>(field))
            label = box->EditLabel();
        for (QLabel* candidate : tab.findChildren<QLabel*>())
            if (candidate->buddy() == field)
                label = candidate;
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), QString::fromUtf8(expected.label));
        EXPECT_EQ(QPoint(label->x(), label->y() + label->height() + 3), field->pos());
        EXPECT_EQ(Text(expected.name), QString::fromUtf8(expected.text));
        EXPECT_EQ(field->toolTip(), QString::fromUtf8(expected.hint));
        const bool hint = field->objectName() == "InfoStrViewEd"; // five columns wide, green label
        EXPECT_EQ(field->width(), hint ? 4 * 128 + 121 : 121);
        EXPECT_EQ(label->palette().color(QPalette::WindowText) == QColor(0, 128, 0), hint);
    }
}

TEST_F(InfoTabControls, EveryLabelCanBeReadWhole) {
    tab.resize(923, 860);
    tab.show();
    EXPECT_EQ(UnreadableLabels(tab).join('\n').toStdString(), "");
}

TEST_F(InfoTabControls, ButtonsSearchPanelAndComboLists) {
    EXPECT_EQ(Find<QPushButton>("WriteBtn")->text(), ">>>");
    EXPECT_EQ(Find<QPushButton>("WriteBtn")->toolTip(), "Записать значение в таблицу строк");
    EXPECT_EQ(Find<QPushButton>("BuildBtn")->text(), "Компилировать");
    EXPECT_EQ(Combo("FindInfoCmb")->width(), 873);
    EXPECT_EQ(Combo("FindInfoCmb")->parentWidget(), Find("SearchPan"));
    EXPECT_EQ(Find<QToolButton>("SpeedButton1")->size(), QSize(21, 21));
    EXPECT_FALSE(Find<QToolButton>("SpeedButton1")->icon().isNull());

    for (const char* name : {"InfoTypeCmb", "ConditionTypeCmb", "FolderCmb", "OwnerCmb",
                             "CondItemContainerCmb", "TeachSkillCmb", "NPCListCmb"})
        EXPECT_EQ(Combo(name)->insertPolicy(), QComboBox::NoInsert) << name; // typed text stays typed
    EXPECT_EQ(Combo("CondItemContainerCmb")->itemText(416), "Zuben");
    EXPECT_EQ(Combo("NPCListCmb")->itemText(5), "Не говорил с героем");
    EXPECT_EQ(Combo("NPCListCmb")->itemText(6), "Abbas");
    EXPECT_TRUE(Combo("NPCListCmb")->isHidden());
    EXPECT_TRUE(Find("ItemsListEd")->isHidden());
}

TEST_F(InfoTabControls, ListsHaveTheirColumnsAboveTheSplitterAndPane) {
    const std::pair<const char*, QStringList> lists[] = {
        {"ItemsList", {"Условный предмет:200", "Количество:100"}},
        {"NpcList", {"Следующий персонаж:200", "Состояние:100"}},
        {"CommandList",
         {"Метод или рутина:120", "Параметр Entities1:120", "Параметр Entities2:120", "Параметр IDs1:120",
          "Параметр IDs2:120", "ID строки в таблице строк:250"}},
    };
    for (const auto& [name, columns] : lists) {
        auto* list = Find<QTableWidget>(name);
        QStringList shown;
        for (int column = 0; column < list->columnCount(); ++column)
            shown << list->horizontalHeaderItem(column)->text() + ':' +
                         QString::number(list->columnWidth(column));
        EXPECT_EQ(shown, columns);
        EXPECT_TRUE(list->showGrid());
        EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
    }
    EXPECT_EQ(Find<QTableWidget>("CommandList")->selectionMode(), QAbstractItemView::ExtendedSelection);

    tab.resize(923, 860);
    tab.show();
    auto* splitter = Find<QSplitter>("Splitter1");
    EXPECT_EQ(Find("ItemsList")->height(), 74);
    EXPECT_EQ(splitter->widget(0), Find("CommandList"));
    EXPECT_EQ(splitter->widget(1), Find("SynInfoMem"));
    EXPECT_EQ(Find("CommandList")->height(), 207);
    EXPECT_TRUE(Find<pw::TextPane>("SynInfoMem")->isReadOnly());
    EXPECT_NE(Find<pw::TextPane>("SynInfoMem")->document()->findChild<QSyntaxHighlighter*>(), nullptr);
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
    EXPECT_EQ(boxes, 7); // the search box and the six labelled ones

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
