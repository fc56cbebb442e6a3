#include "run/OutputFolderLock.h"

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "VelkLib/VelkError.h"
#include "VelkLib/VelkFile.h"

struct OutputFolderLock::Held {
    std::string path;
    int fd = -1;
    ~Held() {
        // Removed while still locked: a run that opened the file meanwhile
        // finds on locking it that the name no longer leads to it, and
        // starts again.
        ::unlink(path.c_str());
        ::close(fd);
    }
};

namespace {

std::mutex heldMutex;
// The locks this process holds, by the folder's identity.
std::map<VelkFileId, std::weak_ptr<OutputFolderLock::Held>>& heldLocks() {
    static std::map<VelkFileId, std::weak_ptr<OutputFolderLock::Held>> locks;
    return locks;
}

std::string holderOf(int fd) {
    char text[32] = {};
    const ssize_t got = ::pread(fd, text, sizeof text - 1, 0);
    std::string pid;
    for (ssize_t i = 0; i < got && text[i] >= '0' && text[i] <= '9'; ++i) pid += text[i];
    return pid.empty() ? "another process" : "process " + pid;
}

bool sameFile(int fd, const std::string& path) {
    struct stat opened, named;
    return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

}  // namespace

OutputFolderLock::OutputFolderLock(const std::string& folder) {
    const std::string shown = folder.empty() ? "." : folder;
    const std::optional<VelkFileId> id = fileIdentity(shown);
    if (!id) throw VelkError("The output folder " + shown + " cannot be locked", -1);
    std::lock_guard<std::mutex> hold(heldMutex);
    if (std::shared_ptr<Held> found = heldLocks()[*id].lock()) {
        held = std::move(found);
        return;
    }
    const std::string path = shown + "/" + kFileName;
    for (int round = 0; round < 8; ++round) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0) throw VelkError("The output folder " + shown + " cannot be locked", -1);
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            const std::string holder = error == EWOULDBLOCK ? holderOf(fd) : "";
            ::close(fd);
            if (error != EWOULDBLOCK)
                throw VelkError("The output folder " + shown + " cannot be locked", error);
            throw VelkError("The output folder " + shown + " is being written by another run (" +
                            holder + "); try again once it has ended, or name another folder.");
        }
        if (!sameFile(fd, path)) {
            // Its last holder removed it between the open and the lock.
            ::close(fd);
            continue;
        }
        const std::string pid = std::to_string(::getpid()) + "\n";
        if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, pid.data(), pid.size(), 0) < 0) {
            // The lock holds without the process id; a second run then
            // names no process.
        }
        held = std::make_shared<Held>();
        held->path = path;
        held->fd = fd;
        heldLocks()[*id] = held;
        return;
    }
    throw VelkError("The output folder " + shown + " cannot be locked", EAGAIN);
}

OutputFolderLock::~OutputFolderLock() {
    std::lock_guard<std::mutex> hold(heldMutex);
    held.reset();
}
