#pragma once
// Process-wide state, shared by every main window: the settings, the two library lists, the string
// table accessor, the remembered find and replace settings and the dialogs every main window opens.
// main() creates it before the first window and it outlives every window.

#include "core/data/Configs.h"
#include "core/data/StringTable.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

class QDialog;

namespace pw {

class LibraryIndexService;

// What the string editor's find and replace dialogs remember, for every main window: all off or empty
// at start, replaced as a whole by each OK of a dialog (the replace fields only by the replace dialog).
struct SearchSettings {
    bool backwards = false;
    bool matchCase = false;
    bool fromCaret = false;
    bool selectionOnly = false;
    bool wholeWords = false;
    bool regularExpression = false;
    QString searchText;
    QStringList searchHistory; // newest first, at most 10
    QString replaceText;
    QStringList replaceHistory; // newest first, at most 10
};

struct Workspace {
    explicit Workspace(std::unique_ptr<TConfigs> settings, std::string programDir)
        : configs(std::move(settings)), programDir(std::move(programDir)) {}

    std::unique_ptr<TConfigs> configs;
    // The folder of the executable, which holds the scratch folders "_Infos" and "_Quests".
    std::string programDir;

    // Built by a main window's creation when the settings are complete; empty otherwise.
    std::vector<std::string> infoFiles;
    std::vector<std::string> questFiles;
    std::shared_ptr<TStringTable> stringTable; // null until opened
    bool libraryReady = false;                 // false in a run started with incomplete settings
    // The index of the library's files, built in the background once the library is open; null until
    // then (and in a run started with incomplete settings).
    std::shared_ptr<LibraryIndexService> libraryIndex;
    SearchSettings searchSettings;

    // The settings dialog and the About box that every main window runs modally. Not owned: main()
    // creates them after the first main window (the settings dialog as that window's child, the About
    // box on its own) and they live as long as it does.
    QDialog* configsForm = nullptr;
    QDialog* aboutBox = nullptr;
};

} // namespace pw
