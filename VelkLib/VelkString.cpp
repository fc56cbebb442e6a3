#include "VelkLib/VelkString.h"

#include "VelkLib/VelkFile.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/TerminalText.h"


void VelkString::replaceAll(const std::string& search, const std::string& replacement) {
    if (search.empty()) return;
    size_t found = find(search);
    if (found == npos) return;
    std::string result;
    result.reserve(size());
    size_t from = 0;
    while (found != npos) {
        result.append(*this, from, found - from);
        result += replacement;
        from = found + search.size();
        found = find(search, from);
    }
    result.append(*this, from, npos);
    assign(std::move(result));
}

VelkString VelkString::trim() const {
    size_t begin = 0;
    size_t end = size();
    while (begin < end && isSpaceChar((*this)[begin])) ++begin;
    while (end > begin && isSpaceChar((*this)[end - 1])) --end;
    return VelkString(data() + begin, end - begin);
}

std::string intToString(int number) { return std::to_string(number); }

bool isHtmlFragment(const std::string& text) {
    if (text.find('<') != std::string::npos) return true;
    if (text.find('>') != std::string::npos) return true;
    if (text.find('$') != std::string::npos) return !fileExists(text);
    return false;
}

std::string pageTextRefusal(const std::string& text) {
    if (text.empty() || text == "?" || isHtmlFragment(text)) return "";
    const std::string name = terminalText(text);
    struct stat info;
    if (::stat(text.c_str(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return "there is no file \"" + name + "\"; name a text file or give HTML.";
        return "the file \"" + name + "\" cannot be read (" + std::strerror(errno) + ").";
    }
    if (!S_ISREG(info.st_mode)) return "\"" + name + "\" is not a regular file; name a text file or give HTML.";
    if (static_cast<std::uint64_t>(info.st_size) > kPageTextLimit)
        return "the file \"" + name + "\" is larger than " + std::to_string(kPageTextLimit >> 20) + " MB.";
    // Never blocks: it is a regular file.
    const int fd = ::open(text.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return "the file \"" + name + "\" cannot be read (" + std::strerror(errno) + ").";
    ::close(fd);
    return "";
}

bool isDigitChar(char c) { return c >= '0' && c <= '9'; }

bool isAlphaChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isAlnumChar(char c) { return isAlphaChar(c) || isDigitChar(c); }
