#include "run/SourcePrefetch.h"

#include <gtest/gtest.h>

#include <atomic>
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

}  // namespace
