#include "core/data/ParallelWork.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace pw;

TEST(ParallelWork, EveryItemRunsOnceAndItsResultKeepsItsPlace) {
    for (const std::size_t count : {0u, 1u, 7u, 1000u, 25000u}) {
        std::vector<std::atomic<int>> calls(count);
        std::vector<std::size_t> results(count);
        ParallelFor(count, [&](std::size_t i) {
            ++calls[i];
            results[i] = i * i;
        });
        for (std::size_t i = 0; i < count; ++i) {
            ASSERT_EQ(calls[i], 1) << i << " of " << count;
            ASSERT_EQ(results[i], i * i);
        }
    }
}

TEST(ParallelWork, UsesTheProcessorsItMay) {
    ASSERT_GE(WorkThreads(), 1u);
    std::mutex mutex;
    std::set<std::thread::id> threads;
    ParallelFor(2000, [&](std::size_t) {
        const std::lock_guard<std::mutex> lock(mutex);
        threads.insert(std::this_thread::get_id());
        std::this_thread::yield();
    });
    EXPECT_LE(threads.size(), WorkThreads());
    EXPECT_TRUE(threads.count(std::this_thread::get_id())) << "the calling thread works too";

    // Work that waits may run on more threads than processors: all six wait at once here.
    std::atomic<int> waiting{0};
    std::atomic<int> met{0};
    ParallelFor(6, 6, [&](std::size_t) {
        ++waiting;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (waiting < 6 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        met += waiting == 6;
    });
    EXPECT_EQ(met, 6);
}

TEST(ParallelWork, TheFirstFailureStopsTheRunAndIsThrownToTheCaller) {
    std::atomic<std::size_t> started{0};
    EXPECT_THROW(ParallelFor(100000,
                             [&](std::size_t i) {
                                 ++started;
                                 if (i == 50)
                                     throw std::runtime_error("item 50");
                             }),
                 std::runtime_error);
    EXPECT_LT(started.load(), 100000u) << "no new items start after a failure";
    // The pool is gone with the run: the next one works as before.
    std::atomic<std::size_t> done{0};
    ParallelFor(100, [&](std::size_t) { ++done; });
    EXPECT_EQ(done, 100u);
}

// Jobs added while the caller is still finding them all run once, beside the caller's own work; the
// first failure stops the queue and reaches the caller; a queue left by an exception waits for no more.
TEST(WorkQueue, RunsJobsAsTheyComeAndReportsTheFirstFailure) {
    std::vector<std::atomic<int>> calls(500);
    std::atomic<int> beforeFinish{0};
    {
        WorkQueue queue;
        for (std::size_t i = 0; i < calls.size(); ++i) {
            queue.Add([&calls, i] { ++calls[i]; });
            if (i == 10 && WorkThreads() > 1) { // the pool takes jobs before Finish is called
                const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
                while (calls[10] == 0 && std::chrono::steady_clock::now() < deadline)
                    std::this_thread::yield();
                beforeFinish = calls[10].load();
            }
        }
        queue.Finish();
    }
    for (std::size_t i = 0; i < calls.size(); ++i)
        ASSERT_EQ(calls[i], 1) << i;
    if (WorkThreads() > 1) {
        EXPECT_EQ(beforeFinish, 1);
    }

    std::atomic<int> ran{0};
    WorkQueue failing;
    failing.Add([] { throw std::runtime_error("first"); });
    for (int i = 0; i < 10000; ++i)
        failing.Add([&ran] { ++ran; });
    EXPECT_THROW(failing.Finish(), std::runtime_error);
    EXPECT_LT(ran.load(), 10000) << "no job starts after a failure";

    std::atomic<bool> left{false};
    {
        WorkQueue abandoned;
        abandoned.Add([&left] { left = true; });
    } // destroyed without Finish: returns (the test would hang otherwise), whether or not the job ran
}
