// Member declarations (functions and variables), enums with their
// enumerators, and typedefs.
#include <algorithm>
#include <array>
#include <memory>

#include "model/ClassList.h"
#include "model/DocGenCppClass.h"
#include "model/DocGenCppClassMember.h"
#include "model/Keywords.h"
#include "model/MemberIdentity.h"
#include "model/ModelText.h"
#include "reader/CppFile.h"

#include "model/MemberIdentity.h"
#include "reader/TemplateHeads.h"
#include "reader/TokenCompare.h"
#include <string_view>

// Tokens are compared with literals of known length: no strlen per test.
using namespace std::string_view_literals;

namespace {

bool isPointerToken(const std::string& t) { return t == "*"sv || t == "&"sv || t == "^"sv; }

// Words that a type made of them alone cannot be: what is left of a
// forward declaration such as "class Foo;".
bool isTypeIntroducer(const std::string& t) {
    return t == "class"sv || t == "struct"sv || t == "union"sv || t == "interface"sv || t == "enum"sv ||
           t == "typedef"sv || t == "friend"sv || t == "static"sv || t == "extern"sv || t == "inline"sv;
}

// The first token of the interface named before a member's name at nameAt
// ("IEnumerable<string>." of a C# explicit interface implementation), or
// nameAt when no "." stands right before the name.
std::size_t interfaceNameStart(const Tokens& st, const std::vector<int>& match, std::size_t nameAt) {
    std::size_t begin = nameAt;
    while (begin >= 2 && st[begin - 1] == "."sv) {
        std::size_t k = begin - 2;
        if (st[k] == ">"sv && match[k] > 0 && match[k] < static_cast<int>(k))
            k = static_cast<std::size_t>(match[k]) - 1;
        if (!isNameToken(st[k])) break;
        begin = k;
    }
    return begin;
}

// The index of "this" that names a C# indexer ("this" "[" ... "]") at
// bracket depth 0 of tokens[0, end), or end when there is none.
std::size_t findIndexer(const Tokens& st, const std::vector<int>& match, std::size_t end) {
    for (std::size_t i = 0; i + 1 < end; ++i) {
        if (st[i] == "this"sv && st[i + 1] == "["sv && match[i + 1] > static_cast<int>(i + 1))
            return i;
        const bool opens = st[i] == "("sv || st[i] == "["sv || st[i] == "{"sv || st[i] == "<"sv;
        if (opens && match[i] > static_cast<int>(i)) i = static_cast<std::size_t>(match[i]);
    }
    return end;
}

// The qualifier of the name at nameAt, each part as the class it names,
// and how many of the statement's template heads those classes take.
// Outside its class a member of a class template is defined under the
// class's heads, one for each qualifier part that names the template
// ("template<class T> void Vec<T>::push") or a partial specialisation of
// it; the heads after those are the member's own, as are all of a member
// of an explicit specialisation ("template<class In> In Utf<8>::decode").
// Heads after a macro left unexpanded stay in the statement; the
// qualifier's lists are theirs all the same.
struct ClassQualifier {
    std::vector<std::string> parts;
    std::size_t begin = 0;  // where the qualifier's tokens begin
    std::size_t headsTaken = 0;
};

ClassQualifier readClassQualifier(const Tokens& st, const std::vector<int>& match, std::size_t nameAt, bool cpp,
                                  const std::vector<TemplateHead>& headParameters) {
    ClassQualifier read;
    read.begin = nameAt;
    read.parts = readQualifier(st, match, nameAt, read.begin);
    if (!cpp || read.parts.empty()) return read;
    const std::vector<TemplateHead> laterHeads =
        headParameters.empty() ? templateHeadsWithin(st, match, 0, read.begin) : std::vector<TemplateHead>();
    TemplateHeadMatch classHeads(headParameters.empty() ? laterHeads : headParameters);
    read.parts = specialisedQualifier(st, match, read.begin, nameAt, classHeads);
    read.headsTaken = classHeads.taken();
    return read;
}

// True when a variable whose type is tokens [typeBegin, typeEnd) and whose
// declarator puts [prefixBegin, prefixEnd) before its name is itself
// constant: "constexpr" anywhere in the type, or "const" that applies to
// the variable, not to what it points to. "int const n", "const int n" and
// "char* const p" are constants; "const char* p" may be set. Words inside
// template arguments ("array<const int, 2>") do not count.
bool declaresConstant(const Tokens& st, const std::vector<int>& match, std::size_t typeBegin,
                      std::size_t typeEnd, std::size_t prefixBegin, std::size_t prefixEnd) {
    bool constType = false;
    for (std::size_t i = typeBegin; i < typeEnd; ++i) {
        if (match[i] > static_cast<int>(i) && static_cast<std::size_t>(match[i]) < typeEnd) {
            i = static_cast<std::size_t>(match[i]);
            continue;
        }
        if (st[i] == "constexpr"sv) return true;
        if (st[i] == "const"sv) constType = true;
    }
    std::size_t lastPointer = prefixEnd;
    for (std::size_t i = prefixBegin; i < prefixEnd; ++i)
        if (isPointerToken(st[i]) || st[i] == "&&"sv) lastPointer = i;
    if (lastPointer == prefixEnd) return constType;
    for (std::size_t i = lastPointer + 1; i < prefixEnd; ++i)
        if (st[i] == "const"sv) return true;
    return false;
}

// 1 for the word of a C# accessor ("get", "set", "init", "add",
// "remove"), 2 for a modifier that may stand before one, 0 otherwise.
int accessorWord(const std::string& t) {
    switch (t.size()) {
    case 3: return t == "get"sv || t == "set"sv || t == "add"sv ? 1 : 0;
    case 4: return t == "init"sv ? 1 : 0;
    case 6: return t == "remove"sv ? 1 : t == "public"sv ? 2 : 0;
    case 7: return t == "private"sv ? 2 : 0;
    case 8: return t == "internal"sv || t == "readonly"sv ? 2 : 0;
    case 9: return t == "protected"sv ? 2 : 0;
    default: return 0;
    }
}

// True when "=>" begins at `at` (an expression body of C#).
bool isExpressionBody(const Tokens& st, std::size_t at) {
    return at + 1 < st.size() && st[at] == "="sv && st[at + 1] == ">"sv;
}

// Words of the built-in types, and the qualifiers that may end a type.
bool isBuiltinTypeWord(const std::string& t) {
    static constexpr std::array<std::string_view, 17> words = {
        "void", "bool", "char", "char8_t", "char16_t", "char32_t", "wchar_t", "short", "int",
        "long", "float", "double", "signed", "unsigned", "auto", "const", "volatile"};
    return std::find(words.begin(), words.end(), t) != words.end();
}

// Words that may follow a function's parameter list.
bool isAfterParametersWord(const std::string& t) {
    return t == "override"sv || t == "final"sv || t == "noexcept"sv || t == "throw"sv || t == "requires"sv ||
           t == "try"sv || t == "mutable"sv || t == "sealed"sv || t == "abstract"sv || t == "asm"sv ||
           t == "__asm__"sv || t == "__attribute__"sv || t == "__declspec"sv || t == "alignas"sv;
}

// True when the group taken for the parameter list is a macro call that
// stands for a type ("REF_TYPE(T) x"): a declarator's name follows it,
// perhaps after pointer marks, where a function would have qualifiers or a
// macro word ("f(T) NOEXCEPT").
bool isMacroTypeBeforeDeclarator(const Tokens& st, const ParameterList& list) {
    if (!isMacroLikeWord(st[list.nameIndex])) return false;
    std::size_t i = list.close + 1;
    while (i < st.size() && (isPointerToken(st[i]) || st[i] == "&&"sv || st[i] == "const"sv || st[i] == "volatile"sv))
        ++i;
    return i < st.size() && isNameToken(st[i]) && !isMacroLikeWord(st[i]) && !isAfterParametersWord(st[i]) &&
           !isKeyword(st[i], CppFile::Cpp);
}

}  // namespace

bool CppFile::isNeverName(const std::string& word) const {
    // "record" opens a type only at the head of a declaration; after a
    // type it names a field, method or parameter. "final" and "interface"
    // are keywords of Java (and "interface" of C#) only: "int final;"
    // declares a C++ variable.
    if (isKeyword(word, language) || word == "const"sv || word == "enum"sv || word == "class"sv ||
        (isClassWord(word) && word != "record"sv))
        return true;
    // Only C++ reserves all of these: "int typedef, struct;" declares two
    // Java fields, "int typedef, union;" two C# fields.
    if (word == "typedef"sv || word == "union"sv) return language == Cpp;
    return language != Java && (word == "struct"sv || word == "namespace"sv);
}

std::size_t CppFile::splitDeclarator(const Tokens& tokens, const std::vector<int>& match,
                                     std::size_t begin, std::size_t end) const {
    // A word right after "unsigned" or "signed" belongs to the type, unless
    // nothing else after it can be the name ("unsigned flags : 3", and
    // "static const CONSTEXPR unsigned depth" after a macro left unexpanded).
    std::size_t found = end, typeWord = end;
    for (std::size_t i = begin; i < end; ++i) {
        const std::string& t = tokens[i];
        if ((t == "<"sv || t == "["sv || t == "("sv) && match[i] > static_cast<int>(i) &&
            static_cast<std::size_t>(match[i]) < end) {
            const std::size_t close = static_cast<std::size_t>(match[i]);
            // A pointer to a function or an array: the name is inside,
            // "void (*handler)(int)", "int (&row)[4]", "void (*const cb)()".
            const bool constPointer = close >= i + 4 && tokens[close - 2] == "const"sv &&
                                      isPointerToken(tokens[close - 3]);
            if (t == "("sv && language == Cpp && close >= i + 3 &&
                (isPointerToken(tokens[close - 2]) || constPointer) && isNameToken(tokens[close - 1]) &&
                !isNeverName(tokens[close - 1]))
                return close - 1;
            // A name in parentheses after its type: "int (width)" (a
            // function's when its parameters follow, "bool (isnan)(T)").
            if (t == "("sv && language == Cpp && close == i + 2 && i > begin && isBuiltinTypeWord(tokens[i - 1]) &&
                isNameToken(tokens[i + 1]) && !isNeverName(tokens[i + 1]) &&
                (close + 1 >= end || tokens[close + 1] != "("sv))
                found = i + 1;
            i = close;
            continue;
        }
        if (!isNameToken(t) || isNeverName(t)) continue;
        if (i > begin && (tokens[i - 1] == "unsigned"sv || tokens[i - 1] == "signed"sv)) {
            typeWord = i;
            continue;
        }
        found = i;
    }
    if (found < end && (typeWord == end || found > typeWord)) return found;
    return typeWord;
}

bool CppFile::isNameBeforeMacroWord(const Tokens& st, std::size_t at) const {
    auto plainName = [this](const std::string& t) {
        return isNameToken(t) && !isMacroLikeWord(t) && !isNeverName(t);
    };
    // A type and a name are written before the word: "static T min
    // NO_EXPANSION ()". A type of two plain words is none, so the word
    // cannot be the name ("size_type NPOS()" has no such word before).
    // Of the words in capitals only a template parameter's short name ("T")
    // is taken for the type: a longer one is a specifier and the word after
    // it the type ("FORCEINLINE u32 STEP_F(u32 x)").
    if (at < 2 || !isMacroLikeWord(st[at]) || !plainName(st[at - 1])) return false;
    // "virtual size_t MB2WC(...)": a specifier before the name is no type.
    const std::string& type = st[at - 2];
    return (plainName(type) && !isSpecifierWord(type)) || (isMacroLikeWord(type) && type.size() <= 2) || isPointerToken(type) ||
           type == "&&"sv || type == ">"sv;
}

void CppFile::readMemberStatement(bool bodyFollows, bool bodyAhead) {
    // The two token vectors trade places, so neither gives up its storage
    // and the next statement grows into room already there.
    Tokens& st = memberTokens;
    st.clear();
    st.swap(statement);
    rewriteComMethod(st);
    // A function-try-block: the "try" is no part of the declaration, and
    // its handlers follow the body.
    const bool tryBlock = bodyFollows && language == Cpp && !st.empty() && st.back() == "try"sv;
    if (tryBlock) st.pop_back();
    CppClass* owner = enclosingClass();
    std::string access = currentAccess();
    if (!owner) access.clear();
    statementHasBody = bodyFollows;
    const unsigned noted = notes;
    // A C# property, indexer or event shows its accessors as declared: the
    // body is read first, for them. A function's parameters end its head.
    const bool accessorsRead =
        bodyFollows && bodyAhead && language == CSharp && !st.empty() && st.back() != ")"sv;
    if (accessorsRead) accessorList = readAccessorList();
    if (bodyFollows && language == Java && st.size() == 1 && readCompactConstructor(st, access, pendingComment)) {
        // the record's canonical constructor
    } else if (dropLeadingMacroCalls(st, owner, bodyFollows) && (bodyFollows || !isCallWithoutType(st, owner))) {
        readMember(st, owner, access, pendingComment);
    }
    accessorList.clear();
    if (bodyFollows && bodyAhead) {
        if (!accessorsRead) skipBraces("function body");
        // The declaration ends with its body.
        if (notes != noted) trailLine = tokenLine;
    }
    if (tryBlock) skipHandlers();
    endStatement();
}

std::string CppFile::readAccessorList() {
    // The list is written as it is read: " {", each accessor's modifiers,
    // word and ";", then " }". It stops counting at the first token that
    // begins no accessor, and the body is then read through as skipBraces
    // would.
    std::string list = " {";
    std::size_t accessors = 0;
    bool begun = false;  // words of an accessor not yet ended
    enum { Start, Named, Body, Expression, Other } state = Start;
    int depth = 1;   // braces, the body's own first
    int nested = 0;  // brackets and parentheses of an attribute or expression
    auto endAccessor = [&]() {
        list += ';';
        ++accessors;
        begun = false;
        state = Start;
    };
    for (;;) {
        std::string tok = token();
        if (tok.empty()) fail("Unexpected end-of-file when parsing function body", line);
        if (tok == "{"sv) {
            ++depth;
            if (state == Named && depth == 2) state = Body;
            else if (state == Start || state == Named) state = Other;
            continue;
        }
        if (tok == "}"sv) {
            if (--depth == 0) break;
            if (state == Body && depth == 1) endAccessor();
            continue;
        }
        if (depth > 1 || state == Other || state == Body) continue;
        if (state == Expression) {
            if (tok == "("sv || tok == "["sv) ++nested;
            else if ((tok == ")"sv || tok == "]"sv) && nested > 0) --nested;
            else if (tok == ";"sv && nested == 0) endAccessor();
            continue;
        }
        if (state == Named) {
            if (tok == ";"sv) endAccessor();
            else if (tok == "="sv) state = Expression;  // "=>" an expression body, ";" ends it
            else state = Other;
            continue;
        }
        // Start: attributes, modifiers, then the accessor's word.
        if (nested > 0 || tok == "["sv) {
            if (tok == "["sv) ++nested;
            else if (tok == "]"sv) --nested;
            continue;
        }
        const int kind = accessorWord(tok);
        if (kind == 0) {
            state = Other;
            continue;
        }
        list += ' ';
        list += tok;
        begun = true;
        if (kind == 1) state = Named;
    }
    if (state != Start || accessors == 0 || begun) return "";
    return list + " }";
}

void CppFile::skipHandlers() {
    for (;;) {
        std::string tok = token();
        if (tok != "catch"sv) {
            if (!tok.empty()) unread(std::move(tok));
            return;
        }
        tok = token();
        if (tok == "("sv) {
            skipParens("handler");
            tok = token();
        }
        if (tok != "{"sv) {
            // Not a handler after all: what follows is read as usual.
            if (!tok.empty()) unread(std::move(tok));
            return;
        }
        skipBraces("handler");
    }
}

void CppFile::renameToClassParameters(Tokens& st, const std::vector<int>& match, std::size_t nameAt,
                                      std::vector<TemplateHead>& heads,
                                      std::vector<std::string>& ownHeadTexts) const {
    // "Name < ... > :: name": the list right before the member's name,
    // the only one of the qualifier, takes the first head.
    if (heads.empty() || classTemplateHeads.empty() || nameAt < 4 || st[nameAt - 1] != ":"sv ||
        st[nameAt - 2] != ":"sv || st[nameAt - 3] != ">"sv)
        return;
    const std::size_t close = nameAt - 3;
    if (match[close] < 1 || static_cast<std::size_t>(match[close]) >= close) return;
    const auto open = static_cast<std::size_t>(match[close]);
    if (!isNameToken(st[open - 1])) return;
    for (std::size_t j = open - 1; j >= 3 && st[j - 1] == ":"sv && st[j - 2] == ":"sv; j -= 3)
        if (st[j - 3] == ">"sv || !isNameToken(st[j - 3])) return;
    const TemplateHead& head = heads[0];
    if (!head.readable || head.parameters.empty()) return;
    for (const std::string& p : head.parameters)
        if (p.empty()) return;
    // t, or the name of `to` at the place where `from` holds t.
    auto renamed = [](const std::string& t, const std::vector<std::string>& from,
                      const std::vector<std::string>& to) -> const std::string& {
        const auto at = std::find(from.begin(), from.end(), t);
        return at == from.end() ? t : to[static_cast<std::size_t>(at - from.begin())];
    };
    const std::vector<std::string>* fits = nullptr;
    const auto [first, last] = classTemplateHeads.equal_range(st[open - 1]);
    for (auto at = first; at != last; ++at) {
        const ClassTemplateHead& cls = at->second;
        if (cls.parameters.size() != head.parameters.size()) continue;
        Tokens list;
        for (std::size_t i = open; i <= close; ++i)
            if (!(cls.arguments.empty() && st[i] == "..."sv)) list.push_back(renamed(st[i], head.parameters, cls.parameters));
        std::string expected = cls.arguments;
        if (expected.empty()) {
            // The template itself: the list repeats its parameters.
            Tokens own{"<"};
            for (const std::string& p : cls.parameters) {
                if (own.size() > 1) own.emplace_back(",");
                own.push_back(p);
            }
            own.emplace_back(">");
            expected = templateArgumentText(own, 0, own.size() - 1);
        }
        if (templateArgumentText(list, 0, list.size() - 1) != expected) continue;
        if (fits && *fits != cls.parameters) return;  // two classes fit otherwise
        fits = &cls.parameters;
    }
    if (!fits || *fits == head.parameters) return;
    std::vector<std::string> from = head.parameters, to = *fits;
    // A name of the member's own heads that one of the class's would hide
    // is renamed too, to a name the statement does not use.
    for (std::size_t h = 1; h < heads.size(); ++h)
        for (const std::string& own : heads[h].parameters) {
            if (own.empty() || std::find(to.begin(), to.end(), own) == to.end() ||
                std::find(from.begin(), from.end(), own) != from.end())
                continue;
            std::string unused = own + "_";
            while (std::find(st.begin(), st.end(), unused) != st.end() ||
                   std::find(to.begin(), to.end(), unused) != to.end())
                unused += '_';
            from.push_back(own);
            to.push_back(std::move(unused));
        }
    for (std::string& t : st) t = std::string(renamed(t, from, to));
    for (TemplateHead& each : heads)
        for (std::string& p : each.parameters) p = std::string(renamed(p, from, to));
    // The member's own heads, as its declaration shows them.
    ownHeadTexts = withWordsRenamed(ownHeadTexts, from, to);
}

std::string CppFile::readMember(Tokens& st, CppClass* owner, const std::string& access,
                                const std::string& comment) {
    if (st.size() <= 1 || (language == Cpp && (st[0] == "friend"sv || st[0] == "typedef"sv))) return "";
    // An assertion checked while compiling declares nothing.
    if (language == Cpp && st[0] == "static_assert"sv) return "";
    if (st.size() >= 2 && st[0] == "extern"sv && st[1].size() >= 2 && st[1][0] == '"')
        st.erase(st.begin(), st.begin() + 2);
    // The template heads, kept apart: those that belong to the function
    // itself set it apart from a plain overload, so its declaration shows them.
    std::vector<std::string> heads;
    std::vector<TemplateHead> headParameters;
    while (st.size() >= 2 && st[0] == "template"sv && st[1] == "<"sv) {
        int depth = 0, parens = 0;
        std::size_t i = 1;
        for (; i < st.size(); ++i) {
            if (st[i] == "("sv) ++parens;
            else if (st[i] == ")"sv && parens > 0) --parens;
            else if (parens == 0 && st[i] == "<"sv) ++depth;
            else if (parens == 0 && st[i] == ">"sv && --depth == 0) break;
        }
        if (i >= st.size()) return "";
        heads.push_back(joinTokens(st, 0, i + 1));
        if (language == Cpp) headParameters.push_back(readTemplateHead(st, 1, i));
        st.erase(st.begin(), st.begin() + static_cast<std::ptrdiff_t>(i + 1));
    }
    // A class made a friend is no member, under a template head too
    // ("template<class T> friend class NS_NAME(Box);").
    if (st.size() <= 1 || (language == Cpp && st[0] == "friend"sv && isClassWord(st[1]))) return "";
    if (!heads.empty() && !statementHasBody && isMacroCallsAlone(st, owner)) return "";

    // Java has no operator functions: "operator" there is a parameter's name.
    if (language != Java) mergeOperatorNames(st);
    std::vector<int>& match = bracketMatch;
    matchBrackets(st, match, bracketStack);
    const std::size_t equals = findTopLevelEquals(st, match, st.size());
    ParameterList list;
    if (findParameterList(st, match, equals, language, list) &&
        (st[list.nameIndex].rfind("operator", 0) == 0 || !isKeyword(st[list.nameIndex], language)) &&
        !(language == Cpp && !statementHasBody && isMacroTypeBeforeDeclarator(st, list))) {
        if (language == Cpp && isNameBeforeMacroWord(st, list.nameIndex)) --list.nameIndex;
        std::size_t nameStart = list.nameIndex;
        std::string name = st[list.nameIndex];
        if (nameStart > 0 && st[nameStart - 1] == "~"sv) {
            name = "~" + name;
            --nameStart;
        }
        if (language == Cpp) renameToClassParameters(st, match, nameStart, headParameters, heads);
        ClassQualifier read = readClassQualifier(st, match, nameStart, language == Cpp, headParameters);
        std::size_t qualifierBegin = read.begin;
        std::vector<std::string> qualifier = std::move(read.parts);
        if (language == CSharp) {
            // An explicit interface implementation is named with its
            // interface: it is another member than the public one.
            const std::size_t interfaceAt = interfaceNameStart(st, match, nameStart);
            if (interfaceAt < nameStart) name = joinTokens(st, interfaceAt, nameStart) + name;
        }
        std::vector<std::string> arguments = splitParameters(st, match, list.open, list.close);
        // "f(void)" declares no parameter in C and C++.
        if (language == Cpp && arguments.size() == 1 && arguments[0] == "void"sv) arguments.clear();
        // A C# expression body ("=> expression") is no part of the declaration.
        if (language == CSharp && equals + 1 < st.size() && st[equals + 1] == ">"sv) st.resize(equals);
        std::string declaration;
        for (std::size_t h = std::min(read.headsTaken, heads.size()); h < heads.size(); ++h) {
            declaration += heads[h];
            declaration += ' ';
        }
        appendJoinedTokensWithout(declaration, st, qualifierBegin, nameStart);
        declaration += ';';
        addMember(owner, qualifier, name, declaration, access, comment, true, arguments);
        return name;
    }
    if (language == CSharp) {
        const std::size_t indexer = findIndexer(st, match, equals);
        if (indexer < equals) {
            // An indexer takes its parameters in brackets.
            const std::size_t interfaceAt = interfaceNameStart(st, match, indexer);
            std::string name = joinTokens(st, interfaceAt, indexer) + "this";
            const std::size_t open = indexer + 1;
            const auto close = static_cast<std::size_t>(match[open]);
            std::string declaration = joinTokens(st, 0, close + 1);
            if (!accessorList.empty()) declaration += accessorList;
            else if (isExpressionBody(st, close + 1)) declaration += " { get; }";
            else declaration += ';';
            addMember(owner, {}, name, declaration, access, comment, true,
                      splitParameters(st, match, open, close));
            return name;
        }
    }
    readVariables(st, match, st.size(), owner, access, comment, heads, headParameters);
    return "";
}

void CppFile::readVariables(const Tokens& st, const std::vector<int>& match, std::size_t end,
                            CppClass* owner, const std::string& access,
                            const std::string& comment, const std::vector<std::string>& heads,
                            const std::vector<TemplateHead>& headParameters) {
    const bool single = !heads.empty();
    struct Declarator {
        std::size_t begin, end, initializer;
    };
    std::vector<Declarator> declarators;
    std::size_t start = 0, initializer = end;
    for (std::size_t i = 0; i < end; ++i) {
        const std::string& t = st[i];
        const bool inInitializer = initializer < end;
        // In an initialiser "<" is a comparison, unless a qualifier follows
        // its match ("is_same<A, B>::value" is one operand).
        if (match[i] > static_cast<int>(i) && static_cast<std::size_t>(match[i]) < end) {
            const auto close = static_cast<std::size_t>(match[i]);
            const bool templateId = t == "<"sv && (!inInitializer ||
                (close + 2 < end && st[close + 1] == ":"sv && st[close + 2] == ":"sv));
            if (t == "("sv || t == "["sv || t == "{"sv || templateId) {
                i = close;
                continue;
            }
        }
        if (t == ","sv && !single) {
            declarators.push_back({start, i, initializer});
            start = i + 1;
            initializer = end;
        } else if (t == "="sv && !inInitializer) {
            initializer = i;
        }
    }
    declarators.push_back({start, end, initializer});
    // A constant at file or namespace scope is documented only when asked
    // for; a constant of a class defined outside it ("const int
    // Limits::max = 8;") is the class's member.
    const bool constantsLeftOut = !settings.includeConst && (!owner || owner->isNamespace());

    std::string typeText;
    bool declaredOne = false;
    std::size_t typeBegin = 0, typeEnd = 0;  // the first declarator's type, shared by the others
    for (std::size_t d = 0; d < declarators.size(); ++d) {
        const Declarator& decl = declarators[d];
        std::size_t stop = std::min(decl.initializer, decl.end);
        // A bit-field width: a ":" that is not half of "::".
        std::size_t bitField = stop;
        for (std::size_t i = decl.begin; i < stop; ++i) {
            // Not one inside brackets: "storage<(a > b) ? 1 : 2>::type".
            if (match[i] > static_cast<int>(i) && static_cast<std::size_t>(match[i]) < stop) {
                i = static_cast<std::size_t>(match[i]);
                continue;
            }
            if (st[i] == ":"sv && (i == 0 || st[i - 1] != ":"sv) && (i + 1 >= stop || st[i + 1] != ":"sv)) {
                bitField = i;
                break;
            }
        }
        std::size_t nameAt = splitDeclarator(st, match, decl.begin, bitField);
        if (nameAt >= bitField) {
            if (d == 0) return;  // no name, so no type for the others either
            continue;
        }
        ClassQualifier read = readClassQualifier(st, match, nameAt, language == Cpp, headParameters);
        std::size_t qualifierBegin = read.begin;
        std::vector<std::string> qualifier = std::move(read.parts);
        // A property or event implementing one of an interface explicitly
        // is named with the interface, as a method is.
        std::string name = st[nameAt];
        if (language == CSharp && qualifierBegin == nameAt) {
            qualifierBegin = interfaceNameStart(st, match, nameAt);
            if (qualifierBegin < nameAt) name = joinTokens(st, qualifierBegin, nameAt) + name;
        }
        std::size_t prefixBegin = decl.begin;
        if (d == 0) {
            // The declarator's own part: its pointers, with the qualifiers
            // that follow them ("T *const p, *q;" declares q a plain T*).
            std::size_t run = qualifierBegin;
            // "(" of a declarator in parentheses ("int (*f)(int)", "int (x)").
            while (run > decl.begin && (isPointerToken(st[run - 1]) || st[run - 1] == "const"sv ||
                                        st[run - 1] == "volatile"sv || st[run - 1] == "("sv))
                --run;
            while (run < qualifierBegin && !isPointerToken(st[run]) && st[run] != "("sv) ++run;
            typeEnd = run;
            if (typeEnd == decl.begin) return;
            // Macro words before a forward declaration ("EXPORT class
            // Foo;") leave it one: the class word stands right before the name.
            const bool classWordBeforeName = typeEnd == qualifierBegin && language == Cpp &&
                                             (isClassWord(st[typeEnd - 1]) || st[typeEnd - 1] == "enum"sv);
            bool onlyIntroducers = true, hasClassWord = false;
            for (std::size_t i = decl.begin; i < typeEnd; ++i) {
                if (!isTypeIntroducer(st[i]) && !(classWordBeforeName && isMacroLikeWord(st[i])))
                    onlyIntroducers = false;
                if (isClassWord(st[i]) || st[i] == "interface"sv) hasClassWord = true;
                // A body already read ("union {...} v{0};"): the brace
                // that follows initialises the variable.
                if (st[i] == "{...}"sv) hasClassWord = false;
            }
            if (onlyIntroducers) return;  // a forward declaration
            if (hasClassWord && statementHasBody) {
                // A class head that could not be read.
                warnLine(line);
                return;
            }
            typeText = joinTokens(st, decl.begin, typeEnd);
            prefixBegin = typeEnd;
            typeBegin = decl.begin;
        }
        // type, then the declarator's prefix, name and suffix, each part
        // joined on its own; before them the variable's own template heads,
        // those after the heads of the class templates that qualify it
        // ("template<class T> int Vec<T>::count").
        std::string declaration;
        for (std::size_t h = std::min(read.headsTaken, heads.size()); h < heads.size(); ++h) {
            declaration += heads[h];
            declaration += ' ';
        }
        declaration += typeText;
        declaration += ' ';
        appendJoinedTokens(declaration, st, prefixBegin, qualifierBegin);
        // "*const end_": a prefix that ends in a word keeps apart from the name.
        if (prefixBegin < qualifierBegin && isNameToken(st[qualifierBegin - 1]))
            declaration += ' ';
        declaration += name;
        appendJoinedTokens(declaration, st, nameAt + 1, bitField);
        if (bitField < stop) {
            declaration += " : ";
            appendJoinedTokens(declaration, st, bitField + 1, stop);
        }
        // A C# property or event with accessors shows them; one with an
        // expression body ("=> value") has a getter alone.
        if (language == CSharp && !accessorList.empty()) declaration += accessorList;
        else if (language == CSharp && isExpressionBody(st, decl.initializer)) declaration += " { get; }";
        else declaration += ';';
        if (constantsLeftOut && qualifier.empty() &&
            declaresConstant(st, match, typeBegin, typeEnd, prefixBegin, qualifierBegin))
            continue;
        // A namespace's variable without "extern" is defined here: a
        // source's "int count = 0;" joins the header's "extern int count;".
        bool definition = language == Cpp && qualifier.empty() && owner && owner->isNamespace();
        for (std::size_t i = typeBegin; definition && i < typeEnd; ++i)
            if (st[i] == "extern"sv) definition = false;
        // A marked comment after the declaration documents each declarator.
        furtherDeclarator = declaredOne;
        declaredOne =
            addMember(owner, qualifier, name, declaration, access, comment, false, {}, definition) || declaredOne;
        furtherDeclarator = false;
    }
}

CppClassMember* CppFile::addMember(CppClass* owner, const std::vector<std::string>& qualifier,
                                   const std::string& name, const std::string& declaration,
                                   const std::string& access, const std::string& comment,
                                   bool hasArguments, const std::vector<std::string>& arguments,
                                   bool variableDefinition) {
    CppClass* target = owner;
    std::string className;
    if (!qualifier.empty()) {
        const std::string separator = javaLikeRules() ? "." : "::";
        std::string outer = owner ? owner->getName() : std::string();
        for (std::size_t i = 0; i + 1 < qualifier.size(); ++i)
            outer += (outer.empty() ? "" : separator) + qualifier[i];
        className = (outer.empty() ? "" : outer + separator) + qualifier.back();
        std::string stored = lastPathPart(package);
        if (stored.empty()) stored = "(default)";
        target = classList->findClass(stored, className, false);
        if (!target) {
            auto* cls = new DocGenCppClass(owner, DocOptions(), language, false, false);
            cls->setText(outer);
            cls->setSourceDirectory(sourceDirectory);
            target = cls;
        }
    } else if (!target) {
        target = globalsClass();
    }
    if (className.empty()) className = target->getName();
    auto* fresh = new DocGenCppClassMember(target);
    const bool definedOutside = !qualifier.empty() && !javaLikeRules();
    CppClassMember* member = classList->addClassMember(
        package, className, name, declaration, access, comment, hasArguments, sourceFileName,
        arguments, target, fresh, javaLikeRules(), definedOutside,
        hasArguments ? statementHasBody || definedOutside : variableDefinition);
    reportStatus(name);
    noteDeclared(member, furtherDeclarator);
    return member;
}

bool CppFile::readEnum(DocGenCppClass& cls, CppClass* enclosing, bool typedefHead) {
    std::string name = token();
    if (name == "class"sv || name == "struct"sv) name = token();
    if (name.empty()) fail("End-of-file while parsing enum definition", line);
    if (name == ":"sv && typedefHead) {
        // "typedef enum : uint8_t { ... } level_t;": the underlying type.
        do {
            name = token();
            if (name.empty()) fail("End-of-file while parsing enum definition", line);
        } while (isNameToken(name) || name == ":"sv);
    }
    if (name == "{"sv && typedefHead) {
        // "typedef enum { ... } level_t;": the enum is level_t.
        name = lookPastBody().name;
        if (!name.empty()) {
            cls.setName(name);
            cls.setKind("enum");
            readEnumBody(cls);
            return true;
        }
        name = "{";
    }
    if (name == "{"sv) {
        if (!settings.includeAnonymous) {
            skipBraces("enum definition");
            statement.push_back("{...}");
            return false;
        }
        CppClass* holder = enclosing ? enclosing : globalsClass();
        auto* docHolder = dynamic_cast<DocGenCppClass*>(holder);
        name = docHolder ? anonymousName(*docHolder, "enum") : "anonymous_enum_1";
    } else {
        if (!isNameToken(name)) {
            unread(std::move(name));
            return false;
        }
        statement.push_back(name);
        std::string tok = token();
        if (tok == ":"sv) {
            std::string second = token();
            const bool qualified = second == ":"sv;
            unread(std::move(second));
            if (qualified) {
                // "enum Outer::Kind k;" names an enum declared elsewhere.
                unread(std::move(tok));
                return false;
            }
            // The underlying type.
            for (;;) {
                tok = token();
                if (tok.empty()) fail("End-of-file while parsing enum definition", line);
                if (tok == "{"sv || tok == ";"sv) break;
                if (!(isNameToken(tok) || tok == ":"sv)) break;
            }
        }
        if (tok == "implements"sv && language == Java) {
            // "enum Mode implements Runnable {": the interfaces are bases,
            // and the body is the enum's like any other.
            cls.setName(name);
            if (!readBaseList(cls, tok)) return false;
            tok = "{";
        }
        if (tok != "{"sv) {
            if (!tok.empty()) unread(std::move(tok));
            return false;  // a forward declaration or a variable
        }
    }
    cls.setName(name);
    cls.setKind("enum");
    readEnumBody(cls);
    return true;
}

void CppFile::readEnumBody(DocGenCppClass& cls) {
    Tokens current;
    std::string comment;
    int depth = 0;
    // While the body is read, the enumerator is the declaration a marked
    // comment may stand in, and one after the "{" is the enum's; afterwards
    // the enum and its members are noted no more (the class is noted when
    // it registers).
    struct Reading {
        CppFile& file;
        const Tokens* outer;
        ~Reading() {
            file.openDeclaration = outer;
            file.noteDeclared(static_cast<CppClass*>(nullptr));
        }
    } reading{*this, openDeclaration};
    openDeclaration = &current;
    noteDeclared(&cls);
    auto flush = [&]() {
        std::size_t nameAt = current.size();
        int inner = 0;
        for (std::size_t i = 0; i < current.size(); ++i) {
            const std::string& t = current[i];
            if (t == "["sv || t == "("sv || t == "{"sv) ++inner;
            else if ((t == "]"sv || t == ")"sv || t == "}"sv) && inner > 0) --inner;
            else if (inner == 0 && isNameToken(t)) {
                nameAt = i;
                break;
            }
        }
        if (nameAt < current.size()) {
            noteDeclared(cls.addMember(current[nameAt], joinTokens(current, nameAt, current.size()) + ";",
                                       "public", comment, false, sourceFileName, {},
                                       new DocGenCppClassMember(&cls), javaLikeRules()));
        }
        current.clear();
        comment.clear();
    };
    for (;;) {
        std::string tok = token();
        if (tok.empty()) fail("End-of-file while parsing enum definition", line);
        if (depth == 0) {
            if (lastHasComment && lastCommentTrails) comment += lastComment;
            else if (current.empty() && lastHasComment) comment = lastComment;
            if (tok == "}"sv) {
                flush();
                return;
            }
            if (tok == ","sv) {
                flush();
                continue;
            }
            if (tok == ";"sv) {
                // Members of a Java enum follow its constants: the rest of
                // the body is read as a class body.
                flush();
                enumBodyOpen = true;
                return;
            }
            if (tok == "{"sv && language == Java && !current.empty()) {
                // A constant's own class body is its implementation, not
                // part of what declares it.
                skipBraces("enum constant body");
                continue;
            }
            if (tok == "@"sv && language == Java) {
                tokenWith('.');
                std::string next = token();
                if (next == "("sv) skipParens("annotation");
                else unread(std::move(next));
                continue;
            }
        }
        if (tok == "("sv || tok == "["sv || tok == "{"sv) ++depth;
        else if ((tok == ")"sv || tok == "]"sv || tok == "}"sv) && depth > 0) --depth;
        if (current.size() < 64) current.push_back(std::move(tok));
    }
}

bool CppFile::readTypedef(DocGenCppClass& cls, CppClass* enclosing, bool& classFollows,
                          std::string& classKeyword) {
    (void)enclosing;
    const int startLine = line;
    std::string first = token();
    if (first.empty()) fail("Unexpected end-of-file when parsing typedef", line);
    if (isClassWord(first) || first == "enum"sv) {
        // A body follows the keyword, its attributes or its tag name: "{",
        // or a base list or an enum's underlying type after ":" (but "::"
        // continues a qualified tag: "typedef class ns::Node Node;").
        std::vector<Lookahead> read;
        auto readOne = [&]() -> const std::string& { return readAhead(read); };
        std::string next = readOne();
        while ((next == "__attribute__"sv || next == "__declspec"sv || next == "alignas"sv) && readOne() == "("sv) {
            for (int parens = 1; parens > 0;) {
                const std::string& t = readOne();
                if (t.empty()) break;
                if (t == "("sv) ++parens;
                else if (t == ")"sv) --parens;
            }
            next = readOne();
        }
        bool body = next == "{"sv || (first == "enum"sv && next == ":"sv);
        if (!body && isNameToken(next)) {
            const std::string after = readOne();
            body = after == "{"sv || (after == ":"sv && readOne() != ":"sv);
        }
        giveBack(read, 0, read.size());
        if (body) {
            classFollows = true;
            classKeyword = first;
            return false;
        }
    }
    Tokens tokens{first};
    if (first == ";"sv) tokens.clear();
    else
        for (int depth = 0;;) {
            std::string tok = token();
            if (tok.empty()) fail("End-of-file found while in typedef specification", line);
            if (tok == ";"sv && depth == 0) break;
            if (tok == "("sv || tok == "["sv || tok == "{"sv) ++depth;
            else if ((tok == ")"sv || tok == "]"sv || tok == "}"sv) && depth > 0) --depth;
            tokens.push_back(std::move(tok));
        }

    // A declarator in parentheses before the parameters or the bounds, its
    // name the group's last word: "typedef void (handler)(int);", and behind
    // words the preprocessor left standing, macros it could not expand:
    // "typedef EGLBoolean (APIENTRYP PFNINITPROC)(int);", "typedef void
    // *(ALLOC_SIZE(1) CALL *allocFn)(size_t);". The last such group is the
    // declarator: one before it is a macro call "M(ARG) (*fn)(int)". Groups
    // inside template arguments are function types, no declarators.
    std::string name;
    for (std::size_t i = 1, depth = !tokens.empty() && tokens[0] == "("sv; i + 1 < tokens.size(); ++i) {
        const std::string& t = tokens[i];
        if (t == "("sv || t == "["sv || t == "{"sv || t == "<"sv) ++depth;
        else if (t == ">>"sv) depth -= std::min<std::size_t>(depth, 2);
        else if (t == ">"sv) depth -= depth > 0;
        else if ((t == ")"sv || t == "]"sv || t == "}"sv) && depth > 0 && --depth == 0 && t == ")"sv &&
                 (tokens[i + 1] == "("sv || tokens[i + 1] == "["sv) && isNameToken(tokens[i - 1]) &&
                 !isKeyword(tokens[i - 1], language))
            name = tokens[i - 1];
    }
    // A pointer to a function: "(" [calling convention words] "*" name.
    for (std::size_t i = 0; i + 1 < tokens.size() && name.empty(); ++i) {
        if (tokens[i] != "("sv) continue;
        std::size_t j = i + 1;
        while (j < tokens.size() && (isNameToken(tokens[j]) || tokens[j] == ":"sv)) ++j;
        if (j + 1 < tokens.size() && isPointerToken(tokens[j]) && isNameToken(tokens[j + 1]))
            name = tokens[j + 1];
    }
    if (name.empty()) {
        int depth = 0;
        for (const std::string& t : tokens) {
            if (t == "("sv || t == "["sv || t == "{"sv) ++depth;
            else if ((t == ")"sv || t == "]"sv || t == "}"sv) && depth > 0) --depth;
            else if (depth == 0 && isNameToken(t) && !isKeyword(t, language)) name = t;
        }
    }
    if (name.empty()) {
        warnLine(startLine);
        return false;
    }
    cls.setName(name);
    cls.setKind("typedef");
    cls.addMember(name, "typedef " + joinTokens(tokens) + ";", "public", "", false, sourceFileName,
                  {}, new DocGenCppClassMember(&cls), javaLikeRules());
    return true;
}
