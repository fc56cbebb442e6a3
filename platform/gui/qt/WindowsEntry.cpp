// The one export of the real-windows library.
#include <cstdlib>
#include <string>
#include <type_traits>
#include <unistd.h>

#include <QLibraryInfo>

#include "platform/gui/WindowsLibrary.h"
#include "platform/gui/qt/QtBackend.h"

namespace {

// Qt ends the process when it cannot load the platform it was told to use,
// so a platform is used only when its plugin is installed.
bool pluginInstalled(const std::string& platform) {
    std::string directory =
        QLibraryInfo::path(QLibraryInfo::PluginsPath).toStdString() + "/platforms/";
    const char* file = platform == "xcb" ? "libqxcb.so" : "libqwayland-generic.so";
    return ::access((directory + file).c_str(), R_OK) == 0;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) gui::Backend* vantryOpenWindows(
    const char* platform, int* argc, char** argv) {
    if (platform != nullptr && !pluginInstalled(platform)) return nullptr;
    // A platform chosen here is told through the environment for the start
    // only, so that what the program opens later makes its own choice.
    if (platform != nullptr) ::setenv("QT_QPA_PLATFORM", platform, 1);
    gui::Backend* backend = nullptr;
    try {
        backend = new gui::QtBackend(*argc, argv);
    } catch (...) {
        backend = nullptr;
    }
    if (platform != nullptr) ::unsetenv("QT_QPA_PLATFORM");
    return backend;
}

static_assert(std::is_same_v<decltype(&vantryOpenWindows), gui::WindowsEntry>);
