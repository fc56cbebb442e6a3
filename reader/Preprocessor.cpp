#include "reader/Preprocessor.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>
#include <atomic>
#include <cerrno>
#include <ctime>
#include <cstdlib>
#include <sys/syscall.h>
#include <unistd.h>
#include <set>
#include <vector>

#include "VelkLib/VelkError.h"
#include "VelkLib/VelkFile.h"
#include "platform/TempFile.h"
#include "reader/BlockReader.h"
#include "reader/CommentScript.h"
#include "reader/Literals.h"
#include "reader/PreprocessorExpression.h"
#include "reader/ReaderText.h"

namespace {

// The name every file finds defined, and its value in a C++ file: the
// language version whose branches of a header are documented.
const std::string kCplusplus = "__cplusplus";
const std::string kCplusplusValue = "201703L";

const std::string kBeginExclude = "VANTRY_BEGIN_EXCLUDE";
const std::string kEndExclude = "VANTRY_END_EXCLUDE";

// The directive words; every other "#word" line is ordinary text.
const char* const kDirectiveWords[] = {
    "define", "undef", "if",     "else",  "endif", "elif",  "ifdef",  "ifndef", "pragma", "include",
    "warning", "line", "error", "input", "name",  "ident", "import", "using",  "region", "endregion"};

// Directives that only blank their line.
// C#'s "nullable" and C++'s "include_next" are directives of the same kind:
// a line that declares nothing.
const char* const kBlankedWords[] = {"pragma", "include",  "warning",      "line",  "error",
                                     "input",  "name",     "ident",        "import", "using",
                                     "region", "endregion", "nullable",    "include_next"};

// Words that begin a statement, never a declaration.
constexpr std::string_view kStatementWords[] = {"if",    "else",     "for",   "while", "do",   "switch",
                                                "case",  "return",   "break", "continue", "goto", "try",
                                                "throw", "co_return", "co_yield", "co_await", "delete"};

// Directives whose words are free text, which may hold a lone quote; C#'s
// "#region Store's items" names its region in words too.
constexpr std::string_view kFreeTextWords[] = {"error", "warning", "pragma", "line", "ident", "region", "endregion"};

[[noreturn]] void preprocessorError(const std::string& text, int line) {
    throw VelkError("Preprocessor: " + text + " on line " + std::to_string(line));
}

// Bytes that end a run the scanners copy or pass over whole: bit 1 for
// the first pass (quotes, "/", carriage return, line feed), bit 2 for the
// comment scan of a line (quotes and "/"), bit 4 for those of bit 1 but
// the line feed, which a run passes over.
constexpr std::array<unsigned char, 256> kStops = [] {
    std::array<unsigned char, 256> stops{};
    // 0xC2, 0xE1, 0xE2 and 0xE3 may begin a blank beyond ASCII.
    for (unsigned char c : {'"', '\'', '/', '\r', '\n', '\xC2', '\xE1', '\xE2', '\xE3'}) stops[c] |= 1;
    for (unsigned char c : {'"', '\'', '/'}) stops[c] |= 2;
    for (unsigned char c : {'"', '\'', '/', '\r', '\xC2', '\xE1', '\xE2', '\xE3'}) stops[c] |= 4;
    return stops;
}();

bool isStop(char c, unsigned char bit) { return kStops[static_cast<unsigned char>(c)] & bit; }

bool isHorizontalBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r'; }

// What the first pass found on lines whose groups it cannot know: the
// second pass acts on those in the groups it reads.
struct LineNotes {
    // A literal its line does not close: it ends with its line.
    struct OpenQuote {
        int line;       // where it ends
        int beginLine;  // where it begins (a backslash may continue it)
    };
    std::vector<OpenQuote> openQuotes;
    // "///" comments on lines of their own before a declaration, which the
    // comment format does not read.
    std::vector<int> unreadTripleSlash;
};

// ---------------------------------------------------------------------------
// First pass: removes ordinary comments (keeping their newlines), keeps
// documentation comments and applies the exclusion markers. Literals are
// copied as they stand, so "/*" or "//" inside one never starts a comment;
// one that its line does not close ends with the line, as a compiler reads
// it, and is closed there (the pass cannot know whether its group is read:
// the second pass warns for those it reads). A carriage return before a
// line feed and a leading UTF-8 byte-order mark are dropped. A blank
// beyond ASCII in the code becomes one blank, so that what follows reads
// as if written with ordinary ones.
class Stripper {
public:
    Stripper(const std::string& text, const Preprocessor::CommentView (&views)[2], LineNotes& notes)
        : s(text), views(views), notes(notes) {}

    std::string run() {
        if (s.compare(0, 3, "\xEF\xBB\xBF") == 0) i = 3;
        out.reserve(s.size());
        while (i < s.size()) {
            copyPlainRun();
            if (i >= s.size()) break;
            if (const std::size_t blank = unicodeBlankLength(s, i)) {
                out.push_back(' ');
                i += blank;
                continue;
            }
            int c = get();
            if (c == '"' && specialLiteral()) continue;
            // A digit separator goes: the number reads as one token.
            if (c == '\'' && digitSeparator()) continue;
            if (c == '"' || c == '\'') literal(static_cast<char>(c), onFreeTextDirective(i - 1));
            else if (c == '/' && peek() == '*') get(), blockComment();
            else if (c == '/' && peek() == '/') get(), lineComment();
            else out.push_back(static_cast<char>(c));
        }
        return std::move(out);
    }

private:
    bool atEnd() const { return i >= s.size(); }

    // Copies the run of characters from i that need no decision (no quote,
    // no "/", no carriage return) in one piece, counting its line feeds.
    void copyPlainRun() {
        const std::size_t start = i;
        const std::size_t size = s.size();
        // Eight bytes a test while none of them ends the run; its line
        // feeds are counted afterwards in one sweep.
        const auto* bytes = reinterpret_cast<const unsigned char*>(s.data());
        while (i + 8 <= size &&
               !((kStops[bytes[i]] | kStops[bytes[i + 1]] | kStops[bytes[i + 2]] | kStops[bytes[i + 3]] |
                  kStops[bytes[i + 4]] | kStops[bytes[i + 5]] | kStops[bytes[i + 6]] | kStops[bytes[i + 7]]) &
                 4))
            i += 8;
        while (i < size && !isStop(s[i], 4)) ++i;
        int feeds = 0;
        for (std::size_t k = start; k < i; ++k) feeds += bytes[k] == '\n';
        line += feeds;
        out.append(s, start, i - start);
    }

    // Appends raw characters [from, to) as get() would hand them out (a
    // carriage return before a line feed dropped), counting line feeds.
    void copyCooked(std::size_t from, std::size_t to) {
        for (std::size_t k = from; k < to;) {
            // The search stays inside the range: no look at the rest of
            // the file per comment.
            const void* hit = std::memchr(s.data() + k, '\r', to - k);
            std::size_t cr = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - s.data())
                                 : std::string::npos;
            std::size_t stop = cr == std::string::npos ? to : cr;
            line += static_cast<int>(countFeeds(k, stop));
            out.append(s, k, stop - k);
            if (stop == to) break;
            // A carriage return: kept unless a line feed follows it.
            if (!(cr + 1 < s.size() && s[cr + 1] == '\n')) out.push_back('\r');
            k = cr + 1;
        }
    }

    // The line feeds among the characters [from, to), found a line at a time.
    std::size_t countFeeds(std::size_t from, std::size_t to) const {
        std::size_t feeds = 0;
        const char* p = s.data() + from;
        const char* const end = s.data() + to;
        while (p < end) {
            const void* hit = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
            if (!hit) break;
            ++feeds;
            p = static_cast<const char*>(hit) + 1;
        }
        return feeds;
    }

    int peek() const {
        if (i >= s.size()) return -1;
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') return '\n';
        return static_cast<unsigned char>(s[i]);
    }

    int get() {
        if (i >= s.size()) return -1;
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
        char c = s[i++];
        if (c == '\n') ++line;
        return static_cast<unsigned char>(c);
    }

    // After a '"' that opens a raw, verbatim, interpolated or triple-quoted
    // string: writes it as an ordinary literal on one line, then the line
    // feeds it held, so the line count stays. False for an ordinary one.
    bool specialLiteral() {
        const std::size_t quote = i - 1;
        SpecialLiteral found;
        if (!findSpecialLiteral(s, quote, found)) return false;
        const int startLine = line;
        if (!found.closed) preprocessorError("Unexpected end-of-file while parsing quoted string", startLine);
        // The prefix was copied with the plain run before the quote.
        out.resize(out.size() - std::min(out.size(), quote - found.begin));
        appendPlainLiteral(out, std::string_view(s).substr(found.contentBegin,
                                                            found.contentEnd - found.contentBegin),
                           found.verbatim);
        const std::size_t feeds = countFeeds(quote, found.end);
        line += static_cast<int>(feeds);
        out.append(feeds, '\n');
        i = found.end;
        return true;
    }

    // A "'" inside a number (1'000'000, 0xFF'FF) separates digits.
    bool digitSeparator() const {
        std::size_t k = out.size();
        while (k > 0 && (std::isalnum(static_cast<unsigned char>(out[k - 1])) || out[k - 1] == '_')) --k;
        return k < out.size() && out[k] >= '0' && out[k] <= '9';
    }

    // A literal, copied to its closing quote. One that its line does not
    // close ends with the line: it is closed there and noted. On the line
    // of a directive whose words are free text, such a quote is a
    // character of that text ("#error can't").
    void literal(char quote, bool freeText) {
        const int startLine = line;
        out.push_back(quote);
        for (;;) {
            // The characters that need no decision go over in one piece.
            std::size_t run = i;
            while (run < s.size() && s[run] != quote && s[run] != '\\' && s[run] != '\n' && s[run] != '\r') ++run;
            if (run > i) {
                out.append(s, i, run - i);
                i = run;
            }
            if (atEnd() || peek() == '\n') {
                if (!freeText) openQuote(quote, startLine);
                return;
            }
            int c = get();
            if (c == '\\' && atEnd()) {
                // A backslash at the very end would escape the closing quote.
                openQuote(quote, startLine);
                return;
            }
            out.push_back(static_cast<char>(c));
            if (c == '\\') out.push_back(static_cast<char>(get()));
            else if (c == quote) return;
        }
    }

    [[gnu::noinline]] void openQuote(char quote, int startLine) {
        out.push_back(quote);
        notes.openQuotes.push_back({line, startLine});
    }

    // Whether the line that holds s[at] is a directive whose words are
    // free text, not tokens: #error, #warning, #pragma, #line, #ident.
    // Those lines are found once, at the first quote; the positions asked
    // about only grow.
    bool onFreeTextDirective(std::size_t at) {
        if (!freeTextFound) findFreeTextLines();
        while (nextFreeText < freeTextLines.size() && freeTextLines[nextFreeText].second <= at) ++nextFreeText;
        return nextFreeText < freeTextLines.size() && freeTextLines[nextFreeText].first <= at;
    }

    void findFreeTextLines() {
        freeTextFound = true;
        for (const void* hit = std::memchr(s.data(), '#', s.size()); hit;) {
            const std::size_t hash = static_cast<std::size_t>(static_cast<const char*>(hit) - s.data());
            std::size_t start = hash;
            while (start > 0 && isHorizontalBlank(s[start - 1])) --start;
            std::size_t next = hash + 1;
            if (start == 0 || s[start - 1] == '\n') {
                next = std::min(s.find('\n', hash), s.size());
                if (isFreeTextDirective(std::string_view(s).substr(start, next - start)))
                    freeTextLines.emplace_back(start, next);
            }
            hit = next < s.size() ? std::memchr(s.data() + next, '#', s.size() - next) : nullptr;
        }
    }

    static bool isFreeTextDirective(std::string_view text) {
        std::size_t k = 0;
        while (k < text.size() && isHorizontalBlank(text[k])) ++k;
        if (k >= text.size() || text[k] != '#') return false;
        ++k;
        while (k < text.size() && isHorizontalBlank(text[k])) ++k;
        const std::size_t start = k;
        while (k < text.size() && isWordChar(text[k])) ++k;
        return Preprocessor::isFreeTextDirective(text.substr(start, k - start));
    }

    const Preprocessor::CommentView* docView(char second, int third) const {
        for (const auto& v : views)
            if (v.second == second && third >= 0 && v.third == static_cast<char>(third)) return &v;
        return nullptr;
    }

    // After "/*". Both kinds of comment end at the first "*/" after the
    // "/*" (so "/*/" does not close at once); only a carriage return before
    // a line feed is ever dropped, so that "*/" is found in the raw text.
    void blockComment() {
        const int startLine = line;
        const std::size_t start = i;
        int x = get();
        if (docView('*', x)) {
            if (peek() == '/') {  // an empty documentation comment vanishes
                get();
                return;
            }
            const char opening[] = {'/', '*', static_cast<char>(x)};
            out.append(opening, sizeof opening);
            std::size_t end = s.find("*/", i);
            if (end == std::string::npos)
                preprocessorError("Unexpected end-of-file in documentation comment", startLine);
            copyCooked(i, end + 2);
            i = end + 2;
            return;
        }
        if (x < 0) preprocessorError("Unexpected end-of-file while parsing comment", startLine);
        std::size_t end = s.find("*/", start);
        if (end == std::string::npos)
            preprocessorError("Unexpected end-of-file while parsing comment", startLine);
        // Only the comment's line feeds are kept, each with the backslash
        // that joins its line to the next: lines are joined before comments
        // are removed, so a comment whose line ends in one does not end the
        // #define it stands in.
        const std::size_t feeds = countFeeds(start, end + 2);
        // x was taken by get(), which counted its line feed already.
        line += static_cast<int>(feeds) - (x == '\n' ? 1 : 0);
        if (feeds == 0 || std::memchr(s.data() + start, '\\', end - start) == nullptr) {
            out.append(static_cast<std::size_t>(feeds), '\n');
        } else {
            for (std::size_t k = start; k < end; ++k) {
                if (s[k] != '\n') continue;
                std::size_t b = k;
                while (b > start && isHorizontalBlank(s[b - 1])) --b;
                if (b > start && s[b - 1] == '\\') out.push_back('\\');
                out.push_back('\n');
            }
        }
        i = end + 2;
        if (std::string_view(s).substr(start, end + 2 - start).find(kBeginExclude) != std::string_view::npos)
            exclude();
    }

    // Blanks the rest of the line and the following lines up to and
    // including the one that holds the end marker (or to the end).
    void exclude() {
        while (i < s.size()) {
            std::size_t eol = s.find('\n', i);
            std::size_t stop = eol == std::string::npos ? s.size() : eol;
            bool last = std::string_view(s).substr(i, stop - i).find(kEndExclude) != std::string::npos;
            i = eol == std::string::npos ? s.size() : eol + 1;
            out.push_back('\n');
            if (eol != std::string::npos) ++line;
            if (last) return;
        }
    }

    // After "//".
    void lineComment() {
        int x = get();
        if (const Preprocessor::CommentView* view = docView('/', x)) {
            out += "//";
            copyRestOfLine(x);
            // The run goes on over lines that begin with the middle string;
            // any other line is left to the main loop, so its literals and
            // comments are read as such.
            while (!atEnd() && nextLineBeginsWith(view->middle)) {
                bool endLine = nextLineBeginsWith(view->end);
                copyIndentation();
                copyRestOfLine(get());
                if (endLine) return;
            }
            return;
        }
        if (x == '\n' || x < 0) {
            out.push_back('\n');
            return;
        }
        if (x == '/' && peek() != '/') noteTripleSlash();
        std::size_t eol = s.find('\n', i);
        if (eol == std::string::npos) {
            // The comment ends the input: its line still counts.
            i = s.size();
            out.push_back('\n');
            return;
        }
        i = eol + 1;
        ++line;
        out.push_back('\n');
    }

    // After a "///" that the format does not read: noted when it is a
    // trailing member comment ("///<"), or when it stands on a line of its own and is the last of its run, right before a line
    // that begins a declaration (a name that begins no statement, an
    // attribute "[" or "@", or "~"), so that the user can be told which
    // option reads it. A banner of slashes ("////////") is no such comment.
    [[gnu::noinline]] void noteTripleSlash() {
        // "///<" is written for the member before it, wherever it stands.
        if (i < s.size() && s[i] == '<') {
            notes.unreadTripleSlash.push_back(line);
            return;
        }
        for (std::size_t k = out.size(); k > 0 && out[k - 1] != '\n'; --k)
            if (!isHorizontalBlank(out[k - 1])) return;
        const std::size_t next = s.find('\n', i);
        if (next == std::string::npos) return;
        std::size_t k = next + 1;
        while (k < s.size() && isHorizontalBlank(s[k])) ++k;
        if (k >= s.size()) return;
        if (s.compare(k, 3, "///") == 0 && s.compare(k, 4, "////") != 0) return;
        // A blank line after it: a heading of the code below, not its comment.
        const char c = s[k];
        if (!isWordChar(c) && static_cast<unsigned char>(c) < 0x80 && c != '[' && c != '@' && c != '~') return;
        std::size_t end = k;
        while (end < s.size() && isWordChar(s[end])) ++end;
        // A comment on a statement in a body documents nothing.
        const std::string_view word = std::string_view(s).substr(k, end - k);
        if (std::find(std::begin(kStatementWords), std::end(kStatementWords), word) == std::end(kStatementWords))
            notes.unreadTripleSlash.push_back(line);
    }

    // Copies `c` and the rest of its line, newline included.
    void copyRestOfLine(int c) {
        while (c >= 0) {
            out.push_back(static_cast<char>(c));
            if (c == '\n') return;
            c = get();
        }
    }

    // The blanks that begin the line at i (how many bytes).
    std::size_t indentation() const {
        std::size_t k = i;
        for (;;) {
            if (k < s.size() && (s[k] == ' ' || s[k] == '\t')) ++k;
            else if (const std::size_t blank = unicodeBlankLength(s, k)) k += blank;
            else return k - i;
        }
    }

    // Copies the line's indentation, every blank beyond ASCII as one blank,
    // so that the comment reader finds the middle string after blanks.
    void copyIndentation() {
        const std::size_t end = i + indentation();
        while (i < end) {
            if (const std::size_t blank = unicodeBlankLength(s, i)) {
                out.push_back(' ');
                i += blank;
            } else {
                out.push_back(s[i++]);
            }
        }
    }

    bool nextLineBeginsWith(const std::string& prefix) const {
        if (prefix.empty()) return false;
        return s.compare(i + indentation(), prefix.size(), prefix) == 0;
    }

    const std::string& s;
    const Preprocessor::CommentView (&views)[2];
    LineNotes& notes;
    std::size_t i = 0;
    int line = 1;
    std::string out;
    // The free-text directive lines, [start, end) in order, once found,
    // and the first that does not end before the position last asked about.
    std::vector<std::pair<std::size_t, std::size_t>> freeTextLines;
    bool freeTextFound = false;
    std::size_t nextFreeText = 0;
};

// ---------------------------------------------------------------------------
// Second pass: logical lines, directives, conditionals and expansion.

// Where a line opens and closes comments, literals skipped.
struct CommentScan {
    int opens = 0;  // how many comments begin on the line
    bool closes = false;
    bool inCommentAfter = false;
    std::size_t closeEnd = 0;                          // after the last "*/"
    std::size_t lineComment = std::string_view::npos;  // where a "//" comment begins
};

// Inline: the line loop calls it for every line.
[[gnu::always_inline]] inline CommentScan scanComments(std::string_view line, bool inComment) {
    CommentScan scan;
    for (std::size_t k = 0; k < line.size(); ++k) {
        if (inComment) {
            // Straight to the "*/" that closes the comment.
            const std::size_t close = line.find("*/", k);
            if (close == std::string_view::npos) break;
            inComment = false;
            scan.closes = true;
            scan.closeEnd = close + 2;
            k = close + 1;
            continue;
        }
        // Only a "/" opens or ends anything; most lines hold none.
        if (k == 0 && std::memchr(line.data(), '/', line.size()) == nullptr) break;
        // Straight to the next character that can open something.
        while (k < line.size() && !isStop(line[k], 2)) ++k;
        if (k >= line.size()) break;
        const char c = line[k];
        if (c == '"' || c == '\'') {
            for (++k; k < line.size() && line[k] != c; ++k)
                if (line[k] == '\\') ++k;
        } else if (c == '/' && k + 1 < line.size() && line[k + 1] == '*') {
            inComment = true;
            ++scan.opens;
            ++k;
        } else if (c == '/' && k + 1 < line.size() && line[k + 1] == '/') {
            scan.lineComment = k;
            break;
        }
    }
    scan.inCommentAfter = inComment;
    return scan;
}

// The spans of a line that are comment, in order: block comments (the
// first may have begun on an earlier line, the last may go on past this
// one) and a "//" comment to the end of the line. Literals are passed over
// as scanComments passes them.
void commentSpans(std::string_view line, bool inComment, PreprocessorDefines::TextSpans& spans) {
    spans.clear();
    std::size_t k = 0;
    if (inComment) {
        const std::size_t close = line.find("*/");
        k = close == std::string_view::npos ? line.size() : close + 2;
        spans.emplace_back(0, k);
    }
    while (k < line.size()) {
        const char c = line[k];
        if (c == '"' || c == '\'') {
            for (++k; k < line.size() && line[k] != c; ++k)
                if (line[k] == '\\') ++k;
            ++k;
        } else if (c == '/' && k + 1 < line.size() && line[k + 1] == '*') {
            const std::size_t close = line.find("*/", k + 2);
            const std::size_t end = close == std::string_view::npos ? line.size() : close + 2;
            spans.emplace_back(k, end);
            k = end;
        } else if (c == '/' && k + 1 < line.size() && line[k + 1] == '/') {
            spans.emplace_back(k, line.size());
            return;
        } else {
            ++k;
        }
    }
}

// Whether the line holds anything but blanks outside the spans.
bool hasCodeOutside(std::string_view line, const PreprocessorDefines::TextSpans& spans) {
    std::size_t k = 0;
    for (const auto& [from, to] : spans) {
        for (; k < from; ++k)
            if (!isBlankChar(line[k])) return true;
        k = to;
    }
    for (; k < line.size(); ++k)
        if (!isBlankChar(line[k])) return true;
    return false;
}

struct Directive {
    std::string word;
    std::string argument;
};

// A directive line with documentation comments after its words, closed on
// the line ("#define MODE 0 /**< the mode */", "#define N 4 ///< count"):
// `code` receives the line without them and `text` their text, less the
// comment marks. False (nothing set) when the line leaves a comment open.
bool splitTrailingComments(std::string_view line, std::string& code, std::string& text) {
    code.clear();
    text.clear();
    auto keep = [&text](std::string_view comment) {
        std::size_t k = 0;
        while (k < comment.size() && (comment[k] == '*' || comment[k] == '/' || comment[k] == '!'))
            ++k;
        if (k < comment.size() && comment[k] == '<') ++k;
        comment.remove_prefix(k);
        while (!comment.empty() && isBlankChar(comment.front())) comment.remove_prefix(1);
        while (!comment.empty() && isBlankChar(comment.back())) comment.remove_suffix(1);
        if (comment.empty()) return;
        if (!text.empty()) text += ' ';
        text += comment;
    };
    for (std::size_t k = 0; k < line.size(); ++k) {
        const char c = line[k];
        if (c == '"' || c == '\'') {
            const std::size_t open = k;
            for (++k; k < line.size() && line[k] != c; ++k)
                if (line[k] == '\\') ++k;
            code.append(line.substr(open, std::min(k, line.size() - 1) - open + 1));
        } else if (c == '/' && k + 1 < line.size() && line[k + 1] == '*') {
            const std::size_t close = line.find("*/", k + 2);
            if (close == std::string_view::npos) return false;
            keep(line.substr(k + 2, close - k - 2));
            k = close + 1;
        } else if (c == '/' && k + 1 < line.size() && line[k + 1] == '/') {
            keep(line.substr(k + 2));
            break;
        } else {
            code += c;
        }
    }
    while (!code.empty() && isBlankChar(code.back())) code.pop_back();
    return true;
}

// A line "#word ..." where the word ends the line or is followed by white
// space, "(" or the "<" or '"' of an #include name ("#include<vector>").
// Inline: the line loop calls it for every line that is not a comment.
[[gnu::always_inline]] inline bool parseDirective(std::string_view line, Directive& d) {
    std::size_t k = leadingBlanks(line);
    if (k >= line.size() || line[k] != '#') return false;
    ++k;
    while (k < line.size() && isBlankChar(line[k])) ++k;
    std::size_t start = k;
    while (k < line.size() && isWordChar(line[k])) ++k;
    // "#" alone is the null directive: it declares nothing.
    if (k == start && k == line.size()) {
        d.word.clear();
        d.argument.clear();
        return true;
    }
    if (k == start || (k < line.size() && !isBlankChar(line[k]) && line[k] != '(' &&
                       line[k] != '<' && line[k] != '"'))
        return false;
    d.word = std::string(line.substr(start, k - start));
    while (k < line.size() && isBlankChar(line[k])) ++k;
    d.argument = std::string(line.substr(k));
    return true;
}

std::string firstWord(const std::string& text) {
    std::size_t k = 0;
    while (k < text.size() && !isBlankChar(text[k])) ++k;
    return text.substr(0, k);
}

struct MacroHeader {
    std::string name;
    std::vector<std::string> parameters;
    std::string body;
};

MacroHeader parseDefine(const std::string& text, int line) {
    MacroHeader h;
    std::size_t k = 0;
    while (k < text.size() && !isBlankChar(text[k]) && text[k] != '(') ++k;
    h.name = text.substr(0, k);
    if (k < text.size() && text[k] == '(') {
        std::string parameter;
        for (++k;; ++k) {
            if (k >= text.size()) preprocessorError("End-of-line in macro argument specification", line);
            char c = text[k];
            if (c == ',' || c == ')') {
                parameter = trimBlanks(parameter);
                if (c == ',' || !parameter.empty() || !h.parameters.empty())
                    h.parameters.push_back(parameter);
                parameter.clear();
                if (c == ')') break;
            } else {
                parameter.push_back(c);
            }
        }
        ++k;
    }
    h.body = trimBlanks(text.substr(std::min(k, text.size())));
    if (!h.body.empty() && h.body.back() == '\\') h.body = trimBlanks(h.body.substr(0, h.body.size() - 1));
    return h;
}

// One open conditional block.
struct Conditional {
    bool outerActive;
    bool active;
    bool branchTaken;
    int openLine;
};

// Whether the "#" at text[hash] may begin the code of its line: only
// blanks, backslashes and NUL bytes stand before it on the line, or a
// comment closed there ("/** the mode */ #define MODE 0"). A "#" within
// the words of a line ("{@link #describe}" in a Java comment) begins no
// directive.
bool mayBeginDirective(std::string_view text, std::size_t hash) {
    for (std::size_t k = hash; k > 0 && text[k - 1] != '\n'; --k) {
        const char c = text[k - 1];
        if (isBlankChar(c) || c == '\\' || c == '\0') continue;
        const std::size_t feed = text.rfind('\n', k - 1);
        const std::size_t lineStart = feed == std::string_view::npos ? 0 : feed + 1;
        return text.substr(lineStart, hash - lineStart).find("*/") != std::string_view::npos;
    }
    return true;
}

// Where the last #define of the text may begin: the last "#" that may
// begin the code of its line and is followed, past blanks, backslashes
// (continued lines) and NUL bytes (dropped from lines), by a "d". npos
// when there is none. No line that begins after it can be a #define.
std::size_t lastPossibleDefine(std::string_view text) {
    // memrchr: most texts hold no "#" at all and are passed in one sweep.
    for (std::size_t before = text.size(); before > 0;) {
        const void* found = memrchr(text.data(), '#', before);
        if (!found) break;
        const std::size_t hash = static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
        before = hash;
        std::size_t k = hash + 1;
        while (k < text.size() && (isBlankChar(text[k]) || text[k] == '\\' || text[k] == '\0')) ++k;
        if (k < text.size() && text[k] == 'd' && mayBeginDirective(text, hash)) return hash;
    }
    return std::string_view::npos;
}

class LineProcessor {
public:
    // table may be null: the #defines are then not recorded.
    LineProcessor(BlockReader& reader, PreprocessorDefines& defines, const std::string& fileName,
                  const std::string& packageName, std::map<std::string, MacroDefinition>* table,
                  std::size_t lastDefine, const LineNotes& notes, std::vector<std::string>& warnings)
        : reader(reader), defines(defines), fileName(fileName), packageName(packageName), table(table),
          notes(notes), lastDefine(lastDefine), warnings(warnings) {
        findNextNote();
    }

    std::string run() {
        out.reserve(reader.size() + reader.size() / 8);
        std::string joined;
        while (!reader.atEnd()) {
            // Comment text is kept only while a #define may still follow.
            keepDocText = lastDefine != std::string::npos && reader.position() <= lastDefine;
            process(readLogicalLine(joined));
            if (lineNumber >= nextNoteLine) takeNotes();
            out.push_back('\n');
        }
        if (!blocks.empty())
            preprocessorError("Unexpected end-of-file while parsing #ifdef", blocks.back().openLine);
        return std::move(out);
    }

private:
    bool active() const { return blocks.empty() || blocks.back().active; }

    // One physical line, or several joined by a final backslash; each
    // joined line adds an empty output line first. A continuation into a
    // blank line ends there, and the blank line stays a line of its own.
    // A plain line is a view into the reader's text; lines joined (or with
    // NUL bytes) are put together in `line`.
    std::string_view readLogicalLine(std::string& line) {
        std::string_view plain;
        if (reader.readLineView(plain)) {
            ++lineNumber;
            std::size_t last = plain.size();
            while (last > 0 && isHorizontalBlank(plain[last - 1])) --last;
            if (last == 0 || plain[last - 1] != '\\') return plain;
            line.assign(plain);
        } else {
            reader.readLine(line);
            ++lineNumber;
        }
        for (;;) {
            std::size_t last = line.size();
            while (last > 0 && isHorizontalBlank(line[last - 1])) --last;
            if (last == 0 || line[last - 1] != '\\') break;
            line.erase(last - 1);
            if (reader.atEnd() || reader.nextLineIsBlank()) break;
            std::string next = reader.readLine();
            ++lineNumber;
            out.push_back('\n');
            std::size_t first = 0;
            while (first < next.size() && isBlankChar(next[first])) ++first;
            line.append(next, first, std::string::npos);
        }
        return line;
    }

    // The text with every `what` removed, as removeAll gives it; the text
    // itself when it holds none, else the result in `scratch`.
    static std::string_view withoutAll(std::string_view text, std::string_view what,
                                       std::string& scratch) {
        std::size_t hit = text.find(what);
        if (hit == std::string_view::npos) return text;
        scratch.clear();
        std::size_t pos = 0;
        for (; hit != std::string_view::npos; pos = hit + what.size(), hit = text.find(what, pos))
            scratch.append(text.substr(pos, hit - pos));
        scratch.append(text.substr(pos));
        return scratch;
    }

    static std::string_view trimBlankView(std::string_view text) {
        std::size_t start = 0, end = text.size();
        while (start < end && isBlankChar(text[start])) ++start;
        while (end > start && isBlankChar(text[end - 1])) --end;
        return text.substr(start, end - start);
    }

    // As stripLeading: the run of c, then one blank when more than one
    // character is left.
    static std::string_view stripLeadingView(std::string_view text, char c) {
        std::size_t start = 0;
        while (start < text.size() && text[start] == c) ++start;
        if (text.size() - start > 1 && isBlankChar(text[start])) ++start;
        return text.substr(start);
    }

    // The line goes to the output when its block is active.
    void emit(std::string_view line, bool on) {
        if (on) out += line;
    }

    // Appends the line's output (its expansion, or nothing) to `out`; the
    // line may be changed on the way.
    // Kept inline in the line loop, which calls it for every line.
    [[gnu::always_inline]] void process(std::string_view line) {
        const bool on = active();
        CommentScan scan = scanComments(line, inComment);
        // A comment on a directive's line, before or after its words,
        // documents it; the directive is read without it, as the code it
        // stands for.
        bool trailing = scan.closes && !inComment && takeTrailingComments(line);
        if (trailing) scan = CommentScan{};
        if (isCommentOnly(line, scan)) return commentOnly(line, scan, on);
        if (scan.closes || inComment || scan.opens) return commentLine(line, scan, on);
        const std::size_t first = leadingBlanks(line);
        if (line.compare(first, 2, "//") == 0) {
            if (keepDocText) {
                char marker = first + 2 < line.size() ? line[first + 2] : '/';
                docText += stripLeadingView(line, marker);
                holdComment(line.size(), on);
            }
            return emit(line, on);
        }

        Directive d;
        if (parseDirective(line, d) && directive(d, on, trailing)) return;

        forgetComment();
        if (!on) return;
        if (scan.lineComment == std::string_view::npos) return expandCode(line, nullptr, false);
        spans.assign(1, {scan.lineComment, line.size()});
        expandCode(line, &spans, false);
    }

    // Acts on a directive line; false for one that is code like any other
    // ("#else" outside a block, an unknown word). trailing: its comments,
    // taken off the line, are in trailingDocText.
    [[gnu::noinline]] bool directive(Directive& d, bool on, bool trailing) {
        if (d.word == "ifdef" || d.word == "ifndef" || d.word == "if") {
            conditionalLine = lineNumber;
            // Inside a block left out no branch can be taken: its
            // conditions are not looked at.
            bool condition = d.word == "if"       ? on && conditionOf(d)
                             : d.word == "ifdef" ? defines.isDefined(firstWord(d.argument))
                                                 : !defines.isDefined(firstWord(d.argument));
            blocks.push_back({on, on && condition, condition, lineNumber});
            return true;
        }
        if (!blocks.empty() && (d.word == "endif" || d.word == "else" || d.word == "elif")) {
            conditionalLine = lineNumber;
            forgetComment();
            Conditional& block = blocks.back();
            if (d.word == "endif") {
                blocks.pop_back();
            } else if (d.word == "else") {
                block.active = block.outerActive && !block.branchTaken;
                block.branchTaken = true;
            } else if (block.branchTaken) {
                block.active = false;
            } else {
                bool condition = block.outerActive && conditionOf(d);
                block.active = block.outerActive && condition;
                block.branchTaken = condition;
            }
            return true;
        }
        if (d.word == "define") {
            // A line-style comment after the body ("///< the count").
            if (!trailing && d.argument.find("//") != std::string::npos &&
                splitTrailingComments(d.argument, directiveLine, trailingDocText)) {
                d.argument = directiveLine;
                trailing = true;
                trailingLine = lineNumber;
            }
            if (trailing && !docText.empty()) {
                // Both comments document the macro: the one above first.
                std::string both = docText;
                if (!isBlankChar(both.back())) both += ' ';
                both += trailingDocText;
                define(d.argument, on, both, heldLine);
            } else {
                define(d.argument, on, trailing ? trailingDocText : docText, trailing ? trailingLine : heldLine);
            }
            // The comment above documents the macro alone: the parser
            // must not give it to the declaration after.
            dropHeldComment();
            forgetComment();
            return true;
        }
        if (d.word == "undef") {
            if (on) defines.undefine(firstWord(d.argument));
            forgetComment();
            return true;
        }
        if (d.word.empty()) {
            forgetComment();
            return true;
        }
        for (const char* word : kBlankedWords) {
            if (d.word == word) {
                forgetComment();
                return true;
            }
        }
        return false;
    }

    // A line that holds a block comment and code, or that opens or closes
    // a comment. Without code it is comment only; with code the code is
    // expanded as on any other line, the comments kept as written.
    [[gnu::noinline]] void commentLine(std::string_view line, const CommentScan& scan, bool on) {
        const bool startsInComment = inComment;
        if (!startsInComment && scan.inCommentAfter && startsWithHash(line)) return commentedDirective(line, on);
        commentSpans(line, startsInComment, spans);
        if (!hasCodeOutside(line, spans)) return commentOnly(line, scan, on);
        inComment = scan.inCommentAfter;
        // The code documented by the comments so far is this line's.
        forgetComment();
        if (on) expandCode(line, &spans, startsInComment);
        // A comment the line leaves open is its code's ("int n; /**< the
        // count, ..."): no #define below takes it.
        codesComment = inComment;
    }

    // The lines a comment's own lines mostly are, told apart without a
    // look at every span: inside it from end to end, opening it after
    // blanks, or closing it before blanks.
    bool isCommentOnly(std::string_view line, const CommentScan& scan) const {
        auto blankFrom = [&line](std::size_t k) {
            while (k < line.size() && isBlankChar(line[k])) ++k;
            return k == line.size();
        };
        if (inComment) return !scan.closes || (scan.opens == 0 && blankFrom(scan.closeEnd));
        if (scan.opens != 1) return false;
        const std::size_t open = leadingBlanks(line);
        if (line[open] != '/' || line[open + 1] != '*') return false;
        return !scan.closes || blankFrom(scan.closeEnd);
    }

    // A line of comment and blanks only: its text is kept for a #define
    // that may follow.
    [[gnu::always_inline]] void commentOnly(std::string_view line, const CommentScan& scan, bool on) {
        if (keepDocText && !codesComment) gatherComment(line, scan, on);
        inComment = scan.inCommentAfter;
        if (!inComment) codesComment = false;
        emit(line, on);
    }

    [[gnu::noinline]] void gatherComment(std::string_view line, const CommentScan& scan, bool on) {
        if (scan.closes) {
            // A comment opened and closed on this line loses its "/*" too.
            std::string_view text = withoutAll(line, "*/", scratch);
            if (scan.opens) text = withoutAll(text, "/*", scratch2);
            docText += stripLeadingView(trimBlankView(text), '*');
        } else {
            docText += stripLeadingView(trimBlankView(withoutAll(line, "/*", scratch)), '*');
            docText += ' ';
        }
        holdComment(line.size(), on);
    }

    // Expands the macros of a line of code into `out`; the spans in
    // asWritten (its comments) are copied as they stand.
    // Inline: the line loop calls it for most lines.
    [[gnu::always_inline]] void expandCode(std::string_view line, PreprocessorDefines::TextSpans* asWritten,
                                           bool startsInComment) {
        // Most lines use no macro: they go out as written, not copied first.
        if (!defines.mayExpand(line, asWritten)) {
            out += line;
            return;
        }
        expanded.assign(line);
        const int startLine = lineNumber;
        PreprocessorDefines::Limit limit{line.size() + std::min(kMaxLineGrowth, growthLeft), {}};
        if (defines.expandLine(expanded, reader, out, lineNumber, &limit, asWritten) && limit.stoppedAt.empty()) {
            if (asWritten) commentSpans(expanded, startsInComment, *asWritten);
            defines.expandLine(expanded, reader, out, lineNumber, &limit, asWritten);
        }
        // A call that went on over the next lines may have opened or
        // closed a comment there.
        if (lineNumber != startLine) inComment = scanComments(expanded, startsInComment).inCommentAfter;
        if (expanded.size() > line.size())
            growthLeft -= std::min(growthLeft, expanded.size() - line.size());
        if (!limit.stoppedAt.empty() && warned.insert(limit.stoppedAt).second)
            warnings.push_back("Preprocessor: expansion of macro " + limit.stoppedAt +
                               " stopped on line " + std::to_string(startLine) +
                               ": the text would grow past the limit of expansion");
        out += expanded;
    }

    // Notes a line of comment text, about to be written, as part of the
    // comment a #define below would take.
    void holdComment(std::size_t length, bool on) {
        if (heldLine == 0) heldLine = lineNumber;
        if (on) held.emplace_back(out.size(), out.size() + length);
    }

    void forgetComment() {
        docText.clear();
        held.clear();
        heldLine = 0;
    }

    // Takes the held comment out of the output; its line feeds stay, so
    // the line count does.
    void dropHeldComment() {
        if (held.empty()) return;
        std::size_t write = held.front().first;
        std::size_t read = write;
        for (const auto& [from, to] : held) {
            for (; read < from; ++read) out[write++] = out[read];
            for (; read < to; ++read)
                if (out[read] == '\n') out[write++] = '\n';
        }
        for (; read < out.size(); ++read) out[write++] = out[read];
        out.resize(write);
        held.clear();
    }

    // The notes of the first pass on the lines read so far: a literal left
    // open in a group that is read is named in a warning, unless it is
    // the condition's own line, which is warned about as a condition.
    [[gnu::noinline]] void takeNotes() {
        const bool read = active() && conditionalLine != lineNumber;
        for (; nextQuote < notes.openQuotes.size() && notes.openQuotes[nextQuote].line <= lineNumber; ++nextQuote)
            if (read)
                warnings.push_back("Preprocessor: the quote on line " +
                                   std::to_string(notes.openQuotes[nextQuote].beginLine) +
                                   " is not closed: its literal ends with the line");
        for (; nextSlash < notes.unreadTripleSlash.size() && notes.unreadTripleSlash[nextSlash] <= lineNumber;
             ++nextSlash)
            if (active()) tripleSlashUnread = true;
        findNextNote();
    }

    void findNextNote() {
        nextNoteLine = std::numeric_limits<int>::max();
        if (nextQuote < notes.openQuotes.size()) nextNoteLine = notes.openQuotes[nextQuote].line;
        if (nextSlash < notes.unreadTripleSlash.size())
            nextNoteLine = std::min(nextNoteLine, notes.unreadTripleSlash[nextSlash]);
    }

    // Whether a literal that its line does not close ends on the line at
    // hand.
    bool openQuoteOnLine() const {
        return nextQuote < notes.openQuotes.size() && notes.openQuotes[nextQuote].line <= lineNumber;
    }

    // The value of an #if or #elif line; one that cannot be evaluated is
    // false and named in a warning.
    bool conditionOf(const Directive& d) {
        std::string error;
        // The first pass closed the literal: as written, the condition has
        // none to read.
        const bool value = openQuoteOnLine() ? (error = "missing closing quote", false)
                                             : Preprocessor::evaluateIf(d.argument, defines, &error);
        if (!error.empty())
            warnings.push_back("Preprocessor: the condition of #" + d.word + " on line " +
                               std::to_string(lineNumber) + " is taken as false: " + error);
        return value;
    }

    // documentationLine: where the comment began.
    void define(const std::string& argument, bool on, const std::string& documentation,
                int documentationLine) {
        MacroHeader h = parseDefine(argument, lineNumber);
        if (h.name.empty()) return;  // "#define" without a name defines nothing
        if (on) {
            if (h.parameters.empty()) defines.addDefine(h.name, h.body);
            else defines.addMacro(h.name, h.parameters, h.body);
        }
        if (!table) return;
        // A macro's comment reaches the pages as every other comment does.
        std::string comment = documentation;
        if (defuseCommentScript(comment))
            warnings.push_back("Script in the documentation comment on line " +
                               std::to_string(documentationLine) + " is shown as text");
        table->insert_or_assign(h.name, MacroDefinition(h.name, h.parameters, h.body, std::move(comment),
                                                        fileName, packageName));
    }

    // For a directive line whose comments close on it: the line without
    // them (in directiveLine) and their text (in trailingDocText).
    [[gnu::noinline]] bool takeTrailingComments(std::string_view& line) {
        if (!startsWithHash(line) || !splitTrailingComments(line, directiveLine, trailingDocText))
            return false;
        line = directiveLine;
        trailingLine = lineNumber;
        return true;
    }

    // A directive line that leaves a comment open goes on, as the comment
    // stands for one blank, to the line where the comment ends; the lines
    // it takes are written empty. The comment documents the directive.
    [[gnu::noinline]] void commentedDirective(std::string_view line, bool on) {
        const int startLine = lineNumber;
        std::string joined(line);
        bool open = true;
        while (open && !reader.atEnd()) {
            const std::string next = reader.readLine();
            ++lineNumber;
            out.push_back('\n');
            open = scanComments(next, true).inCommentAfter;
            // A leading "*" is the comment's margin, not its text.
            std::string_view text = trimBlankView(next);
            if (text.starts_with('*') && !text.starts_with("*/")) text = stripLeadingView(text, '*');
            joined += ' ';
            joined += text;
        }
        inComment = open;
        Directive d;
        if (splitTrailingComments(joined, directiveLine, trailingDocText) && parseDirective(directiveLine, d)) {
            trailingLine = startLine;
            if (directive(d, on, true)) return;
        }
        // Code after all ("#else" outside a block): written without its comment.
        forgetComment();
        if (on) expandCode(directiveLine, nullptr, false);
    }

    // Whether the line's code begins with "#", after blanks and block
    // comments closed on the line.
    static bool startsWithHash(std::string_view line) {
        if (!std::memchr(line.data(), '#', line.size())) return false;
        std::size_t k = leadingBlanks(line);
        while (line.compare(k, 2, "/*") == 0) {
            const std::size_t close = line.find("*/", k + 2);
            if (close == std::string_view::npos) return false;
            k = close + 2;
            k += leadingBlanks(line.substr(k));
        }
        return k < line.size() && line[k] == '#';
    }

    BlockReader& reader;
    PreprocessorDefines& defines;
    const std::string& fileName;
    const std::string& packageName;
    std::map<std::string, MacroDefinition>* table;
    std::vector<Conditional> blocks;
    const LineNotes& notes;
    std::size_t nextQuote = 0, nextSlash = 0;  // the first notes not taken
    int nextNoteLine = 0;                      // the line of the first of them
    int conditionalLine = 0;                   // the last line that was a conditional directive
    std::string out;
    std::string docText;
    std::string scratch, scratch2;  // for withoutAll
    std::string expanded;           // the line being expanded
    std::string directiveLine;      // a directive without its trailing comments
    std::string trailingDocText;    // and their text, which documents a #define after any comment above it
    int trailingLine = 0;           // where that text began
    bool codesComment = false;      // the open comment began after code on its line
    PreprocessorDefines::TextSpans spans;  // the comments of the line at hand
    // Where the comment gathered in docText stands in `out`, and the line
    // it began on (0: none).
    PreprocessorDefines::TextSpans held;
    int heldLine = 0;
    const std::size_t lastDefine;    // lastPossibleDefine of the text
    std::vector<std::string>& warnings;
    std::set<std::string> warned;  // macros already named in a warning
    // What expansion may add to one line and to the whole file: enough for
    // any real header, far below what a macro used thousands of times in
    // another would make.
    static constexpr std::size_t kMaxLineGrowth = std::size_t{1} << 20;
    std::size_t growthLeft = std::size_t{16} << 20;
    bool keepDocText = true;
    bool inComment = false;
    int lineNumber = 0;

public:
    // Set once a "///" comment noted by the first pass stood in a group
    // that was read.
    bool tripleSlashUnread = false;
};

}  // namespace

Preprocessor::Preprocessor() { setCommentFormat(DocCommentFormat()); }

Preprocessor::Preprocessor(const DocCommentFormat& format) { setCommentFormat(format); }

void Preprocessor::setCommentFormat(const DocCommentFormat& format) {
    auto view = [](const std::string& start, const std::string& middle, const std::string& end) {
        CommentView v;
        if (start.size() >= 3) {
            v.second = start[1];
            v.third = start[2];
        }
        v.middle = middle;
        v.end = end;
        return v;
    };
    views[0] = view(format.getPrimaryStart(), format.getPrimaryMiddle(), format.getPrimaryEnd());
    views[1] = view(format.getSecondaryStart(), format.getSecondaryMiddle(), format.getSecondaryEnd());
}

void Preprocessor::preprocess(std::istream& input, const std::string& outputFileName,
                              const PreprocessorDefines& defines, const std::string& fileName,
                              const std::string& packageName,
                              std::map<std::string, MacroDefinition>& documentedDefines) {
    try {
        std::string source;
        {
            BlockReader raw(input);
            source = raw.readAll();
        }
        std::string output = preprocessText(source, defines, fileName, packageName, documentedDefines);
        VelkOutFile file(outputFileName, true, false);
        file.write(output);
        file.close();
    } catch (...) {
        deleteFile(outputFileName, true);
        throw;
    }
}

std::string Preprocessor::preprocessText(const std::string& source, const PreprocessorDefines& defines,
                                         const std::string& fileName, const std::string& packageName,
                                         std::map<std::string, MacroDefinition>& documentedDefines) {
    return preprocessText(source, defines, fileName, packageName, &documentedDefines);
}

std::string Preprocessor::preprocessText(const std::string& source, const PreprocessorDefines& defines,
                                         const std::string& fileName, const std::string& packageName,
                                         std::map<std::string, MacroDefinition>* documentedDefines) {
    LineNotes notes;
    std::string stripped = Stripper(source, views, notes).run();
    const std::size_t lastDefine = lastPossibleDefine(stripped);
    BlockReader reader(std::move(stripped));
    PreprocessorDefines fileDefines = defines;
    // The user's own definition stands.
    if (!fileDefines.isDefined(kCplusplus)) {
        if (cppSource) fileDefines.addDefine(kCplusplus, kCplusplusValue);
        else fileDefines.addName(kCplusplus);
    }
    warnings.clear();
    LineProcessor lines(reader, fileDefines, fileName, packageName, documentedDefines, lastDefine, notes,
                        warnings);
    std::string text = lines.run();
    tripleSlashUnread = lines.tripleSlashUnread;
    return text;
}

namespace {

// The name of a temporary file less its unique suffix.
std::string tempNamePrefix(const std::string& prefix) {
    static std::atomic<unsigned> counter{0};
    std::string name = prefix.empty() ? "pp" + std::to_string(counter++) : prefix;

    char stamp[128];
    std::time_t now = std::time(nullptr);
    std::tm local{};
    std::size_t length = 0;
    if (localtime_r(&now, &local)) length = std::strftime(stamp, sizeof stamp, "%m%d%y%H%M%S", &local);
    // A thread's number does not change: asked once per thread, not once
    // per file.
    static thread_local const long thread = static_cast<long>(syscall(SYS_gettid));
    name += "." + std::string(stamp, length) + "." + std::to_string(thread) + ".";
    return name;
}

}  // namespace

std::string Preprocessor::makeTempFileName(const std::string& prefix) {
    std::string path = platform::createTempFile(tempNamePrefix(prefix));
    if (path.empty())
        throw VelkEnvironmentError("Could not create a temporary file in " + platform::tempDirectory(), errno);
    return path;
}

bool Preprocessor::isPreprocessorLine(const std::string& token) {
    std::string word = token.compare(0, 1, "#") == 0 ? token.substr(1) : token;
    for (const char* directive : kDirectiveWords)
        if (word == directive) return true;
    return false;
}

bool Preprocessor::isFreeTextDirective(std::string_view word) {
    for (std::string_view freeWord : kFreeTextWords)
        if (word == freeWord) return true;
    return false;
}

bool Preprocessor::evaluateIf(const std::string& expression, const PreprocessorDefines& defines,
                              std::string* error) {
    return evaluateCondition(expression, defines, error);
}
