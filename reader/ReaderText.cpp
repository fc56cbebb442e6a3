#include "reader/ReaderText.h"

bool matchesWordAt(const std::string& word, const std::string& text, std::size_t pos) {
    if (word.empty() || pos > text.size() || text.size() - pos < word.size()) return false;
    if (pos > 0 && isWordChar(text[pos - 1])) return false;
    if (text.compare(pos, word.size(), word) != 0) return false;
    std::size_t after = pos + word.size();
    return after == text.size() || !isWordChar(text[after]);
}

std::string lastChars(const std::string& text, std::size_t n) {
    return text.size() <= n ? text : text.substr(text.size() - n);
}

std::string trimRight(const std::string& text, char c) {
    std::size_t end = text.size();
    while (end > 0 && text[end - 1] == c) --end;
    return text.substr(0, end);
}

std::string stripLeading(const std::string& text, char c) {
    std::size_t start = 0;
    while (start < text.size() && text[start] == c) ++start;
    if (text.size() - start > 1 && isBlankChar(text[start])) ++start;
    return text.substr(start);
}

std::string trimBlanks(const std::string& text) {
    std::size_t start = 0, end = text.size();
    while (start < end && isBlankChar(text[start])) ++start;
    while (end > start && isBlankChar(text[end - 1])) --end;
    return text.substr(start, end - start);
}

std::string removeAll(const std::string& text, const std::string& what) {
    if (what.empty()) return text;
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    for (std::size_t hit; (hit = text.find(what, pos)) != std::string::npos; pos = hit + what.size())
        out.append(text, pos, hit - pos);
    out.append(text, pos, std::string::npos);
    return out;
}
