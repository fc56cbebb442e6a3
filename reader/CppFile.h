// The parser of one source file of C++, C# or Java.
//
// parse() preprocesses the file into a temporary file, reads it token by
// token and registers what it declares in the run's class list: packages
// and namespaces, classes with their bases, nested and anonymous types,
// members, enums with their enumerators, typedefs and the globals record
// of the package, each with the documentation comment written above it.
//
// The parser reads declarations heuristically, not as a compiler would.
// Whatever the input, it ends: every loop consumes input, nothing recurses
// on the input's nesting, and the work is linear in the size of the file.
// A declaration it cannot read gives the warning "Could not understand line
// <n> (<file>)." through the error callback and parsing goes on; the end
// of the file inside an open construct throws VelkFileError (the token
// layer's texts, " on line <n>" and the file name), which ends the file.
//
// CppFile is itself a CppStream: the token reader and the comment reader
// take their characters from it.
#pragma once

#include <array>
#include <istream>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/CppClassMember.h"
#include "model/CppStream.h"
#include "modules/ModuleInterface.h"
#include "reader/DocCommentFormat.h"
#include "reader/ParserDeclarator.h"
#include "reader/ParserInput.h"
#include "reader/ParserSettings.h"
#include "reader/TemplateHeads.h"

class ClassList;
class CppClass;
class CppClassEntity;
class DocGenCppClass;
class MacroDefinition;
class PreprocessorDefines;

class CppFile : public CppStream {
public:
    // Language values, as the keyword tables number them.
    enum Language { Cpp = 0, CSharp = 1, Java = 2 };

    // The language is the map's value for the file's extension (the text
    // after the last ".", in lower case), C++ when the map has none or the
    // name has no extension. The package starts as the project name
    // ("(default)" when empty) under C++ rules and empty under the rules of
    // C# and Java, which take it from the source. settings and
    // extensionLanguages may be null (defaults, everything C++); both, and
    // defines, must outlive the parser. Callbacks may be null.
    CppFile(const std::string& fileName, const std::string& projectName, ModuleStatusFn status,
            ModuleErrorFn error, void* context, const PreprocessorDefines& defines,
            DocCommentFormat format, const ParserSettings* settings,
            const std::map<std::string, int>* extensionLanguages);
    ~CppFile() override;

    CppFile(const CppFile&) = delete;
    CppFile& operator=(const CppFile&) = delete;

    // Reads this stream instead of the preprocessed file: parse() then does
    // not preprocess. Not owned; must outlive parse().
    void setOutsideStream(std::istream* input) { outside = input; }

    // Parses the file once. Comment lines are joined with "<BR>\n" when
    // lineBreaks is set, with "\n" otherwise. defineTable (may be null)
    // receives the file's #define records from the preprocessor; packages
    // (may be null) receives every package the file declared, marked seen:
    // under C#'s rules every namespace in which it declares a class or a
    // global, or, when it declares none, the first namespace it opens.
    // A file whose first line is "/**NODOCUMENT**/" contributes nothing.
    // Throws VelkError/VelkFileError when the file cannot be read,
    // preprocessed or parsed to its end.
    void parse(ClassList& classList, bool lineBreaks,
               std::map<std::string, MacroDefinition>* defineTable,
               std::map<std::string, bool>* packages);

    // Reads and preprocesses the file as parse() would, without parsing
    // and without any callback, so that it can run on another thread while
    // earlier files are parsed. Never throws: an error is kept in the
    // result.
    PreprocessedSource preprocessAhead() const;
    // parse() then takes the file from `source`, made by preprocessAhead of
    // a parser of the same file, project and settings, instead of reading
    // it: the define records, the error and the text are those that
    // reading it then would have given.
    void usePreprocessed(PreprocessedSource source);

    // CppStream: the outside stream when set, else the preprocessed file.
    int get() override;
    void putBack(int c) override;
    int peek() override;
    bool eof() override;
    std::string getFileName() override { return fileName; }
    // The rest of the current line (any length), without its line feed.
    std::string getLine() override;

    int getLanguage() const { return language; }
    const std::string& getPackage() const { return package; }

    // Hands "Could not understand line <n> (<file>)." to the error callback.
    void warnLine(int line);

    // The project path + "/" + the file's base name, or the base name
    // alone without a project (sourceNameOf).
    std::string sourceName() const;

    // True under the rules of C# and Java: a C# or Java file, or any file
    // with the mix-cpp-csharp setting.
    bool javaLikeRules() const;

    // "class", "struct", "union"; "namespace" unless namespaces are read as
    // global; "interface" in C# and Java.
    bool isClassWord(const std::string& word) const;
    // "extends" in Java, ":" elsewhere.
    std::string baseListKeyword() const;
    // True when the statement so far holds nothing but modifiers of the
    // file's language (and, in C++, template lists, and macro-like words,
    // alignas, __declspec and __attribute__ with their argument lists).
    bool onlyModifiers(const Tokens& statement) const;
    static bool isCSharpModifier(const std::string& word);

    // Counts one more anonymous type of the keyword in holder and returns
    // "anonymous_" + keyword + "_" + the count.
    static std::string anonymousName(DocGenCppClass& holder, const std::string& keyword);

private:
    // Deepest nesting of classes and namespaces whose contents are still
    // documented: names grow with the depth, so beyond any real nesting a
    // body is skipped and the work stays linear in the input.
    static constexpr std::size_t kMaxNesting = 256;

    // A Java record's canonical constructor, declared by its components.
    struct CanonicalConstructor {
        std::string name;
        std::string declaration;
        std::vector<std::string> parameters;
    };
    // One open brace of the declaration loop.
    struct Scope {
        enum Kind { Class, Transparent, Namespace } kind = Transparent;
        CppClass* cls = nullptr;   // Class: the registered class
        std::string keyword;       // Class: the word that opened it
        std::string access;        // Class, C++: the current access word
        bool typedefOpened = false;
        std::string ownName;       // Class opened by typedef: its name alone
        // Class: a type without a name of its own; the declarators after
        // its "}" share its comment.
        bool anonymous = false;
        // Class, a Java record: its canonical constructor.
        std::unique_ptr<CanonicalConstructor> canonical;
        std::string savedPackage;  // Namespace (C#): the package outside it
        // Transparent, a type without a name whose members are those of the
        // enclosing class: that class, and how many members it held before.
        CppClass* membersOf = nullptr;
        std::size_t firstMember = 0;
    };

    // Gives the innermost open class the access word of a label
    // ("public:", "public Q_SLOTS:"); nothing when no class is open.
    void setInnermostClassAccess(const std::string& word);

    // A documentation comment read ahead of the parse, with the line it
    // began on and whether it is marked as one on the code before it.
    struct AheadComment {
        std::string text;
        int line = 0;
        bool trails = false;
    };
    // A token read ahead and given back, with the comment before it: as
    // taken when it was read and given back (hasComment, comment,
    // commentTrails), or, read ahead, the comments as read, which are
    // placed only when the parse reaches the token (settleComment).
    struct Lookahead {
        std::string token;
        bool hasComment = false;
        std::string comment;
        bool commentTrails = false;
        int line = 0;  // the line the token ended on
        std::vector<AheadComment> ahead;
    };

    // --- token input (CppFile.cpp) ---
    // The next token, "" at the end. Documentation comments are collected
    // on the way: lastHasComment/lastComment tell whether one stood right
    // before the token returned, lastCommentTrails (set with it) that it
    // was marked as one on a declaration still being read (takeDocComment).
    std::string token();
    // The token given back last, with the comment before it (the comments
    // read ahead before it are settled now). Apart from
    // token(), whose every call reads past it, so that the reading of
    // fresh tokens stays short.
    [[gnu::noinline]] std::string takeLookahead();
    // One token from the input (readToken's rules), comments not looked at.
    [[gnu::always_inline]] inline std::string readNextToken();
    // The next token read with "." (or another character) inside names.
    std::string tokenWith(char extra);
    // True when the byte at p (before limit) is a name character beyond
    // ASCII (unicodeNames). The first tests inline: the end of every word
    // asks them.
    bool nameByteAt(const char* p) const {
        return unicodeNames && static_cast<unsigned char>(*p) >= 0x80 && notBlankAt(p);
    }
    // True when no blank beyond ASCII begins at p.
    bool notBlankAt(const char* p) const;
    void unread(std::string tok);
    // The token just taken with the comment taken before it, to be given
    // back as it came.
    Lookahead taken(std::string tok) const {
        return Lookahead{std::move(tok), lastHasComment, lastComment, lastCommentTrails, tokenLine, {}};
    }
    // Reads the next token into read, with the comments before it left
    // unplaced, so that they go where the parse finds them when it reaches
    // the token; returns it (valid until the next read). Touches neither
    // the comment before the token taken last nor its line.
    const std::string& readAhead(std::vector<Lookahead>& read);
    // Gives back read[from, to): read[from] is the next token read.
    void giveBack(std::vector<Lookahead>& read, std::size_t from, std::size_t to);
    bool readDocCommentAfterSlash();
    // Reads the rest of a documentation comment whose start was consumed;
    // *trails tells a comment marked as one on the code before it.
    std::string readComment(const std::string& start, const std::string& middle,
                            const std::string& end, bool* trails);
    // A comment just read, which began on line atLine: kept with the token
    // after it while reading ahead, placed at once otherwise.
    [[gnu::always_inline]] void noteComment(std::string&& text, bool trails, int atLine) {
        if (readingAhead) aheadComments.push_back(AheadComment{std::move(text), atLine, trails});
        else settleComment(std::move(text), trails, atLine);
    }
    // Places a comment as the parse stands at the token after it: one
    // marked as one on the code before it ("///<"), that began on the line
    // on which the declaration noted last ended while no declaration is
    // being read, is added to that declaration (attachTrailingComment);
    // any other is the one before the token (takeDocComment).
    void settleComment(std::string&& text, bool trails, int atLine) {
        if (!trails || !attachTrailingComment(text, atLine)) takeDocComment(std::move(text), trails);
    }
    bool attachTrailingComment(const std::string& text, int atLine);
    // Any other comment just read is the one before the next token. A
    // marked one goes with it as such when a declaration is being read, to
    // be added to that declaration's comment; otherwise, with nothing
    // before it to document, it is read as one before the next token.
    void takeDocComment(std::string&& text, bool trails) {
        lastComment = std::move(text);
        lastHasComment = true;
        lastCommentTrails = trails && declarationOpen();
    }
    // The comment before the token just read becomes the pending comment,
    // or is added to it when marked as one on the declaration being read.
    void takePendingComment() {
        if (lastCommentTrails) pendingComment += lastComment;
        else pendingComment = lastComment;
    }
    // A declaration registered (or, for a class, closed) with the token
    // taken last: a marked comment after it on that token's line documents
    // it. A declaration of several members ("int a, b;") notes the first
    // and then each further one as noted too.
    void noteDeclared(CppClass* cls);
    // Inline: every member registered is noted.
    void noteDeclared(CppClassMember* member, bool alsoNoted = false) {
        if (alsoNoted && trailTarget.entity) {
            if (member) furtherTrailTargets.push_back(TrailTarget{member, true});
        } else {
            trailTarget = TrailTarget{member, true};
            if (!furtherTrailTargets.empty()) furtherTrailTargets.clear();
        }
        trailLine = tokenLine;
        ++notes;
    }
    // The members that a type without a name, whose members are the
    // enclosing class's, added to cls from position `first` on (the type
    // just closed): a marked comment after it documents them.
    void noteMembersFrom(const CppClass& cls, std::size_t first);
    bool declarationOpen() const { return !(openDeclaration ? *openDeclaration : statement).empty(); }
    [[noreturn]] void fail(const std::string& message, int atLine);
    // Skips tokens through the "}" that closes an opened "{".
    void skipBraces(const std::string& description);
    // After a "(" was read: skips through its ")".
    void skipParens(const std::string& description);
    // Skips tokens through endToken at depth 0 of () [] {}.
    void skipTo(const std::string& endToken, const std::string& description);

    // --- declaration loop (CppFile.cpp) ---
    void openInput(std::map<std::string, MacroDefinition>* defineTable);
    void run();
    void dispatch(std::string&& tok);
    void endStatement();
    // True when the "{" after the statement so far opens an initialiser
    // ("int a[] = {"), not a body.
    bool bracesOpenInitializer();
    // True when a "{" after the statement initialises its last declarator
    // ("A a{1}, b{2};" in C++), rather than opening a body.
    bool bracesCloseDeclarator() const;
    void closeBrace();
    void readTemplate();
    // After the "<" of a template or generic argument list: reads through
    // the ">" that closes it (keep, when given, receives every token read).
    // A "<" right after ")" compares. A "{" or ";" outside parentheses,
    // which no argument list holds, ends a list left open (a comparison
    // taken for an opener): it is given back and the list counts as closed.
    void skipTemplateArguments(Tokens* keep);
    void readCSharpNamespace();
    // After "using" in C++: an alias declaration ("using Key = int;",
    // also after a template head) registers as a typedef of that name;
    // a using-declaration in a class is a member (readUsingDeclaration);
    // anything else is skipped through its ";".
    void readUsing();
    // A using-declaration in a class ("using Base::count;") is a member of
    // the class, named by its last name, with the declaration as written.
    void readUsingDeclaration(CppClass& owner);
    void readImportOrPackage(const std::string& word);
    void readInitializerList();
    void readBraceInitializer();
    void skipAnnotation();
    std::string currentAccess();
    CppClass* enclosingClass() const;
    bool atDocumentedLevel() const;
    // The globals record of the current package (entering the package in
    // the file's set, where namespaces are packages).
    CppClass* globalsClass();
    void addPackage(const std::string& name);
    // True where a C# namespace names the package (C#, and C++ read with
    // C#'s rules): a package enters the file's set when a class or global
    // is declared in it.
    bool namespacesArePackages() const;
    void reportStatus(const std::string& text);

    // --- class heads (CppFileClassHead.cpp) ---
    void classPath(const std::string& keyword);
    // Reads a class head after its keyword. Returns true when a body
    // follows (the class is named and ready to register). typedefHead:
    // the head follows "typedef", so a body without a name is known by
    // the typedef's name.
    bool readClassHead(DocGenCppClass& cls, const std::string& keyword,
                       CppClass* enclosing, bool& skipped, bool typedefHead = false);
    // After the "{" of a class head without a name. Returns true when the
    // body is read as a class (named by the typedef, or as an anonymous
    // type); otherwise the body was skipped (statement gets "{...}"), or
    // its members are read as the enclosing scope's (skipped set).
    bool readAnonymousHead(DocGenCppClass& cls, const std::string& keyword, CppClass* enclosing,
                           bool typedefHead, bool& skipped);
    // What stands between the "}" of the body whose "{" was just read and
    // the ";" after it. Every token read is given back.
    struct BodyDeclarators {
        bool known = false;  // the body and its declarators were read to the ";"
        bool any = false;    // a declarator stands there
        std::string name;    // the first declarator that is a name alone
    };
    BodyDeclarators lookPastBody();
    // Names a class without a name "anonymous_" + keyword + "_" + count of
    // its holder (the enclosing class, or the globals); returns true.
    bool nameAnonymous(DocGenCppClass& cls, const std::string& keyword, CppClass* enclosing);
    // After the first word of a C++ class head: when the words that follow
    // it end in "{", ":", "<" or "final", the last of them that is not
    // spelt like a macro, in capitals with an "_" (the last when all are),
    // names the class, the words before
    // it are decorations (export macros, attribute words), which go to the
    // statement, and macro words after it are dropped; name then holds the
    // class name's first token. A "class" head, or one whose words before
    // the last are all macro-like, that ends in ";" declares its last word
    // (the decorations are dropped). Otherwise (";", a declarator, or
    // braces that hold an initialiser and are followed by ";" or ",", as in
    // "struct Point origin{0, 0};") nothing is taken: the words are a type
    // and what it declares.
    void readHeadDecorations(std::string& name, const std::string& keyword);
    bool readBaseList(DocGenCppClass& cls, std::string tok);
    // A documentation comment written between a class name and its "{" or
    // base list (the token just read) is part of the class's comment.
    void takeHeadComment(DocGenCppClass& cls);
    // One name of a C++ base list (tokenWith(extra) otherwise), less a
    // "template" or macro-like word that stands before the name.
    std::string baseNamePart(char extra);
    CppClass* registerClass(DocGenCppClass* cls);
    // A Java record's compact constructor ("public R { ... }", the
    // statement st before its body): documents the record's canonical
    // constructor, with the record's components as its parameters.
    // Returns false, with nothing registered, for any other statement.
    bool readCompactConstructor(const Tokens& st, const std::string& access, const std::string& comment);
    void skipDeclaration();
    // Registers a typedef class for each declarator up to ";", but for
    // the name alone that is ownName (the type itself already bears it).
    void readTypedefNames(const std::string& typeText, const std::string& comment,
                          const std::string& ownName = std::string());
    void addTypedefClass(const std::string& name, const std::string& declaration,
                         const std::string& comment);

    // --- members, enums, typedefs (CppFileMembers.cpp) ---
    // bodyAhead false: the body that follows was read already.
    void readMemberStatement(bool bodyFollows, bool bodyAhead = true);
    // After the "{" of a C# member's body: reads the body through its "}"
    // and returns it, when it is the accessor list of a property, indexer
    // or event, as declared without the accessors' bodies and attributes
    // (" { get; private set; }"); "" for any other body.
    std::string readAccessorList();
    // After the body of a function-try-block: skips its catch handlers.
    void skipHandlers();
    // Reads the member declared by the statement's tokens, which it may
    // rewrite in place.
    std::string readMember(Tokens& statement, CppClass* owner, const std::string& access,
                           const std::string& comment);
    // Reads the variables the tokens declare, one for each declarator;
    // a variable template (template `heads` given) declares exactly one,
    // whatever commas follow, and its declaration shows its own heads.
    void readVariables(const Tokens& tokens, const std::vector<int>& match, std::size_t end,
                       CppClass* owner, const std::string& access, const std::string& comment,
                       const std::vector<std::string>& heads = {},
                       const std::vector<TemplateHead>& headParameters = {});
    bool isNeverName(const std::string& word) const;
    std::size_t splitDeclarator(const Tokens& tokens, const std::vector<int>& match,
                                std::size_t begin, std::size_t end) const;
    // Registers a member of owner (of the class that qualifier names in
    // it, when given); a function is a definition when the statement has a
    // body or qualifier is given, a variable when variableDefinition says so.
    CppClassMember* addMember(CppClass* owner, const std::vector<std::string>& qualifier,
                              const std::string& name, const std::string& declaration,
                              const std::string& access, const std::string& comment,
                              bool hasArguments, const std::vector<std::string>& arguments,
                              bool variableDefinition = false);
    bool readEnum(DocGenCppClass& cls, CppClass* enclosing, bool typedefHead = false);
    void readEnumBody(DocGenCppClass& cls);
    bool readTypedef(DocGenCppClass& cls, CppClass* enclosing, bool& classFollows,
                     std::string& classKeyword);

    // --- framework macros (CppFileMacros.cpp) ---
    bool skipFrameworkMacro(std::string& tok, bool& dropsComment);
    // False for a token skipFrameworkMacro passes at once: every macro,
    // map, "namespace" and "[" it handles begins with one of these. Inline,
    // as the declaration loop asks it of every token.
    static bool mayBeFrameworkMacro(const std::string& tok) {
        if (tok.empty()) return false;
        switch (tok[0]) {
        case 'B': case 'D': case 'E': case '_': case 'n': case '[': return true;
        default: return false;
        }
    }
    bool skipMapBlock(std::string& tok, const std::string& mapName);
    bool skipAttribute(std::string& tok);
    bool skipTransparentNamespace(std::string& tok);
    static void rewriteComMethod(Tokens& statement);
    // At a "{", "}" or ";" (tok) inside the argument list of a macro call
    // that begins the statement (C++): a macro that the preprocessor did
    // not expand and whose arguments hold code or data of their own (a ";"
    // or braces) is read as the code it stands for as far as that can be
    // known: the one argument of a one-argument macro is read as written,
    // a call of several arguments is dropped whole. Returns false, with
    // nothing taken, for a call that closed before tok, and for one whose
    // list does not close within a few hundred tokens.
    bool readUnexpandedMacroCall(const std::string& tok);
    // True when the statement begins with a macro-like word and "(" (C++):
    // tok may stand inside that call's arguments.
    bool inLeadingMacroCall() const;
    // True when the statement is nothing but macro words and calls, the
    // last a call ("Q_OBJECT Q_PROPERTY(int x READ x)").
    bool isMacroCallRun() const;
    // C++: drops the macro calls (macro-spelt words with arguments) that
    // begin a statement when what follows them declares something on its
    // own: a call written without its ";" ("Q_ENUM(Mode)"), or one that
    // decorates the declaration. Returns false when the statement is
    // nothing but such calls at namespace scope and no body follows: a
    // declaration there needs a type, so the calls declare nothing.
    bool dropLeadingMacroCalls(Tokens& statement, const CppClass* owner, bool bodyFollows) const;
    // True when tokens[begin, end) declare something without a word
    // before them: a type and a name, a constructor of the class named
    // ownerName, a destructor, an operator or a type declaration.
    bool declaresOnItsOwn(const Tokens& tokens, std::size_t begin, std::string_view ownerName) const;
    // At a ":" in a C++ class body after the statement so far: true when
    // it ends an access label written with macro words ("public Q_SLOTS:")
    // or a label that is one macro word ("Q_SIGNALS:"), either after macro
    // calls written without their ";". access receives the access word of
    // the label, empty for a macro word alone.
    bool endsMacroLabel(std::string& access) const;
    // True when st is a name and its arguments, with no type before them,
    // in a C++ class whose name it is not: no constructor, so a macro call
    // ("ASSERT_MSG(N > 0, \"size\")") that declares nothing the reader can know.
    bool isCallWithoutType(const Tokens& st, const CppClass* owner) const;
    // True when st, what follows a template head, is nothing but macro
    // words and calls ending with a call, none a constructor of owner:
    // "template<class... Ts> ALIAS(all_, check<Ts...>);" declares nothing
    // that can be known (C++).
    bool isMacroCallsAlone(const Tokens& st, const CppClass* owner) const;
    // True when st[at], a macro-spelt word before a parameter list, stands
    // after a function's name rather than being it: a word that keeps a
    // function-like macro of the name from expanding ("T min
    // NO_EXPANSION ()") (C++).
    bool isNameBeforeMacroWord(const Tokens& st, std::size_t at) const;
    // True when the statement is a function head followed by a macro call
    // that stands for its body ("auto f(T a) RETURNS(g(a))").
    bool endsWithBodyMacro() const;
    // True when the statement is one closed macro call and not a
    // constructor of the enclosing class: a "{" after it is the body of
    // whatever the macro declares, which cannot be known.
    bool isMacroHeadBeforeBody() const;

    // construction
    std::string package;
    ModuleErrorFn errorCallback;
    ModuleStatusFn statusCallback;
    void* context;
    std::string fileName;
    const PreprocessorDefines& defines;
    DocCommentFormat format;
    std::string primaryFirst, primarySecond, primaryThird;
    std::string secondaryFirst, secondarySecond, secondaryThird;
    ParserSettings settings;
    int language = Cpp;
    // Java and C# names may hold letters beyond ASCII: every byte from
    // 0x80 up that begins no Unicode blank is then a name character.
    bool unicodeNames = false;
    // What skipBraces makes of each byte of the text in memory: kBodyText
    // passes it, the others as named; kBodyToken stops it at a byte that
    // may begin a literal or a documentation comment, which a token read
    // takes whole.
    enum : unsigned char { kBodyText, kBodyOpen, kBodyClose, kBodyFeed, kBodyToken };
    std::array<unsigned char, 256> bodyBytes{};
    std::istream* outside = nullptr;
    std::string projectPath;

    // stream state: the preprocessed text in memory, else the outside
    // stream's buffer
    std::string text;
    const char* next = nullptr;
    const char* limit = nullptr;
    bool haveInput = false;
    std::unique_ptr<PreprocessedSource> ahead;  // set by usePreprocessed
    std::streambuf* buffer = nullptr;
    bool atEnd = false;
    std::vector<int> pushedBack;

    // parse state
    ClassList* classList = nullptr;
    std::map<std::string, bool>* packages = nullptr;
    std::string joiner;
    int line = 1;
    // The line on which the token taken last ended: behind `line` while
    // tokens read ahead are taken.
    int tokenLine = 1;
    std::vector<Lookahead> lookahead;
    // Set while a token is read ahead: the comments before it are kept in
    // aheadComments instead of being placed.
    bool readingAhead = false;
    std::vector<AheadComment> aheadComments;
    bool lastHasComment = false;
    std::string lastComment;
    bool lastCommentTrails = false;
    // What the declaration noted last declared (the first, then any
    // further ones), and the line it ended on; notes counts the notes.
    struct TrailTarget {
        CppClassEntity* entity = nullptr;
        bool member = false;  // a CppClassMember, else a CppClass
    };
    TrailTarget trailTarget;
    std::vector<TrailTarget> furtherTrailTargets;
    int trailLine = 0;
    unsigned notes = 0;
    // Set while a variable declaration registers its second and further
    // declarators: each is noted beside those before it.
    bool furtherDeclarator = false;
    // The tokens of the declaration being read where it is not the
    // statement (an enumerator); null for the statement.
    const Tokens* openDeclaration = nullptr;
    Tokens statement;
    Tokens memberTokens;  // the statement being read as a member
    std::vector<int> bracketMatch;          // matchBrackets of memberTokens
    std::vector<std::size_t> bracketStack;  // its working room
    std::string pendingComment;
    std::vector<Scope> scopes;
    std::vector<std::string> accessWords;  // C# and Java
    std::string sourceDirectory;
    std::string sourceFileName;
    bool statementHasBody = false;
    // What readClassHead found besides a body: a primary constructor's
    // parameters, and a type complete without one ("record P(int X);").
    bool hasPrimaryConstructor = false;
    std::vector<std::string> primaryParameters;
    bool declaredWithoutBody = false;
    // The C++ class templates whose heads the file wrote, by the class's
    // last name ("Box", "vec" of "vec<3, T>"): their parameters' names and,
    // for a partial specialisation, its arguments as its name writes them
    // ("<3, T>"; empty for the template itself). A member defined outside
    // the class may name the parameters otherwise ("template <class U>
    // void Box<U>::put(const U&)"); read under the class's names, it is
    // the member the class declares.
    struct ClassTemplateHead {
        std::vector<std::string> parameters;
        std::string arguments;
    };
    std::unordered_multimap<std::string, ClassTemplateHead> classTemplateHeads;
    // Renames, in the statement and in its heads, the parameters of the
    // head that the qualifier right before nameAt takes ("Box<U>::") to
    // the names of the one class template of this file that the list then
    // names; nothing when none or several fit. A parameter of the
    // member's own heads that a new name would hide is renamed as well,
    // in headTexts too (the heads as written, the class's first).
    void renameToClassParameters(Tokens& st, const std::vector<int>& match, std::size_t nameAt,
                                 std::vector<TemplateHead>& heads, std::vector<std::string>& headTexts) const;
    // Set by readHeadDecorations when the head was a type and a variable
    // whose braces initialise it: the next "{" is read as that initialiser.
    bool initializerBracesAhead = false;
    // Set by readEnum when members follow the constants (";" in the body).
    bool enumBodyOpen = false;
    // Set by readClassHead when it named a type without a name.
    bool anonymousHead = false;
    // The accessor list of the C# member being read (readAccessorList).
    std::string accessorList;
    // The package of the first namespace the file opens.
    std::string firstNamespace;
};

// The name under which the module receives a file's classes and members:
// the project's path (its name with "/" for ".") + "/" + the file's base
// name, or the base name alone without a project.
std::string sourceNameOf(const std::string& path, const std::string& project);
