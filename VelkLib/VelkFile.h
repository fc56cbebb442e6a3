// Line-oriented text files and the free file operations.
//
// Every failure is thrown as a VelkFileError naming the file. Files open in
// their constructor and close in their destructor; a destructor never
// throws, so a writer that must know whether its data reached the disk
// calls VelkOutFile::close() itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <climits>
#include <fstream>
#include <functional>
#include <istream>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "VelkLib/VelkError.h"

class VelkFile {
public:
    virtual ~VelkFile();

    // The name exactly as the caller passed it.
    const std::string& getFileName() const { return fileName; }

protected:
    explicit VelkFile(std::string fileName);

    std::string fileName;
};

class VelkInFile : public VelkFile {
public:
    // Opens the file for reading, in binary mode when `binary` is set.
    // Throws VelkFileError "Couldn't find the file" when nothing exists
    // under the name, and "Couldn't open the file" when it exists but cannot
    // be read as a file (a directory, a FIFO or device, no permission).
    VelkInFile(const std::string& fileName, bool binary);
    ~VelkInFile() override;

    // Returns the next line without its line feed, whatever its length. In
    // text mode a carriage return before the line feed is dropped too. At
    // end of file it returns "" and the stream reports eof(). A read error
    // also returns "" and leaves the stream at eof(), so a loop of
    // `while (!getStream().eof()) readLine();` always ends.
    std::string readLine();

    // The stream itself, for end-of-file tests and raw reads.
    std::istream& getStream() { return stream; }

    bool isBinary() const { return binary; }

private:
    std::ifstream stream;
    bool binary;
};

class StagedFiles;

class VelkOutFile : public VelkFile {
public:
    // Opens the file for writing: a new file in place of whatever stands at
    // the name (openFileAnew; never written through a link) unless
    // `append` is set, which extends a regular file that is no link.
    // Throws VelkFileError "Couldn't open the output file".
    // What is inserted collects in a buffer of bufferSize bytes that goes to
    // the file in one write when it fills, on a flush of the stream and on
    // closing, so a page of up to that size costs one open, one write and
    // one close.
    VelkOutFile(const std::string& fileName, bool binary, bool append);
    // A page of a site (text mode): with `staged`, a new file under a
    // temporary name that staged->moveIn() puts at fileName
    // (StagedFiles::create); without, VelkOutFile(fileName, false, false).
    // Throws VelkFileError "Couldn't open the output file" naming fileName.
    VelkOutFile(const std::string& fileName, StagedFiles* staged);

    // Writes what is still buffered and closes, quietly; a write error that
    // close() was not asked about is lost.
    ~VelkOutFile() override;

    static constexpr std::size_t bufferSize = 64 * 1024;

    // Inserts the text as it stands and returns the stream so that callers
    // can go on inserting.
    std::ostream& write(const std::string& text);

    std::ostream& getStream() { return stream; }

    // Appends the whole content of another file, copied in blocks of 4096
    // bytes. Failures of opening it are those of VelkInFile. Throws
    // VelkFileError "Could not append a file to itself" (naming it) when it
    // is the file being written, and "Could not read the file" on a read
    // error part-way.
    void appendFile(const std::string& otherFileName);

    // Flushes and closes the file. Throws VelkFileError "Could not write the
    // file" when any write since opening failed or the final flush fails
    // (disk full). A second call does nothing.
    void close();

private:
    // The stream's buffer over the file descriptor.
    class Buffer : public std::streambuf {
    public:
        explicit Buffer(int fd);
        ~Buffer() override;
        Buffer(const Buffer&) = delete;
        Buffer& operator=(const Buffer&) = delete;

        bool isOpen() const { return fd >= 0; }
        // Writes what is buffered and closes the descriptor. Returns false
        // when any write since opening, or the close itself, failed.
        bool closeFile();

    protected:
        int_type overflow(int_type c) override;
        std::streamsize xsputn(const char* text, std::streamsize count) override;
        int sync() override;

    private:
        bool drain();
        bool writeOut(const char* data, std::size_t size);

        int fd;
        bool failed = false;
        std::unique_ptr<char[]> space;
    };

    Buffer buffer;
    std::ostream stream;
    bool binary;
};

// The identity of a file system object (device and inode), following links.
struct VelkFileId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const VelkFileId&) const = default;
    auto operator<=>(const VelkFileId&) const = default;
};

// The identity of what the path names, or nothing when it cannot be stat'ed.
// Two paths name the same file exactly when their identities are equal.
std::optional<VelkFileId> fileIdentity(const std::string& path);

// True when something (a file, a directory, ...) exists under the name.
bool fileExists(const std::string& fileName);

// A file descriptor of the caller's, closed when the object goes. close()
// closes it at once and returns false when the close failed (for a file
// written to, the last chance to learn of a lost write).
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd(fd) {}
    ~FileDescriptor();
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    // The descriptor, or -1 after close() or when the open it came from failed.
    int get() const { return fd; }
    bool close();

private:
    int fd;
};

// Writes all size bytes to fd, going on after short writes and
// interruptions. Returns false on the first write error (errno tells).
bool writeAll(int fd, const char* data, std::size_t size);

// The files and directories a run was given, as the real paths they name:
// what the run reads lies inside one of them.
class InputRoots {
public:
    // Adds the real path of an existing file or directory; a name that does
    // not resolve adds nothing.
    void add(const std::string& path);
    // True when the real path (as realpath gives it) is a root or lies
    // below one.
    bool contains(const std::string& realPath) const;
    bool empty() const { return roots.empty(); }
    // Opens fileName to be read, without blocking, when it is no link and
    // stands in a directory that lies inside: opened relative to that
    // directory, which stays open for the next files of it (from any
    // thread), so that neither the directory nor the file needs its path
    // looked up again. A directory swapped at its name since is still the
    // one found inside, never what the name leads to now. Safe from
    // several threads. Returns the descriptor, or -1 for anything else (a
    // link, a directory outside, a name that does not open): then the name
    // is to be opened and its descriptor checked.
    int openInside(const std::string& fileName) const;

private:
    std::vector<std::string> roots;
    // The directories lately found inside, open; shared by copies while
    // their roots are the same, and so telling these roots from others.
    struct Found;
    std::shared_ptr<Found> found;
};

// The real path of an open descriptor: the file it actually is, whatever
// links or renames led to it; "" when the system cannot tell.
std::string descriptorPath(int fd);

// Bounds for readWholeFile: a text that a page takes in whole (header,
// footer, item template, summaries), and a source file.
constexpr std::size_t kPageTextLimit = 8u << 20;
constexpr std::size_t kSourceFileLimit = 64u << 20;

// The whole content of a regular file (a /proc file, which tells no size,
// to its end). The file is opened without blocking and checked on the
// descriptor itself, so that what stands at the name when it is opened
// decides: a FIFO or device is never read. Throws VelkFileError "Couldn't
// find the file" when the name does not exist, "Couldn't open the file"
// when it exists but cannot be opened or is a directory, "Not a regular
// file" for anything else that is not one, "The file is larger than <n>
// MB" when it holds more than `limit` bytes, "The file lies outside the
// listed files and directories" when `roots` is given and the opened file
// lies in none of them, and "Could not read the file" when a read fails.
std::string readWholeFile(const std::string& fileName, std::size_t limit = SIZE_MAX,
                          const InputRoots* roots = nullptr);

// The first `bytes` bytes of a regular file (the whole of a shorter one),
// opened and checked as readWholeFile opens and checks it, with its
// errors; a longer file is no error.
std::string readFileStart(const std::string& fileName, std::size_t bytes,
                          const InputRoots* roots = nullptr);

// A file the run reads because of where it stands (a project's summary
// beside its sources, an overview above them), read as readWholeFile does.
// A symbolic link is followed only when its target lies inside one of
// roots, and then the file opened must lie there too; a file that is no
// link is read only when it is still no link when opened. Throws
// VelkFileError "A symbolic link leads outside the listed files and
// directories", and the errors of readWholeFile.
std::string readFileFoundBeside(const std::string& fileName, std::size_t limit,
                                const InputRoots& roots);

// Opens a file to be written anew: a new file in place of whatever stands
// at the name. A symbolic link, FIFO or socket there is removed, never
// written through or opened, and so is the name of a file with other hard
// links, whose other names keep their content; a lone regular file is
// truncated; a device is opened as it stands (never removed). Returns the
// descriptor, or -1 with errno set (EISDIR for a directory).
int openFileAnew(const std::string& fileName);

// A site left part new, part old: files were moved in and not every earlier
// file could be put back. Names the first file that could not.
class VELK_VISIBLE IncompleteSiteError : public VelkFileError {
public:
    using VelkFileError::VelkFileError;
    ~IncompleteSiteError() override;
};

// Puts a page at the site's index page that says the site is incomplete,
// with the reason, in place of whatever stands there (a link is replaced,
// never written through): what a browser shows when it opens the site.
// Returns false when the page could not be written. Never throws.
bool markSiteIncomplete(const std::string& indexFile, const std::string& reason) noexcept;

// The new files of a site, which are to replace the old ones all together
// or not at all. Each is written under a temporary name in the directory of
// the name it is for, so that moving it in is one rename on one file
// system and its old file stays whole until then; moveIn() moves them all
// and keeps each old file under a temporary name until commit() removes
// them or rollBack() puts them back; discard() removes the new files,
// leaving whatever stood at their names as it was.
// Temporary names are ".vantry-<process id>-<tag>-<n>": a run that could not
// remove its own (ended at once by a second signal, or killed) leaves them
// behind, for removeEndedTemporaries. Safe from several threads, except that
// checkPlaces, moveIn, commit, rollBack and discard are called once the
// files are written.
class StagedFiles {
public:
    StagedFiles();
    // Puts back what was moved in and not committed, then discards what
    // was neither moved in nor discarded.
    ~StagedFiles();
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;

    // Creates a new, empty file (exclusively, never through a link, mode
    // 0666 less the umask) under a temporary name in fileName's directory
    // and records it for fileName. Returns its descriptor, or -1 with errno
    // set (ENOENT when the directory is missing). A name created twice gets
    // the later file.
    int create(const std::string& fileName);

    // Records a directory that was made for these files (after its
    // parents), so that discard() and rollBack() remove it again when it is
    // left empty.
    void madeDirectory(const std::string& path);

    // Gives the files waiting for `from` the name `to` instead, as a rename
    // of the file at its place would. Returns false when none waits for
    // `from`. Throws VelkFileError "Could not write the file" naming `to`
    // when `to` lies in another directory (the temporary stays where it is
    // made).
    bool renamePlace(const std::string& from, const std::string& to);

    // Throws VelkFileError "Couldn't open the output file" naming the first
    // name at which no file can be put (a directory stands there, or the
    // name is longer than its file system takes: "File name too long");
    // nothing is moved or removed then. moveIn() checks first when this was
    // not called.
    void checkPlaces();

    // Puts every file at its name: a new file in place of whatever stood
    // there (a link, a FIFO, a file with other names: the name alone is
    // replaced), except a device, which is written as it stands. What stood
    // there waits under a temporary name for commit() or rollBack().
    // Directories are done on up to configuredThreadCount() threads (at
    // most 8), each one whole on one thread; `stop` (called from any of
    // them, now and then) ends the move early.
    // When a file cannot be put in place, or stop answers true, every file
    // already moved is put back as it was (rollBack) and the new files are
    // removed; then it throws VelkFileError "Could not write the file"
    // naming the first file (in the order created) that could not be put
    // in place, or returns false after a stop. Throws IncompleteSiteError
    // instead when an earlier file could not be put back. Returns true when
    // every file is in place.
    bool moveIn(const std::function<bool()>& stop = {});

    // After moveIn: removes the earlier files it kept. Throws VelkFileError
    // "Could not write the file" naming a place where a directory came to
    // stand while the files moved in (it is put back there, and the new
    // file removed), after removing all the others.
    void commit();

    // After moveIn: puts every earlier file back at its name and removes
    // the new files, and the directories recorded that are empty then,
    // latest first. Throws IncompleteSiteError naming the first file that
    // could not be put back, after putting back all the others.
    void rollBack();

    // Removes every file not yet moved in and the directories recorded
    // that are empty then. Never throws.
    void discard() noexcept;

    // The number of files waiting to be moved in.
    std::size_t size() const;

    // The renames moveIn and rollBack make, each returning 0 or -1 with
    // errno set as the system call does, so that a test can make any one
    // of them fail.
    struct Moves {
        int (*exchange)(const char* a, const char* b);  // swaps two names
        int (*renameNoReplace)(const char* from, const char* to);
        int (*rename)(const char* from, const char* to);
        int (*link)(const char* from, const char* to);
    };
    static const Moves systemMoves;
    void useMoves(const Moves& replacement) { moves = replacement; }

private:
    // What moveIn did at a place, for commit() and rollBack().
    enum class Placed : unsigned char {
        No,        // not moved
        New,       // nothing stood there
        Swapped,   // the earlier file waits under the temporary name
        Linked,    // the earlier file waits under the backup name
        Replaced,  // the earlier file is lost (the file system keeps no second name)
        Device,    // written into the device that stands there
    };
    struct Entry {
        std::string temporary;
        std::string place;
        bool device = false;    // found by checkPlaces
        bool occupied = false;  // something stood at the place when checked
        Placed placed = Placed::No;
        std::string backup;     // for Placed::Linked
    };
    bool place(Entry& entry);
    void putBack(std::vector<Entry>& entries, std::vector<std::string>& made);
    std::string newTemporaryName(const std::string& directory);

    mutable std::mutex lock;
    std::vector<Entry> files;
    std::vector<Entry> placedFiles;  // moved in, waiting for commit or rollBack
    std::vector<std::string> directories;
    bool checked = false;
    std::string prefix;  // ".vantry-<pid>-<tag>-"
    std::uint64_t next = 0;
    Moves moves = systemMoves;
};

// Removes, below root (the root itself included, links not followed, on
// root's file system only), every StagedFiles temporary of a process that
// has ended: they can never be moved in. The files of running processes
// (and of processes this one may not signal) stay, and so does every other
// name. stop, asked between directories, ends the walk early. Never
// throws; what cannot be read or removed stays.
void removeEndedTemporaries(const std::string& root, const std::function<bool()>& stop = {});

// Whether name is a temporary name of StagedFiles, and then the process id
// it carries.
std::optional<long> stagedFileProcess(const std::string& name);

// Text as text mode reads it: a carriage return before a line feed is
// dropped and a carriage return alone (old Mac files) becomes a line feed,
// so every kind of line end ends a line.
void normaliseLineEnds(std::string& text);

// Text saved in UTF-16 or UTF-32 with a byte-order mark (little or big
// endian, as some editors save sources) becomes UTF-8, the mark dropped; a
// unit that is no character (a lone surrogate, a value beyond U+10FFFF, a
// cut last unit) becomes U+FFFD. Any other text, a UTF-8 mark included, is
// left as it is. Returns true when the text was decoded.
bool decodeByteOrderMark(std::string& text);

// Deletes the file. Throws VelkFileError "Could not delete the file" on
// failure unless `ignoreErrors` is set (then a failure is silent).
void deleteFile(const std::string& fileName, bool ignoreErrors);

// Copies `from` over `to`, replacing an existing target. The copy is written
// beside the target and renamed over it, so a failed copy leaves the old
// target untouched; copying a file onto itself leaves it as it is.
// Throws VelkFileError "Could not copy to file " + to, naming `from`.
void copyFile(const std::string& from, const std::string& to);

// Makes the file hold exactly the content, with the permission bits of
// mode. The content is written beside the file and renamed over it, so the
// file is never left half-written: a failure leaves the old file (or none)
// and removes the partial copy. A link is written through, as copyFile
// does. Throws VelkFileError "Couldn't open the output file" when the new
// file cannot be created and "Could not write the file" when writing or
// renaming fails, both naming the file.
void writeFileReplacing(const std::string& fileName, const std::string& content, unsigned mode);
