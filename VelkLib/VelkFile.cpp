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

// Puts the temporary at its place in one step, so that the name always
// holds the old file or the new one. The names are swapped and the old
// file removed after: a rename over the old file costs several times more
// on ext4, which makes the new file's blocks at once. A directory that
// came to stand at the place since it was checked is swapped back, never
// removed.
bool replaceAtPlace(const std::string& temporary, const std::string& place) {
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, place.c_str(), RENAME_EXCHANGE) != 0)
        return ::rename(temporary.c_str(), place.c_str()) == 0;  // nothing there, or no swapping here
    if (::unlink(temporary.c_str()) == 0 || errno != EISDIR) return true;  // else the next run removes it
    ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, place.c_str(), RENAME_EXCHANGE);
    return false;
}

// Removes the temporaries of processes that have ended from the directory
// ("" the current one): they can never be moved in.
void removeLeftTemporaries(const std::string& directory) {
    DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
    if (dir == nullptr) return;
    const long self = static_cast<long>(::getpid());
    while (const dirent* entry = ::readdir(dir)) {
        const std::optional<long> process = stagedFileProcess(entry->d_name);
        if (!process || *process == self) continue;
        // Alive, or somebody else's that this one may not signal: kept.
        if (::kill(static_cast<pid_t>(*process), 0) == 0 || errno != ESRCH) continue;
        ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

}  // namespace

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

StagedFiles::StagedFiles() {
    char tag[9];
    std::snprintf(tag, sizeof tag, "%08x", static_cast<unsigned>(std::random_device()()));
    prefix = std::string(kStagedPrefix) + std::to_string(::getpid()) + "-" + tag + "-";
}

StagedFiles::~StagedFiles() { discard(); }

int StagedFiles::create(const std::string& fileName) {
    const std::string directory = directoryPart(fileName);
    // A name taken (by a file somebody put there) costs one more round.
    for (int round = 0; round < 16; ++round) {
        std::string temporary;
        {
            std::lock_guard<std::mutex> hold(lock);
            temporary = directory + prefix + std::to_string(next++);
        }
        const int fd = ::open(temporary.c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST || errno == EINTR) continue;
            return -1;
        }
        std::lock_guard<std::mutex> hold(lock);
        files.push_back({std::move(temporary), fileName});
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
    // One read of each directory tells what stands at all its names (and
    // whether other runs left temporaries there) for a fraction of a look
    // at each name.
    std::map<std::string, std::unordered_map<std::string_view, std::vector<Entry*>>> byDirectory;
    for (Entry& entry : files) {
        entry.device = false;
        entry.occupied = false;
        const std::string directory = directoryPart(entry.place);
        byDirectory[directory][std::string_view(entry.place).substr(directory.size())].push_back(&entry);
    }
    withLeftovers.clear();
    std::vector<const Entry*> directoriesAtPlaces;
    auto found = [&](Entry& entry, mode_t type) {
        entry.occupied = true;
        entry.device = S_ISCHR(type) || S_ISBLK(type);
        if (S_ISDIR(type)) directoriesAtPlaces.push_back(&entry);
    };
    const long self = static_cast<long>(::getpid());
    for (auto& [directory, names] : byDirectory) {
        DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
        if (dir == nullptr) {
            // Not readable (or gone): a look at each name instead.
            for (auto& [name, entries] : names) {
                struct stat info;
                if (::lstat(entries.front()->place.c_str(), &info) != 0) continue;
                for (Entry* entry : entries) found(*entry, info.st_mode);
            }
            withLeftovers.push_back(directory);
            continue;
        }
        while (const dirent* item = ::readdir(dir)) {
            const std::string_view name(item->d_name);
            if (name.substr(0, kStagedPrefix.size()) == kStagedPrefix) {
                const std::optional<long> process = stagedFileProcess(item->d_name);
                if (process && *process != self &&
                    (withLeftovers.empty() || withLeftovers.back() != directory))
                    withLeftovers.push_back(directory);
            }
            const auto at = names.find(name);
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
    if (!directoriesAtPlaces.empty()) {
        const Entry* first = *std::min_element(directoriesAtPlaces.begin(), directoriesAtPlaces.end());
        throw VelkFileError("Couldn't open the output file", first->place);
    }
    checked = true;
}

void StagedFiles::moveIn() {
    if (!checked) checkPlaces();
    std::vector<Entry> moving;
    std::vector<std::string> leftovers;
    {
        std::lock_guard<std::mutex> hold(lock);
        moving.swap(files);
        leftovers.swap(withLeftovers);
        directories.clear();
        checked = false;
    }
    // A rename over an old file frees the old one, which takes a while on
    // a journalling file system: the directories are moved on several
    // threads, each directory whole on one of them (renames within one
    // directory wait for each other anyway).
    std::vector<bool> superseded(moving.size());
    std::map<std::string, std::vector<std::size_t>> byDirectory;
    std::vector<const std::vector<std::size_t>*> groups;
    std::vector<std::thread> helpers;
    const std::size_t threads = std::min<std::size_t>(configuredThreadCount(), 8);
    try {
        // The later file of a name wins; the earlier ones go.
        std::unordered_map<std::string_view, std::size_t> latest;
        for (std::size_t i = 0; i < moving.size(); ++i) latest[moving[i].place] = i;
        for (std::size_t i = 0; i < moving.size(); ++i) {
            if (latest[moving[i].place] != i) superseded[i] = true;
            else byDirectory[directoryPart(moving[i].place)].push_back(i);
        }
        for (const auto& [directory, members] : byDirectory) groups.push_back(&members);
        // The largest first, so that no thread is left with a large one at the end.
        std::stable_sort(groups.begin(), groups.end(),
                         [](const auto* a, const auto* b) { return a->size() > b->size(); });
        helpers.reserve(threads);
    } catch (...) {
        // Nothing moved yet: the files wait again, for discard() at the latest.
        std::lock_guard<std::mutex> hold(lock);
        for (Entry& entry : files) moving.push_back(std::move(entry));
        files.swap(moving);
        throw;
    }
    for (std::size_t i = 0; i < moving.size(); ++i)
        if (superseded[i]) ::unlink(moving[i].temporary.c_str());

    std::atomic<std::size_t> nextGroup{0};
    std::atomic<std::size_t> firstFailure{moving.size()};  // the first file not moved, in creation order
    auto work = [&]() noexcept {
        for (std::size_t g = nextGroup++; g < groups.size(); g = nextGroup++) {
            for (std::size_t i : *groups[g]) {
                const Entry& entry = moving[i];
                // Where nothing stood there is nothing to swap with: a plain
                // rename (which still replaces what came since).
                const bool ok = entry.device     ? writeThroughDevice(entry.temporary, entry.place)
                                : entry.occupied ? replaceAtPlace(entry.temporary, entry.place)
                                                 : ::rename(entry.temporary.c_str(), entry.place.c_str()) == 0;
                if (ok) continue;
                ::unlink(entry.temporary.c_str());
                std::size_t earliest = firstFailure.load();
                while (i < earliest && !firstFailure.compare_exchange_weak(earliest, i)) {
                }
            }
        }
    };
    for (std::size_t t = 1; t < std::min(threads, groups.size()); ++t) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break;  // fewer threads do the same
        }
    }
    work();
    for (std::thread& helper : helpers) helper.join();
    // Best effort: what is left stays for the next run to remove.
    try {
        for (const std::string& directory : leftovers) removeLeftTemporaries(directory);
    } catch (const std::bad_alloc&) {
    }
    if (firstFailure < moving.size())
        throw VelkFileError("Could not write the file", moving[firstFailure].place);
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
