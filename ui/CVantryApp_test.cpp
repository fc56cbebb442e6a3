#include "ui/CVantryApp.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "net/NetEndpoints.h"
#include "platform/SettingsStore.h"
#include "platform/gui/HeadlessBackend.h"
#include "run/TestRecording.h"
#include "ui/CommandLineOptions.h"
#include "ui/RunConsole.h"

namespace {

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", (scratch / "config").c_str(), 1);
        setenv("VANTRY_RECORD_FILE", (scratch / "record.txt").c_str(), 1);
        previous = gui::setBackend(&headless);
        scratch.write("src/foo.h", "/** A class. */\nclass Foo {\npublic:\n  /** A member. */\n  int bar(int x);\n};\n");
        modules = std::string(std::getenv("VANTRY_BUILD_DIR")) + "/modules";
    }
    void TearDown() override {
        unsetenv("VANTRY_RECORD_FILE");
        unsetenv("VANTRY_RECORD_REPORT");
        gui::setBackend(previous);
    }
    int run(std::vector<std::string> arguments) {
        CVantryApp app(std::move(arguments));
        app.consoleStream = &console;
        app.outputStream = &output;
        return app.Run();
    }
    std::vector<std::string> unattended(const std::string& output) {
        return {"-autorun", "-module=vantry-recording", "-moduledir=" + modules, scratch / "src", output};
    }

    testing_support::ScratchDirectory scratch;
    std::ostringstream out, err, console, output;
    std::istringstream in;
    gui::HeadlessBackend headless{out, err, in, false};
    gui::Backend* previous = nullptr;
    std::string modules;
};

TEST_F(AppTest, UnattendedRunGoesTheWholeRoad) {
    EXPECT_EQ(run(unattended(scratch / "out/index.html")), RunConsole::ExitDone);
    auto names = testing_support::callNames(testing_support::readRecording(scratch / "record.txt"));
    EXPECT_EQ(names, (std::vector<std::string>{"create", "init", "startClass", "startMember",
                                                "endMember", "endClass", "done", "destroy"}));
    EXPECT_EQ(console.str(),
              "vantry: Counting files...\nvantry: Sending output to documentation module...\n"
              "vantry: Done.\nvantry: index file: " + scratch.path + "/out/index.html\n");
    // Command-line settings leave the profile alone.
    EXPECT_FALSE(std::filesystem::exists(scratch / "config"));
}

TEST_F(AppTest, ModuleErrorsDuringOutputFailTheRun) {
    setenv("VANTRY_RECORD_REPORT", "1", 1);
    EXPECT_EQ(run(unattended(scratch / "out/index.html")), RunConsole::ExitError);
    EXPECT_NE(err.str().find("vantry: Warnings:"), std::string::npos);
}

TEST_F(AppTest, DeclinedOverwriteWritesNothingAndEndsCancelled) {
    scratch.write("out/index.html", "old");
    EXPECT_EQ(run(unattended(scratch / "out/index.html")), RunConsole::ExitCancelled);
    EXPECT_EQ(err.str().substr(err.str().size() - 19), "vantry: Cancelled.\n");
    EXPECT_FALSE(std::filesystem::exists(scratch / "record.txt"));
    EXPECT_EQ(testing_support::readWholeFile(scratch / "out/index.html"), "old");
}

TEST_F(AppTest, HelpPrintsTheUsageWithTheChosenModulesOptions) {
    // The recording module's two options follow the program's own.
    EXPECT_EQ(run({"-autorun", "--help", "-module=vantry-recording", "-moduledir=" + modules, "src"}),
              RunConsole::ExitDone);
    EXPECT_EQ(output.str(), usageText("\nOptions of the output module vantry-recording:\n"
                                      "  -a=TEXT                 Option A (default 1)\n"
                                      "  -b[=true|false]         Option B (default false)\n"));
    EXPECT_TRUE(console.str().empty());
    auto names = testing_support::callNames(testing_support::readRecording(scratch / "record.txt"));
    EXPECT_EQ(names, (std::vector<std::string>{"create", "getOptions", "destroy"}));
}

TEST_F(AppTest, AModuleThatIsNotThereIsNamedWithTheModulesFound) {
    const std::string refusal = "vantry: error: There is no module \"vantry-standrd\" in " + modules +
                                "; the modules there are: vantry-old, vantry-recording, "
                                "vantry-recording-partial, vantry-standard.\n";
    EXPECT_EQ(run({"-autorun", "-moduledir=" + modules, "-module=vantry-standrd", scratch / "src",
                   scratch / "out/index.html"}),
              RunConsole::ExitUnusable);
    EXPECT_EQ(err.str(), refusal);
    EXPECT_FALSE(std::filesystem::exists(scratch / "out"));

    // Asked for its help, the same: no usage of a module that is not there.
    err.str("");
    EXPECT_EQ(run({"-module=vantry-standrd", "-moduledir=" + modules, "-help"}), RunConsole::ExitUnusable);
    EXPECT_EQ(err.str(), refusal);
    EXPECT_EQ(output.str(), "");

    err.str("");
    scratch.write("empty/readme.txt", "no modules here");
    EXPECT_EQ(run({"-autorun", "-moduledir=" + (scratch / "empty"), "-module=vantry-standard",
                   scratch / "src"}),
              RunConsole::ExitUnusable);
    EXPECT_EQ(err.str(), "vantry: error: There is no module \"vantry-standard\" in " + (scratch / "empty") +
                             "; there are no modules there.\n");
}

// Where the version credit of a written page leads, as written in the page.
std::string creditAddress(const std::string& page) {
    const std::string lead = "<br><font size=\"-2\"><a href=\"";
    std::string::size_type start = page.find(lead);
    std::string::size_type end = page.find("\" target=\"_top\">Vantry v", start);
    if (start == std::string::npos || end == std::string::npos) return "(no credit)";
    return page.substr(start + lead.size(), end - start - lead.size());
}

TEST_F(AppTest, PagesCreditTheWebSiteThatTheDialogsLinkTo) {
    unsetenv("VANTRY_WEB_SITE");
    const std::vector<std::string> credited{"-autorun", "-overwrite", "-show-vantry-version",
                                            "-moduledir=" + modules, scratch / "src",
                                            scratch / "out/index.html"};
    auto credit = [this] {
        return creditAddress(testing_support::readWholeFile(scratch / "out/index-overview-summary.html"));
    };

    // Nothing configured: the pages and the dialogs share one default.
    ASSERT_EQ(run(credited), RunConsole::ExitDone) << err.str();
    EXPECT_EQ(credit(), "http://vantry.example.invalid");
    EXPECT_EQ(endpointValue(NetEndpoint::WebSite, platform::MemorySettingsStore()),
              "http://vantry.example.invalid");

    // The setting, as the dialogs take it (without its last "/").
    scratch.write("config/velkdask/Vantry.ini", "[Update]\nWebSite=https://site.test:8443/docs/\n");
    ASSERT_EQ(run(credited), RunConsole::ExitDone) << err.str();
    EXPECT_EQ(credit(), "https://site.test:8443/docs");
    // The program's own environment is as it was once the program is done.
    EXPECT_EQ(std::getenv("VANTRY_WEB_SITE"), nullptr);

    // The environment variable wins over the setting.
    setenv("VANTRY_WEB_SITE", " http://mirror.test/v?a=1&b=2/ ", 1);
    ASSERT_EQ(run(credited), RunConsole::ExitDone) << err.str();
    EXPECT_EQ(credit(), "http://mirror.test/v?a=1&amp;b=2");
    EXPECT_STREQ(std::getenv("VANTRY_WEB_SITE"), " http://mirror.test/v?a=1&b=2/ ");
    unsetenv("VANTRY_WEB_SITE");
    EXPECT_EQ(err.str().find("vantry: warning"), std::string::npos) << err.str();

    // An address that is no web page (a script) gives way to the default, with a warning.
    scratch.write("config/velkdask/Vantry.ini", "[Update]\nWebSite=javascript:alert(document.domain)\n");
    ASSERT_EQ(run(credited), RunConsole::ExitDone) << err.str();
    EXPECT_EQ(credit(), "http://vantry.example.invalid");
    EXPECT_NE(err.str().find("vantry: warning: The web site \"javascript:alert(document.domain)\" (the "
                             "setting WebSite) is no http or https address; "
                             "http://vantry.example.invalid is used.\n"),
              std::string::npos)
        << err.str();
}

TEST_F(AppTest, WithoutDisplayOnlyUnattendedRunsAndFailuresEndTheProgram) {
    EXPECT_EQ(run({}), RunConsole::ExitUnusable);
    // An input that is not there ends the start before any run, naming it.
    EXPECT_EQ(run({"-autorun", "-module=vantry-recording", "-moduledir=" + modules,
                   scratch / "nothing-here", scratch / "o.html"}),
              RunConsole::ExitUnusable);
    EXPECT_NE(err.str().find("vantry: error: The input \"" + scratch / "nothing-here" +
                             "\" does not exist; name a file or folder to document.\n"),
              std::string::npos)
        << err.str();
    EXPECT_EQ(err.str().find("Counting files"), std::string::npos) << err.str();
    EXPECT_EQ(run({"-autorun", "-comment-format=bad", "src"}), RunConsole::ExitError);
    EXPECT_NE(err.str().find("vantry: error: Vantry initialization error: "), std::string::npos);
}

}  // namespace
