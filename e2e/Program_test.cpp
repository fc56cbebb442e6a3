// The program as a user meets it from a terminal or a build script: the
// installed command, its usage text, the answers to a faulty command line
// and the endings of an interrupted run. The program runs as a child
// process, headless, in a scratch tree of its own.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <fstream>

#include "e2e/ChildProcess.h"
#include "e2e/SiteCheck.h"

namespace fs = std::filesystem;

namespace {

fs::path fromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? fs::path(value) : fs::path();
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        buildDir_ = fromEnvironment("VANTRY_BUILD_DIR");
        sourceDir_ = fromEnvironment("VANTRY_SOURCE_DIR");
        ASSERT_FALSE(buildDir_.empty()) << "VANTRY_BUILD_DIR is not set (run the test through CTest)";
        ASSERT_FALSE(sourceDir_.empty()) << "VANTRY_SOURCE_DIR is not set (run the test through CTest)";
        std::string pattern = (fs::temp_directory_path() / "vantry-program-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        for (const char* dir : {"work", "tmp", "config", "logs"}) fs::create_directory(root_ / dir);
    }

    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    fs::path work() const { return root_ / "work"; }
    fs::path tmp() const { return root_ / "tmp"; }

    std::vector<std::string> environment() const {
        return e2e::childEnvironment(
            {{"TMPDIR", tmp().string()}, {"XDG_CONFIG_HOME", (root_ / "config").string()}},
            {"DISPLAY", "WAYLAND_DISPLAY", "TEMP", "TMP"});
    }

    e2e::ChildResult run(const fs::path& program, const std::vector<std::string>& args) {
        return e2e::runChild(program, args, environment(), work(), root_ / "logs");
    }

    fs::path buildDir_;
    fs::path sourceDir_;
    fs::path root_;
};

TEST_F(ProgramTest, TheInstalledCommandFindsItsModulesFromAnyDirectory) {
    const fs::path prefix = root_ / "prefix";
    const auto install = e2e::runChild(VANTRY_CMAKE_COMMAND,
                                       {"--install", buildDir_.string(), "--prefix", prefix.string()},
                                       environment(), root_, root_ / "logs");
    ASSERT_EQ(install.exitCode, 0) << install.describe();

    const fs::path command = prefix / "bin" / "vantry";
    ASSERT_TRUE(fs::is_symlink(command));
    EXPECT_EQ(fs::read_symlink(command), fs::path("../lib/vantry/vantry"));
    EXPECT_TRUE(fs::is_regular_file(prefix / "lib/vantry/modules/vantry-standard.so"));
    // Modules that exist only for the tests stay out of an installation.
    for (const auto& entry : fs::directory_iterator(prefix / "lib/vantry/modules"))
        EXPECT_FALSE(contains(entry.path().filename().string(), "recording")) << entry.path();

    // Run through the link, from a directory that has nothing to do with the
    // prefix or the build, with no module directory given.
    fs::copy(sourceDir_ / "samples" / "cpp", work() / "src", fs::copy_options::recursive);
    const auto result = run(command, {"-autorun", "src", "site/index.html"});
    ASSERT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_TRUE(contains(result.err, "vantry: Done.")) << result.describe();
    EXPECT_TRUE(fs::is_regular_file(work() / "site/index.html"));
    EXPECT_TRUE(e2e::checkLinks(work() / "site").empty());
}

}  // namespace
