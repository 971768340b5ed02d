#pragma once
// The string table seen from the editor tabs: the text behind a string ID shown in a hint field, and a
// line written to the table after the user's answers. Both go through the workspace's accessor; when
// the settings were incomplete at start there is none, and nothing is read or written.

#include <string>

class QLineEdit;
class QString;
class QWidget;

namespace pw {

struct Workspace;

// Whether the workspace has a table; without one says so ("Таблица строк недоступна: …") and gives false.
bool StringTableOpen(QWidget* owner, const Workspace& workspace);

// Shows in target what the table holds under id (Windows-1251, passed as typed): empty for "<EMPTY>"
// or a blank id, "<dialog not found>" for an id the table lacks. Without a table the field is emptied
// and its grey placeholder says why.
void LookupTableString(const Workspace& workspace, const std::string& id, QLineEdit* target);

// Writes id=text (Windows-1251) into the table: a blank id gets "Идентификатор строки не задан" and an id
// that could never be read back the reason why, an id that holds a non-empty value gets the duplicate
// question first (existing value and text as passed). An empty text is written as the entry "id=;". True
// when written; the caller then sets the change mark. Throws std::runtime_error("Unable to write to %s.
// %s") when the file cannot be written; the table is then unchanged. Without a table it says so and
// writes nothing.
bool AddTableString(QWidget* owner, const Workspace& workspace, const std::string& id,
                    const std::string& text);

// The write buttons of both tabs: the ID and the text as the window shows them, the text trimmed of
// blanks and control characters at both ends when ends is Trimmed. A character either holds that
// Windows-1251 lacks is named in a box and nothing is written; so is a blank ID ("Идентификатор строки не
// задан") or one the table could never read back. Then asks "Добавить строку в таблицу строк?" and goes
// on with AddTableString. Without a table it says so at once, before anything else.
enum class TextEnds { AsTyped, Trimmed };
bool AskAndAddTableString(QWidget* owner, const Workspace& workspace, const QString& id, const QString& text,
                          TextEnds ends);

} // namespace pw
