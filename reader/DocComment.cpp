#include "reader/DocComment.h"

#include "reader/ReaderText.h"
#include "reader/TokenReader.h"

namespace {

constexpr int kEof = std::char_traits<char>::eof();

struct CommentStyle {
    const std::string& start;
    const std::string& middle;
    const std::string& end;
    bool lineStyle;

    bool endsComment(const std::string& text) const {
        if (!middle.empty() && middle == end) return trimBlanks(text) == end;
        if (lineStyle) return lineStartsWith(text, end, false);
        return text.find(end) != std::string::npos;
    }

    std::string clean(std::string text) const {
        if (middle.empty()) return stripLeading(text, '\0');
        std::size_t at = text.find(middle);
        if (at != std::string::npos) text.erase(0, at + middle.size());
        text = stripLeading(text, middle.back());
        if (middle.size() == 1 && !text.empty() && text.back() == middle[0]) text.pop_back();
        return text;
    }

    // The kept text of the line that closed the comment ("" for none).
    std::string lastEntry(const std::string& text) const {
        std::size_t at = end.empty() ? 0 : text.find(end);
        if (at == 0) return "";
        std::string kept = trimBlanks(text.substr(0, at));
        if (kept.empty()) return "";
        if (!end.empty()) kept = trimRight(kept, end[0]);
        if (!middle.empty()) kept = trimRight(kept, middle[0]);
        if (!start.empty()) kept = trimRight(kept, start[0]);
        if (!start.empty()) kept = stripLeading(kept, start.back());
        return kept;
    }
};

}  // namespace

std::string readDocComment(CppStream& in, int* line, const std::string& joiner,
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

    std::string current = in.getLine();
    if (line) ++*line;
    if (start == end) {
        std::size_t blank = 0;
        while (blank < current.size() && !isBlankChar(current[blank])) ++blank;
        current = blank < current.size() ? current.substr(blank + 1) : std::string();
    }

    std::string text;
    bool firstWithText = !current.empty();
    for (;;) {
        if (style.endsComment(current)) break;
        if (in.eof()) raiseTokenError(in, "Unexpected end of file", startLine);
        if (!firstWithText) {
            if (style.lineStyle) {
                int next;
                while ((next = in.get()) == ' ' || next == '\t') {}
                if (next != kEof) in.putBack(next);
                if (next != '/') return text;
            }
            current = in.getLine();
            if (line) ++*line;
            if ((style.lineStyle && !lineStartsWith(current, "//", false)) || style.endsComment(current))
                break;
        }
        firstWithText = false;
        std::string cleaned = style.clean(current);
        if (!cleaned.empty()) text += cleaned + joiner;
    }
    std::string last = style.lastEntry(current);
    if (!last.empty()) text += last + joiner;
    return text;
}
