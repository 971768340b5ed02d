#include "gui/widgets/ExtCtrls2.h"

#include "gui/widgets/ComboBoxRules.h"

#include <QEvent>
#include <QLabel>

namespace pw {

TLabeledComboBox::TLabeledComboBox(const QString& name, QWidget* parent)
    : QComboBox(parent), mLabel(new QLabel(name, parent)) {
    setObjectName(name);
    setEditable(true);
    ApplyComboBoxRules(this);
    mLabel->setObjectName(QStringLiteral("SubLabel"));
    mLabel->setBuddy(this);
    mLabel->adjustSize();
    mLabelObject = mLabel.data();
    mLabel->installEventFilter(this);
    FollowVisibility();
    PlaceLabel();
}

TLabeledComboBox::~TLabeledComboBox() {
    delete mLabel.data();
}

void TLabeledComboBox::SetLabelText(const QString& text) {
    if (!mLabel)
        return;
    mLabel->setText(text);
    mLabel->adjustSize(); // the resize re-places the label
}

void TLabeledComboBox::SetLabelPosition(TLabelPosition position) {
    mLabelPosition = position;
    PlaceLabel();
}

void TLabeledComboBox::SetLabelSpacing(int spacing) {
    mLabelSpacing = spacing;
    PlaceLabel();
}

bool TLabeledComboBox::event(QEvent* event) {
    const bool result = QComboBox::event(event);
    if (!mLabel)
        return result;
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
        PlaceLabel();
        break;
    case QEvent::ParentChange:
        FollowParent();
        break;
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        FollowVisibility();
        break;
    case QEvent::EnabledChange:
        mLabel->setEnabled(isEnabled());
        break;
    case QEvent::LayoutDirectionChange:
        mLabel->setLayoutDirection(layoutDirection());
        break;
    default:
        break;
    }
    return result;
}

bool TLabeledComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mLabelObject && event->type() == QEvent::Resize)
        PlaceLabel();
    return QComboBox::eventFilter(watched, event);
}

void TLabeledComboBox::PlaceLabel() {
    if (!mLabel)
        return;
    const QRect box = geometry();
    const int w = mLabel->width();
    const int h = mLabel->height();
    // Integer division truncates toward zero, which is how the label is centred beside the box.
    switch (mLabelPosition) {
    case TLabelPosition::lpAbove:
        mLabel->move(box.left(), box.top() - h - mLabelSpacing);
        break;
    case TLabelPosition::lpBelow:
        mLabel->move(box.left(), box.top() + box.height() + mLabelSpacing);
        break;
    case TLabelPosition::lpLeft:
        mLabel->move(box.left() - w - mLabelSpacing, box.top() + (box.height() - h) / 2);
        break;
    case TLabelPosition::lpRight:
        mLabel->move(box.left() + box.width() + mLabelSpacing, box.top() + (box.height() - h) / 2);
        break;
    }
}

void TLabeledComboBox::FollowParent() {
    if (mLabel->parentWidget() != parentWidget())
        mLabel->setParent(parentWidget()); // a reparented widget starts hidden
    mLabel->setEnabled(isEnabled());
    mLabel->setLayoutDirection(layoutDirection());
    FollowVisibility();
    PlaceLabel();
}

void TLabeledComboBox::FollowVisibility() {
    QWidget* parent = parentWidget();
    if (!parent) {
        mLabel->hide(); // never let the label become a window of its own
        return;
    }
    // While the parent is not shown, isHidden() is also true for a box that will appear with it; only
    // an explicit hide keeps the label away then.
    const bool shown =
        parent->isVisible() ? !isHidden() : !(isHidden() && testAttribute(Qt::WA_WState_ExplicitShowHide));
    mLabel->setVisible(shown);
}

} // namespace pw
