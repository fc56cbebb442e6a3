// The program run over C++ headers as they are written today. The pages
// are read as a browser shows their text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "e2e/ChildProcess.h"
#include "e2e/ProgramFixture.h"
#include "e2e/SiteCheck.h"

namespace fs = std::filesystem;

namespace {

using e2e::contains;
using e2e::writeText;

// Generous for the sanitizer build; a hang still runs into it by far.
constexpr int kTimeLimit = 120;

class PreprocessedPages : public e2e::ProgramFixture {
protected:
    PreprocessedPages() : ProgramFixture("preprocessed-pages") {}

    fs::path site() const { return work() / "out"; }

    e2e::ChildResult document(const std::vector<std::string>& extra, const std::string& threads = "1") {
        fs::remove_all(site());
        auto variables = scratchVariables();
        variables["VANTRY_THREADS"] = threads;
        std::vector<std::string> args{"-autorun", "-autoquit", "-overwrite", "-module=vantry-standard",
                                      "-moduledir=" + moduleDir_.string()};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back("src=Lib");
        args.push_back("out/index.html");
        e2e::ChildSignals none;
        none.count = 0;
        auto result = e2e::runChild(program_, args, childEnvironment(variables), work(), logs(), none, kTimeLimit);
        EXPECT_EQ(result.termSignal, 0) << "killed at the time limit or by a fault\n" << result.describe();
        return result;
    }

    std::string page(const std::string& path) const { return e2e::readFile(site() / path); }
    std::string textOf(const std::string& path) const { return e2e::shownText(page(path)); }
};

const char* const kGuardedHeader =
    "#ifndef WIDGET_H\n"
    "#error You can't include this header directly\n"
    "#endif\n"
    "\n"
    "/** Comes after the guard. */\n"
    "class Guarded {};\n";

// An apostrophe in the text of #error opens no literal: the file is read
// and listed whole.
TEST_F(PreprocessedPages, AnApostropheInADirectivesTextLosesNothing) {
    writeText(work() / "src/guarded.h", kGuardedHeader);
    const auto result = document({});
    ASSERT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_TRUE(contains(textOf("projects/Lib/Guarded.html"), "class Guarded Comes after the guard."));
    EXPECT_TRUE(contains(textOf("projects/Lib/guarded.h.html"), "#error You can't include this header directly"));
    EXPECT_FALSE(contains(result.err, "guarded.h")) << result.describe();
}

}  // namespace
