#pragma once
// The library index the windows share: built in the background from the library folders, replaced as a
// whole when a newer build is done, so a window always reads one consistent index and is never held up
// by a build. Everything here runs on the thread of the windows but the build itself and WaitForBuild.

#include "core/data/Progress.h"
#include "core/library/LibrarySnapshot.h"

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class QTimer;

namespace pw {

class LibraryIndexService : public QObject {
    Q_OBJECT
public:
    explicit LibraryIndexService(QObject* parent = nullptr);
    // Stops a build that is running at its next file and waits for it; its result is dropped.
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
    // Blocks the calling thread, which must not be the windows' (they would wait for themselves), until
    // no build runs or is asked for, telling hook now and then how many files the build has read of how
    // many; returns false when hook said stop first. For a window that waits in the background.
    bool WaitForBuild(const ProgressHook& hook) const;

signals:
    // A new build has replaced Current().
    void Rebuilt();
    // Now and then while a build runs: the files it has read and all it found (0 until they are counted).
    void BuildProgress(std::size_t read, std::size_t total);

private:
    static constexpr int kFirstBuildDelayMs = 300;
    // Starts a build once the event loop has run for delayMs, or after the running one.
    void StartSoon(int delayMs);
    void Start();
    // Takes the result of the finished worker (joining it) and starts the next build if one was asked.
    void Collect();
    // Tells WaitForBuild whether a build runs or is asked for, after each change of that.
    void UpdateIdle();

    std::vector<std::string> mFolders;
    std::string mTablePath;
    std::shared_ptr<const LibrarySnapshot> mCurrent;
    std::thread mWorker;
    std::mutex mResultLock;
    std::shared_ptr<const LibrarySnapshot> mResult; // from the worker, guarded by mResultLock
    bool mStartPending = false;  // a start is queued for the event loop
    bool mAgain = false;         // a rebuild was asked while a build ran
    QTimer* mProgressTimer;
    // Shared with the build and with WaitForBuild's threads.
    std::atomic<std::size_t> mRead{0};
    std::atomic<std::size_t> mTotal{0};
    std::atomic<bool> mQuitting{false};
    mutable std::mutex mIdleLock;
    mutable std::condition_variable mIdleChanged;
    bool mIdle = true; // guarded by mIdleLock
};

// One completion list of service's newest build, which the pointer keeps alive while it is read; null when
// there is no service or no build yet.
std::shared_ptr<const std::vector<std::string>> CurrentNames(const LibraryIndexService* service,
                                                             std::vector<std::string> LibrarySnapshot::*list);

} // namespace pw
