// The walk over the user's list of files and directories: splitting the
// list into entries, counting the source files for the progress bar,
// walking directories, naming the project of each file and building the
// project list text that the module receives.
//
// Paths: "/" and "\\" are both separators in the list; the walk hands
// files on with "/" only, so a file named once with "/" and once with "\\"
// is the same file. Directory listings are sorted; only regular files match
// the extensions (letter case ignored); a symbolic link is followed only
// into the listed inputs (addRoot); a directory reached twice through links
// is walked once per list entry. The walk keeps its own stack, so
// deep trees cannot exhaust the thread's stack.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "VelkLib/VelkDirectory.h"
#include "VelkLib/VelkFile.h"
#include "modules/ModuleInterface.h"

// Splits the list text into entries. A double quote toggles quoting and is
// dropped, but inside quotes two double quotes stand for one that belongs
// to the name; outside quotes white space ends an entry and empty entries
// are dropped; `x"y z"` is the one entry `xy z`. Throws VelkError
// "Imbalanced '\"' in the list of files/directories." when a quote is left
// open.
std::vector<std::string> splitFileList(const std::string& text);

// A path as one entry of the list text: in double quotes, each double quote
// of the path doubled, so that splitFileList gives the path back as it
// stands.
std::string quoteListEntry(const std::string& path);

// True when the path's first character is "#".
bool isCommentedOut(const std::string& path);

// An entry with one trailing "/" or "\\" removed (a lone "/" stays).
std::string stripTrailingSeparator(const std::string& entry);

// The text logged for an entry of a walked directory whose name has an
// accepted extension but that is no regular file: "Skipped \"<path>\": it
// is a FIFO, not a regular file.", or for a link "Skipped the symbolic link
// \"<path>\": its target is a device, not a regular file." (or "...: its
// target cannot be read (<the system's reason>).").
std::string leftOutText(const std::string& path, const VelkDirectory::LeftOut& entry);

// The text logged when the per-file step for path failed with `failure`:
// "<failure>.  Parsing of \"<path>\" was unsuccessful."
std::string unsuccessfulParseText(const std::string& failure, const std::string& path);

// The path of an entry ("\\" read as "/") and its project name.
struct ProjectEntry {
    std::string path;
    std::string project;
};

// Splits "path=Project" at the first "="; without one, the project is the
// last component of the path or, with useContainingDirectory, of the
// directory that holds it. A project "." or ".." is named by the resolved
// directory's own name. Any other name becomes one safe path component
// (safePathComponent); an empty name stays empty.
ProjectEntry splitProjectEntry(const std::string& entry, bool useContainingDirectory);

// True when the output file exists and is one of the files that a walk of
// the list entries would document: a listed file itself, or a file of an
// accepted extension (letter case ignored) inside a listed directory.
// Writing the index page there would replace a source with HTML.
bool outputIsAnInput(const std::string& outputFile, const std::vector<std::string>& entries,
                     const std::set<std::string>& extensions);

// The path of the first list entry that names nothing, read as the count
// reads entries (the part before "=", without a trailing separator; a
// commented-out entry names nothing to look for); "" when every entry
// names an existing file or directory. The count would end the run at it
// ("Could not access file or directory"), after the run began.
std::string missingInput(const std::vector<std::string>& entries);

class InputWalk {
public:
    // The per-file step: parse one file (path with "/" only) into the run's
    // model for the project. May throw; the walk reports the error and
    // goes on with the next file.
    using FileStep = std::function<void(const std::string& path, const std::string& project)>;

    // Callbacks may be null (nothing is reported; progress never stops).
    InputWalk(std::set<std::string> extensions, ModuleStatusFn status, ModuleErrorFn log,
              ModuleProgressFn progress, void* context, FileStep step);

    // The number of accepted files below an existing directory (recursive).
    // Throws VelkError "Could not access directory \"<path>\"" when it is
    // not there.
    int countFiles(const std::string& directory) const;

    // The number of files a list entry stands for: 0 for a commented-out
    // entry, 1 for a file, countFiles for a directory. Throws VelkError
    // "Could not access file or directory \"<path>\"" when the path is
    // neither.
    int countEntry(const std::string& entry) const;

    // Walks one top-level entry: a directory goes to walkDirectory, anything
    // else to documentFile with its project ("_no_project_" when empty),
    // followed by fileDone. A directory that yields no file with an
    // accepted extension, and named none it skipped, is logged: "No file
    // in \"<entry>\" has one of the accepted extensions (<ext>, ...)."
    // Returns false when the user cancelled.
    bool walkEntry(const std::string& entry);

    // Walks a directory entry (as written in the list, "=Project" included)
    // and everything below it: status "Directory <entry>", each accepted
    // file (extension by extension in the set's order, each list sorted),
    // each entry named like one that is no regular file logged
    // (leftOutText), one project-list line when the directory held files, then the
    // subdirectories with dotted project names (the children of a root
    // entry start a new prefix). A directory that cannot be read is logged,
    // "Could not read the directory \"<path>\" (<reason>).", and so is one
    // whose real path, when it is read, lies outside the roots (a link
    // swapped in after the walk looked): "Skipped the directory
    // \"<path>\": it lies outside the listed files and directories.".
    // Returns false when the user cancelled.
    bool walkDirectory(const std::string& entry, bool root, const std::string& prefix);

    // The per-file step for one file: skips commented-out paths (status
    // "Skipping commented-out file <path>") and files seen before in this
    // run; shows "file <path>" and runs the step. An error of the step is
    // logged as "<error>.  Parsing of \"<path>\" was unsuccessful."; so is
    // a path that is not a regular file (never opened: a FIFO would block
    // the run; `listed` tells that a directory listing, which holds regular
    // files only, found the path, so that it is not looked at again). A
    // VelkEnvironmentError of the step ends the walk: it is thrown on.
    // Returns false only for a commented-out path.
    bool documentFile(const std::string& path, const std::string& project, bool listed = false);

    // True when a directory given in the list could not be read at all.
    bool unreadableEntry() const { return unreadableRoot; }

    // Counts one more file done and reports progress (done / 2 of total),
    // so that parsing fills the first half of the bar. Returns false when
    // the user asked to stop. A total of 0 is reported as 1.
    bool fileDone();

    void setTotal(int total_) { total = total_; }
    int getDone() const { return done; }
    // Lines "name|directory\n" in walk order ("|" and "\\" in a field
    // escaped by a backslash, escapeListField).
    const std::string& projectListText() const { return projectList; }

    // Names a listed input (file or directory). A symbolic link met inside
    // the walked directories is followed only when its target lies inside
    // one of the roots; any other is skipped, and the walk (not the count)
    // logs "Skipped the symbolic link \"<path>\": its target lies outside
    // the listed files and directories.". Without roots every link is
    // skipped.
    void addRoot(const std::string& path);
    const InputRoots& inputRoots() const { return roots; }

private:
    void status(const std::string& line1) const;
    // True for a path that is not a link or whose target lies in a root.
    bool followable(const std::string& path, bool warn) const;
    // The project name for the files directly in a directory: wanted, or,
    // when another directory already has that project (lib1/src and
    // lib2/src), wanted + "-2", "-3"... so that no project's pages overwrite
    // another's.
    // `real` is the directory's real path when the walk has read it ("" to
    // resolve `directory` here).
    std::string distinctProject(const std::string& wanted, const std::string& directory,
                                const std::string& real);
    // One directory, read once for both lists below.
    struct Listing {
        std::string prefix;  // the directory and "/"
        std::vector<VelkDirectory::Entry> entries;
        std::vector<VelkDirectory::LeftOut> leftOut;  // no regular files nor directories
        std::string real;  // the real path of the directory read; "" when unknown
    };
    // Empty, and logged when warn is set, for a directory that cannot be
    // read or lies outside the roots.
    Listing readDirectory(const std::string& directory, bool warn, bool* unreadable = nullptr) const;
    void logText(const std::string& text) const;
    // Files of the directory matching the extensions, in walk order. With
    // warn, the entries matching them that are skipped (links outside the
    // roots, no regular files) are logged and counted in *named.
    std::vector<std::string> acceptedFiles(const Listing& listing, bool warn, int* named = nullptr) const;
    // The subdirectories that the walk enters, full paths.
    std::vector<std::string> subdirectories(const Listing& listing, bool warn) const;

    std::set<std::string> extensions;
    ModuleStatusFn statusFn;
    ModuleErrorFn logFn;
    ModuleProgressFn progressFn;
    void* context;
    FileStep step;

    InputRoots roots;
    std::map<std::string, std::string> projectDirectories;  // project -> resolved directory
    std::set<std::string> seenFiles;
    std::string projectList;
    int done = 0;
    int total = 0;
    int accepted = 0;  // files handed on by directory walks
    int skippedNamed = 0;  // entries of accepted names that the walks skipped and named
    bool unreadableRoot = false;
};
