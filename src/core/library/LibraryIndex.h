#pragma once
// The library index: what the browser, the jumps, completion, list, tree and renames need to know of every
// .info and .quest file of the library, read once on all processors. It is the one reader of these fields
// across the library; the rest of the program asks it instead of scanning the files again.

#include "core/data/Cp1251.h"
#include "core/data/Progress.h"
#include "core/data/ReadReport.h"
#include "core/dialogue/InfoScript.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pw {

// The fields the index holds of a file, a dialogue's and then a quest's, each named after its key.
enum class EntryField : std::uint8_t {
    Name,
    Owner,
    Quest,
    Parent,
    CondPlayerKnows,
    InfoScript_Commands,
    InfoScript_Entities1,
    InfoScript_Entities2,
    InfoScript_IDs1,
    InfoScript_IDs2,
    InfoScript_Texts,
    FinishedQuests,
    LogTopic,
    LogText,
};
inline constexpr std::size_t kEntryFieldCount = 14;

// One file of the library. The fields are as the file holds them (Windows-1251), read as the library
// search reads them: section "Info" or "Quest", keys in any letter case, the first of a key wins, one pair
// of quotes removed, at most 2047 bytes. A missing key, and every field of a file that failed, is empty.
class LibraryEntry {
public:
    RecordKind kind = RecordKind::Dialogue; // by the file's extension
    // The index was built for a query that this file cannot match, so its fields were not read (empty).
    bool narrowedOut = false;
    std::string path; // as the library scan gave it
    // Why the file could not be read, or is no file of its kind (UTF-8, as check words it); empty when
    // it was read.
    std::string failure;

    bool Read() const { return failure.empty(); }
    // A dialogue that was read: the only entries a choice of dialogues looks at.
    bool IsDialogue() const { return kind == RecordKind::Dialogue && Read(); }

    // Views into the entry, valid while it lives unchanged.
    std::string_view Field(EntryField field) const;
    std::string_view Name() const { return Field(EntryField::Name); }
    std::string_view Owner() const { return Field(EntryField::Owner); }
    std::string_view Quest() const { return Field(EntryField::Quest); }
    std::string_view Parent() const { return Field(EntryField::Parent); }
    // Sets every field, in the order of EntryField.
    void SetFields(const std::array<std::string_view, kEntryFieldCount>& values);

private:
    // The fields one after another, so that an entry of the twenty thousand of a library is small and
    // costs one allocation; each field ends where the next begins.
    std::string mValues;
    std::array<std::uint16_t, kEntryFieldCount> mEnds{};
};

// The CommandList rows of a dialogue, as the dialogue tab shows them after loading it.
std::vector<CommandRow> ScriptRowsOf(const LibraryEntry& entry);
// The string ID of a dialogue's first Say row (its InfoScript_Texts cell, trimmed); empty when it has
// none, or the cell is empty or "<EMPTY>".
std::string FirstSayId(const LibraryEntry& entry);

class LibraryQuery;

class LibraryIndex {
public:
    LibraryIndex() = default;
    // Reads every file of files (the paths of a library scan) on all processors. A file that cannot be
    // read keeps its place with its failure; nothing is dropped and nothing throws for a file.
    explicit LibraryIndex(std::vector<std::string> files);
    // The same, telling progress of the files read so far; when it says stop, the files not begun are left
    // unread (neither kind nor failure), and the caller is to drop the index.
    LibraryIndex(std::vector<std::string> files, const ProgressHook& progress);
    // The same, but the fields are read only of the files that may hold a dialogue query matches (see
    // LibraryQuery::MayMatch); the others are still checked for being records of their kind, and are
    // marked narrowedOut. query.Select gives over it what it gives over a whole index; look-ups by name
    // do not.
    LibraryIndex(std::vector<std::string> files, const LibraryQuery& query);
    // The same for files that may name one of words: the fields are read only of the files whose bytes hold
    // one of them (A-Z folded; UTF-16 files are always read), for a caller that looks for those words.
    // progress as above.
    LibraryIndex(std::vector<std::string> files, const std::vector<std::string>& words,
                 const ProgressHook& progress = {});
    // The name look-ups point into the entries, which a move keeps in place and a copy would not.
    LibraryIndex(LibraryIndex&&) = default;
    LibraryIndex& operator=(LibraryIndex&&) = default;
    LibraryIndex(const LibraryIndex&) = delete;
    LibraryIndex& operator=(const LibraryIndex&) = delete;

    // In the order of the files given.
    const std::vector<LibraryEntry>& Entries() const { return mEntries; }
    const LibraryEntry& operator[](std::size_t number) const { return mEntries[number]; }

    // The numbers of the dialogues / quests whose Name equals name, both trimmed and A-Z folded, in
    // library order; empty for an empty name.
    const std::vector<std::size_t>& Dialogues(std::string_view name) const;
    const std::vector<std::size_t>& Quests(std::string_view name) const;
    // The numbers of the entries that could not be read, in library order.
    std::vector<std::size_t> Failures() const;

private:
    // Whether a file of a kind with these bytes is to have its fields read; empty: every file.
    using Narrowing = std::function<bool(RecordKind, std::string_view)>;
    LibraryIndex(std::vector<std::string> files, const Narrowing& mayMatch,
                 const ProgressHook& progress = {});

    using NameMap = std::unordered_map<std::string_view, std::vector<std::size_t>, FoldedHash, FoldedEqual>;
    static const std::vector<std::size_t>& Find(const NameMap& names, std::string_view name);

    std::vector<LibraryEntry> mEntries;
    NameMap mDialogues;
    NameMap mQuests;
};

} // namespace pw
