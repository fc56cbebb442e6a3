#include "modules/standard/PageSummary.h"

#include "VelkLib/VelkFile.h"
#include "VelkLib/VelkPath.h"
#include "model/CppClass.h"
#include "modules/standard/CppProject.h"
#include "modules/standard/DocClassList.h"
#include "modules/standard/ModuleFrame.h"
#include "modules/common/ModuleText.h"
#include "modules/standard/PageCodeLinks.h"
#include "modules/standard/PageDocBlock.h"
#include "modules/common/PageEscape.h"
#include "modules/standard/PageNameOrder.h"
#include "modules/standard/PageNavigationBar.h"
#include "modules/standard/PageSite.h"
#include "modules/standard/PageTemplate.h"
#include "modules/standard/SiteNames.h"
#include "modules/standard/StandardModule.h"

#include <sys/stat.h>

namespace {

const char* const tableStart =
    "<TABLE BORDER=\"1\" CELLPADDING=\"3\" CELLSPACING=\"0\" WIDTH=\"100%\">";

void writeTableHead(std::ostream& out, const DocOptions& options, const std::string& title) {
    out << tableStart << "\n<TR BGCOLOR=\"" << options.headerBackgroundDark << "\">\n"
        << "<TD COLSPAN=2><FONT SIZE=\"+2\">\n<B>" << title << "</B></FONT></TD>\n</TR>\n";
}

void writeTableEnd(std::ostream& out) { out << "</TABLE>\n&nbsp;\n<P>\n\n"; }

std::string orSpace(const std::string& text) { return text.empty() ? "&nbsp;" : text; }

// The first place that holds the overview file: beside or above the first
// project's directory, then beside or above each project's, by name.
// A link, or a file that is no regular file, is a hit too: it is skipped
// with a warning, and the overview is left empty.
std::string findOverviewText(StandardModule& module) {
    std::vector<std::string> directories;
    if (!module.firstProjectDirectory.empty()) directories.push_back(module.firstProjectDirectory);
    for (const auto& [name, directory] : module.projectMap)
        if (!directory.empty()) directories.push_back(directory);
    const InputRoots roots = projectDirectoryRoots(module);
    for (const std::string& directory : directories)
        for (const char* step : {"/../", "/"}) {
            std::string path = directory + step + module.overviewHtml;
            struct stat info;
            if (::lstat(path.c_str(), &info) != 0) continue;
            std::string warning;
            std::string text = readFoundTextFile(path, roots, warning);
            if (!warning.empty()) module.statusReceiver.error(warning);
            return text;
        }
    return "";
}

}  // namespace

void writeSummaryRow(StandardModule& module, const CppClass& cls, std::ostream& out) {
    std::string description =
        summarySentence(cls, module.classList.get(), module.sourceDirectoryText, "", "../");
    out << "<TR BGCOLOR=\"" << module.options.tableBackground << "\">\n"
        << "<TD WIDTH=\"15%\"><B>" << classLink(cls, "../", "I") << "</B></TD>\n"
        << "<TD>" << orSpace(description) << "</TD>\n</TR>\n";
}

void writeProjectSummaryPage(StandardModule& module, const std::string& pageFile,
                             CppProject& project, DeprecatedItemMap* deprecated) {
    const std::string name = escapeHtml(project.getName());
    const DocClassList* list = module.classList.get();
    renderPageTemplate(module, name, true, true, "classFrame", "");
    VelkOutFile file(pageFile, module.stagedPages);
    std::ostream& out = file.getStream();
    writeHeaderFragment(module, out, false);

    NavigationBar bar = siteNavigationBar(module, 2, mainDirectoryFromProject(module), "project-summary.html",
                                          module.options.generateHierarchy ? "project-tree.html" : "");
    bar.writeNavigationBar(out, navProject, false, false, false);
    out << "<HR>\n<H2>\nProject " << name << "\n</H2>\n"
        << summarySentence(project, list, module.sourceDirectoryText, "P", "../") << "\n";

    std::vector<CppClass*> classes = list->classesInProject(project.getName());
    for (bool namespaces : {false, true}) {
        writeTableHead(out, module.options, namespaces ? "Namespace Summary" : "Class Summary");
        for (const CppClass* cls : classes)
            if (cls->getDetailText().empty() && (cls->getKind() == "namespace") == namespaces)
                writeSummaryRow(module, *cls, out);
        writeTableEnd(out);
    }

    std::string description =
        writeDocBlock(project, list, "P", module.sourceDirectoryText, deprecated, "../");
    if (toLowerCase(trim(description)) != "<p><p>")
        out << "<A NAME=\"project_description\"><!-- --></A><H2>\nProject " << name
            << " Description\n</H2>\n\n" << description << "\n\n";

    bar.writeNavigationBar(out, navProject, true, true, true);
    writeFooterFragment(module, out, false);
    file.close();
}

void writeOverviewSummaryPage(StandardModule& module, const std::string& pageFile,
                              const std::vector<CppProject*>& projects) {
    const DocClassList* list = module.classList.get();
    const std::string detailPrefix = detailLinkPrefix(module);
    renderPageTemplate(module, module.documentTitle, true, true, "classFrame", "");
    VelkOutFile file(pageFile, module.stagedPages);
    std::ostream& out = file.getStream();
    writeHeaderFragment(module, out, false);

    NavigationBar bar = mainPageNavigationBar(module, pageFile);
    bar.writeNavigationBar(out, navOverview, false, false, false);
    out << "<HR>\n";
    writeCenteredHeading(out, "H2", module.documentTitle);

    CppProject overview(module.documentTitle, findOverviewText(module), module.options);
    out << summarySentence(overview, list, module.sourceDirectoryText, "P", detailPrefix) << "\n";

    writeTableHead(out, module.options, "Projects");
    std::vector<const CppClassEntity*> entities(projects.begin(), projects.end());
    for (const CppClassEntity* project : sortByDisplayName(entities)) {
        if (project->getName().empty()) continue;
        out << "<TR BGCOLOR=\"" << module.options.tableBackground << "\">\n"
            << "<TD WIDTH=\"15%\"><B>"
            << buildLink(escapeHtml(project->getName()),
                         hrefEscape(project->getPageFile(detailPrefix)), "I", "")
            << "</B></TD>\n<TD>"
            << orSpace(summarySentence(*project, list, module.sourceDirectoryText, "", detailPrefix))
            << "</TD>\n</TR>\n";
    }
    writeTableEnd(out);

    out << writeDocBlock(overview, list, "P", module.sourceDirectoryText, nullptr, detailPrefix)
        << "\n\n";
    bar.writeNavigationBar(out, navOverview, true, true, true);
    writeFooterFragment(module, out, false);
    file.close();
}
