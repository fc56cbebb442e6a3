#include "model/ModelText.h"

#include <array>
#include <string_view>

std::string textAfterLast(const std::string& text, const std::string& separator) {
    if (separator.empty()) return text;
    size_t at = text.rfind(separator);
    if (at == std::string::npos) return text;
    return text.substr(at + separator.size());
}

std::string lastPathPart(const std::string& path) {
    size_t at = path.find_last_of("/\\");
    return at == std::string::npos ? path : path.substr(at + 1);
}

size_t findFirstCharWhere(const std::string& text, int (*test)(int), bool negate) {
    for (size_t i = 0; i < text.size(); ++i) {
        bool hit = test(static_cast<unsigned char>(text[i])) != 0;
        if (hit != negate) return i;
    }
    return std::string::npos;
}

namespace {

bool isIdentifierChar(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_';
}

// Words that end a type rather than name a parameter ("unsigned int",
// "long long", "char const").
bool isTypeEndingWord(std::string_view word) {
    static constexpr std::string_view words[] = {
        "bool", "char", "char8_t", "char16_t", "char32_t", "const", "double", "float", "int",
        "long", "short", "signed", "unsigned", "void", "volatile", "wchar_t"};
    for (std::string_view w : words)
        if (w == word) return true;
    return false;
}

// Words that a type name must follow: the word after one of them is the
// type, never a parameter name ("const Point", "struct Alpha").
bool isTypePrefixWord(std::string_view word) {
    if (word.size() < 2 || word.size() > 8) return false;
    static constexpr std::string_view words[] = {
        "class",  "const",  "enum", "final",    "in",       "out",      "params",
        "ref",    "struct", "this", "typename", "register", "readonly", "scoped",
        "union",  "volatile"};
    for (std::string_view w : words)
        if (w == word) return true;
    return false;
}

// The word that ends text[0, end) after its blanks, "" when it ends in
// something else.
std::string_view lastWordBefore(const std::string& text, size_t end) {
    while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    size_t start = end;
    while (start > 0 && isIdentifierChar(text[start - 1])) --start;
    return std::string_view(text).substr(start, end - start);
}

// The type part of a parameter text: the default value and a trailing
// parameter name removed, blanks folded ("const Point& a = p" gives
// "const Point&"). A text that is a type alone stays as it is.
std::string argumentType(const std::string& text) {
    std::string t = text;
    int depth = 0;
    for (size_t i = 0; i < t.size(); ++i) {
        char c = t[i];
        if (c == '(' || c == '<' || c == '[' || c == '{') ++depth;
        else if ((c == ')' || c == '>' || c == ']' || c == '}') && depth > 0) --depth;
        else if (c == '=' && depth == 0) {
            t.resize(i);
            break;
        }
    }
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.pop_back();
    size_t end = t.size();
    size_t start = end;
    while (start > 0 && isIdentifierChar(t[start - 1])) --start;
    if (start < end && start > 0 && !(t[start] >= '0' && t[start] <= '9') &&
        !isTypeEndingWord(std::string_view(t).substr(start)) && t[start - 1] != ':' &&
        !isTypePrefixWord(lastWordBefore(t, start))) {
        // Something precedes the last word, so that word is the name.
        size_t before = start;
        while (before > 0 && (t[before - 1] == ' ' || t[before - 1] == '\t')) --before;
        if (before > 0) t.resize(before);
    }
    // A blank matters only between two words ("unsigned int"), not next to
    // punctuation ("T *" and "T*" are one type).
    std::string folded;
    for (size_t i = 0; i < t.size(); ++i) {
        char c = t[i];
        if (c != ' ' && c != '\t') {
            folded += c;
            continue;
        }
        size_t next = i;
        while (next < t.size() && (t[next] == ' ' || t[next] == '\t')) ++next;
        if (!folded.empty() && next < t.size() && isIdentifierChar(folded.back()) &&
            isIdentifierChar(t[next]))
            folded += ' ';
        i = next - 1;
    }
    return folded;
}

}  // namespace

bool sameArguments(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    if (a == b) return true;
    if (a.size() != b.size()) return false;
    // A declaration and its definition often name their parameters
    // differently ("double radius" and "double r"); they are still one
    // member.
    for (size_t i = 0; i < a.size(); ++i)
        if (argumentType(a[i]) != argumentType(b[i])) return false;
    return true;
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    if (from.empty()) return text;
    std::string out;
    size_t start = 0;
    for (size_t at; (at = text.find(from, start)) != std::string::npos; start = at + from.size()) {
        out.append(text, start, at - start);
        out += to;
    }
    if (start == 0) return text;
    out.append(text, start, std::string::npos);
    return out;
}

std::string makeLink(const std::string& text, const std::string& page,
                     const std::string& tag, const std::string& anchor) {
    std::string shown = tag.empty() ? text : "<" + tag + ">" + text + "</" + tag + ">";
    std::string link = "<a href=\"";
    appendHrefEscaped(link, page);
    if (!anchor.empty()) {
        link += '#';
        // Anchors come escaped as element text is; only a quote could
        // still end the attribute.
        for (char c : anchor) {
            if (c == '"') link += "&quot;";
            else link += c;
        }
    }
    link += "\">";
    link += shown;
    link += "</a>";
    return link;
}

bool isGlobalsClassName(const std::string& name) {
    return name.find(" globals)") != std::string::npos;
}

std::string hrefEscape(const std::string& path) {
    std::string out;
    out.reserve(path.size() + 8);
    appendHrefEscaped(out, path);
    return out;
}

void appendHrefEscaped(std::string& out, std::string_view path) {
    static const char hex[] = "0123456789ABCDEF";
    // The bytes that are not copied as they are.
    static constexpr auto special = [] {
        std::array<bool, 256> table{};
        for (int byte = 0; byte < 0x21; ++byte) table[byte] = true;
        table[0x7F] = true;
        for (unsigned char c : {'%', '#', '?', '"', '<', '>', '\'', '&'}) table[c] = true;
        return table;
    }();
    // A ":" before the first "/" would make the first segment a URL scheme
    // ("javascript:", "data:"), so a page named after a file could run
    // script; there it is percent-encoded, which still names the same file.
    const std::size_t firstSlash = path.find('/');
    std::size_t from = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        char c = path[i];
        auto byte = static_cast<unsigned char>(c);
        if (!special[byte] && (c != ':' || i > firstSlash)) continue;
        out.append(path.data() + from, i - from);
        from = i + 1;
        if (c == '&') {
            out += "&amp;";
        } else {
            out += '%';
            out += hex[byte >> 4];
            out += hex[byte & 15];
        }
    }
    out.append(path.data() + from, path.size() - from);
}

void appendListField(std::string& out, std::string_view field) {
    if (field.find_first_of("|\\") == std::string_view::npos) {
        out.append(field);
        return;
    }
    for (char c : field) {
        if (c == '|' || c == '\\') out += '\\';
        out += c;
    }
}

std::string escapeListField(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    appendListField(out, field);
    return out;
}

std::vector<std::string> splitListFields(std::string_view text) {
    std::vector<std::string> fields;
    forEachListField(text, [&](std::string_view field) { fields.emplace_back(field); });
    return fields;
}
