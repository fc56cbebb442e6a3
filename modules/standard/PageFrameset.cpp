#include "modules/standard/PageFrameset.h"

#include "VelkLib/VelkFile.h"
#include "VelkLib/VelkPath.h"
#include "modules/standard/DocClassList.h"
#include "modules/standard/DocCppClass.h"
#include "modules/standard/ModuleFrame.h"
#include "modules/common/ModuleText.h"
#include "modules/standard/PageClassListing.h"
#include "modules/common/PageEscape.h"
#include "modules/standard/PageSite.h"
#include "modules/standard/PageTemplate.h"
#include "modules/standard/SiteNames.h"
#include "modules/standard/StandardModule.h"

namespace {

const char* const itemFont = "<FONT SIZE=\"2\" FACE=\"Arial, Helvetica\">";

}  // namespace

void writeFramesetPage(StandardModule& module) {
    renderPageTemplate(module, module.documentTitle, false, true, "classFrame", "");
    VelkOutFile file(module.outputFile, module.stagedPages);
    std::ostream& out = file.getStream();
    writeHeaderFragment(module, out, true);
    std::string summary = overviewSummaryPageName(module, false);
    out << "<FRAMESET cols=\"20%,80%\">\n"
        << "<FRAMESET rows=\"30%,70%\">\n"
        << "<FRAME src=\"" << overviewFramePageName(module, false) << "\" name=\"projectListFrame\">\n"
        << "<FRAME src=\"" << allClassesFramePageName(module, false) << "\" name=\"projectFrame\">\n"
        << "</FRAMESET>\n"
        << "<FRAME src=\"" << summary << "\" name=\"classFrame\">\n"
        << "</FRAMESET>\n"
        << "<NOFRAMES>\n"
        << "<H2>Frame Alert</H2>\n\n"
        << "<P>\n"
        << "This document is designed to be viewed using the frames feature. If you see this "
           "message, you are using a non-frame-capable web client.\n"
        << "<BR>\n"
        << "Link to " << writeLink(summary, "Non-frame version", "") << ".</NOFRAMES>\n";
    writeFooterFragment(module, out, true);
    file.close();
}

void writeOverviewFrame(StandardModule& module, const std::vector<std::string>& projectNames) {
    renderPageTemplate(module, module.documentTitle, true, true, "classFrame", "");
    VelkOutFile file(overviewFramePageName(module, true), module.stagedPages);
    std::ostream& out = file.getStream();
    writeHeaderFragment(module, out, true);
    out << "<H3>" << module.documentTitle << "</H3>\n"
        << writeLink(allClassesFramePageName(module, false),
                     std::string(itemFont) + "All Classes</FONT>", "projectFrame")
        << "<BR><P>\n"
        << "<FONT size=\"+1\">Projects</FONT><BR>\n";
    for (const std::string& name : projectNames)
        out << writeLink(hrefEscape(projectPagePath(module, name, "project-frame.html", false)),
                         itemFont + escapeHtml(name) + "</FONT>", "projectFrame")
            << "<BR>\n";
    writeFooterFragment(module, out, true);
    file.close();
}

void writeClassListFrame(StandardModule& module, const std::string& pageFile,
                         const std::string& title, const std::string& projectFilter,
                         DeprecatedItemMap* deprecated, bool writeClassPages, int progressFrom,
                         int progressTo, const std::string& linkPrefix) {
    module.statusReceiver.message(nullptr, title.c_str());
    renderPageTemplate(module, escapeHtml(title), true, true, "classFrame", linkPrefix);
    // Class pages render their own heads into the module's buffers; the
    // frame keeps what was rendered for it.
    const std::string frameTail = module.pageTailBuffer;
    const std::string defaultEntry = module.itemTemplateBuffer;
    VelkOutFile file(pageFile, module.stagedPages);
    std::ostream& out = file.getStream();
    writeHeaderFragment(module, out, true);
    out << "<B>" << escapeHtml(title) << "</B><P>\n";

    DocClassList& list = *module.classList;
    list.prepareMemberEntries();
    // "?" leaves the entries out, not the class pages that the pass writes:
    // the pass then writes its entries nowhere.
    const bool noEntries = module.itemTemplate == "?";
    std::ostream nowhere(nullptr);
    if (!noEntries || (writeClassPages && module.writeDetailPages)) {
        std::ostream& entries = noEntries ? nowhere : out;
        ClassListingPass pass;
        pass.projectName = projectFilter;
        pass.entryTemplate = noEntries                     ? ""
                             : module.itemTemplate.empty() ? defaultEntry
                                                           : copyTextFileIntoPage(module.itemTemplate);
        pass.templateContext.relativePrefix =
            linkPrefix.empty() ? detailLinkPrefix(module) : linkPrefix + "/";
        pass.templateContext.sourceDirectory = module.sourceDirectoryText;
        pass.indent = "&nbsp;&nbsp;&nbsp;&nbsp;";
        pass.writePages = writeClassPages && module.writeDetailPages;
        pass.progressFrom = progressFrom;
        pass.progressTo = progressTo;
        pass.receiver = &module.statusReceiver;
        pass.pageContext = classPageContext(module, deprecated);
        if (!module.treeListing) {
            ::writeClassPages(entries, list, pass);
        } else {
            bool interfaces = false;
            if (writeClassTreeListing(entries, list, pass, false, interfaces) && interfaces)
                writeClassTreeListing(entries, list, pass, true, interfaces);
        }
    }
    out << frameTail;
    file.close();
}
