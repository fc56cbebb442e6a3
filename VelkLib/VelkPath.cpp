#include "VelkLib/VelkPath.h"

#include "VelkLib/VelkError.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

std::string pathSeparator() { return "/"; }

std::string::size_type findLastPathSeparator(const std::string& path) {
    return path.find_last_of("/\\");
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
