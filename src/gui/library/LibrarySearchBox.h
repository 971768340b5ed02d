#pragma once
// The library search box of an editor tab: an editable combo box that takes a query and then lists the
// files found, and the button beside it. Enter in the box or a click on the button searches the files of
// the library that the box's mode looks at; choosing a listed file asks the tab to open it.
//
// Each entry shows its path as the file system holds it and keeps the path's own bytes, so choosing it
// opens the file even when its name is not valid in the file system's encoding (a Windows-1251 name
// unpacked from an archive) and the shown text cannot be turned back into it.

#include "core/library/LibrarySearch.h"

#include <QObject>
#include <QString>

#include <string>

class QComboBox;
class QToolButton;
class QWidget;

namespace pw {

struct Workspace;

// The height of the box and the side of the square button.
inline constexpr int kSearchBoxHeight = 21;

class LibrarySearchBox : public QObject {
    Q_OBJECT
public:
    // Places the box (873 px wide) and the button at height top of panel, as its children named boxName
    // and buttonName. The object itself is a child of panel; workspace must outlive it.
    LibrarySearchBox(QWidget* panel, int top, const QString& boxName, const QString& buttonName,
                     SearchMode mode, const Workspace& workspace);

    // Searches the library for the box's text: the paths found become the box's list and their count
    // its text. A text that is no query (empty, or the count of the last search) does nothing; in a run
    // whose settings name no library a warning says the search is unavailable.
    void Search();
    // A file of the library now has another path (a rename): its entry and the box's text follow it.
    void PathRenamed(const std::string& from, const std::string& to);

signals:
    // A listed file was chosen; path is the file system's bytes.
    void FileChosen(const std::string& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QComboBox* mBox;
    QToolButton* mButton;
    SearchMode mMode;
    const Workspace& mWorkspace;
};

} // namespace pw
