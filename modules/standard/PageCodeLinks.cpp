#include "modules/standard/PageCodeLinks.h"

#include "VelkLib/VelkPath.h"

#include "model/CppClass.h"
#include "model/CppClassMember.h"
#include "model/GenericNames.h"
#include "modules/standard/DocClassList.h"
#include "modules/standard/DocCppClass.h"
#include "modules/standard/PageMembers.h"
#include "modules/standard/PageWriters.h"
#include "modules/common/DocText.h"
#include "modules/common/ModuleText.h"
#include "modules/common/PageEscape.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

std::string_view fileNamePart(std::string_view path) {
    std::size_t cut = findLastOfEither(path, '/', '\\');
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

// text, wrapped in <tag>..</tag> when a tag is given.
void appendTagged(std::string& out, const std::string& text, const std::string& tag) {
    if (tag.empty()) {
        out += text;
        return;
    }
    out += '<';
    out += tag;
    out += '>';
    out += text;
    out += "</";
    out += tag;
    out += '>';
}

}  // namespace

std::string codeLink(const CppClassEntity& entity, const std::string& reference,
                     const DocClassList* classList, const std::string& linkPrefix) {
    std::string out;
    appendCodeLink(out, entity, reference, classList, linkPrefix);
    return out;
}

namespace {

// A reference split into its parts: [package.]class[#member] and a label.
struct ReferenceParts {
    std::string_view name;
    std::string_view label;
    std::string_view rest;    // the name before its "#"
    std::string_view member;  // after the "#"
    bool hasMember = false;
};

ReferenceParts splitReference(std::string_view reference) {
    ReferenceParts parts;
    parts.name = reference;
    // Blanks inside an argument list ("#moveBy(double, double)") or type
    // arguments ("Map{K, V}", a C++ specialisation's "Traits<int, 4>")
    // belong to the name, not to the label. The "<" of "operator<" opens
    // no list.
    int depth = 0;
    for (std::size_t i = 0; i < reference.size(); ++i) {
        const char c = reference[i];
        const bool angle = (c == '<' && !reference.substr(0, i).ends_with("operator")) ||
                           (c == '>' && i > 0 && reference[i - 1] != '-');
        if (c == '(' || c == '{' || (angle && c == '<')) ++depth;
        if ((c == ')' || c == '}' || (angle && c == '>')) && depth > 0) --depth;
        if (depth == 0 && isBlank(c)) {
            parts.name = reference.substr(0, i);
            parts.label = trimmedView(reference.substr(i + 1));
            break;
        }
    }
    parts.rest = parts.name;
    const std::size_t hash = parts.name.rfind('#');
    if (hash != std::string_view::npos) {
        parts.member = parts.name.substr(hash + 1);
        parts.rest = parts.name.substr(0, hash);
        parts.hasMember = true;
    }
    return parts;
}

// The position of the last "." that stands outside brackets and braces
// (a "." in an argument list or in type arguments parts nothing); npos
// when none does.
std::size_t lastDotOutsideBrackets(std::string_view name) {
    std::size_t dot = std::string_view::npos;
    int depth = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (c == '(' || c == '{' || c == '[') ++depth;
        else if ((c == ')' || c == '}' || c == ']') && depth > 0) --depth;
        else if (c == '.' && depth == 0) dot = i;
    }
    return dot;
}

// C# references write type arguments in braces ("Cache{TKey}"): they are
// shown in angle brackets. Elsewhere a brace is the author's own text. The
// angle brackets of a C++ specialisation ("Traits<int, 4>") are shown, not
// read as markup.
void appendShownName(std::string& out, std::string_view name, bool csharp, bool cpp = false) {
    if (cpp && name.find_first_of("<>") != std::string_view::npos) {
        for (char c : name) {
            if (c == '<') out += "&lt;";
            else if (c == '>') out += "&gt;";
            else if (c == '&') out += "&amp;";
            else out += c;
        }
        return;
    }
    if (!csharp ||
        (name.find('{') == std::string_view::npos && name.find('}') == std::string_view::npos)) {
        out += name;
        return;
    }
    for (char c : name) {
        if (c == '{') out += "&lt;";
        else if (c == '}') out += "&gt;";
        else out += c;
    }
}

// What a reference leads to.
struct ReferenceTarget {
    const CppClass* target = nullptr;    // a documented class, or null
    const CppClass* declarer = nullptr;  // the class whose page holds the member
    std::string package;                 // as written, else the entity's
    std::string className;               // as written, type arguments kept
    bool packageWritten = false;
};

ReferenceTarget resolveReference(const CppClassEntity& entity, const ReferenceParts& parts,
                                 const DocClassList* classList) {
    ReferenceTarget found;
    const std::size_t dot = lastDotOutsideBrackets(parts.rest);
    if (dot != std::string_view::npos) {
        found.package.assign(parts.rest.substr(0, dot));
        found.className.assign(parts.rest.substr(dot + 1));
        found.packageWritten = true;
        if (found.className.empty()) found.className = globalsLinkLabel(found.package);
    } else {
        found.className.assign(parts.rest);
    }
    const std::string entityPackage = entity.getPackage();
    if (found.package.empty()) found.package = entityPackage;

    if (found.className.empty()) {
        found.target = entity.getClass();
    } else if (classList) {
        // A nested class ("Map.Entry", "Outer.Inner") as Java sees it from
        // here, or one the source imports; failing that, the last "." parts
        // package from class. Type arguments are looked up as written: they
        // tell apart the C# twins of a name.
        found.target = classList->resolveNestedName(entityPackage, entity.getClass(), parts.rest);
        // Java and C# names are read by the languages' rules alone.
        if (!found.target && !DocClassList::followsImports(entity.getClass())) {
            const std::string package = withoutAnyTypeParameters(found.package);
            found.target = classList->resolveLinkTarget(package, entity.getClass(),
                                                        found.className, true);
            if (found.target && !package.empty() && package != found.target->getPackage())
                found.target = nullptr;
        }
    }
    if (found.target && found.target->isUnresolved()) found.target = nullptr;
    if (!found.target) return found;
    // A member lies on the page of the class that declares it: the target,
    // one of its ancestors or, for a bare "#member", a class around the
    // entity's own. One that no documented class declares leaves the link
    // on the class page without an anchor.
    const std::string memberName =
        withoutAnyTypeParameters(trimmedView(parts.member.substr(0, parts.member.find('('))));
    if (parts.hasMember && !memberName.empty())
        found.declarer = classList ? classList->memberDeclarer(*found.target, memberName,
                                                               found.className.empty())
                                   : found.target;
    return found;
}

// The member of `declarer` that a written member ("name", "name(types)")
// names: with an argument list the overload with those types, else the
// first of the name; null when none.
const CppClassMember* writtenMember(const CppClass& declarer, std::string_view written,
                                    bool functionsToo) {
    const std::string plain = withoutAnyTypeParameters(trimmedView(written));
    if (plain.find('(') != std::string::npos) {
        // Argument types written with braces are types with arguments.
        std::string types(trimmedView(written));
        for (char& c : types) c = c == '{' ? '<' : c == '}' ? '>' : c;
        return overloadNamed(declarer, types);
    }
    for (const CppClassMember* member : declarer.getMembers())
        if (member->getName() == plain && (functionsToo || !member->hasArgumentList()))
            return member;
    return nullptr;
}

bool isCSharpEntity(const CppClassEntity& entity) {
    const CppClass* cls = entity.getClass();
    return cls && isXmlDocLanguage(cls->getLanguage());
}

void appendReference(std::string& out, const CppClassEntity& entity, const ReferenceParts& parts,
                     const ReferenceTarget& found, const std::string& linkPrefix, bool code) {
    if (found.target) {
        out += "<a href=\"";
        appendHrefEscaped(out, (found.declarer ? found.declarer : found.target)->getPageFile(linkPrefix));
        // A member written with its argument types links to the entry of
        // the overload with those types; without them, or when none has
        // them, to the first entry of its name.
        if (found.declarer) {
            out += '#';
            const CppClassMember* overload =
                parts.member.find('(') != std::string_view::npos
                    ? writtenMember(*found.declarer, parts.member, true)
                    : nullptr;
            if (overload) appendMemberAnchor(out, *overload);
            else
                appendAnchorText(out,
                                 withoutAnyTypeParameters(trimmedView(
                                     parts.member.substr(0, parts.member.find('(')))),
                                 false);
        }
        out += "\">";
    }
    if (code) out += "<CODE>";
    if (parts.label.empty()) {
        const bool csharp = isCSharpEntity(entity);
        if (found.packageWritten && found.package != entity.getPackage()) {
            appendShownName(out, found.package, csharp);
            out += '.';
        }
        const CppClass* cls = entity.getClass();
        appendShownName(out, found.className, csharp, cls && cls->getLanguage() == 0);
        if (parts.hasMember && !found.className.empty()) out += entity.getScopeSeparator();
        appendShownName(out, parts.member, csharp);
    } else {
        out += parts.label;
    }
    if (code) out += "</CODE>";
    if (found.target) out += "</a>";
}

// A C# reference names a member as "Class.Member", or "Member" in its own
// class, where Java writes "Class#Member" and "#Member": for a name that
// no class bears, the same reference with its last "." (before an
// argument list) read as "#", or with "#" before it.
std::string asMemberReference(std::string_view name) {
    if (name.empty() || name.find('#') != std::string_view::npos) return {};
    const std::size_t dot = lastDotOutsideBrackets(name);
    if (dot == 0) return {};
    std::string member(name);
    if (dot == std::string_view::npos) member.insert(0, 1, '#');
    else member[dot] = '#';
    return member;
}

}  // namespace

void appendCodeLink(std::string& out, const CppClassEntity& entity, std::string_view reference,
                    const DocClassList* classList, const std::string& linkPrefix, bool code) {
    if ((reference.size() >= 2 && reference[0] == '"') ||
        (!reference.empty() && reference[0] == '<')) {
        out += reference;
        return;
    }
    const ReferenceParts parts = splitReference(reference);
    ReferenceTarget found = resolveReference(entity, parts, classList);
    if (!found.target && isCSharpEntity(entity)) {
        const std::string member = asMemberReference(parts.name);
        if (!member.empty()) {
            ReferenceParts memberParts = splitReference(member);
            memberParts.label = parts.label;
            ReferenceTarget asMember = resolveReference(entity, memberParts, classList);
            // A member of its own class only where the class has it; else
            // of a class whose members a using static directive brings
            // into view.
            const bool own = memberParts.rest.empty();
            if (own && asMember.target && !asMember.declarer && classList)
                if (const CppClass* declarer = classList->staticMemberDeclarer(
                        entity.getClass(), withoutAnyTypeParameters(trimmedView(memberParts.member.substr(
                                               0, memberParts.member.find('(')))))) {
                    asMember.target = asMember.declarer = declarer;
                }
            if (asMember.target && (asMember.declarer || !own)) {
                appendReference(out, entity, memberParts, asMember, linkPrefix, code);
                return;
            }
        }
    }
    appendReference(out, entity, parts, found, linkPrefix, code);
}

ReferencedMember referencedMember(const CppClassEntity& entity, std::string_view reference,
                                  const DocClassList* classList) {
    const ReferenceParts parts = splitReference(trimmedView(reference));
    if (!parts.hasMember) return {};
    const ReferenceTarget found = resolveReference(entity, parts, classList);
    if (!found.declarer) return {};
    return {found.declarer, withoutAnyTypeParameters(
                                trimmedView(parts.member.substr(0, parts.member.find('('))))};
}

std::string buildLink(const std::string& text, const std::string& page, const std::string& tag,
                      const std::string& anchor) {
    std::string out;
    out.reserve(text.size() + page.size() + anchor.size() + 2 * tag.size() + 20);
    out += "<a href=\"";
    out += page;
    if (!anchor.empty()) {
        out += '#';
        out += anchor;
    }
    out += "\">";
    appendTagged(out, text, tag);
    out += "</a>";
    return out;
}

std::string classLink(const CppClass& cls, const std::string& prefix, const std::string& tag,
                      const std::string& shown) {
    const std::string& name = shown.empty() ? cls.getName() : shown;
    std::string out;
    if (cls.isUnresolved()) {
        out.reserve(name.size() + 16);
        out += "<code>";
        appendEscapedHtml(out, name);
        out += "</code>";
        return out;
    }
    std::string page = cls.getPageFile(prefix);
    out.reserve(page.size() + 2 * name.size() + 2 * tag.size() + 24);
    out += "<a href=\"";
    appendHrefEscaped(out, page);
    out += "\">";
    if (!tag.empty()) {
        out += '<';
        out += tag;
        out += '>';
    }
    appendEscapedHtml(out, name);
    if (!tag.empty()) {
        out += "</";
        out += tag;
        out += '>';
    }
    out += "</a>";
    return out;
}

std::string sourceFileLink(const std::string& path, const std::string& location,
                           const std::string& listingName) {
    std::string_view name = fileNamePart(path);
    std::string out;
    out.reserve(path.size() + location.size() + name.size() + 32);
    out += "<A HREF=\"";
    // A location of the user's own (a URL prefix) is kept as written.
    if (location == ".") {
        // The listing's own name, shortened as the listing was.
        appendHrefEscaped(out, listingName.empty() ? plainListingName(path) : listingName);
    } else {
        appendEscapedHtml(out, location);
        out += '/';
        appendHrefEscaped(out, path);
    }
    out += "\">";
    appendEscapedHtml(out, name);
    out += "</A>";
    return out;
}

std::string afterLastDot(const std::string& path) {
    std::string_view name = fileNamePart(path);
    std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot + 1));
}

void writeCodeLink(const CppClassEntity& entity, const std::string& reference, std::ostream& out) {
    out << codeLink(entity, reference, classListOf(&entity), "../");
}
