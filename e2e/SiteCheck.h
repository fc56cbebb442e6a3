// Checks of a generated site and of the file tree around it: every local
// link and frame source names an existing file and every fragment an
// anchor on its page; snapshots of a tree to prove that a run wrote nothing
// where it should not; page comparison that forgives the generation date.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace e2e {

// One reference taken from a page: the attribute's value as written.
struct PageLink {
    std::string tag;    // lower case: "a", "frame", ...
    std::string attr;   // "href" or "src"
    std::string value;  // raw attribute text, entities not yet decoded
};

struct PageScan {
    std::vector<PageLink> links;
    std::vector<std::string> anchors;  // <a name="...">, entity-decoded
};

// Reads the tags of one HTML text. Comments are skipped; tag and attribute
// names match without regard to case; values may be quoted either way or
// bare.
PageScan scanPage(const std::string& html);

// Character references (&amp; &lt; &#60; &#x3c; ...) replaced by their
// characters; an unknown or unterminated reference is kept as written.
std::string decodeEntities(const std::string& text);

// True for a value with a scheme ("http:", "mailto:", "javascript:") or a
// network path ("//host/..."): nothing local to check.
bool isExternalReference(const std::string& value);

struct LinkFault {
    std::filesystem::path page;  // relative to the site root
    std::string reference;       // the attribute value as written
    std::string reason;
};

// Every .html file below root is scanned; each local reference must name an
// existing regular file inside root and each fragment an anchor of the
// page it leads to.
std::vector<LinkFault> checkLinks(const std::filesystem::path& root);
std::string describe(const std::vector<LinkFault>& faults, std::size_t limit = 40);

// The pages below root (relative paths) that no chain of local links and
// frame sources from the start page reaches: pages a reader can never open.
std::vector<std::string> unreachablePages(const std::filesystem::path& root, const std::string& start);

// Every regular file below root (relative paths, sorted).
std::vector<std::string> listFiles(const std::filesystem::path& root);

// Path (relative to root) to a summary of the entry: its kind, size,
// modification time and a digest of its bytes. Entries under the excluded
// relative paths are left out.
using TreeSnapshot = std::map<std::string, std::string>;
TreeSnapshot snapshotTree(const std::filesystem::path& root,
                          const std::vector<std::string>& excluded = {});
// The entries added, removed or changed between two snapshots, one a line.
std::string diffSnapshots(const TreeSnapshot& before, const TreeSnapshot& after);

// Every file below root with the lines that hold needle (the generator
// comment that carries the date and time) replaced by a fixed marker.
std::map<std::string, std::string> readSiteNormalised(const std::filesystem::path& root,
                                                      const std::string& needle);

std::string readFile(const std::filesystem::path& file);

}  // namespace e2e
