// One run at a time writes into an output folder: a run holds the folder's
// lock, a file ".vantry-lock" in it, while it writes, so that a second run
// into the same folder ends at once instead of mixing its pages with the
// first one's.
#pragma once

#include <memory>
#include <string>

class OutputFolderLock {
public:
    // The name of the lock file in the folder: no page, no source, no
    // temporary of a site.
    static constexpr const char* kFileName = ".vantry-lock";

    // Takes the lock of the folder (which must exist), or shares it when
    // this process holds it already. The lock is the system's lock on the
    // file (flock), which goes with the process however it ends; the file
    // holds the process id of its holder. Throws VelkError "The output
    // folder <folder> is being written by another run (process <n>); ..."
    // when another process holds it, and one naming the folder with the
    // system's reason when the lock file cannot be made or locked.
    explicit OutputFolderLock(const std::string& folder);
    // Gives the lock up; the last holder in this process removes the file.
    ~OutputFolderLock();
    OutputFolderLock(const OutputFolderLock&) = delete;
    OutputFolderLock& operator=(const OutputFolderLock&) = delete;

    // This process's hold on one folder, shared by its holders.
    struct Held;

private:
    std::shared_ptr<Held> held;
};
