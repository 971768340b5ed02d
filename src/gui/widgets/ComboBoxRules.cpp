#include "gui/widgets/ComboBoxRules.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QScrollBar>
#include <QStyle>

namespace pw {

namespace {

const QString kRulesName = QStringLiteral("ComboBoxRules");

// Lives as a child of its box and watches it.
class ComboBoxRules : public QObject {
public:
    explicit ComboBoxRules(QComboBox* box) : QObject(box), mBox(box), mBoxObject(box) {
        setObjectName(kRulesName);
        box->setFocusPolicy(Qt::StrongFocus); // not Qt::WheelFocus
        box->installEventFilter(this);
        box->view()->setTextElideMode(Qt::ElideNone);
        const QAbstractItemModel* model = box->model();
        for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
            connect(model, signal, this, &ComboBoxRules::FitListWidth);
        connect(model, &QAbstractItemModel::modelReset, this, &ComboBoxRules::FitListWidth);
        connect(model, &QAbstractItemModel::dataChanged, this, &ComboBoxRules::FitListWidth);
        FitListWidth();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != mBoxObject)
            return false;
        switch (event->type()) {
        case QEvent::Wheel:
            if (mBox->hasFocus())
                break;
            event->ignore(); // so it goes on to the box's parent
            return true;
        case QEvent::FontChange:
        case QEvent::StyleChange:
            FitListWidth();
            break;
        default:
            break;
        }
        return false;
    }

private:
    // The list's least width: its widest entry, its frame, and the scroll bar when the entries are more
    // than the list shows at once. The list opens at least as wide as the box.
    void FitListWidth() {
        QAbstractItemView* view = mBox->view();
        const int widest = mBox->count() > 0 ? view->sizeHintForColumn(mBox->modelColumn()) : 0;
        int width = widest + 2 * view->frameWidth();
        if (mBox->count() > mBox->maxVisibleItems())
            width +=
                view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view->verticalScrollBar());
        view->setMinimumWidth(width);
    }

    QComboBox* mBox;
    const QObject* mBoxObject; // compared by address: events still arrive while the box is destroyed
};

} // namespace

void ApplyComboBoxRules(QComboBox* box) {
    if (!box->findChild<QObject*>(kRulesName, Qt::FindDirectChildrenOnly))
        new ComboBoxRules(box);
}

} // namespace pw
