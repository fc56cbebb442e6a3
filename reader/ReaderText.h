// Small text operations shared by the macro expander, the preprocessor and
// the documentation-comment reader. All are total: any input, including
// empty texts and positions at or past the end, gives a defined result.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace readertext {

// The class of every byte, looked up once per character instead of a
// chain of comparisons: bit 1 identifier character, bit 2 white space.
inline constexpr std::array<unsigned char, 256> kCharClass = [] {
    std::array<unsigned char, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')
            classes[c] |= 1;
        if (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r') classes[c] |= 2;
    }
    return classes;
}();

}  // namespace readertext

// True for the characters that make up an identifier: ASCII letters, digits
// and '_'. Bytes above 127 are not identifier characters.
// Inline: the preprocessor asks for every character of every line.
inline bool isWordChar(char c) { return readertext::kCharClass[static_cast<unsigned char>(c)] & 1; }

// True for ' ', '\t', '\n', '\v', '\f' and '\r' (the C locale's isspace).
inline bool isBlankChar(char c) { return readertext::kCharClass[static_cast<unsigned char>(c)] & 2; }

// True when the eight bytes at p are all spaces: indentation is passed
// eight columns a test.
inline bool eightSpacesAt(const char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word == 0x2020202020202020ULL;
}

// The end of the run of blanks (isBlankChar) that starts at p, at most end;
// its line feeds are added to feeds.
inline const char* blankRunEnd(const char* p, const char* end, int& feeds) {
    while (p != end && isBlankChar(*p)) {
        if (*p == '\n') {
            ++feeds;
        } else if (end - p > 8 && p[1] == ' ' && eightSpacesAt(p + 1)) {
            p += 9;
            continue;
        }
        ++p;
    }
    return p;
}

// Where the blanks at the start of text end (text.size() when all are).
inline std::size_t leadingBlanks(std::string_view text) {
    std::size_t k = 0;
    while (text.size() - k >= 8 && eightSpacesAt(text.data() + k)) k += 8;
    while (k < text.size() && isBlankChar(text[k])) ++k;
    return k;
}

// The length in bytes of the UTF-8 encoded blank beyond ASCII that begins
// at text[pos] (a character of Unicode's White_Space property: U+0085,
// U+00A0, U+1680, U+2000 to U+200A, U+2028, U+2029, U+202F, U+205F,
// U+3000), or 0 when none does. Editors put these in code as indentation
// (a no-break space most often), where they are blanks like any other.
std::size_t unicodeBlankLength(std::string_view text, std::size_t pos);

// True when `word` occurs in `text` at `pos` as a whole identifier: the
// characters before and after it (where there are any) are not identifier
// characters. An empty word never matches.
bool matchesWordAt(std::string_view word, std::string_view text, std::size_t pos);

// The last n characters of the text; the whole text when it is shorter.
std::string lastChars(const std::string& text, std::size_t n);

// The text without its trailing run of `c`.
std::string trimRight(const std::string& text, char c);

// The text without its leading run of `c`; then, when more than one
// character is left and the first is white space, without that one
// white-space character. "" when the text holds nothing but `c`.
std::string stripLeading(const std::string& text, char c);

// The text without leading and trailing white space.
std::string trimBlanks(const std::string& text);

// The text with every occurrence of `what` (not empty) removed.
std::string removeAll(const std::string& text, const std::string& what);
