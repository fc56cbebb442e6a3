#include "e2e/ProgramFixture.h"

#include <fstream>

#include <cstdlib>
#include <unistd.h>

#include "e2e/ChildProcess.h"

namespace fs = std::filesystem;

namespace e2e {

namespace {

fs::path fromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? fs::path(value) : fs::path();
}

}  // namespace

void ProgramFixture::SetUp() {
    buildDir_ = fromEnvironment("VANTRY_BUILD_DIR");
    sourceDir_ = fromEnvironment("VANTRY_SOURCE_DIR");
    ASSERT_FALSE(buildDir_.empty()) << "VANTRY_BUILD_DIR is not set (run the test through CTest)";
    ASSERT_FALSE(sourceDir_.empty()) << "VANTRY_SOURCE_DIR is not set (run the test through CTest)";
    program_ = buildDir_ / "vantry";
    moduleDir_ = buildDir_ / "modules";
    ASSERT_TRUE(fs::is_regular_file(program_)) << program_;
    std::string pattern = (fs::temp_directory_path() / ("vantry-" + name_ + "-XXXXXX")).string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    for (const char* dir : {"work", "tmp", "config", "logs"}) fs::create_directory(root_ / dir);
}

void ProgramFixture::TearDown() {
    if (root_.empty()) return;
    std::error_code ignored;
    // A test may have taken the owner's rights away from its folder.
    fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(root_, ignored);
}

std::vector<std::string> ProgramFixture::childEnvironment(const std::map<std::string, std::string>& set) {
    return e2e::childEnvironment(set, {"DISPLAY", "WAYLAND_DISPLAY", "TEMP", "TMP"});
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

void writeText(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

}  // namespace e2e
