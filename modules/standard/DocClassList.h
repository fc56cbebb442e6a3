// The standard module's class list: every class of the current run, with
// the questions that page writing asks across classes (projects, sorted
// listings, name resolution, ancestors, subclasses, nested classes).
//
// Lookups never raise; a name that resolves to nothing gives null and is
// written as code text by the caller. The walks terminate on inheritance
// cycles and list a class reached along several paths once. The indexes
// behind them are built once per filled list and dropped when a class is
// added or the list is cleared.
#pragma once

#include "VelkLib/VelkFile.h"
#include "model/ClassList.h"
#include "model/ListingNames.h"
#include "modules/common/SourceConstants.h"

class VelkThreadPool;

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

class CppClass;
class StatusReceiver;

// Index i holds the classes found at distance i + 1 from the start.
using ClassLevels = std::vector<std::vector<CppClass*>>;

class DocClassList : public ClassList {
public:
    // receiver is the module's status channel (not owned, may be null).
    explicit DocClassList(StatusReceiver* receiver);
    ~DocClassList() override;

    // Deletes every class and asks for member entries to be prepared again.
    void clear() override;

    // ClassList::addClass, and the indexes are rebuilt on the next question.
    CppClass* addClass(CppClass* cls);

    StatusReceiver* getStatusReceiver() const { return receiver; }
    // Throws RunCancelled (CancelPoll.h) when the run is to stop: called
    // by the page writers' loops, on any thread.
    void checkCancel() const;

    // The way from the detail directory up to the main page's directory,
    // without a trailing "/": ".." unless the detail directory lies deeper
    // ("../.." for "sub/dir"), "." when both are one directory. {@docroot}
    // is a page's link prefix followed by it.
    const std::string& getDetailToMain() const { return detailToMain; }
    void setDetailToMain(const std::string& path) { detailToMain = path; }

    // Runs DocCppClass::writeMemberEntries for every class in key order,
    // once per filled list.
    void prepareMemberEntries();
    bool memberEntriesPrepared() const { return prepared; }

    // The distinct package texts (project names) in ascending byte order.
    std::vector<std::string> projectNames() const;
    // The classes of the package (all classes for ""), sorted by
    // compareClassNames; classes whose names compare equal stay in key order.
    std::vector<CppClass*> classesInProject(const std::string& filter) const;
    // The names compared with 'A'..'Z' folded to lower case; a prefix sorts
    // first. Negative, zero or positive.
    static int compareClassNames(const CppClass* a, const CppClass* b);
    // Sorts by compareClassNames; classes whose names compare equal keep
    // their order. With a pool, a long list is sorted on it.
    static void sortByClassName(std::vector<CppClass*>& classes, VelkThreadPool* pool = nullptr);

    // The class a name in the context class's text stands for: first the
    // name under the context's outer scope (a sibling of a nested class),
    // then findClass(package, name, fallback). A generic name ("Box<int>",
    // or "Box{T}" as a cref writes it) stands for the class of that name
    // when there is one, else for the C# twin of as many type parameters
    // (model/GenericNames.h), looked for in the same places, else for the
    // class of the name without its type arguments. Seen from a C++ class
    // the name is a specialisation ("Utf<8>", model/SpecialisationNames.h),
    // also in the one spelling of its blanks, else the template it
    // specialises; no C# twin is looked for. Null when none.
    CppClass* resolveLinkTarget(const std::string& package, const CppClass* context,
                                const std::string& name, bool fallback) const;
    // True when the list holds a C# twin, a class named with its type
    // parameters.
    bool hasGenericTwins() const;
    // True when the list holds a C++ specialisation, a class named with
    // its template arguments ("Utf<8>").
    bool hasSpecialisations() const;
    // The class that a reference in context's documentation names by a
    // name that may be nested ("Inner", "Outer.Inner", "pkg.Outer.Inner"):
    // for a Java or C# context, resolveName; otherwise a class nested in
    // the context or in one of its enclosing classes, outwards, then the
    // name split at a "." into package and class, then the name in the
    // given package, then the one class of the name among the run's
    // classes of the context's language. Null when none.
    CppClass* resolveNestedName(const std::string& package, const CppClass* context,
                                std::string_view name) const;
    // The class that a name written in a Java or C# context's text (its
    // comment, a type in a member's declaration, with base set a base in
    // its head) stands for, as the language finds it: NameScopes::resolve,
    // over the list's classes and the imports of their sources, read once
    // for all classes before the first question, only inside the roots
    // given to setSourceRoots (without roots, none). For another language,
    // or without a context, resolveLinkTarget with fall back by name.
    CppClass* resolveName(const std::string& package, const CppClass* context,
                          std::string_view name, bool base = false) const;
    // True for a Java or C# context, whose names resolveName reads by the
    // language's rules.
    static bool followsImports(const CppClass* context);
    // The names the sources' C# aliases give (NameScopes::aliasNames).
    const std::unordered_set<std::string>& aliasNames() const;
    // The class that a bare member name in a C# context's documentation
    // ("Timeout" in a cref) leads to, when no class of that name is in
    // view and the context's own classes declare no such member: the class
    // (of those a "using static" directive in view names,
    // NameScopes::staticTypesInView, or one of its ancestors) that declares
    // a member of the name. Null when none does, or for another language.
    const CppClass* staticMemberDeclarer(const CppClass* context, std::string_view member) const;
    // The class that a word of a member's declaration stands for as seen
    // from package and context: resolveName for Java and C#, and for the
    // others resolveLinkTarget with fall back by name. Null when none.
    CppClass* resolveTypeName(const std::string& package, const CppClass* context,
                              const std::string& name) const;
    // Where the sources may be read (the projects' directories), set
    // before the classes are added; the indexes are built again on the
    // next question.
    void setSourceRoots(InputRoots roots);
    // The literals of the constants of the sources, read as resolveName
    // reads the sources (only inside the roots of setSourceRoots).
    const SourceConstants& sourceConstants() const { return constants; }

    // The class whose page carries the detail entry of a member named
    // member: cls itself, else its ancestors nearest first, else, with
    // enclosing set, the classes that enclose cls, outwards, each followed
    // by its ancestors. Null when no documented class declares it.
    const CppClass* memberDeclarer(const CppClass& cls, std::string_view member,
                                   bool enclosing) const;

    // findClass(package, name, fallback).
    CppClass* resolveQualifiedName(const std::string& name, const std::string& package,
                                   bool fallback) const;

    // What the base-table entry name of cls stands for: the documented
    // class when the name resolves (remembered for the rest of the site),
    // otherwise the entry's own value (possibly a placeholder).
    CppClass* resolveBase(const CppClass& cls, const std::string& baseName,
                          CppClass* entryValue) const;
    // Remembers that the base entry baseName of cls stands for resolved
    // (null forgets nothing).
    void cacheResolvedBase(CppClass* resolved, const CppClass& cls,
                           const std::string& baseName) const;

    // The bases of cls that resolve to documented classes, in base-name
    // order, each once.
    std::vector<CppClass*> resolvedBases(const CppClass& cls) const;
    // The same list (the records that the base names resolve to).
    std::vector<CppClass*> namespaceMembers(const CppClass& cls) const {
        return resolvedBases(cls);
    }
    // The ancestors of cls from the root down to its direct base along the
    // longest chain (a class follows its class bases only, an interface all
    // its bases; the first in base-name order wins a tie). Empty when cls is
    // not registered.
    std::vector<CppClass*> longestAncestorChain(const CppClass& cls) const;
    // Fills levels from index depth on with the ancestors of cls (base
    // placeholders included), each class once.
    void ancestorLevels(const CppClass& cls, size_t depth, ClassLevels& levels) const;
    // Fills levels from index depth on with the descendants of cls, each
    // class once.
    void descendantLevels(const CppClass& cls, size_t depth, ClassLevels& levels) const;
    // ancestorLevels / descendantLevels from depth 0, as a result.
    ClassLevels resolveInClassHierarchy(const CppClass& cls) const;
    ClassLevels collectHierarchyLinks(const CppClass& cls) const;
    // The registered classes that name cls as a base (by name, by
    // package + "." + name, or by the part after the last scope
    // separator, unless that base resolves to another class), and those
    // whose base resolves to cls however it is spelt, in key order.
    std::vector<CppClass*> directSubclasses(const CppClass& cls) const;
    std::vector<CppClass*> classMembersMatching(const CppClass& cls) const {
        return directSubclasses(cls);
    }
    // The registered classes declared inside cls (container text equal to
    // its name, same package), in key order.
    std::vector<CppClass*> nestedClasses(const CppClass& cls) const;
    std::vector<CppClass*> resolveInClassScope(const CppClass& cls) const {
        return nestedClasses(cls);
    }
    // The listing of classesInProject(filter), sorted once per filled list
    // and held by the list: the reference stays valid until a class is
    // added or the list is cleared.
    const std::vector<CppClass*>& sortedClasses(std::string_view filter) const;

    // Class pages are written on several threads at once. Before they
    // start, warmCaches fills what their questions remember (the indexes,
    // every class's page path and resolved bases, the ancestor chains of
    // the classes in `order`, the order of the pages) and freezes the
    // caches: until thawCaches, questions only read them, and what they do
    // not hold is worked out again each time instead of being stored.
    void warmCaches(const std::vector<CppClass*>& order) const;
    void thawCaches() const { frozen = false; }
    // warmCaches for the life of the object, thawed on every way out.
    class FrozenCaches {
    public:
        explicit FrozenCaches(const DocClassList& list, const std::vector<CppClass*>& order = {})
            : list(list) {
            list.warmCaches(order);
        }
        ~FrozenCaches() { list.thawCaches(); }
        FrozenCaches(const FrozenCaches&) = delete;
        FrozenCaches& operator=(const FrozenCaches&) = delete;

    private:
        const DocClassList& list;
    };

    // The workers that write the list's pages, made at the first call and
    // kept for every later pass (each new thread starts its memory afresh),
    // or null when the run uses one thread.
    VelkThreadPool* pagePool() const;
    bool cachesFrozen() const { return frozen; }

    // The source listings lie among the class pages, one per file and
    // package, named after the file: a nested class named like a file
    // (class java inside Shape in Shape.java) would share its page name.
    // Notes the listings' page names of the classes' files (run before the
    // pages are named); pageNameOf then names such a class's page apart.
    // Two files of a package may share a name: each has a page of its own
    // (model/ListingNames.h), listingPageOf names it.
    void noteListingPages();
    // The page name (beside the class page) of the listing of file, one of
    // cls's or its members' files: the plain name unless noteListingPages
    // found another file of cls's package with the same name.
    std::string listingPageOf(const CppClass& cls, const std::string& file) const;
    // The page of a class of the package and name, relative to the detail
    // directory: classPagePath, or, when a listing has that name, the
    // name with "-class" added, which no class name can give.
    std::string pageNameOf(const std::string& package, const std::string& name) const;

private:
    struct Indexes;
    // The whole index; nameIndexes: what names resolve by (the classes by
    // name and position, the twins, the sources' imports), made first.
    const Indexes& indexes() const;
    const Indexes& nameIndexes() const;
    // Fills the index's search orders and shown names, and sorts its
    // listings, once its names and imports are made.
    void fillSearchOrders(VelkThreadPool* workers) const;
    // resolveLinkTarget of a name taken as written.
    CppClass* resolveWrittenName(const std::string& package, const CppClass* context,
                                 const std::string& name, bool fallback) const;
    // The twin that a generic name stands for, by its genericKey, in the
    // places resolveWrittenName looks; null when none.
    CppClass* resolveTwin(const std::string& package, const CppClass* context,
                          std::string_view name, bool fallback) const;
    // The twin registered under (package, genericKey) exactly; null when none.
    CppClass* twinAt(const std::string& package, const std::string& key) const;
    // A base name of a class that resolveBase would look up, and what the
    // look-up found.
    struct ResolvedBase {
        const CppClass* cls;
        const std::string* name;
        CppClass* found;
    };
    // Looks up the unresolved base names of classes[begin, end) that the
    // cache does not hold, into `found`. Only reads the list and the cache:
    // several slices may run at once while nothing writes.
    void resolveBases(const std::vector<CppClass*>& classes, size_t begin, size_t end,
                      std::vector<ResolvedBase>& found) const;
    // The registered record with cls's key, or null.
    CppClass* registered(const CppClass& cls) const;
    // The entries of the base table of cls after resolution, skipping
    // empty names and (with skipSelf) cls's own name.
    std::vector<CppClass*> walkBases(const CppClass& cls, bool skipSelf) const;
    void collectLevels(const CppClass& cls, size_t depth, ClassLevels& levels,
                       bool ancestors) const;

    StatusReceiver* receiver;
    bool prepared = false;
    std::string detailToMain = "..";
    mutable std::unique_ptr<Indexes> index;
    mutable std::map<std::pair<const CppClass*, std::string>, CppClass*> resolvedBaseCache;
    // Per class: the first base of its longest ancestor chain, and the
    // chain's length.
    struct ChainLink {
        CppClass* next;
        size_t length;
    };
    mutable std::unordered_map<const CppClass*, ChainLink> chainMemo;
    mutable bool frozen = false;
    std::unordered_set<std::string> listingPages;
    ListingNames listingNames;
    // The caches hold every answer warmCaches fills, until the list changes.
    mutable bool warmed = false;
    mutable std::unique_ptr<VelkThreadPool> pool;
    // Where the sources of Java and C# classes are read for their imports
    // (empty: they are not read).
    InputRoots sourceRoots;
    SourceConstants constants;
    // The one class of the name among the run's classes of context's
    // language (of all classes without a context); null when there are
    // none or several.
    CppClass* onlyClassNamed(const Indexes& ix, const CppClass* context,
                             std::string_view name) const;
};
