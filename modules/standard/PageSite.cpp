#include "modules/standard/PageSite.h"

#include "VelkLib/VelkPath.h"
#include "model/ModelText.h"
#include "modules/standard/DocClassList.h"
#include "modules/standard/ModuleFrame.h"
#include "modules/standard/PageNavigationBar.h"
#include "modules/standard/SiteNames.h"
#include "modules/standard/StandardModule.h"

std::string detailDirectoryPath(const StandardModule& module) {
    std::string path = outputPath(module, "", true);
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::string detailLinkPrefix(const StandardModule& module) { return outputPath(module, "", false); }

ClassPageContext classPageContext(StandardModule& module, DeprecatedItemMap* deprecated) {
    ClassPageContext context;
    context.outputDirectory = detailDirectoryPath(module);
    context.classList = module.classList.get();
    context.sourceDirectory = module.sourceDirectoryText;
    context.pageHead = [&module](const std::string& title) {
        return classPageHeadText(module, title);
    };
    context.pageTail = pageFooterText(module);
    context.documentTitle = module.documentTitle;
    context.mainDirectoryHref = mainDirectoryFromProject(module);
    context.framesHref = context.mainDirectoryHref + mainPageLinkName(module);
    context.deprecatedListName = deprecatedListPageName(module, false);
    context.overviewSummaryName = overviewSummaryPageName(module, false);
    context.firstIndexName = firstIndexPageName(module);
    context.projectTrees = module.options.generateHierarchy;
    context.deprecated = deprecated;
    context.staged = module.stagedPages;
    return context;
}

NavigationBar siteNavigationBar(const StandardModule& module, int level, const std::string& up,
                                const std::string& selfHref, const std::string& treeHref) {
    std::string deprecated = deprecatedListPageName(module, false);
    return NavigationBar(level, module.documentTitle, up + mainPageLinkName(module), selfHref,
                         treeHref, up + firstIndexPageName(module),
                         up + overviewSummaryPageName(module, false),
                         deprecated.empty() ? "" : up + deprecated, module.options);
}

NavigationBar mainPageNavigationBar(const StandardModule& module, const std::string& pageFile) {
    return siteNavigationBar(module, 1, "", hrefEscape(fileNameOf(pageFile)),
                             overviewTreePageName(module, false));
}
