#include "platform/TempFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(TempFileTest, DirectoryPrecedenceAndPrivateDistinctFiles) {
    for (const char* name : {"TEMP", "TMP", "TMPDIR"}) unsetenv(name);
    EXPECT_EQ(platform::tempDirectory(), "/tmp");
    setenv("TMPDIR", "/c", 1);
    setenv("TMP", "", 1);  // empty counts as unset
    EXPECT_EQ(platform::tempDirectory(), "/c");

    std::filesystem::path dir = "/tmp/vantry-tempfile-" + std::to_string(getpid());
    std::filesystem::create_directories(dir);
    setenv("TEMP", dir.c_str(), 1);
    std::string first = platform::createTempFile("vantry-pp-");
    std::string second = platform::createTempFile("vantry-pp-");
    EXPECT_NE(first, second);
    EXPECT_EQ(first.rfind(dir.string() + "/vantry-pp-", 0), 0u) << first;
    struct stat info {};
    ASSERT_EQ(stat(first.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    std::filesystem::remove_all(dir);

    setenv("TEMP", "/nonexistent-vantry-dir", 1);
    EXPECT_EQ(platform::createTempFile("x"), "");
    EXPECT_EQ(errno, ENOENT);
    for (const char* name : {"TEMP", "TMP", "TMPDIR"}) unsetenv(name);
}

}  // namespace
