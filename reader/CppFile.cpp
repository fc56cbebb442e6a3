#include "reader/CppFile.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string_view>

#include "VelkLib/VelkError.h"
#include "VelkLib/VelkFile.h"
#include "VelkLib/VelkPath.h"
#include "model/ClassList.h"
#include "model/CppClassMember.h"
#include "model/SpecialisationNames.h"
#include "model/DocGenCppClass.h"
#include "model/MacroDefinition.h"
#include "reader/CommentScript.h"
#include "reader/DocComment.h"
#include "reader/ParserGlobals.h"
#include "reader/ParserInput.h"
#include "reader/ReaderText.h"
#include "reader/TokenCompare.h"
#include "reader/TokenReader.h"

// Tokens are compared with literals of known length: no strlen per test.
using namespace std::string_view_literals;

namespace {

constexpr int kEof = std::char_traits<char>::eof();

// The fixed first line that keeps a whole file out of the documentation.
const char* const kNoDocumentLine = "/**NODOCUMENT**/";

// Longest brace initialiser kept in a declaration, in characters.
constexpr std::size_t kInitializerLimit = 2048;

std::string charAt(const std::string& text, std::size_t i) {
    return i < text.size() ? std::string(1, text[i]) : std::string();
}

// The specifiers written with an argument list before a declaration:
// alignas(16), __declspec(dllexport), __attribute__((packed)).
bool isSpecifierWithArguments(const std::string& word) {
    switch (word.size()) {
    case 7: return isToken(word, "alignas");
    case 10: return isToken(word, "__declspec");
    case 13: return isToken(word, "__attribute__");
    default: return false;
    }
}

bool isAccessWord(const std::string& word) {
    return word == "public"sv || word == "private"sv || word == "protected"sv;
}

}  // namespace

CppFile::CppFile(const std::string& fileName_, const std::string& projectName,
                 ModuleStatusFn status, ModuleErrorFn error, void* context_,
                 const PreprocessorDefines& defines_, DocCommentFormat format_,
                 const ParserSettings* settings_,
                 const std::map<std::string, int>* extensionLanguages)
    : errorCallback(error),
      statusCallback(status),
      context(context_),
      fileName(fileName_),
      defines(defines_),
      format(std::move(format_)) {
    if (settings_) settings = *settings_;

    // The extension of the file's own name, so a dotted directory is not
    // taken for one.
    const std::string base = fileNameOf(fileName);
    const std::size_t dot = base.rfind('.');
    std::string extension = dot == std::string::npos ? "" : base.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extensionLanguages) {
        auto found = extensionLanguages->find(extension);
        if (found != extensionLanguages->end()) language = found->second;
    }

    if (!javaLikeRules()) package = projectName.empty() ? "(default)" : projectName;
    unicodeNames = language != Cpp;

    primaryFirst = charAt(format.getPrimaryStart(), 0);
    primarySecond = charAt(format.getPrimaryStart(), 1);
    primaryThird = charAt(format.getPrimaryStart(), 2);
    secondaryFirst = charAt(format.getSecondaryStart(), 0);
    secondarySecond = charAt(format.getSecondaryStart(), 1);
    secondaryThird = charAt(format.getSecondaryStart(), 2);
    bodyBytes['{'] = kBodyOpen;
    bodyBytes['}'] = kBodyClose;
    bodyBytes['\n'] = kBodyFeed;
    bodyBytes['"'] = bodyBytes['\''] = kBodyToken;
    for (const std::string* first : {&primaryFirst, &secondaryFirst})
        if (!first->empty()) bodyBytes[static_cast<unsigned char>((*first)[0])] = kBodyToken;

    projectPath = projectName;
    std::replace(projectPath.begin(), projectPath.end(), '.', '/');
}

CppFile::~CppFile() = default;

// --- CppStream ---------------------------------------------------------

int CppFile::get() {
    if (!pushedBack.empty()) {
        int c = pushedBack.back();
        pushedBack.pop_back();
        return c;
    }
    if (next != limit) return static_cast<unsigned char>(*next++);
    if (!buffer) {
        atEnd = true;
        return kEof;
    }
    int c = buffer->sbumpc();
    if (c == kEof) atEnd = true;
    return c;
}

void CppFile::putBack(int c) {
    if (c == kEof) return;
    pushedBack.push_back(c);
    atEnd = false;
}

int CppFile::peek() {
    if (!pushedBack.empty()) return pushedBack.back();
    if (next != limit) return static_cast<unsigned char>(*next);
    if (!buffer) {
        atEnd = true;
        return kEof;
    }
    int c = buffer->sgetc();
    if (c == kEof) atEnd = true;
    return c;
}

bool CppFile::eof() { return atEnd; }

std::string CppFile::getLine() {
    std::string line;
    for (;;) {
        if (pushedBack.empty() && next != limit) {
            // The rest of the line in one piece from the text in memory.
            const auto* stop =
                static_cast<const char*>(std::memchr(next, '\n', static_cast<std::size_t>(limit - next)));
            line.append(next, stop ? stop : limit);
            next = stop ? stop + 1 : limit;
            if (stop) break;
            continue;
        }
        int c = get();
        if (c == kEof || c == '\n') break;
        line.push_back(static_cast<char>(c));
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

// --- small services ----------------------------------------------------------

bool CppFile::javaLikeRules() const { return language != Cpp || settings.mixCppCsharp; }

void CppFile::setInnermostClassAccess(const std::string& word) {
    for (auto it = scopes.rbegin(); it != scopes.rend(); ++it)
        if (it->kind == Scope::Class) {
            it->access = word;
            return;
        }
}

void CppFile::warnLine(int atLine) {
    if (!errorCallback) return;
    std::string text =
        "Could not understand line " + std::to_string(atLine) + " (" + fileName + ").";
    errorCallback(text.c_str(), context);
}

void CppFile::reportStatus(const std::string& text) {
    if (statusCallback) statusCallback(nullptr, text.c_str(), context);
}

std::string CppFile::sourceName() const { return sourceNameOf(fileName, projectPath); }

std::string sourceNameOf(const std::string& path, const std::string& project) {
    std::string projectPath = project;
    std::replace(projectPath.begin(), projectPath.end(), '.', '/');
    std::string base = fileNameOf(path);
    return projectPath.empty() ? base : projectPath + "/" + base;
}

void CppFile::addPackage(const std::string& name) {
    if (packages) (*packages)[name] = true;
}

CppClass* CppFile::globalsClass() {
    if (namespacesArePackages()) addPackage(package);
    return findOrCreateClass(*classList, package, language);
}

bool CppFile::namespacesArePackages() const { return javaLikeRules() && language != Java; }

bool CppFile::isCSharpModifier(const std::string& word) {
    static const char* const words[] = {"new",      "public",  "protected", "internal", "private",
                                        "abstract", "sealed",  "unsafe",    "static",   "partial",
                                        "readonly", "ref",     "file",      "extern"};
    return std::find_if(std::begin(words), std::end(words),
                        [&](const char* w) { return word == w; }) != std::end(words);
}

bool CppFile::onlyModifiers(const Tokens& st) const {
    // "non-sealed" arrives as "non", "-" and "sealed".
    static const char* const javaWords[] = {"public", "protected", "abstract", "private", "final",
                                            "strictfp", "static", "sealed", "non", "-"};
    if (st.empty()) return true;
    if (language == CSharp)
        return std::all_of(st.begin(), st.end(), [](const std::string& w) { return isCSharpModifier(w); });
    if (language == Java)
        return std::all_of(st.begin(), st.end(), [](const std::string& w) {
            return std::find_if(std::begin(javaWords), std::end(javaWords),
                                [&](const char* j) { return w == j; }) != std::end(javaWords);
        });
    // Passes a counted group opened at st[i]; false when it is not closed.
    // Angle brackets inside parentheses are comparisons, not nesting.
    auto passGroup = [&st](std::size_t& i, const char* open, const char* close) {
        const bool angles = open[0] == '<';
        int depth = 0, parens = 0;
        for (; i < st.size(); ++i) {
            if (angles && st[i] == "("sv) ++parens;
            else if (angles && st[i] == ")"sv && parens > 0) --parens;
            else if (parens > 0) continue;
            else if (st[i] == open) ++depth;
            else if (st[i] == close && --depth == 0) return true;
        }
        return false;
    };
    for (std::size_t i = 0; i < st.size(); ++i) {
        const std::string& w = st[i];
        if (w == "template"sv) {
            if (i + 1 < st.size() && st[i + 1] == "<"sv) {
                ++i;
                if (!passGroup(i, "<", ">")) return false;
            }
            continue;
        }
        if (w == "static"sv || w == "constexpr"sv || w == "const"sv || isToken(w, "extern")) continue;
        // What follows "requires" is the constraint of the template.
        if (w == "requires"sv) return true;
        if (!(isMacroLikeWord(w) || isSpecifierWithArguments(w) ||
              (settings.mixCppCsharp && isCSharpModifier(w))))
            return false;
        if (i + 1 < st.size() && st[i + 1] == "("sv) {
            ++i;
            if (!passGroup(i, "(", ")")) return false;
        }
    }
    return true;
}

bool CppFile::isClassWord(const std::string& word) const {
    // Most words fail on their length or their first letter.
    if (word.size() < 5 || word.size() > 9) return false;
    auto is = [&word]<std::size_t N>(const char (&literal)[N]) {
        return word.size() == N - 1 && std::memcmp(word.data(), literal, N - 1) == 0;
    };
    switch (word[0]) {
    case 'c': return is("class");
    case 's': return is("struct") && language != Java;
    case 'u': return is("union") && language == Cpp;
    case 'n': return is("namespace") && language != Java && !settings.namespacesGlobal;
    case 'i': return is("interface") && (language == CSharp || language == Java);
    case 'r': return is("record") && (language == CSharp || language == Java);
    default: return false;
    }
}

std::string CppFile::baseListKeyword() const { return language == Java ? "extends" : ":"; }

std::string CppFile::anonymousName(DocGenCppClass& holder, const std::string& keyword) {
    int count = ++holder.getAnonymousCounts()[keyword];
    return "anonymous_" + keyword + "_" + std::to_string(count);
}

CppClass* CppFile::enclosingClass() const {
    for (auto it = scopes.rbegin(); it != scopes.rend(); ++it)
        if (it->kind == Scope::Class) return it->cls;
    return nullptr;
}

bool CppFile::atDocumentedLevel() const {
    return std::all_of(scopes.begin(), scopes.end(), [](const Scope& s) {
        return s.kind != Scope::Class || (s.cls && s.cls->isNamespace());
    });
}

std::string CppFile::currentAccess() {
    if (language == Cpp) {
        for (auto it = scopes.rbegin(); it != scopes.rend(); ++it)
            if (it->kind == Scope::Class) return it->access;
        return "public";
    }
    if (accessWords.empty()) return "";
    std::string word = accessWords.back();
    accessWords.clear();
    return word;
}

// --- token input ---------------------------------------------------------

void CppFile::fail(const std::string& message, int atLine) {
    raiseTokenError(*this, message, atLine);
}

std::string CppFile::token() {
    lastHasComment = false;
    lastComment.clear();
    if (!lookahead.empty()) return takeLookahead();
    if (pushedBack.empty() && next != limit) {
        // A token in memory starts with the character after the blanks:
        // when that cannot open a documentation comment, the token is
        // built right where the caller receives it, never copied.
        int feeds = 0;
        const char* p = blankRunEnd(next, limit, feeds);
        line += feeds;
        next = p;
        const bool commentMark = p != limit && (*p == '"' || *p == '\'' ||
                                                (!primaryFirst.empty() && *p == primaryFirst[0]) ||
                                                (!secondaryFirst.empty() && *p == secondaryFirst[0]));
        if (!commentMark) {
            // No literal: the token ends on the line it begins on.
            tokenLine = line;
            return readNextToken();
        }
    }
    for (;;) {
        // A token of its own each round, handed out as built.
        std::string tok = readNextToken();
        if (tok.size() == 1 && (tok == primaryFirst || tok == secondaryFirst) && readDocCommentAfterSlash())
            continue;
        tokenLine = line;
        return tok;
    }
}

std::string CppFile::takeLookahead() {
    Lookahead& ahead = lookahead.back();
    lastHasComment = ahead.hasComment;
    lastComment = std::move(ahead.comment);
    lastCommentTrails = ahead.commentTrails;
    tokenLine = ahead.line;
    // Comments read ahead go where the parse now stands: a marked one to
    // the declaration ended before it, which was not yet read back then.
    for (AheadComment& c : ahead.ahead) settleComment(std::move(c.text), c.trails, c.line);
    std::string tok = std::move(ahead.token);
    lookahead.pop_back();
    return tok;
}

bool CppFile::notBlankAt(const char* p) const {
    return unicodeBlankLength(std::string_view(p, static_cast<std::size_t>(limit - p)), 0) == 0;
}

inline std::string CppFile::readNextToken() {
    // Words, punctuation and the blanks before them, the bulk of any
    // source, are taken straight from the text in memory, exactly as
    // readToken would take them; literals go through readToken.
    if (pushedBack.empty() && next != limit) {
        const char* p = next;
        int feeds = 0;
        for (; p != limit && isBlankChar(*p); ++p)
            if (*p == '\n') ++feeds;
        line += feeds;
        next = p;
        if (p == limit) {
            atEnd = true;
            return std::string();
        }
        // A C# name may be written with "@" before it so that a keyword
        // can be one ("@class"): the "@" is part of the name.
        const bool escapedName = *p == '@' && language == CSharp && p + 1 != limit &&
                                 (isWordChar(p[1]) || nameByteAt(p + 1));
        if (isWordChar(*p) || nameByteAt(p) || escapedName) {
            const char* start = p;
            if (escapedName) ++p;
            while (p != limit && (isWordChar(*p) || nameByteAt(p))) ++p;
            next = p;
            if (p == limit) atEnd = true;
            return std::string(start, p);
        }
        if (*p == '-') {
            // "-", then blanks (taken whatever follows) and digits.
            const char* q = p + 1;
            int blankFeeds = 0;
            for (; q != limit && isBlankChar(*q); ++q)
                if (*q == '\n') ++blankFeeds;
            const char* digits = q;
            while (q != limit && *q >= '0' && *q <= '9') ++q;
            std::string tok(1, '-');
            tok.append(digits, q);
            line += blankFeeds;
            next = q;
            if (q == limit) atEnd = true;
            return tok;
        }
        if (*p != '"' && *p != '\'') {
            // ">=" is one token, as a compiler reads it: a comparison in a
            // template argument ("dim>=4") closes no list and is no "=".
            const bool greaterEqual = *p == '>' && p + 1 != limit && p[1] == '=';
            next = p + (greaterEqual ? 2 : 1);
            return std::string(p, next);
        }
    }
    std::string tok = readToken(*this, &line);
    if (tok == "@"sv && language == CSharp) {
        for (int c = peek(); c != kEof && (c >= 0x80 || isWordChar(static_cast<char>(c))); c = peek())
            tok += static_cast<char>(get());
    }
    if (unicodeNames && !tok.empty() && (isWordChar(tok[0]) || static_cast<unsigned char>(tok[0]) >= 0x80)) {
        // The token layer ends a word at a byte beyond ASCII; the blanks
        // among those are gone with the preprocessor.
        for (int c = peek(); c != kEof && (c >= 0x80 || isWordChar(static_cast<char>(c))); c = peek())
            tok += static_cast<char>(get());
    }
    if (tok == ">"sv) {
        int c = get();
        if (c == '=') tok += '=';
        else if (c != kEof) putBack(c);
    }
    return tok;
}

void CppFile::unread(std::string tok) {
    lookahead.push_back(Lookahead{std::move(tok), lastHasComment, lastComment, lastCommentTrails, tokenLine, {}});
}

const std::string& CppFile::readAhead(std::vector<Lookahead>& read) {
    if (!lookahead.empty()) {
        // Given back before: it goes on as it was.
        read.push_back(std::move(lookahead.back()));
        lookahead.pop_back();
        return read.back().token;
    }
    const bool hadComment = lastHasComment;
    std::string comment = std::move(lastComment);
    const bool commentTrails = lastCommentTrails;
    const int takenLine = tokenLine;
    readingAhead = true;
    std::string tok = token();
    readingAhead = false;
    read.push_back(Lookahead{std::move(tok), false, {}, false, tokenLine, std::move(aheadComments)});
    aheadComments.clear();
    lastHasComment = hadComment;
    lastComment = std::move(comment);
    lastCommentTrails = commentTrails;
    tokenLine = takenLine;
    return read.back().token;
}

void CppFile::giveBack(std::vector<Lookahead>& read, std::size_t from, std::size_t to) {
    for (std::size_t i = to; i-- > from;) lookahead.push_back(std::move(read[i]));
}

std::string CppFile::tokenWith(char extra) {
    // Names are joined from their parts, so that a name read ahead as
    // separate tokens joins just the same.
    std::string name = token();
    const bool hadComment = lastHasComment;
    const std::string comment = lastComment;
    const bool commentTrails = lastCommentTrails;
    const std::string separator(1, extra);
    if (!isNameToken(name)) return name;
    for (;;) {
        std::string sep = token();
        if (sep == separator) {
            if (extra == ':') {
                std::string second = token();
                if (second != ":"sv) {
                    unread(second);
                    unread(sep);
                    break;
                }
                sep = "::";
            }
            std::string part = token();
            if (isNameToken(part)) {
                name += sep + part;
                continue;
            }
            unread(part);
            if (sep == "::"sv) unread(":");
            unread(extra == ':' ? ":" : sep);
            break;
        }
        unread(sep);
        break;
    }
    lastHasComment = hadComment;
    lastComment = comment;
    lastCommentTrails = commentTrails;
    return name;
}

std::string CppFile::readComment(const std::string& start, const std::string& middle,
                                 const std::string& end, bool* trails) {
    const int startLine = line;
    std::string text;
    if (!pushedBack.empty() || buffer) {
        text = collectDocComment(*this, &line, joiner, start, middle, end, trails);
    } else {
        // The preprocessed text is in memory: the comment is read there in
        // place.
        TextCursor cursor{next, limit, atEnd};
        text = readDocComment(cursor, *this, &line, joiner, start, middle, end, trails);
        next = cursor.next;
        atEnd = cursor.atEnd;
    }
    // The author's HTML is kept, but no source may put script on a page.
    if (defuseCommentScript(text) && errorCallback) {
        const std::string warning = "Script in the documentation comment on line " + std::to_string(startLine) +
                                    " is shown as text (" + fileName + ").";
        errorCallback(warning.c_str(), context);
    }
    return text;
}

bool CppFile::readDocCommentAfterSlash() {
    // Only characters that touch the "/" can open a comment: "a / *p" is
    // a division.
    int second = peek();
    if (second == kEof) return false;
    const bool primary = !primarySecond.empty() && second == primarySecond[0];
    const bool secondary = !secondarySecond.empty() && second == secondarySecond[0];
    if (!primary && !secondary && second != '*' && second != '/') return false;
    get();
    int third = peek();
    const int startLine = line;
    bool trails = false;
    if (primary && !primaryThird.empty() && third == primaryThird[0]) {
        get();
        std::string text = readComment(format.getPrimaryStart(), format.getPrimaryMiddle(),
                                       format.getPrimaryEnd(), &trails);
        noteComment(std::move(text), trails, startLine);
        return true;
    }
    if (secondary && !secondaryThird.empty() && third == secondaryThird[0]) {
        get();
        std::string text = readComment(format.getSecondaryStart(), format.getSecondaryMiddle(),
                                       format.getSecondaryEnd(), &trails);
        noteComment(std::move(text), trails, startLine);
        return true;
    }
    // An ordinary comment reaches the parser only from an outside stream
    // that was not preprocessed; it documents nothing.
    if (second == '/') {
        getLine();
        ++line;
        return true;
    }
    if (second == '*') {
        int prev = 0;
        for (;;) {
            int c = get();
            if (c == kEof) fail("Unexpected end of file", startLine);
            if (c == '\n') ++line;
            if (prev == '*' && c == '/') return true;
            prev = c;
        }
    }
    putBack(second);
    return false;
}

bool CppFile::attachTrailingComment(const std::string& text, int atLine) {
    if (declarationOpen() || !trailTarget.entity || trailLine != atLine) return false;
    auto attach = [&text](const TrailTarget& target) {
        if (!target.member) {
            target.entity->setComment(target.entity->getComment() + text);
            return;
        }
        // A member's comment goes through its class, which may keep the
        // calls that made its members to make them again elsewhere.
        auto& member = *static_cast<CppClassMember*>(target.entity);
        if (CppClass* owner = member.getOwner()) owner->appendMemberComment(member, text);
        else member.setComment(member.getComment() + text);
    };
    attach(trailTarget);
    for (const TrailTarget& target : furtherTrailTargets) attach(target);
    return true;
}

void CppFile::noteDeclared(CppClass* cls) {
    trailTarget = TrailTarget{cls, false};
    if (!furtherTrailTargets.empty()) furtherTrailTargets.clear();
    trailLine = tokenLine;
    ++notes;
}

void CppFile::noteMembersFrom(const CppClass& cls, std::size_t first) {
    noteDeclared(static_cast<CppClass*>(nullptr));
    const std::vector<CppClassMember*>& members = cls.getMembers();
    for (std::size_t i = first; i < members.size(); ++i) noteDeclared(members[i], true);
}

void CppFile::skipBraces(const std::string& description) {
    int depth = 1;
    for (;;) {
        if (lookahead.empty() && pushedBack.empty()) {
            // In memory only the braces and line feeds of the tokens
            // passed count: the text up to the next literal or possible
            // documentation comment is passed a byte at a time, as the
            // tokens it holds would be.
            const char* p = next;
            int feeds = 0;
            for (; p != limit; ++p) {
                const unsigned char kind = bodyBytes[static_cast<unsigned char>(*p)];
                if (kind == kBodyText) continue;
                if (kind == kBodyFeed) {
                    ++feeds;
                } else if (kind == kBodyOpen) {
                    ++depth;
                } else if (kind == kBodyClose) {
                    if (--depth < 1) break;
                } else {
                    break;
                }
            }
            line += feeds;
            next = p;
            if (depth < 1) {
                // The "}" read as a token would be: nothing stood before it.
                ++next;
                lastHasComment = false;
                lastComment.clear();
                tokenLine = line;
                return;
            }
        }
        std::string tok = token();
        if (tok.empty()) fail("Unexpected end-of-file when parsing " + description, line);
        if (tok == "{"sv) ++depth;
        else if (tok == "}"sv && --depth < 1) return;
    }
}

void CppFile::skipParens(const std::string&) {
    int depth = 1;
    for (;;) {
        std::string tok = token();
        if (tok.empty()) fail("Unexpected end of file while looking for \")\"", line);
        if (tok == "("sv) ++depth;
        else if (tok == ")"sv && --depth < 1) return;
    }
}

void CppFile::skipTo(const std::string& endToken, const std::string& description) {
    const int startLine = line;
    int depth = 0;
    for (;;) {
        std::string tok = token();
        if (tok.empty())
            fail("Unexpected end-of-file while parsing " + description + "(looking for \"" +
                     endToken + "\")",
                 startLine);
        if (tok == endToken && depth == 0) return;
        if (tok == "("sv || tok == "["sv || tok == "{"sv) {
            ++depth;
        } else if ((tok == ")"sv || tok == "]"sv || tok == "}"sv) && depth > 0) {
            // A body closing at depth 0 ends a declaration that has one
            // instead of a ";" (a friend function defined in place).
            if (--depth == 0 && tok == "}"sv && endToken == ";"sv) return;
        }
    }
}

// --- parse --------------------------------------------------------------

PreprocessedSource CppFile::preprocessAhead() const {
    PreprocessedSource result;
    try {
        // The source is read once: the first line is checked in memory and
        // the preprocessor works from the same text.
        std::string source = readWholeFile(fileName, kSourceFileLimit,
                                           settings.inputRoots);
        // Editors save C# and C++ in UTF-16 too: read by its byte-order mark.
        decodeByteOrderMark(source);
        normaliseLineEnds(source);  // a lone CR ends a line too
        std::string_view first(source);
        first = first.substr(0, first.find('\n'));
        if (first == kNoDocumentLine) return result;
        result.documented = true;
        result.text = preprocessInMemory(source, fileName, format, defines, package,
                                         settings.documentMacros ? &result.defines : nullptr,
                                         &result.warnings, &result.tripleSlashUnread, language == Cpp);
    } catch (...) {
        result.error = std::current_exception();
    }
    return result;
}

void CppFile::usePreprocessed(PreprocessedSource source) {
    ahead = std::make_unique<PreprocessedSource>(std::move(source));
}

void CppFile::openInput(std::map<std::string, MacroDefinition>* defineTable) {
    PreprocessedSource source = ahead ? std::move(*ahead) : preprocessAhead();
    ahead.reset();
    if (defineTable)
        for (auto& [name, record] : source.defines)
            defineTable->insert_or_assign(name, std::move(record));
    if (source.error) std::rethrow_exception(source.error);
    if (!source.documented) return;  // a file marked not to be documented
    for (const std::string& warning : source.warnings) {
        if (!errorCallback) break;
        const std::string line = warning + " (" + fileName + ").";
        errorCallback(line.c_str(), context);
    }
    text = std::move(source.text);
    next = text.data();
    limit = next + text.size();
    haveInput = true;
}

void CppFile::parse(ClassList& list, bool lineBreaks,
                    std::map<std::string, MacroDefinition>* defineTable,
                    std::map<std::string, bool>* packageSet) {
    classList = &list;
    packages = packageSet;
    joiner = lineBreaks ? "<BR>\n" : "\n";
    sourceFileName = sourceName();
    sourceDirectory = directoryOf(fileName);

    if (outside) {
        buffer = outside->rdbuf();
    } else {
        openInput(defineTable);
        if (!haveInput) return;  // a file marked not to be documented
    }
    if (!javaLikeRules()) addPackage(package);
    run();
    // A file of namespaces that declare nothing is listed under the first.
    if (packages && packages->empty() && !firstNamespace.empty()) addPackage(firstNamespace);
}

void CppFile::run() {
    for (;;) {
        std::string tok = token();
        if (tok.empty()) return;
        if (lastHasComment) takePendingComment();
        for (;;) {
            bool dropsComment = false;
            if (!mayBeFrameworkMacro(tok) || !skipFrameworkMacro(tok, dropsComment)) break;
            if (dropsComment) pendingComment.clear();
            if (lastHasComment) takePendingComment();
            if (tok.empty()) return;
        }
        dispatch(std::move(tok));
    }
}

void CppFile::endStatement() {
    statement.clear();
    initializerBracesAhead = false;
    pendingComment.clear();
    if (language != Cpp) accessWords.clear();
}

namespace {

// False for a token that no rule of dispatch() looks at, so that it joins
// the statement at once: every rule names ":", "{", "}", ";", "@" or a word
// beginning with one of the letters below.
bool mayBeRuleToken(const std::string& tok) {
    if (tok.size() == 1) {
        const char c = tok[0];
        return c == ':' || c == '{' || c == '}' || c == ';' || c == '@';
    }
    if (tok.empty()) return true;
    switch (tok[0]) {
    case 'c': case 'e': case 'i': case 'n': case 'p': case 'r': case 's': case 't': case 'u': return true;
    default: return false;
    }
}

// True when the statement ends with a parameter list, or with one and
// "noexcept", macro words or the "try" of a function-try-block after it
// ("QChar(int c) noexcept : ucs(c)", "Ptr(T* p) try : p_(p)").
bool endsParameterList(const Tokens& statement) {
    std::size_t k = statement.size();
    if (k > 0 && isToken(statement[k - 1], "try")) --k;
    while (k > 0 && (statement[k - 1] == "noexcept"sv || isMacroLikeWord(statement[k - 1]))) --k;
    return k > 0 && statement[k - 1] == ")"sv;
}

// True when the statement has a "(" still open where a brace is an
// expression's temporary ("decltype(f(make_seq<N>{}))",
// "REQUIRES(EXPR(convert<T>{}(t)))"), never a body. Only directly inside
// the parentheses of a macro call that stands at the statement's own level
// may it be a body the macro takes ("DEFAULTED_FUNCTION(f(), IMPL {})")
// (C++).
bool insideParentheses(const Tokens& statement, bool macrosTakeBodies) {
    std::size_t depth = 0;
    bool outerIsMacroCall = false;  // the outermost "(" open is such a call's
    for (std::size_t i = 0; i < statement.size(); ++i) {
        const std::string& t = statement[i];
        if (t == "("sv) {
            if (depth++ == 0) outerIsMacroCall = macrosTakeBodies && i > 0 && isMacroLikeWord(statement[i - 1]);
        } else if (t == ")"sv && depth > 0) {
            --depth;
        }
    }
    return depth > (outerIsMacroCall ? 1 : 0);
}

// The index just past the closed call "WORD ( ... )" that begins at
// statement[i] (WORD a macro-like word), or 0 when none begins there.
std::size_t pastMacroCall(const Tokens& statement, std::size_t i) {
    if (i + 1 >= statement.size() || statement[i + 1] != "("sv || !isMacroLikeWord(statement[i])) return 0;
    int parens = 0;
    for (std::size_t k = i + 1; k < statement.size(); ++k) {
        if (statement[k] == "("sv) ++parens;
        else if (statement[k] == ")"sv && --parens == 0) return k + 1;
    }
    return 0;
}

// True when a ":" after the statement (which ends with a parameter list) opens a
// constructor's initialiser list: it stands outside every parenthesis, and
// no "=" or "?" outside them makes it part of an expression. A default
// argument ("Widget(const char* l = 0) : Base(l)") is inside.
bool colonOpensInitializerList(const Tokens& statement) {
    std::size_t i = 0;
    // The default arguments of a template head are no part of it:
    // "template <class C, if_char<C> = true> S(const C* f) : S(f, 0)".
    while (i + 1 < statement.size() && statement[i] == "template"sv && statement[i + 1] == "<"sv) {
        int angles = 0, parens = 0;
        for (++i; i < statement.size(); ++i) {
            const std::string& t = statement[i];
            if (t == "("sv) ++parens;
            else if (t == ")"sv && parens > 0) --parens;
            else if (parens == 0 && t == "<"sv) ++angles;
            else if (parens == 0 && t == ">"sv && --angles == 0) break;
        }
        ++i;
    }
    int depth = 0;
    for (; i < statement.size(); ++i) {
        const std::string& t = statement[i];
        if (t == "("sv) ++depth;
        else if (t == ")"sv && depth > 0) --depth;
        else if (depth == 0 && (t == "="sv || t == "?"sv)) return false;
    }
    return depth == 0;
}

}  // namespace

void CppFile::dispatch(std::string&& tok) {
    if (!mayBeRuleToken(tok)) {
        // A ")" opens nothing: at a statement's start it is what is left
        // of a macro call whose body was skipped ("MACRO(f(), { })").
        if (statement.empty() && tok == ")"sv) return;
        statement.push_back(std::move(tok));
        return;
    }
    const bool afterStatic = !statement.empty() && statement.back() == "static"sv;

    // Before the initialiser list: "DECLARE(C) Q_SIGNALS:" ends in macro
    // words after a ")" as a constructor's head may.
    std::string labelAccess;
    if (tok == ":"sv && endsMacroLabel(labelAccess)) {
        std::string next = token();
        if (next == ":"sv) {
            // A qualified name after all.
            statement.push_back(":");
            statement.push_back(":");
            return;
        }
        if (!next.empty()) unread(std::move(next));
        if (!labelAccess.empty()) setInnermostClassAccess(labelAccess);
        statement.clear();
        return;
    }
    if (tok == ":"sv && endsParameterList(statement) && colonOpensInitializerList(statement)) {
        readInitializerList();
        return;
    }
    if (tok == "template"sv && language == Cpp) {
        // No declaration goes on past its template head: macro calls
        // before it were written without their ";" ("Q_DISABLE_COPY(C)"),
        // and a function whose body is a macro call ends with that call.
        if (isMacroCallRun()) {
            statement.clear();
        } else if (endsWithBodyMacro()) {
            // A comment written above "template" belongs to what follows.
            std::string comment;
            const bool ownComment = lastHasComment;
            if (ownComment) comment = std::move(pendingComment);
            readMemberStatement(false);
            if (ownComment) pendingComment = std::move(comment);
        }
        readTemplate();
        return;
    }
    if (tok == "namespace"sv && javaLikeRules() && statement.empty()) {
        readCSharpNamespace();
        return;
    }
    if (tok == "namespace"sv && language == Cpp && !statement.empty() && isToken(statement.back(), "inline")) {
        // "inline namespace", also after a macro that expands to nothing
        // here (a namespace-opening macro without its definition).
        statement.pop_back();
        if (onlyModifiers(statement)) statement.clear();
        else statement.push_back("inline");
    }
    if ((isClassWord(tok) || (tok == "typedef"sv && language == Cpp) || tok == "enum"sv) &&
        onlyModifiers(statement)) {
        classPath(tok);
        return;
    }
    if (tok == "{"sv && afterStatic && language != Cpp) {
        skipBraces("static block");
        endStatement();
        return;
    }
    if (tok == "}"sv) {
        if (inLeadingMacroCall() && readUnexpandedMacroCall(tok)) return;
        closeBrace();
        return;
    }
    // C#'s "global using" is a directive for every file of the project.
    if (tok == "using"sv && language != Java &&
        (statement.empty() || (language == Cpp && statement[0] == "template"sv && onlyModifiers(statement)) ||
         (language == CSharp && statement.size() == 1 && statement[0] == "global"sv))) {
        if (language == Cpp) readUsing();
        else skipTo(";", "using");
        endStatement();
        return;
    }
    if ((tok == "import"sv || tok == "package"sv) && language == Java) {
        readImportOrPackage(tok);
        return;
    }
    if (tok == ":"sv && language == Cpp && !statement.empty() &&
        (isAccessWord(statement.front()) || isAccessWord(statement.back()))) {
        setInnermostClassAccess(isAccessWord(statement.front()) ? statement.front() : statement.back());
        statement.clear();
        return;
    }
    if (isAccessWord(tok) && language != Cpp) {
        accessWords.push_back(tok);
        return;
    }
    if (tok == ":"sv && language == Cpp && statement.size() == 1) {
        std::string next = token();
        if (next == ":"sv) {
            statement.push_back(":");
            statement.push_back(":");
        } else {
            // A label: the word after it starts the next declaration.
            statement.clear();
            if (!next.empty()) unread(std::move(next));
        }
        return;
    }
    if (tok == "{"sv || tok == ";"sv) {
        // A brace in "sizeof(" or "decltype(", or in a call inside the
        // arguments, is a temporary, the call's own argument.
        if (inLeadingMacroCall() && !(tok == "{"sv && insideParentheses(statement, true)) &&
            readUnexpandedMacroCall(tok))
            return;
        if (tok == "{"sv && isMacroHeadBeforeBody()) {
            // What the macro declares is not known: nothing is.
            skipBraces("function body");
            endStatement();
            return;
        }
        if (tok == "{"sv && statement.size() == 2 && statement[0] == "extern"sv &&
            statement[1].size() >= 2 && statement[1][0] == '"') {
            scopes.push_back(Scope{});
            endStatement();
            return;
        }
        if (language == CSharp && statement.size() == 3 && statement[0] == "extern"sv &&
            statement[1] == "alias"sv) {
            // "extern alias Name;" names an assembly and declares nothing.
            endStatement();
            return;
        }
        if (tok == "{"sv && language == Java && scopes.empty() && !statement.empty() &&
            (statement[0] == "module"sv || (statement[0] == "open"sv && statement.size() > 1 &&
                                             statement[1] == "module"sv))) {
            // A module declaration (module-info.java) lists packages and
            // services; it declares no type and no member.
            skipBraces("module declaration");
            endStatement();
            return;
        }
        if (tok == "{"sv && !statement.empty() &&
            (initializerBracesAhead || insideParentheses(statement, language == Cpp) ||
             bracesOpenInitializer())) {
            initializerBracesAhead = false;
            readBraceInitializer();
            return;
        }
        if (tok == "{"sv && bracesCloseDeclarator()) {
            // Only a "," or ";" after the braces shows them an initialiser;
            // anything else follows a body ("CONSTEXPR Name() {}" whose
            // "()" went with a macro).
            readBraceInitializer();
            std::string next = token();
            const bool initializer = next == ","sv || next == ";"sv;
            if (!next.empty()) unread(std::move(next));
            if (initializer) return;
            statement.pop_back();
            readMemberStatement(true, false);
            return;
        }
        readMemberStatement(tok == "{"sv);
        return;
    }
    if (tok == "@"sv && language == Java) {
        skipAnnotation();
        return;
    }
    statement.push_back(std::move(tok));
}

bool CppFile::inLeadingMacroCall() const {
    return language == Cpp && statement.size() >= 2 && isToken(statement[1], "(") &&
           isMacroLikeWord(statement[0]);
}

bool CppFile::endsWithBodyMacro() const {
    if (language != Cpp || statement.empty() || statement.back() != ")"sv) return false;
    // The "(" of the last group, and the word before it.
    int parens = 0;
    std::size_t open = statement.size();
    while (open-- > 0) {
        if (statement[open] == ")"sv) ++parens;
        else if (statement[open] == "("sv && --parens == 0) break;
    }
    if (open >= statement.size() || open < 2 || !isMacroLikeWord(statement[open - 1])) return false;
    // What stands before the call must end a function head: its parameter
    // list, perhaps with qualifiers after it ("f(int) const").
    std::size_t k = open - 1;
    while (k > 0 && (statement[k - 1] == "const"sv || statement[k - 1] == "noexcept"sv ||
                     statement[k - 1] == "override"sv || statement[k - 1] == "final"sv))
        --k;
    if (k == 0 || statement[k - 1] != ")"sv) return false;
    // Not a chain of macro calls alone: a function's name stands before
    // its list.
    return !isMacroCallRun();
}

bool CppFile::isMacroHeadBeforeBody() const {
    // One call, or a run of them written without their ";"
    // ("ENTRY(a, b) ENTRY(c, d) INIT_BEGIN(init) {").
    if (language != Cpp || (pastMacroCall(statement, 0) != statement.size() && !isMacroCallRun())) return false;
    // "RGB(int v) { }" in class RGB is its constructor.
    if (const CppClass* owner = enclosingClass()) {
        // A specialisation's constructors bear the template's name.
        std::string storage;
        const std::string_view own = constructorName(owner->getName(), storage);
        for (std::size_t k = 0; k + 1 < statement.size(); ++k)
            if (statement[k] == own && statement[k + 1] == "("sv && !owner->isNamespace()) return false;
    }
    return true;
}

bool CppFile::bracesOpenInitializer() {
    // Without an "=" token there is no "=" at depth 0 to find, whatever
    // the operator names fold into: the common case needs no work.
    if (std::find(statement.begin(), statement.end(), "="sv) == statement.end()) return false;
    // Only an "operator" token folds into a name; without one the statement
    // is matched where it stands, in the member reader's working room,
    // rather than copied (a long statement reaches here once per "{").
    const Tokens* tokens = &statement;
    Tokens merged;
    if (language != Java && std::find(statement.begin(), statement.end(), "operator"sv) != statement.end()) {
        merged = statement;
        mergeOperatorNames(merged);
        tokens = &merged;
    }
    matchBrackets(*tokens, bracketMatch, bracketStack);
    return findTopLevelEquals(*tokens, bracketMatch, tokens->size()) < tokens->size();
}

bool CppFile::bracesCloseDeclarator() const {
    // "A a{1}, b{2};": a C++ declarator that ends in its name (or in an
    // array bound) takes braces as its initialiser. A function's body
    // follows its parameter list, and a class head that was not read as
    // one is left to the member reader as before.
    if (javaLikeRules() || statement.size() < 2) return false;
    const std::string& last = statement.back();
    if (last != "]"sv && (!isNameToken(last) || isNeverName(last))) return false;
    // Angle brackets count only outside parentheses: "enable_if_t<(I < 2)>".
    // A class word may only begin it, naming the type of every declarator
    // ("struct Point origin{}, corner{};"), its head read already.
    int angles = 0, parens = 0;
    for (std::size_t i = 0; i < statement.size(); ++i) {
        const std::string& t = statement[i];
        if (t == "("sv) {
            if (angles == 0) return false;
            ++parens;
        } else if (t == ")"sv && parens > 0) {
            --parens;
        } else if (parens > 0) {
            continue;
        } else if (t == "<"sv) {
            ++angles;
        } else if (t == ">"sv && angles > 0) {
            --angles;
        } else if (t == "operator"sv || t == "enum"sv || t == "typedef"sv || t == "namespace"sv ||
                   (isClassWord(t) && i > 0)) {
            return false;
        }
    }
    return true;
}

void CppFile::closeBrace() {
    if (language != Cpp) accessWords.clear();
    if (scopes.empty()) {
        // A brace that closes nothing we opened (unbalanced conditional
        // code): whatever was collected is not a declaration.
        endStatement();
        return;
    }
    Scope scope = std::move(scopes.back());
    scopes.pop_back();
    if (scope.kind == Scope::Namespace) package = scope.savedPackage;
    // A comment marked after a class's "};" is the class's, and after a
    // type without a name the members it added to the class around it;
    // the end of a namespace or block closes nothing it could document.
    if (scope.membersOf) noteMembersFrom(*scope.membersOf, scope.firstMember);
    else noteDeclared(scope.kind == Scope::Class && scope.cls && !scope.cls->isNamespace() ? scope.cls : nullptr);
    if (scope.kind != Scope::Class) {
        endStatement();
        return;
    }
    if (scope.typedefOpened) {
        statement.clear();
        std::string comment = pendingComment.empty() ? scope.cls->getComment() : pendingComment;
        readTypedefNames(scope.cls->getName(), comment, scope.ownName);
        endStatement();
        return;
    }
    endStatement();
    // Declarators between the "}" and the ";" declare variables of the type.
    // The scope's own keyword decides: a namespace may share its name with
    // a class of another file, which the class list then holds for both.
    if (language == Cpp && scope.keyword != "namespace"sv && !scope.cls->isNamespace())
        statement.push_back(scope.cls->getName());
    // "/** The value. */ union { ... } value;" documents value.
    if (scope.anonymous) pendingComment = scope.cls->getComment();
}

void CppFile::readTemplate() {
    statement.push_back("template");
    std::string tok = token();
    if (tok.empty()) return;
    if (tok == "<"sv) {
        statement.push_back(tok);
        skipTemplateArguments(&statement);
        return;
    }
    if (tok == "class"sv || tok == "struct"sv) {
        skipTo(";", "specific template class declaration");
        endStatement();
        return;
    }
    if (lastHasComment) takePendingComment();
    dispatch(std::move(tok));
}

void CppFile::skipTemplateArguments(Tokens* keep) {
    int depth = 1, parens = 0;
    bool afterParen = false;
    // A macro call can name a template ("CAT(vector, N)<T>"), so a "<"
    // after its ")" opens a list.
    bool macroCall = false, afterMacroCall = false, afterMacroWord = false;
    while (depth > 0) {
        std::string tok = token();
        if (tok.empty()) fail("End-of-file while looking for '>' to end template-specification", line);
        if (parens == 0 && (tok == "{"sv || tok == ";"sv)) {
            unread(std::move(tok));
            return;
        }
        if (tok == "("sv) {
            if (parens++ == 0) macroCall = afterMacroWord;
        } else if (tok == ")"sv && parens > 0) {
            if (--parens == 0) afterMacroCall = macroCall;
        } else if (parens == 0 && tok == "<"sv && (!afterParen || afterMacroCall)) ++depth;
        // ">=" is a comparison, never a list closing before "=".
        else if (parens == 0 && tok == ">"sv && !(lookahead.empty() && peek() == '=')) --depth;
        afterParen = tok == ")"sv;
        if (!afterParen) afterMacroCall = false;
        afterMacroWord = isMacroLikeWord(tok);
        if (keep) keep->push_back(std::move(tok));
    }
}

void CppFile::readUsing() {
    std::string name = token();
    std::string next = token();
    if (!isNameToken(name) || isNeverName(name) || next != "="sv) {
        const bool declaration = name != "namespace"sv && name != "enum"sv && statement.empty();
        unread(std::move(next));
        unread(std::move(name));
        CppClass* owner = enclosingClass();
        if (declaration && owner && !owner->isNamespace()) {
            readUsingDeclaration(*owner);
            return;
        }
        // A using-directive, or a using-declaration outside a class: it
        // declares nothing new.
        skipTo(";", "using");
        return;
    }
    // An alias declaration is a typedef by another spelling.
    const int startLine = line;
    Tokens type;
    for (int depth = 0;;) {
        std::string tok = token();
        if (tok.empty())
            fail("Unexpected end-of-file while parsing using(looking for \";\")", startLine);
        if (depth == 0 && tok == ";"sv) break;
        if (tok == "("sv || tok == "["sv || tok == "{"sv) ++depth;
        else if ((tok == ")"sv || tok == "]"sv || tok == "}"sv) && depth > 0) --depth;
        type.push_back(std::move(tok));
    }
    std::string declaration = statement.empty() ? std::string() : joinTokens(statement) + " ";
    declaration += "using " + name + " = " + joinTokens(type) + ";";
    addTypedefClass(name, declaration, pendingComment);
}

void CppFile::readUsingDeclaration(CppClass& owner) {
    const int startLine = line;
    Tokens named;
    for (int depth = 0;;) {
        std::string tok = token();
        if (tok.empty())
            fail("Unexpected end-of-file while parsing using(looking for \";\")", startLine);
        if (depth == 0 && tok == ";"sv) break;
        if (tok == "("sv || tok == "["sv || tok == "{"sv) ++depth;
        else if ((tok == ")"sv || tok == "]"sv || tok == "}"sv) && depth > 0) --depth;
        named.push_back(std::move(tok));
    }
    mergeOperatorNames(named);
    if (named.empty() || !isNameToken(named.back())) return;
    addMember(&owner, {}, named.back(), "using " + joinTokens(named) + ";", currentAccess(),
              pendingComment, false, {});
}

void CppFile::readCSharpNamespace() {
    std::string name = tokenWith('.');
    if (name.empty()) return;
    if (!isNameToken(name)) {
        warnLine(line);
        unread(std::move(name));
        return;
    }
    std::string tok = token();
    if (tok == "{"sv && scopes.size() >= kMaxNesting) {
        // As for classes: the namespace's name would hold all the names
        // around it.
        warnLine(line);
        skipBraces("namespace body");
        endStatement();
        return;
    }
    std::string saved = package;
    package = package.empty() ? name : package + "." + name;
    // The package enters the file's set once something is declared in it
    // (registerClass, globalsClass): a namespace around namespaces alone
    // needs no listing of the file, which nested namespaces would have
    // written once for every level.
    if (firstNamespace.empty()) firstNamespace = package;
    if (tok == "{"sv) {
        Scope scope;
        scope.kind = Scope::Namespace;
        scope.savedPackage = std::move(saved);
        scopes.push_back(std::move(scope));
    } else if (tok != ";"sv && !tok.empty()) {
        unread(std::move(tok));
    }
    endStatement();
}

void CppFile::readImportOrPackage(const std::string& word) {
    const int startLine = line;
    std::string name;
    for (;;) {
        std::string tok = token();
        if (tok.empty())
            fail("Unexpected end-of-file while parsing " + word + "(looking for \";\")", startLine);
        if (tok == ";"sv) break;
        name += tok;
    }
    if (word == "package"sv && javaLikeRules()) {
        package += name;
        addPackage(package);
    }
    endStatement();
}

void CppFile::readInitializerList() {
    const int startLine = line;
    std::string prev = ":";
    for (;;) {
        std::string tok = token();
        if (tok.empty())
            fail("Unexpected end-of-file while parsing member variable initializations"
                 "(looking for \"{\")",
                 startLine);
        if (tok == "("sv) {
            skipParens("member variable initializations");
            prev = ")";
            continue;
        }
        if (tok == "{"sv) {
            // A brace right after a member name initialises that member;
            // the body follows a closed group.
            if (isNameToken(prev) || prev == ">"sv) {
                skipBraces("member variable initializations");
                prev = "}";
                continue;
            }
            dispatch("{");
            return;
        }
        if (tok == ";"sv) {
            dispatch(";");
            return;
        }
        prev = std::move(tok);
    }
}

void CppFile::readBraceInitializer() {
    std::string text = "{";
    bool cut = false;
    int depth = 1;
    while (depth > 0) {
        std::string tok = token();
        if (tok.empty()) fail("Unexpected end of file", line);
        if (tok == "{"sv) ++depth;
        else if (tok == "}"sv) --depth;
        if (cut) continue;
        text += ' ';
        text += tok;
        if (text.size() > kInitializerLimit) {
            text += " ...";
            cut = true;
        }
    }
    statement.push_back(std::move(text));
}

void CppFile::skipAnnotation() {
    std::string name = tokenWith('.');
    if (name == "interface"sv) {
        // "@interface" declares an annotation type.
        if (onlyModifiers(statement)) classPath("interface");
        else statement.push_back(std::move(name));
        return;
    }
    std::string next = token();
    if (next == "("sv) skipParens("annotation");
    else if (!next.empty()) unread(std::move(next));
}
