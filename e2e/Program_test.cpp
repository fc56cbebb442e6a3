// The program as a user meets it from a terminal or a build script: the
// installed command, its usage text, the answers to a faulty command line
// and the endings of an interrupted run. The program runs as a child
// process, headless, in a scratch tree of its own.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <fstream>
#include <map>

#include "e2e/ChildProcess.h"
#include "e2e/ProgramFixture.h"
#include "e2e/SiteCheck.h"

namespace fs = std::filesystem;

namespace {

using e2e::contains;

class ProgramTest : public e2e::ProgramFixture {
protected:
    ProgramTest() : ProgramFixture("program") {}

    std::vector<std::string> environment() const { return childEnvironment(scratchVariables()); }

    e2e::ChildResult run(const fs::path& program, const std::vector<std::string>& args) {
        return e2e::runChild(program, args, environment(), work(), logs());
    }

    fs::path program() const { return buildDir_ / "vantry"; }
    fs::path moduleDir() const { return buildDir_ / "modules"; }

    // A headless run of the built program from work/.
    e2e::ChildResult runBuilt(const std::vector<std::string>& args) { return run(program(), args); }

    // Java sources enough for an output phase that lasts: a package of
    // documented classes, each with a few members.
    void writeManyClasses(const fs::path& dir, int count) const {
        fs::create_directories(dir);
        for (int i = 0; i < count; ++i) {
            std::ofstream out(dir / ("C" + std::to_string(i) + ".java"));
            out << "package big;\n/** Class number " << i << ". */\npublic class C" << i
                << (i > 0 ? " extends C" + std::to_string(i - 1) : std::string()) << " {\n";
            for (int m = 0; m < 6; ++m)
                out << "    /** Member " << m << ". @param x a value */\n    public int m" << m
                    << "(int x) { return x; }\n";
            out << "}\n";
        }
    }
};

TEST_F(ProgramTest, AChildSeesADisplayOnlyWhenTheTestGivesItOne) {
    // Run from a desktop session: every display variable is set here.
    const std::map<std::string, std::string> desktop = {{"DISPLAY", ":0"},
                                                        {"WAYLAND_DISPLAY", "wayland-0"},
                                                        {"WAYLAND_SOCKET", "3"},
                                                        {"QT_QPA_PLATFORM", "offscreen"}};
    std::map<std::string, std::string> saved;
    for (const auto& [name, value] : desktop) {
        if (const char* old = std::getenv(name.c_str())) saved[name] = old;
        setenv(name.c_str(), value.c_str(), 1);
    }
    auto displayEntries = [&](const std::vector<std::string>& environment) {
        std::vector<std::string> found;
        for (const std::string& entry : environment)
            if (desktop.count(entry.substr(0, entry.find('='))) != 0) found.push_back(entry);
        return found;
    };
    EXPECT_EQ(displayEntries(environment()), std::vector<std::string>{});
    EXPECT_EQ(displayEntries(e2e::childEnvironment({}, {})), std::vector<std::string>{});
    auto given = scratchVariables();
    given["QT_QPA_PLATFORM"] = "minimal";
    EXPECT_EQ(displayEntries(childEnvironment(given)), std::vector<std::string>{"QT_QPA_PLATFORM=minimal"});

    // So a start that would show a box answers on the terminal and ends.
    const auto result = runBuilt({"-ver"});
    for (const auto& name : e2e::displayVariables) {
        if (saved.count(name) != 0)
            setenv(name.c_str(), saved[name].c_str(), 1);
        else
            unsetenv(name.c_str());
    }
    EXPECT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_TRUE(contains(result.err, "Vantry version ")) << result.describe();
}

TEST_F(ProgramTest, HelpPrintsEveryOptionAndAStartThatCannotRunShowsItToo) {
    for (const char* help : {"-h", "-help", "--help", "-?"}) {
        const auto result = runBuilt({help});
        EXPECT_EQ(result.exitCode, 0) << help << ": " << result.describe();
        EXPECT_EQ(result.out.rfind("Usage: vantry", 0), 0u) << help << ": " << result.describe();
        EXPECT_TRUE(result.err.empty()) << help << ": " << result.describe();
        for (const char* option : {"-title=TEXT", "-overwrite", "-accept3slash", "-autorun",
                                   "-source-code-tab-size=NUMBER", "-module=NAME", "Exit status"})
            EXPECT_TRUE(contains(result.out, option)) << help << " lacks " << option;
    }
    // Nothing to do without a display: the message, then the same summary.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, std::vector<std::string>{"-bogus"}}) {
        const auto result = runBuilt(args);
        EXPECT_EQ(result.exitCode, 2) << result.describe();
        EXPECT_TRUE(contains(result.err, "vantry: no display")) << result.describe();
        EXPECT_TRUE(contains(result.err, "Usage: vantry")) << result.describe();
    }
    EXPECT_TRUE(fs::is_empty(work()));
}

TEST_F(ProgramTest, AMisspeltOptionIsNamedAndABadValueStopsBeforeAnythingIsWritten) {
    fs::copy(sourceDir_ / "samples" / "cpp", work() / "src", fs::copy_options::recursive);
    const std::vector<std::string> base{"-autorun", "-moduledir=" + moduleDir().string()};
    auto with = [&](std::vector<std::string> args) {
        args.insert(args.begin(), base.begin(), base.end());
        args.push_back("src");
        args.push_back("out/index.html");
        return args;
    };
    auto result = runBuilt(with({"-overwirte", "--title=Foo"}));
    EXPECT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_TRUE(contains(result.err, "vantry: warning: unknown option -overwirte")) << result.describe();
    EXPECT_TRUE(contains(result.err, "vantry: warning: unknown option --title")) << result.describe();
    // Options of the standard module are known ones.
    fs::remove_all(work() / "out");
    result = runBuilt(with({"-separate-index-pages=true", "-index-file-base=main"}));
    EXPECT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_FALSE(contains(result.err, "unknown option")) << result.describe();

    fs::remove_all(work() / "out");
    for (const char* bad : {"-separate-index-pages=yes", "-source-code-tab-size=abc"}) {
        result = runBuilt(with({bad}));
        EXPECT_EQ(result.exitCode, 2) << bad << ": " << result.describe();
        EXPECT_TRUE(contains(result.err, std::string("vantry: error: ") + bad + ": the value must be"))
            << result.describe();
        EXPECT_FALSE(fs::exists(work() / "out")) << bad;
    }
}

TEST_F(ProgramTest, TheDefaultIndexHtmlIsNotReplacedWithoutAYes) {
    fs::copy(sourceDir_ / "samples" / "cpp", work() / "src", fs::copy_options::recursive);
    {
        std::ofstream(work() / "index.html") << "someone else's page\n";
    }
    const auto result = runBuilt({"-autorun", "-moduledir=" + moduleDir().string(), "src"});
    EXPECT_EQ(result.exitCode, 3) << result.describe();
    EXPECT_TRUE(contains(result.err, "vantry: Overwrite index.html? No")) << result.describe();
    EXPECT_TRUE(contains(result.err, "vantry: Cancelled.")) << result.describe();
    EXPECT_TRUE(result.out.empty()) << result.describe();
    EXPECT_EQ(e2e::readFile(work() / "index.html"), "someone else's page\n");
    EXPECT_FALSE(fs::exists(work() / "projects"));
}

TEST_F(ProgramTest, ASignalDuringTheOutputEndsCancelledAndASecondOneAtOnce) {
    writeManyClasses(work() / "big", 800);
    const std::vector<std::string> args{"-autorun", "-overwrite", "-moduledir=" + moduleDir().string(),
                                        "big=big", "out/index.html"};
    for (int signal : {SIGINT, SIGTERM}) {
        const auto result = e2e::runChild(program(), args, environment(), work(), logs(),
                                          {"Sending output to documentation module...", signal, 1});
        EXPECT_EQ(result.exitCode, 3) << result.describe();
        EXPECT_TRUE(contains(result.err, "vantry: Cancelled.")) << result.describe();
        EXPECT_FALSE(contains(result.err, "Done")) << result.describe();
        EXPECT_TRUE(fs::is_empty(tmp())) << "temporary files left behind";
    }
    // While parsing, a second signal does not wait for the first to be served.
    const auto result = e2e::runChild(program(), args, environment(), work(), logs(),
                                      {"Counting files...", SIGINT, 2});
    EXPECT_EQ(result.exitCode, 3) << result.describe();
    EXPECT_FALSE(contains(result.err, "Done")) << result.describe();
}

TEST_F(ProgramTest, TheInstalledCommandFindsItsModulesFromAnyDirectory) {
    const fs::path prefix = root_ / "prefix";
    const auto install = e2e::runChild(VANTRY_CMAKE_COMMAND,
                                       {"--install", buildDir_.string(), "--prefix", prefix.string()},
                                       environment(), root_, logs());
    ASSERT_EQ(install.exitCode, 0) << install.describe();

    const fs::path command = prefix / "bin" / "vantry";
    ASSERT_TRUE(fs::is_symlink(command));
    EXPECT_EQ(fs::read_symlink(command), fs::path("../lib/vantry/vantry"));
    EXPECT_TRUE(fs::is_regular_file(prefix / "lib/vantry/modules/vantry-standard.so"));
    EXPECT_TRUE(fs::is_regular_file(prefix / "lib/vantry/vantry-windows.so"));
    // Modules that exist only for the tests stay out of an installation.
    for (const auto& entry : fs::directory_iterator(prefix / "lib/vantry/modules"))
        EXPECT_FALSE(contains(entry.path().filename().string(), "recording")) << entry.path();

    // Run through the link, from a directory that has nothing to do with the
    // prefix or the build, with no module directory given.
    fs::copy(sourceDir_ / "samples" / "cpp", work() / "src", fs::copy_options::recursive);
    const auto result = run(command, {"-autorun", "src", "site/index.html"});
    ASSERT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_TRUE(contains(result.err, "vantry: Done.\nvantry: index file: " +
                                         (work() / "site/index.html").string() + "\n"))
        << result.describe();
    EXPECT_TRUE(fs::is_regular_file(work() / "site/index.html"));
    EXPECT_TRUE(e2e::checkLinks(work() / "site").empty());
}

TEST_F(ProgramTest, RealWindowsComeFromTheLibraryBesideTheProgramOrNotAtAll) {
    fs::copy(sourceDir_ / "samples" / "cpp", work() / "src", fs::copy_options::recursive);
    auto env = childEnvironment(
        [&] {
            auto set = scratchVariables();
            set["QT_QPA_PLATFORM"] = "offscreen";
            return set;
        }());
    const std::vector<std::string> args{"-autorun", "-autoquit", "-overwrite",
                                        "-moduledir=" + moduleDir().string(), "src",
                                        "site/index.html"};
    // On windows the run reports in the main dialog, not on the terminal.
    const auto windows = e2e::runChild(program(), args, env, work(), logs());
    EXPECT_EQ(windows.exitCode, 0) << windows.describe();
    EXPECT_FALSE(contains(windows.err, "no real windows")) << windows.describe();
    EXPECT_FALSE(contains(windows.err, "vantry: Done.")) << windows.describe();
    EXPECT_TRUE(fs::is_regular_file(work() / "site/index.html"));

    // Without its library the program says so and runs on the terminal.
    const fs::path alone = root_ / "alone";
    fs::create_directory(alone);
    fs::copy_file(program(), alone / "vantry");
    fs::remove_all(work() / "site");
    const auto headless = e2e::runChild(alone / "vantry", args, env, work(), logs());
    EXPECT_EQ(headless.exitCode, 0) << headless.describe();
    EXPECT_TRUE(contains(headless.err, "vantry: no real windows: ")) << headless.describe();
    EXPECT_TRUE(contains(headless.err, "vantry: Done.")) << headless.describe();
    EXPECT_TRUE(fs::is_regular_file(work() / "site/index.html"));
}

}  // namespace
