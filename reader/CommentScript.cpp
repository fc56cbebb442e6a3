#include "reader/CommentScript.h"

#include "model/ModelText.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

// The elements that run, embed or restyle content, or redirect the page.
// Views, so that a name is first told apart by its length: a comment's
// tags are mostly short harmless ones ("<p>", "<BR>", "<code>").
constexpr std::string_view scriptElements[] = {"script", "style",  "iframe", "frame", "frameset",
                                               "object", "embed",  "applet", "base",  "meta",
                                               "link",   "svg",    "math",   "template", "noscript"};

// Schemes whose URLs run script, or show a document of their own.
constexpr const char* scriptSchemes[] = {"javascript:", "vbscript:", "data:", "livescript:"};

// Pictures are the one harmless use of data: URLs.
constexpr const char* pictureData[] = {"data:image/png", "data:image/gif", "data:image/jpeg",
                                       "data:image/webp"};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// True when text is word (in lower case) in any letter case.
bool equalsFolded(std::string_view text, std::string_view word) {
    if (text.size() != word.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (lower(text[i]) != word[i]) return false;
    return true;
}

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = lower(c);
    return out;
}

bool startsWith(std::string_view text, const char* prefix) {
    return text.substr(0, std::strlen(prefix)) == prefix;
}

// Character references decoded as a browser decodes them in an attribute
// value (numeric ones, and the named ones that can hide a scheme), in
// lower case, without blanks and control characters: what a URL's scheme
// is read from.
std::string urlAsRead(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        unsigned long code = static_cast<unsigned char>(value[i]);
        if (value[i] == '&' && i + 1 < value.size()) {
            std::size_t j = i + 1;
            if (value[j] == '#') {
                ++j;
                const bool hex = j < value.size() && (value[j] == 'x' || value[j] == 'X');
                if (hex) ++j;
                std::size_t digits = j;
                unsigned long number = 0;
                for (; j < value.size(); ++j) {
                    char c = lower(value[j]);
                    int digit = c >= '0' && c <= '9' ? c - '0' : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
                    if (digit < 0) break;
                    if (number < 0x110000) number = number * (hex ? 16 : 10) + static_cast<unsigned long>(digit);
                }
                if (j > digits) {
                    code = number;
                    if (j < value.size() && value[j] == ';') ++j;
                    i = j - 1;
                }
            } else {
                static constexpr struct {
                    const char* name;
                    char character;
                } named[] = {{"colon;", ':'}, {"tab;", '\t'}, {"newline;", '\n'}, {"amp;", '&'}};
                const std::string rest = lowered(value.substr(j, 9));
                for (const auto& entry : named) {
                    if (startsWith(rest, entry.name)) {
                        code = static_cast<unsigned char>(entry.character);
                        i = j + std::strlen(entry.name) - 1;
                        break;
                    }
                }
            }
        }
        if (code <= 0x20 || code == 0x7F) continue;
        out += code < 0x80 ? lower(static_cast<char>(code)) : '?';
    }
    return out;
}

bool runsScript(std::string_view url) {
    // Every scheme ends in ":", which only a character reference can hide:
    // most values (names, plain addresses) need no decoding at all.
    if (url.find_first_of(":&") == std::string_view::npos) return false;
    const std::string read = urlAsRead(url);
    for (const char* picture : pictureData)
        if (startsWith(read, picture)) return false;
    for (const char* scheme : scriptSchemes)
        if (startsWith(read, scheme)) return true;
    return false;
}

// name as written, in any letter case.
bool dangerousAttribute(std::string_view name, std::string_view value) {
    if (name.size() >= 2 && lower(name[0]) == 'o' && lower(name[1]) == 'n') return true;
    if (runsScript(value)) return true;
    if (equalsFolded(name, "style")) {
        const std::string read = urlAsRead(value);
        for (const char* part : {"expression(", "javascript:", "vbscript:", "behavior:", "-moz-binding"})
            if (read.find(part) != std::string::npos) return true;
    }
    return false;
}

// Where the "{@code ...}" or "{@literal ...}" tag that opens at `at` ends
// (after its "}"), or npos when no such tag opens there. The pages show
// what these tags hold as text, so nothing inside them is markup.
std::size_t codeTextEnd(std::string_view text, std::size_t at) {
    for (std::string_view tag : {std::string_view("{@code"), std::string_view("{@literal")}) {
        if (text.substr(at, tag.size()) != tag) continue;
        const std::size_t after = at + tag.size();
        if (after < text.size() && !isBlank(text[after]) && text[after] != '}') continue;
        const std::size_t close = inlineTagEnd(text, at + 2);
        return close == std::string_view::npos ? text.size() : close + 1;
    }
    return std::string_view::npos;
}

// name as written, in any letter case.
bool dangerousElement(std::string_view name) {
    // The names above have three to eight letters; "p", "a", "li", "br" and
    // the like have fewer.
    if (name.size() < 3 || name.size() > 8) return false;
    for (std::string_view element : scriptElements)
        if (equalsFolded(name, element)) return true;
    return false;
}

struct Tag {
    std::size_t end;  // index of the closing ">", or text.size() when none
    bool dangerous;
};

// Reads the tag whose "<" is at `at` (a letter or "/" and a letter follows
// it), as a browser's tokenizer reads it.
Tag readTag(std::string_view text, std::size_t at) {
    std::size_t i = at + 1;
    const bool endTag = text[i] == '/';
    if (endTag) ++i;
    std::size_t nameStart = i;
    while (i < text.size() && !isBlank(text[i]) && text[i] != '/' && text[i] != '>') ++i;
    bool dangerous = dangerousElement(text.substr(nameStart, i - nameStart));
    while (i < text.size() && text[i] != '>') {
        if (isBlank(text[i]) || text[i] == '/') {
            ++i;
            continue;
        }
        std::size_t attributeStart = i++;
        while (i < text.size() && !isBlank(text[i]) && text[i] != '/' && text[i] != '>' && text[i] != '=') ++i;
        const std::string_view name = text.substr(attributeStart, i - attributeStart);
        std::size_t after = i;
        while (after < text.size() && isBlank(text[after])) ++after;
        std::string_view value;
        if (after < text.size() && text[after] == '=') {
            i = after + 1;
            while (i < text.size() && isBlank(text[i])) ++i;
            if (i < text.size() && (text[i] == '"' || text[i] == '\'')) {
                std::size_t close = text.find(text[i], i + 1);
                if (close == std::string_view::npos) close = text.size();
                value = text.substr(i + 1, close - i - 1);
                i = close < text.size() ? close + 1 : close;
            } else {
                std::size_t valueStart = i;
                while (i < text.size() && !isBlank(text[i]) && text[i] != '>') ++i;
                value = text.substr(valueStart, i - valueStart);
            }
        }
        if (!endTag && dangerousAttribute(name, value)) dangerous = true;
    }
    return {i, dangerous};
}

}  // namespace

bool defuseCommentScript(std::string& text) {
    if (text.find('<') == std::string::npos) return false;
    // Where "<" or ">" becomes an entity, in text order.
    std::vector<std::size_t> defused;
    std::size_t at = 0;
    while ((at = findEither(text, at, '<', '{')) != std::string::npos) {
        if (text[at] == '{') {
            const std::size_t codeEnd = codeTextEnd(text, at);
            at = codeEnd == std::string::npos ? at + 1 : codeEnd;
            continue;
        }
        // The line breaks the reader puts between a comment's lines come
        // with every comment: passed at once.
        if (text.compare(at, 4, "<BR>") == 0) {
            at += 4;
            continue;
        }
        std::size_t next = at + 1;
        const bool startTag = next < text.size() && isLetter(text[next]);
        const bool endTag = next + 1 < text.size() && text[next] == '/' && isLetter(text[next + 1]);
        if (!startTag && !endTag) {
            at = next;
            continue;
        }
        const Tag tag = readTag(text, at);
        if (!tag.dangerous) {
            at = tag.end;
            continue;
        }
        defused.push_back(at);
        if (tag.end < text.size()) defused.push_back(tag.end);
        // What the tag held is text now: a "<" in a former attribute value
        // may open a tag of its own.
        at = next;
    }
    if (defused.empty()) return false;
    // A tag read again from inside a defused one may end at the same ">".
    std::sort(defused.begin(), defused.end());
    defused.erase(std::unique(defused.begin(), defused.end()), defused.end());
    std::string out;
    out.reserve(text.size() + defused.size() * 3);
    std::size_t from = 0;
    for (std::size_t position : defused) {
        out.append(text, from, position - from);
        out += text[position] == '<' ? "&lt;" : "&gt;";
        from = position + 1;
    }
    out.append(text, from, std::string::npos);
    text = std::move(out);
    return true;
}
