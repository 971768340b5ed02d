#pragma once
// What the language server knows of the library: the index of every dialogue and quest with the names
// completion offers, and the string table held whole, its entries found by ID.

#include "core/data/NameSet.h"
#include "core/data/TableEncoding.h"
#include "core/library/LibrarySnapshot.h"
#include "core/strings/LanguageTable.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw::lsp {

// The string table as its lookups read it: the entries of its first section "LocAdmin_Strings", the first
// of an ID (A-Z folded) winning. Held as one byte per character (the UTF-16 units of a UTF-16 or UTF-8
// table as Windows-1251), so a line's columns are the editor's.
class TableView {
public:
    // Reads the table at path; a missing table holds nothing. Throws std::runtime_error ("Cannot open
    // file ...") when it exists but cannot be read.
    explicit TableView(std::string path);

    struct Entry {
        std::size_t line = 0;   // counted from 0
        std::string_view id;    // trimmed
        std::string_view value; // trimmed
    };
    const std::string& Path() const { return mPath; }
    const Entry* Find(std::string_view id) const;
    // An entry's value as the table holds it, in UTF-8 (the characters of a UTF-16 or UTF-8 table that
    // Windows-1251 lacks included).
    std::string ValueText(const Entry& entry) const;
    // The table's columns and its number of fields, judged as the language model judges them.
    const TableLayout& Layout() const { return mLayout; }
    // The IDs in the order completion searches them (AsciiLessNoCase).
    const std::vector<std::string>& SortedIds() const { return mSortedIds; }
    std::size_t Size() const { return mEntries.size(); }
    // The number of ";" most values hold.
    int Norm() const { return mNorm; }
    // Where a new entry goes: before the line after the last line of the strings' section (counted from
    // 0), or at the end of the file when that is its last line; and the table's line end.
    std::size_t InsertLine() const { return mInsertLine; }
    bool InsertAtEnd() const { return mInsertAtEnd; }
    std::string_view LineEnd() const { return mCrLf ? "\r\n" : "\n"; }
    bool EndsWithBreak() const { return mEndsWithBreak; }
    // The file's encoding, told as every reader of the table tells it (see DetectTableEncoding).
    TextEncoding Encoding() const { return mEncoding; }
    // Whether the file on disk differs in size or time from what was read.
    bool Stale() const;

private:
    void Parse();

    std::string mPath;
    std::string mText;
    std::string mWideBytes; // a UTF-16 or UTF-8 table's text in UTF-16LE, for the texts Windows-1251 lacks
    std::vector<Entry> mEntries;
    NameSet mIds; // numbers as in mEntries
    std::vector<std::string> mSortedIds;
    TableLayout mLayout;
    int mNorm = 0;
    std::size_t mInsertLine = 0;
    bool mInsertAtEnd = true;
    bool mCrLf = true;
    bool mEndsWithBreak = true;
    TextEncoding mEncoding = TextEncoding::Ansi;
    std::uintmax_t mSize = 0;
    std::int64_t mTime = 0;
};

// The file's size and modification time, or zeros when it is missing.
std::pair<std::uintmax_t, std::int64_t> FileStamp(const std::string& path);

// One build of everything the server answers from.
struct Library {
    std::shared_ptr<const LibrarySnapshot> snapshot;
    std::shared_ptr<const TableView> table; // null without a table
    // The language of the client's option among the table's columns: its hover and completion texts, and
    // its untranslated lines told. std::nullopt without the option, a table or a table of languages.
    std::optional<TableLanguage> language;
};

// The language given (a code, column number or name, UTF-8) among table's columns. std::nullopt when none
// is given, or with *problem (UTF-8) set when the table holds one language only or lacks the one given.
std::optional<TableLanguage> ChosenLanguage(const TableView& table, const std::string& given,
                                            std::string* problem = nullptr);

} // namespace pw::lsp
