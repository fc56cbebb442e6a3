#include "platform/TempFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Sets or clears an environment variable for one test and puts the old value
// back afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value != nullptr) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_) setenv(name_, old_->c_str(), 1);
        else unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(TempFileTest, DirectoryComesFromTheFirstVariableThatIsSet) {
    ScopedEnv temp("TEMP", nullptr), tmp("TMP", nullptr), tmpdir("TMPDIR", nullptr);
    EXPECT_EQ(platform::tempDirectory(), "/tmp");
    setenv("TMPDIR", "/c", 1);
    EXPECT_EQ(platform::tempDirectory(), "/c");
    setenv("TMP", "", 1);  // empty counts as unset
    EXPECT_EQ(platform::tempDirectory(), "/c");
    setenv("TMP", "/b", 1);
    EXPECT_EQ(platform::tempDirectory(), "/b");
    setenv("TEMP", "/a", 1);
    EXPECT_EQ(platform::tempDirectory(), "/a");
}

TEST(TempFileTest, CreatesDistinctPrivateFilesWithThePrefix) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("vantry-tempfile-" + std::to_string(getpid()));
    fs::create_directories(dir);
    {
        ScopedEnv temp("TEMP", dir.c_str());
        std::string first = platform::createTempFile("vantry-pp-");
        std::string second = platform::createTempFile("vantry-pp-");
        ASSERT_FALSE(first.empty());
        ASSERT_FALSE(second.empty());
        EXPECT_NE(first, second);
        EXPECT_EQ(first.rfind(dir.string() + "/vantry-pp-", 0), 0u) << first;
        struct stat info {};
        ASSERT_EQ(stat(first.c_str(), &info), 0);
        EXPECT_TRUE(S_ISREG(info.st_mode));
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        EXPECT_EQ(info.st_size, 0);
    }
    fs::remove_all(dir);
}

TEST(TempFileTest, MissingDirectoryFailsWithErrno) {
    ScopedEnv temp("TEMP", "/nonexistent-vantry-dir");
    errno = 0;
    EXPECT_EQ(platform::createTempFile("x"), "");
    EXPECT_EQ(errno, ENOENT);
}

}  // namespace
