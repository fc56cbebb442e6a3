#include "run/InputWalk.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <exception>
#include <filesystem>
#include <optional>

#include "VelkLib/VelkDirectory.h"
#include "VelkLib/VelkError.h"
#include "VelkLib/VelkFile.h"
#include "VelkLib/VelkPath.h"
#include "model/ModelText.h"
#include "VelkLib/VelkPath.h"
#include "model/ModelText.h"
#include "platform/TerminalText.h"

namespace {

// The name of the directory a path resolves to ("." and ".." included);
// "" when it cannot be resolved.
std::string resolvedName(const std::string& directory) {
    std::error_code error;
    std::filesystem::path resolved =
        std::filesystem::weakly_canonical(std::filesystem::absolute(directory, error), error);
    if (error) return "";
    return resolved.filename().string();
}

// Marks a directory as visited; false when it was visited before (reached
// again through a link). A directory without identity is walked.
bool firstVisit(std::set<VelkFileId>& visited, const std::string& directory) {
    std::optional<VelkFileId> id = fileIdentity(directory);
    return !id || visited.insert(*id).second;
}

std::string pathPart(const std::string& entry) {
    return stripTrailingSeparator(slashSeparated(entry.substr(0, entry.find('='))));
}

}  // namespace

std::vector<std::string> splitFileList(const std::string& text) {
    std::vector<std::string> entries;
    std::string current;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"' && quoted && i + 1 < text.size() && text[i + 1] == '"') {
            current += '"';  // a doubled quote inside quotes is one quote of the name
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && std::isspace(static_cast<unsigned char>(c))) {
            if (!current.empty()) entries.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    if (quoted) throw VelkError("Imbalanced '\"' in the list of files/directories.");
    if (!current.empty()) entries.push_back(std::move(current));
    return entries;
}

std::string leftOutText(const std::string& path, const VelkDirectory::LeftOut& entry) {
    if (!entry.isLink) return "Skipped \"" + path + "\": it is " + entry.kind + ", not a regular file.";
    if (entry.kind.empty())
        return "Skipped the symbolic link \"" + path + "\": its target cannot be read (" +
               std::strerror(entry.error) + ").";
    return "Skipped the symbolic link \"" + path + "\": its target is " + entry.kind + ", not a regular file.";
}

std::string unsuccessfulParseText(const std::string& failure, const std::string& path) {
    return failure + ".  Parsing of \"" + path + "\" was unsuccessful.";
}

std::string quoteListEntry(const std::string& path) {
    std::string quoted = "\"";
    for (char c : path) {
        quoted += c;
        if (c == '"') quoted += '"';
    }
    return quoted + "\"";
}

bool isCommentedOut(const std::string& path) { return !path.empty() && path[0] == '#'; }

std::string stripTrailingSeparator(const std::string& entry) {
    if (entry.size() > 1 && (entry.back() == '/' || entry.back() == '\\'))
        return entry.substr(0, entry.size() - 1);
    return entry;
}

namespace {

// The project of a path whose name gives it: the last component of
// namedDirectory, "." and ".." resolved, made one safe path component.
std::string projectNamedBy(const std::string& namedDirectory) {
    std::string project = fileNameOf(namedDirectory);
    if (project == "." || project == "..") project = resolvedName(namedDirectory);
    return project.empty() ? project : safePathComponent(project);
}

}  // namespace

ProjectEntry splitProjectEntry(const std::string& entry, bool useContainingDirectory) {
    ProjectEntry result;
    std::string::size_type equals = entry.find('=');
    result.path = pathPart(entry);
    std::string namedDirectory =
        useContainingDirectory ? directoryOf(result.path) : result.path;
    if (equals == std::string::npos) {
        result.project = projectNamedBy(namedDirectory);
        return result;
    }
    result.project = entry.substr(equals + 1);
    if (result.project == "." || result.project == "..") result.project = resolvedName(namedDirectory);
    if (!result.project.empty()) result.project = safePathComponent(result.project);
    return result;
}

bool outputIsAnInput(const std::string& outputFile, const std::vector<std::string>& entries,
                     const std::set<std::string>& extensions) {
    const std::optional<VelkFileId> output = fileIdentity(outputFile);
    if (!output) return false;  // a new file replaces no source
    char* resolved = ::realpath(outputFile.c_str(), nullptr);
    const std::string real = resolved != nullptr ? resolved : "";
    std::free(resolved);
    const std::string name = fileNameOf(outputFile);
    bool accepted = false;
    for (const std::string& extension : extensions)
        accepted = accepted || matchesWildcard("*." + extension, name);
    for (const std::string& entry : entries) {
        if (isCommentedOut(entry)) continue;
        const std::string path = splitProjectEntry(stripTrailingSeparator(entry), true).path;
        if (fileIdentity(path) == output) return true;
        if (!accepted || real.empty() || !directoryExists(path)) continue;
        InputRoots directory;
        directory.add(path);
        if (directory.contains(real)) return true;
    }
    return false;
}

InputWalk::InputWalk(std::set<std::string> extensions_, ModuleStatusFn status_,
                     ModuleErrorFn log_, ModuleProgressFn progress_, void* context_,
                     FileStep step_)
    : extensions(std::move(extensions_)),
      statusFn(status_),
      logFn(log_),
      progressFn(progress_),
      context(context_),
      step(std::move(step_)) {}

void InputWalk::status(const std::string& line1) const {
    if (statusFn != nullptr) statusFn(line1.c_str(), " ", context);
}

void InputWalk::addRoot(const std::string& path) { roots.add(path); }

void InputWalk::logText(const std::string& text) const {
    if (logFn != nullptr) logFn(text.c_str(), context);
}

bool InputWalk::followable(const std::string& path, bool warn) const {
    std::error_code error;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, error))) return true;
    std::filesystem::path target = std::filesystem::canonical(path, error);
    if (!error && roots.contains(target.string())) return true;
    if (warn)
        logText("Skipped the symbolic link \"" + path +
                "\": its target lies outside the listed files and directories.");
    return false;
}

InputWalk::Listing InputWalk::readDirectory(const std::string& directory, bool warn,
                                            bool* unreadable) const {
    int error = 0;
    std::string real;
    Listing listing;
    try {
        const VelkDirectory listed(directory, false);
        listing.prefix = listed.entryPrefix();
        listing.entries = listed.listEntries(&error, &real, &listing.leftOut);
    } catch (const VelkError&) {
        // Gone, or something else now, since the walk found it.
        struct stat info;
        error = ::stat(directory.c_str(), &info) == 0 ? ENOTDIR : errno;
    }
    if (error != 0) {
        if (unreadable != nullptr) *unreadable = true;
        if (warn)
            logText("Could not read the directory \"" + directory + "\" (" + std::strerror(error) +
                    ").");
        return listing;
    }
    // What was read, not what the name led to when the walk looked: a
    // folder swapped for a link since then is not walked.
    if (!roots.empty() && !real.empty() && !roots.contains(real)) {
        if (warn)
            logText("Skipped the directory \"" + directory +
                    "\": it lies outside the listed files and directories.");
        listing.entries.clear();
        listing.leftOut.clear();
    }
    listing.real = std::move(real);
    return listing;
}

std::vector<std::string> InputWalk::acceptedFiles(const Listing& listing, bool warn, int* named) const {
    // One read of the directory serves every extension, and only a link
    // needs a look at where it leads.
    std::vector<std::string> files;
    for (const std::string& extension : extensions) {
        const std::string pattern = "*." + extension;
        for (const VelkDirectory::Entry& entry : listing.entries) {
            if (entry.isDirectory || !matchesWildcard(pattern, entry.name)) continue;
            std::string file = listing.prefix + entry.name;
            if (!entry.isLink || followable(file, warn)) files.push_back(std::move(file));
            else if (named != nullptr) ++*named;
        }
        // A name the user would take for a source, which is none: never
        // opened (a FIFO would block the run), but named.
        for (const VelkDirectory::LeftOut& entry : listing.leftOut) {
            if (!warn || !matchesWildcard(pattern, entry.name)) continue;
            logText(leftOutText(listing.prefix + entry.name, entry));
            if (named != nullptr) ++*named;
        }
    }
    return files;
}

std::vector<std::string> InputWalk::subdirectories(const Listing& listing, bool warn) const {
    std::vector<std::string> children;
    for (const VelkDirectory::Entry& entry : listing.entries) {
        if (!entry.isDirectory) continue;
        std::string child = listing.prefix + entry.name;
        if (!entry.isLink || followable(child, warn)) children.push_back(std::move(child));
    }
    return children;
}

int InputWalk::countFiles(const std::string& directory) const {
    if (!directoryExists(directory))
        throw VelkError("Could not access directory \"" + terminalText(directory) + "\"");
    std::set<VelkFileId> visited;
    std::vector<std::string> pending{directory};
    int count = 0;
    while (!pending.empty()) {
        std::string current = std::move(pending.back());
        pending.pop_back();
        if (!firstVisit(visited, current)) continue;
        const Listing listing = readDirectory(current, false);
        count += static_cast<int>(acceptedFiles(listing, false).size());
        std::vector<std::string> children = subdirectories(listing, false);
        pending.insert(pending.end(), children.begin(), children.end());
    }
    return count;
}

int InputWalk::countEntry(const std::string& entry) const {
    std::string path = pathPart(stripTrailingSeparator(entry));
    if (isCommentedOut(path)) return 0;
    if (directoryExists(path)) return countFiles(path);
    if (fileExists(path)) return 1;
    throw VelkError("Could not access file or directory \"" + terminalText(path) + "\"");
}

bool InputWalk::walkEntry(const std::string& listEntry) {
    std::string entry = stripTrailingSeparator(listEntry);
    ProjectEntry split = splitProjectEntry(entry, true);
    // A commented-out directory is reported as one by walkDirectory.
    if (directoryExists(split.path)) {
        const int before = accepted;
        const int namedBefore = skippedNamed;
        const bool unreadableBefore = unreadableRoot;
        if (!walkDirectory(entry, true, "")) return false;
        // Said once for the entry, not for each of its folders; a folder
        // that could not be read, or a source that is none, has said so
        // itself.
        if (accepted == before && skippedNamed == namedBefore && !isCommentedOut(split.path) &&
            unreadableRoot == unreadableBefore) {
            std::string list;
            for (const std::string& extension : extensions)
                list += (list.empty() ? "" : ", ") + extension;
            logText("No file in \"" + split.path + "\" has one of the accepted extensions (" + list +
                    ").");
        }
        return true;
    }
    if (!documentFile(split.path, split.project.empty() ? "_no_project_" : split.project))
        return true;  // commented out: nothing was counted for it
    return fileDone();
}

bool InputWalk::walkDirectory(const std::string& rootEntry, bool rootFlag,
                              const std::string& rootPrefix) {
    struct Frame {
        std::string entry;
        bool root;
        std::string prefix;
        // Only an entry of the user's list names its project after "=";
        // a directory the walk finds is named as it stands ("src/a=b").
        bool listed;
    };
    // Depth first in listing order, as a recursive walk would go: a
    // directory's own files and project line come before its children.
    std::vector<Frame> pending{{rootEntry, rootFlag, rootPrefix, true}};
    std::set<VelkFileId> visited;
    while (!pending.empty()) {
        Frame frame = std::move(pending.back());
        pending.pop_back();
        if (isCommentedOut(frame.entry)) {
            status("Skipping commented-out directory " + frame.entry);
            continue;
        }
        ProjectEntry split = frame.listed ? splitProjectEntry(frame.entry, false)
                                          : ProjectEntry{slashSeparated(frame.entry),
                                                         projectNamedBy(frame.entry)};
        if (!firstVisit(visited, split.path)) continue;
        status("Directory " + frame.entry);
        std::string wanted = frame.prefix.empty() ? split.project
                                                  : frame.prefix + "." + split.project;
        bool unreadable = false;
        const Listing listing = readDirectory(split.path, true, &unreadable);
        std::string project = frame.entry.find('=') == std::string::npos
                                  ? distinctProject(wanted, split.path, listing.real)
                                  : wanted;
        if (unreadable && frame.listed) unreadableRoot = true;
        std::vector<std::string> files = acceptedFiles(listing, true, &skippedNamed);
        accepted += static_cast<int>(files.size());
        for (const std::string& file : files) {
            documentFile(file, project, true);
            if (!fileDone()) return false;
        }
        if (!files.empty())
            projectList += escapeListField(project == wanted ? split.project : project) + "|" +
                           escapeListField(split.path) + "\n";

        std::vector<std::string> children = subdirectories(listing, true);
        std::string childPrefix = frame.root ? "" : project;
        for (auto child = children.rbegin(); child != children.rend(); ++child)
            pending.push_back({*child, false, childPrefix, false});
    }
    return true;
}

std::string InputWalk::distinctProject(const std::string& wanted, const std::string& directory,
                                       const std::string& real) {
    std::error_code error;
    std::string resolved =
        !real.empty() ? real
                      : std::filesystem::weakly_canonical(std::filesystem::absolute(directory, error),
                                                          error)
                            .string();
    std::string project = wanted;
    for (int n = 2;; ++n) {
        auto [owner, added] = projectDirectories.emplace(project, resolved);
        if (added || owner->second == resolved) return project;
        project = wanted + "-" + std::to_string(n);
    }
}

bool InputWalk::documentFile(const std::string& listedPath, const std::string& project,
                             bool listed) {
    if (isCommentedOut(listedPath)) {
        status("Skipping commented-out file " + listedPath);
        return false;
    }
    std::string path = slashSeparated(listedPath);
    if (!seenFiles.insert(path).second) return true;  // each file is parsed once per run
    status("file " + path);
    std::string failure;
    try {
        // A FIFO or device named in the list would block the run in open().
        if (!listed) {
            std::error_code error;
            std::filesystem::file_status found = std::filesystem::status(path, error);
            if (std::filesystem::exists(found) && !std::filesystem::is_regular_file(found))
                throw VelkFileError("Not a regular file", path);
        }
        step(path, project);
        return true;
    } catch (const VelkEnvironmentError&) {
        throw;  // every other file would fail the same way
    } catch (const VelkError& e) {
        failure = e.getMessage();
    } catch (const std::exception& e) {
        failure = e.what();
    }
    if (logFn != nullptr) {
        std::string text = unsuccessfulParseText(failure, path);
        logFn(text.c_str(), context);
    }
    return true;
}

bool InputWalk::fileDone() {
    ++done;
    if (progressFn == nullptr) return true;
    // Never a total of 0 (a list of commented-out entries, or a file that
    // appeared after counting): the receiver divides by it.
    int reportedTotal = std::max(total, 1);
    int reportedDone = std::min(done / 2, reportedTotal);
    return progressFn(reportedDone, reportedTotal, context) != 0;
}

std::string missingInput(const std::vector<std::string>& entries) {
    for (const std::string& entry : entries) {
        const std::string path = pathPart(stripTrailingSeparator(entry));
        if (!isCommentedOut(path) && !fileExists(path)) return path;
    }
    return "";
}
