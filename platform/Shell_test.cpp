#include "platform/MessageBox.h"
#include "platform/Shell.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ShellTest, SystemShellPassesTheTargetAsOneArgument) {
    fs::path dir = fs::temp_directory_path() / ("vantry-shell-" + std::to_string(getpid()));
    fs::create_directories(dir);
    // A stand-in xdg-open that records its arguments.
    fs::path script = dir / "xdg-open";
    fs::path out = dir / "args";
    std::ofstream(script) << "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > '" << out.string()
                          << ".tmp' && mv '" << out.string() << ".tmp' '" << out.string()
                          << "'\n";
    fs::permissions(script, fs::perms::owner_all);

    std::string oldPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    setenv("PATH", (dir.string() + ":" + oldPath).c_str(), 1);
    const std::string target = "/tmp/a b;$(touch pwned) `x`.html";
    std::string error;
    platform::SystemShell shell;
    bool started = shell.open(target, &error);
    setenv("PATH", oldPath.c_str(), 1);
    ASSERT_TRUE(started) << error;

    // The opener runs on its own; give it ample time to write its record.
    for (int i = 0; i < 1000 && !fs::exists(out); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(readFile(out), "1|" + target + "|");
    EXPECT_FALSE(fs::exists("pwned"));
    fs::remove_all(dir);
}

TEST(ShellTest, MissingOpenerAndEmptyTargetFail) {
    std::string oldPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    setenv("PATH", "/nonexistent-vantry-dir", 1);
    std::string error;
    platform::SystemShell shell;
    EXPECT_FALSE(shell.open("/tmp/x.html", &error));
    setenv("PATH", oldPath.c_str(), 1);
    EXPECT_NE(error.find("xdg-open"), std::string::npos) << error;
    EXPECT_FALSE(shell.open("", &error));
}

TEST(ShellTest, ReplacementShellIsUsedUntilRestored) {
    struct Recorder : platform::Shell {
        bool open(const std::string& target, std::string*) override {
            opened = target;
            return true;
        }
        std::string opened;
    } recorder;
    platform::Shell* previous = platform::setShell(&recorder);
    EXPECT_TRUE(platform::shell().open("index.html", nullptr));
    EXPECT_EQ(recorder.opened, "index.html");
    platform::setShell(nullptr);
    EXPECT_EQ(platform::setShell(previous), dynamic_cast<platform::SystemShell*>(previous));
    platform::setShell(nullptr);
}

TEST(MessageBoxTest, DefaultWritesToStandardErrorAndHandlersReplaceIt) {
    ::testing::internal::CaptureStderr();
    platform::showErrorBox("it broke", "Unexpected Error");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "vantry: error: it broke\n");

    std::string seen;
    platform::setErrorBoxHandler(
        [&](const std::string& text, const std::string& caption) { seen = caption + ":" + text; });
    platform::showErrorBox("one", "Cap");
    EXPECT_EQ(seen, "Cap:one");

    // A handler that fails must not lose the text.
    platform::setErrorBoxHandler([](const std::string&, const std::string&) { throw 1; });
    ::testing::internal::CaptureStderr();
    platform::showErrorBox("two", "Cap");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "vantry: error: two\n");

    EXPECT_TRUE(platform::setErrorBoxHandler({}));
    EXPECT_FALSE(platform::setErrorBoxHandler({}));
}

}  // namespace
