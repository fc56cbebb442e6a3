#include "modules/standard/PageClassDetail.h"

#include "VelkLib/VelkDirectory.h"
#include "VelkLib/VelkError.h"
#include "VelkLib/VelkFile.h"
#include "model/CppClass.h"
#include "model/CppClassMember.h"
#include "modules/standard/DocClassList.h"
#include "modules/standard/DocCppClass.h"
#include "modules/standard/PageClassTree.h"
#include "modules/common/ShownBase.h"
#include "modules/standard/PageCodeLinks.h"
#include "modules/standard/PageDocBlock.h"
#include "modules/common/PageEscape.h"
#include "modules/standard/PageInherited.h"
#include "modules/standard/PageMemberTables.h"
#include "modules/standard/PageMembers.h"
#include "modules/standard/PageNavigationBar.h"

#include <algorithm>
#include <memory>
#include <string_view>
#include <unordered_set>


namespace {

struct MemberLists {
    std::vector<CppClassMember*> constructors, fields, methods, symbols, macros;
};

// Each list in sortedMembers order, sorted once for the summary tables and
// the detail sections alike.
MemberLists buildMemberLists(const CppClass& cls) {
    MemberLists lists;
    for (CppClassMember* member : cls.getMembers()) {
        bool macro = isMacro(*member);
        bool function = member->hasArgumentList();
        if (isConstructorOrDestructor(*member)) {
            // Listed whatever its access, and only here.
            lists.constructors.push_back(member);
            continue;
        }
        if (!hasDetailEntry(*member)) continue;
        if (!macro) (function ? lists.methods : lists.fields).push_back(member);
        else (function ? lists.macros : lists.symbols).push_back(member);
    }
    for (auto* list : {&lists.constructors, &lists.fields, &lists.methods, &lists.symbols,
                       &lists.macros})
        if (list->size() > 1) *list = sortedMembers(*list);
    return lists;
}

// more: the list stands for a longer one, and ends in ", ...".
void writeRelatives(std::string& out, std::string_view title,
                    const std::vector<const CppClass*>& classes, bool more = false) {
    if (classes.empty()) return;
    out += "<DL>\n<DT><B>";
    out += title;
    out += "</B> </DT><DD>";
    for (std::size_t i = 0; i < classes.size(); ++i) {
        if (i) out += ", ";
        out += classLink(*classes[i], "../");
    }
    if (more) out += ", ...";
    out += "</DD>\n</DL>\n";
}

// Keeps the nearest maxAncestorsShown documented ancestors (the levels
// are nearest first; placeholders of undocumented bases draw nothing and
// are not counted); true when any were dropped.
bool keepNearestAncestors(ClassLevels& levels) {
    std::size_t left = maxAncestorsShown;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        std::vector<CppClass*>& level = levels[i];
        for (std::size_t k = 0; k < level.size(); ++k) {
            if (level[k]->isUnresolved()) continue;
            if (left == 0) {
                level.resize(k);
                levels.resize(level.empty() ? i : i + 1);
                return true;
            }
            --left;
        }
    }
    return false;
}

std::vector<const CppClass*> flatten(const ClassLevels& levels, bool interfaces) {
    std::vector<const CppClass*> result;
    for (const auto& level : levels)
        for (const CppClass* cls : level)
            if (!cls->isUnresolved() && cls->isInterface() == interfaces) result.push_back(cls);
    return result;
}

std::string shownName(const CppClass& cls, const DocClassList* list) {
    if (cls.getDetailText().empty() || !list) return escapeHtml(cls.getName());
    std::string outer = getOuterScopeName(cls);
    const CppClass* enclosing =
        outer.empty() ? nullptr : list->resolveQualifiedName(outer, cls.getPackage(), false);
    if (!enclosing || enclosing->isUnresolved()) return escapeHtml(cls.getName());
    std::string separator = cls.getScopeSeparator();
    std::string simple = cls.getName();
    std::size_t cut = simple.rfind(separator);
    if (cut != std::string::npos) simple = simple.substr(cut + separator.size());
    return classLink(*enclosing, "../") + separator + escapeHtml(simple);
}

void writeDeclaration(std::string& out, const CppClass& cls, const DocClassList* list) {
    out += "<HR>\n<DL>\n<DT>";
    out += cls.getKind();
    out += " <B>";
    out += shownName(cls, list);
    out += "</B></DT>";
    for (bool interfaces : {false, true}) {
        bool first = true;
        for (const auto& [name, value] : cls.getBases()) {
            const CppClass* base = list ? list->resolveBase(cls, name, value) : value;
            if (name.empty() || !base || base->isInterface() != interfaces) continue;
            out += first ? (interfaces ? "<dt> implements " : "<dt> extends ") : ", ";
            const std::string shown = shownBaseText(cls, name, base);
            if (base->isUnresolved()) appendEscapedName(out, shown);
            else out += classLink(*base, "../", "", shown);
            first = false;
        }
        if (!first) out += '\n';
    }
    out += "</DL>\n\n";
}

// Opens the page file, making its directory first unless this pass made it
// already: the memo spares a failing mkdir for every level of the path on
// every page. A directory removed since it was made is made again.
std::unique_ptr<VelkOutFile> openPage(const ClassPageContext& context,
                                      const std::string& directory, const std::string& path) {
    std::unordered_set<std::string>& made = context.memo->directories;
    // known: made by an earlier page, so maybe removed since.
    const bool known = !directory.empty() && made.contains(directory);
    if (!directory.empty() && !known) {
        makeSiteDirectory(directory, context.staged);
        made.insert(directory);
    }
    try {
        return std::make_unique<VelkOutFile>(path, context.staged);
    } catch (const VelkFileError&) {
        if (!known) throw;
        made.erase(directory);
        makeSiteDirectory(directory, context.staged);
        made.insert(directory);
        return std::make_unique<VelkOutFile>(path, context.staged);
    }
}

}  // namespace

bool writeClassPage(const CppClass& cls, const ClassPageContext& context,
                    const std::vector<CppClass*>& directSubclasses,
                    const std::vector<CppClass*>& innerDefinitions) {
    const MemberLists lists = buildMemberLists(cls);
    const DocClassList* list = context.classList;
    const DocOptions& options = cls.getOptions();
    const std::string& kind = cls.getKind();
    const bool isTypedef = kind == "typedef";

    std::string pageFile = cls.getPageFile("");
    std::size_t slash = pageFile.find_last_of("/\\");
    const std::string directory = slash == std::string::npos
                                      ? std::string()
                                      : context.outputDirectory + "/" + pageFile.substr(0, slash);
    std::unique_ptr<VelkOutFile> file =
        openPage(context, directory, context.outputDirectory + "/" + pageFile);

    // The page is put together in memory and written in one piece.
    std::string out;
    // Sized like the largest page so far, but one huge page must not make
    // every later page claim as much.
    out.reserve(std::min<std::size_t>(context.memo->largestPage, 1 << 20) + 4096);
    out += context.pageHead(escapeHtml(cls.getName()));

    const std::string& up = context.mainDirectoryHref;
    NavigationBar bar(3, context.documentTitle, context.framesHref,
                      hrefEscape(cls.getPageFile("../")),
                      context.projectTrees ? "project-tree.html" : "",
                      up + context.firstIndexName, up + context.overviewSummaryName,
                      context.deprecatedListName.empty() ? "" : up + context.deprecatedListName,
                      options);
    bar.hasFields = !lists.fields.empty();
    bar.hasFieldSummary = !isTypedef;
    bar.hasConstructors = !lists.constructors.empty();
    bar.hasMethods = !lists.methods.empty();
    const std::size_t topBarStart = out.size();
    bar.appendNavigationBar(out, navClass, false, false, false);
    const std::size_t topBarEnd = out.size();

    out += "<HR>\n<!-- ======== START OF CLASS DATA ======== -->\n<H2>\n<FONT SIZE=\"-1\">\n";
    appendEscapedName(out, cls.getPackage());
    out += "</FONT>\n<BR>\n";
    if (!kind.empty() && kind[0] >= 'a' && kind[0] <= 'z') {
        out += static_cast<char>(kind[0] - 'a' + 'A');
        out.append(kind, 1);
    } else {
        out += kind;
    }
    out += "  ";
    appendEscapedName(out, cls.getName());
    out += "</H2>\n";

    bool ancestryCut = list && appendClassTree(out, cls, list->longestAncestorChain(cls), list);

    if (context.sourceDirectory != "?")
        for (const std::string& file : sortedStrings(cls)) {
            out += "&nbsp;&nbsp;&nbsp;in ";
            out += sourceFileLink(file, context.sourceDirectory, list ? list->listingPageOf(cls, file) : "");
            out += "<BR>\n";
        }

    ClassLevels ancestors = list ? list->resolveInClassHierarchy(cls) : ClassLevels();
    const bool ancestorsCut = keepNearestAncestors(ancestors);
    ancestryCut = ancestryCut || ancestorsCut;
    std::vector<const CppClass*> subclasses(directSubclasses.begin(), directSubclasses.end());
    if (cls.isInterface()) {
        ClassLevels descendants = list ? list->collectHierarchyLinks(cls) : ClassLevels();
        writeRelatives(out, "All Implementing Classes:", flatten(descendants, false));
        std::vector<const CppClass*> subinterfaces;
        for (const CppClass* sub : subclasses)
            if (sub->isInterface()) subinterfaces.push_back(sub);
        writeRelatives(out, "Direct Subinterfaces:", subinterfaces);
    } else {
        writeRelatives(out, "Implemented Interfaces:", flatten(ancestors, true), ancestorsCut);
        writeRelatives(out, "Direct Known Subclasses:", subclasses);
    }

    if (!isTypedef && kind != "enum") writeDeclaration(out, cls, list);

    out += writeDocBlock(cls, list, "P", context.sourceDirectory, context.deprecated, "../");
    out += "\n<HR>\n\n\n";

    writeInnerDefinitions(out, cls, innerDefinitions, context.sourceDirectory);

    const std::string& src = context.sourceDirectory;
    if (!isTypedef)
        writeMemberSummaryTable(out, cls, "Field Summary", "field_summary", lists.fields, src, false);
    writeInheritedMembers(out, cls, ancestors, "Fields", false, &context.memo->inheritedFields);
    writeMemberSummaryTable(out, cls, "Constructor Summary", "constructor_summary",
                            lists.constructors, src, true);
    writeMemberSummaryTable(out, cls, "Method Summary", "method_summary", lists.methods, src, false);
    writeMemberSummaryTable(out, cls, "Symbol Summary", "symbol_summary", lists.symbols, src, false);
    writeMemberSummaryTable(out, cls, "Macro Summary", "macro_summary", lists.macros, src, false);
    writeInheritedMembers(out, cls, ancestors, "Methods", true, &context.memo->inheritedMethods);
    if (ancestorsCut) out += "&nbsp;...\n";
    out += "<BR>\n";

    DeprecatedItemMap* deprecated = context.deprecated;
    // Every member anchor of the page, so that no name anchor repeats one.
    std::unordered_set<std::string> anchors;
    for (const auto* list : {&lists.fields, &lists.constructors, &lists.methods, &lists.symbols,
                             &lists.macros})
        for (const CppClassMember* member : *list) anchors.insert(memberAnchor(*member));
    writeMemberDetailSection(out, cls, isTypedef ? "Details" : "Field Detail", "field_detail",
                             lists.fields, deprecated, src, &anchors);
    writeMemberDetailSection(out, cls, "Constructor Detail", "constructor_detail",
                             lists.constructors, deprecated, src, &anchors);
    writeMemberDetailSection(out, cls, "Method Detail", "method_detail", lists.methods,
                             deprecated, src, &anchors);
    writeMemberDetailSection(out, cls, "Symbol Detail", "symbol_detail", lists.symbols,
                             deprecated, src, &anchors);
    writeMemberDetailSection(out, cls, "Macro Detail", "macro_detail", lists.macros, deprecated,
                             src, &anchors);

    if (options.showVersion || options.showTimestamp) {
        bar.appendNavigationBar(out, navClass, false, true, true);
    } else {
        // Without credit and timestamp the bottom bar repeats the top one.
        out.append(out, topBarStart, topBarEnd - topBarStart);
    }
    out += "<HR>\n";
    out += context.pageTail;
    out += '\n';
    context.memo->largestPage = std::max(context.memo->largestPage, out.size());
    file->getStream().write(out.data(), static_cast<std::streamsize>(out.size()));
    file->close();
    return ancestryCut;
}
