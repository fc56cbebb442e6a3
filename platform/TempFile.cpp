#include "platform/TempFile.h"

#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace platform {

std::string tempDirectory() {
    for (const char* name : {"TEMP", "TMP", "TMPDIR"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return value;
    }
    return "/tmp";
}

std::string createTempFile(const std::string& namePrefix) {
    std::string pattern = tempDirectory() + "/" + namePrefix + "XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    // mkstemp creates with O_EXCL and mode 0600.
    int fd = mkstemp(buffer.data());
    if (fd < 0) return "";
    close(fd);
    return std::string(buffer.data());
}

}  // namespace platform
