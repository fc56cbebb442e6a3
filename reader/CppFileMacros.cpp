// Framework macros that the preprocessor never expands (their definitions
// live in headers that are not read): message and interface maps,
// declaration macros, COM method macros, C# and C++ attribute brackets.
#include <algorithm>
#include <array>
#include <bitset>
#include <string_view>
#include <unordered_set>

#include "model/CppClass.h"
#include "model/Keywords.h"
#include "model/SpecialisationNames.h"
#include "reader/CppFile.h"
#include "reader/TokenCompare.h"

// Tokens are compared with literals of known length: no strlen per test.
using namespace std::string_view_literals;

namespace {

// Blocks opened by "BEGIN_" + name and closed by "END_" + name (or
// "END_" + name + "_STATIC"), in the order they are tried.
constexpr std::array<std::string_view, 16> kMapNames = {
    "CONNECTION_PART", "INTERFACE_PART", "COM_MAP",        "MSG_MAP",
    "MESSAGE_MAP",     "OBJECT_MAP",     "DISPATCH_MAP",   "EVENT_MAP",
    "INTERFACE_MAP",   "CONNECTION_MAP", "EVENTSINK_MAP",  "PARSE_MAP",
    "OLECMD_MAP",      "HIERARCHY_MAP",  "WRITEABLE_MAP",  "VIEW_MAP"};

// Macros that declare or define things by themselves; dropped with their
// argument list.
constexpr std::array<std::string_view, 35> kDeclarationMacros = {
    "DECLARE_MESSAGE_MAP",     "DECLARE_EVENTSINK_MAP",
    "DECLARE_EVENT_MAP",       "DECLARE_INTERFACE_MAP",
    "DECLARE_CONNECTION_MAP",  "DECLARE_OLECMD_MAP",
    "DECLARE_DISPATCH_MAP",    "DECLARE_PARSE_MAP",
    "DECLARE_PROPPAGEIDS",     "DECLARE_SERIAL",
    "DECLARE_DYNAMIC",         "DECLARE_DYNCREATE",
    "_DECLARE_DYNAMIC",        "_DECLARE_DYNCREATE",
    "DECLARE_OLECREATE",       "DECLARE_OLECREATE_EX",
    "DECLARE_OLECTLTYPE",      "DECLARE_OLETYPELIB",
    "EXTERN_PROCESS_LOCAL",    "EXTERN_THREAD_LOCAL",
    "DEFINE_GUID",             "DEFINE_OLEGUID",
    "DECLARE_INTERFACE",       "DECLARE_INTERFACE_",
    "DECLARE_MAPI_INTERFACE_", "DECLARE_MAPI_INTERFACE_PTR",
    "DECLARE_NO_REGISTRY",     "DECLARE_PROTECT_FINAL_CONSTRUCT",
    "DECLARE_TABLE_MAP",       "DECLARE_NO_TABLES",
    "DECLARE_READ_ONLY",       "DECLARE_REGISTRY_RESOURCEID",
    "DECLARE_COLUMNID",        "DECLARE_TOOLBARID",
    "DECLARE_VIEWFLAGS"};

// skipFrameworkMacro passes over tokens by their first character.
static_assert(std::all_of(kDeclarationMacros.begin(), kDeclarationMacros.end(), [](std::string_view name) {
    return name[0] == 'D' || name[0] == 'E' || name[0] == '_';
}));

bool isDeclarationMacro(const std::string& token) {
    static const std::unordered_set<std::string_view> set(kDeclarationMacros.begin(),
                                                          kDeclarationMacros.end());
    // Nearly every token fails on its first character, before any hashing.
    static const std::bitset<256> firstChars = [] {
        std::bitset<256> chars;
        for (std::string_view name : kDeclarationMacros) chars.set(static_cast<unsigned char>(name[0]));
        return chars;
    }();
    if (token.empty() || !firstChars.test(static_cast<unsigned char>(token[0]))) return false;
    return set.count(token) != 0;
}

bool isIdentifier(const std::string& t) { return isNameToken(t); }

// A macro-spelt word with its argument list at st[i].
bool isMacroCallAt(const Tokens& st, std::size_t i) {
    return i + 1 < st.size() && st[i + 1] == "("sv && isMacroLikeWord(st[i]);
}

// The index after the ")" that closes the "(" at st[open], or st.size()
// + 1 when the list is not closed.
std::size_t afterParentheses(const Tokens& st, std::size_t open) {
    int depth = 0;
    for (std::size_t i = open; i < st.size(); ++i) {
        if (st[i] == "("sv) ++depth;
        else if (st[i] == ")"sv && --depth == 0) return i + 1;
    }
    return st.size() + 1;
}

bool isAttributeWord(const std::string& w) {
    return w == "alignas"sv || w == "__declspec"sv || w == "__attribute__"sv;
}

// The leading macro calls of st: a run of macro words that holds a call
// ("Q_ENUM(A) QT_END_NAMESPACE Q_FLAG(B)", "Q_INVOKABLE Q_REVISION(2)").
struct LeadingCalls {
    std::size_t first = 0;          // the first call's word
    std::vector<std::size_t> ends;  // the index after each call
};

LeadingCalls leadingCalls(const Tokens& st) {
    LeadingCalls calls;
    std::size_t i = 0;
    while (i < st.size() && isMacroLikeWord(st[i])) {
        if (!isMacroCallAt(st, i)) {
            ++i;
            continue;
        }
        const std::size_t after = afterParentheses(st, i + 1);
        if (after > st.size()) break;
        if (calls.ends.empty()) calls.first = i;
        calls.ends.push_back(after);
        i = after;
    }
    return calls;
}

}  // namespace

bool CppFile::skipFrameworkMacro(std::string& tok, bool& dropsComment) {
    dropsComment = false;
    if (!mayBeFrameworkMacro(tok)) return false;
    if (tok.size() > 6 && tok.compare(0, 6, "BEGIN_") == 0) {
        for (std::string_view mapName : kMapNames)
            if (skipMapBlock(tok, std::string(mapName))) {
                dropsComment = true;
                return true;
            }
    }
    if (isDeclarationMacro(tok)) {
        std::string next = token();
        if (next == "("sv) {
            skipParens("macro arguments");
            tok = token();
        } else {
            tok = std::move(next);
        }
        dropsComment = true;
        return true;
    }
    if (tok == "namespace"sv && settings.namespacesGlobal && !javaLikeRules())
        return skipTransparentNamespace(tok);
    if (tok == "["sv && (language == Cpp || language == CSharp)) return skipAttribute(tok);
    return false;
}

bool CppFile::skipMapBlock(std::string& tok, const std::string& mapName) {
    if (tok.compare(6, std::string::npos, mapName) != 0) return false;
    const std::string end = "END_" + mapName;
    const std::string endStatic = end + "_STATIC";
    for (;;) {
        std::string t = token();
        if (t.empty()) fail("Unexpected end of file while looking for " + end, line);
        if (t == end || t == endStatic) break;
    }
    std::string next = token();
    if (next == "("sv) {
        skipParens("map");
        tok = token();
    } else {
        tok = std::move(next);
    }
    return true;
}

bool CppFile::skipTransparentNamespace(std::string& tok) {
    // The name (none for an anonymous namespace, "a::b" for a nested one)
    // and the "{" go; the body reads as if at file level.
    if (statement.size() == 1 && statement[0] == "inline"sv) statement.clear();
    std::string next = token();
    while (isNameToken(next) || next == ":"sv) next = token();
    if (next == "{"sv) {
        scopes.push_back(Scope{});
        tok = token();
        return true;
    }
    if (next == "="sv) {
        skipTo(";", "namespace alias");
        tok = token();
        return true;
    }
    tok = std::move(next);
    return true;
}

bool CppFile::skipAttribute(std::string& tok) {
    // C# attributes stand before a declaration; C++ attributes are "[["
    // anywhere. An array bracket in a declaration is neither.
    const bool doubled = language == Cpp && lookahead.empty() && peek() == '[';
    if (!statement.empty() && !doubled) return false;
    int depth = 1;
    while (depth > 0) {
        std::string t = token();
        if (t.empty()) {
            tok.clear();
            return true;
        }
        if (t == "["sv) ++depth;
        else if (t == "]"sv) --depth;
    }
    tok = token();
    return true;
}

bool CppFile::readUnexpandedMacroCall(const std::string& tok) {
    // Counted as the preprocessor would: only parentheses nest, so every
    // "," at the call's own depth separates two arguments.
    int parens = 0;
    bool severalArguments = false;
    auto count = [&](const std::string& t) {
        if (t.size() != 1) return;
        switch (t[0]) {
        case '(': ++parens; break;
        case ')': --parens; break;
        case ',': severalArguments = severalArguments || parens == 1; break;
        default: break;
        }
    };
    for (std::size_t i = 1; i < statement.size(); ++i) {
        count(statement[i]);
        if (parens == 0) return false;  // the call is closed: tok is outside it
    }
    count(tok);
    // Far enough for any argument list written by hand; a list left open
    // by conditional code is not searched for to the end of the file.
    constexpr std::size_t kLongestList = 256;
    std::vector<Lookahead> read;
    while (parens > 0 && read.size() < kLongestList) {
        if (readAhead(read).empty()) {
            read.pop_back();
            break;
        }
        count(read.back().token);
    }
    auto giveBack = [&](std::size_t end) {
        for (std::size_t i = end; i-- > 0;) lookahead.push_back(std::move(read[i]));
    };
    // Braces in the arguments are code or data the macro takes, whether or
    // not they pair up within them ("FOO(x, {})"): a declaration that the
    // call would begin never holds them.
    if (parens > 0) {
        giveBack(read.size());
        return false;
    }
    if (severalArguments) {
        // Which argument the macro uses cannot be known in general, but a
        // first argument that ends in a parameter list, with the code in
        // a later one, is a function and its body ("DEFAULTED(~T(), {})").
        std::size_t comma = 2;
        for (int depth = 1; comma < statement.size(); ++comma) {
            if (statement[comma] == "("sv) ++depth;
            else if (statement[comma] == ")"sv) --depth;
            else if (depth == 1 && statement[comma] == ","sv) break;
        }
        std::size_t end = comma;
        while (end > 2 && (statement[end - 1] == "const"sv || statement[end - 1] == "noexcept"sv ||
                           isMacroLikeWord(statement[end - 1])))
            --end;
        if (comma < statement.size() && end > 3 && statement[end - 1] == ")"sv) {
            statement.erase(statement.begin() + static_cast<std::ptrdiff_t>(comma), statement.end());
            statement.erase(statement.begin(), statement.begin() + 2);
            readMemberStatement(true, false);
            return true;
        }
        statement.clear();
        pendingComment.clear();
        return true;
    }
    // The argument is read in the call's place, its ")" left out.
    giveBack(read.size() - 1);
    lookahead.push_back(Lookahead{tok, false, {}, false, tokenLine, {}});
    for (std::size_t i = statement.size(); i-- > 2;)
        lookahead.push_back(Lookahead{std::move(statement[i]), false, {}, false, tokenLine, {}});
    statement.clear();
    return true;
}

void CppFile::rewriteComMethod(Tokens& st) {
    if (st.size() <= 3) return;
    if (st[0] == "STDMETHOD"sv || st[0] == "STDMETHOD_"sv) {
        if (st[1] == "("sv && isIdentifier(st[2]) && st[3] == ")"sv) {
            std::string name = st[2];
            st.erase(st.begin(), st.begin() + 4);
            st.insert(st.begin(), {"STDMETHODIMP", name});
        } else if (st.size() > 5 && st[1] == "("sv && isIdentifier(st[2]) && st[3] == ","sv &&
                   isIdentifier(st[4]) && st[5] == ")"sv) {
            std::string type = st[2], name = st[4];
            st.erase(st.begin(), st.begin() + 6);
            st.insert(st.begin(), {type, name});
        }
        return;
    }
    if (st[0].rfind("STDMETHODIMP", 0) == 0 && st[1] == "("sv && isIdentifier(st[2]) && st[3] == ")"sv) {
        std::string type = st[2];
        st.erase(st.begin(), st.begin() + 4);
        st.insert(st.begin(), type);
    }
}

bool CppFile::declaresOnItsOwn(const Tokens& st, std::size_t begin, std::string_view ownerName) const {
    // The first word past the decorations says what kind of declaration
    // this is.
    std::size_t first = begin;
    // "inline", "static", "virtual" and their like begin a declaration: no
    // macro call stands for a type written before them.
    bool leadingSpecifier = false;
    while (first < st.size()) {
        const std::string& w = st[first];
        if (isAttributeWord(w) && first + 1 < st.size() && st[first + 1] == "("sv) {
            first = afterParentheses(st, first + 1);
        } else if (isSpecifierWord(w) || (isMacroLikeWord(w) && !isMacroCallAt(st, first))) {
            leadingSpecifier = leadingSpecifier || (isSpecifierWord(w) && w != "const"sv && w != "volatile"sv &&
                                                    w != "typename"sv);
            ++first;
        } else {
            break;
        }
    }
    if (first >= st.size()) return false;
    const std::string& lead = st[first];
    if (leadingSpecifier || lead == "~"sv || lead == "operator"sv || lead == "template"sv || lead == "enum"sv ||
        lead == "typedef"sv || lead == "using"sv || isClassWord(lead))
        return true;
    if (!ownerName.empty() && lead == ownerName && first + 1 < st.size() && st[first + 1] == "("sv)
        return true;
    // A constructor or destructor defined outside its class: "View::View(",
    // "ns::View::~View(".
    for (std::size_t k = first; k + 3 < st.size() && isNameToken(st[k]) && st[k + 1] == ":"sv && st[k + 2] == ":"sv;
         k += 3)
        if (st[k + 3] == "~"sv || (st[k + 3] == st[k] && k + 4 < st.size() && st[k + 4] == "("sv)) return true;
    // A namespace or type opened after other words: the statement is no
    // one declaration ("BEGIN(R) basic<R> END namespace detail {").
    if (std::any_of(st.begin() + static_cast<std::ptrdiff_t>(first), st.end(),
                    [this](const std::string& t) { return t == "namespace"sv || isClassWord(t); }))
        return false;
    // Otherwise a type and a name: two names (a qualified name is one, a
    // macro word or call may be the type) before the parameter list, an
    // initialiser, a bit-field or the end.
    int names = 0;
    bool qualified = false;
    for (std::size_t i = begin; i < st.size(); ++i) {
        const std::string& t = st[i];
        if (t == "("sv) {
            const bool typeCall = i > begin && (isMacroLikeWord(st[i - 1]) || st[i - 1] == "decltype"sv ||
                                                isAttributeWord(st[i - 1]));
            if (!typeCall) break;
            i = afterParentheses(st, i) - 1;
            continue;
        }
        if (t == "<"sv) {
            int angles = 0, parens = 0;
            for (; i < st.size(); ++i) {
                if (st[i] == "("sv) ++parens;
                else if (st[i] == ")"sv && parens > 0) --parens;
                else if (parens == 0 && st[i] == "<"sv) ++angles;
                else if (parens == 0 && st[i] == ">"sv && --angles == 0) break;
            }
            continue;
        }
        if (t == ":"sv) {
            if (i + 1 >= st.size() || st[i + 1] != ":"sv) break;
            // "const ::std::string&": the colons after a specifier begin the name.
            qualified = i > begin && ((isNameToken(st[i - 1]) && !isSpecifierWord(st[i - 1])) || st[i - 1] == ">"sv);
            ++i;
            continue;
        }
        if (t == "="sv || t == "["sv || t == "{"sv || t == ","sv || t == ";"sv) break;
        if (!isNameToken(t) || isSpecifierWord(t) || isAttributeWord(t)) continue;
        if (qualified) {
            qualified = false;
            continue;
        }
        if (t == "operator"sv || ++names >= 2) return true;
    }
    return false;
}

bool CppFile::isMacroCallRun() const {
    if (language != Cpp || statement.empty() || statement.back() != ")"sv) return false;
    const LeadingCalls calls = leadingCalls(statement);
    return !calls.ends.empty() && calls.ends.back() == statement.size();
}

bool CppFile::dropLeadingMacroCalls(Tokens& st, const CppClass* owner, bool bodyFollows) const {
    if (language != Cpp) return true;
    const LeadingCalls calls = leadingCalls(st);
    if (calls.ends.empty()) return true;
    const bool inClass = owner && !owner->isNamespace();
    std::string storage;
    const std::string_view ownerName = inClass ? constructorName(owner->getName(), storage) : std::string_view();
    // The longest run of calls that leaves a declaration of its own goes,
    // from the first call on: macro words before it may be the
    // declaration's own ("Q_INVOKABLE"), and calls of the declaration's
    // type ("REF(T) value") stay with it.
    for (std::size_t k = calls.ends.size(); k-- > 0;) {
        if (calls.ends[k] < st.size() && declaresOnItsOwn(st, calls.ends[k], ownerName)) {
            st.erase(st.begin() + static_cast<std::ptrdiff_t>(calls.first),
                     st.begin() + static_cast<std::ptrdiff_t>(calls.ends[k]));
            return true;
        }
    }
    // Nothing but calls at namespace scope, where a declaration needs a
    // type: they declare nothing the reader can know of. (Of several calls
    // the first could be the type of the last, "API(int) ENTRY(int x);",
    // but calls written without their ";" are far more common there:
    // "Q_DECLARE_METATYPE(A) Q_DECLARE_METATYPE(B);".)
    return inClass || calls.first != 0 || calls.ends.back() != st.size() || bodyFollows;
}

bool CppFile::endsMacroLabel(std::string& access) const {
    if (language != Cpp || statement.size() < 2 || !isMacroLikeWord(statement.back())) return false;
    const CppClass* owner = enclosingClass();
    if (!owner || owner->isNamespace()) return false;
    // "public Q_SLOTS:": the access word and macro words after it.
    std::size_t k = statement.size();
    while (k > 0 && isMacroLikeWord(statement[k - 1])) --k;
    if (k > 0 && (statement[k - 1] == "public"sv || statement[k - 1] == "protected"sv ||
                  statement[k - 1] == "private"sv)) {
        access = statement[k - 1];
        return true;
    }
    // "Q_SIGNALS:" after calls: no type stands before the word, so it
    // names no bit-field. A constructor's head with a macro after its
    // parameters is no label ("Point(int x) NOEXCEPT : x(x)").
    const LeadingCalls calls = leadingCalls(statement);
    if (calls.ends.empty() || calls.ends.back() != statement.size() - 1 ||
        statement[calls.first] == constructorName(owner->getName()))
        return false;
    access.clear();
    return true;
}

bool CppFile::isCallWithoutType(const Tokens& st, const CppClass* owner) const {
    if (language != Cpp || !owner || owner->isNamespace() || st.size() < 3) return false;
    std::string storage;
    const std::string_view ownerName = constructorName(owner->getName(), storage);
    // Macro words before a call, or between calls, are no type either
    // ("OBJECT_MARK PROPERTY(int size READ size)").
    const LeadingCalls calls = leadingCalls(st);
    if (!calls.ends.empty() && calls.ends.back() == st.size()) return st[calls.first] != ownerName;
    const std::string& name = st[0];
    return st[1] == "("sv && isNameToken(name) && name != ownerName && !isKeyword(name, language) &&
           name.rfind("operator", 0) != 0 && afterParentheses(st, 1) == st.size();
}

bool CppFile::isMacroCallsAlone(const Tokens& st, const CppClass* owner) const {
    if (language != Cpp) return false;
    const LeadingCalls calls = leadingCalls(st);
    if (calls.ends.empty() || calls.ends.back() != st.size()) return false;
    // "template<class T> Box(T);" in class Box is its constructor.
    return !owner || owner->isNamespace() || st[calls.first] != constructorName(owner->getName());
}
