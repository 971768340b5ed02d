#pragma once
// Work spread over the processors: many files read and examined at once, by a small pool of threads that
// lives for one run. Each item's result goes to a place of its own, so the caller reads the results in
// the order of the items, whatever order the threads finished them in.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace pw {

// The number of threads a run uses at most: the processors this process may run on.
unsigned WorkThreads();

// Calls work(i) for every i in [0, count) and returns when all calls have returned. The calls run on up
// to WorkThreads() threads, the calling thread among them, so calls for different i overlap: work must
// change only what belongs to its i. When a call throws, no further calls start, and the first exception
// is thrown here once the running ones have ended.
void ParallelFor(std::size_t count, const std::function<void(std::size_t)>& work);
// The same on up to threads threads, for work that mostly waits for the disk (writes flushed to it): more
// of them in flight than there are processors let the system flush them together.
void ParallelFor(std::size_t count, unsigned threads, const std::function<void(std::size_t)>& work);

// Jobs that run while the caller is still finding them (a folder's files checked while the scan lists
// the next folder): the pool's other threads take each job as it is added, and Finish puts the calling
// thread to the rest. A job must change only what belongs to it. When a job throws, no further jobs
// start, and Finish throws the first exception once the running ones have ended.
class WorkQueue {
public:
    WorkQueue();
    // Stops taking jobs, waits for the running ones: an owner leaving by an exception waits for no more.
    ~WorkQueue();
    WorkQueue(const WorkQueue&) = delete;
    WorkQueue& operator=(const WorkQueue&) = delete;

    void Add(std::function<void()> job);
    // Runs the jobs left on this thread too and returns when every job added has ended.
    void Finish();

private:
    // Runs jobs until none is left; with wait, also waits for more until Finish or a failure.
    void Work(bool wait);

    std::mutex mMutex;
    std::condition_variable mAdded;
    std::deque<std::function<void()>> mJobs;
    bool mFinishing = false;
    bool mFailed = false;
    std::exception_ptr mFirstFailure;
    std::vector<std::jthread> mPool;
};

} // namespace pw
