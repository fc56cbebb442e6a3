#include "e2e/SiteCheck.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace e2e {

namespace {

std::string lower(std::string text) {
    for (auto& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
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

PageScan scanPage(const std::string& html) {
    PageScan scan;
    std::size_t i = 0;
    const std::size_t n = html.size();
    while ((i = html.find('<', i)) != std::string::npos) {
        if (html.compare(i, 4, "<!--") == 0) {
            const auto end = html.find("-->", i + 4);
            i = end == std::string::npos ? n : end + 3;
            continue;
        }
        ++i;
        std::size_t start = i;
        while (i < n && std::isalnum(static_cast<unsigned char>(html[i]))) ++i;
        if (i == start) continue;  // "</x>", "<!DOCTYPE", or a lone "<" in text
        const std::string tag = lower(html.substr(start, i - start));
        while (i < n && html[i] != '>') {
            if (isSpace(html[i]) || html[i] == '/') {
                ++i;
                continue;
            }
            start = i;
            while (i < n && !isSpace(html[i]) && html[i] != '=' && html[i] != '>') ++i;
            const std::string attr = lower(html.substr(start, i - start));
            while (i < n && isSpace(html[i])) ++i;
            std::string value;
            bool hasValue = false;
            if (i < n && html[i] == '=') {
                hasValue = true;
                ++i;
                while (i < n && isSpace(html[i])) ++i;
                if (i < n && (html[i] == '"' || html[i] == '\'')) {
                    const char quote = html[i++];
                    const auto end = html.find(quote, i);
                    value = html.substr(i, end == std::string::npos ? n - i : end - i);
                    i = end == std::string::npos ? n : end + 1;
                } else {
                    start = i;
                    while (i < n && !isSpace(html[i]) && html[i] != '>') ++i;
                    value = html.substr(start, i - start);
                }
            }
            if (!hasValue) continue;
            if (attr == "href" ||
                (attr == "src" && (tag == "frame" || tag == "iframe" || tag == "img" || tag == "script")))
                scan.links.push_back({tag, attr, value});
            if (tag == "a" && attr == "name") scan.anchors.push_back(decodeEntities(value));
        }
    }
    return scan;
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

std::vector<LinkFault> checkLinks(const fs::path& siteRoot) {
    const fs::path root = fs::weakly_canonical(siteRoot);
    std::map<fs::path, std::set<std::string>> anchorsOf;
    std::map<fs::path, std::vector<PageLink>> linksOf;
    for (const auto& rel : listFiles(root)) {
        const fs::path page = root / rel;
        if (page.extension() != ".html" && page.extension() != ".htm") continue;
        PageScan scan = scanPage(readFile(page));
        anchorsOf[page].insert(scan.anchors.begin(), scan.anchors.end());
        linksOf[page] = std::move(scan.links);
    }

    std::vector<LinkFault> faults;
    for (const auto& [page, links] : linksOf) {
        const fs::path pageRel = page.lexically_relative(root);
        for (const auto& link : links) {
            std::string fragment;
            bool hasFragment = false;
            const fs::path file = resolveReference(page, link.value, fragment, hasFragment);
            if (file.empty()) continue;
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

}  // namespace e2e
