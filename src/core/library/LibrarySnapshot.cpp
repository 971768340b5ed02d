#include "core/library/LibrarySnapshot.h"

#include "core/data/Cp1251.h"
#include "core/data/FileIO.h"
#include "core/data/Library.h"
#include "core/data/StringTable.h"
#include "core/data/StrUtilsEx.h"

#include <algorithm>
#include <atomic>
#include <unordered_set>

namespace pw {
namespace {

// Completion's prefix search needs the names in this order.
void SortNames(std::vector<std::string>& names) {
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return AsciiLessNoCase(a, b); });
}

// Names gathered once each, A-Z folded, then sorted.
class NameList {
public:
    void Add(std::string_view name) {
        name = TrimView(name);
        if (name.empty() || !mSeen.emplace(name).second)
            return;
        mNames.emplace_back(name);
    }
    std::vector<std::string> Sorted() {
        SortNames(mNames);
        return std::move(mNames);
    }

private:
    std::vector<std::string> mNames; // in library order until sorted
    std::unordered_set<std::string, FoldedHash, FoldedEqual> mSeen;
};

} // namespace

std::shared_ptr<const LibrarySnapshot> BuildLibrarySnapshot(const std::vector<std::string>& folders,
                                                            const std::string& tablePath,
                                                            const ProgressHook& progress) {
    std::vector<std::string> files;
    for (const std::string& folder : folders)
        if (!folder.empty() && DirectoryExists(folder))
            ScanLibraryFolder(folder, files);
    auto snapshot = std::make_shared<LibrarySnapshot>();
    std::atomic<bool> stopped{false};
    const ProgressHook reading = [&progress, &stopped](std::size_t done, std::size_t total) {
        if (GoOn(progress, done, total))
            return true;
        stopped = true;
        return false;
    };
    snapshot->index = LibraryIndex(std::move(files), reading);
    if (stopped)
        return nullptr;
    NameList dialogues, quests, owners, events;
    for (const LibraryEntry& entry : snapshot->index.Entries()) {
        if (!entry.Read())
            continue;
        if (entry.kind == RecordKind::Quest) {
            quests.Add(entry.Name());
            continue;
        }
        dialogues.Add(entry.Name());
        owners.Add(entry.Owner());
        events.Add(entry.Field(EntryField::CondPlayerKnows));
        // Only a dialogue that names the command is worth splitting into rows.
        if (!ContainsNoCase(entry.Field(EntryField::InfoScript_Commands), "SetGameEvent"))
            continue;
        for (const CommandRow& row : ScriptRowsOf(entry))
            if (AsciiEqualNoCase(TrimView(row[0]), "SetGameEvent"))
                events.Add(row[3]);
    }
    snapshot->dialogueNames = dialogues.Sorted();
    snapshot->questNames = quests.Sorted();
    snapshot->owners = owners.Sorted();
    snapshot->events = events.Sorted();
    if (!tablePath.empty()) {
        snapshot->tableIds = ListTableIds(tablePath); // each once already
        SortNames(snapshot->tableIds);
    }
    return snapshot;
}

} // namespace pw
