#include "modules/standard/PageHierarchy.h"

#include "VelkLib/VelkFile.h"
#include "VelkLib/VelkPath.h"
#include "modules/standard/DocClassList.h"
#include "modules/standard/ModuleFrame.h"
#include "modules/standard/PageClassListing.h"
#include "modules/common/PageEscape.h"
#include "modules/standard/PageNavigationBar.h"
#include "modules/standard/PageSite.h"
#include "modules/standard/PageTemplate.h"
#include "modules/standard/SiteNames.h"
#include "modules/standard/StandardModule.h"

void writeHierarchyPage(StandardModule& module, const std::string& pageFile,
                        const std::string& title, const std::string& projectFilter,
                        const std::string& linkPrefix,
                        const std::vector<std::string>* projectNames, int progressFrom,
                        int progressTo) {
    module.statusReceiver.message(nullptr, title.c_str());
    const bool overview = projectNames != nullptr;
    renderPageTemplate(module, escapeHtml(title), true, false, "", overview ? "" : "..");
    const std::string entryTemplate = module.itemTemplateBuffer;
    VelkOutFile file(pageFile, module.stagedPages);
    std::ostream& out = file.getStream();
    writeHeaderFragment(module, out, false);

    const std::string tree = overviewTreePageName(module, false);
    NavigationBar bar = siteNavigationBar(module, overview ? 1 : 2, linkPrefix,
                                          hrefEscape(fileNameOf(pageFile)), tree.empty() ? "" : linkPrefix + tree);
    bar.writeNavigationBar(out, navTree, false, false, false);

    out << "<HR>\n";
    writeCenteredHeading(out, "H2", escapeHtml(title));
    out << "<DL>\n<DT><B>Project Hierarchies: </B>\n<DD>";
    if (overview) {
        for (std::size_t i = 0; i < projectNames->size(); ++i)
            out << (i ? ", " : "")
                << writeLink(hrefEscape(projectPagePath(module, (*projectNames)[i],
                                                        "project-tree.html", false)),
                             escapeHtml((*projectNames)[i]), "");
    } else if (!tree.empty()) {
        out << writeLink(linkPrefix + tree, "All Projects", "");
    }
    out << "\n</DL>\n<HR>\n";

    ClassListingPass pass;
    pass.projectName = projectFilter;
    pass.entryTemplate = entryTemplate;
    pass.templateContext.relativePrefix = overview ? detailLinkPrefix(module) : "../";
    pass.templateContext.sourceDirectory = module.sourceDirectoryText;
    pass.indent = "<LI TYPE=\"circle\">";
    pass.indentPerLevel = false;
    pass.kindLabels = true;
    pass.wrapTag = "UL";
    pass.progressFrom = progressFrom;
    pass.progressTo = progressTo;
    pass.receiver = &module.statusReceiver;

    const DocClassList& list = *module.classList;
    bool interfaces = false;
    out << "<H2>\nClass Hierarchy</H2>\n<UL>\n";
    bool goOn = writeClassTreeListing(out, list, pass, false, interfaces);
    out << "</UL>\n<BR>\n";
    if (goOn && interfaces) {
        out << "<H2>\nInterface Hierarchy</H2>\n<UL>\n";
        writeClassTreeListing(out, list, pass, true, interfaces);
        out << "</UL>\n<BR>\n";
    }

    bar.writeNavigationBar(out, navTree, true, true, true);
    writeFooterFragment(module, out, false);
    file.close();
}
