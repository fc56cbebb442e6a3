#include "modules/standard/PageFirstSentence.h"

#include "modules/common/ModuleText.h"

#include <array>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <optional>
#include <unordered_map>
#include <vector>

namespace {

constexpr std::size_t none = std::string_view::npos;

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

// Elements whose end tag a summary may not leave out; the others have none
// (br, img) or may end where the next one begins (p, li, dd).
constexpr std::string_view elementsToClose[] = {
    "a",   "abbr",   "b",     "big",   "blockquote", "center", "cite", "code",  "dfn",
    "div", "dl",     "em",    "font",  "h1",         "h2",     "h3",   "h4",    "h5",
    "h6",  "i",      "kbd",   "ol",    "pre",        "q",      "s",    "samp",  "small",
    "span", "strike", "strong", "sub", "sup",        "table",  "tt",   "u",     "ul",
    "var"};

// Element names are looked up for every tag of every summary: a name of
// letters and digits up to ten long is packed six bits a character (its
// case ignored) into one number, and compared as that.
constexpr std::size_t kLongestPacked = 10;

constexpr std::uint64_t packedCharacter(char c) {
    if (c >= '0' && c <= '9') return static_cast<std::uint64_t>(c - '0' + 1);
    if (c >= 'a' && c <= 'z') return static_cast<std::uint64_t>(c - 'a' + 11);
    if (c >= 'A' && c <= 'Z') return static_cast<std::uint64_t>(c - 'A' + 11);
    return 0;
}

// The packed name; 0 for an empty one, a longer one or one with other characters.
constexpr std::uint64_t packedName(std::string_view name) {
    if (name.empty() || name.size() > kLongestPacked) return 0;
    std::uint64_t key = 0;
    for (char c : name) {
        const std::uint64_t code = packedCharacter(c);
        if (code == 0) return 0;
        key = key << 6 | code;
    }
    return key;
}

constexpr auto packedCodes = [] {
    std::array<unsigned char, 256> codes{};
    for (int c = 0; c < 256; ++c) codes[static_cast<std::size_t>(c)] = static_cast<unsigned char>(packedCharacter(static_cast<char>(c)));
    return codes;
}();

// The packed names of the elements to close, in an open-addressed table
// (0 marks a free slot) twice their number or more.
constexpr std::size_t kElementSlots = 128;
static_assert(kElementSlots >= 2 * std::size(elementsToClose));

constexpr std::size_t elementSlot(std::uint64_t key) {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 57) & (kElementSlots - 1);
}

constexpr auto elementTable = [] {
    std::array<std::uint64_t, kElementSlots> slots{};
    for (std::string_view element : elementsToClose) {
        const std::uint64_t key = packedName(element);
        std::size_t i = elementSlot(key);
        while (slots[i] != 0 && slots[i] != key) i = (i + 1) & (kElementSlots - 1);
        slots[i] = key;
    }
    return slots;
}();

// Whether the element of the packed name must be closed.
bool mustBeClosed(std::uint64_t key) {
    if (key == 0) return false;
    for (std::size_t i = elementSlot(key);; i = (i + 1) & (kElementSlots - 1)) {
        if (elementTable[i] == key) return true;
        if (elementTable[i] == 0) return false;
    }
}

// Appends the name of the packed key, in lower case.
void appendPackedName(std::string& out, std::uint64_t key) {
    char name[kLongestPacked];
    std::size_t length = 0;
    for (; key != 0; key >>= 6) {
        const auto code = static_cast<unsigned>(key & 63);
        name[length++] = static_cast<char>(code <= 10 ? '0' + code - 1 : 'a' + code - 11);
    }
    while (length != 0) out += name[--length];
}

// The elements left open (their packed names), innermost last, as the tags of text[from, to)
// change them. An end tag closes its nearest open element of that name and
// whatever the author left open inside it; an end tag of nothing open is
// passed over. Returns the position after the last tag's ">" that empties
// the list, or none when the list is not empty at `to` (or was empty from
// the start and stays so, with stopWhenEmpty clear).
std::size_t trackElements(std::string_view text, std::size_t from, std::size_t to,
                          std::vector<std::uint64_t>& open, bool stopWhenEmpty) {
    for (std::size_t p = text.find('<', from); p != none && p < to; p = text.find('<', p + 1)) {
        bool closing = p + 1 < to && text[p + 1] == '/';
        std::size_t start = p + (closing ? 2 : 1);
        // The name (letters and digits) is packed as it is read.
        std::size_t end = start;
        std::uint64_t key = 0;
        for (; end < to; ++end) {
            const std::uint64_t code = packedCodes[static_cast<unsigned char>(text[end])];
            if (code == 0) break;
            key = key << 6 | code;
        }
        if (end - start > kLongestPacked || !mustBeClosed(key)) continue;
        std::size_t tagEnd = text.find('>', end);
        if (tagEnd == none || tagEnd >= to) return none;  // cut inside the tag
        if (!closing) {
            open.push_back(key);
        } else {
            for (std::size_t k = open.size(); k-- > 0;) {
                if (open[k] != key) continue;
                open.resize(k);
                if (stopWhenEmpty && open.empty()) return tagEnd + 1;
                break;
            }
        }
        p = tagEnd;
    }
    return none;
}

// True when position at lies inside a tag ("<" + letter or "/" ... ">").
bool insideTag(std::string_view text, std::size_t at) {
    std::size_t open = text.rfind('<', at);
    if (open == none) return false;
    std::size_t close = text.rfind('>', at);
    if (close != none && close > open) return false;
    return open + 1 < text.size() && (text[open + 1] == '/' || std::isalpha(static_cast<unsigned char>(text[open + 1])));
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

    // Neither the dot of a decimal number nor one inside a tag ends a
    // sentence.
    std::size_t dot = findOutsideQuotes(text, '.', 0, true, false);
    while (dot != none && ((dot + 1 < text.size() && text[dot + 1] >= '0' && text[dot + 1] <= '9') ||
                           insideTag(text, dot)))
        dot = findOutsideQuotes(text, '.', dot + 1, true, false);
    if (dot != none && !skipWord.empty() && dot >= skipWord.size() &&
        text.compare(dot - skipWord.size(), skipWord.size(), skipWord) == 0)
        dot = findOutsideQuotes(text, '.', dot + 1, true, false);

    std::size_t cut = dot == none ? none : dot + 1;
    if (markupEnd != none && (cut == none || markupEnd < cut)) cut = markupEnd;
    // The whole text is the sentence; after a head, any tag list that
    // follows starts with "<DL>", which ends the sentence right here.
    if (cut == none) cut = text.size();

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

    // Every element open at the cut (a link the module wrote around code
    // text, the author's own markup) ends with the sentence: the cut moves
    // past the end tag that closes the last of them, or, when the text
    // never closes them, the sentence gets their end tags.
    std::vector<std::uint64_t> open;
    trackElements(text, 0, cut, open, false);
    if (open.empty()) {
        out.assign(trimmedView(text.substr(0, cut)));
        return true;
    }
    std::vector<std::uint64_t> stillOpen = open;
    std::size_t closedAt = trackElements(text, cut, text.size(), stillOpen, true);
    if (closedAt != none) {
        out.assign(trimmedView(text.substr(0, closedAt)));
        return true;
    }
    // The tag list after the head may close them.
    if (head) return false;
    out.assign(trimmedView(text.substr(0, cut)));
    for (std::size_t k = open.size(); k-- > 0;) {
        out += "</";
        appendPackedName(out, open[k]);
        out += '>';
    }
    return true;
}

}  // namespace

void appendMissingEndTags(std::string& out, std::string_view text) {
    std::vector<std::uint64_t> open;
    trackElements(text, 0, text.size(), open, false);
    std::string endTags;
    for (std::size_t k = open.size(); k-- > 0;) {
        endTags += "</";
        appendPackedName(endTags, open[k]);
        endTags += '>';
    }
    out += endTags;
}

std::string firstSentence(const std::string& text, const std::string& skipWord) {
    std::string out;
    cutFirstSentence(text, skipWord, false, out);
    return out;
}

bool firstSentenceOfHead(std::string_view head, std::string_view skipWord, std::string& out) {
    if (head.size() < 2 || head.substr(head.size() - 2) != "\r\n") return false;
    return cutFirstSentence(head, skipWord, true, out);
}
