#include "gui/library/NameCompleter.h"

#include "core/data/Cp1251.h"
#include "core/data/StrUtilsEx.h"
#include "core/library/NameCompletion.h"
#include "gui/common/Cp1251Text.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStringListModel>
#include <QStyle>
#include <QStyleOptionViewItem>

#include <algorithm>

namespace pw {

NameCompleter::NameCompleter(QLineEdit* edit, std::function<Names()> names)
    : QCompleter(edit), mNames(std::move(names)), mOffered(new QStringListModel(this)) {
    setModel(mOffered);
    // The list offered is the look-up's; the completer's own filter, run over it, drops none of it.
    setCompletionMode(QCompleter::PopupCompletion);
    setCaseSensitivity(Qt::CaseInsensitive);
    // A name highlighted in the drop-down would go into the edit at once (the completer tells the edit of
    // each highlight through the list's selection), and stay there after Escape; only a name taken counts.
    mList = popup();
    disconnect(mList->selectionModel(), nullptr, this, nullptr);
    mList->setTextElideMode(Qt::ElideNone);
    // Connected before the edit takes the completer, so the list is refilled before the edit asks it.
    connect(edit, &QLineEdit::textEdited, this, &NameCompleter::Offer);
    edit->setCompleter(this);
}

NameCompleter::Names NameCompleter::Fixed(const std::vector<std::string>& list) {
    return Names(Names(), &list);
}

void NameCompleter::SetExcluded(std::function<std::string()> excluded) {
    mExcluded = std::move(excluded);
}

bool NameCompleter::eventFilter(QObject* watched, QEvent* event) {
    // QCompleter keeps the focus loss from the edit while its list is open. The focus leaving otherwise
    // than for the list closes the list first, so that the edit hears of it (a cell editor commits then).
    if (watched == widget() && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
        popup()->hide();
    // QCompleter would take the highlighted name on Tab and then hand the key to the edit past its event
    // filters; here the name is left and the key goes to the edit as any key does.
    if (watched == mList && mList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && widget()) {
            mList->hide();
            QCoreApplication::sendEvent(widget(), event);
            return true;
        }
    }
    return QCompleter::eventFilter(watched, event);
}

void NameCompleter::Offer(const QString& text) {
    QStringList offered;
    if (const Names names = text.isEmpty() ? nullptr : mNames()) {
        const std::string excluded = mExcluded ? Trim(mExcluded()) : std::string();
        for (std::string_view name : NamesStartingWith(*names, ToCp1251(text), kCompletionLimit + 1)) {
            if (static_cast<std::size_t>(offered.size()) == kCompletionLimit)
                break;
            if (!excluded.empty() && AsciiEqualNoCase(name, excluded))
                continue;
            offered << FromCp1251(name);
        }
    }
    mOffered->setStringList(offered);
    mFoundNone = !text.isEmpty() && offered.isEmpty();
    FitPopupWidth();
}

void NameCompleter::OfferAgain() {
    auto* edit = qobject_cast<QLineEdit*>(widget());
    if (!mFoundNone || !edit || !edit->hasFocus())
        return;
    Offer(edit->text());
    if (mOffered->rowCount() == 0)
        return;
    setCompletionPrefix(edit->text());
    complete();
}

void NameCompleter::FitPopupWidth() {
    QStyleOptionViewItem option;
    option.initFrom(mList);
    option.widget = mList;
    int widest = 0;
    for (int row = 0; row < mOffered->rowCount(); ++row)
        widest = std::max(widest, mList->itemDelegate()->sizeHint(option, mOffered->index(row)).width());
    int width = widest + 2 * mList->frameWidth();
    if (mOffered->rowCount() > maxVisibleItems())
        width += mList->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, mList->verticalScrollBar());
    mList->setMinimumWidth(width);
}

} // namespace pw
