// One directory: checked or created on construction, then listed.
#pragma once

#include <string>
#include <vector>

#include "VelkLib/VelkError.h"

class VelkDirectory {
public:
    // Without `create`: throws VelkError "The directory " + path + " does
    // not exist." unless the path names a directory. With `create`: makes
    // every missing directory along the path and the path itself ("\\" read
    // as "/"); an existing directory is accepted. Throws VelkError
    // "Path not found (" + path + ")" when a parent cannot be made,
    // "Not a directory (" + path + ")" when something other than a
    // directory already has the name, and "Could not make the directory " +
    // path + " (<the system's text>)" for any other system error.
    VelkDirectory(const std::string& path, bool create);

    // The names of the entries that match the wildcard pattern ('*' any run
    // of characters, '?' one character, letter case ignored; "*.*" matches
    // every name): regular files always, directories only with
    // `includeDirectories`, never "." and "..", nor FIFOs, sockets or
    // devices. Links are followed. With `fullPaths` each name is prefixed
    // with the directory and "/". Sorted byte-wise. Never throws: an
    // unreadable directory gives an empty list.
    std::vector<std::string> list(const std::string& pattern, bool includeDirectories,
                                  bool fullPaths) const;

    // The subdirectories (links followed), as names or full paths, sorted;
    // never "." or "..". Never throws. A walker that follows these into
    // subdirectories tells a directory it has seen by its fileIdentity.
    std::vector<std::string> listSubdirectories(bool fullPaths) const;

    // An entry that listEntries leaves out, and why: kind is "a FIFO", "a
    // socket", "a device" or "not a regular file" (for a link: its
    // target's), or "" with error set to the system's error number when a
    // link's target cannot be looked at (a link to nothing).
    struct LeftOut {
        std::string name;
        bool isLink;
        std::string kind;
        int error;
    };

    // One entry of the directory, as read in one pass over it.
    struct Entry {
        std::string name;
        bool isDirectory;  // else a regular file
        bool isLink;       // the kind is the target's
    };
    // Every regular file and directory (links followed), never "." and
    // "..", nor FIFOs, sockets or devices; sorted byte-wise by name. A walk
    // that needs several lists of one directory reads it once this way.
    // Never throws: an unreadable directory gives an empty list, and sets
    // *error (when given) to the system's error number, else to 0. With
    // realPath, it receives the real path of the directory actually read
    // (descriptorPath), whatever was swapped in at the name.
    // With leftOut, it receives the entries of other kinds, sorted too.
    std::vector<Entry> listEntries(int* error = nullptr, std::string* realPath = nullptr,
                                   std::vector<LeftOut>* leftOut = nullptr) const;
    // The directory and "/", which make an entry's name its full path.
    std::string entryPrefix() const;

    // The path exactly as given to the constructor.
    const std::string& getPath() const { return path; }

private:
    std::vector<std::string> entries(const std::string& pattern, bool includeDirectories,
                                     bool directoriesOnly, bool fullPaths) const;

    std::string path;
    std::string systemPath;  // the path with "\\" read as "/"
};

class StagedFiles;

// A folder of a generated site: VelkDirectory(path, true), but a symbolic
// link at the path is refused, so that no page is written through it to
// wherever it leads. Throws the VelkDirectory errors, and VelkError "The
// folder <path> of the site is a symbolic link; remove it or write the site
// elsewhere." Callers make the outer folders of the site first, so that a
// link higher up is met there. With `staged`, the directories made here
// are recorded in it (StagedFiles::madeDirectory).
void makeSiteDirectory(const std::string& path, StagedFiles* staged = nullptr);
// That refusal: VelkError "The folder <path> of the site is a symbolic
// link; remove it or write the site elsewhere."
VelkError siteFolderIsALink(const std::string& path);

// Whether a name matches a wildcard pattern as VelkDirectory::list applies
// it. Runs in time proportional to the product of the lengths at worst,
// without recursion.
bool matchesWildcard(const std::string& pattern, const std::string& name);
