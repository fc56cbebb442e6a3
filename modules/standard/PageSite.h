// What several page writers of the site share: the class page context of
// the module and the paths of the detail directory.
#pragma once

#include "modules/standard/PageClassDetail.h"

#include <string>

struct StandardModule;

// The detail directory as a path to write to (no trailing "/").
std::string detailDirectoryPath(const StandardModule& module);
// The path from the main page's directory to the detail directory, with a
// trailing "/" ("" when both are the same directory).
std::string detailLinkPrefix(const StandardModule& module);
// The context of the class pages of a run; heads come from the module's
// page frame, the tail is the footer text as last rendered.
ClassPageContext classPageContext(StandardModule& module, DeprecatedItemMap* deprecated);
// The navigation bar of a page `up` below the main directory ("" for the
// main directory, "../../" for project pages), naming the page itself
// selfHref. Tree and Deprecated cells only exist when their pages do.
class NavigationBar;
NavigationBar siteNavigationBar(const StandardModule& module, int level, const std::string& up,
                                const std::string& selfHref, const std::string& treeHref);
// The bar of a page in the main directory written to pageFile (overview
// summary, deprecated list).
NavigationBar mainPageNavigationBar(const StandardModule& module, const std::string& pageFile);
