// The head, tail and default entry template shared by every page of the
// site, and the one anchor builder of the page writers.
#pragma once

#include "modules/common/ProgramVersion.h"

#include <string>

struct StandardModule;

// The three texts that one rendering produces.
struct PageTemplateTexts {
    std::string head;          // "<HTML>" ... "</HEAD>" [+ "<BODY>"]
    std::string itemTemplate;  // default list-frame entry with $C and $H
    std::string tail;          // ["</BODY>"] + "</HTML>"
};

// What a rendering depends on besides the page's own arguments.
struct PageTemplateSettings {
    std::string detailLink;  // the default link base: the detail directory from the main page
    std::string extraHeadText;    // written on its own line after the title
    std::string versionText;      // three numbers joined by "."
    std::string dateText;         // "%B %d, %Y at %H:%M" of the render time
};

// <a href="HREF" target="TARGET">TEXT</a>; no target attribute for an empty
// target. Nothing is escaped: callers pass ready HTML.
std::string writeLink(const std::string& href, const std::string& text,
                      const std::string& targetFrame);

// Renders the three texts for one page. Pure: no clock, no file access.
PageTemplateTexts renderPageTemplateTexts(const PageTemplateSettings& settings,
                                          const std::string& title, bool withBody,
                                          bool boldItemFont, const std::string& targetFrame,
                                          const std::string& linkBase);

// Renders the page template into the module's head, item template and tail
// buffers, with the program version and the current local time. The buffers
// grow to whatever the texts need. Raises nothing.
void renderPageTemplate(StandardModule& module, const std::string& title, bool withBody,
                        bool boldItemFont, const std::string& targetFrame,
                        const std::string& linkBase);
