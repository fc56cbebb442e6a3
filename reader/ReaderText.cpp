#include "reader/ReaderText.h"

std::size_t unicodeBlankLength(std::string_view text, std::size_t pos) {
    if (pos >= text.size()) return 0;
    const auto at = [&text, pos](std::size_t k) {
        return pos + k < text.size() ? static_cast<unsigned char>(text[pos + k]) : 0u;
    };
    switch (at(0)) {
    case 0xC2:  // U+0085, U+00A0
        return at(1) == 0x85 || at(1) == 0xA0 ? 2 : 0;
    case 0xE1:  // U+1680
        return at(1) == 0x9A && at(2) == 0x80 ? 3 : 0;
    case 0xE2:  // U+2000 to U+200A, U+2028, U+2029, U+202F; U+205F
        if (at(1) == 0x80)
            return (at(2) >= 0x80 && at(2) <= 0x8A) || at(2) == 0xA8 || at(2) == 0xA9 || at(2) == 0xAF ? 3
                                                                                                          : 0;
        return at(1) == 0x81 && at(2) == 0x9F ? 3 : 0;
    case 0xE3:  // U+3000
        return at(1) == 0x80 && at(2) == 0x80 ? 3 : 0;
    default:
        return 0;
    }
}

bool matchesWordAt(std::string_view word, std::string_view text, std::size_t pos) {
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
