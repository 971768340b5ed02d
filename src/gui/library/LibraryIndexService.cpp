#include "gui/library/LibraryIndexService.h"

#include "core/data/Platform.h"

#include <QMetaObject>
#include <QTimer>

namespace pw {

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
