// The combo-box rules on real boxes: the wheel, the focus, and the width of the opened list.

#include "gui/widgets/ComboBoxRules.h"

#include "UserInput.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

using pwtest::TurnWheel;

// A panel that counts the wheel notches that reach it.
class Panel : public QWidget {
public:
    int notches = 0;

protected:
    void wheelEvent(QWheelEvent* event) override {
        notches += -event->angleDelta().y() / 120;
        event->accept();
    }
};

class ComboBoxRulesTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&panel);
        other = new QLineEdit(&panel);
        layout->addWidget(other);
        for (QComboBox** box : {&ruled, &editable, &plain}) {
            *box = new QComboBox(&panel);
            (*box)->addItems({"Жив", "Невредим", "Повержен", "Мертв"});
            layout->addWidget(*box);
        }
        editable->setEditable(true);
        pw::ApplyComboBoxRules(ruled);
        pw::ApplyComboBoxRules(editable);
        pw::ApplyComboBoxRules(editable); // a second call changes nothing
        panel.resize(300, 200);
        panel.show();
        panel.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
        other->setFocus();
    }

    Panel panel;
    QLineEdit* other = nullptr;
    QComboBox* ruled = nullptr;
    QComboBox* editable = nullptr;
    QComboBox* plain = nullptr; // without the rules: shows that the notches reach the boxes
};

TEST_F(ComboBoxRulesTest, WheelOverABoxWithoutFocusChangesNothingAndGoesToTheParent) {
    TurnWheel(plain, 1);
    EXPECT_EQ(plain->currentIndex(), 1);
    other->setFocus(); // the plain box took it from the wheel

    for (QComboBox* box : {ruled, editable}) {
        TurnWheel(box, 1);
        EXPECT_EQ(box->currentIndex(), 0);
        EXPECT_EQ(box->currentText(), "Жив");
        EXPECT_TRUE(other->hasFocus()); // the wheel gives no focus
    }
    EXPECT_EQ(panel.notches, 2);

    // One edit with the focus and one notch over the box.
    editable->setFocus();
    TurnWheel(editable, 1);
    EXPECT_EQ(editable->currentText(), "Невредим");
    EXPECT_EQ(panel.notches, 2);
    TurnWheel(ruled, -1);
    EXPECT_EQ(ruled->currentIndex(), 0);
    EXPECT_TRUE(editable->hasFocus());
}

TEST_F(ComboBoxRulesTest, ClickOrTabGivesTheFocusAndThenTheWheelWorks) {
    QTest::mouseClick(ruled, Qt::LeftButton);
    ruled->hidePopup(); // the click also opened the list
    ASSERT_TRUE(ruled->hasFocus());
    TurnWheel(ruled, 1);
    TurnWheel(ruled, 1);
    EXPECT_EQ(ruled->currentIndex(), 2);

    other->setFocus();
    QTest::keyClick(other, Qt::Key_Tab);
    ASSERT_TRUE(ruled->hasFocus());
    TurnWheel(ruled, -1);
    EXPECT_EQ(ruled->currentIndex(), 1);
}

TEST_F(ComboBoxRulesTest, OpenedListIsAsWideAsItsLongestEntry) {
    auto* box = new QComboBox(&panel);
    box->setEditable(true); // Qt widens the list of a box that is not
    box->setFixedWidth(121);
    box->setMaxVisibleItems(3);
    pw::ApplyComboBoxRules(box);
    box->addItems({"[12] Квест провален", "[13] Квест отменен"});
    const auto everyEntryFits = [box] {
        box->showPopup();
        QAbstractItemView* view = box->view();
        EXPECT_TRUE(view->isVisible());
        EXPECT_GE(view->window()->width(), box->width());
        for (int row = 0; row < box->count(); ++row) {
            const QModelIndex index = view->model()->index(row, 0);
            const QRect rect = view->visualRect(index); // the row's part in sight, left to right
            const int shown =
                std::min(rect.right(), view->viewport()->width() - 1) - std::max(rect.left(), 0) + 1;
            EXPECT_GE(shown, view->sizeHintForIndex(index).width()) << box->itemText(row).toStdString();
        }
        box->hidePopup();
    };
    everyEntryFits();
    // Entries added later, and more than the list shows at once, so it has a scroll bar.
    box->addItems({"[14] Персонаж-держатель отсутствует в базе", "a", "b"});
    everyEntryFits();
}

} // namespace
