// The class listings of the list frames and hierarchy pages: flat (one
// entry per top-level class) or as an inheritance tree, writing the class
// pages on the way when asked.
#pragma once

#include "modules/standard/PageClassDetail.h"
#include "modules/standard/PageItemTemplate.h"

#include <ostream>
#include <string>

class CppClass;
class DocClassList;
class StatusReceiver;

// One pass over the classes of a project ("" for all projects).
struct ClassListingPass {
    std::string projectName;
    std::string entryTemplate;          // expanded once per listed class
    ItemTemplateContext templateContext;
    std::string indent;                 // before a nested entry
    bool indentPerLevel = true;         // indent written depth times, at most
                                        // maxTreeIndentLevels (else once)
    bool kindLabels = false;            // the kind word before each entry
    std::string wrapTag;                // encloses each nested level ("" for none)
    bool writePages = false;            // write the class pages too
    int progressFrom = -1;              // progress range of 200; to <= 0: none
    int progressTo = -1;
    StatusReceiver* receiver = nullptr; // status, progress and cancel
    ClassPageContext pageContext;       // for the class pages
};

// Flat listing: every class of the project in the list's order; top-level
// classes (declared outside any class: at file level or in a namespace)
// get an entry; with writePages every class gets its page, with
// its kind and name as status line 2 and progress after each page. Returns
// false when the user cancelled (no later page is written).
bool writeClassPages(std::ostream& out, const DocClassList& list, const ClassListingPass& pass);

// Tree listing of the project's classes (secondPass clear: classes that
// are no interfaces; set: the interfaces): roots first (no documented base
// of the same kind), each class nested under the first of its bases that
// lists it. Every class is listed once, so inheritance cycles end and a
// class reached along two paths appears once; classes only reachable
// through a cycle are listed as roots. needSecondPass is set when the
// project has interfaces. With writePages each class's page is written
// exactly once. Returns false when the user cancelled.
bool writeClassTreeListing(std::ostream& out, const DocClassList& list,
                           const ClassListingPass& pass, bool secondPass, bool& needSecondPass);

// True when some class of the project ("" for any) names cls as its base.
bool hasSubclasses(const DocClassList& list, const CppClass& cls, const std::string& projectName);
