#include "platform/MessageBox.h"

#include <cerrno>
#include <mutex>
#include <unistd.h>

namespace platform {

namespace {

std::mutex handlerMutex;
ErrorBoxHandler& installedHandler() {
    static ErrorBoxHandler handler;
    return handler;
}

}  // namespace

void writeErrorToStandardError(const std::string& text) {
    std::string line = "vantry: error: " + text + "\n";
    const char* data = line.data();
    size_t left = line.size();
    while (left > 0) {
        ssize_t written = write(STDERR_FILENO, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            return;  // nowhere else to report to
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
}

void showErrorBox(const std::string& text, const std::string& caption) {
    ErrorBoxHandler handler;
    {
        std::lock_guard<std::mutex> lock(handlerMutex);
        handler = installedHandler();
    }
    // Called outside the lock: a box stays up until closed, and its handler
    // may itself report.
    if (handler) {
        try {
            handler(text, caption);
            return;
        } catch (...) {
        }
    }
    writeErrorToStandardError(text);
}

ErrorBoxHandler setErrorBoxHandler(ErrorBoxHandler handler) {
    std::lock_guard<std::mutex> lock(handlerMutex);
    ErrorBoxHandler previous = std::move(installedHandler());
    installedHandler() = std::move(handler);
    return previous;
}

}  // namespace platform
