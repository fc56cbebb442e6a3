#include "modules/old/ClassPage.h"

#include "VelkLib/VelkDirectory.h"
#include "VelkLib/VelkFile.h"
#include "VelkLib/VelkPath.h"
#include "model/CppClass.h"
#include "model/CppClassMember.h"
#include "model/GenericNames.h"
#include "model/ModelText.h"
#include "modules/common/ModuleText.h"
#include "modules/common/PageBounds.h"
#include "modules/common/PageDateTime.h"
#include "modules/common/PageEscape.h"
#include "modules/common/ShownBase.h"
#include "modules/old/ConstantValues.h"
#include "modules/old/DocClassList.h"
#include "modules/old/OldRecords.h"

#include <algorithm>
#include <map>
#include <unordered_map>
#include <unordered_set>

namespace vantry_old {

namespace {

std::string afterLastOf(const std::string& text, const char* separators) {
    std::size_t cut = text.find_last_of(separators);
    return cut == std::string::npos ? text : text.substr(cut + 1);
}

// "See <link>.<br>" lines for the first two source files of cls or one
// of its members.
void appendSourceReferences(std::string& out, const std::vector<InternedText>& files,
                            const DocClassList& list, const CppClass& cls) {
    const std::string& sourceDirectory = list.settings.sourceDirectoryText;
    if (sourceDirectory == "?") return;
    for (std::size_t i = 0; i < files.size() && i < 2; ++i) {
        if (files[i].empty()) continue;
        const std::string name = fileNameOf(files[i]);
        out += "See <A HREF=\"";
        // A location of the user's own (a URL prefix) is kept as written.
        if (sourceDirectory == ".") {
            out += hrefEscape(list.listingPageOf(cls, files[i]));
        } else {
            appendEscapedHtml(out, sourceDirectory);
            out += '/';
            out += hrefEscape(name);
        }
        out += "\">";
        appendEscapedHtml(out, name);
        out += "</A>.<br>\n";
    }
}

// Ancestors that get a line of the tree: the classes of the chain; for an
// interface, or a class whose ancestors are all interfaces, every ancestor.
std::vector<CppClass*> treeLines(const CppClass& cls, const std::vector<CppClass*>& ancestors) {
    if (cls.isInterface()) return ancestors;
    std::vector<CppClass*> lines;
    for (CppClass* ancestor : ancestors)
        if (!ancestor->isInterface()) lines.push_back(ancestor);
    return lines.empty() ? ancestors : lines;
}

// The deepest level that is still indented further.
constexpr std::size_t maxIndentLevels = 32;

// Draws the nearest maxAncestorsShown lines, below a line "..."; returns
// true when it left any out.
bool appendInheritanceTree(std::string& out, const DocClassList& list, const CppClass& cls,
                           const std::vector<CppClass*>& ancestors) {
    if (ancestors.empty()) return false;
    std::vector<CppClass*> lines = treeLines(cls, ancestors);
    const bool withInterfaces = lines.size() != ancestors.size();
    // A line left out is still a line: its class goes nowhere else.
    const std::unordered_set<const CppClass*> allLines(lines.begin(), lines.end());
    const bool cut = lines.size() > maxAncestorsShown;
    if (cut) lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(maxAncestorsShown));
    auto onLines = [&](const CppClass* c) { return allLines.contains(c); };
    std::vector<const CppClass*> shown;  // interfaces added to a line so far
    auto addInterface = [&](const CppClass& base) {
        out += ", ";
        out += base.getLink("../", "", "", false);
        shown.push_back(&base);
    };
    out += "<PRE>\n";
    std::string indent;
    std::size_t levels = 0;
    if (cut) {
        out += "...\n   |\n   +--";
        indent += "      ";
        ++levels;
    }
    for (CppClass* ancestor : lines) {
        // Below the first line a link follows the "+--" of the line above.
        out += ancestor->getLink("../", "", "", false);
        if (withInterfaces) {
            // The interfaces of the list that this ancestor names as its bases.
            for (CppClass* base : list.baseClasses(*ancestor))
                if (base && base->isInterface() &&
                    std::find(ancestors.begin(), ancestors.end(), base) != ancestors.end())
                    addInterface(*base);
            // Those that no line names (the class's own, and what they
            // extend) go on the line the class hangs from.
            if (ancestor == lines.back())
                for (const CppClass* other : ancestors)
                    if (!onLines(other) &&
                        std::find(shown.begin(), shown.end(), other) == shown.end())
                        addInterface(*other);
        }
        out += '\n';
        out += indent + "   |\n";
        out += indent + "   +--";
        // A deep chain keeps the indentation of maxIndentLevels.
        if (++levels <= maxIndentLevels) indent += "      ";
    }
    out += "<B>";
    appendEscapedHtml(out, cls.getName());
    out += "</B>\n\n</PRE>\n";
    return cut;
}

using MemberGroup = std::vector<const CppClassMember*>;

void sortMembers(MemberGroup& group) {
    std::stable_sort(group.begin(), group.end(),
                     [](const CppClassMember* a, const CppClassMember* b) {
                         return compareNames(a->getName(), b->getName()) < 0;
                     });
}

void appendSectionHead(std::string& out, const std::string& title) {
    out += "<h2><br>\n";
    appendEscapedHtml(out, title);
    out += "\n</h2>\n<blockquote>\n";
}

// The anchors of a page's member details. Each member's is its compact
// signature; one that an earlier member of the page took already (overloads
// that differ only in const) gets "-2", "-3"... behind it, so that each
// index entry leads to its own member. A member's name is an anchor too,
// for the first member whose name no other anchor of the page is.
struct MemberAnchors {
    std::unordered_map<const CppClassMember*, std::string> signature;
    std::unordered_map<const CppClassMember*, std::string> name;  // only where written

    // groups in the order the page shows them.
    explicit MemberAnchors(const std::vector<const MemberGroup*>& groups) {
        std::unordered_set<std::string> taken{"_top_"};  // the page's own
        for (const MemberGroup* group : groups)
            for (const CppClassMember* member : *group) taken.insert(memberSignature(*member, true));
        std::unordered_set<std::string> given;
        for (const MemberGroup* group : groups)
            for (const CppClassMember* member : *group) {
                const std::string base = memberSignature(*member, true);
                std::string anchor = base;
                for (int number = 2; given.contains(anchor) || (anchor != base && taken.contains(anchor)); ++number)
                    anchor = base + "-" + std::to_string(number);
                given.insert(anchor);
                taken.insert(anchor);
                signature.emplace(member, std::move(anchor));
            }
        for (const MemberGroup* group : groups)
            for (const CppClassMember* member : *group) {
                std::string own = escapeHtml(member->getName());
                if (taken.insert(own).second) name.emplace(member, std::move(own));
            }
    }
};

void appendIndexSection(std::string& out, const std::string& title, const MemberGroup& group,
                        const MemberAnchors& anchors) {
    appendSectionHead(out, title);
    for (const CppClassMember* member : group) {
        out += "<a href=\"#";
        out += anchors.signature.at(member);
        out += "\">";
        out += memberSignature(*member, false);
        out += "</a><br>\n";
    }
    out += "</blockquote><p>\n";
}

void appendDetailSection(std::string& out, const std::string& title, const MemberGroup& group,
                         const DocClassList& list, const CppClass& cls, const MemberAnchors& anchors) {
    appendSectionHead(out, title);
    for (const CppClassMember* member : group) {
        const std::string name = escapeHtml(member->getName());
        out += "<A NAME=\"" + anchors.signature.at(member) + "\"><!-- --></A>\n";
        if (auto own = anchors.name.find(member); own != anchors.name.end())
            out += "<A NAME=\"" + own->second + "\"><!-- --></A>\n";
        out += "<b>" + name + "</b>\n";
        out += "<blockquote>\n<pre>\n";
        out += member->getType();
        out += "\n</pre>\n<blockquote>\n";
        out += shownComment(list, *member, "../");
        out += "\n</blockquote>\n";
        appendSourceReferences(out, member->getFileNames(), list, cls);
        out += "</blockquote><br>\n";
    }
    out += "</blockquote><p>\n";
}

}  // namespace

bool isConstructor(const CppClassMember& member, const CppClass& cls) {
    if (!member.hasArgumentList()) return false;
    const std::string name = afterLastOf(member.getName(), ":.");
    // A C# twin "Box<T>" names its constructors "Box".
    const std::string className = afterLastOf(std::string(withoutTypeParameters(cls.getName())), ":.");
    return !className.empty() && (name == className || name == "~" + className);
}

std::string memberSignature(const CppClassMember& member, bool compact) {
    std::string text = member.getName();
    if (member.hasArgumentList()) {
        text += '(';
        const auto& arguments = member.getArguments();
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            if (i > 0) text += ',';
            text += arguments[i];
        }
        text += ')';
    }
    if (compact) std::erase_if(text, [](char c) { return c == ' ' || c == '\t'; });
    return escapeHtml(text);
}

std::string classPageText(const DocClassList& list, const CppClass& cls,
                          const std::vector<CppClass*>& ancestors, const std::string& backLink,
                          const DateTime& now, bool* ancestryCut) {
    const std::string heading = escapeHtml(capitalised(cls.getKind()) + " " + cls.getName());
    const std::string back = hrefEscape(backLink);
    std::string out;
    out.reserve(4096);
    out += "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">\n<html>\n";
    out += "<head><!-- Generated by Vantry on " + now.format("%B %d, %Y at %H:%M") + " -->\n";
    out += "<title>\n" + heading + "\n</title>\n";
    out += "</head>\n<body>\n<a name=\"_top_\"></a>\n";
    out += "<pre><a href=\"" + back + "\">Back to Index</a></pre>\n";
    out += "<hr>\n<h1>\n" + heading + "\n</h1>\n";
    out += "<h3>\nProject: <b>" + escapeHtml(lastPathPart(cls.getPackage())) + "</b>\n</h3>\n";
    out += "<pre>\n";
    const bool cut = appendInheritanceTree(out, list, cls, ancestors);
    if (ancestryCut) *ancestryCut = cut;
    out += "</pre>\n<hr>\n";

    out += "<dl>\n<dt>" + escapeHtml(cls.getKind()) + " <b>" + escapeHtml(cls.getName()) + "</b>\n";
    if (!cls.getBases().empty()) {
        out += "<dt> extends ";
        bool first = true;
        for (const auto& entry : cls.getBases()) {
            if (!first) out += ", ";
            first = false;
            const CppClass* base = list.resolveBase(cls, entry.first);
            const std::string shown = escapeHtml(shownBaseText(cls, entry.first, base));
            out += base ? makeLink(shown, hrefEscape(base->getPageFile("../")), "", "") : shown;
        }
        out += '\n';
    }
    out += "</dl><p>\n";
    out += shownComment(list, cls, "../");
    out += '\n';
    appendSourceReferences(out, cls.getFileNames(), list, cls);
    out += "<hr>\n";

    MemberGroup constructors;
    std::map<std::string, MemberGroup> byAccess;  // access words in byte order
    for (const CppClassMember* member : cls.getMembers()) {
        if (isConstructor(*member, cls)) constructors.push_back(member);
        else byAccess[member->getAccess()].push_back(member);
    }
    sortMembers(constructors);
    for (auto& entry : byAccess) sortMembers(entry.second);
    if (!constructors.empty() || !byAccess.empty()) {
        std::vector<const MemberGroup*> groups{&constructors};
        for (const auto& entry : byAccess) groups.push_back(&entry.second);
        const MemberAnchors anchors(groups);
        if (!constructors.empty()) appendIndexSection(out, "Constructor Index", constructors, anchors);
        for (const auto& [access, group] : byAccess)
            appendIndexSection(out, capitalised(access) + " Member Index", group, anchors);
        out += "<hr>\n";
        if (!constructors.empty())
            appendDetailSection(out, "Constructors", constructors, list, cls, anchors);
        for (const auto& [access, group] : byAccess)
            appendDetailSection(out, capitalised(access) + " Members", group, list, cls, anchors);
    }
    out += "<hr> <pre><a href=\"" + back + "\">Back to Index</a>  " +
           "<a href=\"#_top_\">Back to Top</a></pre>\n";
    return out;
}

void writeClassPage(const DocClassList& list, const CppClass& cls,
                    const std::vector<CppClass*>& ancestors, const std::string& backLink,
                    const DateTime& now) {
    const std::string& detail = list.settings.detailDirectory;
    const std::string page = cls.getPageFile("");
    const std::string directory = directoryOf(page);
    if (directory != ".") makeSiteDirectory(detail + "/" + directory, list.settings.stagedPages);
    VelkOutFile file(detail + "/" + page, list.settings.stagedPages);
    bool ancestryCut = false;
    file.write(classPageText(list, cls, ancestors, backLink, now, &ancestryCut));
    file.close();
    const OldModuleSettings& settings = list.settings;
    if (ancestryCut && settings.error) {
        const std::string warning = "The page of " + cls.getKind() + " " + cls.getName() + " shows only its nearest " +
                                    std::to_string(maxAncestorsShown) + " ancestors.";
        settings.error(warning.c_str(), settings.callbackContext);
    }
}

}  // namespace vantry_old
