#include "VelkLib/VelkVersion.h"

#include "VelkLib/VelkError.h"
#include "platform/Library.h"
#include "platform/VersionRecord.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// The small versioned library (2.1.3.4) that the platform tests build.
std::string testModulePath() {
    const char* build = std::getenv("VANTRY_BUILD_DIR");
    if (build == nullptr) return "";
    fs::path path = fs::path(build) / "tests/testdata/vantry-testmodule.so";
    return fs::exists(path) ? path.string() : "";
}

class VelkVersionTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("vantry-version-" + std::to_string(getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(VelkVersionTest, ReadsTheFourNumbersFromAFile) {
    const std::string file = (dir / "tool").string();
    std::ofstream(file, std::ios::binary)
        << "\x7f" "ELF padding" << platform::versionRecordBytes({2, 1, 3, 4}) << "tail";
    int major = -1, minor = -1, build = -1, revision = -1;
    getFileVersion(file, major, minor, build, revision);
    EXPECT_EQ(major, 2);
    EXPECT_EQ(minor, 1);
    EXPECT_EQ(build, 3);
    EXPECT_EQ(revision, 4);
}

TEST_F(VelkVersionTest, FileWithoutVersionNamesTheFile) {
    const std::string file = (dir / "notes.txt").string();
    std::ofstream(file) << "plain text\n";
    for (const std::string& name : {file, (dir / "missing").string()}) {
        int major = 7, minor = 7, build = 7, revision = 7;
        try {
            getFileVersion(name, major, minor, build, revision);
            ADD_FAILURE() << "a version was read from " << name;
        } catch (const VelkError& error) {
            EXPECT_EQ(error.message.rfind("Could not get the version for " + name, 0), 0u)
                << error.message;
            EXPECT_EQ(error.detail.rfind("System error code ", 0), 0u);
        }
        EXPECT_EQ(major + minor + build + revision, 28);
    }
}

TEST(VelkVersionModuleTest, ProgramAndModuleFilesAndComparison) {
    EXPECT_EQ(fs::path(getModuleFileName(nullptr)).filename(), "VelkLib_tests");

    const std::string module = testModulePath();
    if (module.empty()) GTEST_SKIP() << "the versioned test library is not built";
    std::string error;
    platform::LibraryHandle library = platform::openLibrary(module, &error);
    ASSERT_NE(library, nullptr) << error;
    EXPECT_EQ(fs::path(getModuleFileName(library)), fs::canonical(module));

    int major = 0, minor = 0, build = 0, revision = 0;
    getModuleVersion(library, major, minor, build, revision);
    EXPECT_EQ((std::vector<int>{major, minor, build, revision}), (std::vector<int>{2, 1, 3, 4}));
    EXPECT_TRUE(isVersionAtLeast(library, 2, 0, 9, 9));
    EXPECT_TRUE(isVersionAtLeast(library, 2, 1, 3, 4));
    EXPECT_TRUE(isVersionAtLeast(library, 1, 99, 99, 99));
    EXPECT_FALSE(isVersionAtLeast(library, 2, 1, 3, 5));
    EXPECT_FALSE(isVersionAtLeast(library, 2, 2, 0, 0));
    EXPECT_FALSE(isVersionAtLeast(library, 3, 0, 0, 0));
    platform::closeLibrary(library, &error);
}

}  // namespace
