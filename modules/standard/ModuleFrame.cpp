#include "modules/standard/ModuleFrame.h"

#include "modules/common/ModuleText.h"
#include "modules/standard/PageWriters.h"
#include "modules/standard/StandardModule.h"

namespace {

std::string chosenText(const std::string& fragment, const std::string& rendered,
                       bool framePage) {
    if (fragment.empty() || framePage) return rendered;
    if (fragment == "?") return "";
    return copyTextFileIntoPage(fragment);
}

}  // namespace

void writeHeaderFragment(const StandardModule& module, std::ostream& out, bool framePage) {
    out << chosenText(module.headerText, module.pageHeadBuffer, framePage);
}

void writeFooterFragment(const StandardModule& module, std::ostream& out, bool framePage) {
    out << chosenText(module.footerText, module.pageTailBuffer, framePage);
}

std::string classPageHeadText(StandardModule& module, const std::string& pageTitle) {
    if (module.headerText.empty()) {
        renderPageTemplate(module, module.documentTitle + ": " + pageTitle, true, true,
                           "classFrame", "");
        return module.pageHeadBuffer;
    }
    return chosenText(module.headerText, module.pageHeadBuffer, false);
}

std::string pageFooterText(const StandardModule& module) {
    return chosenText(module.footerText, module.pageTailBuffer, false);
}
