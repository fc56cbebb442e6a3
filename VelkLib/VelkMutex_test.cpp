#include "VelkLib/VelkMutex.h"

#include "VelkLib/VelkError.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace {

// Whether another thread could take the mutex right now.
bool freeForOthers(VelkMutex& mutex) {
    return std::async(std::launch::async, [&] {
               if (!mutex.wait(0)) return false;
               mutex.release();
               return true;
           }).get();
}

TEST(VelkMutexTest, LocksNestAndEachLockNeedsItsRelease) {
    VelkMutex mutex("");
    ASSERT_TRUE(mutex.wait(VelkMutex::waitForever));
    ASSERT_TRUE(mutex.wait(0));  // the holder may take it again
    EXPECT_FALSE(freeForOthers(mutex));
    EXPECT_TRUE(mutex.release());
    EXPECT_FALSE(freeForOthers(mutex));
    EXPECT_TRUE(mutex.release());
    EXPECT_TRUE(freeForOthers(mutex));
    EXPECT_FALSE(mutex.release());  // nothing held: refused, no harm done
}

TEST(VelkMutexTest, ReleaseByAThreadThatDoesNotHoldItIsRefused) {
    VelkMutex mutex("");
    ASSERT_TRUE(mutex.wait(VelkMutex::waitForever));
    EXPECT_FALSE(std::async(std::launch::async, [&] { return mutex.release(); }).get());
    EXPECT_FALSE(freeForOthers(mutex));
    EXPECT_TRUE(mutex.release());
}

TEST(VelkMutexTest, UnnamedMutexesAreIndependentAndNamedOnesShared) {
    VelkMutex first(""), second("");
    VelkMutexLock lock(&first);
    EXPECT_TRUE(freeForOthers(second));

    VelkMutex named1("vantry-test"), named2("vantry-test"), other("vantry-other");
    VelkMutexLock namedLock(&named1);
    EXPECT_FALSE(freeForOthers(named2));
    EXPECT_TRUE(freeForOthers(other));
}

TEST(VelkMutexTest, CreateAgainReplacesTheMutex) {
    VelkMutex mutex("");
    auto before = mutex.handle;
    ASSERT_TRUE(mutex.wait(VelkMutex::waitForever));
    mutex.create("");  // lets go of the old one, hold included
    EXPECT_NE(mutex.handle, before);
    EXPECT_TRUE(before->try_lock());
    before->unlock();
    EXPECT_TRUE(freeForOthers(mutex));
}

TEST(VelkMutexTest, LockIsReleasedWhenItsScopeEndsByAThrow) {
    VelkMutex mutex("");
    try {
        VelkMutexLock lock(&mutex);
        throw VelkError("boom");
    } catch (const VelkError&) {
    }
    EXPECT_TRUE(freeForOthers(mutex));
    VelkMutexLock nothing(nullptr);  // locks nothing, must not crash
}

TEST(VelkMutexTest, WaitWithoutAMutexFails) {
    VelkMutex mutex("");
    mutex.handle.reset();
    try {
        mutex.wait(VelkMutex::waitForever);
        FAIL() << "waited on no mutex";
    } catch (const VelkError& error) {
        EXPECT_EQ(error.message.rfind("Wait for mutex failed.", 0), 0u);
        EXPECT_EQ(error.detail.rfind("System error code ", 0), 0u);
    }
}

TEST(VelkMutexTest, GuardsSharedDataAcrossThreads) {
    VelkMutex mutex("");
    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 2000; ++i) {
                VelkMutexLock lock(&mutex);
                VelkMutexLock again(&mutex);
                ++counter;
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(counter, 8000);
}

}  // namespace
