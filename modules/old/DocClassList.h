// The old module's handle: the classes of one run, the run's settings from
// init, the three built-in page pieces, and the questions the pages ask
// across classes (order, base lookup, ancestors, the linking of type texts).
//
// Lookups never raise. Walks over bases stop at a class already met, so
// inheritance cycles and a class naming itself as its base end.
#pragma once

#include "modules/common/CancelPoll.h"
#include "model/ClassList.h"
#include "model/ListingNames.h"
#include "modules/ModuleInterface.h"
#include "modules/common/NameScopes.h"
#include "modules/common/SourceConstants.h"
#include "modules/old/OldRecords.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class StagedFiles;

namespace vantry_old {

// The values of init, by argument number.
struct OldModuleSettings {
    std::string detailDirectory;      // 4: where the class pages go
    bool treeListing = false;         // 5: the index is a tree of classes
    std::string extraHeadText;        // 6: kept, not read
    std::string headerText;           // 7: "" built-in, "?" none, else fragment or file
    std::string footerText;           // 8: same forms as headerText
    std::string itemTemplate;         // 9: same forms; "?" writes no entries
    std::string sourceDirectoryText;  // 10: "?" no source links, "." listings beside the pages
    std::string outputFile;           // 11: the index page
    std::string projectListText;      // 12: its directories are where sources may be read
    bool writeDetailPages = false;    // 13: class pages are written
    bool lineBreaks = false;          // 14: kept, not read
    ModuleProgressFn progress = nullptr;  // 16-19: progress only asks whether the pages may move in
    ModuleStatusFn status = nullptr;
    ModuleErrorFn error = nullptr;
    void* callbackContext = nullptr;
    // While done writes the pages: where they wait until all are written
    // (null: they are written in place).
    StagedFiles* stagedPages = nullptr;
};

class DocClassList : public ClassList {
public:
    DocClassList();
    ~DocClassList() override;

    // Deletes every class (the open one too) and clears prepared.
    void clear() override;

    OldModuleSettings settings;
    // The run's stop request, asked of settings.progress (installed by init).
    CancelPoll cancel;
    // Rendered by init (IndexPage.h); they grow to what the texts need.
    std::string headBuffer;
    std::string entryTemplateBuffer;
    std::string footBuffer;
    // The class between startClass and endClass; owned here until endClass
    // registers it.
    std::unique_ptr<DocCppClass> currentClass;

    // All classes (those of the package filter only, when it is not
    // empty), ordered by compareClassNames; equal names stay in key order.
    std::vector<CppClass*> sortedClasses(const std::string& filter) const;
    // The class a base name written in cls stands for: for a Java or C#
    // class, as NameScopes::resolve finds it (the sources' imports read at
    // the first question, once the classes are in); else first the name
    // qualified by cls's own scope (cls's name up to and including its last
    // scope separator), then the name as written. Null when none is
    // registered.
    CppClass* resolveBase(const CppClass& cls, const std::string& baseName) const;
    // The class a word of a member declaration of owner stands for (or a
    // dotted name ending in it): for Java and C#, NameScopes::resolve; else
    // a class nested in owner, then as resolveBase; never for a keyword of
    // owner's language.
    CppClass* resolveTypeName(const CppClass& owner, const std::string& word) const;
    // resolveBase of each base-table name, in table order (null for an
    // unknown base).
    std::vector<CppClass*> baseClasses(const CppClass& cls) const;
    // The classes above cls, most distant first: for each known base, its
    // own ancestors and then the base itself. Each class appears once, cls
    // itself never.
    std::vector<CppClass*> ancestors(const CppClass& cls) const;
    // Once per filled list: every member's declaration becomes HTML, the
    // text escaped and each word that resolveTypeName finds a link to that
    // class's page, as seen from a class page.
    void prepare();
    bool isPrepared() const { return prepared; }
    // The class that declares a field (a member without argument list)
    // named name: cls, else the nearest of its ancestors that does; null
    // when none does. Known once prepare has run.
    const CppClass* fieldDeclarer(const CppClass& cls, std::string_view name) const;
    // The literals of the constants of the sources ({@value}), read only
    // inside the directories of the project list.
    SourceConstants constants;
    // Where the sources of Java and C# classes are read for their imports
    // (the directories of the project list; empty: none is read).
    InputRoots sourceRoots;
    // The page name (beside the class page) of the listing of file, one of
    // cls's or its members' files: the plain name unless prepare found
    // another file of cls's package with the same name (model/ListingNames.h).
    std::string listingPageOf(const CppClass& cls, const std::string& file) const {
        return listingNames.pageName(cls.getPackage(), file);
    }

private:
    // findClass in cls's package, then by the name alone among the classes
    // of cls's language.
    CppClass* findForClass(const CppClass& cls, const std::string& name) const;
    void collectAncestors(const CppClass& cls, std::vector<CppClass*>& out,
                          std::unordered_set<const CppClass*>& seen) const;
    bool prepared = false;
    ListingNames listingNames;
    // How Java and C# names resolve, made at the first question; the
    // ancestors it asks for are remembered.
    const NameScopes& nameScopes() const;
    mutable std::unique_ptr<NameScopes> scopes;
    mutable std::unordered_map<const CppClass*, std::vector<CppClass*>> nearestAncestors;
    // The names of each class's fields, noted by prepare.
    std::unordered_map<const CppClass*, std::unordered_set<std::string_view>> fieldNames;
};

// Orders class names and member names: compared with 'A'..'Z' folded to
// lower case, byte by byte; negative, zero or positive.
int compareNames(const std::string& a, const std::string& b);
// compareNames of the two classes' names.
int compareClassNames(const CppClass* a, const CppClass* b);

// The declaration as a class page shows it: escaped, with the words that
// name registered classes linked through linkPrefix (see prepare), but for
// the words that are a function's own type parameters.
std::string linkTypeText(const DocClassList& list, const CppClass& owner,
                         const std::string& declaration, const std::string& linkPrefix,
                         const std::vector<std::string>& typeParameters = {});

}  // namespace vantry_old
