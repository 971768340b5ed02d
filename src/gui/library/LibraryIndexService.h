#pragma once
// The library index the windows share: built in the background from the library folders, replaced as a
// whole when a newer build is done, so a window always reads one consistent index and is never held up
// by a build. Everything here runs on the thread of the windows but the build itself.

#include "core/library/LibrarySnapshot.h"

#include <QObject>

#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pw {

class LibraryIndexService : public QObject {
    Q_OBJECT
public:
    explicit LibraryIndexService(QObject* parent = nullptr);
    // Waits for a build that is running; its result is dropped.
    ~LibraryIndexService() override;

    // The library's folders and its string table. A change of either starts a build a moment after the event
    // loop runs (so that the window that asked shows first); the same again changes nothing.
    void Open(const std::vector<std::string>& folders, const std::string& tablePath = {});
    // Scans the folders and the table again and builds a new index, as after the program wrote a file or
    // on F5. A request while a build runs is served by one more build after it.
    void Rebuild();

    // The newest finished build; null before the first.
    std::shared_ptr<const LibrarySnapshot> Current() const { return mCurrent; }
    bool Building() const { return mWorker.joinable() || mStartPending; }
    // Runs the builds asked for to their end here and now, so that Current() is up to date: for a jump
    // that found its index out of date, and for tests.
    void WaitUntilBuilt();

signals:
    // A new build has replaced Current().
    void Rebuilt();

private:
    static constexpr int kFirstBuildDelayMs = 300;
    // Starts a build once the event loop has run for delayMs, or after the running one.
    void StartSoon(int delayMs);
    void Start();
    // Takes the result of the finished worker (joining it) and starts the next build if one was asked.
    void Collect();

    std::vector<std::string> mFolders;
    std::string mTablePath;
    std::shared_ptr<const LibrarySnapshot> mCurrent;
    std::thread mWorker;
    std::mutex mResultLock;
    std::shared_ptr<const LibrarySnapshot> mResult; // from the worker, guarded by mResultLock
    bool mStartPending = false;  // a start is queued for the event loop
    bool mAgain = false;         // a rebuild was asked while a build ran
};

// One completion list of service's newest build, which the pointer keeps alive while it is read; null when
// there is no service or no build yet.
std::shared_ptr<const std::vector<std::string>> CurrentNames(const LibraryIndexService* service,
                                                             std::vector<std::string> LibrarySnapshot::*list);

} // namespace pw
