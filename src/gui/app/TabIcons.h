#pragma once
// The pictures of the main window's tabs and the program's own icon, drawn by the program itself.

#include <QIcon>
#include <QList>

namespace pw {

// Index of each picture in the list returned by MakeTabImages.
enum TabImage {
    kTextPageImage = 0,    // the string editor's tab
    kChangedPageImage = 1, // the same page with a mark: the string table was changed
    kDialogueImage = 2,
    kQuestImage = 3,
};

QList<QIcon> MakeTabImages();

// The program's icon: its windows and its tray icon.
QIcon MakeProgramIcon();

} // namespace pw
