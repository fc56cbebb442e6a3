#include "modules/standard/PageCodeLinks.h"

#include "model/CppClass.h"
#include "modules/standard/DocClassList.h"
#include "modules/standard/DocCppClass.h"
#include "modules/standard/PageWriters.h"
#include "modules/standard/ModuleText.h"
#include "modules/standard/PageEscape.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

std::string fileNamePart(const std::string& path) {
    std::size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
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
    if (className.empty())
        target = entity.getClass();
    else if (classList)
        target = classList->resolveLinkTarget(package, entity.getClass(), className, true);

    bool linked = target && !target->isUnresolved() &&
                  (package.empty() || package == target->getPackage());
    if (linked) {
        out += "<a href=\"";
        appendHrefEscaped(out, target->getPageFile(linkPrefix));
        // A member written with its argument types links to the entry of its
        // name, which every member detail carries beside its signature anchor.
        if (hasMember) {
            out += '#';
            appendEscapedHtml(out, member.substr(0, member.find('(')));
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
    std::string shown = tag.empty() ? text : "<" + tag + ">" + text + "</" + tag + ">";
    std::string href = anchor.empty() ? page : page + "#" + anchor;
    return "<a href=\"" + href + "\">" + shown + "</a>";
}

std::string classLink(const CppClass& cls, const std::string& prefix, const std::string& tag) {
    if (cls.isUnresolved()) return "<code>" + escapeHtml(cls.getName()) + "</code>";
    return buildLink(escapeHtml(cls.getName()), hrefEscape(cls.getPageFile(prefix)), tag, "");
}

std::string sourceFileLink(const std::string& path, const std::string& location) {
    std::string name = fileNamePart(path);
    // A location of the user's own (a URL prefix) is kept as written.
    std::string href = location == "." ? hrefEscape(name + ".html")
                                       : escapeHtml(location) + "/" + hrefEscape(path);
    return "<A HREF=\"" + href + "\">" + escapeHtml(name) + "</A>";
}

std::string afterLastDot(const std::string& path) {
    std::string name = fileNamePart(path);
    std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? "" : name.substr(dot + 1);
}

void writeCodeLink(const CppClassEntity& entity, const std::string& reference, std::ostream& out) {
    out << codeLink(entity, reference, classListOf(&entity), "../");
}
