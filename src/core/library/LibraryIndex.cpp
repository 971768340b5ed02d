#include "core/library/LibraryIndex.h"

#include "core/data/FileIO.h"
#include "core/data/Library.h"
#include "core/data/ParallelWork.h"
#include "core/data/Platform.h"
#include "core/data/ProfileIni.h"
#include "core/data/StringTable.h"
#include "core/data/StrUtilsEx.h"
#include "core/dialogue/InfoEditorModel.h"
#include "core/library/LibraryQuery.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <stdexcept>

namespace pw {
namespace {

// The keys each kind of record is indexed by, described once.
struct RecordKeys {
    std::string_view section;
    std::vector<EntryField> fields;
    ProfileKeySet keys;

    RecordKeys(std::string_view section, std::vector<std::string> names, std::vector<EntryField> fields)
        : section(section), fields(std::move(fields)), keys(std::move(names)) {}
};

const RecordKeys& KeysOf(RecordKind kind) {
    using F = EntryField;
    static const RecordKeys dialogue(
        "Info",
        {"Name", "Owner", "Quest", "Parent", "CondPlayerKnows", "InfoScript_Commands", "InfoScript_Entities1",
         "InfoScript_Entities2", "InfoScript_IDs1", "InfoScript_IDs2", "InfoScript_Texts"},
        {F::Name, F::Owner, F::Quest, F::Parent, F::CondPlayerKnows, F::InfoScript_Commands,
         F::InfoScript_Entities1, F::InfoScript_Entities2, F::InfoScript_IDs1, F::InfoScript_IDs2,
         F::InfoScript_Texts});
    static const RecordKeys quest("Quest", {"Name", "FinishedQuests", "LogTopic", "LogText"},
                                  {F::Name, F::FinishedQuests, F::LogTopic, F::LogText});
    return kind == RecordKind::Quest ? quest : dialogue;
}

// The whole file into bytes, or false and why it cannot be had; a file gone since the scan is named as
// check names it.
bool ReadEntryBytes(LibraryEntry& entry, const FolderReader& folder, std::string& bytes) {
    try {
        if (folder.ReadWholeFile(entry.path, bytes))
            return true;
        entry.failure = CannotOpenFileMessage(entry.path, SystemErrorText(ENOENT));
    } catch (const std::runtime_error& e) {
        entry.failure = e.what();
    }
    return false;
}

// Runs on any of the threads: it touches only its own entry, and bytes, the storage of its thread.
void ReadEntry(LibraryEntry& entry, const FolderReader& folder, std::string& bytes,
               const std::function<bool(RecordKind, std::string_view)>& mayMatch) {
    static const ProfileKeySet noKeys(std::vector<std::string>{});
    entry.kind = LibraryFileKind(entry.path);
    if (!ReadEntryBytes(entry, folder, bytes))
        return;
    const RecordKeys& keys = KeysOf(entry.kind);
    entry.narrowedOut = mayMatch && !mayMatch(entry.kind, bytes);
    // Without keys the reading stops at the section's header, which is all a file narrowed out needs.
    ProfileValues found = ProfileFindKeys(bytes, keys.section, entry.narrowedOut ? noKeys : keys.keys);
    // The profile layer reads UTF-16 files of either kind, so the index does too.
    entry.failure = RecordFileProblem(bytes, entry.kind, found.sectionFound, true);
    if (!entry.Read())
        return;
    std::array<std::string_view, kEntryFieldCount> values{};
    for (std::size_t k = 0; k < found.values.size(); ++k)
        if (found.values[k])
            values[static_cast<std::size_t>(keys.fields[k])] = *found.values[k];
    entry.SetFields(values);
}

} // namespace

std::string_view LibraryEntry::Field(EntryField field) const {
    const auto at = static_cast<std::size_t>(field);
    const std::size_t begin = at == 0 ? 0 : mEnds[at - 1];
    return std::string_view(mValues).substr(begin, mEnds[at] - begin);
}

void LibraryEntry::SetFields(const std::array<std::string_view, kEntryFieldCount>& values) {
    mValues.clear();
    for (std::size_t at = 0; at < values.size(); ++at) {
        mValues.append(values[at]);
        // A profile value holds at most 2047 bytes, so the fourteen fit in 16 bits.
        mEnds[at] = static_cast<std::uint16_t>(mValues.size());
    }
}

std::vector<CommandRow> ScriptRowsOf(const LibraryEntry& entry) {
    // The six lists follow one another in EntryField as in a row's cells.
    const auto first = static_cast<std::size_t>(EntryField::InfoScript_Commands);
    std::array<std::string, kCommandCellCount> lists;
    for (std::size_t c = 0; c < lists.size(); ++c)
        lists[c] = entry.Field(static_cast<EntryField>(first + c));
    return CommandRowsOf({&lists[0], &lists[1], &lists[2], &lists[3], &lists[4], &lists[5]});
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

LibraryIndex::LibraryIndex(std::vector<std::string> files) : LibraryIndex(std::move(files), Narrowing()) {}

LibraryIndex::LibraryIndex(std::vector<std::string> files, const ProgressHook& progress)
    : LibraryIndex(std::move(files), Narrowing(), progress) {}

LibraryIndex::LibraryIndex(std::vector<std::string> files, const LibraryQuery& query)
    : LibraryIndex(std::move(files), [&query](RecordKind kind, std::string_view bytes) {
          return query.MayMatch(kind, bytes);
      }) {}

LibraryIndex::LibraryIndex(std::vector<std::string> files, const std::vector<std::string>& words,
                           const ProgressHook& progress)
    : LibraryIndex(
          std::move(files),
          [&words](RecordKind, std::string_view bytes) {
              if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE')
                  return true;
              for (const std::string& word : words)
                  if (ContainsNoCase(bytes, TrimView(word)))
                      return true;
              return false;
          },
          progress) {}

LibraryIndex::LibraryIndex(std::vector<std::string> files, const Narrowing& mayMatch,
                           const ProgressHook& progress) {
    mEntries.resize(files.size());
    for (std::size_t i = 0; i < files.size(); ++i)
        mEntries[i].path = std::move(files[i]);
    // A folder's files one after another, each opened within the folder.
    const std::vector<std::size_t> runs =
        FolderRuns(mEntries.size(), [this](std::size_t i) { return std::string_view(mEntries[i].path); });
    std::atomic<std::size_t> read{0};
    std::atomic<bool> stopped{false};
    ParallelFor(runs.size() - 1, [&](std::size_t r) {
        const FolderReader folder(std::string(FolderPart(mEntries[runs[r]].path)));
        std::string bytes;
        for (std::size_t i = runs[r]; i < runs[r + 1] && !stopped; ++i) {
            ReadEntry(mEntries[i], folder, bytes, mayMatch);
            if (progress && !progress(++read, mEntries.size()))
                stopped = true;
        }
    });
    for (std::size_t i = 0; i < mEntries.size(); ++i) {
        const LibraryEntry& entry = mEntries[i];
        const std::string_view name = TrimView(entry.Name());
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
