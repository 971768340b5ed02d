#include "library/LibraryIndex.h"

#include "data/FileIO.h"
#include "data/Library.h"
#include "data/ParallelWork.h"
#include "data/ProfileIni.h"
#include "data/StrUtilsEx.h"
#include "data/StringTable.h"
#include "info_editor/InfoEditorModel.h"
#include "library/LibraryQuery.h"

#include <array>
#include <cerrno>
#include <optional>
#include <stdexcept>

namespace pw {
namespace {

struct IndexedKey {
    std::string_view key;
    std::string LibraryEntry::*field;
};

// The keys each kind of record is indexed by, described once.
struct RecordKeys {
    std::string_view section;
    std::vector<IndexedKey> fields;
    ProfileKeySet keys;

    RecordKeys(std::string_view section, std::vector<IndexedKey> indexed)
        : section(section), fields(std::move(indexed)), keys(KeyNames(fields)) {}

    static std::vector<std::string> KeyNames(const std::vector<IndexedKey>& fields) {
        std::vector<std::string> names;
        for (const IndexedKey& field : fields)
            names.emplace_back(field.key);
        return names;
    }
};

const RecordKeys& KeysOf(RecordKind kind) {
    using E = LibraryEntry;
    static const RecordKeys dialogue("Info", {{"Name", &E::Name},
                                              {"Owner", &E::Owner},
                                              {"Quest", &E::Quest},
                                              {"Parent", &E::Parent},
                                              {"CondPlayerKnows", &E::CondPlayerKnows},
                                              {"InfoScript_Commands", &E::InfoScript_Commands},
                                              {"InfoScript_Entities1", &E::InfoScript_Entities1},
                                              {"InfoScript_Entities2", &E::InfoScript_Entities2},
                                              {"InfoScript_IDs1", &E::InfoScript_IDs1},
                                              {"InfoScript_IDs2", &E::InfoScript_IDs2},
                                              {"InfoScript_Texts", &E::InfoScript_Texts}});
    static const RecordKeys quest("Quest", {{"Name", &E::Name},
                                            {"FinishedQuests", &E::FinishedQuests},
                                            {"LogTopic", &E::LogTopic},
                                            {"LogText", &E::LogText}});
    return kind == RecordKind::Quest ? quest : dialogue;
}

// The whole file, or why it cannot be had; a file gone since the scan is named as check names it.
std::optional<std::string> ReadEntryBytes(LibraryEntry& entry) {
    try {
        std::optional<std::string> bytes = ReadWholeFile(entry.path);
        if (!bytes)
            entry.failure = CannotOpenFileMessage(entry.path, SystemErrorText(ENOENT));
        return bytes;
    } catch (const std::runtime_error& e) {
        entry.failure = e.what();
        return std::nullopt;
    }
}

// Runs on any of the threads: it touches only its own entry.
void ReadEntry(LibraryEntry& entry, const LibraryQuery* query) {
    static const ProfileKeySet noKeys(std::vector<std::string>{});
    entry.kind = LibraryFileKind(entry.path);
    const std::optional<std::string> bytes = ReadEntryBytes(entry);
    if (!bytes)
        return;
    const RecordKeys& keys = KeysOf(entry.kind);
    entry.narrowedOut = query && !query->MayMatch(entry.kind, *bytes);
    // Without keys the reading stops at the section's header, which is all a file narrowed out needs.
    ProfileValues found = ProfileFindKeys(*bytes, keys.section, entry.narrowedOut ? noKeys : keys.keys);
    // The profile layer reads UTF-16 files of either kind, so the index does too.
    entry.failure = RecordFileProblem(*bytes, entry.kind, found.sectionFound, true);
    if (!entry.Read())
        return;
    for (std::size_t k = 0; k < found.values.size(); ++k)
        entry.*keys.fields[k].field = std::move(found.values[k]).value_or(std::string());
}

} // namespace

std::vector<CommandRow> ScriptRowsOf(const LibraryEntry& entry) {
    return CommandRowsOf({&entry.InfoScript_Commands, &entry.InfoScript_Entities1,
                          &entry.InfoScript_Entities2, &entry.InfoScript_IDs1, &entry.InfoScript_IDs2,
                          &entry.InfoScript_Texts});
}

std::string FirstSayId(const LibraryEntry& entry) {
    for (const CommandRow& row : ScriptRowsOf(entry)) {
        if (!AsciiEqualNoCase(TrimView(row[0]), "Say"))
            continue;
        const std::string_view id = TrimView(row[5]);
        return id == kEmptyPlaceholder ? std::string() : std::string(id);
    }
    return {};
}

LibraryIndex::LibraryIndex(std::vector<std::string> files) : LibraryIndex(std::move(files), nullptr) {}

LibraryIndex::LibraryIndex(std::vector<std::string> files, const LibraryQuery& query)
    : LibraryIndex(std::move(files), &query) {}

LibraryIndex::LibraryIndex(std::vector<std::string> files, const LibraryQuery* query) {
    mEntries.resize(files.size());
    for (std::size_t i = 0; i < files.size(); ++i)
        mEntries[i].path = std::move(files[i]);
    ParallelFor(mEntries.size(), [this, query](std::size_t i) { ReadEntry(mEntries[i], query); });
    for (std::size_t i = 0; i < mEntries.size(); ++i) {
        const LibraryEntry& entry = mEntries[i];
        const std::string_view name = TrimView(entry.Name);
        if (!name.empty())
            (entry.kind == RecordKind::Quest ? mQuests : mDialogues)[name].push_back(i);
    }
}

const std::vector<std::size_t>& LibraryIndex::Find(const NameMap& names, std::string_view name) {
    static const std::vector<std::size_t> none;
    const auto found = names.find(TrimView(name));
    return found == names.end() ? none : found->second;
}

const std::vector<std::size_t>& LibraryIndex::Dialogues(std::string_view name) const {
    return Find(mDialogues, name);
}

const std::vector<std::size_t>& LibraryIndex::Quests(std::string_view name) const {
    return Find(mQuests, name);
}

std::vector<std::size_t> LibraryIndex::Failures() const {
    std::vector<std::size_t> failures;
    for (std::size_t i = 0; i < mEntries.size(); ++i)
        if (!mEntries[i].Read())
            failures.push_back(i);
    return failures;
}

} // namespace pw
