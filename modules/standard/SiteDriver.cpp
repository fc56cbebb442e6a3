#include "modules/standard/SiteDriver.h"

#include "VelkLib/VelkDirectory.h"
#include "VelkLib/VelkFile.h"
#include "modules/standard/CppProject.h"
#include "modules/standard/DeprecatedItemMap.h"
#include "modules/standard/DocClassList.h"
#include "modules/standard/DocCppClass.h"
#include "modules/common/ModuleText.h"
#include "modules/common/StagedSite.h"
#include "modules/standard/PageWriters.h"
#include "modules/standard/SiteNames.h"
#include "modules/standard/StandardModule.h"

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int progressTotal = 200;

}  // namespace

void generateSite(StandardModule& module) {
    StatusReceiver& status = module.statusReceiver;
    const DocOptions& options = module.options;
    // A phase text replaces line 1 and blanks line 2; a per-project text
    // leaves line 2 alone.
    // A stop asked for is honoured between phases and pages, and within
    // the long ones.
    const DocClassList& list = *module.classList;
    auto phase = [&](const char* text) {
        list.checkCancel();
        status.message(text, " ");
    };
    auto step = [&](const std::string& text) { status.message(text.c_str(), ""); };
    auto progress = [&](int done) { status.progress(done, progressTotal); };

    // The pages of this site replace those of the last one all together,
    // or none of them does.
    StagedSite site(module.stagedPages, module.statusReceiver.progressCallback,
                    module.statusReceiver.context, module.outputFile);

    // {@docroot} leads from the detail directory's depth to the main page.
    module.classList->setDetailToMain(mainDirectoryFromDetail(module));
    // With listings among the class pages, no class page takes a
    // listing's name.
    if (module.sourceDirectoryText == ".") module.classList->noteListingPages();

    phase("Constructing main output page...");
    writeFramesetPage(module);
    progress(110);

    phase("Generating overview list frame...");
    std::vector<std::string> projectNames = module.classList->projectNames();
    writeOverviewFrame(module, projectNames);
    progress(112);

    phase("Generating master index...");
    writeMasterIndexPage(module);
    progress(114);

    phase("Generating project indexes and class detail pages...");
    DeprecatedItemMap deprecatedItems;
    DeprecatedItemMap* deprecated = options.enableDeprecated ? &deprecatedItems : nullptr;
    writeClassListFrame(module, allClassesFramePageName(module, true), "All Classes", "",
                        deprecated, true, 115, 150, "");

    if (options.generateHierarchy) {
        phase("Generating the overview hierarchy tree...");
        writeHierarchyPage(module, overviewTreePageName(module, true),
                           "Hierarchy For All Projects", "", "", &projectNames, 150, 185);
    }

    phase("Writing class list and hierarchy tree frames...");
    std::vector<std::unique_ptr<CppProject>> projects;
    if (!projectNames.empty()) makeSiteDirectory(module.detailDirectory, &site.files());
    const InputRoots roots = projectDirectoryRoots(module);
    for (const std::string& name : projectNames) {
        list.checkCancel();
        std::string directory = projectPagePath(module, name, "", true);
        directory.pop_back();  // the "/" before the empty page name
        makeSiteDirectory(directory, &site.files());

        // A project that the project list does not name has no directory
        // to read a summary from (never the file-system root).
        auto known = module.projectMap.find(name);
        std::string summary;
        if (known != module.projectMap.end() && !known->second.empty())
        {
            std::string warning;
            summary = readFoundTextFile(known->second + "/" + module.summaryHtml, roots, warning);
            if (!warning.empty()) status.error(warning);
        }
        projects.push_back(std::make_unique<CppProject>(name, summary, options));

        step("Writing class list frame for project " + name + "...");
        writeClassListFrame(module, directory + "/project-frame.html", name, name, deprecated,
                            false, -1, -1, "..");
        if (options.generateHierarchy) {
            step("Writing hierarchy tree for project " + name + "...");
            writeHierarchyPage(module, directory + "/project-tree.html",
                               "Hierarchy for Project " + name, name,
                               mainDirectoryFromProject(module), nullptr, -1, -1);
        }
        writeProjectSummaryPage(module, directory + "/project-summary.html", *projects.back(),
                                deprecated);
    }
    progress(195);

    if (options.enableDeprecated && options.generateDeprecationsList) {
        phase("Generating the deprecations list...");
        writeDeprecatedListPage(module, deprecatedItems);
    }
    progress(198);

    phase("Generating the overview summary frame...");
    std::vector<CppProject*> projectList;
    for (const auto& project : projects) projectList.push_back(project.get());
    writeOverviewSummaryPage(module, overviewSummaryPageName(module, true), projectList);
    progress(200);

    list.checkCancel();
    site.finish(module.statusReceiver.cancel);

    phase("Cleaning up...");
    projects.clear();
    progress(200);
}
