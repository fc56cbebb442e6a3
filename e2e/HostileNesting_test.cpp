// Sources nested far beyond any real code, run through the program as a
// child process under a time limit: the work stays linear in the depth and
// what stands at a real depth is still documented.
#include <gtest/gtest.h>

#include <string>

#include "e2e/ChildProcess.h"
#include "e2e/ProgramFixture.h"
#include "e2e/SiteCheck.h"

namespace fs = std::filesystem;

namespace {

using e2e::contains;

// Generous for the sanitizer build; a blow-up in the depth still runs into
// it by far.
constexpr int kTimeLimit = 90;

class HostileNesting : public e2e::ProgramFixture {
protected:
    HostileNesting() : ProgramFixture("nesting") {}

    e2e::ChildResult document(const std::string& input) {
        e2e::ChildSignals none;
        none.count = 0;
        auto result = e2e::runChild(program_,
                                    {"-autorun", "-autoquit", "-overwrite", "-accept3slash",
                                     "-module=vantry-standard", "-moduledir=" + moduleDir_.string(), input,
                                     "out/index.html"},
                                    childEnvironment(scratchVariables()), work(), logs(), none, kTimeLimit);
        EXPECT_EQ(result.termSignal, 0) << "killed at the time limit or by a fault\n" << result.describe();
        return result;
    }
};

TEST_F(HostileNesting, DeeplyNestedCSharpNamespacesTakeWorkLinearInTheDepth) {
    constexpr int depth = 100000;
    std::string source =
        "namespace Outer\n{\n    /// <summary>Before the nest.</summary>\n    public class Before { }\n";
    source.reserve(source.size() + depth * 16);
    for (int i = 0; i < depth; ++i) source += "namespace n {\n";
    source += "/// <summary>At the bottom.</summary>\npublic class Bottom { }\n";
    for (int i = 0; i < depth; ++i) source += "}\n";
    source += "    /// <summary>After the nest.</summary>\n    public class After { }\n}\n";
    e2e::writeText(work() / "deep/Nest.cs", source);

    const auto result = document("deep");
    EXPECT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_TRUE(contains(result.err, "Nest.cs")) << "no warning names the file\n" << result.describe();
    for (const char* cls : {"Before", "After"}) {
        const fs::path page = work() / "out/projects/Outer" / (std::string(cls) + ".html");
        ASSERT_TRUE(fs::is_regular_file(page)) << page;
        EXPECT_TRUE(contains(e2e::readFile(page), std::string(cls) + " the nest.")) << page;
    }
}

}  // namespace
