#include "platform/Shell.h"

#include <atomic>
#include <chrono>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace platform {

namespace {

SystemShell systemShell;
std::atomic<Shell*> current{nullptr};

}  // namespace

Shell::~Shell() = default;

SystemShell::SystemShell(std::chrono::milliseconds limit) : waitLimit(limit) {}

bool SystemShell::open(const std::string& target, std::string* errorText) {
    if (target.empty() || target.find('\0') != std::string::npos) {
        if (errorText != nullptr) *errorText = "nothing to open";
        return false;
    }
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) {
        if (errorText != nullptr) *errorText = std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);

    std::string program = "xdg-open";
    std::string argument = target;
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t pid = 0;
    int status = posix_spawnp(&pid, "xdg-open", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (status != 0) {
        if (errorText != nullptr) {
            *errorText = std::string("could not start xdg-open: ") + std::strerror(status);
        }
        return false;
    }
    // Most openers hand the target to the application and end at once;
    // their status is the only word on whether the target could be opened.
    auto deadline = std::chrono::steady_clock::now() + waitLimit;
    for (;;) {
        int childStatus = 0;
        pid_t done = waitpid(pid, &childStatus, WNOHANG);
        if (done < 0 && errno == EINTR) continue;
        // Someone else reaps children (SIGCHLD ignored): no verdict to read.
        if (done < 0) return true;
        if (done == pid) {
            if (WIFEXITED(childStatus) && WEXITSTATUS(childStatus) == 0) return true;
            if (errorText != nullptr) {
                *errorText = WIFEXITED(childStatus)
                                 ? "xdg-open could not open it (exit status " +
                                       std::to_string(WEXITSTATUS(childStatus)) + ")"
                                 : "xdg-open ended by signal " + std::to_string(WTERMSIG(childStatus));
            }
            return false;
        }
        if (std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // Still busy: some openers stay until the application they started
    // exits. Reap it without holding the caller.
    std::thread([pid] {
        int childStatus = 0;
        while (waitpid(pid, &childStatus, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}

bool RecordingShell::open(const std::string& target, std::string* errorText) {
    opened.push_back(target);
    if (!succeed && errorText != nullptr) *errorText = "the test's shell refused";
    return succeed;
}

Shell& shell() {
    Shell* replaced = current.load();
    return replaced != nullptr ? *replaced : systemShell;
}

Shell* setShell(Shell* replacement) {
    Shell* previous = current.exchange(replacement);
    return previous != nullptr ? previous : &systemShell;
}

}  // namespace platform
