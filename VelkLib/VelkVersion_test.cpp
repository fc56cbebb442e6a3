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

TEST(VelkVersionTest, FileVersionsAndFilesWithoutOne) {
    const fs::path dir = "/tmp/vantry-version-" + std::to_string(getpid());
    fs::create_directories(dir);
    const std::string tool = (dir / "tool").string(), notes = (dir / "notes.txt").string();
    std::ofstream(tool, std::ios::binary) << "\x7f" "ELF" << platform::versionRecordBytes({2, 1, 3, 4});
    std::ofstream(notes) << "plain text\n";

    int major = 7, minor = 7, build = 7, revision = 7;
    for (const std::string& name : {notes, (dir / "missing").string()}) {
        try {
            getFileVersion(name, major, minor, build, revision);
            ADD_FAILURE() << "a version was read from " << name;
        } catch (const VelkError& error) {
            EXPECT_EQ(error.message.rfind("Could not get the version for " + name, 0), 0u);
            EXPECT_EQ(error.detail.rfind("System error code ", 0), 0u);
        }
    }
    EXPECT_EQ(major + minor + build + revision, 28);  // untouched on failure
    getFileVersion(tool, major, minor, build, revision);
    EXPECT_EQ((std::vector<int>{major, minor, build, revision}), (std::vector<int>{2, 1, 3, 4}));
    fs::remove_all(dir);
}

TEST(VelkVersionTest, ModulesAndTheProgram) {
    EXPECT_EQ(fs::path(getModuleFileName(nullptr)).filename(), "VelkLib_tests");

    // The small versioned library (2.1.3.4) that the platform tests build.
    const char* buildDir = std::getenv("VANTRY_BUILD_DIR");
    const fs::path module = fs::path(buildDir ? buildDir : "") / "tests/testdata/vantry-testmodule.so";
    if (buildDir == nullptr || !fs::exists(module)) GTEST_SKIP() << "no versioned test library";
    std::string error;
    platform::LibraryHandle library = platform::openLibrary(module, &error);
    ASSERT_NE(library, nullptr) << error;
    EXPECT_EQ(fs::path(getModuleFileName(library)), fs::canonical(module));
    EXPECT_TRUE(isVersionAtLeast(library, 2, 0, 9, 9));
    EXPECT_TRUE(isVersionAtLeast(library, 2, 1, 3, 4));
    EXPECT_FALSE(isVersionAtLeast(library, 2, 1, 3, 5));
    EXPECT_FALSE(isVersionAtLeast(library, 2, 2, 0, 0));
    platform::closeLibrary(library, &error);
}

}  // namespace
