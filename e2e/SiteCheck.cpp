#include "e2e/SiteCheck.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>
#include <sstream>
#include <string_view>

namespace fs = std::filesystem;

namespace e2e {

namespace {

std::string lower(std::string text) {
    for (auto& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n\f");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n\f") - first + 1);
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

void appendUtf8(std::string& out, unsigned long code) {
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

std::string percentDecode(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::uint64_t digest(const std::string& bytes) {
    std::uint64_t h = 1469598103934665603ULL;
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 1099511628211ULL;
    }
    return h;
}

bool within(const fs::path& root, const fs::path& target) {
    const auto rel = target.lexically_relative(root);
    return !rel.empty() && *rel.begin() != "..";
}

// Where the comment that opens at `at` ("<!--") ends, as a browser reads
// it: "<!-->" and "<!--->" are empty comments; any other ends after the
// first "-->" or "--!>"; one left open runs to the end of the text.
std::size_t commentEnd(const std::string& html, std::size_t at) {
    const std::size_t body = at + 4;
    if (html.compare(body, 1, ">") == 0) return body + 1;
    if (html.compare(body, 2, "->") == 0) return body + 2;
    for (std::size_t dashes = html.find("--", body); dashes != std::string::npos;
         dashes = html.find("--", dashes + 1)) {
        if (html.compare(dashes + 2, 1, ">") == 0) return dashes + 3;
        if (html.compare(dashes + 2, 2, "!>") == 0) return dashes + 4;
    }
    return html.size();
}

}  // namespace

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string decodeEntities(const std::string& text) {
    static const std::map<std::string, unsigned long> named{
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}, {"nbsp", 0xA0}};
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t semi = text[i] == '&' ? text.find(';', i) : std::string::npos;
        if (semi == std::string::npos || semi - i > 10) {
            out += text[i++];
            continue;
        }
        const std::string name = text.substr(i + 1, semi - i - 1);
        bool decoded = false;
        if (name.size() > 1 && name[0] == '#') {
            const bool hex = name[1] == 'x' || name[1] == 'X';
            const std::string digits = name.substr(hex ? 2 : 1);
            const bool valid = !digits.empty() &&
                               std::all_of(digits.begin(), digits.end(), [hex](char c) {
                                   return hex ? std::isxdigit(static_cast<unsigned char>(c)) != 0
                                              : std::isdigit(static_cast<unsigned char>(c)) != 0;
                               });
            if (valid) {
                appendUtf8(out, std::stoul(digits, nullptr, hex ? 16 : 10));
                decoded = true;
            }
        } else if (auto it = named.find(lower(name)); it != named.end()) {
            appendUtf8(out, it->second);
            decoded = true;
        }
        if (decoded) {
            i = semi + 1;
        } else {
            out += text[i++];
        }
    }
    return out;
}

std::string shownText(const std::string& html) {
    static const std::set<std::string> blocks{"br", "p", "div", "table", "tr", "td", "th", "dl", "dt", "dd",
                                              "ul", "ol", "li", "h1", "h2", "h3", "h4", "hr", "pre", "center"};
    std::string text;
    for (std::size_t i = 0; i < html.size();) {
        if (html.compare(i, 4, "<!--") == 0) {
            i = commentEnd(html, i);
        } else if (html[i] == '<') {
            const std::size_t close = html.find('>', i);
            std::size_t name = i + 1;
            if (name < html.size() && html[name] == '/') ++name;
            std::size_t nameEnd = name;
            while (nameEnd < html.size() && std::isalnum(static_cast<unsigned char>(html[nameEnd]))) ++nameEnd;
            std::string element = html.substr(name, nameEnd - name);
            for (char& c : element) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (blocks.count(element)) text += ' ';
            i = close == std::string::npos ? html.size() : close + 1;
        } else {
            text += html[i++];
        }
    }
    text = e2e::decodeEntities(text);
    std::string collapsed;
    for (std::size_t i = 0; i < text.size(); ++i) {
        bool blank = std::isspace(static_cast<unsigned char>(text[i])) != 0;
        if (text.compare(i, 2, "\xC2\xA0") == 0) {
            blank = true;
            ++i;
        }
        if (blank && (collapsed.empty() || collapsed.back() == ' ')) continue;
        collapsed += blank ? ' ' : text[i];
    }
    return collapsed;
}

std::vector<std::string> pageTextLines(const std::string& html) {
    static const std::set<std::string> blocks{
        "address", "blockquote", "body", "br", "caption", "center", "dd", "div", "dl", "dt",
        "form", "h1", "h2", "h3", "h4", "h5", "h6", "head", "hr", "html", "li", "ol", "p",
        "pre", "table", "td", "th", "tr", "ul"};
    static const std::set<std::string> hidden{"script", "style", "title"};
    std::vector<std::string> lines;
    std::string line;
    bool blank = false;  // a blank is owed before the next word
    auto endLine = [&] {
        if (!line.empty()) lines.push_back(line);
        line.clear();
        blank = false;
    };
    auto addText = [&](const std::string& text, bool pre) {
        // A non-breaking space is a blank that is shown.
        const std::string shown = decodeEntities(text);
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const bool nbsp = shown.compare(i, 2, "\xC2\xA0") == 0;
            const char c = shown[i];
            if (pre && c == '\n') {
                endLine();
                continue;
            }
            if (nbsp || std::isspace(static_cast<unsigned char>(c))) {
                if (pre || nbsp) line += ' ';
                else blank = !line.empty();
                if (nbsp) ++i;
                continue;
            }
            if (blank) line += ' ';
            blank = false;
            line += c;
        }
    };
    int pre = 0;
    std::string hiddenIn;  // the element whose content is not shown
    std::size_t i = 0;
    while (i < html.size()) {
        if (html.compare(i, 4, "<!--") == 0) {
            i = commentEnd(html, i);
            continue;
        }
        const std::size_t lt = html.find('<', i);
        const std::size_t textEnd = lt == std::string::npos ? html.size() : lt;
        if (hiddenIn.empty()) addText(html.substr(i, textEnd - i), pre > 0);
        if (lt == std::string::npos) break;
        if (html.compare(lt, 4, "<!--") == 0) {
            i = lt;
            continue;
        }
        const std::size_t gt = html.find('>', lt);
        if (gt == std::string::npos) break;
        const bool closing = lt + 1 < html.size() && html[lt + 1] == '/';
        std::string name;
        for (std::size_t j = lt + (closing ? 2 : 1);
             j < gt && std::isalnum(static_cast<unsigned char>(html[j])); ++j)
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(html[j])));
        i = gt + 1;
        if (!hiddenIn.empty()) {
            if (closing && name == hiddenIn) hiddenIn.clear();
            continue;
        }
        if (!closing && hidden.count(name)) {
            hiddenIn = name;
            continue;
        }
        if (name == "pre") pre = std::max(0, pre + (closing ? -1 : 1));
        if (blocks.count(name)) endLine();
    }
    endLine();
    for (std::string& text : lines) {
        while (!text.empty() && text.back() == ' ') text.pop_back();
        text.erase(0, text.find_first_not_of(' '));
    }
    std::erase_if(lines, [](const std::string& text) { return text.empty(); });
    return lines;
}

bool isExternalReference(const std::string& value) {
    if (value.rfind("//", 0) == 0) return true;
    const auto colon = value.find(':');
    if (colon == std::string::npos || colon == 0) return false;
    const auto slash = value.find_first_of("/?#");
    if (slash != std::string::npos && slash < colon) return false;
    if (!std::isalpha(static_cast<unsigned char>(value[0]))) return false;
    return std::all_of(value.begin(), value.begin() + static_cast<long>(colon), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
    });
}

namespace {

struct TagAttribute {
    std::string name;   // lower case
    std::string value;  // as written
};

// One tag of a page: its lower-case name, whether it closes ("</x>"), its
// attributes and the line it starts on (1 for the first).
struct PageTag {
    std::string name;
    bool closing = false;
    std::vector<TagAttribute> attributes;
    std::size_t line = 1;
    std::size_t end = 0;  // the position after its ">"
};

// Calls visit for every tag of html in order. Comments are skipped, and so
// is the text of script and style elements; a "<" that no letter follows is
// text.
template <typename Visit>
void forEachTag(const std::string& html, Visit visit) {
    std::size_t i = 0;
    std::size_t line = 1;
    std::size_t counted = 0;  // line counts the breaks before this position
    const std::size_t n = html.size();
    auto lineAt = [&](std::size_t pos) {
        line += static_cast<std::size_t>(std::count(html.begin() + static_cast<long>(counted),
                                                    html.begin() + static_cast<long>(pos), '\n'));
        counted = pos;
        return line;
    };
    while ((i = html.find('<', i)) != std::string::npos) {
        if (html.compare(i, 4, "<!--") == 0) {
            i = commentEnd(html, i);
            continue;
        }
        PageTag tag;
        tag.line = lineAt(i);
        ++i;
        if (i < n && html[i] == '/') {
            tag.closing = true;
            ++i;
        }
        std::size_t start = i;
        while (i < n && std::isalnum(static_cast<unsigned char>(html[i]))) ++i;
        if (i == start || !std::isalpha(static_cast<unsigned char>(html[start])))
            continue;  // "<!DOCTYPE", or a lone "<" in text
        tag.name = lower(html.substr(start, i - start));
        while (i < n && html[i] != '>') {
            if (isSpace(html[i]) || html[i] == '/') {
                ++i;
                continue;
            }
            start = i;
            while (i < n && !isSpace(html[i]) && html[i] != '=' && html[i] != '>') ++i;
            TagAttribute attribute{lower(html.substr(start, i - start)), {}};
            while (i < n && isSpace(html[i])) ++i;
            if (i < n && html[i] == '=') {
                ++i;
                while (i < n && isSpace(html[i])) ++i;
                if (i < n && (html[i] == '"' || html[i] == '\'')) {
                    const char quote = html[i++];
                    const auto end = html.find(quote, i);
                    attribute.value = html.substr(i, end == std::string::npos ? n - i : end - i);
                    i = end == std::string::npos ? n : end + 1;
                } else {
                    start = i;
                    while (i < n && !isSpace(html[i]) && html[i] != '>') ++i;
                    attribute.value = html.substr(start, i - start);
                }
                tag.attributes.push_back(std::move(attribute));
            }
        }
        const bool rawText = !tag.closing && (tag.name == "script" || tag.name == "style");
        const std::string closer = "</" + tag.name;
        tag.end = i < n ? i + 1 : n;
        visit(tag);
        if (rawText) {
            // Case-insensitive search for the closing tag.
            std::size_t end = i;
            while (end < n && !(html[end] == '<' && lower(html.substr(end, closer.size())) == closer)) ++end;
            i = end;
        }
    }
}

// Elements whose end tag a page may not leave out. The others either have
// none (br, img, hr ...) or may end where the next one begins (p, li, dd,
// td ...), as the pages written in the old style rely on.
bool needsEndTag(const std::string& name) {
    static const std::set<std::string> names{
        "a",      "abbr",   "b",      "big",    "blockquote", "button",   "caption", "center",
        "cite",   "code",   "dfn",    "div",    "dl",         "em",       "font",    "form",
        "frameset", "h1",   "h2",     "h3",     "h4",         "h5",       "h6",      "i",
        "kbd",    "label",  "map",    "noframes", "object",   "ol",       "pre",     "q",
        "s",      "samp",   "select", "small",  "span",       "strike",   "strong",  "sub",
        "sup",    "table",  "textarea", "title", "tt",        "u",        "ul",      "var"};
    return names.count(name) != 0;
}

}  // namespace

PageScan scanPage(const std::string& html) {
    PageScan scan;
    forEachTag(html, [&](const PageTag& tag) {
        if (tag.closing) return;
        for (const auto& attribute : tag.attributes) {
            if (attribute.name == "href" ||
                (attribute.name == "src" && (tag.name == "frame" || tag.name == "iframe" ||
                                             tag.name == "img" || tag.name == "script")))
                scan.links.push_back({tag.name, attribute.name, attribute.value});
            // An author's heading (<h2 id="usage">) is as much a target as
            // the pages' own <a name>.
            if ((tag.name == "a" && attribute.name == "name") || attribute.name == "id")
                scan.anchors.push_back(decodeEntities(attribute.value));
        }
    });
    return scan;
}

std::vector<UnclosedElement> unclosedElements(const std::string& html) {
    struct Open {
        std::string name;
        std::size_t line;
    };
    std::vector<Open> open;
    std::vector<UnclosedElement> result;
    forEachTag(html, [&](const PageTag& tag) {
        if (!needsEndTag(tag.name)) return;
        if (!tag.closing) {
            open.push_back({tag.name, tag.line});
            return;
        }
        auto match = std::find_if(open.rbegin(), open.rend(),
                                  [&](const Open& o) { return o.name == tag.name; });
        if (match == open.rend()) return;  // closes nothing: no element left open
        // Whatever was opened inside the matched element and is still open
        // is cut off by its end tag.
        const auto keep = open.size() - static_cast<std::size_t>(match - open.rbegin()) - 1;
        for (auto k = open.size(); k-- > keep + 1;)
            result.push_back({open[k].name, open[k].line, "cut off by </" + tag.name + ">"});
        open.resize(keep);
    });
    for (const auto& o : open) result.push_back({o.name, o.line, "never closed"});
    return result;
}

std::vector<std::string> listFiles(const fs::path& root) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) files.push_back(entry.path().lexically_relative(root).string());
    std::sort(files.begin(), files.end());
    return files;
}

namespace {

// The file a local reference leads to from page, or an empty path for an
// external one; fragment receives the text after "#" (empty when none).
fs::path resolveReference(const fs::path& page, const std::string& raw, std::string& fragment,
                          bool& hasFragment) {
    const std::string value = decodeEntities(raw);
    fragment.clear();
    hasFragment = false;
    if (isExternalReference(value)) return {};
    const auto hash = value.find('#');
    if (hash != std::string::npos) {
        fragment = value.substr(hash + 1);
        hasFragment = !fragment.empty();
    }
    std::string target = value.substr(0, hash);
    target = percentDecode(target.substr(0, target.find('?')));
    if (target.empty()) return page;
    return (target[0] == '/' ? fs::path(target) : page.parent_path() / target).lexically_normal();
}

}  // namespace

std::vector<std::string> unreachablePages(const fs::path& siteRoot, const std::string& start) {
    const fs::path root = fs::weakly_canonical(siteRoot);
    std::set<fs::path> seen{(root / start).lexically_normal()};
    std::vector<fs::path> queue(seen.begin(), seen.end());
    while (!queue.empty()) {
        const fs::path page = queue.back();
        queue.pop_back();
        if (!fs::is_regular_file(page) || (page.extension() != ".html" && page.extension() != ".htm"))
            continue;
        for (const auto& link : scanPage(readFile(page)).links) {
            std::string fragment;
            bool hasFragment = false;
            const fs::path file = resolveReference(page, link.value, fragment, hasFragment);
            if (!file.empty() && seen.insert(file).second) queue.push_back(file);
        }
    }
    std::vector<std::string> result;
    for (const auto& rel : listFiles(root)) {
        const fs::path file = root / rel;
        if ((file.extension() == ".html" || file.extension() == ".htm") && seen.count(file) == 0)
            result.push_back(rel);
    }
    return result;
}

namespace {

bool isPage(const fs::path& file) { return file.extension() == ".html" || file.extension() == ".htm"; }

// The link faults of every page below root, and (when elements is given)
// the elements each page leaves open.
std::vector<LinkFault> scanSite(const fs::path& root, std::size_t* pages, std::size_t* localLinks,
                                std::vector<ElementFault>* elements) {
    std::map<fs::path, std::set<std::string>> anchorsOf;
    std::map<fs::path, std::vector<PageLink>> linksOf;
    for (const auto& rel : listFiles(root)) {
        const fs::path page = root / rel;
        if (!isPage(page)) continue;
        const std::string html = readFile(page);
        PageScan scan = scanPage(html);
        anchorsOf[page].insert(scan.anchors.begin(), scan.anchors.end());
        linksOf[page] = std::move(scan.links);
        if (elements)
            for (auto& element : unclosedElements(html)) elements->push_back({rel, std::move(element)});
    }
    if (pages) *pages = linksOf.size();

    std::vector<LinkFault> faults;
    for (const auto& [page, links] : linksOf) {
        const fs::path pageRel = page.lexically_relative(root);
        for (const auto& link : links) {
            std::string fragment;
            bool hasFragment = false;
            const fs::path file = resolveReference(page, link.value, fragment, hasFragment);
            if (file.empty()) continue;
            if (localLinks) ++*localLinks;
            if (!within(root, file)) {
                faults.push_back({pageRel, link.value, "leads outside the site"});
                continue;
            }
            if (!fs::is_regular_file(file)) {
                faults.push_back({pageRel, link.value, "names no file"});
                continue;
            }
            if (!hasFragment) continue;
            const auto anchors = anchorsOf.find(file);
            if (anchors == anchorsOf.end()) continue;  // not a page: no anchors to check
            if (anchors->second.count(fragment) == 0)
                faults.push_back({pageRel, link.value, "no such anchor on " +
                                                           file.lexically_relative(root).string()});
        }
    }
    return faults;
}

// "{@docRoot}" in any letter case at the start of value: the length of the
// tag, else 0.
std::size_t rootTagLength(const std::string& value) {
    static const std::string tag = "{@docroot}";
    return value.size() >= tag.size() && lower(value.substr(0, tag.size())) == tag ? tag.size() : 0;
}

// True for a page the program wrote: the generator's comment stands in
// the head of every page of either module. An older site kept among the
// sources holds the generated links of its day, not an author's. (A
// source listing shows its file's tags as text: it holds no link.)
bool writtenByTheProgram(const std::string& text) {
    return std::string_view(text).substr(0, 4096).find("<!-- Generated by Vantry") != std::string::npos;
}

}  // namespace

AuthoredLinks::AuthoredLinks(const std::vector<fs::path>& sourceRoots, const fs::path& site) {
    const fs::path siteRoot = site.empty() ? fs::path() : fs::weakly_canonical(site);
    auto inSite = [&](const fs::path& path) {
        if (siteRoot.empty()) return false;
        const fs::path real = fs::weakly_canonical(path);
        return real == siteRoot || within(siteRoot, real);
    };
    for (const auto& root : sourceRoots) {
        if (inSite(root)) continue;
        if (fs::is_regular_file(root)) {
            addSource(readFile(root));
            continue;
        }
        for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
            if (it->is_directory() && inSite(it->path())) {
                it.disable_recursion_pending();
                continue;
            }
            if (it->is_regular_file()) addSource(readFile(it->path()));
        }
    }
}

void AuthoredLinks::addSource(const std::string& source) {
    if (writtenByTheProgram(source)) return;
    // A tag of a documentation comment may go on over lines that start
    // with the comment's "*".
    std::string text;
    text.reserve(source.size());
    std::istringstream lines(source);
    std::string line;
    while (std::getline(lines, line)) {
        const auto first = line.find_first_not_of(" \t");
        if (first != std::string::npos && line[first] == '*' && line.compare(first, 2, "*/") != 0)
            text.append(line, first + 1, std::string::npos);
        else
            text += line;
        text += '\n';
    }
    forEachTag(text, [&](const PageTag& tag) {
        for (const auto& attribute : tag.attributes) {
            if (attribute.name != "href" && attribute.name != "src") continue;
            const std::string value = trimmed(attribute.value);
            if (const std::size_t skip = rootTagLength(value)) {
                rootRelative.insert(value.substr(skip));
                rootRelative.insert(decodeEntities(value.substr(skip)));
            } else {
                hrefs.insert(value);
                hrefs.insert(decodeEntities(value));
            }
        }
    });
}

bool AuthoredLinks::contains(const std::string& reference) const {
    if (hrefs.count(reference) || hrefs.count(decodeEntities(reference))) return true;
    // The root tag becomes the page's way up: "..", "../..", or folder
    // names followed by as many ".." on a page in the site's root
    // ("projects/..", "sub/dir/../..").
    auto rootRelativeFrom = [&](std::size_t at) {
        const std::string rest = reference.substr(at);
        return rootRelative.count(rest) != 0 || rootRelative.count(decodeEntities(rest)) != 0;
    };
    for (std::size_t up = reference.find(".."); up != std::string::npos; up = reference.find("..", up + 1)) {
        const std::string way = reference.substr(0, up + 2);
        const bool onlyUp = way.find_first_not_of("./") == std::string::npos;
        const bool folderUp = way.size() > 3 && way.compare(way.size() - 3, 3, "/..") == 0 &&
                              fs::path(way).lexically_normal() == ".";
        if ((onlyUp || folderUp) && rootRelativeFrom(up + 2)) return true;
    }
    return false;
}

std::vector<LinkFault> checkLinks(const fs::path& siteRoot) {
    return scanSite(fs::weakly_canonical(siteRoot), nullptr, nullptr, nullptr);
}

SiteReport checkSite(const fs::path& siteRoot, const AuthoredLinks& authored) {
    SiteReport report;
    const auto faults =
        scanSite(fs::weakly_canonical(siteRoot), &report.pages, &report.localLinks, &report.unclosed);
    for (const auto& fault : faults) {
        if (authored.contains(fault.reference))
            report.authored.push_back(fault);
        else if (fault.reason == "leads outside the site")
            report.outside.push_back(fault);
        else
            report.broken.push_back(fault);
    }
    return report;
}

std::string describe(const SiteReport& report, std::size_t limit) {
    std::ostringstream text;
    text << report.pages << " pages, " << report.localLinks << " local links\n";
    auto links = [&](const char* title, const std::vector<LinkFault>& faults) {
        text << title << ": " << faults.size() << "\n";
        for (std::size_t i = 0; i < faults.size() && i < limit; ++i)
            text << "  " << faults[i].page.string() << ": \"" << faults[i].reference << "\" "
                 << faults[i].reason << "\n";
        if (faults.size() > limit) text << "  ...\n";
    };
    links("broken generated links", report.broken);
    links("generated links outside the site", report.outside);
    text << "unclosed elements: " << report.unclosed.size() << "\n";
    for (std::size_t i = 0; i < report.unclosed.size() && i < limit; ++i) {
        const auto& fault = report.unclosed[i];
        text << "  " << fault.page.string() << ":" << fault.element.line << ": <" << fault.element.element
             << "> " << fault.element.reason << "\n";
    }
    if (report.unclosed.size() > limit) text << "  ...\n";
    links("links written in the sources that do not resolve (not counted)", report.authored);
    return text.str();
}

std::string describe(const std::vector<LinkFault>& faults, std::size_t limit) {
    std::ostringstream text;
    text << faults.size() << " broken reference(s)\n";
    for (std::size_t i = 0; i < faults.size() && i < limit; ++i)
        text << "  " << faults[i].page.string() << ": \"" << faults[i].reference << "\" "
             << faults[i].reason << "\n";
    if (faults.size() > limit) text << "  ...\n";
    return text.str();
}

TreeSnapshot snapshotTree(const fs::path& root, const std::vector<std::string>& excluded) {
    TreeSnapshot snapshot;
    if (!fs::exists(root)) return snapshot;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        const std::string rel = it->path().lexically_relative(root).string();
        if (std::find(excluded.begin(), excluded.end(), rel) != excluded.end()) {
            if (it->is_directory()) it.disable_recursion_pending();
            continue;
        }
        std::ostringstream summary;
        const auto status = it->symlink_status();
        if (fs::is_symlink(status)) {
            summary << "link " << fs::read_symlink(it->path()).string();
        } else if (fs::is_directory(status)) {
            summary << "dir";
        } else {
            summary << "file " << it->file_size() << " "
                    << it->last_write_time().time_since_epoch().count() << " "
                    << digest(readFile(it->path()));
        }
        snapshot[rel] = summary.str();
    }
    return snapshot;
}

std::string diffSnapshots(const TreeSnapshot& before, const TreeSnapshot& after) {
    std::ostringstream text;
    for (const auto& [path, summary] : before) {
        const auto it = after.find(path);
        if (it == after.end())
            text << "removed: " << path << "\n";
        else if (it->second != summary)
            text << "changed: " << path << "\n";
    }
    for (const auto& [path, summary] : after)
        if (before.count(path) == 0) text << "added: " << path << "\n";
    return text.str();
}

std::map<std::string, std::string> readSiteNormalised(const fs::path& root, const std::string& needle) {
    std::map<std::string, std::string> site;
    for (const auto& rel : listFiles(root)) {
        std::istringstream in(readFile(root / rel));
        std::string text;
        std::string line;
        while (std::getline(in, line)) {
            text += line.find(needle) == std::string::npos ? line : std::string("[generator line]");
            text += '\n';
        }
        site[rel] = std::move(text);
    }
    return site;
}

std::vector<FollowedLink> followedLinks(const fs::path& siteRoot, const fs::path& page) {
    const std::string html = readFile(page);
    const fs::path root = fs::weakly_canonical(siteRoot);
    const fs::path at = fs::weakly_canonical(page);
    std::vector<FollowedLink> links;
    // The open links, innermost last: where each one's text begins.
    std::vector<std::pair<std::size_t, std::string>> open;
    std::size_t tagStart = 0;
    forEachTag(html, [&](const PageTag& tag) {
        if (tag.name != "a") return;
        if (tag.closing) {
            if (open.empty()) return;
            tagStart = html.rfind("</", tag.end);
            const auto& [textStart, href] = open.back();
            const std::string shown = trimmed(shownText(html.substr(textStart, tagStart - textStart)));
            std::string fragment;
            bool hasFragment = false;
            const fs::path target = resolveReference(at, href, fragment, hasFragment);
            std::string where = target.empty() ? decodeEntities(href)
                                               : target.lexically_relative(root).generic_string();
            if (!target.empty() && hasFragment) where += "#" + fragment;
            links.push_back({shown, where});
            open.pop_back();
            return;
        }
        for (const auto& attribute : tag.attributes)
            if (attribute.name == "href") open.emplace_back(tag.end, attribute.value);
    });
    return links;
}

}  // namespace e2e
