#include "platform/gui/FileFilter.h"

namespace gui {

namespace {

std::string trimmed(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find(separator, start);
        pieces.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return pieces;
        start = end + 1;
    }
}

}  // namespace

std::vector<FilterEntry> parseFileFilter(const std::string& filter) {
    std::vector<FilterEntry> entries;
    std::vector<std::string> fields = split(filter, '|');
    for (std::size_t i = 0; i < fields.size(); i += 2) {
        if (fields[i].empty()) break;
        FilterEntry entry;
        entry.description = fields[i];
        if (i + 1 < fields.size())
            for (const std::string& pattern : split(fields[i + 1], ';'))
                if (std::string p = trimmed(pattern); !p.empty()) entry.patterns.push_back(p);
        if (entry.patterns.empty()) entry.patterns.push_back("*");
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string nameFilter(const FilterEntry& entry) {
    std::string patterns;
    for (const std::string& pattern : entry.patterns) {
        if (!patterns.empty()) patterns += ' ';
        patterns += pattern == "*.*" ? "*" : pattern;
    }
    std::string text = entry.description;
    std::size_t open = text.rfind('(');
    std::size_t close = open == std::string::npos ? std::string::npos : text.find(')', open);
    if (close != std::string::npos) return text.substr(0, open) + "(" + patterns + ")" + text.substr(close + 1);
    return trimmed(text) + " (" + patterns + ")";
}

}  // namespace gui
