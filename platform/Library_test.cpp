#include "platform/Library.h"
#include "platform/ProgramPath.h"
#include "platform/VersionRecord.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A scratch directory removed at the end of each test.
class ScratchTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vantry-platform-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string write(const std::string& name, const std::string& bytes) {
        std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    fs::path dir_;
};

TEST(ProgramPathTest, NamesThisTestProgram) {
    std::string path = platform::programPath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path[0], '/');
    EXPECT_EQ(fs::path(path).filename(), "platform_tests");
}

TEST(LibraryTest, LoadsFindsAndUnloads) {
    std::string error;
    platform::LibraryHandle library = platform::openLibrary(VANTRY_TEST_MODULE, &error);
    ASSERT_NE(library, nullptr) << error;

    auto answer = reinterpret_cast<int (*)()>(
        platform::librarySymbol(library, "vantryTestModuleAnswer", &error));
    ASSERT_NE(answer, nullptr) << error;
    EXPECT_EQ(answer(), 42);

    error.clear();
    EXPECT_EQ(platform::librarySymbol(library, "noSuchExport", &error), nullptr);
    EXPECT_NE(error.find("noSuchExport"), std::string::npos) << error;

    EXPECT_EQ(fs::path(platform::libraryPath(library, &error)),
              fs::canonical(VANTRY_TEST_MODULE));
    EXPECT_TRUE(platform::closeLibrary(library, &error)) << error;
}

TEST_F(ScratchTest, LoadFailuresCarryTheLoaderText) {
    std::string error;
    EXPECT_EQ(platform::openLibrary((dir_ / "missing.so").string(), &error), nullptr);
    EXPECT_NE(error.find("missing.so"), std::string::npos) << error;

    error.clear();
    EXPECT_EQ(platform::openLibrary(write("fake.so", "not a library"), &error), nullptr);
    EXPECT_FALSE(error.empty());

    EXPECT_FALSE(platform::closeLibrary(nullptr, &error));
    EXPECT_EQ(platform::librarySymbol(nullptr, "x", &error), nullptr);
}

TEST(VersionRecordTest, DeliverablesCarryTheirVersion) {
    platform::FileVersion version;
    ASSERT_TRUE(platform::readVersionRecord(VANTRY_TEST_MODULE, &version)) << errno;
    EXPECT_EQ(version.major, 2);
    EXPECT_EQ(version.minor, 1);
    EXPECT_EQ(version.build, 3);
    EXPECT_EQ(version.revision, 4);

    // This program holds the scanner's marker text too; only its real
    // record, the project's version, may be found.
    ASSERT_TRUE(platform::readVersionRecord(platform::programPath(), &version));
    EXPECT_EQ(version.major, 1);
    EXPECT_EQ(version.minor, 0);
    EXPECT_EQ(version.build, 0);
    EXPECT_EQ(version.revision, 0);
}

TEST_F(ScratchTest, RecordsAreFoundOnlyWhenWellFormed) {
    platform::FileVersion version;
    const std::string marker = VANTRY_VERSION_RECORD_MARKER;

    errno = 0;
    EXPECT_FALSE(platform::readVersionRecord(write("text.txt", "just text\n"), &version));
    EXPECT_EQ(errno, ENODATA);
    EXPECT_FALSE(platform::readVersionRecord(write("empty", ""), &version));
    EXPECT_FALSE(platform::readVersionRecord((dir_ / "missing").string(), &version));
    EXPECT_EQ(errno, ENOENT);

    // Broken tails are skipped; the first good record after them counts.
    std::string broken = marker + std::string("1.2.3\0", 6) + marker + "1.2.3.4x" + marker +
                         std::string("99999.0.0.0\0", 12) + marker + "1.2.3.4";
    EXPECT_FALSE(platform::readVersionRecord(write("broken", broken), &version));
    std::string good = broken + "!" +
                       platform::versionRecordBytes({65535, 0, 7, 12});
    ASSERT_TRUE(platform::readVersionRecord(write("good", good), &version));
    EXPECT_EQ(version.major, 65535);
    EXPECT_EQ(version.build, 7);
    EXPECT_EQ(version.revision, 12);
}

TEST_F(ScratchTest, RecordAcrossBlockBoundariesIsFound) {
    platform::FileVersion version;
    const std::string record = platform::versionRecordBytes({5, 6, 7, 8});
    // Place the record so that every cut through it meets a block edge.
    for (size_t shift = 0; shift < record.size(); ++shift) {
        std::string bytes((1 << 16) - shift, 'x');
        bytes += record;
        ASSERT_TRUE(platform::readVersionRecord(write("big", bytes), &version)) << shift;
        EXPECT_EQ(version.minor, 6) << shift;
    }
}

}  // namespace
