#include "gui/library/LibraryIndexService.h"

#include "core/data/Platform.h"
#include "gui/common/BackgroundWork.h"

#include <QMetaObject>
#include <QTimer>

#include <chrono>
#include <utility>

namespace pw {
namespace {

// How often the windows hear how far a build is.
constexpr int kProgressMs = 100;

} // namespace

LibraryIndexService::LibraryIndexService(QObject* parent)
    : QObject(parent), mProgressTimer(new QTimer(this)) {
    mProgressTimer->setInterval(kProgressMs);
    connect(mProgressTimer, &QTimer::timeout, this, [this] { emit BuildProgress(mRead, mTotal); });
}

LibraryIndexService::~LibraryIndexService() {
    mQuitting = true;
    if (mWorker.joinable())
        mWorker.join();
    mStartPending = false;
    UpdateIdle();
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
    UpdateIdle();
}

void LibraryIndexService::Start() {
    mStartPending = false;
    mAgain = false;
    mRead = 0;
    mTotal = 0;
    mProgressTimer->start();
    mWorker = std::thread([this, folders = mFolders, tablePath = mTablePath] {
        platform::LowerThreadPriority(); // the windows' thread first
        std::shared_ptr<const LibrarySnapshot> built;
        const ProgressHook progress = [this](std::size_t read, std::size_t total) {
            mRead = read;
            mTotal = total;
            return !mQuitting;
        };
        try {
            built = BuildLibrarySnapshot(folders, tablePath, progress);
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
    UpdateIdle();
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
    else
        mProgressTimer->stop();
    if (built) {
        // The build before is let go once its readers have taken the new one; freeing it takes a while,
        // and what it held goes back to the system, or every rebuild would leave the program larger.
        std::shared_ptr<const LibrarySnapshot> before = std::exchange(mCurrent, std::move(built));
        emit Rebuilt();
        ReleaseInBackground(std::move(before));
    }
    UpdateIdle();
}

void LibraryIndexService::UpdateIdle() {
    {
        const std::lock_guard<std::mutex> lock(mIdleLock);
        mIdle = !Building();
    }
    mIdleChanged.notify_all();
}

bool LibraryIndexService::WaitForBuild(const ProgressHook& hook) const {
    // Often enough that a stop asked for is heard at once.
    constexpr std::chrono::milliseconds kLook(20);
    std::unique_lock<std::mutex> lock(mIdleLock);
    while (!mIdle) {
        if (!GoOn(hook, mRead, mTotal))
            return false;
        mIdleChanged.wait_for(lock, kLook);
    }
    return true;
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
