#pragma once
// The string table seen from the editor tabs: the text behind a string ID shown in a hint field, and a
// line written to the table after the user's answers. Both go through the workspace's accessor; when
// the settings were incomplete at start there is none, and nothing is read or written.

#include "core/strings/TableLanguages.h"

#include <optional>
#include <string>

class QLineEdit;
class QString;
class QWidget;

namespace pw {

struct Workspace;

// The language of the table's values the editors show and write: the one "Язык реплик" names, when the
// table holds it and more than one language (read from the table's header and first values each time).
struct ChosenLanguage {
    TableLanguage language;
    std::size_t fieldCount = 1; // the fields of a new value
};
std::optional<ChosenLanguage> ChosenTableLanguage(const Workspace& workspace);

// The text of id (Windows-1251) in the chosen language, as the hint fields show it: empty for "<EMPTY>",
// a blank id or a cell past the value's end, "<dialog not found>" for an id the table lacks. std::nullopt
// when no language is chosen or there is no table.
std::optional<QString> LanguageText(const Workspace& workspace, const std::string& id);

// Whether the workspace has a table; without one says so ("Таблица строк недоступна: …") and gives false.
bool StringTableOpen(QWidget* owner, const Workspace& workspace);

// Shows in target what the table holds under id (Windows-1251, passed as typed): empty for "<EMPTY>"
// or a blank id, "<dialog not found>" for an id the table lacks; with a language chosen, the text of that
// language. Without a table the field is emptied and its grey placeholder says why.
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
// on with AddTableString. With a language chosen the text goes into that language's cell of the entry
// instead, every other field kept (a new entry gets the table's number of fields); a cell that holds
// another text asks first with the old and new text, and the text may hold whatever the table's encoding
// holds. Without a table it says so at once, before anything else.
enum class TextEnds { AsTyped, Trimmed };
bool AskAndAddTableString(QWidget* owner, const Workspace& workspace, const QString& id, const QString& text,
                          TextEnds ends);

} // namespace pw
