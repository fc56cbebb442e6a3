#include "model/MemberIdentity.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool isIdentifierChar(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_';
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool isOneOf(std::string_view word, std::initializer_list<std::string_view> words) {
    for (std::string_view w : words)
        if (w == word) return true;
    return false;
}

// Words that end a type rather than name a parameter ("unsigned int",
// "long long", "char const", "void (*)(int) noexcept": a function that
// cannot throw is a type of its own).
bool isTypeEndingWord(std::string_view word) {
    return isOneOf(word, {"bool", "char", "char8_t", "char16_t", "char32_t", "const", "double",
                          "float", "int", "long", "noexcept", "short", "signed", "unsigned",
                          "void", "volatile", "wchar_t"});
}

// Words that a type name follows: the word after one of them is the type,
// never a parameter name ("const Point", "struct Alpha").
bool isTypePrefixWord(std::string_view word) {
    return isOneOf(word, {"class", "const", "enum", "final", "in", "out", "params", "ref",
                          "struct", "this", "typename", "register", "readonly", "scoped",
                          "union", "volatile"});
}

bool isCvWord(std::string_view word) { return word == "const" || word == "volatile"; }

std::size_t skipBlanks(std::string_view text, std::size_t at) {
    while (at < text.size() && isBlank(text[at])) ++at;
    return at;
}

void trimEnd(std::string& text) {
    while (!text.empty() && isBlank(text.back())) text.pop_back();
}

std::string_view trimmed(std::string_view text) {
    std::size_t begin = skipBlanks(text, 0);
    std::size_t end = text.size();
    while (end > begin && isBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

// The word that starts at `at`, "" when none does.
std::string_view wordAt(std::string_view text, std::size_t at) {
    std::size_t end = at;
    while (end < text.size() && isIdentifierChar(text[end])) ++end;
    return text.substr(at, end - at);
}

// The word that ends text[0, end) after its blanks; its start in `begin`.
std::string_view wordBefore(std::string_view text, std::size_t end, std::size_t& begin) {
    while (end > 0 && isBlank(text[end - 1])) --end;
    begin = end;
    while (begin > 0 && isIdentifierChar(text[begin - 1])) --begin;
    return text.substr(begin, end - begin);
}

// Whether the word before `at` makes the word at `at` a type name. After
// "const" only when no type is written before it: "const Point", but
// "char* const buf" names buf.
bool typeFollows(std::string_view text, std::size_t at) {
    std::size_t begin = 0;
    std::string_view word = wordBefore(text, at, begin);
    if (!isTypePrefixWord(word)) return false;
    if (!isCvWord(word)) return true;
    for (;;) {
        std::size_t end = begin;
        word = wordBefore(text, end, begin);
        if (word.empty()) return trimmed(text.substr(0, end)).empty();
        if (!isCvWord(word)) return false;
    }
}

// The position of the bracket that closes the one at `open` ("(", "<",
// "[" or "{"), npos when none does. Inside parentheses angle brackets are
// comparisons; quoted texts are passed over.
std::size_t closingBracket(std::string_view text, std::size_t open) {
    std::array<int, 4> depth{};  // ( < [ {
    auto kind = [](char c) {
        switch (c) {
        case '(': case ')': return 0;
        case '<': case '>': return 1;
        case '[': case ']': return 2;
        case '{': case '}': return 3;
        default: return -1;
        }
    };
    const int outer = kind(text[open]);
    for (std::size_t i = open; i < text.size(); ++i) {
        char c = text[i];
        if (c == '"' || c == '\'') {
            for (++i; i < text.size() && text[i] != c; ++i)
                if (text[i] == '\\') ++i;
            continue;
        }
        int k = kind(c);
        if (k < 0) continue;
        if (k == 1 && (depth[0] > 0 || outer != 1)) continue;
        if (k == 1 && c == '>' && i > 0 && text[i - 1] == '-') continue;  // an arrow
        if (c == '(' || c == '<' || c == '[' || c == '{') {
            ++depth[k];
        } else if (depth[k] > 0 && --depth[k] == 0 && k == outer) {
            return i;
        }
    }
    return npos;
}

// The text with blanks kept only between two words ("T *" and "T*" are one
// type, "unsigned int" keeps its blank).
void fold(std::string& t) {
    std::size_t out = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        char c = t[i];
        if (!isBlank(c)) {
            t[out++] = c;
            continue;
        }
        std::size_t next = skipBlanks(t, i);
        if (out > 0 && next < t.size() && isIdentifierChar(t[out - 1]) && isIdentifierChar(t[next]))
            t[out++] = ' ';
        i = next - 1;
    }
    t.resize(out);
}

std::string folded(std::string_view text) {
    std::string out(text);
    fold(out);
    return out;
}

// Cuts a default value (a "=" outside brackets) off the text.
void dropDefault(std::string& t) {
    if (t.find('=') == npos) {
        trimEnd(t);
        return;
    }
    int depth = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        char c = t[i];
        // A comparison in a template argument ("enable_if_c<D <= N>")
        // opens and closes nothing.
        if ((c == '<' || c == '>') && i + 1 < t.size() && t[i + 1] == '=') {
            ++i;
            continue;
        }
        if (c == '(' || c == '<' || c == '[' || c == '{') ++depth;
        else if ((c == ')' || c == '>' || c == ']' || c == '}') && depth > 0) --depth;
        else if (c == '=' && depth == 0) {
            // A parameter names its type before its default: an "=" with
            // no word before it belongs to an operator that a macro takes
            // as its argument ("COMPARE(>=)", "APPLY(+=)").
            if (std::none_of(t.begin(), t.begin() + static_cast<std::ptrdiff_t>(i),
                             [](char k) { return isIdentifierChar(k); }))
                break;
            t.resize(i);
            break;
        }
    }
    trimEnd(t);
}

// Drops the name inside a declarator group that a parameter list or array
// brackets follow: "void (*cb)(int)", "int (&row)[4]", "void (C::*m)()".
void dropDeclaratorName(std::string& t) {
    for (std::size_t open = t.find('('); open != npos; open = t.find('(', open + 1)) {
        std::size_t i = skipBlanks(t, open + 1);
        // A pointer to a member begins with its class: "C::*".
        std::size_t afterClass = i;
        while (afterClass < t.size() && (isIdentifierChar(t[afterClass]) || t[afterClass] == ':'))
            ++afterClass;
        if (afterClass > i && afterClass < t.size() && t[afterClass] == '*') i = afterClass;
        bool pointer = false;
        for (;;) {
            i = skipBlanks(t, i);
            if (i < t.size() && (t[i] == '*' || t[i] == '&' || t[i] == '^')) {
                pointer = true;
                ++i;
                continue;
            }
            std::string_view word = wordAt(t, i);
            if (pointer && isCvWord(word)) {
                i += word.size();
                continue;
            }
            break;
        }
        if (!pointer) continue;
        std::string_view name = wordAt(t, i);
        if (name.empty() || (name[0] >= '0' && name[0] <= '9')) continue;
        std::size_t close = skipBlanks(t, i + name.size());
        if (close >= t.size() || t[close] != ')') continue;
        std::size_t next = skipBlanks(t, close + 1);
        if (next < t.size() && t[next] != '(' && t[next] != '[') continue;
        t.erase(i, name.size());
    }
}

// Drops the last word when it names the parameter rather than ends its type.
void dropTrailingName(std::string& t) {
    std::size_t end = t.size();
    std::size_t start = end;
    while (start > 0 && isIdentifierChar(t[start - 1])) --start;
    if (start == end || start == 0) return;  // no word, or nothing but the word
    if (t[start] >= '0' && t[start] <= '9') return;
    if (isTypeEndingWord(std::string_view(t).substr(start)) || t[start - 1] == ':' ||
        t[start - 1] == '.' || typeFollows(t, start))
        return;
    t.resize(start);
    trimEnd(t);
}

// The parts of a class name ("A::B" or "A.B").
std::vector<std::string_view> scopeParts(std::string_view scope) {
    std::vector<std::string_view> parts;
    std::size_t begin = 0;
    for (std::size_t i = 0; i <= scope.size(); ++i) {
        bool end = i == scope.size();
        bool colons = !end && scope.compare(i, 2, "::") == 0;
        if (!end && !colons && scope[i] != '.') continue;
        parts.push_back(scope.substr(begin, i - begin));
        if (colons) ++i;
        begin = i + 1;
    }
    return parts;
}

// The end of the qualifier parts[first..] + separator written at `at`
// ("Clock::", "Vec<T>::", "Outer.Inner."), before a name; npos when that
// is not what is written there.
std::size_t ownQualifierEnd(std::string_view t, std::size_t at,
                            const std::vector<std::string_view>& parts, std::size_t first) {
    std::size_t pos = at;
    for (std::size_t k = first; k < parts.size(); ++k) {
        if (parts[k].empty() || t.compare(pos, parts[k].size(), parts[k]) != 0) return npos;
        pos += parts[k].size();
        if (pos < t.size() && t[pos] == '<') {
            std::size_t close = closingBracket(t, pos);
            if (close == npos) return npos;
            pos = close + 1;
        }
        if (t.compare(pos, 2, "::") == 0) pos += 2;
        else if (pos < t.size() && t[pos] == '.') pos += 1;
        else return npos;
    }
    return pos < t.size() && isIdentifierChar(t[pos]) ? pos : npos;
}

// Drops the qualifier of the scope itself wherever it leads a name: within
// class Clock, "Clock::TimeDiff" is "TimeDiff".
void dropOwnQualifier(std::string& t, std::string_view scope) {
    if (scope.empty() || scope.find_first_of(" ()") != npos) return;  // a globals record
    // Every qualifier of the scope ends with its own name: most types hold
    // none.
    const std::size_t last = scope.find_last_of(":.");
    const std::string_view ownName = last == npos ? scope : scope.substr(last + 1);
    if (ownName.empty() || t.find(ownName) == npos) return;
    const std::vector<std::string_view> parts = scopeParts(scope);
    for (std::size_t at = 0; at < t.size(); ++at) {
        if (!isIdentifierChar(t[at])) continue;
        if (at > 0 && (isIdentifierChar(t[at - 1]) || t[at - 1] == ':' || t[at - 1] == '.'))
            continue;
        for (std::size_t first = 0; first < parts.size(); ++first) {
            std::size_t end = ownQualifierEnd(t, at, parts, first);
            if (end == npos) continue;
            std::size_t from = at;
            // "typename Vec<T>::size_type" asks for no "typename" once
            // the name is unqualified.
            constexpr std::string_view typenameWord = "typename ";
            if (at >= typenameWord.size() &&
                t.compare(at - typenameWord.size(), typenameWord.size(), typenameWord) == 0 &&
                (at == typenameWord.size() || !isIdentifierChar(t[at - typenameWord.size() - 1])))
                from -= typenameWord.size();
            t.erase(from, end - from);
            at = from;
            break;
        }
    }
}

bool isJavaModifier(std::string_view word) {
    return isOneOf(word, {"public", "protected", "private", "static", "final", "abstract",
                          "synchronized", "native", "strictfp", "default"});
}

// "class T", "typename... Ts", "class": a type parameter of a template.
bool isTypeParameter(std::string_view p) {
    std::string_view word = wordAt(p, 0);
    if (word != "class" && word != "typename") return false;
    std::size_t i = skipBlanks(p, word.size());
    if (p.compare(i, 3, "...") == 0) i = skipBlanks(p, i + 3);
    i += wordAt(p, i).size();
    return skipBlanks(p, i) == p.size();
}

// The entries of a list's text (what stands between its brackets), split
// at the commas outside inner brackets.
std::vector<std::string_view> listEntries(std::string_view list) {
    std::vector<std::string_view> entries;
    std::size_t begin = 0;
    for (std::size_t i = 0; i <= list.size(); ++i) {
        if (i < list.size()) {
            char c = list[i];
            if (c == '(' || c == '<' || c == '[' || c == '{') {
                std::size_t close = closingBracket(list, i);
                if (close != npos) i = close;
                continue;
            }
            if (c != ',') continue;
        }
        entries.push_back(list.substr(begin, i - begin));
        begin = i + 1;
    }
    return entries;
}

// The text between the brackets of the list whose "<" is d[open]; empty
// when it is not closed.
std::string_view listAt(std::string_view d, std::size_t open) {
    const std::size_t close = closingBracket(d, open);
    return close == npos ? std::string_view() : d.substr(open + 1, close - open - 1);
}

std::string templateParameters(std::string_view list, bool cpp);

// One template or type parameter as it counts for the function's identity.
std::string templateParameter(std::string_view text, bool cpp) {
    std::string p(trimmed(text));
    if (!cpp) {
        // Java: "T", "T extends Bound & Other": the bound counts, the name not.
        std::string_view name = wordAt(p, 0);
        std::size_t rest = skipBlanks(p, name.size());
        if (rest == p.size()) return "";
        if (wordAt(p, rest) == "extends") return "extends " + folded(std::string_view(p).substr(rest + 7));
        return folded(p);
    }
    dropDefault(p);
    const bool pack = p.find("...") != npos;
    if (isTypeParameter(p)) return pack ? "class..." : "class";
    if (wordAt(p, 0) == "template") {
        // A template template parameter: its own list, then its kind.
        std::size_t open = skipBlanks(p, 8);
        std::size_t close = open < p.size() && p[open] == '<' ? closingBracket(p, open) : npos;
        if (close != npos)
            return "template<" +
                   templateParameters(std::string_view(p).substr(open + 1, close - open - 1), true) +
                   ">" + (pack ? "class..." : "class");
    }
    return argumentType(p);
}

std::string templateParameters(std::string_view list, bool cpp) {
    std::string out;
    for (std::string_view entry : listEntries(list)) {
        if (entry.data() != list.data()) out += ',';
        out += templateParameter(entry, cpp);
    }
    return out;
}

// The position of the "(" that opens the parameter list of `name`, npos
// when the declaration has none. A C# method's own type parameters stand
// between its name and that list ("Get<T>(string key)"): `typeList`, when
// given, receives the position of their "<" (npos when there are none).
std::size_t parameterListOf(std::string_view d, std::string_view name,
                            std::size_t* typeList = nullptr) {
    if (typeList) *typeList = npos;
    if (name.empty()) return npos;
    int depth = 0;
    for (std::size_t i = 0; i < d.size(); ++i) {
        if (depth == 0 && d.compare(i, name.size(), name) == 0 &&
            (i == 0 || !isIdentifierChar(d[i - 1]))) {
            std::size_t after = i + name.size();
            std::size_t open = skipBlanks(d, after);
            std::size_t list = npos;
            if (open < d.size() && d[open] == '<' && isIdentifierChar(name.back())) {
                const std::size_t close = closingBracket(d, open);
                if (close != npos) {
                    list = open;
                    open = skipBlanks(d, close + 1);
                }
            }
            if (open < d.size() && d[open] == '(' &&
                (after == d.size() || !isIdentifierChar(d[after]) || !isIdentifierChar(name.back()))) {
                if (typeList) *typeList = list;
                return open;
            }
        }
        char c = d[i];
        if (c == '(') ++depth;
        else if (c == ')' && depth > 0) --depth;
    }
    return npos;
}

}  // namespace

std::string argumentType(std::string_view text, std::string_view scope, bool arraysDecay) {
    std::string t(text);
    dropDefault(t);
    // Array brackets follow the name: taken off while the name is found,
    // then put back.
    std::string arrays;
    while (!t.empty() && t.back() == ']') {
        std::size_t open = t.rfind('[');
        if (open == npos) break;
        arrays.insert(0, t, open, npos);
        t.resize(open);
        trimEnd(t);
    }
    // Brackets after a declarator group, "int (*p)[3]", "int (&row)[4]",
    // are the array pointed to: the parameter is no array.
    const bool ownArray = !arrays.empty() && !t.empty() && t.back() != ')';
    dropDeclaratorName(t);
    dropTrailingName(t);
    if (arraysDecay && ownArray) {
        // Only the bound next to the name goes: what is left is the type
        // pointed to, "int (*)[3]" as written for a pointer to an array.
        const std::size_t inner = arrays.find('[', 1);
        if (inner == npos) {
            t += '*';
        } else {
            t += "(*)";
            t.append(arrays, inner, npos);
        }
    } else {
        t += arrays;
    }
    fold(t);
    dropOwnQualifier(t, scope);
    return t;
}

bool sameArguments(const std::vector<std::string>& a, const std::vector<std::string>& b,
                   std::string_view scope, bool arraysDecay) {
    if (a.size() != b.size()) return false;
    // A declaration and its definition often name their parameters
    // differently ("double radius" and "double r"); they are still one
    // member.
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && argumentType(a[i], scope, arraysDecay) != argumentType(b[i], scope, arraysDecay))
            return false;
    return true;
}

bool ArgumentTypes::sameAs(const std::vector<std::string>& other, std::string_view scope) {
    if (other.size() != arguments.size()) return false;
    for (std::size_t i = 0; i < other.size(); ++i) {
        if (other[i] == arguments[i]) continue;
        if (types.empty()) {
            types.reserve(arguments.size());
            for (const std::string& a : arguments) types.push_back(argumentType(a, scope, decay));
        }
        if (argumentType(other[i], scope, decay) != types[i]) return false;
    }
    return true;
}

namespace {

// Where the text after the modifiers and annotations that begin a Java
// declaration at i starts.
std::size_t afterJavaModifiers(std::string_view d, std::size_t i) {
    for (;;) {
        if (i < d.size() && d[i] == '@') {
            ++i;
            while (i < d.size() && (isIdentifierChar(d[i]) || d[i] == '.')) ++i;
            i = skipBlanks(d, i);
            if (i < d.size() && d[i] == '(') {
                std::size_t close = closingBracket(d, i);
                if (close == npos) return i;
                i = skipBlanks(d, close + 1);
            }
            continue;
        }
        std::string_view word = wordAt(d, i);
        if (!isJavaModifier(word)) return i;
        i = skipBlanks(d, i + word.size());
    }
}

// The name each entry of the type parameter list d[open] ("<") to its
// ">" declares: Java's first word ("T extends Bound"), C#'s last ("in T").
void addListedNames(std::string_view d, std::size_t open, bool firstWord, std::vector<std::string>& names) {
    for (std::string_view entry : listEntries(listAt(d, open))) {
        entry = trimmed(entry);
        if (firstWord) {
            entry = wordAt(entry, 0);
        } else {
            std::size_t start = entry.size();
            while (start > 0 && isIdentifierChar(entry[start - 1])) --start;
            entry = entry.substr(start);
        }
        if (!entry.empty()) names.emplace_back(entry);
    }
}

}  // namespace

std::vector<std::string> ownTypeParameterNames(std::string_view d, std::string_view name) {
    std::vector<std::string> names = ownTemplateParameterNames(d);
    if (!names.empty()) return names;
    const std::size_t i = afterJavaModifiers(d, skipBlanks(d, 0));
    if (i < d.size() && d[i] == '<') {
        addListedNames(d, i, true, names);
        return names;
    }
    std::size_t typeList = npos;
    if (parameterListOf(d, name, &typeList) != npos && typeList != npos) addListedNames(d, typeList, false, names);
    return names;
}

std::string overloadMarks(std::string_view d, std::string_view name) {
    std::size_t i = skipBlanks(d, 0);
    if (i < d.size() && d[i] == '#') return "";
    std::string marks;
    // A C++ declaration carries the function's own template heads first.
    bool heads = false;
    while (wordAt(d, i) == "template") {
        std::size_t open = skipBlanks(d, i + 8);
        if (open >= d.size() || d[open] != '<') break;
        std::size_t close = closingBracket(d, open);
        if (close == npos) break;
        marks += '<';
        marks += templateParameters(d.substr(open + 1, close - open - 1), true);
        marks += '>';
        heads = true;
        i = skipBlanks(d, close + 1);
    }
    if (!heads) {
        // A generic Java method names its type parameters after its
        // modifiers and annotations.
        i = afterJavaModifiers(d, i);
        if (i < d.size() && d[i] == '<') {
            std::size_t close = closingBracket(d, i);
            if (close != npos) {
                marks += '<';
                marks += templateParameters(d.substr(i + 1, close - i - 1), false);
                marks += '>';
            }
        }
    }
    std::size_t typeList = npos;
    std::size_t open = parameterListOf(d, name, &typeList);
    if (open == npos) return marks;
    if (!heads && typeList != npos) {
        // A C# method's own type parameters, after its name: their number
        // sets it apart ("Get<T>(string)" beside "Get(string)"), their
        // names and constraints do not.
        marks += '<';
        const std::size_t close = closingBracket(d, typeList);
        int depth = 0;
        for (std::size_t k = typeList + 1; k < close; ++k) {
            const char c = d[k];
            if (c == '(' || c == '<' || c == '[' || c == '{') ++depth;
            else if ((c == ')' || c == '>' || c == ']' || c == '}') && depth > 0) --depth;
            else if (c == ',' && depth == 0) marks += ',';
        }
        marks += '>';
    }
    std::size_t close = closingBracket(d, open);
    if (close == npos) return marks;
    for (std::size_t k = close + 1;;) {
        k = skipBlanks(d, k);
        std::string_view word = wordAt(d, k);
        if (isCvWord(word)) {
            marks += word;
            k += word.size();
        } else if (d.compare(k, 2, "&&") == 0) {
            marks += "&&";
            k += 2;
        } else if (k < d.size() && d[k] == '&') {
            marks += '&';
            ++k;
        } else {
            break;
        }
    }
    return marks;
}

std::vector<std::string> ownTemplateParameterNames(std::string_view d) {
    std::vector<std::string> names;
    std::size_t i = skipBlanks(d, 0);
    while (wordAt(d, i) == "template") {
        const std::size_t open = skipBlanks(d, i + 8);
        if (open >= d.size() || d[open] != '<') break;
        const std::size_t close = closingBracket(d, open);
        if (close == npos) return {};
        // Each entry's name is its last word outside brackets, before a
        // default ("class T", "typename... Ts", "int N = 3",
        // "template <class> class C").
        for (std::string_view written : listEntries(d.substr(open + 1, close - open - 1))) {
            std::string entry(written);
            dropDefault(entry);
            std::size_t end = entry.size();
            while (end > 0 && (entry[end - 1] == '.' || isBlank(entry[end - 1]))) --end;
            std::size_t start = end;
            while (start > 0 && isIdentifierChar(entry[start - 1])) --start;
            const std::string_view word = std::string_view(entry).substr(start, end - start);
            if (word.empty() || word == "class" || word == "typename" || (word[0] >= '0' && word[0] <= '9') ||
                skipBlanks(entry, 0) == start)
                return {};
            names.emplace_back(word);
        }
        i = skipBlanks(d, close + 1);
    }
    return names;
}

std::vector<std::string> withWordsRenamed(const std::vector<std::string>& texts,
                                          const std::vector<std::string>& from,
                                          const std::vector<std::string>& to) {
    std::vector<std::string> out;
    out.reserve(texts.size());
    for (const std::string& text : texts) {
        std::string renamed;
        renamed.reserve(text.size());
        for (std::size_t i = 0; i < text.size();) {
            if (!isIdentifierChar(text[i])) {
                renamed += text[i++];
                continue;
            }
            std::size_t end = i;
            while (end < text.size() && isIdentifierChar(text[end])) ++end;
            const std::string_view word = std::string_view(text).substr(i, end - i);
            std::size_t k = 0;
            while (k < from.size() && from[k] != word) ++k;
            renamed += k < from.size() ? std::string_view(to[k]) : word;
            i = end;
        }
        out.push_back(std::move(renamed));
    }
    return out;
}

bool declaredStatic(std::string_view d, std::string_view name) {
    for (std::size_t i = 0; i < d.size();) {
        if (!isIdentifierChar(d[i])) {
            if (d[i] == '(' || d[i] == '<') return false;
            ++i;
            continue;
        }
        std::string_view word = wordAt(d, i);
        if (word == name) return false;
        if (word == "static") return true;
        i += word.size();
    }
    return false;
}
