#pragma once
// Work spread over the processors: many files read and examined at once, by a small pool of threads that
// lives for one run. Each item's result goes to a place of its own, so the caller reads the results in
// the order of the items, whatever order the threads finished them in.

#include <cstddef>
#include <functional>

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

} // namespace pw
