#include "platform/gui/BackendSelection.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/Library.h"
#include "platform/ProgramPath.h"
#include "platform/TerminalText.h"
#include "platform/gui/Backend.h"
#include "platform/gui/HeadlessBackend.h"
#include "platform/gui/WindowsLibrary.h"

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
    auto waylandReachable = [&] {
        if (waylandDisplay.empty() || (waylandDisplay[0] != '/' && runtimeDirectory.empty())) return false;
        std::string path =
            waylandDisplay[0] == '/' ? waylandDisplay : runtimeDirectory + "/" + waylandDisplay;
        return socketAccepts(path);
    };
    if (!qpaPlatform.empty()) {
        // The platform's name comes before its options ("xcb:...").
        const std::string name = qpaPlatform.substr(0, qpaPlatform.find(':'));
        // Qt ends the process when the display of the one named does not
        // answer, so a named display is tested as a found one is.
        if (name == "xcb") return xDisplayReachable(display, xSocketDirectory) ? qpaPlatform : "";
        if (name.rfind("wayland", 0) == 0) return waylandReachable() ? qpaPlatform : "";
        return qpaPlatform;
    }
    if (!display.empty() && xDisplayReachable(display, xSocketDirectory)) return "xcb";
    if (waylandReachable()) return "wayland";
    return "";
}

std::string reachablePlatform() {
    return reachablePlatform(environment("QT_QPA_PLATFORM"), environment("DISPLAY"),
                             environment("WAYLAND_DISPLAY"), "/tmp/.X11-unix",
                             environment("XDG_RUNTIME_DIR"));
}

namespace {

std::string unavailableReason;

// The real-windows backend from the library beside the program, or null.
// The library stays loaded to the end: Qt leaves exit-time work in it.
std::unique_ptr<Backend> openWindows(const char* platform, int& argc, char** argv) {
    std::string program = platform::programPath();
    std::string path = program.substr(0, program.rfind('/') + 1) + kWindowsLibraryFile;
    std::string error;
    platform::LibraryHandle library = platform::openLibrary(path, &error);
    void* entry = library != nullptr ? platform::librarySymbol(library, kWindowsEntry, &error)
                                     : nullptr;
    if (entry == nullptr) {
        std::cerr << "vantry: no real windows: " << terminalText(error) << "\n";
        unavailableReason = std::string(kWindowsLibraryFile) + " could not be loaded";
        return nullptr;
    }
    std::unique_ptr<Backend> windows(reinterpret_cast<WindowsEntry>(entry)(platform, &argc, argv));
    if (!windows) unavailableReason = "Qt could not start its windows here";
    return windows;
}

// Platforms that start without any device or server.
bool startsAnywhere(const std::string& name) { return name == "offscreen" || name == "minimal"; }

}  // namespace

bool platformStarts(const std::string& platform, int& argc, char** argv) {
    const std::string name = platform.substr(0, platform.find(':'));
    if (startsAnywhere(name) || name == "xcb" || name.rfind("wayland", 0) == 0) return true;
    // Any other (a framebuffer, EGL, a name Qt does not know) is tried in a
    // child: Qt ends the process whose platform cannot start.
    std::cout.flush();
    std::cerr.flush();
    const pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) {
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (null >= 0) {
            ::dup2(null, STDOUT_FILENO);
            ::dup2(null, STDERR_FILENO);
        }
        std::unique_ptr<Backend> trial = openWindows(nullptr, argc, argv);
        ::_exit(trial && trial->hasDisplay() ? 0 : 1);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0)
        if (errno != EINTR) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

ProgramBackend::ProgramBackend(int& argc, char** argv) {
    std::string platform = reachablePlatform();
    const std::string named = environment("QT_QPA_PLATFORM");
    const bool chosenByUser = !named.empty();
    if (chosenByUser && !platform.empty() && !platformStarts(platform, argc, argv)) platform.clear();
    unavailableReason.clear();
    if (chosenByUser && platform.empty()) {
        std::cerr << "vantry: the Qt platform \"" << terminalText(named) << "\" (QT_QPA_PLATFORM) cannot start here: no windows\n";
        unavailableReason = "the Qt platform \"" + terminalText(named) + "\" (QT_QPA_PLATFORM) cannot start here";
    }
    if (!platform.empty())
        windowsBackend = openWindows(chosenByUser ? nullptr : platform.c_str(), argc, argv);
    if (windowsBackend) {
        previous = setBackend(windowsBackend.get());
    } else {
        headlessBackend = std::make_unique<HeadlessBackend>();
        previous = setBackend(headlessBackend.get());
    }
}

ProgramBackend::~ProgramBackend() { setBackend(previous); }

const std::string& windowsUnavailableReason() { return unavailableReason; }

}  // namespace gui
