#pragma once
// The language server's reading of a record's text: the key a line holds, the list element under the
// cursor, and the named thing there.

#include "LspDocument.h"

#include "core/library/NamePlaces.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pw::lsp {

// A key line under the cursor, columns of the document's Windows-1251 line.
struct KeyAt {
    std::size_t line = 0;
    std::string_view key; // trimmed; empty when the line has no "="
    std::size_t keyBegin = 0, keyEnd = 0;
    std::size_t valueBegin = 0, valueEnd = 0; // the text after "=", trimmed
    bool inValue = false;                     // the cursor stands after the "="
};
std::optional<KeyAt> KeyLineAt(const DocumentText& text, Position position);

// The element of a list value that holds column: its number and trimmed span (an empty element at
// column gives an empty span there).
struct ElementAt {
    std::size_t number = 0;
    std::size_t begin = 0, end = 0;
};
ElementAt ElementOf(std::string_view line, std::size_t valueBegin, std::size_t valueEnd, std::size_t column,
                    std::string_view separators);

// The separators that cut a key's value into elements, empty for a key that holds one value.
std::string_view SeparatorsOf(std::string_view key);

// What a name under the cursor is.
enum class TargetKind { Quest, Dialogue, Event, String, Command };

struct Target {
    TargetKind kind = TargetKind::Quest;
    std::string name;               // Windows-1251, trimmed
    std::size_t begin = 0, end = 0; // offsets of the document's Windows-1251 text
    bool own = false;               // a record's own Name, or a table's entry
};
std::optional<Target> TargetAt(const Document& document, Position position);
// The kind of rename of a target, std::nullopt for a command.
std::optional<RenameKind> RenameKindOf(TargetKind kind);

std::string Utf8(std::string_view cp1251);

} // namespace pw::lsp
