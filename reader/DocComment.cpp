#include "reader/DocComment.h"

#include <cctype>
#include <cstring>
#include <string_view>

#include "reader/ReaderText.h"
#include "reader/TokenReader.h"

namespace {

constexpr int kEof = std::char_traits<char>::eof();

// The line's markup is taken off with views into it: a comment costs no
// allocation beyond its lines and the text kept.
std::string_view trimBlankView(std::string_view text) {
    std::size_t start = 0, end = text.size();
    while (start < end && isBlankChar(text[start])) ++start;
    while (end > start && isBlankChar(text[end - 1])) --end;
    return text.substr(start, end - start);
}

std::string_view trimRightBlanks(std::string_view text) {
    while (!text.empty() && isBlankChar(text.back())) text.remove_suffix(1);
    return text;
}

// As stripLeading: the run of c, then one blank when more than one
// character is left.
inline std::string_view stripLeadingView(std::string_view text, char c) {
    std::size_t start = 0;
    while (start < text.size() && text[start] == c) ++start;
    if (text.size() - start > 1 && isBlankChar(text[start])) ++start;
    return text.substr(start);
}

// As lineStartsWith(line, prefix, false).
bool startsAfterBlanks(std::string_view line, std::string_view prefix) {
    std::size_t pos = line.find(prefix);
    if (pos == std::string_view::npos) return false;
    std::size_t first = 0;
    while (first < line.size() && isBlankChar(line[first])) ++first;
    return pos == first;
}

// True when text, which begins with "<", opens an element ("<summary>",
// "<param name=...>", "<br/>", "</b>"): its "<" is markup, not the mark of
// a comment on what came before.
bool opensElement(std::string_view text) {
    std::size_t k = 1;
    if (k < text.size() && text[k] == '/') ++k;
    const std::size_t name = k;
    while (k < text.size() && (isWordChar(text[k]) || text[k] == '-' || text[k] == ':')) ++k;
    if (k == name || !std::isalpha(static_cast<unsigned char>(text[name]))) return false;
    if (k == text.size()) return false;
    if (text[k] == '>' || text[k] == '/') return true;
    if (!isBlankChar(text[k])) return false;
    // After blanks, an attribute and its "=".
    while (k < text.size() && isBlankChar(text[k])) ++k;
    const std::size_t attribute = k;
    while (k < text.size() && (isWordChar(text[k]) || text[k] == '-' || text[k] == ':')) ++k;
    while (k < text.size() && isBlankChar(text[k])) ++k;
    return k > attribute && k < text.size() && text[k] == '=';
}

// The text less the "<" that marks a comment on what came before, when
// it begins with one.
std::string_view dropMark(std::string_view text) {
    if (!text.empty() && text[0] == '<' && !opensElement(text)) text.remove_prefix(1);
    return text;
}

bool onlyBlanks(std::string_view text) {
    for (char c : text)
        if (!isBlankChar(c)) return false;
    return true;
}

struct CommentStyle {
    std::string_view start;
    std::string_view middle;
    std::string_view end;
    bool lineStyle;
    // A comment opened with a row of stars ("/*****") is drawn as a box:
    // the star that ends each of its lines is the box's right edge.
    bool box = false;
    // A comment on what came before ("///<"): a "<" after the middle
    // string of a later line is that mark again.
    bool marked = false;

    bool endsComment(std::string_view text) const {
        if (!middle.empty() && middle == end) {
            // A run of lines each opened by the same string ("///") goes
            // on over blank ones; only a line that is not one of it ends.
            if (lineStyle) return false;
            return trimBlankView(text) == end;
        }
        if (lineStyle) return startsAfterBlanks(text, end);
        return text.find(end) != std::string_view::npos;
    }

    // True when a line beginning with `prefix` after blanks belongs to a
    // line-style comment: it opens with the middle or the end string.
    bool continuesRun(std::string_view prefix) const {
        const std::string_view opener = middle.empty() ? std::string_view("//") : middle;
        return prefix.substr(0, opener.size()) == opener ||
               (!end.empty() && prefix.substr(0, end.size()) == end);
    }

    // The first line, after the start string: more of the start's last
    // character ("/*** x", a row of stars) is frame, then one blank.
    std::string_view cleanFirst(std::string_view text) const {
        // A line style's start was passed with its blank when read.
        if (start == end) return text;
        return stripLeadingView(text, start.empty() ? '\0' : start.back());
    }

    // A later line: the middle string where the line begins (after
    // blanks) is frame, with more of its last character and one blank
    // after it; elsewhere in the line it is text.
    std::string_view clean(std::string_view text) const {
        if (middle.empty()) return stripLeadingView(text, '\0');
        const std::size_t first = leadingBlanks(text);
        if (text.size() - first >= middle.size() && text[first] == middle[0] &&
            std::memcmp(text.data() + first, middle.data(), middle.size()) == 0) {
            text.remove_prefix(first + middle.size());
            if (marked) text = dropMark(text);
        }
        text = stripLeadingView(text, middle.back());
        if (box && middle.size() == 1) {
            text = trimRightBlanks(text);
            if (!text.empty() && text.back() == middle[0]) text = trimRightBlanks(text.substr(0, text.size() - 1));
        }
        return text;
    }

    // The kept text of the line that closed the comment ("" for none); at
    // is where the end string stands in it (npos when it does not). A row
    // of stars right before the end string ("**/", "*****/") is drawn,
    // unless it is glued to a word ("char**/" keeps "char*").
    std::string_view lastEntry(std::string_view text, std::size_t at, bool first) const {
        if (end.empty()) at = 0;
        if (at == 0) return {};
        std::string_view kept = text.substr(0, at);
        std::size_t row = kept.size();
        while (row > 0 && (kept[row - 1] == end[0] || (!middle.empty() && kept[row - 1] == middle[0]))) --row;
        if (row < kept.size() && (row == 0 || isBlankChar(kept[row - 1]))) kept = kept.substr(0, row);
        return trimBlankView(first ? cleanFirst(kept) : clean(kept));
    }
};

void appendEntry(std::string& text, std::string_view entry, const std::string& joiner) {
    if (entry.empty() || (isBlankChar(entry[0]) && onlyBlanks(entry))) return;
    text.append(entry);
    text.append(joiner);
}

// The one reading of a comment, over a stream or over text in memory.
// Source gives get(), putBack() of the character just read, eof(), and
// getLine() as a view that stays valid until the next getLine().
template <class Source>
std::string readComment(Source& in, CppStream& errors, int* line, const std::string& joiner,
                        const std::string& start, const std::string& middle,
                        const std::string& end, bool* trails) {
    const int startLine = line ? *line : 0;
    CommentStyle style{start, middle, end, start.compare(0, 2, "//") == 0};

    int skipped = 0, lastSkipped = 0, c = kEof;
    if (!start.empty()) {
        while ((c = in.get()) != kEof && c == static_cast<unsigned char>(start[0])) {
            ++skipped;
            lastSkipped = c;
        }
        if (c != kEof) in.putBack(c);
    }
    if (trails) *trails = false;
    if (end.size() == 2 && skipped > 0 && lastSkipped == static_cast<unsigned char>(end[0]) &&
        c == static_cast<unsigned char>(end[1])) {
        return "";
    }

    std::string_view current = in.getLine();
    if (line) ++*line;
    if (trails && !current.empty() && current[0] == '<' && !opensElement(current)) {
        current.remove_prefix(1);
        style.marked = *trails = true;
    }
    if (start == end) {
        // One blank after the start, which may be one beyond ASCII, is
        // not text.
        current.remove_prefix(!current.empty() && isBlankChar(current[0]) ? 1 : unicodeBlankLength(current, 0));
    }
    style.box = current.size() >= 3 && current[0] == middle[0] && middle.size() == 1 && !style.lineStyle &&
                current.find_first_not_of(middle[0]) == std::string_view::npos;

    std::string text;
    text.reserve(128);
    bool first = true;
    bool firstWithText = !current.empty();
    for (;;) {
        if (style.endsComment(current)) break;
        if (!firstWithText) {
            // A line comment has no end to wait for.
            if (in.eof()) {
                if (style.lineStyle) return text;
                raiseTokenError(errors, "Unexpected end of file", startLine);
            }
            if (style.lineStyle) {
                // The run goes on over the lines that open with its middle
                // or end string; any other line, a comment of another kind
                // too, stays for the parser.
                // A comment on the code before it goes on only over lines
                // that carry its mark ("///<"): a plain "///" line below it
                // is the next declaration's.
                int next;
                while ((next = in.get()) == ' ' || next == '\t') {}
                if (next != kEof) in.putBack(next);
                const std::string_view opener = middle.empty() ? std::string_view("//") : std::string_view(middle);
                if (style.marked ? !in.nextIs(opener, '<')
                                 : !in.nextIs(opener) && (end.empty() || !in.nextIs(end)))
                    return text;
            }
            current = in.getLine();
            if (line) ++*line;
            first = false;
            if (style.endsComment(current)) break;
        }
        firstWithText = false;
        appendEntry(text, first ? style.cleanFirst(current) : style.clean(current), joiner);
        first = false;
    }
    const std::size_t at = end.empty() ? 0 : current.find(end);
    appendEntry(text, style.lastEntry(current, at, first), joiner);
    // Code after the end of a block comment ("/** x */ int x;") is the
    // declaration it documents: it goes back to the stream, and its line
    // is counted again when it is read.
    if (!style.lineStyle && !end.empty()) {
        if (at != std::string_view::npos) {
            const std::string_view rest = current.substr(at + end.size());
            if (!trimBlankView(rest).empty() && in.giveBack(rest) && line) --*line;
        }
    }
    return text;
}

class StreamSource {
public:
    explicit StreamSource(CppStream& in) : in(in) {}
    int get() { return in.get(); }
    void putBack(int c) { in.putBack(c); }
    bool eof() { return in.eof(); }
    // True when the characters ahead are prefix, then `then` when it is
    // not 0; none is taken.
    bool nextIs(std::string_view prefix, char then = 0) {
        std::string wanted(prefix);
        if (then) wanted += then;
        std::size_t matched = 0;
        int c = kEof;
        while (matched < wanted.size() && (c = in.get()) != kEof &&
               c == static_cast<unsigned char>(wanted[matched]))
            ++matched;
        const bool all = matched == wanted.size();
        if (!all && c != kEof) in.putBack(c);
        for (std::size_t i = matched; i-- > 0;) in.putBack(static_cast<unsigned char>(wanted[i]));
        return all;
    }
    std::string_view getLine() {
        lineText = in.getLine();
        return lineText;
    }
    // Puts the end of the line just read back, from `rest` (a view into
    // it) on, with the line's feed unless the stream ended; true when the
    // feed went back too.
    bool giveBack(std::string_view rest) {
        const bool feed = !in.eof();
        if (feed) in.putBack('\n');
        for (std::size_t i = rest.size(); i-- > 0;) in.putBack(static_cast<unsigned char>(rest[i]));
        return feed;
    }

private:
    CppStream& in;
    std::string lineText;
};

// Reads as a CppStream over the same text in memory does, with nothing put
// back: lines are views into the text, never copies.
class TextSource {
public:
    explicit TextSource(TextCursor& cursor) : c(cursor) {}
    int get() {
        if (c.next != c.limit) return static_cast<unsigned char>(*c.next++);
        c.atEnd = true;
        return kEof;
    }
    // Only ever the character just read, which is still in the text.
    void putBack(int ch) {
        if (ch == kEof) return;
        --c.next;
        c.atEnd = false;
    }
    bool eof() const { return c.atEnd; }
    bool nextIs(std::string_view prefix, char then = 0) const {
        const std::size_t left = static_cast<std::size_t>(c.limit - c.next);
        return left >= prefix.size() + (then ? 1 : 0) && std::memcmp(c.next, prefix.data(), prefix.size()) == 0 &&
               (!then || c.next[prefix.size()] == then);
    }
    std::string_view getLine() {
        const char* begin = c.next;
        const auto* stop = static_cast<const char*>(
            std::memchr(begin, '\n', static_cast<std::size_t>(c.limit - begin)));
        std::string_view text(begin, static_cast<std::size_t>((stop ? stop : c.limit) - begin));
        if (stop) {
            c.next = stop + 1;
        } else {
            c.next = c.limit;
            c.atEnd = true;  // the line ran into the end
        }
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        return text;
    }
    // As StreamSource::giveBack; the line is still in the text, so the
    // cursor only moves back to `rest`.
    bool giveBack(std::string_view rest) {
        c.next = rest.data();
        c.atEnd = false;
        const char* after = rest.data() + rest.size();
        while (after != c.limit && *after == '\r') ++after;
        return after != c.limit && *after == '\n';
    }

private:
    TextCursor& c;
};

}  // namespace

std::string readDocComment(CppStream& in, int* line, const std::string& joiner,
                           const std::string& start, const std::string& middle,
                           const std::string& end, bool* trails) {
    StreamSource source(in);
    return readComment(source, in, line, joiner, start, middle, end, trails);
}

std::string readDocComment(TextCursor& text, CppStream& errors, int* line, const std::string& joiner,
                           const std::string& start, const std::string& middle,
                           const std::string& end, bool* trails) {
    TextSource source(text);
    return readComment(source, errors, line, joiner, start, middle, end, trails);
}
