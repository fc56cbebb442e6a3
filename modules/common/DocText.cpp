#include "modules/common/DocText.h"

#include "model/ModelText.h"
#include "modules/common/ModuleText.h"

namespace {

bool isLineBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

bool isBlank(char c) { return c == '\n' || isLineBlank(c); }

// The end of the run of blanks (or of non-blanks) that starts at from.
std::size_t skip(std::string_view text, std::size_t from, bool blanks) {
    while (from < text.size() && isBlank(text[from]) == blanks) ++from;
    return from;
}

}  // namespace

void appendLiteralText(std::string& out, std::string_view text) {
    static constexpr std::string_view lineBreak = "<BR>\n";
    for (std::size_t at = text.find(lineBreak); at != std::string_view::npos;
         at = text.find(lineBreak)) {
        appendEscapedHtml(out, text.substr(0, at));
        out += lineBreak;
        text.remove_prefix(at + lineBreak.size());
    }
    appendEscapedHtml(out, text);
}

std::string documentationText(std::string_view comment) {
    static constexpr std::string_view param = "@param";
    std::string out;
    out.reserve(comment.size() + comment.size() / 8);
    std::size_t i = 0;
    bool lineStart = true;
    while (i < comment.size()) {
        if (lineStart) {
            lineStart = false;
            std::size_t tag = i;
            while (tag < comment.size() && isLineBlank(comment[tag])) ++tag;
            const std::size_t afterTag = tag + param.size();
            if (comment.substr(tag, param.size()) == param && afterTag < comment.size() &&
                isLineBlank(comment[afterTag])) {
                std::size_t word = afterTag;
                while (word < comment.size() && isLineBlank(comment[word])) ++word;
                const std::size_t wordEnd = skip(comment, word, false);
                out.append(comment.substr(i, word - i));
                appendEscapedHtml(out, comment.substr(word, wordEnd - word));
                i = wordEnd;
                continue;
            }
        }
        const char c = comment[i];
        if (c == '{' && i + 1 < comment.size() && comment[i + 1] == '@') {
            const std::size_t close = inlineTagEnd(comment, i + 2);
            const std::size_t end = close == std::string_view::npos ? comment.size() : close;
            const std::string_view body = comment.substr(i + 2, end - i - 2);
            // The name ends at a blank, or at the "<" of a line break
            // inserted after a tag that ends its line ("{@code<BR>").
            std::size_t nameEnd = 0;
            while (nameEnd < body.size() && !isBlank(body[nameEnd]) && body[nameEnd] != '<') ++nameEnd;
            const std::string_view name = body.substr(0, nameEnd);
            if (name == "code" || name == "literal") {
                std::string_view text = trimmedView(body.substr(nameEnd));
                // A tag closed on a line of its own leaves the break that
                // ended the line before; the trim took its line feed.
                static constexpr std::string_view lastBreak = "<BR>";
                if (text.size() >= lastBreak.size() && text.substr(text.size() - lastBreak.size()) == lastBreak)
                    text = trimmedView(text.substr(0, text.size() - lastBreak.size()));
                if (name == "code") out += "<code>";
                appendLiteralText(out, text);
                if (name == "code") out += "</code>";
                // A tag over several lines ends on a later one.
                i = close == std::string_view::npos ? comment.size() : close + 1;
                continue;
            }
        }
        out += c;
        lineStart = c == '\n';
        ++i;
    }
    return out;
}
