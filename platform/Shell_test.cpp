#include "platform/MessageBox.h"
#include "platform/Shell.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

TEST(ShellTest, SystemShellPassesTheTargetAsOneUninterpretedArgument) {
    fs::path dir = "/tmp/vantry-shell-" + std::to_string(getpid());
    fs::create_directories(dir);
    const std::string out = (dir / "args").string();
    // A stand-in xdg-open that records its arguments.
    std::ofstream(dir / "xdg-open") << "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > '" << out
                                    << ".tmp' && mv '" << out << ".tmp' '" << out << "'\n";
    fs::permissions(dir / "xdg-open", fs::perms::owner_all);
    const std::string oldPath = std::getenv("PATH");
    setenv("PATH", (dir.string() + ":" + oldPath).c_str(), 1);
    const std::string target = "/tmp/a b;$(touch pwned) `x`.html";
    std::string error;
    platform::SystemShell shell;
    EXPECT_TRUE(shell.open(target, &error)) << error;
    setenv("PATH", "/nonexistent-vantry-dir", 1);
    EXPECT_FALSE(shell.open(target, &error));
    EXPECT_NE(error.find("xdg-open"), std::string::npos) << error;
    setenv("PATH", oldPath.c_str(), 1);

    // The opener runs on its own; give it ample time to write its record.
    for (int i = 0; i < 1000 && !fs::exists(out); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::ifstream in(out);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "1|" + target + "|");
    EXPECT_FALSE(fs::exists("pwned"));
    fs::remove_all(dir);
}

// A stand-in xdg-open with the given script body, first on PATH while it
// lives.
class FakeOpener {
public:
    explicit FakeOpener(const std::string& body)
        : dir("/tmp/vantry-opener-" + std::to_string(getpid())), oldPath(std::getenv("PATH")) {
        fs::create_directories(dir);
        std::ofstream(dir / "xdg-open") << "#!/bin/sh\n" << body << "\n";
        fs::permissions(dir / "xdg-open", fs::perms::owner_all);
        setenv("PATH", (dir.string() + ":" + oldPath).c_str(), 1);
    }
    ~FakeOpener() {
        setenv("PATH", oldPath.c_str(), 1);
        fs::remove_all(dir);
    }
    fs::path dir;
    std::string oldPath;
};

TEST(ShellTest, AnOpenerThatFailsIsAFailedOpen) {
    platform::SystemShell shell;
    std::string error;
    {
        // xdg-open's status when no application takes the target.
        FakeOpener opener("exit 4");
        EXPECT_FALSE(shell.open("https://example.invalid/page", &error));
        EXPECT_EQ(error, "xdg-open could not open it (exit status 4)");
    }
    {
        FakeOpener opener("kill -KILL $$");
        EXPECT_FALSE(shell.open("/tmp/page.html", &error));
        EXPECT_EQ(error, "xdg-open ended by signal 9");
    }
    {
        FakeOpener opener("exit 0");
        error.clear();
        EXPECT_TRUE(shell.open("/tmp/page.html", &error)) << error;
    }
}

TEST(ShellTest, AnOpenerStillBusyAfterTheWaitLimitCountsAsOpened) {
    // Some openers stay with the application they started: the caller is
    // not held until they end.
    FakeOpener opener("exec sleep 5");
    platform::SystemShell shell(std::chrono::milliseconds(50));
    std::string error;
    EXPECT_TRUE(shell.open("/tmp/page.html", &error)) << error;
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
    platform::setErrorBoxHandler({});
}

}  // namespace
