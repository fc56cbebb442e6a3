#include "VelkLib/VelkPath.h"

#include "VelkLib/VelkError.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(VelkPath, DirectoryAndFileNameAcceptBothSeparators) {
    EXPECT_EQ(directoryOf("/a/b.txt"), "/a");
    EXPECT_EQ(directoryOf("/x.html"), "/");
    EXPECT_EQ(directoryOf("\\x.html"), "/");
    EXPECT_EQ(directoryOf("b.txt"), ".");
    EXPECT_EQ(directoryOf("a/b\\c.txt"), "a/b");
    EXPECT_EQ(fileNameOf("a\\b.txt"), "b.txt");
    EXPECT_EQ(fileNameOf("a/b.txt"), "b.txt");
    EXPECT_EQ(fileNameOf("b.txt"), "b.txt");
    EXPECT_EQ(fileNameOf("a/"), "");
}

TEST(VelkPath, RelativeAndAbsolute) {
    EXPECT_TRUE(isRelativePath(""));
    EXPECT_TRUE(isRelativePath("C:x"));
    EXPECT_FALSE(isRelativePath("/x"));
    EXPECT_FALSE(isRelativePath("\\x"));
    const std::string current = getCurrentDirectory();
    EXPECT_EQ(makeAbsolutePath("."), current);
    EXPECT_EQ(makeAbsolutePath("sub/x"), current + "/sub/x");
    EXPECT_EQ(makeAbsolutePath("/x"), "/x");
    EXPECT_EQ(directoryOf("b.txt", true), current);
}

TEST(VelkPath, CurrentDirectoryAtRootAndAfterRemoval) {
    const std::string saved = getCurrentDirectory();
    ASSERT_EQ(chdir("/"), 0);
    EXPECT_EQ(makeAbsolutePath("x"), "/x");  // no doubled separator
    std::string pattern = (fs::temp_directory_path() / "velkpath-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    ASSERT_EQ(chdir(pattern.c_str()), 0);
    fs::remove(pattern);
    EXPECT_THROW(getCurrentDirectory(), VelkError);
    ASSERT_EQ(chdir(saved.c_str()), 0);
}
