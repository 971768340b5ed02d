#pragma once
// A string table read whole for its languages: the entries of its strings section with where their values
// lie in the file's bytes, the table's columns, and changes of single cells that keep every other byte.
// The command line's translation commands and the window's translations grid read it; texts cross its
// edge in UTF-8.

#include "core/data/FileIO.h"
#include "core/data/NameSet.h"
#include "core/data/TableEncoding.h"
#include "core/strings/TableLanguages.h"

#include <array>
#include <cstdint>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

// The name of a table's encoding (see DetectTableEncoding) in messages: "Windows-1251", "UTF-16LE",
// "UTF-8".
std::string_view EncodingName(TextEncoding encoding);

// Text of a table converted at the file's edge.
class TableCodec {
public:
    explicit TableCodec(TextEncoding encoding) : mEncoding(encoding) {}
    TextEncoding Encoding() const { return mEncoding; }
    std::size_t MarkSize() const { return MarkOf(mEncoding).size(); }
    std::size_t UnitSize() const { return mEncoding == TextEncoding::Utf16LeBom ? 2 : 1; }
    // The code unit at pos (a byte, or a UTF-16 unit).
    unsigned Unit(std::string_view bytes, std::size_t pos) const;
    // The UTF-8 text of bytes of the table (an unpaired surrogate becomes U+FFFD).
    std::string ToUtf8(std::string_view bytes) const;
    // The bytes of UTF-8 text in the table's encoding; std::nullopt when it cannot hold the text.
    std::optional<std::string> FromUtf8(std::string_view utf8) const;

private:
    TextEncoding mEncoding;
};

// How many values the columns are judged by: the first ones of the strings section.
inline constexpr std::size_t kLayoutSample = 1000;

// The shape of a table's values: its columns and the number of fields most of its first values hold.
struct TableLayout {
    TableLanguages languages;
    std::size_t fieldCount = 1; // the fields of a value by the table's norm of ";"
    bool headerNamed = false;   // the columns come from the table's "LocAdmin_Languages"

    // A table of one or two fields a value holds one language: the language features leave it alone.
    bool SingleLanguage() const { return fieldCount <= 2; }
};

// The words that say a table holds one language, for every language feature (UTF-8).
std::string SingleLanguageMessage(const std::string& table);
// The words that say the table lacks the language given (UTF-8), naming the codes of those it has.
std::string MissingLanguageMessage(const std::string& table, std::string_view given,
                                   const TableLanguages& languages);

// The layout of the table at path, from its header and its first values, read in blocks; a missing table,
// or one that cannot be read, has the game's columns and one field.
TableLayout ReadTableLayout(const std::string& path);

// One entry of the strings section.
struct TableEntry {
    std::size_t line = 0;       // counted from 1
    std::size_t valueBegin = 0; // the value's bytes, trimmed, in the table's bytes
    std::size_t valueEnd = 0;
};

// A change of a table's bytes: [pos, pos + length) becomes bytes.
struct ByteEdit {
    std::size_t pos = 0;
    std::size_t length = 0;
    std::string bytes;
};

class LanguageTable {
public:
    // The table's bytes, parsed (their encoding told by DetectTableEncoding): the entries of its first
    // section "LocAdmin_Strings", each ID once as the game's reading finds it (the first of IDs equal with
    // A-Z folded), blank IDs left out.
    explicit LanguageTable(std::string bytes);
    // The table at path. Throws std::runtime_error("Cannot open file ...") when it is missing or cannot
    // be read.
    static LanguageTable Read(const std::string& path);

    const TableCodec& Codec() const { return mCodec; }
    const TableLayout& Layout() const { return mLayout; }
    std::string_view Bytes() const { return mBytes; }

    std::size_t Size() const { return mEntries.size(); }
    const TableEntry& Entry(std::size_t number) const { return mEntries[number]; }
    // The ID of an entry, UTF-8.
    std::string_view Id(std::size_t number) const { return mIds.Name(number); }
    // The entry whose ID equals id (UTF-8, trimmed, A-Z folded).
    std::optional<std::size_t> Find(std::string_view id) const;

    // The value of an entry in UTF-8.
    std::string Value(std::size_t number) const;
    // The text of one field of an entry in UTF-8; std::nullopt when the value ends before it.
    std::optional<std::string> FieldText(std::size_t number, std::size_t field) const;
    // The value as ASCII-compatible text, enough for the cells' states: the bytes of a Windows-1251 or UTF-8
    // table as they are, the UTF-8 of a UTF-16 table (decoded into buffer).
    std::string_view ValueText(std::size_t number, std::string& buffer) const;

    // The change that sets field of an entry to text (UTF-8) and keeps every other byte: a value that ends
    // before the field is lengthened to the table's number of fields. std::nullopt when the table's
    // encoding cannot hold text.
    std::optional<ByteEdit> FieldEdit(std::size_t number, std::size_t field, std::string_view text) const;

    // The table's bytes with edits made (sorted by place, none overlapping), as pieces pointing into the
    // table and the edits.
    FilePieces Pieces(const std::vector<ByteEdit>& edits) const;

private:
    void Parse();
    // Where field of an entry lies in the bytes, [first, second); std::nullopt past the value's end.
    std::optional<std::pair<std::size_t, std::size_t>> FieldSpan(std::size_t number, std::size_t field) const;

    std::string mBytes;
    TableCodec mCodec;
    TableLayout mLayout;
    std::vector<TableEntry> mEntries;
    NameSet mIds; // UTF-8; the number of each is its entry's
};

// The counts of one language's cells over a table's entries, by state (CellState's order).
struct LanguageCounts {
    std::array<std::size_t, kCellStates> states{};
    std::size_t Total() const;
    std::size_t Translated() const { return states[static_cast<std::size_t>(CellState::Translated)]; }
    // The share translated in whole percent, rounded down (100 only when all are); 0 for no entries.
    int Percent() const;
};

// Appends the state (a CellState) of each column's cell of one value (ASCII-compatible text) to states.
// Returns the value's number of fields.
std::size_t AppendCellStates(std::string_view value, const TableLanguages& languages,
                             std::vector<std::uint8_t>& states);
// Adds the cells of one value (ASCII-compatible text) to counts, which holds one per column.
void CountCells(std::string_view value, const TableLanguages& languages, std::vector<LanguageCounts>& counts);

// The counts of every column of the table at path, in column order, over the entries LanguageTable reads,
// with the layout the table was judged by. The table is read once, line by line in blocks, never held
// whole. Throws std::runtime_error("Cannot open file ...") when it is missing or cannot be read.
struct TableCounts {
    TableLayout layout;
    std::vector<LanguageCounts> counts;
};
TableCounts CountTableLanguages(const std::string& path);

} // namespace pw
