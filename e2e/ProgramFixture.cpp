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
    env_ = scratchVariables();
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

bool ProgramFixture::permissionsBind(std::vector<std::string>& wrapper, std::string& why) const {
    wrapper.clear();
    if (::geteuid() != 0) return true;
    for (const char* setpriv : {"/usr/bin/setpriv", "/bin/setpriv"})
        if (fs::exists(setpriv))
            wrapper = {setpriv, "--inh-caps=-dac_override,-dac_read_search",
                       "--bounding-set=-dac_override,-dac_read_search"};
    if (wrapper.empty()) {
        why = "root without setpriv reads and writes every file";
        return false;
    }
    // A container may not let even root give its capabilities up.
    std::vector<std::string> probe(wrapper.begin() + 1, wrapper.end());
    probe.push_back("/bin/true");
    const auto tried = runChild(wrapper.front(), probe, childEnvironment(scratchVariables()), root_, logs());
    if (tried.exitCode == 0) return true;
    why = "setpriv cannot drop capabilities here\n" + tried.describe();
    wrapper.clear();
    return false;
}

ChildResult ProgramFixture::documentIntoOut(const std::vector<std::string>& inputs, int limitSeconds) {
    std::vector<std::string> args{"-autorun", "-autoquit", "-overwrite", "-accept3slash",
                                  "-module=vantry-standard", "-moduledir=" + moduleDir_.string()};
    args.insert(args.end(), inputs.begin(), inputs.end());
    args.push_back("out/index.html");
    auto result = runInWork(args, limitSeconds);
    EXPECT_EQ(result.exitCode, 0) << result.describe();
    return result;
}

ChildResult ProgramFixture::runInWork(const std::vector<std::string>& args, int limitSeconds,
                                      const std::vector<std::string>& wrapper,
                                      const std::filesystem::path& program) {
    fs::path started = program.empty() ? program_ : program;
    std::vector<std::string> all = args;
    if (!wrapper.empty()) {
        all.assign(wrapper.begin() + 1, wrapper.end());
        all.push_back(started.string());
        all.insert(all.end(), args.begin(), args.end());
        started = wrapper.front();
    }
    ChildSignals none;
    none.count = 0;
    auto result = runChild(started, all, childEnvironment(env_), work(), logs(), none, limitSeconds);
    EXPECT_EQ(result.termSignal, 0) << "killed at the time limit or by a fault\n" << result.describe();
    return result;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

void writeText(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

std::vector<std::string> shownLines(const std::string& html) {
    std::string text;
    bool inTag = false;
    for (char c : html) {
        if (c == '<') inTag = true;
        else if (c == '>') inTag = false;
        else if (!inTag) text += c;
    }
    for (const auto& [entity, c] : std::vector<std::pair<std::string, std::string>>{
             {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&nbsp;", " "}, {"&amp;", "&"}}) {
        for (std::size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at))
            text.replace(at, entity.size(), c), at += c.size();
    }
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        line.erase(0, line.find_first_not_of(" \t\r"));
        line.erase(line.find_last_not_of(" \t\r") + 1);
        if (!line.empty()) lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> commentsUnder(const std::vector<std::string>& lines,
                                       const std::string& declaration) {
    std::vector<std::string> comments;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::size_t at = line.size() >= declaration.size() ? line.size() - declaration.size() : 0;
        if (line.compare(at, std::string::npos, declaration) != 0) continue;
        const std::string before = line.substr(0, at);
        if (before.empty() || before == "public " || before == "protected " || before == "private ")
            comments.push_back(lines[i + 1]);
    }
    return comments;
}

}  // namespace e2e
