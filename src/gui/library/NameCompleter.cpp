#include "gui/library/NameCompleter.h"

#include "core/library/NameCompletion.h"
#include "gui/common/Cp1251Text.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QLineEdit>
#include <QStringListModel>

namespace pw {

NameCompleter::NameCompleter(QLineEdit* edit, std::function<Names()> names)
    : QCompleter(edit), mNames(std::move(names)), mOffered(new QStringListModel(this)) {
    setModel(mOffered);
    // The list offered is the look-up's; the completer's own filter, run over it, drops none of it.
    setCompletionMode(QCompleter::PopupCompletion);
    setCaseSensitivity(Qt::CaseInsensitive);
    // Connected before the edit takes the completer, so the list is refilled before the edit asks it.
    connect(edit, &QLineEdit::textEdited, this, &NameCompleter::Offer);
    edit->setCompleter(this);
}

NameCompleter::Names NameCompleter::Fixed(const std::vector<std::string>& list) {
    return Names(Names(), &list);
}

bool NameCompleter::eventFilter(QObject* watched, QEvent* event) {
    // QCompleter keeps the focus loss from the edit while its list is open. The focus leaving otherwise
    // than for the list closes the list first, so that the edit hears of it (a cell editor commits then).
    if (watched == widget() && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
        popup()->hide();
    return QCompleter::eventFilter(watched, event);
}

void NameCompleter::Offer(const QString& text) {
    QStringList offered;
    if (const Names names = text.isEmpty() ? nullptr : mNames())
        for (std::string_view name : NamesStartingWith(*names, ToCp1251(text)))
            offered << FromCp1251(name);
    mOffered->setStringList(offered);
}

} // namespace pw
