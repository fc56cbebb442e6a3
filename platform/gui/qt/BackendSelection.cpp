#include "platform/gui/qt/BackendSelection.h"

#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QLibraryInfo>

#include "platform/gui/HeadlessBackend.h"
#include "platform/gui/qt/QtBackend.h"

namespace gui {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// Connects to a local socket by path (a leading "@" names an abstract one).
bool socketAccepts(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof(address.sun_path)) return false;
    std::memcpy(address.sun_path, path.data(), path.size());
    socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size());
    if (path[0] == '@') address.sun_path[0] = '\0';
    int socketFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socketFd < 0) return false;
    bool connected = ::connect(socketFd, reinterpret_cast<sockaddr*>(&address), length) == 0;
    ::close(socketFd);
    return connected;
}

bool xDisplayReachable(const std::string& display, const std::string& socketDirectory) {
    // [host]:number[.screen]; "unix" or no host is the local socket.
    std::size_t colon = display.rfind(':');
    if (colon == std::string::npos) return false;
    std::string host = display.substr(0, colon);
    std::string number = display.substr(colon + 1);
    number = number.substr(0, number.find('.'));
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) return false;
    if (!host.empty() && host != "unix") return true;  // a remote display: Qt finds out
    std::string path = socketDirectory + "/X" + number;
    return socketAccepts(path) || socketAccepts("@" + path);
}

}  // namespace

std::string reachablePlatform(const std::string& qpaPlatform, const std::string& display,
                              const std::string& waylandDisplay,
                              const std::string& xSocketDirectory,
                              const std::string& runtimeDirectory) {
    if (!qpaPlatform.empty()) return qpaPlatform;
    if (!display.empty() && xDisplayReachable(display, xSocketDirectory)) return "xcb";
    if (!waylandDisplay.empty() && (waylandDisplay[0] == '/' || !runtimeDirectory.empty())) {
        std::string path =
            waylandDisplay[0] == '/' ? waylandDisplay : runtimeDirectory + "/" + waylandDisplay;
        if (socketAccepts(path)) return "wayland";
    }
    return "";
}

std::string reachablePlatform() {
    return reachablePlatform(environment("QT_QPA_PLATFORM"), environment("DISPLAY"),
                             environment("WAYLAND_DISPLAY"), "/tmp/.X11-unix",
                             environment("XDG_RUNTIME_DIR"));
}

namespace {

// Qt ends the process when it cannot load the platform it was told to use,
// so a platform found here is used only when its plugin is installed.
bool pluginInstalled(const std::string& platform) {
    std::string directory =
        QLibraryInfo::path(QLibraryInfo::PluginsPath).toStdString() + "/platforms/";
    const char* file = platform == "xcb" ? "libqxcb.so" : "libqwayland-generic.so";
    return ::access((directory + file).c_str(), R_OK) == 0;
}

}  // namespace

ProgramBackend::ProgramBackend(int& argc, char** argv) {
    std::string platform = reachablePlatform();
    bool chosenByUser = !environment("QT_QPA_PLATFORM").empty();
    if (!platform.empty() && !chosenByUser && !pluginInstalled(platform)) platform.clear();
    if (!platform.empty()) {
        // Told through the environment for the start only, so that what
        // the program opens later makes its own choice.
        if (!chosenByUser) ::setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
        qtBackend = std::make_unique<QtBackend>(argc, argv);
        if (!chosenByUser) ::unsetenv("QT_QPA_PLATFORM");
        previous = setBackend(qtBackend.get());
    } else {
        headlessBackend = std::make_unique<HeadlessBackend>();
        previous = setBackend(headlessBackend.get());
    }
}

ProgramBackend::~ProgramBackend() { setBackend(previous); }

}  // namespace gui
