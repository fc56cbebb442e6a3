#include "modules/common/SourceFacts.h"

#include "VelkLib/VelkError.h"

namespace {

enum class TokenKind { word, number, text, character, symbol, end };

struct Token {
    TokenKind kind = TokenKind::end;
    std::string_view text;
    bool is(char symbol) const {
        return kind == TokenKind::symbol && text.size() == 1 && text[0] == symbol;
    }
    bool is(std::string_view word) const { return kind == TokenKind::word && text == word; }
};

bool isWordStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool isWordByte(char c) { return isWordStart(c) || (c >= '0' && c <= '9'); }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The tokens of a Java or C# text, comments, preprocessor lines and blanks
// passed over.
class SourceTokens {
public:
    explicit SourceTokens(std::string_view text) : text(text) {}

    Token next() {
        skipSpace();
        if (at >= text.size()) return {TokenKind::end, {}};
        const std::size_t start = at;
        const char c = text[at];
        TokenKind kind = TokenKind::symbol;
        if (isWordStart(c) && !isStringPrefix()) {
            while (at < text.size() && isWordByte(text[at])) ++at;
            kind = TokenKind::word;
        } else if (isDigit(c) || (c == '.' && at + 1 < text.size() && isDigit(text[at + 1]))) {
            skipNumber();
            kind = TokenKind::number;
        } else if (c == '"' || isStringPrefix()) {
            skipString();
            kind = TokenKind::text;
        } else if (c == '\'') {
            skipQuoted('\'');
            kind = TokenKind::character;
        } else {
            ++at;
        }
        return {kind, text.substr(start, at - start)};
    }

    // The text right after the last token.
    std::size_t position() const { return at; }

private:
    void skipSpace() {
        while (at < text.size()) {
            const char c = text[at];
            if (c == '\n') {
                lineStart = true;
                ++at;
            } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
                ++at;
            } else if (c == '#' && lineStart) {
                skipLine();  // a preprocessor line of C#
            } else if (text.compare(at, 2, "//") == 0) {
                skipLine();
            } else if (text.compare(at, 2, "/*") == 0) {
                const std::size_t end = text.find("*/", at + 2);
                at = end == std::string_view::npos ? text.size() : end + 2;
                lineStart = false;
            } else {
                lineStart = false;
                return;
            }
        }
    }

    void skipLine() {
        const std::size_t end = text.find('\n', at);
        at = end == std::string_view::npos ? text.size() : end;
    }

    void skipNumber() {
        const bool hex = text.compare(at, 2, "0x") == 0 || text.compare(at, 2, "0X") == 0;
        while (at < text.size()) {
            const char c = text[at];
            const bool exponent = hex ? (c == 'p' || c == 'P') : (c == 'e' || c == 'E');
            if (exponent && at + 1 < text.size() && (text[at + 1] == '+' || text[at + 1] == '-')) {
                at += 2;
                continue;
            }
            if (!isWordByte(c) && c != '.') return;
            ++at;
        }
    }

    // C#'s "@", "$", "@$" and "$@" before a quote.
    bool isStringPrefix() const {
        std::size_t i = at;
        while (i < text.size() && i < at + 2 && (text[i] == '@' || text[i] == '$')) ++i;
        return i > at && i < text.size() && text[i] == '"';
    }

    void skipString() {
        bool verbatim = false;
        while (text[at] != '"') verbatim |= text[at++] == '@';
        if (text.compare(at, 3, "\"\"\"") == 0) {  // a text block or raw string
            const std::size_t end = text.find("\"\"\"", at + 3);
            at = end == std::string_view::npos ? text.size() : end + 3;
            return;
        }
        if (!verbatim) {
            skipQuoted('"');
            return;
        }
        // "" is a quote inside a verbatim string.
        for (++at; at < text.size(); ++at)
            if (text[at] == '"') {
                if (at + 1 < text.size() && text[at + 1] == '"') ++at;
                else break;
            }
        at = at < text.size() ? at + 1 : text.size();
    }

    // A quoted text with backslash escapes, ended by its quote or, left
    // open, by the end of its line.
    void skipQuoted(char quote) {
        for (++at; at < text.size() && text[at] != '\n'; ++at) {
            if (text[at] == '\\') ++at;
            else if (text[at] == quote) {
                ++at;
                return;
            }
        }
        if (at > text.size()) at = text.size();
    }

    std::string_view text;
    std::size_t at = 0;
    bool lineStart = true;
};

// Skips the tokens up to the ";" that ends the statement, or to the end.
void skipStatement(SourceTokens& tokens, Token t) {
    while (t.kind != TokenKind::end && !t.is(';')) t = tokens.next();
}

// Reads a dotted name from first on ("a.b.C", "a.b.*", "global::a.b", its
// "global::" left out); `after` is the token that follows it. Empty when no
// name stands there.
std::string readDottedName(SourceTokens& tokens, Token first, Token& after) {
    std::string name;
    Token t = first;
    if (t.is("global")) {
        Token colon = tokens.next();
        if (!colon.is(':')) {
            after = colon;
            return "global";
        }
        if (!tokens.next().is(':')) {
            after = tokens.next();
            return {};
        }
        t = tokens.next();
    }
    bool wantPart = true;
    for (; t.kind != TokenKind::end; t = tokens.next()) {
        if (wantPart && (t.kind == TokenKind::word || t.is('*'))) {
            name += t.text;
            wantPart = false;
        } else if (!wantPart && t.is('.')) {
            name += '.';
            wantPart = true;
        } else {
            break;
        }
    }
    after = t;
    return wantPart ? std::string() : name;
}

// The text of the tokens up to the ";" that ends the statement, which is
// consumed, without blanks and without a leading "global::"; empty when
// the text ends first.
std::string readTypeText(SourceTokens& tokens) {
    std::string text;
    for (Token t = tokens.next(); t.kind != TokenKind::end; t = tokens.next()) {
        if (t.is(';')) {
            if (text.rfind("global::", 0) == 0) text.erase(0, 8);
            return text;
        }
        text += t.text;
    }
    return {};
}

}  // namespace

SourceImports readSourceImports(std::string_view text, int language) {
    SourceImports imports;
    const bool java = language == 2;
    if (!java && language != 1) return imports;
    // Only these stand before a file's first declaration: Java's package
    // and import statements; C#'s using and extern alias directives,
    // namespace heads and attributes of the assembly. Any other token
    // starts a declaration, after which no Java import can stand; a C#
    // namespace block that follows may open with directives of its own.
    SourceTokens tokens(text);
    // C#: the namespace that the directives read now stand in (a
    // file-scoped one, or the open blocks' names joined), and its length
    // before each open block.
    std::string scope;
    std::vector<std::size_t> blocks;
    // The numbers of the open blocks, innermost last.
    std::vector<int> open;
    auto current = [&] { return open.empty() ? 0 : open.back(); };
    // Namespaces nest no deeper, and are named no longer, in real code:
    // past that, the reading ends, so that the work stays linear in the text.
    constexpr std::size_t deepest = 256, longest = 4096;
    bool global = false;
    auto add = [&](ImportDirective::Kind kind, std::string name, std::string alias = {}) {
        ImportDirective directive;
        directive.kind = kind;
        directive.name = std::move(name);
        directive.alias = std::move(alias);
        if (!java) {
            directive.scope = scope;
            directive.block = current();
        }
        directive.global = global;
        imports.directives.push_back(std::move(directive));
    };
    for (Token t = tokens.next(); t.kind != TokenKind::end; t = tokens.next()) {
        if (t.is(java ? "import" : "using")) {
            Token first = tokens.next();
            const bool isStatic = first.is("static");
            if (isStatic) first = tokens.next();
            Token after;
            std::string name = readDottedName(tokens, first, after);
            if (!java && !isStatic && after.is('=') && !name.empty() &&
                name.find('.') == std::string::npos) {
                std::string target = readTypeText(tokens);
                if (!target.empty()) add(ImportDirective::Kind::alias, std::move(target), name);
            } else if (!java && isStatic && after.is('<') && !name.empty()) {
                // The members of a constructed generic type.
                std::string arguments = readTypeText(tokens);
                if (!arguments.empty())
                    add(ImportDirective::Kind::members, name + "<" + arguments);
            } else if (!after.is(';') || name.empty()) {
                // A using statement, or no directive.
                skipStatement(tokens, after);
            } else if (!java) {
                add(isStatic ? ImportDirective::Kind::members : ImportDirective::Kind::package,
                    std::move(name));
            } else if (name.size() > 2 && name.compare(name.size() - 2, 2, ".*") == 0) {
                add(isStatic ? ImportDirective::Kind::members : ImportDirective::Kind::package,
                    name.substr(0, name.size() - 2));
            } else {
                add(isStatic ? ImportDirective::Kind::member : ImportDirective::Kind::type,
                    std::move(name));
            }
            global = false;
        } else if (t.is(';') || (java ? t.is("package") : t.is("extern"))) {
            skipStatement(tokens, t);
        } else if (!java && t.is("global")) {
            global = true;  // "global using"
        } else if (!java && t.is('}')) {
            if (!blocks.empty()) {  // the end of a namespace
                scope.resize(blocks.back());
                blocks.pop_back();
                open.pop_back();
            }
        } else if (!java && t.is("namespace")) {
            // "namespace a.b;" covers the file, "namespace a.b {" holds
            // more directives.
            std::string name;
            Token after = tokens.next();
            for (; after.kind == TokenKind::word || after.is('.'); after = tokens.next())
                name += after.text;
            if (after.is('{') || after.is(';')) {
                if (blocks.size() >= deepest || scope.size() + name.size() >= longest)
                    return imports;
                if (after.is('{')) {
                    const int around = current();
                    blocks.push_back(scope.size());
                    open.push_back(static_cast<int>(imports.blockParents.size()));
                    imports.blockParents.push_back(around);
                }
                if (!scope.empty()) scope += '.';
                scope += name;
            } else {
                imports.complete = after.kind != TokenKind::end;
                return imports;
            }
        } else if (!java && t.is('[')) {
            int depth = 1;  // "[assembly: ...]"
            while (depth > 0 && (t = tokens.next()).kind != TokenKind::end)
                depth += t.is('[') ? 1 : t.is(']') ? -1 : 0;
        } else if (!java) {
            // A declaration: its body is passed over, as a later namespace
            // block may hold directives of its own. The type it declares
            // is named after its keyword, before its body.
            bool named = false;
            for (int depth = 0; t.kind != TokenKind::end; t = tokens.next()) {
                if (!named && depth == 0 &&
                    (t.is("class") || t.is("struct") || t.is("interface") || t.is("enum") ||
                     t.is("record"))) {
                    Token name = tokens.next();
                    if (name.is("class") || name.is("struct")) name = tokens.next();  // "record struct"
                    if (name.kind == TokenKind::word) {
                        named = true;
                        std::string key = scope.empty() ? std::string(name.text)
                                                        : scope + "." + std::string(name.text);
                        auto [at, fresh] = imports.typeBlocks.emplace(std::move(key), current());
                        if (!fresh && at->second != current()) at->second = -1;
                    }
                    t = name;
                }
                if (t.is('{')) ++depth;
                else if (t.is('}') && depth > 0 && --depth == 0) break;
                else if (t.is(';') && depth == 0) break;
            }
            if (t.kind == TokenKind::end) return imports;
        } else {
            imports.complete = true;
            return imports;
        }
    }
    return imports;
}

SourceImports readSourceFileImports(const std::string& path, int language,
                                    const InputRoots& roots) {
    // The imports stand at a file's start; most files are read no further.
    constexpr std::size_t start = 8u << 10;
    try {
        std::string text = readFileStart(path, start, &roots);
        const bool decoded = decodeByteOrderMark(text);
        SourceImports imports = readSourceImports(text, language);
        if (imports.complete || (text.size() < start && !decoded)) return imports;
        text = readWholeFile(path, kSourceFileLimit, &roots);
        decodeByteOrderMark(text);
        return readSourceImports(text, language);
    } catch (const VelkError&) {
        return {};  // a source gone or changed since it was read tells nothing
    }
}

namespace {

bool isLiteral(const Token& t) {
    return t.kind == TokenKind::number || t.kind == TokenKind::text ||
           t.kind == TokenKind::character || t.is("true") || t.is("false");
}

// Where an initialiser ends: a "," or ";" (or the bracket around it)
// outside brackets, or the end of the text.
bool endsInitialiser(const Token& t) {
    return t.kind == TokenKind::end || t.is(',') || t.is(';') || t.is(')') || t.is('}');
}

}  // namespace

ConstantLiterals initialisingLiterals(std::string_view text) {
    struct Assigned {
        int count = 0;
        std::string_view literal;  // empty when the last initialiser was none
    };
    std::unordered_map<std::string_view, Assigned> assigned;
    SourceTokens tokens(text);
    Token t = tokens.next();
    while (t.kind != TokenKind::end) {
        if (t.kind != TokenKind::word) {
            t = tokens.next();
            continue;
        }
        const std::string_view name = t.text;
        Token equals = tokens.next();
        if (!equals.is('=')) {
            t = equals;
            continue;
        }
        // "==" compares, "=>" gives a body.
        const std::size_t afterEquals = tokens.position();
        Token first = tokens.next();
        if ((first.is('=') || first.is('>')) && first.text.data() == text.data() + afterEquals) {
            t = tokens.next();
            continue;
        }
        // Only an initialiser of one or two tokens can be a literal, so no
        // more are read: the tokens after them are read on as names, and an
        // initialiser that assigns ("a = b = 1") is seen for both names.
        Assigned& entry = assigned[name];
        ++entry.count;
        entry.literal = {};
        Token last = first;
        if (first.is('-')) {
            Token number = tokens.next();
            last = number;
            if (number.kind != TokenKind::number) {
                t = number;
                continue;
            }
        } else if (!isLiteral(first)) {
            t = first;
            continue;
        }
        t = tokens.next();
        if (endsInitialiser(t)) {
            const char* begin = first.text.data();
            entry.literal = std::string_view(begin, last.text.data() + last.text.size() - begin);
        }
    }
    ConstantLiterals literals;
    for (const auto& [name, entry] : assigned)
        if (entry.count == 1 && !entry.literal.empty()) literals.emplace(name, entry.literal);
    return literals;
}
