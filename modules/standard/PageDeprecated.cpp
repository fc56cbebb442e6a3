#include "modules/standard/PageDeprecated.h"

#include "VelkLib/VelkFile.h"
#include "VelkLib/VelkPath.h"
#include "model/CppClass.h"
#include "model/CppClassMember.h"
#include "modules/standard/DocClassList.h"
#include "modules/standard/ModuleFrame.h"
#include "modules/standard/PageCodeLinks.h"
#include "modules/standard/PageDocBlock.h"
#include "modules/standard/PageMembers.h"
#include "modules/standard/PageNavigationBar.h"
#include "modules/standard/PageSite.h"
#include "modules/standard/PageTemplate.h"
#include "modules/standard/SiteNames.h"
#include "modules/standard/StandardModule.h"

#include <array>

namespace {

const char* const sectionTitles[] = {"Classes", "Typedefs",  "Enums",
                                     "Fields",  "Methods", "Constructors"};

}  // namespace

int deprecatedSection(const CppClassEntity& entity) {
    if (const auto* member = dynamic_cast<const CppClassMember*>(&entity)) {
        if (isConstructorOrDestructor(*member)) return 5;
        return member->hasArgumentList() ? 4 : 3;
    }
    if (const auto* cls = dynamic_cast<const CppClass*>(&entity)) {
        if (cls->getKind() == "typedef") return 1;
        if (cls->getKind() == "enum") return 2;
        return 0;
    }
    return -1;
}

std::string nbspRepeat(int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += "&nbsp;";
    return out;
}

void writeDeprecatedSection(StandardModule& module, std::ostream& out,
                            const std::vector<const CppClassEntity*>& entities,
                            const std::string& title) {
    if (entities.empty()) return;
    const std::string prefix = detailLinkPrefix(module);
    out << "<TABLE BORDER=\"1\" CELLPADDING=\"3\" CELLSPACING=\"0\" WIDTH=\"100%\">\n"
        << "<TR BGCOLOR=\"" << module.options.headerBackgroundDark << "\">\n"
        << "<TD COLSPAN=2><FONT SIZE=\"+2\">\n"
        << "<B>Deprecated " << title << "</B></FONT></TD>\n</TR>\n";
    for (const CppClassEntity* entity : entities) {
        const std::string text = parseDocComment(*entity, module.classList.get(), prefix,
                                                 module.sourceDirectoryText)
                                     .deprecation;
        const auto* member = dynamic_cast<const CppClassMember*>(entity);
        std::string link = member ? memberLink(*member, true, prefix, "", true)
                                  : classLink(*entity->getClass(), prefix);
        out << "<TR BGCOLOR=\"" << module.options.tableBackground << "\">\n"
            << "<TD>" << link << "<BR>\n"
            << nbspRepeat(10) << "<I>" << text << "</I>&nbsp;</TD>\n</TR>\n";
    }
    out << "</TABLE>\n&nbsp;<p>";
}

void writeDeprecatedListPage(StandardModule& module, DeprecatedItemMap& deprecated) {
    const std::string pageFile = deprecatedListPageName(module, true);
    // The map's keys put its entries in the site's name order already.
    std::array<std::vector<const CppClassEntity*>, 6> sections;
    for (const auto& [key, entity] : deprecated) {
        int section = entity ? deprecatedSection(*entity) : -1;
        if (section >= 0 && entity->getClass()) sections[section].push_back(entity);
    }
    renderPageTemplate(module, module.documentTitle, true, true, "classFrame", "");
    VelkOutFile file(pageFile, module.stagedPages);
    std::ostream& out = file.getStream();
    writeHeaderFragment(module, out, false);
    NavigationBar bar = mainPageNavigationBar(module, pageFile);
    bar.writeNavigationBar(out, navDeprecated, false, false, false);
    out << "<HR>\n";
    writeCenteredHeading(out, "H2", "Deprecated API");
    for (std::size_t i = 0; i < sections.size(); ++i)
        writeDeprecatedSection(module, out, sections[i], sectionTitles[i]);
    bar.writeNavigationBar(out, navDeprecated, true, true, true);
    writeFooterFragment(module, out, false);
    file.close();
}
