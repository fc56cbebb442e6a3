// References in documentation texts turned into links, and the small link
// builders that the page writers share.
#pragma once

#include <string>
#include <string_view>

class CppClass;
class CppClassEntity;
class CppClassMember;
class DocClassList;

// A reference written in entity's documentation ("[package.]class[#member]
// [label]") as HTML: a link to the class page (and the member's anchor)
// wrapped around "<CODE>" label "</CODE>", or the code text alone when the
// class cannot be resolved or lies in another package than the one written.
// A class is found as DocClassList::resolveNestedName finds it (for Java
// and C#, by the language's rules, through the source's imports); for the
// other languages, failing that, as resolveLinkTarget does in the package
// written. A quoted title or ready HTML ("..." or "<...") comes back
// unchanged. Blanks inside a member's argument list, or inside type
// arguments in braces ("Map{K, V}", as C# writes them), do not end the
// name; type arguments pick the C# twin of their number and are shown in
// angle brackets. A member written with an argument list links to the overload
// with those argument types, else to the anchor of its plain name. In the
// documentation of a C# entity, a name that no class bears is read with
// its last "." as "#" ("Class.Member"), or, without a ".", as a member of
// the entity's class ("#Member") when that class has one of the name, else
// of a class whose members a "using static" directive brings into view.
// linkPrefix is put before the target's page path. classList may be null:
// then only "#member" references to the entity's own class link.
std::string codeLink(const CppClassEntity& entity, const std::string& reference,
                     const DocClassList* classList, const std::string& linkPrefix);
// codeLink appended to out; with code clear, the label is plain text (no
// "<CODE>").
void appendCodeLink(std::string& out, const CppClassEntity& entity, std::string_view reference,
                    const DocClassList* classList, const std::string& linkPrefix,
                    bool code = true);
// The member that a reference with a member part ("#NAME", "Class#NAME")
// names, as codeLink finds it: the class that declares it and its name (no
// type parameters, no argument list); a null class when no documented
// class declares it. Takes no longer for a class of many members.
struct ReferencedMember {
    const CppClass* declarer = nullptr;
    std::string name;
};
ReferencedMember referencedMember(const CppClassEntity& entity, std::string_view reference,
                                  const DocClassList* classList);

// <a href="PAGE[#ANCHOR]">TEXT</a>, TEXT first wrapped in <TAG>..</TAG>
// when a tag is given; the anchor part only for a non-empty anchor.
// Nothing is escaped.
std::string buildLink(const std::string& text, const std::string& page,
                      const std::string& tag, const std::string& anchor);

// The link to a class's page with the name (or, when given, shown)
// HTML-escaped, or, for a name that no documented class stands for (an
// unresolved base), the name as code text. tag wraps the name when not
// empty.
std::string classLink(const CppClass& cls, const std::string& prefix,
                      const std::string& tag = "", const std::string& shown = "");

// A link to the listing page of a source file. With the location "." the
// page is listingName beside the current page (the file's name + ".html"
// when listingName is empty); otherwise it is location + "/" + path. The
// shown text is the file's name (after its last "/" or "\"), escaped.
std::string sourceFileLink(const std::string& path, const std::string& location,
                           const std::string& listingName = "");

// The extension of a file path's name: after its last "."; "" when the name
// holds no "." or ends in one.
std::string afterLastDot(const std::string& path);
