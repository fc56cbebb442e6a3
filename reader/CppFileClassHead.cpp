// Class heads: names, document markers, base lists, nesting and anonymous
// types; typedef names after a typedef'd body.
#include <algorithm>
#include <memory>

#include "model/ClassList.h"
#include "model/DocGenCppClass.h"
#include "model/DocGenCppClassMember.h"
#include "model/GenericNames.h"
#include "reader/CppFile.h"
#include "reader/TemplateHeads.h"
#include "reader/TokenCompare.h"
#include <string_view>

// Tokens are compared with literals of known length: no strlen per test.
using namespace std::string_view_literals;

namespace {

// Deepest nesting of braces at which a body without a name is looked past
// to see what its "}" declares.
constexpr std::size_t kLookPastDepth = 16;

// The names of the type parameters read after a C# class's name (the
// tokens after its "<", the closing ">" last), as the class is named:
// "<T1, T2>". Attributes and variance ("[Pure] out T") name nothing; a
// parameter the reader cannot make out is kept as written.
std::string typeParameterNames(const Tokens& list) {
    std::string names = "<";
    Tokens parameter;
    std::size_t count = 0;
    int depth = 0;
    auto finish = [&]() {
        if (count++ > 0) names += ", ";
        std::size_t name = parameter.size();
        for (std::size_t i = 0; i < parameter.size(); ++i)
            if (isNameToken(parameter[i]) && parameter[i] != "in"sv && parameter[i] != "out"sv) name = i;
        names += name < parameter.size() ? parameter[name] : joinTokens(parameter);
        parameter.clear();
    };
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string& t = list[i];
        const bool last = i + 1 == list.size();
        if (depth == 0 && (t == ","sv || (last && t == ">"sv))) {
            finish();
            continue;
        }
        if (t == "["sv) {
            ++depth;
            continue;
        }
        if (t == "]"sv && depth > 0) {
            --depth;
            continue;
        }
        if (depth == 0) parameter.push_back(t);
    }
    if (!parameter.empty()) finish();
    return names + ">";
}

// The type arguments read after a C# base's name (the tokens after its
// "<", the closing ">" last) as the base is recorded: one "," for each
// argument after the first, "<>" for Box<int>, "<,>" for Map<K, V>.
std::string argumentCountMark(const Tokens& list) {
    std::string mark = "<";
    int depth = 0;
    for (std::size_t i = 0; i + 1 < list.size(); ++i) {
        const std::string& t = list[i];
        if (t == "<"sv || t == "("sv || t == "["sv) ++depth;
        else if ((t == ">"sv || t == ")"sv || t == "]"sv) && depth > 0) --depth;
        else if (t == ","sv && depth == 0) mark += ',';
    }
    return mark + ">";
}

}  // namespace

void CppFile::classPath(const std::string& keyword) {
    if (!statement.empty() && statement.back() == "friend"sv) {
        skipTo(";", "friend function declaration");
        endStatement();
        return;
    }
    CppClass* enclosing = enclosingClass();
    // A Java record's canonical constructor is as accessible as the record
    // ("record R(int a)" declares a constructor of package access); a C#
    // primary constructor is public.
    const std::string primaryAccess =
        language != Java ? "public" : accessWords.empty() ? std::string() : accessWords.back();
    auto cls = std::make_unique<DocGenCppClass>(enclosing, DocOptions(), language, false, false);
    cls->setComment(pendingComment);
    statement.push_back(keyword);

    std::string headKeyword = keyword;
    bool typedefOpened = false;
    bool typedefEnum = false;
    anonymousHead = false;
    bool opened = false;
    bool registers = false;
    bool skipped = false;

    if (keyword == "enum"sv) {
        enumBodyOpen = false;
        registers = readEnum(*cls, enclosing);
        opened = registers && enumBodyOpen;
    } else if (keyword == "typedef"sv) {
        bool classFollows = false;
        registers = readTypedef(*cls, enclosing, classFollows, headKeyword);
        if (classFollows) {
            statement.push_back(headKeyword);
            if (headKeyword == "enum"sv) {
                // The enumerators are read with the enum; the names after
                // its "}" follow once it is registered.
                enumBodyOpen = false;
                registers = typedefEnum = readEnum(*cls, enclosing, true);
            } else {
                typedefOpened = true;
                opened = registers = readClassHead(*cls, headKeyword, enclosing, skipped, true);
            }
            if (!registers && !skipped && !statement.empty() && statement.back() == "{...}"sv) {
                // A typedef of a body without a name that is not documented
                // itself: the names after it still are.
                statement.clear();
                readTypedefNames(headKeyword, pendingComment);
                endStatement();
                return;
            }
        } else if (!registers) {
            endStatement();
            return;
        }
    } else {
        opened = readClassHead(*cls, keyword, enclosing, skipped);
        registers = opened || declaredWithoutBody;
    }

    if (skipped) {
        endStatement();
        return;
    }
    if (!registers) return;  // the statement goes on as a declaration
    if (opened && scopes.size() >= kMaxNesting) {
        // Nested names grow with the depth; beyond any real nesting the
        // body is skipped so that the work stays linear in the input.
        warnLine(line);
        skipBraces("class body");
        endStatement();
        return;
    }

    std::string ownName;
    if (hasPrimaryConstructor || typedefOpened || typedefEnum)
        ownName = withoutTypeParameters(cls->getName());
    const bool anonymous = anonymousHead;
    if (enclosing) {
        const std::string separator = javaLikeRules() ? "." : "::";
        if (cls->getText().empty()) cls->setText(enclosing->getName());
        cls->setName(enclosing->getName() + separator + cls->getName());
    }
    CppClass* kept = registerClass(cls.release());
    std::string canonical;
    if (hasPrimaryConstructor && keyword != "enum"sv && keyword != "typedef"sv) {
        hasPrimaryConstructor = false;
        canonical = ownName + "(";
        for (std::size_t i = 0; i < primaryParameters.size(); ++i)
            canonical += (i ? ", " : "") + primaryParameters[i];
        canonical += ");";
        // The body after the head is the type's, not the constructor's.
        statementHasBody = false;
        addMember(kept, {}, ownName, canonical, primaryAccess, "", true, primaryParameters);
    }

    if (opened) {
        Scope scope;
        scope.kind = Scope::Class;
        scope.cls = kept;
        scope.keyword = headKeyword;
        scope.access = headKeyword == "class"sv ? "private" : "public";
        scope.typedefOpened = typedefOpened;
        if (typedefOpened) scope.ownName = ownName;
        scope.anonymous = anonymous;
        if (!canonical.empty() && language == Java)
            scope.canonical.reset(new CanonicalConstructor{ownName, std::move(canonical), primaryParameters});
        scopes.push_back(std::move(scope));
        endStatement();
        return;
    }
    endStatement();
    if (typedefEnum) {
        readTypedefNames(kept->getName(), kept->getComment(), ownName);
        endStatement();
        return;
    }
    // After an enum body the declarators up to ";" are variables of it.
    if (keyword == "enum"sv && language == Cpp) statement.push_back(kept->getName());
}

CppClass* CppFile::registerClass(DocGenCppClass* cls) {
    cls->addFileName(sourceFileName);
    cls->setSourceDirectory(sourceDirectory);
    cls->setPackage(package);
    if (namespacesArePackages()) addPackage(package);
    CppClass* kept = classList->addClass(cls);
    // The text is built only when someone takes it.
    if (statusCallback) reportStatus(kept->getPackage() + "/" + kept->getName());
    noteDeclared(kept);
    return kept;
}

bool CppFile::readCompactConstructor(const Tokens& st, const std::string& access, const std::string& comment) {
    if (language != Java || st.size() != 1 || scopes.empty()) return false;
    const Scope& scope = scopes.back();
    if (scope.kind != Scope::Class || !scope.canonical || st[0] != scope.canonical->name) return false;
    const CanonicalConstructor& canonical = *scope.canonical;
    addMember(scope.cls, {}, canonical.name, canonical.declaration, access, comment, true, canonical.parameters);
    return true;
}

void CppFile::skipDeclaration() {
    int depth = 0;
    for (;;) {
        std::string tok = token();
        if (tok.empty()) fail("Unexpected end-of-file", line);
        if (tok == ";"sv && depth == 0) return;
        if (tok == "{"sv) ++depth;
        else if (tok == "}"sv && depth > 0 && --depth == 0) return;
    }
}

void CppFile::readHeadDecorations(std::string& name, const std::string& keyword) {
    // Every token read, with the comment before it, so that what is not
    // taken goes back as it came.
    std::vector<Lookahead> read{Lookahead{name, false, {}, false, tokenLine, {}}};
    auto readOne = [&]() -> const std::string& { return readAhead(read); };
    auto giveBack = [&](std::size_t from, std::size_t to) { this->giveBack(read, from, to); };
    std::vector<std::size_t> words{0};  // where each word begins in `read`
    std::size_t end = 0;                // the token that ends the words
    bool ends = false;
    for (;;) {
        end = read.size();
        const std::string tok = readOne();
        if (tok == ":"sv) {
            if (readOne() != ":"sv) {
                ends = true;  // a base list
                break;
            }
            // A qualified name is one word: ns::Name.
            if (isNameToken(readOne())) continue;
            break;
        }
        if (isNameToken(tok) && tok != "final"sv) {
            words.push_back(end);
            continue;
        }
        ends = tok == "{"sv || tok == "<"sv || tok == "final"sv;
        if (tok == ";"sv && words.size() >= 2) {
            // "class DLL_API Name;" declares the class, as "class Name;"
            // does; "struct stat st;" declares a variable. Only a "class"
            // or macro words before the last word tell the first kind.
            bool forward = true;
            for (std::size_t w = 0; w + 1 < words.size(); ++w)
                forward = forward && isMacroLikeWord(read[words[w + 1] - 1].token);
            if (forward || keyword == "class"sv) {
                giveBack(end, read.size());
                giveBack(words.back() + 1, end);
                name = std::move(read[words.back()].token);
                return;
            }
        }
        break;
    }
    if (ends && words.size() >= 2 && read[end].token == "{"sv) {
        // "struct Point origin{0, 0};" declares a variable: braces that
        // hold only an initialiser and close the declarator. Anything a
        // class body holds and an initialiser does not ends the look at
        // once: ";", an access label, a function body, a macro word
        // ("{ Q_OBJECT }"). Empty braces are a body after decorations
        // spelt like macros, capitals with an "_" ("struct NET_EXPORT
        // Empty {};"), and an initialiser after a type ("struct A a{};").
        bool decorated = true;
        for (std::size_t w = 0; w + 1 < words.size(); ++w) {
            const std::string& word = read[words[w + 1] - 1].token;
            decorated = decorated && isMacroLikeWord(word) && word.find('_') != std::string::npos;
        }
        constexpr std::size_t kLongestInitializer = 256;
        bool initializer = false;
        int depth = 1;
        for (std::size_t count = 0; count < kLongestInitializer; ++count) {
            const std::string before = read.back().token;
            const std::string& t = readOne();
            if (t.empty() || t == ";"sv || (isNameToken(t) && isMacroLikeWord(t))) break;
            if (t == ":"sv) {
                std::string next = readOne();
                if (next != ":"sv) break;
                continue;
            }
            if (t == "{"sv) {
                if (before != "{"sv && before != ","sv) break;
                ++depth;
                continue;
            }
            if (t == "}"sv) {
                if (--depth > 0) continue;
                const std::string& after = before == "{"sv && decorated ? std::string() : readOne();
                initializer = after == ";"sv || after == ","sv;
                break;
            }
        }
        if (initializer) {
            initializerBracesAhead = true;
            giveBack(1, read.size());
            return;
        }
    }
    if (!ends || words.size() < 2) {
        giveBack(1, read.size());
        return;
    }
    // The last word that is not spelt like a macro (capitals with an "_":
    // a short capital name such as IO or A is a name), or the last word
    // when all are.
    auto macroSpelt = [](const std::string& word) {
        return isMacroLikeWord(word) && word.find('_') != std::string::npos;
    };
    std::size_t chosen = words.size() - 1;
    for (std::size_t w = words.size(); w-- > 0;)
        if (!macroSpelt(read[(w + 1 < words.size() ? words[w + 1] : end) - 1].token)) {
            chosen = w;
            break;
        }
    for (std::size_t i = 0; i < words[chosen]; ++i) statement.push_back(read[i].token);
    const std::size_t nameEnd = chosen + 1 < words.size() ? words[chosen + 1] : end;
    // The macro words between the name and what ends the head go.
    giveBack(end, read.size());
    giveBack(words[chosen] + 1, nameEnd);
    name = std::move(read[words[chosen]].token);
}

bool CppFile::readClassHead(DocGenCppClass& cls, const std::string& keyword, CppClass* enclosing,
                            bool& skipped, bool typedefHead) {
    declaredWithoutBody = false;
    std::string name = language == CSharp ? tokenWith('.') : token();
    if (keyword == "record"sv && (name == "struct"sv || name == "class"sv)) name = tokenWith('.');
    if (name.empty()) fail("End-of-file in class ", line);

    if (!settings.noDocumentMarker.empty() && name == settings.noDocumentMarker) {
        skipDeclaration();
        skipped = true;
        return false;
    }
    // In C++ the only-document marker may also stand among the words
    // before the name ("class LIB_EXPORT DOCME Pub"), which are read below.
    bool onlyDocumentPending = false;
    if (!settings.onlyDocumentMarker.empty() && keyword != "namespace"sv && atDocumentedLevel()) {
        if (name == settings.onlyDocumentMarker) {
            name = language == CSharp ? tokenWith('.') : token();
            if (name.empty()) fail("End-of-file in class ", line);
        } else if (language == Cpp && (isNameToken(name) || name == "["sv)) {
            onlyDocumentPending = true;
        } else {
            unread(std::move(name));
            skipDeclaration();
            skipped = true;
            return false;
        }
    }

    if (name == "{"sv) return readAnonymousHead(cls, keyword, enclosing, typedefHead, skipped);

    // C++ heads may carry export macros, attributes and declspecs before
    // the name: class DLL_API Foo, struct [[nodiscard]] R.
    if (language == Cpp) {
        const std::size_t decorationsBegin = statement.size();
        for (;;) {
            if (name == "["sv) {
                int depth = 1;
                while (depth > 0) {
                    std::string t = token();
                    if (t.empty()) fail("End-of-file in class ", line);
                    if (t == "["sv) ++depth;
                    else if (t == "]"sv) --depth;
                }
                name = token();
                continue;
            }
            std::string next = token();
            if (next == "("sv && isNameToken(name)) {
                skipParens("class head");
                std::string after = token();
                if ((after == "{"sv || after == ":"sv) && name != "alignas"sv &&
                    name.rfind("__", 0) != 0) {
                    // "struct NAME(args) {": the call makes the name,
                    // which is known by the macro's.
                    unread(std::move(after));
                    break;
                }
                name = std::move(after);
                continue;
            }
            // Only a word after the first can make it a decoration.
            const bool words = isNameToken(name) && isNameToken(next) && next != "final"sv;
            unread(std::move(next));
            if (words) readHeadDecorations(name, keyword);
            break;
        }
        // The document markers among the decorations, which went to the
        // statement: "class LIB_EXPORT NODOC Secret".
        auto carries = [&](const std::string& marker) {
            return !marker.empty() &&
                   std::find(statement.begin() + static_cast<std::ptrdiff_t>(decorationsBegin), statement.end(),
                             marker) != statement.end();
        };
        if (carries(settings.noDocumentMarker) || (onlyDocumentPending && !carries(settings.onlyDocumentMarker))) {
            unread(std::move(name));
            skipDeclaration();
            skipped = true;
            return false;
        }
        // "struct __attribute__((packed)) {": attributes before a body
        // without a name.
        if (name == "{"sv) return readAnonymousHead(cls, keyword, enclosing, typedefHead, skipped);
    }
    if (!isNameToken(name)) {
        unread(std::move(name));
        return false;
    }
    statement.push_back(name);

    // A qualified C++ name (A::B) names B within A.
    if (!javaLikeRules()) {
        std::string qualifier;
        for (;;) {
            std::string colon = token();
            if (colon != ":"sv) {
                unread(std::move(colon));
                break;
            }
            // The comment before the ":" goes back with it.
            Lookahead first = taken(std::move(colon));
            std::string second = token();
            if (second != ":"sv) {
                unread(std::move(second));
                lookahead.push_back(std::move(first));
                break;
            }
            std::string part = token();
            if (!isNameToken(part)) {
                // "struct S : ::Base": the colons begin the base list.
                unread(std::move(part));
                unread(std::move(second));
                lookahead.push_back(std::move(first));
                break;
            }
            qualifier += qualifier.empty() ? name : "::" + name;
            name = std::move(part);
        }
        if (!qualifier.empty()) {
            cls.setText(qualifier);
            name = qualifier + "::" + name;
        }
    }

    // Template or generic parameters after the name are not part of it,
    // but for C#, where the number of them tells types of one name apart:
    // "Box" and "Box<T>" are two classes.
    // So are C++'s, where arguments after the name make the class a
    // specialisation of the template of that name ("Utf<8>", "Foo<T*>"),
    // a class of its own.
    std::string typeParameters;
    // The C++ template heads before the class keyword; the class's own is
    // the last.
    const std::vector<TemplateHead> heads =
        language == Cpp ? leadingTemplateHeads(statement) : std::vector<TemplateHead>();
    std::string tok = token();
    if (tok == "<"sv) {
        // The C++ arguments read last, "<" to ">"; empty when none were.
        Tokens list;
        auto readList = [&]() {
            list.assign(1, "<");
            skipTemplateArguments(&list);
            if (list.size() < 2 || list.back() != ">"sv) list.clear();
        };
        if (language == CSharp) {
            skipTemplateArguments(&list);
            typeParameters = typeParameterNames(list);
            list.clear();
        } else if (language == Cpp) {
            readList();
        } else {
            skipTemplateArguments(nullptr);
        }
        TemplateHeadMatch headsOfParts(heads);
        tok = token();
        // A member class defined outside its class (Outer<T>::Inner, or
        // Outer<int>::Inner of a specialisation): the last part names the
        // class.
        while (tok == ":"sv && !javaLikeRules()) {
            std::string second = token();
            std::string part = second == ":"sv ? token() : std::string();
            if (!isNameToken(part)) {
                if (!part.empty()) unread(std::move(part));
                unread(std::move(second));
                break;
            }
            if (!list.empty() && headsOfParts.namesSpecialisation(list, 0, list.size() - 1))
                name += templateArgumentText(list, 0, list.size() - 1);
            list.clear();
            cls.setText(name);
            name += "::" + part;
            tok = token();
            if (tok == "<"sv) {
                if (language == Cpp) readList();
                else skipTemplateArguments(nullptr);
                tok = token();
            }
        }
        if (!list.empty()) typeParameters = templateArgumentText(list, 0, list.size() - 1);
    }

    // A record's components, or a C# class's primary constructor: the
    // constructor they declare is documented with the type.
    primaryParameters.clear();
    hasPrimaryConstructor = false;
    if (tok == "("sv && javaLikeRules()) {
        hasPrimaryConstructor = true;
        Tokens parameter;
        int depth = 0;
        for (;;) {
            tok = token();
            if (tok.empty()) fail("End-of-file in class " + name, line);
            if (depth == 0 && (tok == ","sv || tok == ")"sv)) {
                if (!parameter.empty()) primaryParameters.push_back(joinTokens(parameter));
                parameter.clear();
                if (tok == ")"sv) break;
                continue;
            }
            if (tok == "("sv || tok == "["sv || tok == "<"sv) ++depth;
            else if ((tok == ")"sv || tok == "]"sv || tok == ">"sv) && depth > 0) --depth;
            parameter.push_back(std::move(tok));
        }
        tok = token();
    }

    if (heads.size() == 1 && heads[0].readable && !heads[0].parameters.empty() &&
        std::none_of(heads[0].parameters.begin(), heads[0].parameters.end(),
                     [](const std::string& p) { return p.empty(); })) {
        const std::size_t colons = name.rfind("::");
        classTemplateHeads.emplace(colons == std::string::npos ? name : name.substr(colons + 2),
                                   ClassTemplateHead{heads[0].parameters, typeParameters});
    }
    cls.setName(name + typeParameters);
    cls.setKind(keyword);
    for (;;) {
        if (tok.empty()) fail("End-of-file in class " + name, line);
        if (tok == "{"sv) {
            takeHeadComment(cls);
            initializerBracesAhead = false;
            return true;
        }
        if (tok == ";"sv && (hasPrimaryConstructor || language == CSharp)) {
            // "record Point(int X, int Y);" is the whole type, and so is
            // "class Empty;" in C#, which has no forward declarations.
            declaredWithoutBody = true;
            return false;
        }
        if (tok == baseListKeyword() || tok == "implements"sv) {
            takeHeadComment(cls);
            return readBaseList(cls, tok);
        }
        if (tok == "final"sv || tok == "sealed"sv) {
            tok = token();
            continue;
        }
        if (language == Cpp && isMacroLikeWord(tok)) {
            // A macro between the name and the body or base list
            // ("class Op HANDLER_BASE {") adds nothing to either.
            std::string next = token();
            if (next == "{"sv || next == ":"sv) {
                tok = std::move(next);
                continue;
            }
            unread(std::move(next));
        }
        if ((tok == "where"sv && language == CSharp) || (tok == "permits"sv && language == Java))
            return readBaseList(cls, tok);
        // Anything else (";", a declarator, "=") makes this a declaration
        // that uses the type, not a class definition.
        unread(std::move(tok));
        return false;
    }
}

bool CppFile::readAnonymousHead(DocGenCppClass& cls, const std::string& keyword, CppClass* enclosing,
                                bool typedefHead, bool& skipped) {
    if (keyword == "namespace"sv) {
        if (settings.includeAnonymous) return nameAnonymous(cls, keyword, enclosing);
        // Nothing is declared after a namespace body: the next
        // declaration starts after its "}".
        skipBraces("anonymous namespace");
        skipped = true;
        return false;
    }
    // Deep inside other bodies the body is not looked past, so that no
    // token is read ahead more than a few times however deep the nesting.
    BodyDeclarators after;
    if ((typedefHead || !settings.includeAnonymous) && scopes.size() < kLookPastDepth) after = lookPastBody();
    if (typedefHead && !after.name.empty()) {
        // "typedef struct { ... } state_t;": the type is state_t.
        cls.setName(after.name);
        cls.setKind(keyword);
        return true;
    }
    if (!settings.includeAnonymous && after.known && !typedefHead) {
        if (!after.any) {
            // "union { int i; float f; };": its members are those of the
            // scope around it.
            Scope scope;
            scope.membersOf = enclosing;
            if (enclosing) scope.firstMember = enclosing->getMembers().size();
            scopes.push_back(std::move(scope));
            skipped = true;
            return false;
        }
        // "union { int i; float f; } value;": a type of its own, which
        // holds the members, and value a variable of it.
        return nameAnonymous(cls, keyword, enclosing);
    }
    if (!settings.includeAnonymous) {
        skipBraces("anonymous " + keyword);
        statement.push_back("{...}");
        return false;
    }
    return nameAnonymous(cls, keyword, enclosing);
}

bool CppFile::nameAnonymous(DocGenCppClass& cls, const std::string& keyword, CppClass* enclosing) {
    CppClass* holder = enclosing ? enclosing : globalsClass();
    auto* docHolder = dynamic_cast<DocGenCppClass*>(holder);
    cls.setName(docHolder ? anonymousName(*docHolder, keyword) : "anonymous_" + keyword + "_1");
    cls.setKind(keyword);
    anonymousHead = true;
    return true;
}

CppFile::BodyDeclarators CppFile::lookPastBody() {
    // A body longer than this is not looked past: what follows it is
    // taken as unknown.
    constexpr std::size_t kLongestBody = 16384;
    constexpr std::size_t kLongestDeclarators = 64;
    BodyDeclarators result;
    std::vector<Lookahead> read;
    int depth = 1;
    while (depth > 0 && read.size() < kLongestBody) {
        const std::string& t = readAhead(read);
        if (t.empty()) break;
        if (t == "{"sv) ++depth;
        else if (t == "}"sv) --depth;
    }
    Tokens declarator;
    int inner = 0;
    for (std::size_t count = 0; depth == 0 && count < kLongestDeclarators; ++count) {
        const std::string& t = readAhead(read);
        if (t.empty()) break;
        if (inner == 0 && (t == ";"sv || t == ","sv)) {
            // Attributes may stand before the name: "} __attribute__((packed)) hdr_t;".
            std::size_t first = 0;
            while (first + 1 < declarator.size() && declarator[first + 1] == "("sv &&
                   (declarator[first] == "__attribute__"sv || declarator[first] == "__declspec"sv ||
                    declarator[first] == "alignas"sv)) {
                int parens = 0;
                std::size_t k = first + 1;
                for (; k < declarator.size(); ++k) {
                    if (declarator[k] == "("sv) ++parens;
                    else if (declarator[k] == ")"sv && --parens == 0) break;
                }
                first = k + 1;
            }
            result.any = result.any || !declarator.empty();
            if (result.name.empty() && first + 1 == declarator.size() && isNameToken(declarator[first]) &&
                !isNeverName(declarator[first]))
                result.name = declarator[first];
            declarator.clear();
            if (t == ";"sv) {
                result.known = true;
                break;
            }
            continue;
        }
        if (t == "("sv || t == "["sv || t == "{"sv) ++inner;
        else if ((t == ")"sv || t == "]"sv || t == "}"sv) && inner > 0) --inner;
        declarator.push_back(t);
    }
    giveBack(read, 0, read.size());
    return result;
}

void CppFile::takeHeadComment(DocGenCppClass& cls) {
    if (lastHasComment && !lastComment.empty()) cls.setComment(cls.getComment() + lastComment);
}

std::string CppFile::baseNamePart(char extra) {
    std::string part = tokenWith(extra);
    if (extra != ':') return part;
    for (;;) {
        // The last part of a qualified name, when it is "template" (a
        // member template of a dependent type: F::template apply<T>) or a
        // macro-like word (an access or "template" macro), gives way to
        // the name after it.
        const std::size_t colons = part.rfind("::");
        const std::size_t last = colons == std::string::npos ? 0 : colons + 2;
        const std::string_view tail = std::string_view(part).substr(last);
        if (tail != "template"sv && !isMacroLikeWord(std::string(tail))) return part;
        std::string next = tokenWith(extra);
        if (!isNameToken(next)) {
            unread(std::move(next));
            return part;
        }
        part.replace(last, std::string::npos, next);
    }
}

bool CppFile::readBaseList(DocGenCppClass& cls, std::string keyword) {
    bool isInterface = keyword == "implements"sv;
    const char extra = language == Cpp && !settings.mixCppCsharp ? ':' : '.';
    bool constraints = keyword == "where"sv || keyword == "permits"sv;
    bool afterComma = false;
    for (;;) {
        if (constraints) {
            // C# generic constraints, or the classes a sealed Java class
            // admits, up to the body.
            int depth = 0;
            for (;;) {
                std::string t = token();
                if (t.empty()) fail("End-of-file in class " + cls.getName(), line);
                if (t == "("sv) ++depth;
                else if (t == ")"sv && depth > 0) --depth;
                else if (depth == 0 && t == "{"sv) return true;
                else if (depth == 0 && t == ";"sv) {
                    declaredWithoutBody = language == CSharp;
                    unread(std::move(t));
                    return false;
                }
            }
        }
        std::string base = baseNamePart(extra);
        for (;;) {
            // "public ::Base" is read as one word, the access word before
            // the "::" of a global name: that word is no scope.
            const std::size_t colons = base.find("::");
            const std::string_view lead = std::string_view(base).substr(0, colons);
            if (lead != "public"sv && lead != "private"sv && lead != "protected"sv && lead != "virtual"sv) break;
            if (colons == std::string::npos) base = baseNamePart(extra);
            else base.erase(0, colons);
        }
        if (base.empty()) fail("End-of-file in class " + cls.getName(), line);
        if (base == "{"sv && afterComma) {
            // A list left ending in "," where conditional code chose no
            // last base.
            takeHeadComment(cls);
            return true;
        }
        if (base == ":"sv && extra == ':') {
            // "::Name", a name in the global scope.
            std::string second = token();
            std::string rest = second == ":"sv ? tokenWith(extra) : std::string();
            if (!isNameToken(rest)) {
                warnLine(line);
                return false;
            }
            base = "::" + rest;
        }
        if (!isNameToken(base) && base.rfind("::", 0) != 0) {
            warnLine(line);
            unread(std::move(base));
            return false;
        }
        if (javaLikeRules()) {
            std::size_t at;
            while ((at = base.find("::")) != std::string::npos) base.replace(at, 2, ".");
        }
        // The base as written, its type arguments kept, for the pages.
        std::string written = base;
        std::string tok = token();
        for (;;) {
            if (tok == "<"sv && language == CSharp) {
                // A C# base keeps the number of its type arguments, which
                // tells which of the generic types of its name it is.
                Tokens arguments;
                skipTemplateArguments(&arguments);
                base += argumentCountMark(arguments);
                // A list that the body cut short is no text to show.
                if (!arguments.empty() && arguments.back() == ">"sv) {
                    written += '<';
                    appendJoinedTokens(written, arguments, 0, arguments.size());
                }
                tok = token();
            } else if (tok == "<"sv && language == Cpp) {
                // A C++ base keeps its arguments, which may name a
                // specialisation ("Utf<8>") rather than the template.
                Tokens arguments{"<"};
                skipTemplateArguments(&arguments);
                if (arguments.size() >= 2 && arguments.back() == ">"sv) {
                    const std::string text = templateArgumentText(arguments, 0, arguments.size() - 1);
                    base += text;
                    written += text;
                }
                tok = token();
            } else if (tok == "<"sv) {
                Tokens arguments;
                skipTemplateArguments(&arguments);
                if (!arguments.empty() && arguments.back() == ">"sv) {
                    written += '<';
                    appendJoinedTokens(written, arguments, 0, arguments.size());
                }
                tok = token();
            }
            // A base named by a call (a macro, decltype): no name is
            // followed by "(" otherwise, so the arguments go like those of
            // a template.
            if (tok == "("sv && !javaLikeRules()) {
                skipParens("base");
                tok = token();
                continue;
            }
            // A base named through a member of a template
            // (Outer<A, B>::type, Outer<A>.Inner): the name goes on.
            if (tok == "."sv && extra == '.') {
                std::string part = tokenWith(extra);
                if (!isNameToken(part)) {
                    unread(std::move(part));
                    break;
                }
                base += "." + part;
                written += "." + part;
                tok = token();
                continue;
            }
            if (tok == ":"sv && extra == ':') {
                std::string second = token();
                if (second != ":"sv) {
                    unread(std::move(second));
                    break;
                }
                std::string part = baseNamePart(extra);
                if (!isNameToken(part)) {
                    unread(std::move(part));
                    break;
                }
                base += "::" + part;
                written += "::" + part;
                tok = token();
                continue;
            }
            break;
        }
        // The arguments of a primary constructor's base (C#: ": Base(x)").
        if (tok == "("sv && javaLikeRules()) {
            skipParens("base arguments");
            tok = token();
        }
        if (extra == ':') {
            // A pack expansion: every type of a parameter pack is a base.
            while (tok == "."sv) tok = token();
            // A macro after the last base ("Base<T> EXTRA_BASES {").
            if (isMacroLikeWord(tok)) {
                std::string next = token();
                if (next == "{"sv || next == ","sv) tok = std::move(next);
                else unread(std::move(next));
            }
        }
        cls.addBase(base, isInterface);
        cls.setWrittenBase(base, written);
        afterComma = tok == ","sv;
        if (afterComma) continue;
        if (tok == "{"sv) {
            takeHeadComment(cls);
            initializerBracesAhead = false;
            return true;
        }
        if (tok == "extends"sv || tok == "implements"sv) {
            isInterface = tok == "implements"sv;
            continue;
        }
        if (tok == "where"sv && language == CSharp) {
            constraints = true;
            continue;
        }
        if (tok == "permits"sv && language == Java) {
            // The classes a sealed class admits are not its bases.
            constraints = true;
            continue;
        }
        if (tok.empty()) fail("End-of-file in class " + cls.getName(), line);
        if (tok != ";"sv) warnLine(line);
        // "sealed class SystemClock : Clock;": a C# type without a body.
        else declaredWithoutBody = language == CSharp;
        unread(std::move(tok));
        return false;
    }
}

void CppFile::readTypedefNames(const std::string& typeText, const std::string& comment,
                               const std::string& ownName) {
    Tokens declarator;
    int depth = 0;
    auto finish = [&]() {
        std::size_t nameAt = declarator.size();
        for (std::size_t i = declarator.size(); i-- > 0;)
            if (isNameToken(declarator[i]) && !isNeverName(declarator[i])) {
                nameAt = i;
                break;
            }
        // "typedef struct { ... } state_t;" names the type itself (after
        // attributes, perhaps), "*state_p" a pointer to it.
        const bool typeItself =
            nameAt + 1 == declarator.size() && declarator[nameAt] == ownName &&
            std::none_of(declarator.begin(), declarator.begin() + static_cast<std::ptrdiff_t>(nameAt),
                         [](const std::string& t) { return t == "*"sv || t == "&"sv || t == "&&"sv; });
        if (nameAt < declarator.size() && !typeItself) {
            std::string prefix = joinTokens(declarator, 0, nameAt);
            addTypedefClass(declarator[nameAt],
                            "typedef " + typeText + " " + prefix + declarator[nameAt] + ";",
                            comment);
        }
        declarator.clear();
    };
    for (;;) {
        std::string tok = token();
        if (tok.empty()) fail("Unexpected end-of-file when parsing typedef", line);
        if (depth == 0 && (tok == ";"sv || tok == ","sv)) {
            finish();
            if (tok == ";"sv) return;
            continue;
        }
        if (tok == "("sv || tok == "["sv) ++depth;
        else if ((tok == ")"sv || tok == "]"sv) && depth > 0) --depth;
        declarator.push_back(std::move(tok));
    }
}

void CppFile::addTypedefClass(const std::string& name, const std::string& declaration,
                              const std::string& comment) {
    CppClass* enclosing = enclosingClass();
    auto* cls = new DocGenCppClass(enclosing, DocOptions(), language, false, false);
    if (enclosing) {
        cls->setText(enclosing->getName());
        cls->setName(enclosing->getName() + (javaLikeRules() ? "." : "::") + name);
    } else {
        cls->setName(name);
    }
    cls->setKind("typedef");
    cls->setComment(comment);
    cls->addMember(name, declaration, "public", "", false, sourceFileName, {},
                   new DocGenCppClassMember(cls), javaLikeRules());
    registerClass(cls);
}
