#include "modules/standard/PageFirstSentence.h"

#include "modules/common/ModuleText.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <unordered_map>
#include <vector>

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

// Whether "<name>" (any case) opens at or before a position, for the
// closing tags met right after a cut. Searching the text again for every
// such tag would cost the text's length per tag; instead one pass hashes
// what follows each "<" up to its first ">", and a name is looked up in
// time of its own length.
class OpeningTags {
public:
    explicit OpeningTags(std::string_view text) : text(text) {
        prefix1.assign(text.size() + 1, 0);
        prefix2.assign(text.size() + 1, 0);
        power1.assign(text.size() + 1, 1);
        power2.assign(text.size() + 1, 1);
        for (std::size_t i = 0; i < text.size(); ++i) {
            std::uint64_t c = static_cast<unsigned char>(lowered(text[i])) + 1u;
            prefix1[i + 1] = (prefix1[i] * base1 + c) % modulus1;
            prefix2[i + 1] = (prefix2[i] * base2 + c) % modulus2;
            power1[i + 1] = power1[i] * base1 % modulus1;
            power2[i + 1] = power2[i] * base2 % modulus2;
        }
        std::size_t nextClose = 0;
        for (std::size_t p = text.find('<'); p != none; p = text.find('<', p + 1)) {
            if (nextClose <= p) nextClose = text.find('>', p);
            if (nextClose == none) break;
            first.emplace(keyOf(p + 1, nextClose), p);  // keeps the earliest
        }
    }

    // True when "<" + text[from, to) + ">" (any case) starts at or before
    // `last`; text[from, to) holds no ">".
    bool opensAtOrBefore(std::size_t from, std::size_t to, std::size_t last) const {
        // Such an opening ends at the first ">" after its "<", so it was
        // hashed; every text hashed alike starts no earlier than the entry.
        auto found = first.find(keyOf(from, to));
        if (found == first.end() || found->second > last) return false;
        std::size_t length = to - from;
        std::size_t at = found->second;
        bool same = at + 1 + length < text.size() && text[at + 1 + length] == '>';
        for (std::size_t i = 0; same && i < length; ++i)
            same = lowered(text[at + 1 + i]) == lowered(text[from + i]);
        if (same) return true;
        // Two texts hashed alike: ask the text itself.
        std::string opening = "<";
        for (char c : text.substr(from, length)) opening += lowered(c);
        opening += '>';
        return findLowered(text.substr(0, last + opening.size()), opening) != none;
    }

private:
    static constexpr std::uint64_t modulus1 = 2147483647;  // both below 2^31, so
    static constexpr std::uint64_t modulus2 = 2147483629;  // products fit 64 bits
    static constexpr std::uint64_t base1 = 257;
    static constexpr std::uint64_t base2 = 263;

    std::uint64_t keyOf(std::size_t from, std::size_t to) const {
        std::size_t length = to - from;
        std::uint64_t h1 =
            (prefix1[to] + modulus1 - prefix1[from] * power1[length] % modulus1) % modulus1;
        std::uint64_t h2 =
            (prefix2[to] + modulus2 - prefix2[from] * power2[length] % modulus2) % modulus2;
        return h1 << 32 | h2;
    }

    std::string_view text;
    std::vector<std::uint64_t> prefix1, prefix2, power1, power2;
    std::unordered_map<std::uint64_t, std::size_t> first;
};

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

    // An opening at or before the cut ends by close, so head alone answers
    // these. The first few are searched for directly; the index pays only
    // once those searches have read the text twice over.
    std::optional<OpeningTags> openings;
    std::size_t searched = 0;
    while (cut + 1 < text.size() && text[cut] == '<' && text[cut + 1] == '/') {
        std::size_t close = text.find('>', cut);
        if (close == none) {
            if (head) return false;
            break;
        }
        bool opened;
        if (openings) {
            opened = openings->opensAtOrBefore(cut + 2, close, cut);
        } else {
            std::string opening = "<";
            for (char c : text.substr(cut + 2, close - cut - 2)) opening += lowered(c);
            opening += '>';
            std::string_view window = text.substr(0, cut + opening.size());
            opened = findLowered(window, opening) != none;
            searched += window.size();
            if (searched > 2 * text.size()) openings.emplace(text);
        }
        if (!opened) break;
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
