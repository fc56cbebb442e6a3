// The README names only what a build gives: every script it ships is in the
// Layout table, and every program it names lies in the build tree or is said
// not to be built.
#include <gtest/gtest.h>

#include "e2e/ProgramFixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class ReadmeTest : public e2e::ProgramFixture {
protected:
    ReadmeTest() : ProgramFixture("readme") {}

    std::string readme() const {
        std::ifstream in(sourceDir_ / "README.md");
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

// The paragraphs of a Markdown text (blank-line separated), a table row each
// line of its own.
std::vector<std::string> paragraphs(const std::string& text) {
    std::vector<std::string> out(1);
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '|') {
            if (!out.back().empty()) out.emplace_back();
            if (!line.empty()) out.back() = line, out.emplace_back();
            continue;
        }
        out.back() += line + "\n";
    }
    return out;
}

TEST_F(ReadmeTest, EveryScriptIsInTheLayoutTable) {
    const std::string text = readme();
    std::string row;
    for (const std::string& p : paragraphs(text))
        if (p.rfind("| `scripts/` |", 0) == 0) row = p;
    ASSERT_FALSE(row.empty()) << "no Layout row for scripts/";
    for (const fs::directory_entry& script : fs::directory_iterator(sourceDir_ / "scripts"))
        EXPECT_NE(row.find("`" + script.path().filename().string() + "`"), std::string::npos)
            << script.path().filename() << " is not in the Layout row: " << row;
}

TEST_F(ReadmeTest, EveryProgramNamedIsBuiltOrSaidNotToBe) {
    for (const std::string& p : paragraphs(readme())) {
        // Each `vantry...` name in code quotes.
        for (std::size_t at = p.find("`vantry"); at != std::string::npos; at = p.find("`vantry", at + 1)) {
            const std::size_t close = p.find('`', at + 1);
            if (close == std::string::npos) break;
            const std::string name = p.substr(at + 1, close - at - 1);
            if (name.find_first_of(" /") != std::string::npos) continue;  // a command line, a path
            if (name.find(".example") != std::string::npos) continue;     // a host name
            const bool built = fs::exists(buildDir_ / name) || fs::exists(moduleDir_ / (name + ".so"));
            const bool saidNotBuilt = p.find("no `" + name + "` is built") != std::string::npos;
            EXPECT_TRUE(built || saidNotBuilt) << "`" << name << "` is neither in " << buildDir_
                                              << " nor said not to be built, in: " << p;
            at = close;
        }
    }
}

}  // namespace
