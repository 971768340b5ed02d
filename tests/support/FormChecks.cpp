#include "FormChecks.h"

#include <QLabel>
#include <QWidget>

namespace pwtest {

QStringList UnreadableLabels(const QWidget& form) {
    QStringList problems;
    for (const QLabel* label : form.findChildren<QLabel*>()) {
        if (!label->isVisible() || label->isWindow())
            continue;
        const QRect box = label->geometry();
        const QSize needed = label->sizeHint();
        if (box.width() < needed.width() || box.height() < needed.height())
            problems << label->text() + ": cut to " + QString::number(box.width()) + " of " +
                            QString::number(needed.width()) + " pixels";
        if (!label->parentWidget()->rect().contains(box))
            problems << label->text() + ": reaches out of " + label->parentWidget()->objectName();
        // Two pixels on either side keep a label's text apart from its neighbours'.
        const QRect clear = box.adjusted(-2, 0, 2, 0);
        for (const QWidget* other : label->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (other != label && other->isVisible() && !other->isWindow() &&
                other->geometry().intersects(clear)) {
                const auto* otherLabel = qobject_cast<const QLabel*>(other);
                problems << label->text() + ": overlaps " +
                                (otherLabel ? otherLabel->text() : other->objectName());
            }
    }
    return problems;
}

} // namespace pwtest
