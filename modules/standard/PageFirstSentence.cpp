#include "modules/standard/PageFirstSentence.h"

#include "modules/standard/ModuleText.h"

#include <cstring>

namespace {

constexpr std::size_t none = std::string_view::npos;

bool isAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

char lowered(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::size_t earlier(std::size_t a, std::size_t b) { return a < b ? a : b; }

// True when text starts with pattern (lower case), ignoring the case of text.
bool startsWithLowered(std::string_view text, std::string_view pattern) {
    if (text.size() < pattern.size()) return false;
    for (std::size_t i = 0; i < pattern.size(); ++i)
        if (lowered(text[i]) != pattern[i]) return false;
    return true;
}

// Position of the first match of pattern (lower case, starting with a byte
// that is no letter) at or after from, ignoring the case of text.
std::size_t findLowered(std::string_view text, std::string_view pattern, std::size_t from = 0) {
    while (from < text.size() && text.size() - from >= pattern.size()) {
        const void* hit =
            std::memchr(text.data() + from, pattern[0], text.size() - from - pattern.size() + 1);
        if (!hit) return none;
        std::size_t at = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        if (startsWithLowered(text.substr(at), pattern)) return at;
        from = at + 1;
    }
    return none;
}

const std::string_view elementsToClose[] = {"i",    "b",   "a",          "u", "table",
                                            "code", "pre", "blockquote", "dl"};
constexpr std::size_t elementCount = sizeof elementsToClose / sizeof elementsToClose[0];

// Which of the elements the cut text opens ("<b" not followed by a letter
// or digit: "<br>" opens no "b") and which it closes ("</b>"), as bit sets.
void scanElements(std::string_view cut, unsigned& opened, unsigned& closed) {
    opened = closed = 0;
    for (std::size_t p = cut.find('<'); p != none; p = cut.find('<', p + 1)) {
        bool closing = p + 1 < cut.size() && cut[p + 1] == '/';
        std::string_view after = cut.substr(p + (closing ? 2 : 1));
        for (std::size_t e = 0; e < elementCount; ++e) {
            std::string_view element = elementsToClose[e];
            if (!startsWithLowered(after, element)) continue;
            if (closing) {
                if (after.size() > element.size() && after[element.size()] == '>')
                    closed |= 1u << e;
            } else if (after.size() == element.size() || !isAlnum(after[element.size()])) {
                opened |= 1u << e;
            }
        }
    }
}

// The cut of firstSentence. With `head` set, text may be followed by a tag
// list starting "<DL>" that is not shown here; then returns false whenever
// that rest could change the answer.
bool cutFirstSentence(std::string_view text, std::string_view skipWord, bool head,
                      std::string& out) {
    std::size_t lineBreak = earlier(findLowered(text, "<br>"), findLowered(text, "<p>"));
    if (lineBreak == 0) lineBreak = earlier(findLowered(text, "<br>", 3), findLowered(text, "<p>", 3));
    std::size_t markupEnd = earlier(lineBreak, findLowered(text, "<dl>"));

    std::size_t dot = findOutsideQuotes(text, '.', 0, true, false);
    while (dot != none && dot + 1 < text.size() && text[dot + 1] >= '0' && text[dot + 1] <= '9')
        dot = findOutsideQuotes(text, '.', dot + 1, true, false);
    if (dot != none && !skipWord.empty() && dot >= skipWord.size() &&
        text.compare(dot - skipWord.size(), skipWord.size(), skipWord) == 0)
        dot = findOutsideQuotes(text, '.', dot + 1, true, false);

    std::size_t cut = dot == none ? none : dot + 1;
    if (markupEnd != none && (cut == none || markupEnd < cut)) cut = markupEnd;
    if (cut == none) {
        if (!head) {
            out.assign(trimmedView(text));
            return true;
        }
        // Any tag list that follows starts with "<DL>", which ends the
        // sentence right here.
        cut = text.size();
    }

    while (cut + 1 < text.size() && text[cut] == '<' && text[cut + 1] == '/') {
        std::size_t close = text.find('>', cut);
        if (close == none) {
            if (head) return false;
            break;
        }
        std::string opening = "<";
        for (char c : text.substr(cut + 2, close - cut - 2)) opening += lowered(c);
        opening += '>';
        std::size_t open = findLowered(text, opening);
        if (open == none && head) return false;
        if (open == none || open > cut) break;
        cut = close + 1;
    }

    unsigned opened = 0, closed = 0;
    scanElements(text.substr(0, cut), opened, closed);
    std::string_view sentence = text.substr(0, cut);
    std::string extended;  // only used once a closing tag is appended
    bool appended = false;
    for (std::size_t e = 0; e < elementCount; ++e) {
        if (!(opened >> e & 1u) || (closed >> e & 1u)) continue;
        std::string closing = "</";
        closing += elementsToClose[e];
        closing += '>';
        std::size_t close = findLowered(text, closing);
        if (close != none) {
            sentence = text.substr(0, close + closing.size());
            appended = false;
        } else if (head) {
            return false;
        } else {
            if (!appended) extended.assign(sentence);
            extended += closing;
            appended = true;
        }
    }
    out.assign(trimmedView(appended ? std::string_view(extended) : sentence));
    return true;
}

}  // namespace

std::string firstSentence(const std::string& text, const std::string& skipWord) {
    std::string out;
    cutFirstSentence(text, skipWord, false, out);
    return out;
}

bool firstSentenceOfHead(std::string_view head, std::string_view skipWord, std::string& out) {
    if (head.size() < 2 || head.substr(head.size() - 2) != "\r\n") return false;
    return cutFirstSentence(head, skipWord, true, out);
}
