#include "platform/Library.h"
#include "platform/ProgramPath.h"
#include "platform/VersionRecord.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const std::string scratch = "/tmp/vantry-platform-" + std::to_string(getpid());

std::string writeScratch(const std::string& bytes) {
    fs::create_directories(scratch);
    std::ofstream(scratch + "/file", std::ios::binary) << bytes;
    return scratch + "/file";
}

TEST(LibraryTest, LoadsFindsAndUnloadsWithTheLoaderTextOnFailure) {
    std::string error;
    platform::LibraryHandle library = platform::openLibrary(VANTRY_TEST_MODULE, &error);
    ASSERT_NE(library, nullptr) << error;
    auto answer = reinterpret_cast<int (*)()>(
        platform::librarySymbol(library, "vantryTestModuleAnswer", &error));
    ASSERT_NE(answer, nullptr) << error;
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(platform::librarySymbol(library, "noSuchExport", &error), nullptr);
    EXPECT_NE(error.find("noSuchExport"), std::string::npos) << error;
    EXPECT_EQ(fs::path(platform::libraryPath(library, &error)), fs::canonical(VANTRY_TEST_MODULE));
    EXPECT_TRUE(platform::closeLibrary(library, &error)) << error;

    EXPECT_EQ(platform::openLibrary("/nonexistent/missing.so", &error), nullptr);
    EXPECT_NE(error.find("missing.so"), std::string::npos) << error;
    EXPECT_EQ(platform::openLibrary(writeScratch("not a library"), &error), nullptr);
    EXPECT_FALSE(platform::closeLibrary(nullptr, &error));
    fs::remove_all(scratch);
}

TEST(VersionRecordTest, DeliverablesCarryTheirVersion) {
    platform::FileVersion version;
    ASSERT_TRUE(platform::readVersionRecord(VANTRY_TEST_MODULE, &version)) << errno;
    EXPECT_EQ(version.major * 1000 + version.minor * 100 + version.build * 10 + version.revision,
              2134);
    // This program holds the scanner's marker text too; only its real
    // record, the project's version, may be found.
    EXPECT_EQ(fs::path(platform::programPath()).filename(), "platform_tests");
    ASSERT_TRUE(platform::readVersionRecord(platform::programPath(), &version));
    EXPECT_EQ(version.major + version.minor + version.build + version.revision, 1);
}

TEST(VersionRecordTest, OnlyWellFormedRecordsCount) {
    platform::FileVersion version;
    EXPECT_FALSE(platform::readVersionRecord(writeScratch("just text\n"), &version));
    EXPECT_EQ(errno, ENODATA);
    EXPECT_FALSE(platform::readVersionRecord(scratch + "/missing", &version));
    EXPECT_EQ(errno, ENOENT);

    const std::string marker = VANTRY_VERSION_RECORD_MARKER;
    std::string broken = marker + std::string("1.2.3\0", 6) + marker + "1.2.3.4x" + marker +
                         std::string("99999.0.0.0\0", 12) + marker + "1.2.3.4";
    EXPECT_FALSE(platform::readVersionRecord(writeScratch(broken), &version));
    std::string good = broken + "!" + platform::versionRecordBytes({65535, 0, 7, 12});
    ASSERT_TRUE(platform::readVersionRecord(writeScratch(good), &version));
    EXPECT_EQ(version.major, 65535);
    EXPECT_EQ(version.revision, 12);

    // Every cut through a record meets a block edge once.
    const std::string record = platform::versionRecordBytes({5, 6, 7, 8});
    for (size_t shift = 0; shift < record.size(); ++shift) {
        std::string bytes = std::string((1 << 16) - shift, 'x') + record;
        ASSERT_TRUE(platform::readVersionRecord(writeScratch(bytes), &version)) << shift;
        EXPECT_EQ(version.minor, 6) << shift;
    }
    fs::remove_all(scratch);
}

}  // namespace
