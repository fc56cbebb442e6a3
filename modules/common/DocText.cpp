#include "modules/common/DocText.h"

#include "model/ModelText.h"
#include "modules/common/ModuleText.h"

#include <vector>

namespace {

bool isLineBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

bool isBlank(char c) { return c == '\n' || isLineBlank(c); }

// A tag's name ends before any other byte: "{@code(x)}" is the code tag,
// and the line break inserted after a tag that ends its line
// ("{@code<BR>") is the start of its text.
bool isTagNameByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           c == '-' || c == '.' || c == ':' || c == '_';
}

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

std::string documentationText(std::string_view comment, const ValueTagWriter& values) {
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
            // The name is read first, and only a tag this reads looks for
            // its end: a tag left as written is passed over by its "{"
            // alone, so tags nested deep inside each other are read once.
            std::size_t nameEnd = i + 2;
            while (nameEnd < comment.size() && isTagNameByte(comment[nameEnd])) ++nameEnd;
            const std::string_view name = comment.substr(i + 2, nameEnd - i - 2);
            const bool value = name == "value" && values;
            if (name == "code" || name == "literal" || value) {
                const std::size_t close = inlineTagEnd(comment, nameEnd);
                const std::size_t end = close == std::string_view::npos ? comment.size() : close;
                std::string_view text = trimmedView(comment.substr(nameEnd, end - nameEnd));
                // A tag closed on a line of its own leaves the break that
                // ended the line before; the trim took its line feed.
                static constexpr std::string_view lastBreak = "<BR>";
                if (text.size() >= lastBreak.size() && text.substr(text.size() - lastBreak.size()) == lastBreak)
                    text = trimmedView(text.substr(0, text.size() - lastBreak.size()));
                if (value) {
                    // A reference names no break.
                    if (text.substr(0, lastBreak.size()) == lastBreak)
                        text = trimmedView(text.substr(lastBreak.size()));
                    values(out, text);
                } else {
                    if (name == "code") out += "<code>";
                    appendLiteralText(out, text);
                    if (name == "code") out += "</code>";
                }
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

namespace {

// The elements of C# documentation that are read; any other stays text.
enum class XmlElement {
    summary, remarks, value, param, typeparam, returns, exception, seealso,  // blocks
    see, c, code, para, paramref, typeparamref,                              // within text
};

struct XmlElementName {
    std::string_view name;
    XmlElement element;
};

constexpr XmlElementName xmlElementNames[] = {
    {"summary", XmlElement::summary},     {"remarks", XmlElement::remarks},
    {"value", XmlElement::value},         {"param", XmlElement::param},
    {"typeparam", XmlElement::typeparam}, {"returns", XmlElement::returns},
    {"exception", XmlElement::exception}, {"seealso", XmlElement::seealso},
    {"see", XmlElement::see},             {"c", XmlElement::c},
    {"code", XmlElement::code},           {"para", XmlElement::para},
    {"paramref", XmlElement::paramref},   {"typeparamref", XmlElement::typeparamref},
};

bool findXmlElement(std::string_view name, XmlElement& element) {
    for (const XmlElementName& known : xmlElementNames)
        if (known.name == name) {
            element = known.element;
            return true;
        }
    return false;
}

bool isXmlNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           c == '_' || c == '-' || c == ':';
}

std::size_t skipXmlName(std::string_view text, std::size_t at) {
    while (at < text.size() && isXmlNameChar(text[at])) ++at;
    return at;
}

// A start tag of a known element, read from its "<".
struct XmlStartTag {
    XmlElement element = XmlElement::summary;
    std::string_view written;  // the whole tag
    bool empty = false;        // "<... />"
    std::string_view cref, name, langword;
};

bool readXmlStartTag(std::string_view text, std::size_t at, XmlStartTag& tag) {
    const std::size_t nameEnd = skipXmlName(text, at + 1);
    if (!findXmlElement(text.substr(at + 1, nameEnd - at - 1), tag.element)) return false;
    tag.cref = tag.name = tag.langword = {};
    std::size_t i = nameEnd;
    while (true) {
        const std::size_t before = i;
        while (i < text.size() && isBlank(text[i])) ++i;
        if (i >= text.size()) return false;
        if (text[i] == '>' || text.compare(i, 2, "/>") == 0) {
            tag.empty = text[i] == '/';
            const std::size_t end = i + (tag.empty ? 2 : 1);
            tag.written = text.substr(at, end - at);
            return true;
        }
        if (i == before) return false;  // attributes stand apart
        const std::size_t attributeEnd = skipXmlName(text, i);
        const std::string_view attribute = text.substr(i, attributeEnd - i);
        i = attributeEnd;
        while (i < text.size() && isBlank(text[i])) ++i;
        if (attribute.empty() || i >= text.size() || text[i] != '=') return false;
        ++i;
        while (i < text.size() && isBlank(text[i])) ++i;
        if (i >= text.size() || (text[i] != '"' && text[i] != '\'')) return false;
        const std::size_t close = text.find(text[i], i + 1);
        if (close == std::string_view::npos) return false;
        const std::string_view value = text.substr(i + 1, close - i - 1);
        if (attribute == "cref") tag.cref = value;
        else if (attribute == "name") tag.name = value;
        else if (attribute == "langword") tag.langword = value;
        i = close + 1;
    }
}

// The elements of a comment as a tree: each piece of an element's content
// is text of the comment or an element within it.
constexpr std::size_t noChild = static_cast<std::size_t>(-1);

struct XmlNode {
    XmlStartTag start;
    std::string_view end;  // the end tag as written; empty while open
    bool closed = false;
    struct Piece {
        std::string_view text;
        std::size_t child = noChild;  // index into the nodes, or noChild for text
    };
    std::vector<Piece> pieces;
};

// Deeper elements are left as text, so that rendering cannot run out of
// stack on a hostile comment.
constexpr std::size_t maxXmlDepth = 200;

// Reads the comment into nodes; nodes[0] is the whole comment. An end tag
// closes the nearest open element of its name, and the elements opened
// inside that one and still open stay open (they are shown as written).
std::vector<XmlNode> readXmlNodes(std::string_view text) {
    std::vector<XmlNode> nodes(1);
    nodes[0].closed = true;
    std::vector<std::size_t> open{0};
    std::size_t textStart = 0;
    auto flush = [&](std::size_t upTo) {
        if (upTo > textStart)
            nodes[open.back()].pieces.push_back({text.substr(textStart, upTo - textStart), noChild});
    };
    for (std::size_t lt = text.find('<'); lt != std::string_view::npos; lt = text.find('<', lt + 1)) {
        XmlStartTag tag;
        if (open.size() <= maxXmlDepth && readXmlStartTag(text, lt, tag)) {
            flush(lt);
            const std::size_t index = nodes.size();
            nodes[open.back()].pieces.push_back({{}, index});
            nodes.emplace_back();
            nodes.back().start = tag;
            nodes.back().closed = tag.empty;
            if (!tag.empty) open.push_back(index);
            textStart = lt + tag.written.size();
            lt = textStart - 1;
            continue;
        }
        if (lt + 1 >= text.size() || text[lt + 1] != '/' || open.size() < 2) continue;
        const std::size_t nameEnd = skipXmlName(text, lt + 2);
        std::size_t close = nameEnd;
        while (close < text.size() && isBlank(text[close])) ++close;
        XmlElement element;
        if (close >= text.size() || text[close] != '>' ||
            !findXmlElement(text.substr(lt + 2, nameEnd - lt - 2), element))
            continue;
        std::size_t match = open.size() - 1;
        while (match > 0 && nodes[open[match]].start.element != element) --match;
        if (match == 0) continue;
        flush(lt);
        // The elements left open inside it stay open: they are shown as
        // written, within it.
        XmlNode& node = nodes[open[match]];
        node.closed = true;
        node.end = text.substr(lt, close + 1 - lt);
        open.resize(match);
        textStart = close + 1;
        lt = close;
    }
    flush(text.size());
    return nodes;
}

bool isBlockElement(XmlElement element) { return element <= XmlElement::seealso; }

// A cref as a reference of the {@link} kind: without its kind prefix
// ("T:", "M:"), type arguments in braces, one word: the blanks within its
// brackets kept as one blank where keepBlanks is set (a link reads its name
// to the first blank outside brackets), dropped where it is not (a tag's
// first word ends at any blank).
std::string crefReference(std::string_view cref, bool keepBlanks = true) {
    if (cref.size() > 2 && cref[1] == ':') cref.remove_prefix(2);
    std::string reference;
    reference.reserve(cref.size());
    int depth = 0;
    for (std::size_t i = 0; i < cref.size(); ++i) {
        char c = cref[i];
        if (isBlank(c)) {
            if (keepBlanks && depth > 0 && !reference.empty() && reference.back() != ' ')
                reference += ' ';
            continue;
        }
        if (cref.compare(i, 4, "&lt;") == 0 || cref.compare(i, 4, "&gt;") == 0) {
            c = cref[i + 1] == 'l' ? '<' : '>';
            i += 3;
        }
        if (c == '<' || c == '{' || c == '(' || c == '[') ++depth;
        else if ((c == '>' || c == '}' || c == ')' || c == ']') && depth > 0) --depth;
        reference += c == '<' ? '{' : c == '>' ? '}' : c;
    }
    return reference;
}

// A cref as code text the reader reads: "{@code Cache<TKey>}".
std::string crefAsCode(std::string_view cref) {
    std::string code = "{@code " + crefReference(cref);
    for (std::size_t i = 7; i < code.size(); ++i)
        code[i] = code[i] == '{' ? '<' : code[i] == '}' ? '>' : code[i];
    code += '}';
    return code;
}

bool startsWithBreak(std::string_view text) {
    return text.size() >= 4 && text[0] == '<' && (text[1] == 'b' || text[1] == 'B') &&
           (text[2] == 'r' || text[2] == 'R') && text[3] == '>';
}

// The text without the blanks and line breaks ("<BR>") around it.
std::string_view trimmedOfBreaks(std::string_view text) {
    while (true) {
        text = trimmedView(text);
        if (startsWithBreak(text)) text.remove_prefix(4);
        else if (text.size() >= 4 && startsWithBreak(text.substr(text.size() - 4)))
            text.remove_suffix(4);
        else return text;
    }
}

// A code block's lines without the blank lines around them; the first
// line keeps its indentation.
std::string_view trimmedOfBlankLines(std::string_view text) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size() && isBlank(text[i]); ++i)
        if (text[i] == '\n') start = i + 1;
    std::size_t end = text.size();
    while (end > start && isBlank(text[end - 1])) --end;
    return text.substr(start, end - start);
}

// text appended with the "@" that begins a line written "&#64;", so that
// no line of the author's is taken for a tag.
void appendShieldingTags(std::string& out, std::string_view text) {
    bool lineStart = true;
    for (char c : text) {
        if (lineStart && c == '@') {
            out += "&#64;";
            lineStart = false;
            continue;
        }
        if (c == '\n') lineStart = true;
        else if (!isLineBlank(c)) lineStart = false;
        out += c;
    }
}

class XmlDocRenderer {
public:
    XmlDocRenderer(const std::vector<XmlNode>& nodes, CrefReading crefs)
        : nodes(nodes), crefs(crefs) {}

    // The node's content as shown; in a code block its lines break by
    // themselves, so the breaks between comment lines are left out.
    void appendContent(std::string& out, const XmlNode& node, bool code) const {
        for (const XmlNode::Piece& piece : node.pieces) {
            if (piece.child != noChild) {
                appendElement(out, nodes[piece.child], code);
                continue;
            }
            if (!code) {
                out += piece.text;
                continue;
            }
            static constexpr std::string_view lineBreak = "<BR>\n";
            std::string_view text = piece.text;
            for (std::size_t at = text.find(lineBreak); at != std::string_view::npos;
                 at = text.find(lineBreak)) {
                out += text.substr(0, at);
                out += '\n';
                text.remove_prefix(at + lineBreak.size());
            }
            out += text;
        }
    }

    std::string content(const XmlNode& node) const {
        std::string text;
        appendContent(text, node, false);
        return text;
    }

    void appendElement(std::string& out, const XmlNode& node, bool code) const {
        const XmlStartTag& start = node.start;
        if (node.closed) {
            switch (start.element) {
            case XmlElement::c:
                out += "<code>";
                appendContent(out, node, code);
                out += "</code>";
                return;
            case XmlElement::code: {
                std::string block;
                appendContent(block, node, true);
                const std::string_view lines = trimmedOfBlankLines(block);
                // Written within a line, it is code text of that line.
                const bool inLine = block.find('\n') == std::string::npos;
                out += inLine ? "<code>" : "<pre>";
                out += lines;
                out += inLine ? "</code>" : "</pre>";
                return;
            }
            case XmlElement::para:
                out += "<p>";
                appendContent(out, node, code);
                out += "</p>";
                return;
            case XmlElement::see:
            case XmlElement::seealso:
                if (!start.cref.empty()) {
                    std::string label;
                    appendContent(label, node, code);
                    const std::string_view shown = trimmedOfBreaks(label);
                    if (crefs == CrefReading::code) {
                        // The words the author gave it, else the name it
                        // refers to, its type arguments in angle brackets.
                        if (!shown.empty()) out += shown;
                        else out += crefAsCode(start.cref);
                        return;
                    }
                    out += "{@link ";
                    out += crefReference(start.cref);
                    if (!shown.empty()) {
                        out += ' ';
                        out += shown;
                    }
                    out += '}';
                    return;
                }
                if (!start.langword.empty()) {
                    appendCodeTag(out, start.langword);
                    return;
                }
                break;
            case XmlElement::paramref:
            case XmlElement::typeparamref:
                if (!start.name.empty()) {
                    appendCodeTag(out, start.name);
                    return;
                }
                break;
            default: break;
            }
        }
        // As written.
        out += start.written;
        appendContent(out, node, code);
        out += node.end;
    }

private:
    static void appendCodeTag(std::string& out, std::string_view word) {
        out += "{@code ";
        out += word;
        out += '}';
    }

    const std::vector<XmlNode>& nodes;
    CrefReading crefs;
};

// The tag line that a block element of its own stands for, "" for none.
std::string tagLine(const XmlStartTag& start, std::string_view text, CrefReading crefs) {
    std::string line;
    switch (start.element) {
    case XmlElement::param:
        if (start.name.empty()) return line;
        line = "@param ";
        line += start.name;
        break;
    case XmlElement::typeparam:
        if (start.name.empty()) return line;
        line = "@param <";
        line += start.name;
        line += '>';
        break;
    case XmlElement::returns: line = "@return"; break;
    case XmlElement::exception:
        if (start.cref.empty()) return line;
        line = "@throws " + crefReference(start.cref, false);
        break;
    case XmlElement::seealso:
        if (start.cref.empty()) return line;
        line = "@see " + (crefs == CrefReading::code ? crefAsCode(start.cref)
                                                      : crefReference(start.cref));
        break;
    default: return line;
    }
    if (!text.empty()) {
        line += ' ';
        appendShieldingTags(line, text);
    }
    return line;
}

}  // namespace

std::string xmlDocAsTags(std::string_view comment, CrefReading crefs) {
    if (comment.find('<') == std::string_view::npos) return std::string(comment);
    const std::vector<XmlNode> nodes = readXmlNodes(comment);
    if (nodes.size() == 1) return std::string(comment);
    const XmlDocRenderer renderer(nodes, crefs);
    std::vector<std::string> summary, description, tags;
    std::string loose;  // text outside the block elements, since the last one
    auto endLoose = [&] {
        const std::string_view text = trimmedOfBreaks(loose);
        if (!text.empty()) description.emplace_back(text);
        loose.clear();
    };
    for (const XmlNode::Piece& piece : nodes[0].pieces) {
        if (piece.child == noChild) {
            loose += piece.text;
            continue;
        }
        const XmlNode& node = nodes[piece.child];
        const XmlElement element = node.start.element;
        if (!node.closed || !isBlockElement(element)) {
            renderer.appendElement(loose, node, false);
            continue;
        }
        const std::string content = renderer.content(node);
        const std::string_view text = trimmedOfBreaks(content);
        if (element == XmlElement::summary || element == XmlElement::remarks ||
            element == XmlElement::value) {
            endLoose();
            if (!text.empty()) (element == XmlElement::summary ? summary : description).emplace_back(text);
            continue;
        }
        std::string line = tagLine(node.start, text, crefs);
        if (line.empty()) {
            renderer.appendElement(loose, node, false);
            continue;
        }
        endLoose();
        tags.push_back(std::move(line));
    }
    endLoose();
    std::string out;
    out.reserve(comment.size());
    summary.insert(summary.end(), description.begin(), description.end());
    for (const std::string& part : summary) {
        if (!out.empty()) out += "\n<p>";
        appendShieldingTags(out, part);
    }
    for (const std::string& line : tags) {
        if (!out.empty()) out += '\n';
        out += line;
    }
    return out;
}

bool isXmlDocLanguage(int language) { return language == 1; }

std::string receivedComment(std::string_view comment, int language, CrefReading crefs) {
    return isXmlDocLanguage(language) ? xmlDocAsTags(comment, crefs) : std::string(comment);
}
