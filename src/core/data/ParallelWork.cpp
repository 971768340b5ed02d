#include "core/data/ParallelWork.h"

#include "core/data/Platform.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace pw {
namespace {

// Items are handed out a few at a time: one shared counter step per item would cost as much as a small
// file's check, and large steps would leave one thread working alone at the end.
std::size_t StepFor(std::size_t count, unsigned threads) {
    return std::clamp<std::size_t>(count / (threads * 32u), 1, 16);
}

} // namespace

unsigned WorkThreads() {
    static const unsigned threads = platform::UsableProcessors();
    return threads;
}

void ParallelFor(std::size_t count, const std::function<void(std::size_t)>& work) {
    ParallelFor(count, WorkThreads(), work);
}

void ParallelFor(std::size_t count, unsigned most, const std::function<void(std::size_t)>& work) {
    const unsigned threads = static_cast<unsigned>(std::min<std::size_t>(most, count));
    if (threads <= 1) {
        for (std::size_t i = 0; i < count; ++i)
            work(i);
        return;
    }
    const std::size_t step = StepFor(count, threads);
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::exception_ptr firstFailure;
    std::mutex failureMutex;
    const auto run = [&] {
        while (!failed.load(std::memory_order_relaxed)) {
            const std::size_t begin = next.fetch_add(step, std::memory_order_relaxed);
            if (begin >= count)
                return;
            try {
                for (std::size_t i = begin; i < std::min(begin + step, count); ++i)
                    work(i);
            } catch (...) {
                const std::lock_guard<std::mutex> lock(failureMutex);
                if (!firstFailure)
                    firstFailure = std::current_exception();
                failed = true;
            }
        }
    };
    {
        std::vector<std::jthread> pool;
        pool.reserve(threads - 1);
        for (unsigned t = 1; t < threads; ++t)
            pool.emplace_back(run);
        run();
    } // the pool's threads are joined here
    if (firstFailure)
        std::rethrow_exception(firstFailure);
}

WorkQueue::WorkQueue() {
    for (unsigned t = 1; t < WorkThreads(); ++t)
        mPool.emplace_back([this] { Work(true); });
}

WorkQueue::~WorkQueue() {
    {
        const std::lock_guard<std::mutex> lock(mMutex);
        mFinishing = true;
        mFailed = true; // no job starts after this
    }
    mAdded.notify_all();
} // the pool's threads are joined as it goes

void WorkQueue::Add(std::function<void()> job) {
    {
        const std::lock_guard<std::mutex> lock(mMutex);
        mJobs.push_back(std::move(job));
    }
    mAdded.notify_one();
}

void WorkQueue::Finish() {
    {
        const std::lock_guard<std::mutex> lock(mMutex);
        mFinishing = true;
    }
    mAdded.notify_all();
    Work(false);
    for (std::jthread& thread : mPool)
        thread.join();
    mPool.clear();
    if (mFirstFailure)
        std::rethrow_exception(mFirstFailure);
}

void WorkQueue::Work(bool wait) {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock<std::mutex> lock(mMutex);
            if (wait)
                mAdded.wait(lock, [this] { return mFailed || mFinishing || !mJobs.empty(); });
            if (mFailed || mJobs.empty())
                return;
            job = std::move(mJobs.front());
            mJobs.pop_front();
        }
        try {
            job();
        } catch (...) {
            const std::lock_guard<std::mutex> lock(mMutex);
            if (!mFirstFailure)
                mFirstFailure = std::current_exception();
            mFailed = true;
            mAdded.notify_all();
        }
    }
}

} // namespace pw
