#include "gui/library/LibraryIndexService.h"

#include "core/data/Cp1251.h"
#include "core/data/FileIO.h"
#include "core/data/Library.h"
#include "core/data/Platform.h"
#include "core/data/StringTable.h"
#include "core/data/StrUtilsEx.h"

#include <QMetaObject>
#include <QTimer>

#include <algorithm>
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
                                                            const std::string& tablePath) {
    std::vector<std::string> files;
    for (const std::string& folder : folders)
        if (!folder.empty() && DirectoryExists(folder))
            ScanLibraryFolder(folder, files);
    auto snapshot = std::make_shared<LibrarySnapshot>();
    snapshot->index = LibraryIndex(std::move(files));
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

LibraryIndexService::LibraryIndexService(QObject* parent) : QObject(parent) {}

LibraryIndexService::~LibraryIndexService() {
    if (mWorker.joinable())
        mWorker.join();
}

void LibraryIndexService::Open(const std::vector<std::string>& folders, const std::string& tablePath) {
    if (folders == mFolders && tablePath == mTablePath && (mCurrent || Building()))
        return;
    mFolders = folders;
    mTablePath = tablePath;
    // The first build waits a moment more, so that the window that opened the library is drawn and answers
    // before a build takes the processors.
    StartSoon(kFirstBuildDelayMs);
}

void LibraryIndexService::Rebuild() {
    StartSoon(0);
}

void LibraryIndexService::StartSoon(int delayMs) {
    if (mWorker.joinable()) {
        mAgain = true;
        return;
    }
    if (mStartPending)
        return;
    mStartPending = true;
    QTimer::singleShot(delayMs, this, [this] {
        if (mStartPending)
            Start();
    });
}

void LibraryIndexService::Start() {
    mStartPending = false;
    mAgain = false;
    mWorker = std::thread([this, folders = mFolders, tablePath = mTablePath] {
        std::shared_ptr<const LibrarySnapshot> built;
        try {
            built = BuildLibrarySnapshot(folders, tablePath);
        } catch (const std::exception&) {
            // Only memory can fail here (a file that cannot be read is an entry of its own); the index
            // in use stays.
        }
        {
            std::lock_guard<std::mutex> lock(mResultLock);
            mResult = std::move(built);
        }
        QMetaObject::invokeMethod(this, [this] { Collect(); }, Qt::QueuedConnection);
    });
}

void LibraryIndexService::Collect() {
    if (!mWorker.joinable())
        return; // collected already, by WaitUntilBuilt
    mWorker.join();
    std::shared_ptr<const LibrarySnapshot> built;
    {
        std::lock_guard<std::mutex> lock(mResultLock);
        built = std::move(mResult);
    }
    if (mAgain)
        Start();
    if (built) {
        mCurrent = std::move(built);
        emit Rebuilt();
        // Its readers have taken the new build, so the one before is gone; what it held goes back to the
        // system, or every rebuild would leave the program larger.
        platform::ReturnFreedMemory();
    }
}

void LibraryIndexService::WaitUntilBuilt() {
    while (Building()) {
        if (mStartPending)
            Start();
        Collect();
    }
}

std::shared_ptr<const std::vector<std::string>>
CurrentNames(const LibraryIndexService* service, std::vector<std::string> LibrarySnapshot::*list) {
    std::shared_ptr<const LibrarySnapshot> snapshot = service ? service->Current() : nullptr;
    if (!snapshot)
        return nullptr;
    const std::vector<std::string>& names = (*snapshot).*list;
    return {std::move(snapshot), &names};
}

} // namespace pw
