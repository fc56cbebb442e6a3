// Member declarations as the pages show them: the once-per-run linking of
// class names in declarations, signatures and anchors, member links, the
// split of a declaration around the member's name, and the member tests.
//
// After writeMemberEntry a declaration is HTML: the text is escaped and the
// names of documented classes are links. Everything below that reads a
// declaration expects that form.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_set>
#include <vector>

class CppClass;
class CppClassMember;
class DocClassList;

// Rewrites the member's declaration as HTML with every word that names a
// documented class (other than the owner itself) linked to its page, seen
// from a page inside a project directory. Keywords of the owner's language
// are never linked; a word naming a class nested in the owner links with
// the qualified name as its text. package and className are the owner's;
// parent is not used.
void writeMemberEntry(CppClassMember& member, const std::string& package,
                      const std::string& className, CppClass* parent);

// writeMemberEntry for every member of a filled list: the same result,
// but a word that cannot name any registered class is passed over without
// a lookup. The linker reads the list's keys when made and refers to them:
// it must not outlive the list, nor be used after a class is added.
class MemberEntryLinker {
public:
    explicit MemberEntryLinker(const DocClassList& list);
    void link(CppClassMember& member, const std::string& package) const;
    // False when segment is the part after the last ':' or '.' of no
    // registered class name, nor a C# alias's name, so that no lookup of a
    // word ending in it can find a class.
    bool mayName(std::string_view segment) const;

private:
    // The part after the last ':' or '.' of every registered class name,
    // and the aliases' names.
    std::unordered_set<std::string_view> lastSegments;
    // One bit per value of a cheap mix of a segment's length and a few of
    // its bytes, set for every registered segment: most words of a
    // declaration are turned away here before the set hashes them whole.
    std::vector<std::uint64_t> quickBits;
};

// The class that name stands for as seen from package and, when given,
// from the context class (DocClassList::resolveTypeName); on success
// package becomes the class's package and the class is returned, otherwise
// null and package is unchanged.
const CppClass* findClassPackage(const DocClassList& list, const std::string& name,
                                 std::string& package, const CppClass* context = nullptr);

// A function whose name is the owner's simple name, or "~" and that name.
bool isConstructorOrDestructor(const CppClassMember& member);
// The member has a detail entry (and so its anchors) on its class's page:
// constructors and destructors whatever their access, other members when
// they are shown (CppClassMember::isPublic).
bool hasDetailEntry(const CppClassMember& member);
// The declaration begins with "#define".
bool isMacro(const CppClassMember& member);
// The name is declared as "(*name)" (a function pointer).
bool isFunctionPointer(const CppClassMember& member);

// The member's signature: its name and, for a function, "(" + argument
// texts joined by "," + ")"; "&", "<", ">" and '"' written as entities so
// the text is safe in element text and attribute values. The anchor form
// has no blanks and is the NAME of the member's detail entry.
std::string memberSignature(const CppClassMember& member, bool anchorForm);
void appendMemberSignature(std::string& out, const CppClassMember& member, bool anchorForm);
// Anchors hold only characters that need no escaping in a URL or an
// attribute: letters, digits and "-._~!$()*+,;=:@/?" stand as they are,
// every other byte as "-" and its two upper-case hexadecimal digits.
// appendAnchorText appends text so (blanks dropped when dropBlanks is set).
void appendAnchorText(std::string& out, std::string_view text, bool dropBlanks);
// The anchor a member's signature gives: its name and, for a function,
// "(" + argument texts joined by "," + ")" with every blank dropped.
void appendSignatureAnchor(std::string& out, const CppClassMember& member);
// The member's own anchor, the NAME of its detail entry: the one its
// class gave it (assignMemberAnchors), else its signature anchor.
void appendMemberAnchor(std::string& out, const CppClassMember& member);
std::string memberAnchor(const CppClassMember& member);
// Gives every member of the class an anchor that no other member of the
// class and no fixed anchor of a class page carries: its signature anchor,
// and for the second and later members with the same one (overloads
// apart only by a const, say) that anchor and "-2", "-3", ...
void assignMemberAnchors(CppClass& cls);
// The member of the class, or of the class list's class that declares it,
// that a reference names: "name" or "name(types)"; with an argument list,
// the member of that name whose argument types are those written (blanks,
// parameter names, default values, qualifications and type arguments
// aside; "..." reads as "[]"), else null.
const CppClassMember* overloadNamed(const CppClass& cls, std::string_view reference);

// <a href="[PAGE]#ANCHOR">TEXT</a>: PAGE is the owner's page for prefix
// when withPage is set (nothing: a link into the same page); TEXT the
// signature (useSignature) or the escaped name, wrapped in tag when given.
std::string memberLink(const CppClassMember& member, bool withPage, const std::string& prefix,
                       const std::string& tag, bool useSignature);
// The same link appended to out, with the page (already href-escaped, or
// empty) given by the caller.
void appendMemberLink(std::string& out, const CppClassMember& member, std::string_view page,
                      std::string_view tag, bool useSignature);
// Appends text HTML-escaped, as escapeHtml does.
void appendEscapedName(std::string& out, std::string_view text);

// Where the member's own name (name: as appendEscapedName writes it) is
// declared in text, an HTML text of its linked declaration or of the part
// from the name on: the first whole word (forEachWholeWord) for a macro or
// a function pointer; for a function the first followed by its argument
// list outside a template's arguments (else the first followed by one),
// else the first followed by type parameters; for anything else the last.
// npos when the name stands nowhere. Other occurrences of the word are a
// type or a parameter of the same name. Time linear in the text.
std::size_t declaredNameAt(const CppClassMember& member, std::string_view text,
                           std::string_view name, bool needFollower);

// Splits the (linked) declaration into the part before the member's name
// and the part from the name on (declaredNameAt); array dimensions after
// the name move to the end of the type part in the order written. A
// throw(...) exception list is cut from the name part. Time linear in the
// declaration.
void splitSignature(const CppClassMember& member, std::string& typePart,
                    std::string& namePart);
// Cuts the text at its first " throw(", keeping a closing " = 0".
void stripThrowSpecification(std::string& text);

// The first position at or after from in text of first, '"', '&' or '<':
// the characters forEachWholeWord stops at. npos when none.
std::size_t nextWholeWordMark(std::string_view text, std::size_t from, char first);

// Calls found(position) for each whole-word occurrence of word in an HTML
// text, in text order, outside quotes (a '"' or "&quot;" toggles) and
// outside anchors ("<a" .. "</"), until a found that returns a bool returns
// false. A whole word is not preceded by a letter, digit or "_" and not
// followed by one; with needFollower the word must not end the text.
template <typename Found>
void forEachWholeWord(std::string_view text, std::string_view word, bool needFollower,
                      Found&& found) {
    if (word.empty()) return;
    auto isIdent = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_';
    };
    const char first = word[0];
    bool inQuotes = false;
    bool inAnchor = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // Only these characters change the state or can start a match.
        i = nextWholeWordMark(text, i, first);
        if (i == std::string_view::npos) break;
        const char c = text[i];
        if (c == '"') {
            inQuotes = !inQuotes;
            continue;
        }
        if (c == '&') {
            if (text.compare(i, 6, "&quot;") == 0) {
                inQuotes = !inQuotes;
                i += 5;
                continue;
            }
            // An entity is one character of the shown text: "lt" in "&lt;"
            // is never a word. Its ';' lies within six characters.
            if (!inQuotes) {
                std::size_t semicolon = text.substr(i, 7).find(';');
                if (semicolon != std::string_view::npos &&
                    text.compare(i, word.size(), word) != 0) {
                    i += semicolon;
                    continue;
                }
            }
        }
        if (c == '<' && i + 1 < text.size()) {
            char next = text[i + 1];
            if (next == 'a' || next == 'A') {
                inAnchor = true;
            } else if (next == '/') {
                inAnchor = false;
                // The closing tag's own name ("</a>") is no word.
                std::size_t close = text.find('>', i);
                if (close != std::string_view::npos) i = close;
                continue;
            }
        }
        if (inQuotes || inAnchor || c != first || text.compare(i, word.size(), word) != 0)
            continue;
        std::size_t end = i + word.size();
        if (needFollower && end >= text.size()) continue;
        if (i > 0 && isIdent(text[i - 1])) continue;
        if (end < text.size() && isIdent(text[end])) continue;
        if constexpr (std::is_same_v<decltype(found(i)), bool>) {
            if (!found(i)) return;
        } else {
            found(i);
        }
        // A match may itself hold quotes; skip it whole.
        i = end - 1;
    }
}
