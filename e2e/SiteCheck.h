// Checks of a generated site and of the file tree around it: every local
// link and frame source names an existing file and every fragment an
// anchor on its page; snapshots of a tree to prove that a run wrote nothing
// where it should not; page comparison that forgives the generation date.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
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
    std::vector<std::string> anchors;  // <a name="..."> and any element's id="...", entity-decoded
};

// Reads the tags of one HTML text. Comments are skipped as a browser
// skips them ("<!-->" and "<!--->" are empty, "--!>" ends one, as "-->"
// does); tag and attribute names match without regard to case; values may
// be quoted either way or bare.
PageScan scanPage(const std::string& html);

// An element that a page opens and does not close: never, or not before
// the end tag of an element that holds it. Elements whose end tag may be
// left out (p, li, dd, td ...) and empty ones (br, img ...) never count.
struct UnclosedElement {
    std::string element;  // lower case
    std::size_t line;     // of its start tag, 1 for the first
    std::string reason;
};
std::vector<UnclosedElement> unclosedElements(const std::string& html);

// Character references (&amp; &lt; &#60; &#x3c; ...) replaced by their
// characters; an unknown or unterminated reference is kept as written.
std::string decodeEntities(const std::string& text);

// The text a browser shows of a page: tags and comments gone (a block
// element stands apart from the text around it), entities decoded, every
// run of blanks (no-break spaces too) one space.
std::string shownText(const std::string& html);

// The text of a page as a browser lays it out, one entry per line: a
// block element (p, div, br, dl, dt, dd, li, tr, h1 to h6, pre, hr,
// blockquote ...) ends a line, and inside pre the page's own line breaks
// do too. Character references are read; elsewhere runs of blanks (a
// non-breaking space among them) show as one blank. Lines are trimmed and
// empty ones left out; comments and the contents of script, style and
// title are not shown.
std::vector<std::string> pageTextLines(const std::string& html);

// A link of a page as a reader follows it: the text it shows (as
// shownText reads it, trimmed) and where it leads, resolved from the page
// as a browser resolves it: the file relative to the site's root (entities
// and percent escapes read), then "#" and the fragment when there is one;
// an external reference as written.
struct FollowedLink {
    std::string text;
    std::string target;
    bool operator==(const FollowedLink&) const = default;
};
// The <a href> links of the page below siteRoot, in page order.
std::vector<FollowedLink> followedLinks(const std::filesystem::path& siteRoot,
                                        const std::filesystem::path& page);

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

// The link targets that authors wrote themselves in their sources: the
// href values of the sources' own tags, and those that begin with the
// inline tag for the path to the site's root. A link whose target is one of
// them is the author's, whether it resolves or not.
class AuthoredLinks {
public:
    AuthoredLinks() = default;
    // Reads every regular file below each root (a root may be a file),
    // except what lies inside `site` and every page the program writes
    // (its head carries the generator's comment), wherever it lies: a site
    // among its sources is the check's subject, an older one beside it no
    // author's text.
    explicit AuthoredLinks(const std::vector<std::filesystem::path>& sourceRoots,
                           const std::filesystem::path& site = {});
    // True when the reference, as written in a page or entity-decoded, is
    // an href of the sources; or when it is a run of "../" and ".." followed
    // by what an href of the sources writes after the root tag.
    bool contains(const std::string& reference) const;
    std::size_t size() const { return hrefs.size() + rootRelative.size(); }

private:
    void addSource(const std::string& text);
    std::set<std::string> hrefs;
    std::set<std::string> rootRelative;
};

struct ElementFault {
    std::filesystem::path page;  // relative to the site root
    UnclosedElement element;
};

// Everything wrong with a generated site, sorted by what is to blame.
struct SiteReport {
    std::size_t pages = 0;
    std::size_t localLinks = 0;
    std::vector<LinkFault> broken;      // generated links: file or anchor missing
    std::vector<LinkFault> outside;     // generated links that leave the site
    std::vector<LinkFault> authored;    // links from the sources that do not resolve
    std::vector<ElementFault> unclosed;
    bool clean() const { return broken.empty() && outside.empty() && unclosed.empty(); }
};
SiteReport checkSite(const std::filesystem::path& root, const AuthoredLinks& authored);
// A summary of the report, each list cut after limit entries.
std::string describe(const SiteReport& report, std::size_t limit = 40);

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
