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
