#include "modules/standard/PageCodeLinks.h"

#include "VelkLib/VelkPath.h"

#include "model/CppClass.h"
#include "modules/standard/DocClassList.h"
#include "modules/standard/DocCppClass.h"
#include "modules/standard/PageMembers.h"
#include "modules/standard/PageWriters.h"
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

void appendCodeLink(std::string& out, const CppClassEntity& entity, std::string_view reference,
                    const DocClassList* classList, const std::string& linkPrefix) {
    if ((reference.size() >= 2 && reference[0] == '"') ||
        (!reference.empty() && reference[0] == '<')) {
        out += reference;
        return;
    }

    std::string_view name = reference;
    std::string_view label;
    // Blanks inside an argument list ("#moveBy(double, double)") belong to
    // the name, not to the label.
    int depth = 0;
    for (std::size_t i = 0; i < reference.size(); ++i) {
        if (reference[i] == '(') ++depth;
        if (reference[i] == ')' && depth > 0) --depth;
        if (depth == 0 && isBlank(reference[i])) {
            name = reference.substr(0, i);
            label = trimmedView(reference.substr(i + 1));
            break;
        }
    }

    std::string_view member;
    bool hasMember = false;
    std::string_view rest = name;
    std::size_t hash = name.rfind('#');
    if (hash != std::string_view::npos) {
        member = name.substr(hash + 1);
        rest = name.substr(0, hash);
        hasMember = true;
    }

    std::string package;
    std::string className;
    bool packageWritten = false;
    std::size_t dot = rest.rfind('.');
    if (dot != std::string_view::npos) {
        package.assign(rest.substr(0, dot));
        className.assign(rest.substr(dot + 1));
        packageWritten = true;
        if (className.empty()) className = globalsLinkLabel(package);
    } else {
        className.assign(rest);
    }
    const std::string entityPackage = entity.getPackage();
    if (package.empty()) package = entityPackage;

    const CppClass* target = nullptr;
    if (className.empty()) {
        target = entity.getClass();
    } else if (classList) {
        // A nested class ("Map.Entry", "Outer.Inner") as Java sees it from
        // here; failing that, the last "." parts package from class.
        target = classList->resolveNestedName(entityPackage, entity.getClass(),
                                              std::string_view(rest));
        if (!target) {
            target = classList->resolveLinkTarget(package, entity.getClass(), className, true);
            if (target && !package.empty() && package != target->getPackage()) target = nullptr;
        }
    }

    bool linked = target && !target->isUnresolved();
    if (linked) {
        // A member lies on the page of the class that declares it: the
        // target, one of its ancestors or, for a bare "#member", a class
        // around the entity's own. One that no documented class declares
        // leaves the link on the class page without an anchor.
        std::string_view memberName = trimmedView(member.substr(0, member.find('(')));
        const CppClass* declarer =
            hasMember && classList && !memberName.empty()
                ? classList->memberDeclarer(*target, memberName, className.empty())
                : nullptr;
        if (hasMember && !classList && !memberName.empty()) declarer = target;
        out += "<a href=\"";
        appendHrefEscaped(out, (declarer ? declarer : target)->getPageFile(linkPrefix));
        // A member written with its argument types links to the entry of
        // the overload with those types; without them, or when none has
        // them, to the first entry of its name.
        if (declarer) {
            out += '#';
            const std::string_view written = trimmedView(member);
            const CppClassMember* overload =
                written.find('(') != std::string_view::npos ? overloadNamed(*declarer, written)
                                                            : nullptr;
            if (overload) appendMemberAnchor(out, *overload);
            else appendAnchorText(out, memberName, false);
        }
        out += "\">";
    }
    out += "<CODE>";
    if (label.empty()) {
        if (packageWritten && package != entityPackage) {
            out += package;
            out += '.';
        }
        out += className;
        if (hasMember && !className.empty()) out += entity.getScopeSeparator();
        out += member;
    } else {
        out += label;
    }
    out += "</CODE>";
    if (linked) out += "</a>";
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

std::string classLink(const CppClass& cls, const std::string& prefix, const std::string& tag) {
    const std::string& name = cls.getName();
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
