#include "reader/ParserDeclarator.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <unordered_set>

#include "model/Keywords.h"

// Tokens are compared with literals of known length: no strlen per test.
using namespace std::string_view_literals;

namespace {

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// A whole character beyond ASCII (a UTF-8 lead byte and what follows it)
// begins only a Java or C# name: the C++ reader leaves each such byte a
// token of its own.
bool beginsWithLetterBeyondAscii(const std::string& token) {
    return token.size() >= 2 && static_cast<unsigned char>(token[0]) >= 0xC0;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The characters that spell an overloaded operator.
bool isOperatorSymbol(const std::string& token) {
    if (token == ">="sv) return true;  // the reader's one two-character symbol
    if (token.size() != 1) return false;
    return std::string_view("+-*/%^&|~!=<>,").find(token[0]) != std::string_view::npos;
}

// Groups after a parameter list (or before a name) that are not the list.
// In Java and C# only the language's own keywords among them ("new",
// "throw", C#'s "typeof" and "sizeof"): "int sizeof()" is a Java method.
bool isTrailingGroupWord(const std::string& word, int language) {
    static constexpr std::array<std::string_view, 14> words = {
        "throw", "noexcept", "decltype", "__attribute__", "__declspec", "alignas", "requires",
        "new", "sizeof", "typeof", "__typeof__", "asm", "__asm__", "_Pragma"};
    if (std::find(words.begin(), words.end(), word) == words.end()) return false;
    return language == 0 || isKeyword(word, language);
}

// True when tokens[at] stands right after a ")" or after a ")" and the
// qualifiers a function's parameter list may have.
bool followsParameterList(const Tokens& tokens, std::size_t at) {
    std::size_t k = at;
    while (k > 0 && (tokens[k - 1] == "const"sv || tokens[k - 1] == "volatile"sv || tokens[k - 1] == "&"sv ||
                     tokens[k - 1] == "&&"sv || tokens[k - 1] == "override"sv || tokens[k - 1] == "final"sv ||
                     tokens[k - 1] == "noexcept"sv))
        --k;
    return k > 0 && tokens[k - 1] == ")"sv;
}

int bracketKind(const std::string& t) {
    if (t.size() != 1) return -1;
    switch (t[0]) {
    case '(': case ')': return 0;
    case '[': case ']': return 1;
    case '{': case '}': return 2;
    case '<': case '>': return 3;
    default: return -1;
    }
}

bool isOpener(const std::string& t) {
    return t.size() == 1 && (t[0] == '(' || t[0] == '[' || t[0] == '{' || t[0] == '<');
}

bool isCloser(const std::string& t) {
    return t.size() == 1 && (t[0] == ')' || t[0] == ']' || t[0] == '}' || t[0] == '>');
}

}  // namespace

namespace {

// A C# name written with "@" before it ("@class"); the reader makes one
// token of them in C# files only.
bool isEscapedName(const std::string& token) {
    return token.size() >= 2 && token[0] == '@' &&
           (isAsciiLetter(token[1]) || token[1] == '_' || static_cast<unsigned char>(token[1]) >= 0xC0);
}

}  // namespace

bool isNameToken(const std::string& token) {
    return !token.empty() &&
           (isAsciiLetter(token[0]) || token[0] == '_' || beginsWithLetterBeyondAscii(token) || isEscapedName(token));
}

bool isSpecifierWord(const std::string& w) {
    static const std::unordered_set<std::string_view> words = {
        "explicit", "inline", "virtual", "static", "constexpr", "consteval", "constinit", "friend",
        "extern", "mutable", "thread_local", "const", "volatile", "typename", "register"};
    return words.count(w) != 0;
}

bool isMacroLikeWord(const std::string& word) {
    if (word.empty()) return false;
    for (char c : word)
        if (!(c == '_' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'))) return false;
    return true;
}

namespace {

// isWordLikeToken, inlined into the joins, which ask it of every token.
[[gnu::always_inline]] inline bool wordLike(const std::string& token) {
    if (token.empty()) return false;
    char c = token[0];
    if (isAsciiLetter(c) || isDigit(c) || c == '_' || c == '"' || c == '\'' || beginsWithLetterBeyondAscii(token))
        return true;
    if (c == '@') return isEscapedName(token);
    return c == '-' && token.size() > 1 && isDigit(token[1]);
}

}  // namespace

bool isWordLikeToken(const std::string& token) { return wordLike(token); }

namespace {

// True for the words after which "::" begins a name from the global scope
// ("inline ::std::size_t", "struct ::stat", "using ::std::size_t"): none
// of them names a scope the "::" could be a qualifier of.
bool opensGlobalName(const std::string& word) {
    static constexpr std::string_view kWords[] = {"class", "struct", "union", "enum", "typedef", "using", "new"};
    if (isSpecifierWord(word)) return true;
    for (std::string_view w : kWords)
        if (word == w) return true;
    return false;
}

// The character of a one-character token, else 0.
inline char single(const std::string& t) { return t.size() == 1 ? t[0] : 0; }

// Appends the join of `count` tokens, the k-th being at(k). The text is
// sized once for the whole join.
template <class At>
void appendJoin(std::string& text, std::size_t count, At at) {
    std::size_t total = 0;
    for (std::size_t k = 0; k < count; ++k) total += at(k).size() + 1;
    // Written in place into room for a blank before every token, then cut
    // to what was written: one sizing instead of an append per token.
    const std::size_t start = text.size();
    text.resize(start + total);
    char* const begin = text.data();
    char* out = begin + start;
    // What the blank rules ask of the token before, carried over.
    bool previousWord = false;
    char previous = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const std::string& token = at(k);
        const bool word = wordLike(token);
        const char mark = single(token);
        if (k > 0) {
            bool blank = false;
            if (word) {
                blank = previousWord || previous == '>' || previous == ')' || previous == ']' ||
                        previous == '=' || previous == ',' || previous == '?';
                // "char* p", "T&& o", "int** pp" but "(*p)": a run of
                // pointer marks binds to the type word before it.
                if (previous == '*' || previous == '&') {
                    std::size_t j = k - 1;
                    while (j > 0 && (single(at(j - 1)) == '*' || single(at(j - 1)) == '&')) --j;
                    blank = j > 0 && (wordLike(at(j - 1)) || single(at(j - 1)) == '>');
                }
            } else if (mark == '=' || (mark == '~' && previousWord)) {
                // "==", "!=" and "<=" stay whole ("> =" may end a template).
                blank = previous != '=' && previous != '!' && previous != '<';
            } else if (previous == ',' || previous == '=') {
                blank = true;
            } else if (mark == '{' || previous == '}') {
                blank = true;
            } else if (mark == ':' && previousWord && k + 1 < count && single(at(k + 1)) == ':') {
                // "inline ::std::size_t", but "std::size_t".
                blank = opensGlobalName(at(k - 1));
            }
            if (blank) *out++ = ' ';
        }
        if (mark) {
            *out++ = mark;
        } else if (!token.empty()) {
            std::memcpy(out, token.data(), token.size());
            out += token.size();
        }
        previousWord = word;
        previous = mark;
    }
    text.resize(static_cast<std::size_t>(out - begin));
}

}  // namespace

void appendJoinedTokens(std::string& text, const Tokens& tokens, std::size_t begin, std::size_t end) {
    end = std::min(end, tokens.size());
    if (begin >= end) return;
    appendJoin(text, end - begin, [&](std::size_t k) -> const std::string& { return tokens[begin + k]; });
}

void appendJoinedTokensWithout(std::string& text, const Tokens& tokens, std::size_t from,
                               std::size_t to) {
    from = std::min(from, tokens.size());
    to = std::clamp(to, from, tokens.size());
    const std::size_t gap = to - from;
    appendJoin(text, tokens.size() - gap, [&](std::size_t k) -> const std::string& {
        return tokens[k < from ? k : k + gap];
    });
}

std::string joinTokens(const Tokens& tokens, std::size_t begin, std::size_t end) {
    std::string text;
    appendJoinedTokens(text, tokens, begin, end);
    return text;
}

std::string joinTokens(const Tokens& tokens) { return joinTokens(tokens, 0, tokens.size()); }

void mergeOperatorNames(Tokens& tokens) {
    if (std::find(tokens.begin(), tokens.end(), "operator"sv) == tokens.end()) return;
    Tokens merged;
    merged.reserve(tokens.size());
    const std::size_t n = tokens.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (tokens[i] != "operator"sv || i + 1 >= n) {
            merged.push_back(std::move(tokens[i]));
            continue;
        }
        std::string name = "operator";
        std::size_t j = i + 1;
        auto append = [&name](const std::string& part) {
            if (isWordLikeToken(part) && (isAsciiLetter(name.back()) || isDigit(name.back()) ||
                                          name.back() == '_'))
                name += ' ';
            name += part;
        };
        // C#'s checked operators: "operator checked +" is another one than "operator +".
        if (tokens[j] == "checked"sv && j + 1 < n && isOperatorSymbol(tokens[j + 1])) {
            name += " checked";
            ++j;
        }
        if (tokens[j] == "("sv && j + 1 < n && tokens[j + 1] == ")"sv) {
            name += "()";
            j += 2;
        } else if (tokens[j] == "["sv && j + 1 < n && tokens[j + 1] == "]"sv) {
            name += "[]";
            j += 2;
        } else if (isOperatorSymbol(tokens[j])) {
            // At most the three characters of "<<=", ">>=" or "->*".
            for (int k = 0; k < 3 && j < n && isOperatorSymbol(tokens[j]); ++k) name += tokens[j++];
        } else if (tokens[j][0] == '"' && j + 1 < n && isNameToken(tokens[j + 1])) {
            name += tokens[j] + tokens[j + 1];  // a user-defined literal
            j += 2;
        } else if (isNameToken(tokens[j])) {
            // new, delete or a conversion type, up to its parameter list.
            // A C# conversion type may be qualified with "." and nullable
            // ("?"); a "," separates the arguments of a generic one.
            int angles = 0;
            for (int k = 0; k < 16 && j < n && tokens[j] != "("sv; ++k) {
                const std::string& part = tokens[j];
                if (part == ","sv && angles > 0) {
                    name += ", ";
                    ++j;
                    continue;
                }
                if (!(isNameToken(part) || part == "*"sv || part == "&"sv || part == ":"sv ||
                      part == "["sv || part == "]"sv || part == "<"sv || part == ">"sv ||
                      part == "."sv || part == "?"sv))
                    break;
                if (part == "<"sv) ++angles;
                else if (part == ">"sv && angles > 0) --angles;
                append(part);
                ++j;
            }
        }
        merged.push_back(std::move(name));
        i = j - 1;
    }
    tokens = std::move(merged);
}

std::vector<int> matchBrackets(const Tokens& tokens) {
    std::vector<int> match;
    std::vector<std::size_t> stack;
    matchBrackets(tokens, match, stack);
    return match;
}

void matchBrackets(const Tokens& tokens, std::vector<int>& match, std::vector<std::size_t>& stack) {
    match.assign(tokens.size(), -1);
    stack.clear();
    std::array<std::size_t, 4> open{};  // openers of each kind on the stack
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const std::string& t = tokens[i];
        int kind = bracketKind(t);
        if (kind < 0) continue;
        if (isOpener(t)) {
            stack.push_back(i);
            ++open[kind];
            continue;
        }
        if (kind == 3) {
            // Only an innermost "<" can close; an arrow or a comparison
            // inside another group closes nothing.
            if ((i > 0 && tokens[i - 1] == "-"sv) || stack.empty() || tokens[stack.back()] != "<"sv)
                continue;
        } else if (open[kind] == 0) {
            continue;
        }
        // Openers left open inside this group stay unpaired.
        while (bracketKind(tokens[stack.back()]) != kind) {
            --open[bracketKind(tokens[stack.back()])];
            stack.pop_back();
        }
        std::size_t o = stack.back();
        stack.pop_back();
        --open[kind];
        match[o] = static_cast<int>(i);
        match[i] = static_cast<int>(o);
    }
}

std::size_t findTopLevelEquals(const Tokens& tokens, const std::vector<int>& match,
                               std::size_t end) {
    end = std::min(end, tokens.size());
    for (std::size_t i = 0; i < end; ++i) {
        if (isOpener(tokens[i]) && match[i] > static_cast<int>(i)) {
            i = static_cast<std::size_t>(match[i]);
            continue;
        }
        if (tokens[i] == "="sv) return i;
    }
    return end;
}

bool findParameterList(const Tokens& tokens, const std::vector<int>& match, std::size_t end,
                       int language, ParameterList& result) {
    end = std::min(end, tokens.size());
    std::size_t i = end;
    while (i > 0) {
        --i;
        const std::string& t = tokens[i];
        if (!isCloser(t) || match[i] < 0 || match[i] > static_cast<int>(i)) continue;
        std::size_t open = static_cast<std::size_t>(match[i]);
        if (t != ")"sv) {
            i = open;  // pass over a template, array or brace group
            continue;
        }
        if (open == 0) return false;
        std::size_t j = open - 1;
        if (isTrailingGroupWord(tokens[j], language)) {
            i = j;
            continue;
        }
        if (tokens[j] == ">"sv && match[j] >= 0 && match[j] < static_cast<int>(j)) {
            if (match[j] == 0) return false;
            j = static_cast<std::size_t>(match[j]) - 1;
        }
        if (!isNameToken(tokens[j])) return false;
        if (isMacroLikeWord(tokens[j]) && followsParameterList(tokens, j)) {
            // A macro call after the parameter list ("f(T x) const
            // NOEXCEPT_IF(cond)"): no function is named after a ")" and
            // the qualifiers of a function.
            i = j;
            continue;
        }
        result.open = open;
        result.close = i;
        result.nameIndex = j;
        return true;
    }
    return false;
}

std::vector<std::string> splitParameters(const Tokens& tokens, const std::vector<int>& match,
                                         std::size_t open, std::size_t close) {
    std::vector<std::string> parameters;
    std::size_t start = open + 1;
    for (std::size_t i = open + 1; i <= close && i < tokens.size(); ++i) {
        if (i < close && isOpener(tokens[i]) && match[i] > static_cast<int>(i) &&
            static_cast<std::size_t>(match[i]) < close) {
            i = static_cast<std::size_t>(match[i]);
            continue;
        }
        if (i == close || tokens[i] == ","sv) {
            if (i > start) parameters.push_back(joinTokens(tokens, start, i));
            start = i + 1;
        }
    }
    return parameters;
}

std::vector<std::string> readQualifier(const Tokens& tokens, const std::vector<int>& match,
                                       std::size_t nameIndex, std::size_t& qualifierBegin) {
    std::vector<std::string> parts;
    std::size_t j = nameIndex;
    while (j >= 3 && tokens[j - 1] == ":"sv && tokens[j - 2] == ":"sv) {
        std::size_t k = j - 3;
        if (tokens[k] == ">"sv && match[k] >= 0 && match[k] < static_cast<int>(k)) {
            if (match[k] == 0) break;
            k = static_cast<std::size_t>(match[k]) - 1;
        }
        if (!isNameToken(tokens[k])) break;
        parts.push_back(tokens[k]);
        j = k;
    }
    // A leading "::" names the global scope and adds no part.
    if (j >= 2 && tokens[j - 1] == ":"sv && tokens[j - 2] == ":"sv) j -= 2;
    std::reverse(parts.begin(), parts.end());
    qualifierBegin = j;
    return parts;
}
