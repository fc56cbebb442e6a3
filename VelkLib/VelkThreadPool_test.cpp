#include "VelkLib/VelkThreadPool.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <thread>
#include <stdexcept>
#include <vector>

namespace {

TEST(VelkThreadPool, RunsEveryTaskOnANumberedWorkerAndKeepsWhatATaskThrew) {
    std::atomic<int> ran{0};
    std::atomic<bool> badWorker{false};
    std::vector<std::future<void>> done;
    {
        VelkThreadPool pool(3);
        EXPECT_EQ(pool.size(), 3u);
        for (int i = 0; i < 200; ++i)
            done.push_back(pool.submit([&](unsigned worker) {
                if (worker >= 3) badWorker = true;
                ++ran;
            }));
        std::future<void> failed =
            pool.submit([](unsigned) { throw std::runtime_error("page not written"); });
        EXPECT_THROW(failed.get(), std::runtime_error);
    }
    EXPECT_EQ(ran.load(), 200);
    EXPECT_FALSE(badWorker.load());
    for (auto& d : done) EXPECT_NO_THROW(d.get());
}

TEST(VelkThreadPool, FinishesQueuedTasksBeforeItGoesAway) {
    std::atomic<int> ran{0};
    {
        VelkThreadPool pool(1);
        for (int i = 0; i < 50; ++i) pool.submit([&](unsigned) { ++ran; });
    }
    EXPECT_EQ(ran.load(), 50);
    VelkThreadPool none(0);  // asked for no thread: one is there all the same
    EXPECT_EQ(none.size(), 1u);
}

// A task queued to start soon gets a worker of its own while the others
// are busy, even one that waits for it; a task queued in turn still runs
// when every worker sleeps, and both kinds run once each when mixed.
TEST(VelkThreadPool, SoonTasksGetAFreeWorkerAndTasksInTurnAreNeverLeftQueued) {
    using namespace std::chrono_literals;
    VelkThreadPool pool(3);
    for (int round = 0; round < 20; ++round) {
        std::promise<void> second;
        std::future<void> secondRan = second.get_future();
        std::future<void> first = pool.submit([&](unsigned) {
            // Bounded, so that a pool that leaves the second task queued
            // fails the test instead of hanging it.
            EXPECT_EQ(secondRan.wait_for(10s), std::future_status::ready) << round;
        });
        std::future<void> helper = pool.submit([&](unsigned) { second.set_value(); });
        first.get();
        helper.get();
        // Let the workers fall asleep before the next tasks come.
        std::this_thread::sleep_for(1ms);
        std::atomic<int> ran{0};
        std::vector<std::future<void>> done;
        for (int i = 0; i < 30; ++i)
            done.push_back(pool.submit([&](unsigned) { ++ran; },
                                       i % 3 == 0 ? VelkThreadPool::Start::Soon
                                                  : VelkThreadPool::Start::InTurn));
        for (auto& d : done)
            ASSERT_EQ(d.wait_for(10s), std::future_status::ready) << round;
        EXPECT_EQ(ran.load(), 30);
    }
}

TEST(VelkThreadPool, SlicesCoverTheRangeOnceAndTheFirstFailureIsThrown) {
    VelkThreadPool pool(4);
    for (std::size_t count : {0u, 1u, 5u, 1000u}) {
        std::vector<std::atomic<int>> seen(count);
        std::vector<int> slicesSeen(7, 0);
        forEachSlice(pool, count, 7, [&](std::size_t slice, std::size_t begin, std::size_t end) {
            EXPECT_EQ(begin, count * slice / std::min<std::size_t>(count, 7));
            ++slicesSeen[slice];
            for (std::size_t i = begin; i < end; ++i) ++seen[i];
        });
        for (std::size_t slice = 0; slice < 7; ++slice)
            EXPECT_EQ(slicesSeen[slice], slice < count ? 1 : 0) << count << " " << slice;
        for (std::size_t i = 0; i < count; ++i) EXPECT_EQ(seen[i].load(), 1) << count << " " << i;
    }
    std::atomic<int> finished{0};
    std::exception_ptr failure;
    {
        // The error is looked at once the pool's threads are gone: a worker
        // may still drop its own hold on it after the slices have ended, and
        // that count lives in the C++ runtime, out of ThreadSanitizer's sight.
        VelkThreadPool failing(4);
        try {
            forEachSlice(failing, 8, 8, [&](std::size_t, std::size_t begin, std::size_t) {
                if (begin == 5) throw std::runtime_error("five");
                if (begin == 2) throw std::logic_error("two");
                ++finished;
            });
        } catch (...) {
            failure = std::current_exception();
        }
    }
    ASSERT_TRUE(failure) << "no error";
    try {
        std::rethrow_exception(failure);
    } catch (const std::logic_error& e) {
        EXPECT_STREQ(e.what(), "two");
    } catch (...) {
        ADD_FAILURE() << "not the first slice's error";
    }
    EXPECT_EQ(finished.load(), 6) << "every other slice still ran";
}

TEST(VelkThreadPool, ThreadCountComesFromTheEnvironmentWhenItIsAUsableNumber) {
    const unsigned processors = [] {
        unsetenv("VANTRY_THREADS");
        return configuredThreadCount();
    }();
    EXPECT_GE(processors, 1u);
    setenv("VANTRY_THREADS", "1", 1);
    EXPECT_EQ(configuredThreadCount(), 1u);
    setenv("VANTRY_THREADS", "256", 1);
    EXPECT_EQ(configuredThreadCount(), 256u);
    EXPECT_EQ(threadCountWarning(), "");
    for (const char* unusable : {"0", "-3", "257", "4x", "", "many", "99999999999999999999", "100000"}) {
        setenv("VANTRY_THREADS", unusable, 1);
        EXPECT_EQ(configuredThreadCount(), processors) << unusable;
        // Never taken in silence.
        EXPECT_EQ(threadCountWarning(), "VANTRY_THREADS=\"" + std::string(unusable) +
                                            "\" is not a whole number from 1 to 256; " +
                                            std::to_string(processors) + " threads are used");
    }
    unsetenv("VANTRY_THREADS");
    EXPECT_EQ(threadCountWarning(), "");
}

}  // namespace
