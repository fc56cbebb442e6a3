#include "VelkLib/VelkDirectory.h"

#include "VelkLib/VelkError.h"
#include "VelkLib/VelkPath.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

class DirHandle {
public:
    explicit DirHandle(const std::string& path) : dir(::opendir(path.c_str())) {}
    ~DirHandle() {
        if (dir != nullptr) ::closedir(dir);
    }
    DirHandle(const DirHandle&) = delete;
    DirHandle& operator=(const DirHandle&) = delete;
    DIR* get() const { return dir; }

private:
    DIR* dir;
};

}  // namespace

bool matchesWildcard(const std::string& pattern, const std::string& name) {
    if (pattern == "*.*" || pattern == "*") return true;
    // Greedy match that, on a mismatch, lets the last '*' swallow one more
    // character: no recursion, no exponential blow-up on many stars.
    size_t p = 0, n = 0;
    size_t starP = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || lowerAscii(pattern[p]) == lowerAscii(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

VelkDirectory::VelkDirectory(const std::string& path_, bool create) : path(path_), systemPath(path_) {
    std::replace(systemPath.begin(), systemPath.end(), '\\', '/');
    if (!create) {
        if (!directoryExists(systemPath)) {
            throw VelkError("The directory " + path + " does not exist.");
        }
        return;
    }
    // Pages ask for their directory again and again: one look settles an
    // existing directory, one mkdir a directory whose parents exist.
    if (directoryExists(systemPath) || makeDirectory(systemPath) == 0) return;
    // Each parent may exist already (or be "" for the root); only the
    // creation of the path itself decides.
    for (size_t slash = systemPath.find('/'); slash != std::string::npos;
         slash = systemPath.find('/', slash + 1)) {
        makeDirectory(systemPath.substr(0, slash));
    }
    if (makeDirectory(systemPath) == 0) return;
    const int error = errno;
    if (error == EEXIST) {
        if (directoryExists(systemPath)) return;
        throw VelkError("Not a directory (" + path + ")");
    }
    if (error == ENOENT) throw VelkError("Path not found (" + path + ")");
    // The system's own words for the reason ("File name too long"), not a
    // bare number.
    throw VelkError("Could not make the directory " + path, error);
}

std::vector<std::string> VelkDirectory::list(const std::string& pattern, bool includeDirectories,
                                             bool fullPaths) const {
    return entries(pattern, includeDirectories, false, fullPaths);
}

std::vector<std::string> VelkDirectory::listSubdirectories(bool fullPaths) const {
    return entries("*", true, true, fullPaths);
}

std::vector<std::string> VelkDirectory::entries(const std::string& pattern,
                                                bool includeDirectories, bool directoriesOnly,
                                                bool fullPaths) const {
    std::vector<std::string> names;
    DirHandle dir(systemPath);
    if (dir.get() == nullptr) return names;
    const std::string prefix =
        systemPath.empty() || systemPath.back() == '/' ? systemPath : systemPath + "/";
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (!matchesWildcard(pattern, name)) continue;
        bool isDirectory;
        bool isFile;
        if (entry->d_type == DT_DIR || entry->d_type == DT_REG) {
            isDirectory = entry->d_type == DT_DIR;
            isFile = !isDirectory;
        } else {
            // Links and file systems that do not say: ask about the target.
            struct stat info;
            if (::stat((prefix + name).c_str(), &info) != 0) continue;
            isDirectory = S_ISDIR(info.st_mode);
            isFile = S_ISREG(info.st_mode);
        }
        const bool keep = directoriesOnly ? isDirectory
                                          : isFile || (isDirectory && includeDirectories);
        if (keep) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    if (fullPaths) {
        for (std::string& name : names) name = prefix + name;
    }
    return names;
}
