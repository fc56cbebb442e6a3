#include "VelkLib/VelkPath.h"

#include "VelkLib/VelkError.h"

#include <array>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/TerminalText.h"

std::string pathSeparator() { return "/"; }

std::string::size_type findLastPathSeparator(const std::string& path) {
    return path.find_last_of("/\\");
}

std::string slashSeparated(std::string path) {
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

std::string fileNameOf(const std::string& path) {
    std::string::size_type separator = findLastPathSeparator(path);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

bool isRelativePath(const std::string& path) {
    return path.empty() || (path[0] != '/' && path[0] != '\\');
}

std::string makeAbsolutePath(const std::string& path) {
    if (!isRelativePath(path)) return path;
    std::string current = getCurrentDirectory();
    if (path == ".") return current;
    // The root directory already ends with the separator.
    if (current.empty() || current.back() != '/') current += '/';
    return current + path;
}

std::string directoryOf(const std::string& path, bool makeAbsolute) {
    std::string::size_type separator = findLastPathSeparator(path);
    std::string directory;
    if (separator == std::string::npos) {
        directory = ".";
    } else if (separator == 0) {
        directory = pathSeparator();
    } else {
        directory = path.substr(0, separator);
    }
    return makeAbsolute ? makeAbsolutePath(directory) : directory;
}

std::string getCurrentDirectory() {
    std::vector<char> buffer(4096);
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size()) != nullptr) return buffer.data();
        if (errno != ERANGE || buffer.size() > (1u << 24)) break;
        buffer.resize(buffer.size() * 2);
    }
    throw VelkError("Could not get the current working directory.");
}

bool directoryExists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

int makeDirectory(const std::string& path) { return ::mkdir(path.c_str(), 0777) == 0 ? 0 : -1; }

namespace {

// What each byte becomes in a path component.
constexpr std::array<char, 256> makePathCharMap() {
    std::array<char, 256> map{};
    for (int c = 0; c < 256; ++c) map[c] = static_cast<char>(c);
    for (int c = 0; c < 0x20; ++c) map[c] = '_';
    map[0x7f] = '_';
    for (char c : {' ', '[', ']', '/', '\\'}) map[static_cast<unsigned char>(c)] = '_';
    map[':'] = '.';
    return map;
}

constexpr std::array<char, 256> pathCharMap = makePathCharMap();

// Room left in a component for the extension of a page made from it
// (".html", ".java.html").
constexpr std::string::size_type kExtensionRoom = 15;

}  // namespace

std::string fitFileName(const std::string& name, std::string::size_type maxBytes) {
    if (name.size() <= maxBytes) return name;
    // FNV-1a over the whole name: stable from run to run, unlike std::hash.
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : name) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
    const std::string::size_type tail = 1 + 16;
    std::string::size_type head = maxBytes > tail ? maxBytes - tail : 0;
    // A UTF-8 continuation byte is never the first byte cut off.
    while (head > 0 && (static_cast<unsigned char>(name[head]) & 0xC0) == 0x80) --head;
    return name.substr(0, head) + "~" + digits;
}

void appendSafePathComponent(std::string& out, std::string_view name) {
    const std::string::size_type start = out.size();
    out += name;
    char* const made = out.data() + start;
    for (std::string::size_type i = 0; i < name.size(); ++i)
        made[i] = pathCharMap[static_cast<unsigned char>(made[i])];
    const std::string_view component = std::string_view(out).substr(start);
    if (component.empty() || component == "." || component == "..") {
        out.resize(start);
        out += '_';
    } else if (component.size() > kMaxFileNameBytes - kExtensionRoom) {
        std::string fitted = fitFileName(std::string(component), kMaxFileNameBytes - kExtensionRoom);
        out.resize(start);
        out += fitted;
    }
}

std::string safePathComponent(const std::string& name) {
    std::string result;
    result.reserve(name.size());
    appendSafePathComponent(result, name);
    return result;
}

std::string leavingOutputText(const std::string& option, const std::string& value) {
    return "The value \"" + terminalText(value) + "\" of " + option +
           " leaves the output directory; give a name inside it.";
}

bool makesTooLongAName(const std::string& path, std::size_t suffix) {
    std::string::size_type start = 0;
    while (start <= path.size()) {
        std::string::size_type end = path.find_first_of("/\\", start);
        const bool last = end == std::string::npos;
        if (last) end = path.size();
        if (end - start + (last ? suffix : 0) > NAME_MAX) return true;
        start = end + 1;
    }
    return false;
}

std::string tooLongANameText(const std::string& option, const std::string& value) {
    return "The value \"" + terminalText(value) + "\" of " + option + " makes a file name longer than " +
           std::to_string(NAME_MAX) + " bytes; give a shorter one.";
}

bool leavesDirectory(const std::string& path) {
    if (!isRelativePath(path)) return true;
    int depth = 0;
    std::string::size_type start = 0;
    while (start <= path.size()) {
        std::string::size_type end = path.find_first_of("/\\", start);
        if (end == std::string::npos) end = path.size();
        const std::string_view part(path.data() + start, end - start);
        if (part == "..") {
            if (--depth < 0) return true;
        } else if (!part.empty() && part != ".") {
            ++depth;
        }
        start = end + 1;
    }
    return false;
}

std::string lexicalPath(const std::string& path) {
    const bool absolute = !isRelativePath(path);
    std::vector<std::string_view> parts;
    std::string::size_type start = 0;
    while (start <= path.size()) {
        std::string::size_type end = path.find_first_of("/\\", start);
        if (end == std::string::npos) end = path.size();
        const std::string_view part(path.data() + start, end - start);
        start = end + 1;
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..") parts.pop_back();
            else if (!absolute) parts.push_back(part);
            continue;
        }
        parts.push_back(part);
    }
    std::string result = absolute ? "/" : "";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) result += '/';
        result += parts[i];
    }
    return result.empty() ? "." : result;
}

std::string siteFolderRefusal(const std::string& option, const std::string& value) {
    if (!isRelativePath(value) || (value.size() >= 2 && value[1] == ':'))
        return "The value \"" + terminalText(value) + "\" of " + option +
               " is no relative path; give a folder inside the output directory.";
    if (leavesDirectory(value)) return leavingOutputText(option, value);
    if (makesTooLongAName(value, 0)) return tooLongANameText(option, value);
    return "";
}

std::string pageBaseRefusal(const std::string& option, const std::string& value) {
    if (leavesDirectory(value)) return leavingOutputText(option, value);
    if (value.find_first_of("/\\") != std::string::npos || value.find("..") != std::string::npos)
        return "The value \"" + terminalText(value) + "\" of " + option +
               " is no plain name; give one without \"/\", \"\\\" or \"..\" (the pages it "
               "names stand beside the main page).";
    // The longest page name made of it (the master index, SiteNames.h).
    if (makesTooLongAName(value, std::string_view("-all.html").size())) return tooLongANameText(option, value);
    return "";
}
