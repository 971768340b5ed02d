#pragma once
// Jumps from a name in a form to what it names: a dialogue, a quest, a string-table line, or the browser
// showing what names it. A field offers its jumps on its context menu, after the field's own items, and
// the first of them on Ctrl+click.

#include <QString>

#include <functional>
#include <string>
#include <vector>

class QLineEdit;

namespace pw {

struct Jump {
    enum class Kind {
        Dialogue,       // load the dialogue of that name into the dialogue tab
        Quest,          // load the quest of that name into the quest tab
        StringEntry,    // show the string table's line of that ID in the string editor
        ChildDialogues, // the browser showing the dialogues whose Parent is name
        WhereUsed,      // the browser showing the dialogues and quests that name it
        Rename,         // renaming it in every file of the library that names it
    } kind = Kind::Dialogue;
    std::string name; // Windows-1251, as the form holds it
    // What the name names.
    enum class Thing { Dialogue, Quest, Event, String } thing = Thing::Dialogue;
};

// A jump as a menu item.
struct JumpItem {
    QString caption;
    Jump jump;
};

// The usual items for a name of each kind, in the order the menus give them (the first is Ctrl+click's),
// each list ending in "Переименовать во всей библиотеке…".
std::vector<JumpItem> DialogueJumps(const std::string& name); // "Перейти к диалогу", "Где используется"
std::vector<JumpItem> QuestJumps(const std::string& name); // "Перейти к квесту", "Где используется"
std::vector<JumpItem> StringJumps(const std::string& id); // "Показать в редакторе строк", "Где используется"
// "Где используется": for a game event, and for the name a form itself gives.
std::vector<JumpItem> WhereUsedJumps(const std::string& name, Jump::Thing thing);

// Gives edit a context menu of its own items followed by items(clickPosition) and makes Ctrl+click take
// the first of them; go carries a chosen jump out. A blank name offers nothing.
void AttachJumps(QLineEdit* edit, std::function<std::vector<JumpItem>(int cursorPosition)> items,
                 std::function<void(const Jump&)> go);

} // namespace pw
