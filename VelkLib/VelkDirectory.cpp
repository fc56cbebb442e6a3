#include "VelkLib/VelkDirectory.h"

#include "VelkLib/VelkError.h"
#include "VelkLib/VelkFile.h"
#include "VelkLib/VelkPath.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#include <sys/stat.h>

#include "platform/TerminalText.h"

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

class DirHandle {
public:
    explicit DirHandle(const std::string& path) {
        // Opened as a descriptor first, so that the directory read is the
        // one whose real path the caller may ask for.
        int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return;
        dir = ::fdopendir(fd);
        if (dir == nullptr) ::close(fd);
    }
    ~DirHandle() {
        if (dir != nullptr) ::closedir(dir);
    }
    DirHandle(const DirHandle&) = delete;
    DirHandle& operator=(const DirHandle&) = delete;
    DIR* get() const { return dir; }

private:
    DIR* dir = nullptr;
};

}  // namespace

bool matchesWildcard(const std::string& pattern, const std::string& name) {
    if (pattern == "*.*" || pattern == "*") return true;
    // "*.h", the form every extension filter takes, is a test of the name's
    // end: the walk asks it for every file and every extension.
    if (!pattern.empty() && pattern[0] == '*' && pattern.find_first_of("*?", 1) == std::string::npos) {
        const size_t tail = pattern.size() - 1;
        if (name.size() < tail) return false;
        const size_t from = name.size() - tail;
        for (size_t i = 0; i < tail; ++i)
            if (lowerAscii(pattern[i + 1]) != lowerAscii(name[from + i])) return false;
        return true;
    }
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

VelkDirectory::VelkDirectory(const std::string& path_, bool create)
    : path(path_), systemPath(slashSeparated(path_)) {
    if (!create) {
        if (!directoryExists(systemPath)) {
            throw VelkError("The directory " + terminalText(path) + " does not exist.");
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
        throw VelkError("Not a directory (" + terminalText(path) + ")");
    }
    if (error == ENOENT) throw VelkError("Path not found (" + terminalText(path) + ")");
    // The system's own words for the reason ("File name too long"), not a
    // bare number.
    throw VelkError("Could not make the directory " + terminalText(path), error);
}

void makeSiteDirectory(const std::string& path, StagedFiles* staged) {
    std::string systemPath = slashSeparated(path);
    while (systemPath.size() > 1 && systemPath.back() == '/') systemPath.pop_back();
    // The directories missing now, the outermost last.
    std::vector<std::string> missing;
    if (staged != nullptr) {
        for (std::string at = systemPath; !at.empty() && at != "/" && at != "." && !directoryExists(at);) {
            missing.push_back(at);
            const std::size_t slash = at.rfind('/');
            at = slash == std::string::npos ? std::string() : at.substr(0, slash);
        }
    }
    // Recorded before they are made, so that a failure halfway leaves
    // none of those made behind either.
    for (auto outer = missing.rbegin(); outer != missing.rend(); ++outer) staged->madeDirectory(*outer);
    VelkDirectory made(path, true);
    struct stat info;
    if (::lstat(systemPath.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) throw siteFolderIsALink(path);
}

VelkError siteFolderIsALink(const std::string& path) {
    return VelkError("The folder " + terminalText(path) +
                     " of the site is a symbolic link; remove it or write the site elsewhere.");
}

std::vector<std::string> VelkDirectory::list(const std::string& pattern, bool includeDirectories,
                                             bool fullPaths) const {
    return entries(pattern, includeDirectories, false, fullPaths);
}

std::vector<std::string> VelkDirectory::listSubdirectories(bool fullPaths) const {
    return entries("*", true, true, fullPaths);
}

std::string VelkDirectory::entryPrefix() const {
    return systemPath.empty() || systemPath.back() == '/' ? systemPath : systemPath + "/";
}

namespace {

// What a file of a kind the lists leave out is.
std::string kindOf(mode_t mode) {
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    return "not a regular file";
}

}  // namespace

std::vector<VelkDirectory::Entry> VelkDirectory::listEntries(int* error, std::string* realPath,
                                                             std::vector<LeftOut>* leftOut) const {
    std::vector<Entry> found;
    errno = 0;
    DirHandle dir(systemPath);
    if (error != nullptr) *error = dir.get() == nullptr ? (errno != 0 ? errno : EIO) : 0;
    if (dir.get() == nullptr) return found;
    if (realPath != nullptr) *realPath = descriptorPath(::dirfd(dir.get()));
    const std::string prefix = entryPrefix();
    while (const dirent* entry = ::readdir(dir.get())) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (entry->d_type == DT_DIR || entry->d_type == DT_REG) {
            found.push_back({std::move(name), entry->d_type == DT_DIR, false});
            continue;
        }
        // Links and file systems that do not say: ask about the target.
        const std::string full = prefix + name;
        bool link = entry->d_type == DT_LNK;
        struct stat own;
        if (entry->d_type == DT_UNKNOWN && ::lstat(full.c_str(), &own) == 0) link = S_ISLNK(own.st_mode);
        struct stat info;
        if (::stat(full.c_str(), &info) != 0) {
            // Gone since it was read, unless a link that leads nowhere.
            if (leftOut != nullptr && link) leftOut->push_back({std::move(name), true, "", errno});
            continue;
        }
        if (!S_ISDIR(info.st_mode) && !S_ISREG(info.st_mode)) {
            if (leftOut != nullptr) leftOut->push_back({std::move(name), link, kindOf(info.st_mode), 0});
            continue;
        }
        found.push_back({std::move(name), S_ISDIR(info.st_mode), link});
    }
    std::sort(found.begin(), found.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });
    if (leftOut != nullptr)
        std::sort(leftOut->begin(), leftOut->end(),
                  [](const LeftOut& a, const LeftOut& b) { return a.name < b.name; });
    return found;
}

std::vector<std::string> VelkDirectory::entries(const std::string& pattern,
                                                bool includeDirectories, bool directoriesOnly,
                                                bool fullPaths) const {
    std::vector<std::string> names;
    const std::string prefix = fullPaths ? entryPrefix() : std::string();
    for (const Entry& entry : listEntries()) {
        if (!matchesWildcard(pattern, entry.name)) continue;
        const bool keep = directoriesOnly ? entry.isDirectory
                                          : !entry.isDirectory || includeDirectories;
        if (keep) names.push_back(prefix + entry.name);
    }
    return names;
}
