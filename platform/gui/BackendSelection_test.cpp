// The choice of real windows at start-up: a display counts only when it
// answers.
#include "platform/gui/BackendSelection.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

TEST(BackendSelectionTest, RealWindowsOnlyWhereADisplayAnswers) {
    std::filesystem::path directory = std::filesystem::temp_directory_path() /
                                      ("vantry-display-" + std::to_string(::getpid()));
    std::filesystem::create_directories(directory);
    std::string socketPath = (directory / "X7").string();
    int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketPath.copy(address.sun_path, sizeof(address.sun_path) - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(::listen(listener, 4), 0);
    std::string xDir = directory.string();

    EXPECT_EQ(gui::reachablePlatform("offscreen", "", "", xDir, ""), "offscreen");
    EXPECT_EQ(gui::reachablePlatform("", ":7", "", xDir, ""), "xcb");
    EXPECT_EQ(gui::reachablePlatform("", "unix:7.0", "", xDir, ""), "xcb");
    EXPECT_EQ(gui::reachablePlatform("", ":8", "", xDir, ""), "");  // nobody listens
    EXPECT_EQ(gui::reachablePlatform("", "nonsense", "", xDir, ""), "");
    EXPECT_EQ(gui::reachablePlatform("", "", "", xDir, ""), "");
    EXPECT_EQ(gui::reachablePlatform("", "", "X7", "/nonexistent", xDir), "wayland");
    EXPECT_EQ(gui::reachablePlatform("", "", "X7", "/nonexistent", ""), "");
    // A platform named by the user whose display does not answer cannot
    // start: Qt would end the program.
    EXPECT_EQ(gui::reachablePlatform("xcb", ":7", "", xDir, ""), "xcb");
    EXPECT_EQ(gui::reachablePlatform("xcb", ":8", "", xDir, ""), "");
    EXPECT_EQ(gui::reachablePlatform("xcb:nograb", "", "", xDir, ""), "");
    EXPECT_EQ(gui::reachablePlatform("wayland", "", "X7", "/nonexistent", xDir), "wayland");
    EXPECT_EQ(gui::reachablePlatform("wayland-egl", ":7", "", xDir, ""), "");
    ::close(listener);
    std::filesystem::remove_all(directory);
}

}  // namespace
