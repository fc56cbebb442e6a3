#include "VelkLib/VelkFile.h"

#include "VelkLib/VelkError.h"
#include "VelkLib/VelkThreadPool.h"

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <algorithm>
#include <atomic>
#include <map>
#include <system_error>
#include <thread>
#include <deque>
#include <dirent.h>
#include <random>
#include <signal.h>
#include <string_view>
#include <unordered_map>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

VelkFile::VelkFile(std::string fileName_) : fileName(std::move(fileName_)) {}

VelkFile::~VelkFile() = default;

// ---------------------------------------------------------------- input

VelkInFile::VelkInFile(const std::string& fileName_, bool binary_)
    : VelkFile(fileName_), binary(binary_) {
    struct stat info;
    if (::stat(fileName.c_str(), &info) != 0) {
        throw VelkFileError("Couldn't find the file", fileName);
    }
    // A directory opens as a stream here but every read of it fails, which
    // would leave callers' end-of-file loops waiting forever; a FIFO would
    // block the open, a device never end.
    if (!S_ISREG(info.st_mode)) throw VelkFileError("Couldn't open the file", fileName);
    errno = 0;
    stream.open(fileName, binary ? std::ios::in | std::ios::binary : std::ios::in);
    if (!stream.is_open()) {
        const int error = errno;
        throw VelkFileError("Couldn't open the file", fileName, error);
    }
}

VelkInFile::~VelkInFile() = default;

std::string VelkInFile::readLine() {
    std::string line;
    std::getline(stream, line);
    if (stream.eof()) return line;
    if (stream.fail()) {
        // A read error: end the file for the caller instead of returning
        // empty lines forever.
        stream.setstate(std::ios::eofbit);
        return line;
    }
    // The line ended at a line feed; text mode drops the carriage return
    // that a CR LF line end leaves behind.
    if (!binary && !line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

// ---------------------------------------------------------------- output

namespace {

int openForWriting(const std::string& fileName, bool append) {
    if (!append) return openFileAnew(fileName);
    // Extending a file: only a regular file, never through a link, and
    // never waiting on a FIFO.
    for (;;) {
        int fd = ::open(fileName.c_str(),
                        O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EINTR) continue;
        if (fd < 0) return fd;
        struct stat info;
        if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
            ::close(fd);
            return -1;
        }
        return fd;  // O_NONBLOCK changes nothing for a regular file
    }
}

}  // namespace

VelkOutFile::Buffer::Buffer(int fd_) : fd(fd_), space(new char[bufferSize]) {
    setp(space.get(), space.get() + bufferSize);
}

VelkOutFile::Buffer::~Buffer() {
    if (fd >= 0) closeFile();
}

bool VelkOutFile::Buffer::writeOut(const char* data, std::size_t size) {
    if (failed) return false;
    if (!writeAll(fd, data, size)) failed = true;
    return !failed;
}

bool VelkOutFile::Buffer::drain() {
    std::size_t pending = static_cast<std::size_t>(pptr() - pbase());
    // A failed file keeps nothing: later text is dropped like the stream's.
    setp(space.get(), space.get() + bufferSize);
    return pending == 0 || writeOut(space.get(), pending);
}

VelkOutFile::Buffer::int_type VelkOutFile::Buffer::overflow(int_type c) {
    if (fd < 0 || !drain()) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

std::streamsize VelkOutFile::Buffer::xsputn(const char* text, std::streamsize count) {
    if (count <= 0) return 0;
    std::size_t size = static_cast<std::size_t>(count);
    std::size_t room = static_cast<std::size_t>(epptr() - pptr());
    if (size <= room) {
        std::memcpy(pptr(), text, size);
        pbump(static_cast<int>(size));
        return count;
    }
    if (fd < 0 || !drain()) return 0;
    if (size >= bufferSize) return writeOut(text, size) ? count : 0;
    std::memcpy(pptr(), text, size);
    pbump(static_cast<int>(size));
    return count;
}

int VelkOutFile::Buffer::sync() { return fd >= 0 && drain() ? 0 : -1; }

bool VelkOutFile::Buffer::closeFile() {
    bool ok = drain();
    ok = ::close(fd) == 0 && ok;
    fd = -1;
    return ok;
}

VelkOutFile::VelkOutFile(const std::string& fileName_, bool binary_, bool append)
    : VelkFile(fileName_), buffer(openForWriting(fileName, append)), stream(&buffer), binary(binary_) {
    if (!buffer.isOpen()) throw VelkFileError("Couldn't open the output file", fileName);
}

VelkOutFile::VelkOutFile(const std::string& fileName_, StagedFiles* staged)
    : VelkFile(fileName_),
      buffer(staged != nullptr ? staged->create(fileName) : openFileAnew(fileName)),
      stream(&buffer),
      binary(false) {
    if (!buffer.isOpen()) throw VelkFileError("Couldn't open the output file", fileName);
}

VelkOutFile::~VelkOutFile() = default;

std::ostream& VelkOutFile::write(const std::string& text) {
    stream << text;
    return stream;
}

void VelkOutFile::appendFile(const std::string& otherFileName) {
    // Reading a file while appending to it would never reach its end.
    std::optional<VelkFileId> other = fileIdentity(otherFileName);
    if (other && other == fileIdentity(fileName)) {
        throw VelkFileError("Could not append a file to itself", otherFileName);
    }
    VelkInFile in(otherFileName, binary);
    std::istream& source = in.getStream();
    char block[4096];
    while (!source.eof()) {
        source.read(block, sizeof block);
        std::streamsize count = source.gcount();
        if (count > 0) stream.write(block, count);
        if (source.bad() || (source.fail() && !source.eof())) {
            throw VelkFileError("Could not read the file", otherFileName);
        }
    }
}

void VelkOutFile::close() {
    if (!buffer.isOpen()) return;
    bool ok = !stream.fail();
    ok = buffer.closeFile() && ok;
    if (!ok) throw VelkFileError("Could not write the file", fileName);
}

// ---------------------------------------------------------------- free functions

std::optional<VelkFileId> fileIdentity(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return VelkFileId{static_cast<std::uint64_t>(info.st_dev),
                      static_cast<std::uint64_t>(info.st_ino)};
}

bool fileExists(const std::string& fileName) {
    struct stat info;
    return ::stat(fileName.c_str(), &info) == 0;
}

FileDescriptor::~FileDescriptor() {
    if (fd >= 0) ::close(fd);
}

bool FileDescriptor::close() {
    int result = ::close(fd);
    fd = -1;
    return result == 0;
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

void InputRoots::add(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) return;
    roots.emplace_back(resolved);
    std::free(resolved);
    found = std::make_shared<Found>();
}

bool InputRoots::contains(const std::string& realPath) const {
    for (const std::string& root : roots) {
        if (realPath.compare(0, root.size(), root) != 0) continue;
        if (realPath.size() == root.size() || root == "/" || realPath[root.size()] == '/')
            return true;
    }
    return false;
}

struct InputRoots::Found {
    // Sources are read in walk order, the parse of a file and its listing
    // a few directories apart, so the last few dozen directories serve
    // nearly every read, from every thread.
    static constexpr std::size_t kKept = 64;
    std::mutex lock;
    std::unordered_map<std::string, std::shared_ptr<const FileDescriptor>> directories;
    std::deque<std::string> order;  // oldest first
};

int InputRoots::openInside(const std::string& fileName) const {
    const std::size_t slash = fileName.rfind('/');
    if (found == nullptr || slash == std::string::npos) return -1;
    const std::string name = fileName.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") return -1;
    const std::string directory = fileName.substr(0, slash == 0 ? 1 : slash);
    std::shared_ptr<const FileDescriptor> opened;
    {
        std::lock_guard<std::mutex> hold(found->lock);
        auto known = found->directories.find(directory);
        if (known != found->directories.end()) opened = known->second;
    }
    if (opened == nullptr) {
        auto fresh = std::make_shared<FileDescriptor>(
            ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (fresh->get() < 0 || !contains(descriptorPath(fresh->get()))) return -1;
        opened = fresh;
        std::lock_guard<std::mutex> hold(found->lock);
        // A thread that found it meanwhile has kept its own.
        if (found->directories.emplace(directory, opened).second) {
            found->order.push_back(directory);
            if (found->order.size() > Found::kKept) {
                found->directories.erase(found->order.front());
                found->order.pop_front();
            }
        }
    }
    // No link is followed here: a link is for the caller's check.
    return ::openat(opened->get(), name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
}

std::string descriptorPath(int fd) {
    // Every source file read asks this: the link's name is written by hand
    // and the path read on the stack, with no formatting and no zeroed
    // buffer of PATH_MAX on the heap.
    static constexpr char prefix[] = "/proc/self/fd/";
    char link[sizeof prefix + 16];
    std::memcpy(link, prefix, sizeof prefix - 1);
    const auto written = std::to_chars(link + sizeof prefix - 1, link + sizeof link - 1, fd);
    if (written.ec != std::errc()) return "";
    *written.ptr = '\0';
    char path[PATH_MAX];
    const ssize_t length = ::readlink(link, path, sizeof path);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof path) return "";
    return std::string(path, static_cast<std::size_t>(length));
}

namespace {

// Opens a file to be read whole, without blocking: opening a FIFO for
// reading would wait for a writer. Throws the open errors of readWholeFile.
int openToRead(const std::string& fileName, int extraFlags) {
    int fd = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | extraFlags);
    if (fd >= 0) return fd;
    const int error = errno;
    struct stat info;
    // Only a name that does not exist is "not found"; one that exists but
    // refuses to open (no permission) is not, and says why.
    if (::lstat(fileName.c_str(), &info) != 0) throw VelkFileError("Couldn't find the file", fileName);
    if (error == ELOOP && (extraFlags & O_NOFOLLOW) != 0)
        throw VelkFileError("A symbolic link leads outside the listed files and directories", fileName);
    throw VelkFileError("Couldn't open the file", fileName, error);
}

// Reads what the descriptor holds, checked on the descriptor itself: a
// regular file of at most limit bytes, inside roots when they are given;
// with cut set, the first limit bytes of a larger one.
std::string readOpened(const FileDescriptor& file, const std::string& fileName, std::size_t limit,
                       const InputRoots* roots, bool cut = false) {
    struct stat info;
    if (::fstat(file.get(), &info) != 0 || S_ISDIR(info.st_mode))
        throw VelkFileError("Couldn't open the file", fileName);
    if (!S_ISREG(info.st_mode)) throw VelkFileError("Not a regular file", fileName);
    const auto tooLarge = [&] {
        return VelkFileError("The file is larger than " + std::to_string(limit >> 20) + " MB",
                             fileName);
    };
    if (static_cast<std::uint64_t>(info.st_size) > limit) {
        if (!cut) throw tooLarge();
        info.st_size = static_cast<off_t>(limit);
    }
    // The file opened, not the name: a link or folder swapped in since the
    // name was found cannot lead the read elsewhere.
    if (roots != nullptr && !roots->contains(descriptorPath(file.get())))
        throw VelkFileError("The file lies outside the listed files and directories", fileName);
    // O_NONBLOCK stays: it changes nothing for a regular file, and two
    // system calls per file read are not free on a large tree.
    // A file is read up to the size it reports; one whose size says
    // nothing (a /proc file) is read in growing steps to its end.
    const bool sized = info.st_size > 0;
    std::string text;
    std::size_t size = 0;
    text.resize(sized ? static_cast<std::size_t>(info.st_size) : 4096);
    for (;;) {
        if (size == text.size()) {
            if (sized) break;
            if (text.size() > limit) {
                if (cut) break;
                throw tooLarge();
            }
            text.resize(text.size() * 2);
        }
        ssize_t got = ::read(file.get(), text.data() + size, text.size() - size);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw VelkFileError("Could not read the file", fileName);
        }
        if (got == 0) break;
        size += static_cast<std::size_t>(got);
    }
    if (size > limit) {
        if (!cut) throw tooLarge();
        size = limit;
    }
    text.resize(size);
    return text;
}

}  // namespace

std::string readWholeFile(const std::string& fileName, std::size_t limit, const InputRoots* roots) {
    if (roots != nullptr) {
        // Looking up the path of every file read is not free: a file in a
        // directory already found inside is opened there instead.
        FileDescriptor inside(roots->openInside(fileName));
        if (inside.get() >= 0) return readOpened(inside, fileName, limit, nullptr);
    }
    FileDescriptor file(openToRead(fileName, 0));
    return readOpened(file, fileName, limit, roots);
}

std::string readFileStart(const std::string& fileName, std::size_t bytes, const InputRoots* roots) {
    if (roots != nullptr) {
        FileDescriptor inside(roots->openInside(fileName));
        if (inside.get() >= 0) return readOpened(inside, fileName, bytes, nullptr, true);
    }
    FileDescriptor file(openToRead(fileName, 0));
    return readOpened(file, fileName, bytes, roots, true);
}

std::string readFileFoundBeside(const std::string& fileName, std::size_t limit,
                                const InputRoots& roots) {
    struct stat info;
    if (::lstat(fileName.c_str(), &info) != 0) throw VelkFileError("Couldn't find the file", fileName);
    if (!S_ISLNK(info.st_mode)) {
        // The very file at the name: a link swapped in meanwhile is refused.
        FileDescriptor file(openToRead(fileName, O_NOFOLLOW));
        return readOpened(file, fileName, limit, nullptr);
    }
    char* resolved = ::realpath(fileName.c_str(), nullptr);
    const bool inside = resolved != nullptr && roots.contains(resolved);
    std::free(resolved);
    if (!inside)
        throw VelkFileError("A symbolic link leads outside the listed files and directories", fileName);
    FileDescriptor file(openToRead(fileName, 0));
    return readOpened(file, fileName, limit, &roots);
}

int openFileAnew(const std::string& fileName) {
    const char* name = fileName.c_str();
    // A few rounds at most: each one removes what stood in the way, and
    // only somebody racing the run puts something back.
    for (int round = 0; round < 8; ++round) {
        int fd = ::open(name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno == EINTR) {
            if (fd >= 0) return fd;
            continue;
        }
        if (errno != EEXIST) return -1;
        struct stat info;
        if (::lstat(name, &info) != 0) continue;  // gone again: create it
        if (S_ISDIR(info.st_mode)) {
            errno = EISDIR;
            return -1;
        }
        const bool lone = S_ISREG(info.st_mode) && info.st_nlink == 1;
        if (lone || S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) {
            // A device is written as it stands: it is no file of the site
            // to replace, and removing one would break the system.
            fd = ::open(name, O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | (lone ? O_TRUNC : 0));
            if (fd < 0) {
                if (errno == ELOOP || errno == ENOENT || errno == ENXIO || errno == EINTR) continue;
                return -1;
            }
            struct stat opened;
            if (::fstat(fd, &opened) == 0 && (opened.st_mode & S_IFMT) == (info.st_mode & S_IFMT) &&
                (!lone || opened.st_nlink == 1)) {
                // A device may make writes wait; a regular file never does.
                if (!lone) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
                return fd;
            }
            ::close(fd);  // replaced meanwhile: look again
            continue;
        }
        // A link, FIFO or socket, or a file with other names: the name
        // alone goes, whatever it led to stays as it was.
        if (::unlink(name) != 0 && errno != ENOENT) return -1;
    }
    errno = EEXIST;
    return -1;
}

void deleteFile(const std::string& fileName, bool ignoreErrors) {
    if (::unlink(fileName.c_str()) != 0 && !ignoreErrors) {
        throw VelkFileError("Could not delete the file", fileName);
    }
}

namespace {

bool copyContent(int from, int to) {
    std::vector<char> buffer(1 << 16);
    for (;;) {
        ssize_t count = ::read(from, buffer.data(), buffer.size());
        if (count < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (count == 0) return true;
        if (!writeAll(to, buffer.data(), static_cast<size_t>(count))) return false;
    }
}

// Where the copy lands: a link to a file is written through, like the
// system copy that this replaces, instead of being replaced by a file.
std::string copyTarget(const std::string& to) {
    struct stat info;
    if (::lstat(to.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        char* resolved = ::realpath(to.c_str(), nullptr);
        if (resolved != nullptr) {
            std::string target(resolved);
            std::free(resolved);
            return target;
        }
    }
    return to;
}

// Writes a new file beside target through fill (false: it failed) and
// renames it over target; on any failure the new file is removed and the
// error of openFailed (no new file) or writeFailed (the rest) is thrown.
template <class Fill, class OpenError, class WriteError>
void replaceThroughTemporary(const std::string& target, unsigned mode, Fill fill,
                             OpenError openFailed, WriteError writeFailed) {
    std::string temporary = target + ".XXXXXX";
    FileDescriptor out(::mkstemp(temporary.data()));
    if (out.get() < 0) throw openFailed();
    bool ok = ::fchmod(out.get(), static_cast<mode_t>(mode)) == 0 && fill(out.get());
    ok = out.close() && ok;
    if (!ok || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        throw writeFailed();
    }
}

}  // namespace

void copyFile(const std::string& from, const std::string& to) {
    auto fail = [&]() { return VelkFileError("Could not copy to file " + to, from); };

    FileDescriptor source(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat sourceInfo;
    if (source.get() < 0 || ::fstat(source.get(), &sourceInfo) != 0 ||
        !S_ISREG(sourceInfo.st_mode)) {
        throw fail();
    }
    const std::string target = copyTarget(to);
    struct stat targetInfo;
    if (::stat(target.c_str(), &targetInfo) == 0 && targetInfo.st_dev == sourceInfo.st_dev &&
        targetInfo.st_ino == sourceInfo.st_ino) {
        return;  // already the same file; truncating it would destroy it
    }

    replaceThroughTemporary(target, sourceInfo.st_mode & 0777,
                            [&](int fd) { return copyContent(source.get(), fd); }, fail, fail);
}

void writeFileReplacing(const std::string& fileName, const std::string& content, unsigned mode) {
    replaceThroughTemporary(
        copyTarget(fileName), mode & 07777,
        [&](int fd) { return writeAll(fd, content.data(), content.size()); },
        [&]() { return VelkFileError("Couldn't open the output file", fileName); },
        [&]() { return VelkFileError("Could not write the file", fileName); });
}

// ---------------------------------------------------------------- staged files

namespace {

constexpr std::string_view kStagedPrefix = ".vantry-";

// A temporary's directory as the system reads the name: "" for the
// current one.
std::string directoryPart(const std::string& fileName) {
    const std::size_t slash = fileName.rfind('/');
    return slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
}

// Writes the temporary's content into the device at its place, as a page
// written anew writes a device (never removed); the temporary goes.
bool writeThroughDevice(const std::string& temporary, const std::string& place) {
    FileDescriptor from(::open(temporary.c_str(), O_RDONLY | O_CLOEXEC));
    FileDescriptor to(::open(place.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info;
    bool ok = from.get() >= 0 && to.get() >= 0 && ::fstat(to.get(), &info) == 0 &&
              (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode));
    if (ok) {
        ::fcntl(to.get(), F_SETFL, ::fcntl(to.get(), F_GETFL) & ~O_NONBLOCK);
        ok = copyContent(from.get(), to.get());
    }
    ok = to.close() && ok;
    ::unlink(temporary.c_str());
    return ok;
}

int exchangeNames(const char* a, const char* b) {
    return ::renameat2(AT_FDCWD, a, AT_FDCWD, b, RENAME_EXCHANGE);
}
int renameNoReplace(const char* from, const char* to) {
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}
int renameOver(const char* from, const char* to) { return ::rename(from, to); }
int linkName(const char* from, const char* to) { return ::link(from, to); }

// Whether the process that named a temporary has ended: then nothing will
// ever move the temporary in. A process alive, or one this one may not
// signal, has not; one killed whose parent has not yet collected it (a
// zombie) has.
bool processEnded(long process) {
    if (::kill(static_cast<pid_t>(process), 0) != 0) return errno == ESRCH;
    std::ifstream stat("/proc/" + std::to_string(process) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return false;
    // "pid (name) state ...": the name may hold blanks and parentheses.
    const std::size_t close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() &&
           (line[close + 2] == 'Z' || line[close + 2] == 'X');
}

// Runs work(i) for every entry, the entries of one directory in order on
// one thread, the directories on up to configuredThreadCount() threads (at
// most 8), the largest first so that no thread is left with a large one at
// the end. Renames within one directory wait for each other anyway, while
// freeing an old file takes a while on a journalling file system. work
// returns false to end the whole walk early.
template <class Work>
void forEachByDirectory(const std::vector<std::size_t>& indexes,
                        const std::vector<std::string_view>& places, Work work) {
    std::map<std::string_view, std::vector<std::size_t>> byDirectory;
    for (std::size_t i : indexes) {
        const std::string_view place = places[i];
        const std::size_t slash = place.rfind('/');
        byDirectory[slash == std::string_view::npos ? std::string_view() : place.substr(0, slash + 1)]
            .push_back(i);
    }
    std::vector<const std::vector<std::size_t>*> groups;
    for (const auto& [directory, members] : byDirectory) groups.push_back(&members);
    std::stable_sort(groups.begin(), groups.end(),
                     [](const auto* a, const auto* b) { return a->size() > b->size(); });
    std::atomic<std::size_t> nextGroup{0};
    std::atomic<bool> ended{false};
    auto run = [&]() noexcept {
        for (std::size_t g = nextGroup++; g < groups.size() && !ended; g = nextGroup++)
            for (std::size_t i : *groups[g])
                if (ended || !work(i)) {
                    ended = true;
                    return;
                }
    };
    const std::size_t threads = std::min<std::size_t>(configuredThreadCount(), 8);
    std::vector<std::thread> helpers;
    for (std::size_t t = 1; t < std::min(threads, groups.size()); ++t) {
        try {
            helpers.emplace_back(run);
        } catch (const std::exception&) {
            break;  // fewer threads do the same
        }
    }
    run();
    for (std::thread& helper : helpers) helper.join();
}

// The first of several failures, in the order the files were made.
class FirstFailure {
public:
    void note(std::size_t index, int error) {
        std::lock_guard<std::mutex> hold(lock);
        if (index >= first) return;
        first = index;
        code = error;
    }
    bool any() const { return first != SIZE_MAX; }
    std::size_t index() const { return first; }
    int error() const { return code; }

private:
    std::mutex lock;
    std::size_t first = SIZE_MAX;
    int code = 0;
};

}  // namespace

IncompleteSiteError::~IncompleteSiteError() = default;

const StagedFiles::Moves StagedFiles::systemMoves{exchangeNames, renameNoReplace, renameOver, linkName};

std::optional<long> stagedFileProcess(const std::string& name) {
    // ".vantry-" digits "-" 8 hexadecimal digits "-" digits
    if (name.compare(0, kStagedPrefix.size(), kStagedPrefix) != 0) return std::nullopt;
    std::size_t at = kStagedPrefix.size();
    auto run = [&](auto accepts) {
        const std::size_t start = at;
        while (at < name.size() && accepts(name[at])) ++at;
        return at - start;
    };
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    auto hex = [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); };
    const std::size_t pidStart = at;
    const std::size_t pidDigits = run(digit);
    if (pidDigits == 0 || pidDigits > 9 || at >= name.size() || name[at++] != '-') return std::nullopt;
    if (run(hex) != 8 || at >= name.size() || name[at++] != '-') return std::nullopt;
    if (run(digit) == 0 || at != name.size()) return std::nullopt;
    return std::stol(name.substr(pidStart, pidDigits));
}

void removeEndedTemporaries(const std::string& root, const std::function<bool()>& stop) {
    try {
        struct stat top;
        if (::lstat(root.empty() ? "." : root.c_str(), &top) != 0 || !S_ISDIR(top.st_mode)) return;
        const long self = static_cast<long>(::getpid());
        std::map<long, bool> ended;  // one question per process, however many files it left
        std::vector<std::string> pending{root.empty() ? std::string(".") : root};
        while (!pending.empty()) {
            if (stop && stop()) return;
            const std::string directory = std::move(pending.back());
            pending.pop_back();
            DIR* dir = ::opendir(directory.c_str());
            if (dir == nullptr) continue;
            while (const dirent* entry = ::readdir(dir)) {
                const std::string_view name(entry->d_name);
                if (name == "." || name == "..") continue;
                unsigned char type = entry->d_type;
                struct stat info;
                const bool known = type != DT_UNKNOWN && type != DT_DIR;
                if (!known) {
                    if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
                    type = S_ISDIR(info.st_mode) ? DT_DIR : DT_REG;
                }
                if (type == DT_DIR) {
                    if (info.st_dev == top.st_dev) pending.push_back(directory + "/" + entry->d_name);
                    continue;
                }
                if (name.substr(0, kStagedPrefix.size()) != kStagedPrefix) continue;
                const std::optional<long> process = stagedFileProcess(entry->d_name);
                if (!process || *process == self) continue;
                auto [at, fresh] = ended.try_emplace(*process, false);
                if (fresh) at->second = processEnded(*process);
                if (at->second) ::unlinkat(::dirfd(dir), entry->d_name, 0);
            }
            ::closedir(dir);
        }
    } catch (const std::exception&) {
        // Out of memory: what is left stays for the next run.
    }
}

bool markSiteIncomplete(const std::string& indexFile, const std::string& reason) noexcept {
    try {
        std::string shown;
        for (char c : reason) {
            switch (c) {
                case '<': shown += "&lt;"; break;
                case '>': shown += "&gt;"; break;
                case '&': shown += "&amp;"; break;
                case '"': shown += "&quot;"; break;
                default: shown += c;
            }
        }
        const std::string page =
            "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\n<HTML>\n<HEAD>\n"
            "<TITLE>Incomplete site</TITLE>\n</HEAD>\n<BODY>\n<H1>This site is incomplete</H1>\n"
            "<P>Its last run could not put all of its new pages in place, nor put every earlier "
            "page back: some pages are new, some are of the run before.</P>\n<P>" +
            shown + "</P>\n<P>Run Vantry again to write the whole site.</P>\n</BODY>\n</HTML>\n";
        std::string temporary = directoryPart(indexFile) + ".vantry-notice-XXXXXX";
        FileDescriptor file(::mkstemp(temporary.data()));
        if (file.get() < 0) return false;
        const bool written = writeAll(file.get(), page.data(), page.size()) &&
                             ::fchmod(file.get(), 0644) == 0 && file.close() &&
                             ::rename(temporary.c_str(), indexFile.c_str()) == 0;
        if (!written) ::unlink(temporary.c_str());
        return written;
    } catch (const std::exception&) {
        return false;
    }
}

StagedFiles::StagedFiles() {
    char tag[9];
    std::snprintf(tag, sizeof tag, "%08x", static_cast<unsigned>(std::random_device()()));
    prefix = std::string(kStagedPrefix) + std::to_string(::getpid()) + "-" + tag + "-";
}

StagedFiles::~StagedFiles() {
    try {
        rollBack();
    } catch (const std::exception&) {
        // Whoever moved the files in and neither committed nor rolled back
        // learns nothing more here.
    }
    discard();
}

std::string StagedFiles::newTemporaryName(const std::string& directory) {
    std::lock_guard<std::mutex> hold(lock);
    return directory + prefix + std::to_string(next++);
}

int StagedFiles::create(const std::string& fileName) {
    const std::string directory = directoryPart(fileName);
    // A name taken (by a file somebody put there) costs one more round.
    for (int round = 0; round < 16; ++round) {
        std::string temporary = newTemporaryName(directory);
        const int fd = ::open(temporary.c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST || errno == EINTR) continue;
            return -1;
        }
        std::lock_guard<std::mutex> hold(lock);
        Entry entry;
        entry.temporary = std::move(temporary);
        entry.place = fileName;
        files.push_back(std::move(entry));
        checked = false;
        return fd;
    }
    errno = EEXIST;
    return -1;
}

void StagedFiles::madeDirectory(const std::string& path) {
    std::lock_guard<std::mutex> hold(lock);
    directories.push_back(path);
}

bool StagedFiles::renamePlace(const std::string& from, const std::string& to) {
    if (directoryPart(from) != directoryPart(to)) throw VelkFileError("Could not write the file", to);
    std::lock_guard<std::mutex> hold(lock);
    bool found = false;
    for (Entry& entry : files) {
        if (entry.place != from) continue;
        entry.place = to;
        found = true;
    }
    if (found) checked = false;
    return found;
}

void StagedFiles::checkPlaces() {
    std::lock_guard<std::mutex> hold(lock);
    // One read of each directory tells what stands at all its names for a
    // fraction of a look at each name.
    std::map<std::string, std::unordered_map<std::string_view, std::vector<Entry*>>> byDirectory;
    for (Entry& entry : files) {
        entry.device = false;
        entry.occupied = false;
        const std::string directory = directoryPart(entry.place);
        byDirectory[directory][std::string_view(entry.place).substr(directory.size())].push_back(&entry);
    }
    // A directory stands there (0), or the name cannot be (ENAMETOOLONG).
    std::vector<std::pair<const Entry*, int>> unfit;
    auto found = [&](Entry& entry, mode_t type) {
        entry.occupied = true;
        entry.device = S_ISCHR(type) || S_ISBLK(type);
        if (S_ISDIR(type)) unfit.emplace_back(&entry, 0);
    };
    // A name the file system cannot hold fails the move half-way: found
    // here, it fails the site before anything moves.
    auto tooLong = [&](const std::string_view name, const std::vector<Entry*>& entries, long nameMax) {
        if (name.size() <= static_cast<std::size_t>(nameMax) && entries.front()->place.size() < PATH_MAX)
            return false;
        for (Entry* entry : entries) unfit.emplace_back(entry, ENAMETOOLONG);
        return true;
    };
    for (auto& [directory, names] : byDirectory) {
        DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
        long nameMax = dir != nullptr ? ::fpathconf(::dirfd(dir), _PC_NAME_MAX) : -1;
        if (nameMax <= 0) nameMax = NAME_MAX;
        if (dir == nullptr) {
            // Not readable (or gone): a look at each name instead.
            for (auto& [name, entries] : names) {
                if (tooLong(name, entries, nameMax)) continue;
                struct stat info;
                if (::lstat(entries.front()->place.c_str(), &info) != 0) continue;
                for (Entry* entry : entries) found(*entry, info.st_mode);
            }
            continue;
        }
        for (auto& [name, entries] : names) tooLong(name, entries, nameMax);
        while (const dirent* item = ::readdir(dir)) {
            const auto at = names.find(std::string_view(item->d_name));
            if (at == names.end()) continue;
            mode_t type = DTTOIF(item->d_type);
            if (item->d_type == DT_UNKNOWN) {
                struct stat info;
                if (::fstatat(::dirfd(dir), item->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
                type = info.st_mode;
            }
            for (Entry* entry : at->second) found(*entry, type);
        }
        ::closedir(dir);
    }
    if (!unfit.empty()) {
        const auto [first, error] = *std::min_element(unfit.begin(), unfit.end());
        if (error != 0) throw VelkFileError("Couldn't open the output file", first->place, error);
        throw VelkFileError("Couldn't open the output file", first->place);
    }
    checked = true;
}

// Puts one file at its place, keeping what stood there.
bool StagedFiles::place(Entry& entry) {
    const char* temporary = entry.temporary.c_str();
    const char* at = entry.place.c_str();
    if (entry.device) {
        if (!writeThroughDevice(entry.temporary, entry.place)) return false;
        entry.placed = Placed::Device;
        return true;
    }
    if (!entry.occupied) {
        if (moves.renameNoReplace(temporary, at) == 0) {
            entry.placed = Placed::New;
            return true;
        }
        // Something came to stand there since the check, or the file
        // system has no such rename: as a place that is taken, unless a
        // directory came, which stays whole.
        if (errno != EEXIST && errno != EINVAL) return false;
        struct stat info;
        if (errno == EEXIST && ::lstat(at, &info) == 0 && S_ISDIR(info.st_mode)) {
            errno = EISDIR;
            return false;
        }
    }
    // The names swapped, the name holds the old file or the new one at every
    // moment, and the old one waits under the temporary name.
    if (moves.exchange(temporary, at) == 0) {
        entry.placed = Placed::Swapped;
        return true;
    }
    if (errno != EINVAL && errno != ENOENT) return false;
    // No swapping here: the old file keeps a second name while the new one
    // is renamed over it.
    std::string backup = newTemporaryName(directoryPart(entry.place));
    if (moves.link(at, backup.c_str()) == 0) {
        if (moves.rename(temporary, at) == 0) {
            entry.placed = Placed::Linked;
            entry.backup = std::move(backup);
            return true;
        }
        const int error = errno;
        ::unlink(backup.c_str());
        errno = error;
        return false;
    }
    const bool nothingThere = errno == ENOENT;
    if (moves.rename(temporary, at) != 0) return false;
    // Without a second name on this file system the old file is gone.
    entry.placed = nothingThere ? Placed::New : Placed::Replaced;
    return true;
}

void StagedFiles::putBack(std::vector<Entry>& entries, std::vector<std::string>& made) {
    std::optional<std::size_t> failed;
    int error = 0;
    // Latest first, the reverse of the order they moved in.
    for (std::size_t n = entries.size(); n-- > 0;) {
        Entry& entry = entries[n];
        const char* at = entry.place.c_str();
        bool ok = true;
        switch (entry.placed) {
            case Placed::No: ::unlink(entry.temporary.c_str()); break;
            case Placed::Device: break;  // what went into a device stays there
            case Placed::New: ok = ::unlink(at) == 0 || errno == ENOENT; break;
            case Placed::Swapped:
                ok = moves.exchange(entry.temporary.c_str(), at) == 0;
                if (ok) ::unlink(entry.temporary.c_str());
                break;
            case Placed::Linked: ok = moves.rename(entry.backup.c_str(), at) == 0; break;
            case Placed::Replaced: ok = false; errno = ENOENT; break;
        }
        if (ok) {
            entry.placed = Placed::No;
            continue;
        }
        failed = n;
        error = errno;
    }
    std::sort(made.begin(), made.end(),
              [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    for (const std::string& directory : made) ::rmdir(directory.c_str());
    if (failed)
        throw IncompleteSiteError("Could not put the earlier file back", entries[*failed].place, error);
}

bool StagedFiles::moveIn(const std::function<bool()>& stop) {
    if (!checked) checkPlaces();
    std::vector<Entry> moving;
    std::vector<std::string> made;
    {
        std::lock_guard<std::mutex> hold(lock);
        moving.swap(files);
        made = directories;
        checked = false;
    }
    std::vector<std::size_t> latestOfEach;
    std::vector<std::string_view> places;
    try {
        // The later file of a name wins; the earlier ones go.
        std::unordered_map<std::string_view, std::size_t> latest;
        for (std::size_t i = 0; i < moving.size(); ++i) latest[moving[i].place] = i;
        places.reserve(moving.size());
        for (std::size_t i = 0; i < moving.size(); ++i) {
            places.push_back(moving[i].place);
            if (latest[moving[i].place] == i) latestOfEach.push_back(i);
        }
    } catch (...) {
        // Nothing moved yet: the files wait again, for discard() at the latest.
        std::lock_guard<std::mutex> hold(lock);
        for (Entry& entry : files) moving.push_back(std::move(entry));
        files.swap(moving);
        throw;
    }
    std::vector<bool> kept(moving.size());
    for (std::size_t i : latestOfEach) kept[i] = true;
    for (std::size_t i = 0; i < moving.size(); ++i)
        if (!kept[i]) ::unlink(moving[i].temporary.c_str());

    FirstFailure failure;
    std::atomic<bool> stopped{false};
    forEachByDirectory(latestOfEach, places, [&](std::size_t i) {
        if (stop && stop()) {
            stopped = true;
            return false;
        }
        // After a failure the others still move (to be put back), so that
        // the first failure in the order made is the one named.
        if (!place(moving[i])) failure.note(i, errno);
        return true;
    });
    std::vector<Entry> placed;
    placed.reserve(latestOfEach.size());
    for (std::size_t i : latestOfEach) placed.push_back(std::move(moving[i]));
    if (failure.any() || stopped) {
        {
            std::lock_guard<std::mutex> hold(lock);
            directories.clear();
        }
        putBack(placed, made);
        if (failure.any())
            throw VelkFileError("Could not write the file", std::string(places[failure.index()]),
                                failure.error());
        return false;
    }
    std::lock_guard<std::mutex> hold(lock);
    placedFiles = std::move(placed);
    return true;
}

void StagedFiles::commit() {
    std::vector<Entry> done;
    {
        std::lock_guard<std::mutex> hold(lock);
        done.swap(placedFiles);
        directories.clear();
    }
    std::vector<std::size_t> all(done.size());
    std::vector<std::string_view> places;
    places.reserve(done.size());
    for (std::size_t i = 0; i < done.size(); ++i) {
        all[i] = i;
        places.push_back(done[i].place);
    }
    FirstFailure failure;
    forEachByDirectory(all, places, [&](std::size_t i) {
        Entry& entry = done[i];
        if (entry.placed == Placed::Linked) ::unlink(entry.backup.c_str());
        if (entry.placed != Placed::Swapped) return true;
        if (::unlink(entry.temporary.c_str()) == 0 || errno != EISDIR) return true;
        // A directory came to stand at the place while the files moved in:
        // it goes back there whole, and the page is missing.
        moves.exchange(entry.temporary.c_str(), entry.place.c_str());
        ::unlink(entry.temporary.c_str());
        failure.note(i, EISDIR);
        return true;
    });
    if (failure.any())
        throw VelkFileError("Could not write the file", done[failure.index()].place, EISDIR);
}

void StagedFiles::rollBack() {
    std::vector<Entry> done;
    std::vector<std::string> made;
    {
        std::lock_guard<std::mutex> hold(lock);
        done.swap(placedFiles);
        if (done.empty()) return;
        made.swap(directories);
    }
    putBack(done, made);
}

void StagedFiles::discard() noexcept {
    std::vector<Entry> dropping;
    std::vector<std::string> made;
    {
        std::lock_guard<std::mutex> hold(lock);
        dropping.swap(files);
        made.swap(directories);
        checked = false;
    }
    for (const Entry& entry : dropping) ::unlink(entry.temporary.c_str());
    // The deepest first, so that a parent is empty when its turn comes; a
    // directory that holds anything else stays.
    std::sort(made.begin(), made.end(),
              [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    for (const std::string& directory : made) ::rmdir(directory.c_str());
}

std::size_t StagedFiles::size() const {
    std::lock_guard<std::mutex> hold(lock);
    return files.size();
}

void normaliseLineEnds(std::string& text) {
    char* const bytes = text.data();
    const std::size_t size = text.size();
    const void* found = size == 0 ? nullptr : std::memchr(bytes, '\r', size);
    if (found == nullptr) return;
    std::size_t to = static_cast<std::size_t>(static_cast<const char*>(found) - bytes);
    for (std::size_t from = to; from < size; ++from) {
        if (bytes[from] != '\r') {
            bytes[to++] = bytes[from];
        } else if (from + 1 >= size || bytes[from + 1] != '\n') {
            bytes[to++] = '\n';
        }
    }
    text.resize(to);
}

namespace {

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = 0xFFFD;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

bool decodeByteOrderMark(std::string& text) {
    auto byte = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(text[i])); };
    int width = 0;
    bool little = false;
    if (text.size() >= 4 && byte(0) == 0xFF && byte(1) == 0xFE && byte(2) == 0 && byte(3) == 0) {
        width = 4, little = true;
    } else if (text.size() >= 4 && byte(0) == 0 && byte(1) == 0 && byte(2) == 0xFE && byte(3) == 0xFF) {
        width = 4;
    } else if (text.size() >= 2 && byte(0) == 0xFF && byte(1) == 0xFE) {
        width = 2, little = true;
    } else if (text.size() >= 2 && byte(0) == 0xFE && byte(1) == 0xFF) {
        width = 2;
    } else {
        return false;
    }
    auto unit = [&](std::size_t i) {
        std::uint32_t value = 0;
        for (int k = 0; k < width; ++k) {
            const int shift = little ? 8 * k : 8 * (width - 1 - k);
            value |= byte(i + static_cast<std::size_t>(k)) << shift;
        }
        return value;
    };
    std::string out;
    out.reserve(text.size());
    const std::size_t w = static_cast<std::size_t>(width);
    std::size_t i = w;
    for (; i + w <= text.size(); i += w) {
        std::uint32_t code = unit(i);
        if (width == 2 && code >= 0xD800 && code <= 0xDBFF && i + 2 * w <= text.size()) {
            const std::uint32_t low = unit(i + w);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                i += w;
            }
        }
        appendUtf8(out, code);
    }
    if (i < text.size()) appendUtf8(out, 0xFFFD);
    text = std::move(out);
    return true;
}
