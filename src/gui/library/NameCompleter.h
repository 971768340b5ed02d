#pragma once
// Completion of a line edit from a list of names (a list of the library index, the string table's IDs, the
// commands): each edit by the user offers, in a drop-down under the edit as wide as its longest name, the
// first names that begin with the text (A-Z folded), looked up afresh in the list of the moment. Nothing
// is typed for the user: moving through the drop-down leaves the text as typed, only Enter or a click
// takes a name, and Escape or Tab closes the drop-down with the text as typed.

#include <QCompleter>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAbstractItemView;
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

    // A name never offered, asked at each edit (Windows-1251; trimmed and A-Z folded as it is compared):
    // a dialogue's own name is no Parent of it.
    void SetExcluded(std::function<std::string()> excluded);

    // The list may have changed (a build of the library index ended): when the edit has the focus and its
    // typed text was offered nothing, it is looked up again and the drop-down opens with what it finds.
    void OfferAgain();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Offer(const QString& text);
    // The drop-down at least as wide as its widest entry, its frame and its scroll bar.
    void FitPopupWidth();

    std::function<Names()> mNames;
    std::function<std::string()> mExcluded;
    QStringListModel* mOffered;
    QAbstractItemView* mList = nullptr; // the drop-down, once made
    bool mFoundNone = false;            // the last text typed was offered nothing
};

} // namespace pw
