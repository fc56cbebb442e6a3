// The detail page of one documented class, struct, union, interface,
// namespace, typedef or enum record.
#pragma once

#include "modules/standard/DeprecatedItemMap.h"
#include "modules/standard/PageInherited.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

class CppClass;
class DocClassList;
class StagedFiles;

// What every class page of a pass shares.
struct ClassPageContext {
    std::string outputDirectory;  // the detail directory; pages go below it
    const DocClassList* classList = nullptr;
    std::string sourceDirectory;  // source listings; "?" when there are none
    // The head of a page for a (escaped) page title.
    std::function<std::string(const std::string& title)> pageHead;
    std::string pageTail;
    // Navigation texts as seen from the main directory; the class page puts
    // "../../" in front of them. An empty deprecated-list name hides it.
    std::string documentTitle;
    std::string mainDirectoryHref = "../../";  // from a class page up to the main page's directory
    std::string framesHref;  // already relative to the class page
    std::string deprecatedListName;
    std::string overviewSummaryName;
    std::string firstIndexName;
    bool projectTrees = true;  // project-tree.html pages exist
    DeprecatedItemMap* deprecated = nullptr;
    // Where the pages are written until the site is complete (null: in place).
    StagedFiles* staged = nullptr;

    // What the pages of the pass remember between pages: the directories
    // they made (full paths), so that each is made once; the inherited
    // field and method lists of each ancestor; and the size of the largest
    // page so far, to size the next page's buffer. Shared by the copies of
    // the context; used from the run thread only, while the class list
    // stays as it is.
    struct PassMemo {
        std::unordered_set<std::string> directories;
        InheritedListMemo inheritedFields, inheritedMethods;
        std::size_t largestPage = 0;
    };
    std::shared_ptr<PassMemo> memo = std::make_shared<PassMemo>();
};

// Writes the class's page (creating its directory): heading, inheritance
// tree, source files, relatives, declaration, documentation, member
// summaries, inherited members, inner definitions and details, between two
// navigation bars. Throws VelkFileError when the page cannot be opened or
// written, and the directory error when its directory cannot be made.
// Draws at most maxAncestorsShown ancestors (PageClassTree.h) and returns
// true when the class has more.
bool writeClassPage(const CppClass& cls, const ClassPageContext& context,
                    const std::vector<CppClass*>& directSubclasses,
                    const std::vector<CppClass*>& innerDefinitions);
