#include "run/SourceListing.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "VelkLib/VelkDirectory.h"
#include "VelkLib/VelkError.h"
#include "VelkLib/VelkFile.h"
#include "VelkLib/VelkPath.h"
#include "model/Keywords.h"
#include "model/ListingNames.h"
#include "reader/Literals.h"
#include "reader/Preprocessor.h"

// The listing scans the whole text held in memory with an index instead of
// going through the token layer's stream one character at a time. It cuts
// the text as readToken(in, &line, true, 0, 0, true, &blank, false) does;
// every rule below mirrors one of the token layer's. The one departure: the
// token layer drops the blanks after a "-", and a listing must reproduce its
// source, so those blanks stay in the listed text.

namespace {

// Character classes of the scanner and of the writer, in the C locale:
// bytes above 127 and NUL belong to none.
enum : unsigned char {
    kIdent = 1,    // letters, digits, '_'
    kBlank = 2,    // ' ' \t \n \v \f \r
    kDigit = 4,    // '0'..'9'
    kEscaped = 8,  // what the writer does not copy as it stands: \t \n < > &
    kHex = 16,     // hexadecimal digits
    kLineFeed = 32,
};

struct CharClasses {
    unsigned char of[256] = {};
    constexpr CharClasses() {
        for (int c = 'a'; c <= 'z'; ++c) of[c] |= kIdent;
        for (int c = 'A'; c <= 'Z'; ++c) of[c] |= kIdent;
        for (int c = '0'; c <= '9'; ++c) of[c] |= kIdent | kDigit | kHex;
        for (int c = 'a'; c <= 'f'; ++c) of[c] |= kHex;
        for (int c = 'A'; c <= 'F'; ++c) of[c] |= kHex;
        of[static_cast<unsigned char>('_')] |= kIdent;
        for (char c : {' ', '\t', '\n', '\v', '\f', '\r'}) of[static_cast<unsigned char>(c)] |= kBlank;
        for (char c : {'\t', '\n', '<', '>', '&'}) of[static_cast<unsigned char>(c)] |= kEscaped;
        of[static_cast<unsigned char>('\n')] |= kLineFeed;
    }
    bool is(char c, unsigned char cls) const { return (of[static_cast<unsigned char>(c)] & cls) != 0; }
};

constexpr CharClasses kChars;

// The first character in [p, end) that the writer does not copy as it
// stands, or end.
const char* findEscaped(const char* p, const char* const end) {
#if defined(__SSE2__)
    // Sixteen at a time: comments, most of a listing, run for a line.
    const __m128i tab = _mm_set1_epi8('\t');
    const __m128i lineFeed = _mm_set1_epi8('\n');
    const __m128i angle = _mm_set1_epi8('>');  // '<' and '>' differ only in bit 1
    const __m128i bit1 = _mm_set1_epi8(2);
    const __m128i ampersand = _mm_set1_epi8('&');
    auto escapedIn = [&](const char* at) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, tab), _mm_cmpeq_epi8(v, lineFeed)),
                                         _mm_or_si128(_mm_cmpeq_epi8(_mm_or_si128(v, bit1), angle),
                                                      _mm_cmpeq_epi8(v, ampersand)));
        return static_cast<unsigned>(_mm_movemask_epi8(hit));
    };
    if (end - p >= 16) {
        for (; end - p >= 16; p += 16)
            if (const unsigned mask = escapedIn(p)) return p + __builtin_ctz(mask);
        if (p == end) return end;
        // The rest is the end of the last sixteen, whose start was seen.
        const char* const last = end - 16;
        const unsigned mask = escapedIn(last) >> (p - last);
        return mask != 0 ? p + __builtin_ctz(mask) : end;
    }
#endif
    // Four at a time while four are left: most runs are longer than that.
    const unsigned char* const of = kChars.of;
    auto at = [&p](int i) { return static_cast<unsigned char>(p[i]); };
    while (end - p >= 4 && ((of[at(0)] | of[at(1)] | of[at(2)] | of[at(3)]) & kEscaped) == 0) p += 4;
    while (p != end && !kChars.is(*p, kEscaped)) ++p;
    return p;
}

// Builds a page: appends characters, escaping angle brackets and ampersands and expanding
// tabs, and keeps the column for the tab stops. The page lies in storage of
// its own that is grown ahead of each write and never cleared first: a
// page's bytes are written once, not zeroed and then written.
class ListingOutput {
public:
    ListingOutput(std::size_t expectedSize, int tabSize) {
        grow(expectedSize);
        startText(tabSize);
    }
    ListingOutput(const ListingOutput&) = delete;
    ListingOutput& operator=(const ListingOutput&) = delete;

    // Starts a text of its own: column 0, with the tab size (below 1 is 1).
    void startText(int tabSize) {
        this->tabSize = static_cast<std::size_t>(std::clamp(tabSize, 1, kMaxTabSize));
        column = 0;
    }
    // What was written so far.
    std::string_view written() const {
        return std::string_view(storage.get(), static_cast<std::size_t>(next - storage.get()));
    }

    void put(std::string_view text) {
        const char* p = text.data();
        const char* const end = p + text.size();
        // Each character becomes at most five; tabs reserve their own.
        reserve(5 * text.size());
        while (p != end) {
            const char* run = p;
            p = findEscaped(p, end);
            std::size_t length = static_cast<std::size_t>(p - run);
            if (length != 0) {
                std::memcpy(next, run, length);
                next += length;
                column += length;
            }
            if (p == end) return;
            switch (*p++) {
                case '\t': {
                    std::size_t blanks = tabSize - column % tabSize;
                    reserve(blanks + 5 * static_cast<std::size_t>(end - p));
                    std::memset(next, ' ', blanks);
                    next += blanks;
                    column += blanks;
                    break;
                }
                case '\n': *next++ = '\n'; column = 0; break;
                case '<': std::memcpy(next, "&#60;", 5); next += 5; ++column; break;
                // Written as it stands, "&lt;" in the source would show as "<".
                case '&': std::memcpy(next, "&amp;", 5); next += 5; ++column; break;
                default: std::memcpy(next, "&#62;", 5); next += 5; ++column; break;  // '>'
            }
        }
    }
    // Characters that need no escaping (no tab, line feed, "<", ">" or "&").
    void putUnescaped(std::string_view text) {
        raw(text);
        column += text.size();
    }
    // Markup and words are mostly short: one of at most kShortCopy bytes is
    // copied in one fixed-size move of kShortCopy bytes from a source that
    // has that many to read, the bytes past the piece's own end being
    // overwritten by whatever follows.
    static constexpr std::size_t kShortCopy = 32;
    // A word that needs no escaping between two markups, all three
    // readable for kShortCopy bytes; the word is short.
    void wrappedShort(std::string_view open, std::string_view word, std::string_view close) {
        if (open.size() > kShortCopy || close.size() > kShortCopy) {
            raw(open);
            putUnescaped(word);
            raw(close);
            return;
        }
        reserve(3 * kShortCopy);
        for (std::string_view piece : {open, word, close}) {
            std::memcpy(next, piece.data(), kShortCopy);
            next += piece.size();
        }
        column += word.size();
    }
    // Like raw(); kShortCopy bytes from the data of short markup may be read.
    void rawShort(std::string_view markup) {
        if (markup.size() > kShortCopy) {
            raw(markup);
            return;
        }
        reserve(kShortCopy);
        std::memcpy(next, markup.data(), kShortCopy);
        next += markup.size();
    }
    // Markup: written as it stands, no column.
    void raw(std::string_view markup) {
        reserve(markup.size());
        std::memcpy(next, markup.data(), markup.size());
        next += markup.size();
    }
    void newLine() {
        reserve(1);
        *next++ = '\n';
        column = 0;
    }

private:
    void reserve(std::size_t size) {
        if (static_cast<std::size_t>(limit - next) < size) grow(size);
    }
    void grow(std::size_t size) {
        std::size_t used = static_cast<std::size_t>(next - storage.get());
        std::size_t capacity = static_cast<std::size_t>(limit - storage.get());
        capacity = std::max(capacity * 2, used + size + 4096);
        std::unique_ptr<char[]> larger(new char[capacity]);
        if (used != 0) std::memcpy(larger.get(), storage.get(), used);
        storage = std::move(larger);
        next = storage.get() + used;
        limit = storage.get() + capacity;
    }

    std::unique_ptr<char[]> storage;
    char* next = nullptr;   // where the next character goes
    char* limit = nullptr;  // the end of the storage
    std::size_t tabSize = 1;
    std::size_t column = 0;
};

bool listingNumber(std::string_view token) {
    bool hex = token.size() >= 3 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X');
    bool digit = false;
    for (std::size_t i = hex ? 2 : 0; i < token.size(); ++i) {
        char c = token[i];
        if (kChars.is(c, kDigit)) digit = true;
        else if (c != '-' && c != '.' && !(hex && kChars.is(c, kHex))) return false;
    }
    return digit || hex;
}

// The colour classes of tokens; None is uncoloured.
enum Color : unsigned char { None, Keyword, String, Number, UserKeyword, Operator, Separator, kColors };

// Remembers the colour of each word already seen, so that a word repeated
// through a file, and through the files of a run, is classified once. Keeps
// its own copy of each word.
class WordColors {
public:
    WordColors() : slots(256) {}

    // The slot of the word: `found` tells whether it holds the word already,
    // else the caller stores the word's colour there with set().
    std::size_t find(std::string_view word, bool& found) const {
        std::size_t mask = slots.size() - 1;
        std::size_t i = hash(word) & mask;
        for (;; i = (i + 1) & mask) {
            const Slot& slot = slots[i];
            if (!slot.used) {
                found = false;
                return i;
            }
            if (slot.size == word.size() && sameBytes(keys.data() + slot.offset, word.data(), word.size())) {
                found = true;
                return i;
            }
        }
    }
    Color at(std::size_t i) const { return slots[i].color; }
    // The longest word that set() takes; a longer one is classified each time.
    static constexpr std::size_t kLongestWord = UINT16_MAX;
    void set(std::size_t i, std::string_view word, Color color) {
        // Only one page of gigabytes could reach this; its words go unremembered.
        if (keys.size() + word.size() > UINT32_MAX) return;
        slots[i] = Slot{static_cast<std::uint32_t>(keys.size()),
                        static_cast<std::uint16_t>(word.size()), color, true};
        keys.append(word);
        // Kept at most half full, so that a probe ends soon and always ends.
        if (++used * 2 > slots.size()) grow();
    }
    // True once the table holds more than a run of usual sources needs.
    bool large() const { return used > (std::size_t{1} << 16) || keys.size() > (std::size_t{1} << 22); }
    void clear() {
        slots.assign(256, Slot{});
        keys.clear();
        used = 0;
    }

private:
    // Eight bytes: every worker of a pool holds a table of its own.
    struct Slot {
        std::uint32_t offset = 0;  // of the word in keys
        std::uint16_t size = 0;
        Color color = None;
        bool used = false;
    };

    // Equal bytes; mostly short words, compared in at most two overlapping
    // loads from each side, not reading past either.
    static bool sameBytes(const char* a, const char* b, std::size_t size) {
        auto load8 = [](const char* p) {
            std::uint64_t v;
            std::memcpy(&v, p, 8);
            return v;
        };
        auto load4 = [](const char* p) {
            std::uint32_t v;
            std::memcpy(&v, p, 4);
            return v;
        };
        if (size > 16) return std::memcmp(a, b, size) == 0;
        if (size >= 8)
            return ((load8(a) ^ load8(b)) | (load8(a + size - 8) ^ load8(b + size - 8))) == 0;
        if (size >= 4)
            return ((load4(a) ^ load4(b)) | (load4(a + size - 4) ^ load4(b + size - 4))) == 0;
        for (std::size_t i = 0; i < size; ++i)
            if (a[i] != b[i]) return false;
        return true;
    }
    // Eight bytes a step: the table is probed once for every word listed.
    static std::size_t hash(std::string_view word) {
        const char* p = word.data();
        std::size_t left = word.size();
        std::uint64_t h = 14695981039346656037ull ^ left;
        for (; left >= 8; p += 8, left -= 8) {
            std::uint64_t chunk;
            std::memcpy(&chunk, p, 8);
            h = (h ^ chunk) * 0x9E3779B97F4A7C15ull;
            h ^= h >> 32;
        }
        // The rest in two overlapping loads, or three bytes of a short rest.
        if (left >= 4) {
            std::uint32_t low, high;
            std::memcpy(&low, p, 4);
            std::memcpy(&high, p + left - 4, 4);
            h = (h ^ (low | static_cast<std::uint64_t>(high) << 32)) * 0x9E3779B97F4A7C15ull;
        } else if (left != 0) {
            auto byte = [p](std::size_t i) { return static_cast<std::uint64_t>(static_cast<unsigned char>(p[i])); };
            h = (h ^ (byte(0) | byte(left / 2) << 8 | byte(left - 1) << 16)) * 0x9E3779B97F4A7C15ull;
        }
        // The slot is taken from the low bits: the high ones are mixed down.
        h ^= h >> 33;
        h *= 0xFF51AFD7ED558CCDull;
        return static_cast<std::size_t>(h ^ (h >> 33));
    }
    void grow() {
        std::vector<Slot> old(slots.size() * 2);
        old.swap(slots);
        std::size_t mask = slots.size() - 1;
        for (const Slot& slot : old) {
            if (!slot.used) continue;
            std::size_t i = hash(std::string_view(keys.data() + slot.offset, slot.size)) & mask;
            while (slots[i].used) i = (i + 1) & mask;
            slots[i] = slot;
        }
    }

    std::vector<Slot> slots;
    std::string keys;  // the words, one after the other
    std::size_t used = 0;
};

// The colours of the words and one-character tokens classified so far for
// one language. They hold for one set of user keywords: a listing under
// other ones starts the table again.
struct TokenColors {
    WordColors words;
    Color single[256] = {};
    bool singleKnown[256] = {};

    void prepare(const SourceListingOptions& options) {
        if (prepared && userKeywords == options.colors.userKeywords && !words.large()) return;
        words.clear();
        std::fill(std::begin(singleKnown), std::end(singleKnown), false);
        userKeywords = options.colors.userKeywords;
        prepared = true;
    }

private:
    bool prepared = false;
    std::set<std::string> userKeywords;
};

// One token and the white space before it.
struct Token {
    // MinusNumber: a "-" and digits with blanks between, which the token
    // layer reads as the number without the blanks.
    enum Kind : unsigned char { End, Word, Literal, Other, MinusNumber };
    std::string_view blank;
    bool lineFeed = false;  // the blank holds one
    std::string_view text;  // as written to the listing
    std::string_view key;   // as the token layer reads it: what is coloured
    Kind kind = End;
    bool copied = false;  // text lies in a scratch string, not in the listed text
};

// The opening font tag of a colour. The settings hold colour texts, but a
// colour is written into an attribute, so whatever it holds cannot end it.
std::string fontTag(const std::string& color) {
    std::string tag = "<font color=\"";
    for (char c : color) {
        switch (c) {
            case '"': tag += "&quot;"; break;
            case '&': tag += "&amp;"; break;
            case '<': tag += "&lt;"; break;
            case '>': tag += "&gt;"; break;
            default: tag += c;
        }
    }
    return tag + "\">";
}

// Markup followed by ListingOutput::kShortCopy bytes of padding, so that
// it is always written with rawShort().
class PaddedMarkup {
public:
    PaddedMarkup() = default;
    explicit PaddedMarkup(std::string markup) : bytes(std::move(markup)), size(bytes.size()) {
        bytes.append(ListingOutput::kShortCopy, '\0');
    }
    std::string_view view() const { return std::string_view(bytes.data(), size); }

private:
    std::string bytes;
    std::size_t size = 0;
};

constexpr char kFontClose[ListingOutput::kShortCopy] = "</font>";
constexpr std::string_view kFontCloseView(kFontClose, 7);

class ListingRenderer {
public:
    ListingRenderer(std::string_view text, const std::string& fileName, ListingOutput& output,
                    TokenColors& known, const SourceListingOptions& options)
        : text(text), fileName(fileName), output(output), known(known), options(options) {
        output.startText(options.tabSize);
        known.prepare(options);
        const SyntaxColorSettings& colors = options.colors;
        const std::string* names[kColors] = {nullptr,        &colors.keyword, &colors.string,
                                             &colors.number, &colors.userKeyword, &colors.op,
                                             &colors.separator};
        for (int i = Keyword; i < kColors; ++i) fontOpen[i] = PaddedMarkup(fontTag(*names[i]));
        commentOpen = PaddedMarkup(fontTag(colors.comment));
        for (const std::string& word : colors.userKeywords) userKeywords.insert(word);
    }

    void run();

    // The warning about the first line coloured only in part; "" when none.
    std::string longLineWarning() const {
        if (longLineAt == std::string_view::npos) return "";
        const auto lineFeeds = std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(longLineAt), '\n');
        return "Line " + std::to_string(lineFeeds + 1) + " of " + fileName + " is listed in colour only in its first " +
               std::to_string(kMaxColoredPerLine) + " tokens.";
    }

private:
    // Colour markup makes a token many times its size: on a line of
    // millions of tokens (generated data, minified code) only this many are
    // coloured, and the rest of the line is written as it stands.
    static constexpr std::size_t kMaxColoredPerLine = 10000;

    void read(Token& token);
    // The end of the letters, digits and "_" from text[from] on.
    std::size_t identifierEnd(std::size_t from) const;
    // The end of the blanks from text[from] on; sets lineFeed when they hold one.
    std::size_t skipBlanks(std::size_t from, bool& lineFeed) const;
    // The literal whose prefix begins at text[start] and whose quote is
    // text[quote], when it is one of the reader's special forms (raw,
    // verbatim, interpolated, triple-quoted): it becomes the token, whatever
    // quotes and backslashes it holds. False, with nothing taken, for an
    // ordinary literal.
    bool specialLiteral(Token& token, std::size_t start, std::size_t quote);
    bool writeComment();
    void runTokens();
    // Uncoloured text that lies in the listed text is gathered while it runs
    // on, and written in one piece before anything else is written.
    void plain(std::string_view part) {
        if (part.empty()) return;
        if (part.data() != plainEnd) {
            flushPlain();
            plainBegin = part.data();
        }
        plainEnd = part.data() + part.size();
    }
    void flushPlain() {
        if (plainBegin != plainEnd)
            output.put(std::string_view(plainBegin, static_cast<std::size_t>(plainEnd - plainBegin)));
        plainBegin = plainEnd = nullptr;
    }
    Color colorOf(const Token& token, bool joinedInclude);
    Color classify(std::string_view token) const;
    // Part of the listed text; the scanner's positions are always inside it.
    std::string_view slice(std::size_t start, std::size_t length) const {
        return std::string_view(text.data() + start, length);
    }
    // The line is the one where the literal opens, counted from 1. It is
    // counted only here: a listing that does not fail pays nothing for it.
    [[noreturn]] void literalLeftOpen(std::size_t opening) const {
        const auto lineFeeds = std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(opening), '\n');
        throw VelkFileError("End-of-file while in a quoted string on line " + std::to_string(lineFeeds + 1),
                            fileName);
    }

    std::string_view text;
    std::size_t pos = 0;
    const std::string& fileName;
    ListingOutput& output;
    TokenColors& known;
    const SourceListingOptions& options;

    PaddedMarkup fontOpen[kColors];
    PaddedMarkup commentOpen;
    std::unordered_set<std::string_view> userKeywords;

    const char* plainBegin = nullptr;
    const char* plainEnd = nullptr;

    std::string minusScratch;  // the key of a "-" token whose digits follow blanks
    std::string joined;        // tokens joined from several
    std::string joinedKey;     // their key, when it differs from what is written
    std::string separatorScratch;  // the key of a number with digit separators

    // Whether the quote just read has its closing one before the line ends.
    bool closedOnItsLine(char quote) const {
        for (std::size_t k = pos; k < text.size() && text[k] != '\n'; ++k) {
            if (text[k] == '\\') ++k;
            else if (text[k] == quote) return true;
        }
        return false;
    }

    // The line is an #error, #warning, #pragma, #line, #ident or #region, whose
    // words are free text: a quote it does not close opens no literal.
    bool freeTextLine = false;
    std::size_t coloredOnLine = 0;                  // tokens coloured since the last line feed
    std::size_t longLineAt = std::string_view::npos;  // where colouring first stopped
};

// Inlined into read(), as read() is into the token loop.
[[gnu::always_inline]] inline std::size_t ListingRenderer::identifierEnd(std::size_t from) const {
    const std::size_t n = text.size();
#if defined(__SSE2__)
    // Sixteen at a time while sixteen can be read: letters, digits and "_"
    // by three range tests.
    const __m128i lowerCase = _mm_set1_epi8(0x20);
    const __m128i a = _mm_set1_epi8('a');
    const __m128i letters = _mm_set1_epi8(25);
    const __m128i zero = _mm_set1_epi8('0');
    const __m128i digits = _mm_set1_epi8(9);
    const __m128i underscore = _mm_set1_epi8('_');
    for (; n - from >= 16; from += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + from));
        const __m128i letter = _mm_sub_epi8(_mm_or_si128(v, lowerCase), a);
        const __m128i digit = _mm_sub_epi8(v, zero);
        const __m128i word = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(_mm_min_epu8(letter, letters), letter),
                         _mm_cmpeq_epi8(_mm_min_epu8(digit, digits), digit)),
            _mm_cmpeq_epi8(v, underscore));
        const unsigned others = ~static_cast<unsigned>(_mm_movemask_epi8(word)) & 0xFFFFu;
        if (others != 0) return from + static_cast<unsigned>(__builtin_ctz(others));
    }
#endif
    while (from < n && kChars.is(text[from], kIdent)) ++from;
    return from;
}

std::size_t ListingRenderer::skipBlanks(std::size_t from, bool& lineFeed) const {
    const std::size_t n = text.size();
#if defined(__SSE2__)
    // Sixteen at a time: indentation is mostly longer than a few blanks.
    const __m128i space = _mm_set1_epi8(' ');
    const __m128i tab = _mm_set1_epi8('\t');  // \t \n \v \f \r: the four after it
    const __m128i four = _mm_set1_epi8(4);
    const __m128i lineFeedByte = _mm_set1_epi8('\n');
    for (; n - from >= 16; from += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + from));
        const __m128i fromTab = _mm_sub_epi8(v, tab);
        const __m128i blank = _mm_or_si128(_mm_cmpeq_epi8(v, space),
                                           _mm_cmpeq_epi8(_mm_min_epu8(fromTab, four), fromTab));
        const unsigned others = ~static_cast<unsigned>(_mm_movemask_epi8(blank)) & 0xFFFFu;
        unsigned lineFeeds = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lineFeedByte)));
        if (others != 0) {
            const unsigned length = static_cast<unsigned>(__builtin_ctz(others));
            lineFeeds &= (1u << length) - 1;
            if (lineFeeds != 0) lineFeed = true;
            return from + length;
        }
        if (lineFeeds != 0) lineFeed = true;
    }
#endif
    for (; from < n && kChars.is(text[from], kBlank); ++from)
        if (text[from] == '\n') lineFeed = true;
    return from;
}

// Inlined: called for every token, it is short next to its call overhead.
[[gnu::always_inline]] inline void ListingRenderer::read(Token& token) {
    const std::size_t n = text.size();
    std::size_t start = pos;
    token.lineFeed = false;
    if (pos < n && kChars.is(text[pos], kBlank)) {
        token.lineFeed = text[pos++] == '\n';
        pos = skipBlanks(pos, token.lineFeed);
        if (token.lineFeed) freeTextLine = false;
    }
    token.blank = slice(start, pos - start);
    token.copied = false;
    if (pos == n) {
        token.text = token.key = {};
        token.kind = Token::End;
        return;
    }
    start = pos;
    char c = text[pos++];
    if (kChars.is(c, kIdent)) {
        pos = identifierEnd(pos);
        // Digit separators (1'000'000) belong to the number; they open no
        // literal, and the number is coloured without them.
        bool separated = false;
        if (kChars.is(c, kDigit))
            while (pos + 1 < n && text[pos] == '\'' && kChars.is(text[pos + 1], kIdent)) {
                separated = true;
                for (pos += 2; pos < n && kChars.is(text[pos], kIdent);) ++pos;
            }
        token.text = token.key = slice(start, pos - start);
        token.kind = Token::Word;
        if (separated) {
            separatorScratch.assign(token.text);
            separatorScratch.erase(std::remove(separatorScratch.begin(), separatorScratch.end(), '\''),
                                   separatorScratch.end());
            token.key = separatorScratch;
        }
        // A prefix (R, u8R, LR) that opens a raw string.
        if (pos < n && text[pos] == '"') specialLiteral(token, start, pos);
        return;
    }
    if ((c == '@' || c == '$') && pos < n) {
        // A verbatim or interpolated string: @"...", $"...", $@"...", $$"""...""".
        std::size_t quote = pos;
        while (quote < n && quote - start < 8 && (text[quote] == '@' || text[quote] == '$')) ++quote;
        if (quote < n && text[quote] == '"' && specialLiteral(token, start, quote)) return;
    }
    if (c == '-') {
        // Digits after the blanks that follow a "-" join it. Without digits
        // the blanks are left to the next token; with them they are written
        // inside this one, and only its key leaves them out.
        std::size_t digits = pos;
        while (digits < n && kChars.is(text[digits], kBlank)) ++digits;
        std::size_t end = digits;
        while (end < n && kChars.is(text[end], kDigit)) ++end;
        token.kind = Token::Word;
        if (end == digits) {
            token.text = token.key = slice(start, 1);
            return;
        }
        token.text = token.key = slice(start, end - start);
        if (digits != pos) {
            minusScratch.assign(1, '-');
            minusScratch.append(slice(digits, end - digits));
            token.key = minusScratch;
            token.kind = Token::MinusNumber;
        }
        pos = end;
        return;
    }
    if (c == '"' && specialLiteral(token, start, start)) return;  // """...""", text blocks
    if (c == '"' || c == '\'') {
        if (freeTextLine && !closedOnItsLine(c)) {  // "#error can't"
            token.text = token.key = slice(start, 1);
            token.kind = Token::Other;
            return;
        }
        // One that its line does not close ends with the line, as the
        // reader takes it: the lines after it are listed as code.
        for (;;) {
            if (pos >= n || text[pos] == '\n') break;
            char d = text[pos++];
            if (d == '\\') {
                if (pos < n) ++pos;
            } else if (d == c) {
                break;
            }
        }
        token.text = token.key = slice(start, pos - start);
        token.kind = Token::Literal;
        return;
    }
    token.text = token.key = slice(start, 1);
    token.kind = Token::Other;
}

bool ListingRenderer::specialLiteral(Token& token, std::size_t start, std::size_t quote) {
    SpecialLiteral found;
    if (!findSpecialLiteral(text, quote, found) || found.begin != start) return false;
    if (!found.closed) literalLeftOpen(start);
    token.text = token.key = slice(start, found.end - start);
    token.kind = Token::Literal;
    pos = found.end;
    return true;
}

// After a "/" token: a block or line comment, written whole. Returns false
// (with nothing taken) when no comment starts here.
bool ListingRenderer::writeComment() {
    const std::size_t n = text.size();
    if (pos >= n || (text[pos] != '*' && text[pos] != '/')) return false;
    flushPlain();
    const bool colored = options.syntaxColor;
    if (colored) output.rawShort(commentOpen.view());
    if (text[pos++] == '*') {
        output.put("/*");
        // The "*" of the opening is spent: "/*/" does not close.
        std::size_t close = text.find("*/", pos);
        if (close == std::string_view::npos) {
            output.put(text.substr(pos));  // the comment runs to the end of the file
            pos = n;
            return true;
        }
        output.put(text.substr(pos, close + 2 - pos));
        if (colored) output.rawShort(kFontCloseView);
        pos = close + 2;
        return true;
    }
    std::size_t lineEnd = text.find('\n', pos);
    if (lineEnd == std::string_view::npos) lineEnd = n;
    output.put("//");
    output.put(text.substr(pos, lineEnd - pos));
    if (colored) output.rawShort(kFontCloseView);
    output.newLine();  // also at the end of a file without a final line feed
    pos = lineEnd < n ? lineEnd + 1 : n;
    return true;
}

// The colour of a token, or None; the first matching class wins.
Color ListingRenderer::classify(std::string_view token) const {
    if (isKeyword(token, options.language) || Preprocessor::isPreprocessorLine(std::string(token)))
        return Keyword;
    if (!token.empty() && (token[0] == '"' || token[0] == '\'')) return String;
    if (listingNumber(token)) return Number;
    if (!userKeywords.empty() && userKeywords.count(token) != 0) return UserKeyword;
    if (isOperatorToken(token)) return Operator;
    if (isSeparatorToken(token)) return Separator;
    return None;
}

Color ListingRenderer::colorOf(const Token& token, bool joinedInclude) {
    std::string_view word = token.key;
    // A literal or an include name is never a keyword or directive word.
    if (joinedInclude || token.kind == Token::Literal) return String;
    if (word.size() == 1) {
        unsigned char c = static_cast<unsigned char>(word[0]);
        if (!known.singleKnown[c]) {
            known.single[c] = classify(word);
            known.singleKnown[c] = true;
        }
        return known.single[c];
    }
    // Joined tokens are rare and seldom repeat.
    if (token.copied || token.key.data() != token.text.data() ||
        word.size() > WordColors::kLongestWord)
        return classify(word);
    bool found;
    std::size_t slot = known.words.find(word, found);
    if (found) return known.words.at(slot);
    Color color = classify(word);
    known.words.set(slot, word, color);
    return color;
}

void ListingRenderer::run() {
    try {
        runTokens();
    } catch (...) {
        flushPlain();  // what came before the error stays written
        throw;
    }
    flushPlain();
}

void ListingRenderer::runTokens() {
    // The previous token was "#include" or "#using": a "<" after it opens a
    // file name that is joined up to its ">".
    bool afterInclude = false;
    // A token read ahead and not joined, with the blank before it.
    bool havePending = false;
    Token pending;
    Token token;
    for (;;) {
        if (havePending) {
            havePending = false;
            token = pending;
        } else {
            read(token);
        }
        plain(token.blank);
        if (token.kind == Token::End) break;
        if (token.lineFeed) coloredOnLine = 0;

        // Comments: written character by character, so that nothing in
        // them is read as a literal.
        const std::size_t commentStart = pos;
        if (token.kind == Token::Other && token.text[0] == '/' && writeComment()) {
            afterInclude = false;
            if (std::memchr(text.data() + commentStart, '\n', pos - commentStart)) coloredOnLine = 0;
            continue;
        }
        if (token.kind == Token::Other && token.text[0] == '#') {
            // The blank between is dropped, but a "#" alone on its line is
            // not joined with the next line: the listing keeps its lines.
            Token name;
            read(name);
            // Nor is it joined with a comment ("#// it's big", a null
            // directive and its comment): nothing in a comment opens a literal.
            const bool comment = name.kind == Token::Other && name.text[0] == '/' &&
                                 pos < text.size() && (text[pos] == '/' || text[pos] == '*');
            if (!name.lineFeed && !comment) {
                if (name.blank.empty() && name.text.data() == token.text.data() + 1) {
                    token.text = token.key = std::string_view(token.text.data(), 1 + name.text.size());
                } else if (!name.text.empty()) {
                    joined.assign(1, '#');
                    joined.append(name.text);
                    token.text = token.key = joined;
                    token.copied = true;
                }
                if (name.kind == Token::MinusNumber) {
                    joinedKey.assign(1, '#');
                    joinedKey.append(name.key);
                    token.key = joinedKey;
                }
            } else {
                havePending = true;
                pending = name;
            }
        }
        bool joinedInclude = false;
        if (afterInclude && token.kind == Token::Other && token.text == "<") {
            joinedInclude = true;
            joined.assign(1, '<');
            while (joined.back() != '>') {
                Token part;
                read(part);
                if (part.kind == Token::End) break;
                joined.append(part.blank);
                joined.append(part.text);
            }
            token.text = token.key = joined;
            token.copied = true;
        }
        afterInclude = token.key == "#include" || token.key == "#using";
        if (token.key.size() > 1 && token.key[0] == '#' && Preprocessor::isFreeTextDirective(token.key.substr(1)))
            freeTextLine = true;

        Color color = options.syntaxColor ? colorOf(token, joinedInclude) : None;
        if (color != None && ++coloredOnLine > kMaxColoredPerLine) {
            if (longLineAt == std::string_view::npos) longLineAt = pos;
            color = None;
        }
        if (token.kind == Token::Literal && std::memchr(token.text.data(), '\n', token.text.size()))
            coloredOnLine = 0;
        if (color == None && !token.copied) {
            plain(token.text);
            continue;
        }
        flushPlain();
        // Words are letters, digits, "_" and "-": nothing to escape.
        // (A MinusNumber holds blanks, which are expanded and counted.)
        // A short coloured token with nothing to escape (most operators and
        // separators) is written as a word is.
        const char* const tokenEnd = token.text.data() + token.text.size();
        if (color != None && token.text.size() <= ListingOutput::kShortCopy && !token.copied &&
            static_cast<std::size_t>(text.data() + text.size() - token.text.data()) >= ListingOutput::kShortCopy &&
            (token.kind == Token::Word ||
             (token.text.size() == 1 ? !kChars.is(token.text[0], kEscaped)
                                     : findEscaped(token.text.data(), tokenEnd) == tokenEnd))) {
            output.wrappedShort(fontOpen[color].view(), token.text, kFontCloseView);
            continue;
        }
        if (color != None) output.rawShort(fontOpen[color].view());
        if (token.kind == Token::Word) output.putUnescaped(token.text);
        else output.put(token.text);
        if (color != None) output.rawShort(kFontCloseView);
    }
}

// Writes the page whole. The directory is made only when the page cannot be
// opened without it, so that a run does not ask again for each listing.
// The page is a new file in place of whatever stands at its name (never
// written through a link), or one that waits in staged to be moved there.
void writePage(const std::string& page, std::string_view html, StagedFiles* staged) {
    auto open = [&] { return staged != nullptr ? staged->create(page) : openFileAnew(page); };
    int fd = open();
    if (fd < 0) {
        // Throws the directory's own errors, as when it was always made first.
        VelkDirectory directory(directoryOf(page), true);
        fd = open();
        if (fd < 0) throw VelkFileError("Couldn't open the output file", page);
    }
    FileDescriptor file(fd);
    if (!writeAll(file.get(), html.data(), html.size()) || !file.close())
        throw VelkFileError("Could not write the file", page);
}

// The folder that a listing cannot be written to fails every listing after
// it: the run ends at the first, with one message, instead of going on and
// failing each file in turn.
VelkEnvironmentError listingNotWritten(const std::string& sourceFile, const VelkError& error) {
    return VelkEnvironmentError("Could not write the source listing of \"" + sourceFile +
                                "\": " + error.getMessage());
}

}  // namespace

bool isListingNumber(const std::string& token) { return listingNumber(token); }

void renderSourceListing(std::string_view text, const std::string& fileName, std::string& out,
                         const SourceListingOptions& options) {
    ListingOutput output(text.size() * 2, options.tabSize);
    TokenColors known;
    try {
        ListingRenderer(text, fileName, output, known, options).run();
    } catch (...) {
        out.append(output.written());
        throw;
    }
    out.append(output.written());
}

void renderSourceListing(CppStream& in, std::ostream& out, const SourceListingOptions& options) {
    std::string text;
    for (int c = in.get(); c != std::char_traits<char>::eof(); c = in.get())
        text.push_back(static_cast<char>(c));
    std::string body;
    try {
        renderSourceListing(text, in.getFileName(), body, options);
    } catch (...) {
        out << body;  // what was written before the error, as a stream gets it
        throw;
    }
    out << body;
}

std::string sourceListingPath(const std::string& sourceFile, const std::string& packageName,
                              const std::string& outputDirectory,
                              const std::string& detailDirectory, const std::string& pageName) {
    std::string base = isRelativePath(detailDirectory)
                           ? outputDirectory + "/" + detailDirectory
                           : detailDirectory;
    if (!packageName.empty()) base += "/" + safePathComponent(packageName);
    return base + "/" + (pageName.empty() ? plainListingName(sourceFile) : pageName);
}

struct SourceListingWriter::Memory {
    std::map<int, TokenColors> byLanguage;  // a few languages at most
    std::set<std::string> siteFolders;      // made and checked to be no links
};

SourceListingWriter::SourceListingWriter() : memory(std::make_unique<Memory>()) {}

SourceListingWriter::~SourceListingWriter() = default;

std::string SourceListingWriter::write(const std::string& sourceFile,
                                       const std::string& packageName,
                                       const std::string& outputDirectory,
                                       const std::string& detailDirectory,
                                       const SourceListingOptions& options, std::string* warning,
                                       const std::string& pageName) {
    std::string page = sourceListingPath(sourceFile, packageName, outputDirectory, detailDirectory, pageName);
    std::string text = readWholeFile(sourceFile, kSourceFileLimit, options.roots);
    decodeByteOrderMark(text);  // listed as it was read
    // The folders of the site, outer first, are made once and never
    // written through when they are links.
    const std::string folder = directoryOf(page);
    if (!memory->siteFolders.contains(folder)) {
        const std::string base = directoryOf(sourceListingPath("x", "", outputDirectory, detailDirectory));
        try {
            if (!memory->siteFolders.contains(base)) {
                makeSiteDirectory(base, options.staged);
                memory->siteFolders.insert(base);
            }
            if (folder != base) makeSiteDirectory(folder, options.staged);
        } catch (const VelkError& error) {
            throw listingNotWritten(sourceFile, error);
        }
        memory->siteFolders.insert(folder);
    }
    normaliseLineEnds(text);

    // Colour markup makes a page two or three times its source; a larger
    // page grows as usual.
    ListingOutput html(text.size() * 3 + 4096, 1);
    html.raw("<HTML>\n<HEAD>\n<TITLE>\n");
    html.put(fileNameOf(sourceFile));
    html.raw("\n</TITLE>\n</HEAD>\n<BODY>\n<PRE>\n");
    ListingRenderer renderer(text, sourceFile, html, memory->byLanguage[options.language], options);
    renderer.run();
    html.raw("\n</PRE>\n</BODY>\n</HTML>\n");
    try {
        writePage(page, html.written(), options.staged);
    } catch (const VelkError& error) {
        throw listingNotWritten(sourceFile, error);
    }
    if (warning) *warning = renderer.longLineWarning();
    return page;
}

std::string writeSourceListing(const std::string& sourceFile, const std::string& packageName,
                               const std::string& outputDirectory,
                               const std::string& detailDirectory,
                               const SourceListingOptions& options) {
    return SourceListingWriter().write(sourceFile, packageName, outputDirectory, detailDirectory,
                                       options);
}
