#include "VelkLib/VelkMutex.h"

#include "VelkLib/VelkError.h"

#include <gtest/gtest.h>

#include <future>

namespace {

// Whether another thread could take the mutex right now.
bool freeForOthers(VelkMutex& mutex) {
    return std::async(std::launch::async, [&] {
               if (!mutex.wait(0)) return false;
               mutex.release();
               return true;
           }).get();
}

TEST(VelkMutexTest, LocksNestAndOnlyTheHolderReleases) {
    VelkMutex mutex("");
    ASSERT_TRUE(mutex.wait(VelkMutex::waitForever));
    ASSERT_TRUE(mutex.wait(0));  // the holder may take it again
    EXPECT_FALSE(std::async(std::launch::async, [&] { return mutex.release(); }).get());
    EXPECT_TRUE(mutex.release());
    EXPECT_FALSE(freeForOthers(mutex));
    EXPECT_TRUE(mutex.release());
    EXPECT_TRUE(freeForOthers(mutex));
    EXPECT_FALSE(mutex.release());  // nothing held: refused, no harm done
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

TEST(VelkMutexTest, CreateAgainLetsGoOfTheOldMutex) {
    VelkMutex mutex("");
    auto before = mutex.handle;
    ASSERT_TRUE(mutex.wait(VelkMutex::waitForever));
    mutex.create("");
    EXPECT_NE(mutex.handle, before);
    EXPECT_TRUE(before->try_lock());
    before->unlock();
    EXPECT_TRUE(freeForOthers(mutex));
}

TEST(VelkMutexTest, LocksEndWithTheirScopeAndFailedWaitsThrow) {
    VelkMutex mutex("");
    try {
        VelkMutexLock lock(&mutex);
        throw VelkError("boom");
    } catch (const VelkError&) {
    }
    EXPECT_TRUE(freeForOthers(mutex));
    VelkMutexLock nothing(nullptr);

    mutex.handle.reset();
    try {
        mutex.wait(VelkMutex::waitForever);
        FAIL() << "waited on no mutex";
    } catch (const VelkError& error) {
        EXPECT_EQ(error.message.rfind("Wait for mutex failed.", 0), 0u);
        EXPECT_EQ(error.detail.rfind("System error code ", 0), 0u);
    }
}

}  // namespace
