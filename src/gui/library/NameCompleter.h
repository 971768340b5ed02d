#pragma once
// Completion of a line edit from a list of names (a list of the library index, the string table's IDs, the
// commands): each edit by the user offers, in a drop-down under the edit, the first names that begin with
// the text (A-Z folded), looked up afresh in the list of the moment. Nothing is typed for the user: the
// text changes only when an entry is picked, and Enter without one leaves it as typed.

#include <QCompleter>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLineEdit;
class QStringListModel;

namespace pw {

class NameCompleter : public QCompleter {
    Q_OBJECT
public:
    // A sorted list (AsciiLessNoCase) of Windows-1251 names, or null for none.
    using Names = std::shared_ptr<const std::vector<std::string>>;

    // Becomes edit's completer, a child of edit. names gives the list to offer at each edit.
    NameCompleter(QLineEdit* edit, std::function<Names()> names);

    // A list that lives for the whole run (a fixed vocabulary), as names may give it.
    static Names Fixed(const std::vector<std::string>& list);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Offer(const QString& text);

    std::function<Names()> mNames;
    QStringListModel* mOffered;
};

} // namespace pw
