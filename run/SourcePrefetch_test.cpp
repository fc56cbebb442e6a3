#include "run/SourcePrefetch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <stdexcept>

#include "VelkLib/VelkThreadPool.h"

namespace {

PreparedFile fakeSource(const std::string& path, const std::string& project) {
    PreparedFile file;
    if (path == "broken.h") {
        file.source.error = std::make_exception_ptr(std::runtime_error("unreadable"));
        return file;
    }
    file.source.documented = true;
    file.source.text = project + ":" + path;
    return file;
}

TEST(SourcePrefetch, HandsEachFileItsOwnResultInWalkOrder) {
    VelkThreadPool pool(4);
    std::atomic<int> prepared{0};
    SourcePrefetch prefetch(
        pool, {{"a.h", "p"}, {"b.h", "p"}, {"broken.h", "p"}, {"a.h", "q"}, {"c.h", "p"}},
        [&](const std::string& path, const std::string& project) {
            ++prepared;
            return fakeSource(path, project);
        },
        2);
    PreparedFile source;
    ASSERT_TRUE(prefetch.take("a.h", "p", source));
    EXPECT_EQ(source.source.text, "p:a.h");
    ASSERT_TRUE(prefetch.take("b.h", "p", source));
    EXPECT_EQ(source.source.text, "p:b.h");
    ASSERT_TRUE(prefetch.take("broken.h", "p", source));
    EXPECT_TRUE(source.source.error) << "an error travels with its file";
    // The same path in another project is another file.
    ASSERT_TRUE(prefetch.take("a.h", "q", source));
    EXPECT_EQ(source.source.text, "q:a.h");
    ASSERT_TRUE(prefetch.take("c.h", "p", source));
    EXPECT_EQ(prepared.load(), 5);
}

TEST(SourcePrefetch, AFileTheListDoesNotHoldAheadIsLeftToTheCaller) {
    VelkThreadPool pool(2);
    SourcePrefetch prefetch(pool, {{"a.h", "p"}, {"b.h", "p"}, {"c.h", "p"}}, fakeSource, 1);
    PreparedFile source;
    EXPECT_FALSE(prefetch.take("new.h", "p", source)) << "appeared after the list was made";
    // A file skipped by the walk (removed meanwhile) does not shift the rest.
    ASSERT_TRUE(prefetch.take("b.h", "p", source));
    EXPECT_EQ(source.source.text, "p:b.h");
    EXPECT_FALSE(prefetch.take("a.h", "p", source)) << "already behind the walk";
    ASSERT_TRUE(prefetch.take("c.h", "p", source));
    EXPECT_EQ(source.source.text, "p:c.h");
    EXPECT_FALSE(prefetch.take("c.h", "p", source));
}

// The caller's own work fills the wait for a file still being prepared,
// and ends the moment it has nothing left; a ready file needs none.
TEST(SourcePrefetch, TheWaitForAFileIsFilledUntilTheCallerHasNothingLeft) {
    VelkThreadPool pool(1);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    SourcePrefetch prefetch(
        pool, {{"slow.h", "p"}, {"quick.h", "p"}},
        [&](const std::string& path, const std::string& project) {
            // Bounded, so that a wait left unfilled fails instead of hanging.
            if (path == "slow.h") released.wait_for(std::chrono::seconds(10));
            return fakeSource(path, project);
        },
        2);
    int calls = 0;
    auto work = [&] {
        if (++calls == 3) release.set_value();  // the file becomes ready meanwhile
        return true;
    };
    PreparedFile source;
    ASSERT_TRUE(prefetch.take("slow.h", "p", source, work));
    EXPECT_EQ(source.source.text, "p:slow.h");
    EXPECT_GE(calls, 3);

    // With nothing to do the wait is a plain one.
    int idleCalls = 0;
    ASSERT_TRUE(prefetch.take("quick.h", "p", source, [&] { return ++idleCalls, false; }));
    EXPECT_EQ(source.source.text, "p:quick.h");
    EXPECT_LE(idleCalls, 1);
}

}  // namespace
