// The program's choice of backend at start-up: real windows when a display
// is reachable and the real-windows library loads, the headless backend
// otherwise.
#pragma once

#include <memory>
#include <string>

namespace gui {

class Backend;
class HeadlessBackend;

// The Qt platform that can show real windows: the one QT_QPA_PLATFORM
// names (such as "offscreen"; "xcb" and "wayland..." only when their
// display answers as below), else "xcb" when the X display of DISPLAY
// accepts a connection (a local socket; an X display on another host is
// taken as reachable), else "wayland" when the Wayland display of
// WAYLAND_DISPLAY does; "" when none can.
std::string reachablePlatform();

// The same test over given values, for tests. xSocketDirectory is where
// local X displays have their sockets ("/tmp/.X11-unix"), runtimeDirectory
// where Wayland's are (XDG_RUNTIME_DIR).
std::string reachablePlatform(const std::string& qpaPlatform, const std::string& display,
                              const std::string& waylandDisplay,
                              const std::string& xSocketDirectory,
                              const std::string& runtimeDirectory);

// Whether Qt starts on the platform (a QT_QPA_PLATFORM value): offscreen,
// minimal, xcb and wayland are taken as they are (their displays are
// tested by reachablePlatform); any other is started in a child process
// with its output discarded, since Qt ends a process whose platform cannot
// start (no framebuffer, no EGL, a name it does not know).
bool platformStarts(const std::string& platform, int& argc, char** argv);

// Why the last ProgramBackend chose no real windows although a display or
// a Qt platform was there: "vantry-windows.so could not be loaded", "the
// Qt platform \"x\" (QT_QPA_PLATFORM) cannot start here", ...; "" when no
// display was found at all (or windows were chosen).
const std::string& windowsUnavailableReason();

// Chooses and installs the backend (setBackend) for the life of the object.
class ProgramBackend {
public:
    // Real windows on the reachable platform when Qt has its plugin and
    // it starts; otherwise headless (a QT_QPA_PLATFORM that cannot start
    // is named on the error stream). A library that does not load is named on the
    // error stream with the loader's reason. argc and argv must outlive
    // the object.
    ProgramBackend(int& argc, char** argv);
    ~ProgramBackend();
    ProgramBackend(const ProgramBackend&) = delete;
    ProgramBackend& operator=(const ProgramBackend&) = delete;

    // The headless backend when it was chosen, else null.
    HeadlessBackend* headless() const { return headlessBackend.get(); }

private:
    std::unique_ptr<HeadlessBackend> headlessBackend;
    std::unique_ptr<Backend> windowsBackend;
    Backend* previous = nullptr;
};

}  // namespace gui
