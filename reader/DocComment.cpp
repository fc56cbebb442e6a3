#include "reader/DocComment.h"

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

std::string_view trimRightView(std::string_view text, char c) {
    std::size_t end = text.size();
    while (end > 0 && text[end - 1] == c) --end;
    return text.substr(0, end);
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

struct CommentStyle {
    std::string_view start;
    std::string_view middle;
    std::string_view end;
    bool lineStyle;

    bool endsComment(std::string_view text) const {
        if (!middle.empty() && middle == end) return trimBlankView(text) == end;
        if (lineStyle) return startsAfterBlanks(text, end);
        return text.find(end) != std::string_view::npos;
    }

    std::string_view clean(std::string_view text) const {
        if (middle.empty()) return stripLeadingView(text, '\0');
        std::size_t at = text.find(middle);
        if (at != std::string_view::npos) text.remove_prefix(at + middle.size());
        text = stripLeadingView(text, middle.back());
        if (middle.size() == 1 && !text.empty() && text.back() == middle[0]) text.remove_suffix(1);
        return text;
    }

    // The kept text of the line that closed the comment ("" for none); at
    // is where the end string stands in it (npos when it does not).
    std::string_view lastEntry(std::string_view text, std::size_t at) const {
        if (end.empty()) at = 0;
        if (at == 0) return {};
        std::string_view kept = trimBlankView(text.substr(0, at));
        if (kept.empty()) return {};
        if (!end.empty()) kept = trimRightView(kept, end[0]);
        if (!middle.empty()) kept = trimRightView(kept, middle[0]);
        if (!start.empty()) kept = trimRightView(kept, start[0]);
        if (!start.empty()) kept = stripLeadingView(kept, start.back());
        return kept;
    }
};

void appendEntry(std::string& text, std::string_view entry, const std::string& joiner) {
    if (entry.empty()) return;
    text.append(entry);
    text.append(joiner);
}

// The one reading of a comment, over a stream or over text in memory.
// Source gives get(), putBack() of the character just read, eof(), and
// getLine() as a view that stays valid until the next getLine().
template <class Source>
std::string readComment(Source& in, CppStream& errors, int* line, const std::string& joiner,
                        const std::string& start, const std::string& middle,
                        const std::string& end) {
    const int startLine = line ? *line : 0;
    const CommentStyle style{start, middle, end, start.compare(0, 2, "//") == 0};

    int skipped = 0, lastSkipped = 0, c = kEof;
    if (!start.empty()) {
        while ((c = in.get()) != kEof && c == static_cast<unsigned char>(start[0])) {
            ++skipped;
            lastSkipped = c;
        }
        if (c != kEof) in.putBack(c);
    }
    if (end.size() == 2 && skipped > 0 && lastSkipped == static_cast<unsigned char>(end[0]) &&
        c == static_cast<unsigned char>(end[1])) {
        return "";
    }

    std::string_view current = in.getLine();
    if (line) ++*line;
    if (start == end) {
        // The text after the first blank, which may be one beyond ASCII.
        std::size_t blank = 0, length = 0;
        for (; blank < current.size(); ++blank) {
            if (isBlankChar(current[blank])) length = 1;
            else length = unicodeBlankLength(current, blank);
            if (length > 0) break;
        }
        current = length > 0 ? current.substr(blank + length) : std::string_view();
    }

    std::string text;
    text.reserve(128);
    bool firstWithText = !current.empty();
    for (;;) {
        if (style.endsComment(current)) break;
        if (in.eof()) raiseTokenError(errors, "Unexpected end of file", startLine);
        if (!firstWithText) {
            if (style.lineStyle) {
                int next;
                while ((next = in.get()) == ' ' || next == '\t') {}
                if (next != kEof) in.putBack(next);
                if (next != '/') return text;
            }
            current = in.getLine();
            if (line) ++*line;
            if ((style.lineStyle && !startsAfterBlanks(current, "//")) || style.endsComment(current))
                break;
        }
        firstWithText = false;
        appendEntry(text, style.clean(current), joiner);
    }
    const std::size_t at = end.empty() ? 0 : current.find(end);
    appendEntry(text, style.lastEntry(current, at), joiner);
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
                           const std::string& end) {
    StreamSource source(in);
    return readComment(source, in, line, joiner, start, middle, end);
}

std::string readDocComment(TextCursor& text, CppStream& errors, int* line, const std::string& joiner,
                           const std::string& start, const std::string& middle,
                           const std::string& end) {
    TextSource source(text);
    return readComment(source, errors, line, joiner, start, middle, end);
}
