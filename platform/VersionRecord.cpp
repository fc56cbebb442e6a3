#include "platform/VersionRecord.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

constexpr char kMarker[] = VANTRY_VERSION_RECORD_MARKER;
constexpr size_t kMarkerLength = sizeof kMarker - 1;
// Four numbers of up to five digits, three dots and the closing NUL.
constexpr size_t kMaxTail = 4 * 5 + 3 + 1;

// Parses "a.b.c.d\0" at the start of [begin, end). The marker text also
// stands in every program that scans for it, followed by something else, so
// only a complete, well-formed tail counts as a record.
bool parseTail(const char* begin, const char* end, FileVersion* version) {
    int numbers[4];
    const char* p = begin;
    for (int i = 0; i < 4; ++i) {
        int value = 0;
        int digits = 0;
        while (p < end && *p >= '0' && *p <= '9' && digits < 5) {
            value = value * 10 + (*p - '0');
            ++digits;
            ++p;
        }
        if (digits == 0 || value > 65535) return false;
        numbers[i] = value;
        const char expected = i < 3 ? '.' : '\0';
        if (p >= end || *p != expected) return false;
        ++p;
    }
    version->major = numbers[0];
    version->minor = numbers[1];
    version->build = numbers[2];
    version->revision = numbers[3];
    return true;
}

}  // namespace

std::string versionRecordBytes(const FileVersion& version) {
    std::string record = kMarker;
    record += std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
              std::to_string(version.build) + "." + std::to_string(version.revision);
    record.push_back('\0');
    return record;
}

bool readVersionRecord(const std::string& path, FileVersion* version) {
    if (path.find('\0') != std::string::npos) {
        errno = EINVAL;
        return false;
    }
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;

    // Scan block by block; the last bytes of a block that could begin a
    // record are carried over so a record across a block boundary is found.
    constexpr size_t kBlock = 1 << 16;
    const size_t keep = kMarkerLength + kMaxTail;
    std::vector<char> buffer(kBlock + keep);
    size_t filled = 0;
    const std::boyer_moore_horspool_searcher searcher(kMarker, kMarker + kMarkerLength);
    bool atEnd = false;
    while (!atEnd) {
        ssize_t count = read(fd, buffer.data() + filled, kBlock);
        if (count < 0) {
            if (errno == EINTR) continue;
            int saved = errno;
            close(fd);
            errno = saved;
            return false;
        }
        atEnd = count == 0;
        filled += static_cast<size_t>(count);
        const char* begin = buffer.data();
        const char* end = begin + filled;
        // Until the end, a marker in the last `keep` bytes may lack its tail.
        const char* scanEnd = atEnd ? end : (filled > keep ? end - keep : begin);
        const char* from = begin;
        for (;;) {
            const char* hit = std::search(from, end, searcher);
            if (hit == end || hit >= scanEnd) break;
            if (parseTail(hit + kMarkerLength, end, version)) {
                close(fd);
                return true;
            }
            from = hit + 1;
        }
        const size_t carried = static_cast<size_t>(end - scanEnd);
        std::memmove(buffer.data(), scanEnd, carried);
        filled = carried;
    }
    close(fd);
    errno = ENODATA;
    return false;
}

}  // namespace platform
