#include "platform/ProgramPath.h"

#include <cerrno>
#include <unistd.h>
#include <vector>

namespace platform {

std::string programPath() {
    // readlink does not say whether it truncated, so grow until it fits.
    std::vector<char> buffer(512);
    for (;;) {
        ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) return "";
        if (static_cast<size_t>(length) < buffer.size()) {
            return std::string(buffer.data(), static_cast<size_t>(length));
        }
        if (buffer.size() >= (1u << 20)) {
            errno = ENAMETOOLONG;
            return "";
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace platform
