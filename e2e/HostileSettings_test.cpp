// The program started as a careless user or a hostile environment starts
// it: options misspelt or naming a module that is not there, a web site that
// is a script, an output folder that cannot be written, a source that
// cannot be read, no windows library, signals one after another. Each case
// runs the program as a child under a time limit and reads what it says:
// one message that names what happened, and the exit status that goes with
// it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <fstream>

#include "e2e/ChildProcess.h"
#include "e2e/ProgramFixture.h"
#include "e2e/SiteCheck.h"

namespace fs = std::filesystem;

namespace {

using e2e::contains;
using e2e::writeText;

// Generous for the sanitizer build.
constexpr int kTimeLimit = 90;

// How often part stands in text.
int countOf(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

class HostileSettings : public e2e::ProgramFixture {
protected:
    HostileSettings() : ProgramFixture("hostile-settings") {}

    void SetUp() override {
        ProgramFixture::SetUp();
        if (HasFatalFailure()) return;
        for (int i = 1; i <= 3; ++i)
            writeText(work() / "src" / ("shape" + std::to_string(i) + ".h"),
                      "/** A shape. */\nclass Shape" + std::to_string(i) +
                          " {\npublic:\n    /** Its area. */\n    double area() const;\n};\n");
    }

    fs::path site() const { return work() / "out"; }

    e2e::ChildResult run(const std::vector<std::string>& args, const std::vector<std::string>& wrapper = {},
                         const fs::path& program = {}) {
        return runInWork(args, kTimeLimit, wrapper, program);
    }

    std::vector<std::string> unattended(const std::vector<std::string>& extra = {}) const {
        std::vector<std::string> args{"-autorun", "-moduledir=" + moduleDir_.string()};
        args.insert(args.end(), extra.begin(), extra.end());
        return args;
    }

    std::string wholeSite() const {
        std::string text;
        for (const auto& file : e2e::listFiles(site())) text += e2e::readFile(site() / file);
        return text;
    }
};

TEST_F(HostileSettings, AWebSiteThatIsNoWebAddressNeverBecomesTheCreditLink) {
    env_["VANTRY_WEB_SITE"] = "javascript:alert(document.cookie)";
    auto result = run(unattended({"-overwrite", "-show-vantry-version", "src", "out/index.html"}));
    ASSERT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_FALSE(contains(wholeSite(), "javascript:")) << "the script became a link";
    EXPECT_TRUE(contains(e2e::readFile(site() / "index-overview-summary.html"),
                         "<a href=\"http://vantry.example.invalid\" target=\"_top\">Vantry v"));
    EXPECT_TRUE(contains(result.err, "vantry: warning: The web site \"javascript:alert(document.cookie)\" "
                                     "(VANTRY_WEB_SITE) is no http or https address; "
                                     "http://vantry.example.invalid is used."))
        << result.describe();

    // A site of one's own is credited as given.
    env_["VANTRY_WEB_SITE"] = "https://docs.example.org/tools";
    result = run(unattended({"-overwrite", "-show-vantry-version", "src", "out/index.html"}));
    ASSERT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_TRUE(contains(e2e::readFile(site() / "index-overview-summary.html"),
                         "<a href=\"https://docs.example.org/tools\" target=\"_top\">Vantry v"));
    EXPECT_FALSE(contains(result.err, "warning")) << result.describe();
}

TEST_F(HostileSettings, AMisspeltOptionIsNamedBeforeAnythingIsAsked) {
    writeText(site() / "index.html", "yesterday's site\n");
    const auto result = run(unattended({"-overwirte", "src", "out/index.html"}));
    EXPECT_EQ(result.exitCode, 3) << result.describe();
    const auto warning = result.err.find("vantry: warning: unknown option -overwirte");
    const auto question = result.err.find("vantry: Overwrite out/index.html? No");
    ASSERT_NE(warning, std::string::npos) << result.describe();
    ASSERT_NE(question, std::string::npos) << result.describe();
    EXPECT_LT(warning, question) << result.describe();
    EXPECT_EQ(e2e::readFile(site() / "index.html"), "yesterday's site\n");
}

TEST_F(HostileSettings, AModuleThatIsNotThereIsNamedWithTheModulesThatAre) {
    std::string found;
    for (const auto& entry : fs::directory_iterator(moduleDir_))
        if (entry.path().extension() == ".so") found += entry.path().stem().string() + "\n";
    ASSERT_TRUE(contains(found, "vantry-standard\n")) << found;

    for (const std::vector<std::string>& args :
         {unattended({"-overwrite", "-module=vantry-standrd", "src", "out/index.html"}),
          std::vector<std::string>{"-module=vantry-standrd", "-moduledir=" + moduleDir_.string(), "-help"}}) {
        const auto result = run(args);
        EXPECT_EQ(result.exitCode, 2) << result.describe();
        EXPECT_TRUE(contains(result.err, "vantry: error: There is no module \"vantry-standrd\" in " +
                                             moduleDir_.string() + "; the modules there are: "))
            << result.describe();
        for (const char* module : {"vantry-standard", "vantry-old"})
            EXPECT_TRUE(contains(result.err, module)) << result.describe();
        EXPECT_EQ(result.out, "") << "the usage of a module that is not there";
        EXPECT_FALSE(fs::exists(site()));
    }
}

// The user's own folder, read-only to its owner (root's tests run without
// the capabilities that would write it anyway).
TEST_F(HostileSettings, AnOutputFolderThatCannotBeWrittenIsNamedOnceBeforeTheRun) {
    std::vector<std::string> wrapper;
    if (std::string why; !permissionsBind(wrapper, why)) GTEST_SKIP() << why;
    fs::create_directories(site());
    fs::permissions(site(), fs::perms::owner_read | fs::perms::owner_exec);
    auto result = run(unattended({"-overwrite", "src", "out/index.html"}), wrapper);
    fs::permissions(site(), fs::perms::owner_all);
    EXPECT_EQ(result.exitCode, 2) << result.describe();
    EXPECT_EQ(result.err, "vantry: error: The folder out cannot be written (Permission denied)\n");
    EXPECT_TRUE(fs::is_empty(site()));

    // A folder that cannot be made, below a file of the same name.
    writeText(work() / "notes", "my notes\n");
    result = run(unattended({"-overwrite", "src", "notes/site/index.html"}));
    EXPECT_EQ(result.exitCode, 2) << result.describe();
    EXPECT_EQ(result.err, "vantry: error: Could not make the directory notes/site (Not a directory)\n");
    EXPECT_EQ(e2e::readFile(work() / "notes"), "my notes\n");
}

TEST_F(HostileSettings, AFolderOfTheSiteThatCannotBeWrittenIsReportedOnceAsAWriteFailure) {
    // The detail folder is a link: refused before the run, in one sentence.
    fs::create_directories(work() / "elsewhere");
    fs::create_directories(site());
    fs::create_symlink("../elsewhere", site() / "projects");
    auto result = run(unattended({"-overwrite", "src", "out/index.html"}));
    EXPECT_EQ(result.exitCode, 2) << result.describe();
    EXPECT_EQ(result.err, "vantry: error: The folder out/projects of the site is a symbolic link; remove it "
                          "or write the site elsewhere.\n");
    EXPECT_TRUE(fs::is_empty(work() / "elsewhere"));

    // A project's folder taken by a file: found while writing, said once.
    fs::remove(site() / "projects");
    writeText(site() / "projects" / "src", "a file where the project's folder goes\n");
    result = run(unattended({"-overwrite", "src", "out/index.html"}));
    EXPECT_EQ(result.exitCode, 1) << result.describe();
    EXPECT_FALSE(contains(result.err, "Parsing of")) << result.describe();
    EXPECT_EQ(countOf(result.err, "Not a directory (out/projects/src)"), 1) << result.describe();
    EXPECT_TRUE(contains(result.err, "vantry: error: Could not write the source listing of \"src/shape1.h\": "
                                     "Not a directory (out/projects/src)\n"))
        << result.describe();
}

TEST_F(HostileSettings, ASourceThatCannotBeReadSaysWhy) {
    std::vector<std::string> wrapper;
    if (std::string why; !permissionsBind(wrapper, why)) GTEST_SKIP() << why;
    fs::permissions(work() / "src/shape2.h", fs::perms::none);
    const auto result = run(unattended({"-overwrite", "src", "out/index.html"}), wrapper);
    fs::permissions(work() / "src/shape2.h", fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_TRUE(contains(result.err, "vantry: warning: Couldn't open the file (Permission denied) (file = "
                                     "'src/shape2.h').  Parsing of \"src/shape2.h\" was unsuccessful."))
        << result.describe();
    EXPECT_TRUE(contains(wholeSite(), "Shape1"));
}

TEST_F(HostileSettings, MessagesNameWhatHappened) {
    // Windows asked for and reachable, but their library is not beside the
    // program: said so, not that there is no display.
    const fs::path alone = root_ / "alone";
    fs::create_directory(alone);
    fs::copy_file(program_, alone / "vantry");
    env_["QT_QPA_PLATFORM"] = "offscreen";
    auto result = run({"-moduledir=" + moduleDir_.string()}, {}, alone / "vantry");
    env_.erase("QT_QPA_PLATFORM");
    EXPECT_EQ(result.exitCode, 2) << result.describe();
    EXPECT_FALSE(contains(result.err, "DISPLAY")) << result.describe();
    EXPECT_TRUE(contains(result.err, "vantry: no windows: the dialog needs them, but vantry-windows.so "
                                     "could not be loaded; give -autorun to run unattended"))
        << result.describe();

    // A second SIGTERM ends the program as terminated, not interrupted.
    for (int i = 0; i < 400; ++i)
        writeText(work() / "many" / ("c" + std::to_string(i) + ".h"),
                  "/** C. */\nclass C" + std::to_string(i) + " { public: /** f. */ int f(); };\n");
    result = e2e::runChild(program_, unattended({"-overwrite", "many", "out/index.html"}), childEnvironment(env_),
                           work(), logs(), {"Counting files...", SIGTERM, 2}, kTimeLimit);
    EXPECT_EQ(result.exitCode, 3) << result.describe();
    EXPECT_FALSE(contains(result.err, "interrupted")) << result.describe();
    EXPECT_TRUE(contains(result.err, "vantry: terminated: ")) << result.describe();
    EXPECT_FALSE(contains(result.err, "Done")) << result.describe();
}

}  // namespace
