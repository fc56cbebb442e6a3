#include "modules/standard/DocClassList.h"

#include "VelkLib/VelkError.h"
#include "VelkLib/VelkPath.h"
#include "VelkLib/VelkThreadPool.h"
#include "modules/common/ClassPagePath.h"

#include "modules/standard/PageNameOrder.h"
#include "modules/common/NameScopes.h"
#include "modules/common/SourceFacts.h"
#include "modules/standard/StatusReceiver.h"

#include "model/CppClass.h"
#include "model/GenericNames.h"
#include "model/SpecialisationNames.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "model/CppClassMember.h"
#include "modules/standard/PageMembers.h"

struct DocClassList::Indexes {
    // Position of every registered class in key order.
    std::unordered_map<const CppClass*, size_t> position;
    // Every class, and per package its classes, sorted by compareClassNames
    // (ties in key order).
    std::vector<CppClass*> sorted;
    std::map<std::string, std::vector<CppClass*>, std::less<>> byProject;
    // (package, container text) -> the classes declared there, in key order.
    std::map<std::pair<std::string, std::string>, std::vector<CppClass*>> nested;
    // Base name as written -> the classes whose base table holds it.
    struct TextHash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const noexcept {
            return std::hash<std::string_view>{}(text);
        }
    };
    std::unordered_map<std::string, std::vector<CppClass*>, TextHash, std::equal_to<>> byBaseName;
    // By position: the class itself, then its documented ancestors nearest
    // first (each with its position); where the members a reference names
    // are looked for.
    struct Candidate {
        const CppClass* cls;
        size_t position;
    };
    std::vector<std::vector<Candidate>> searchOrder;
    // By position: the names of the class's members with a detail entry,
    // sorted.
    std::vector<std::vector<std::string_view>> shownNames;
    // The C# twins, sent with their type parameters ("Box<T>"), by
    // (package, genericKey) and by genericKey alone (the last in key
    // order, as the name index keeps the last of a name).
    std::map<std::pair<std::string, std::string>, CppClass*> twins;
    std::unordered_map<std::string, CppClass*> twinsByKey;
    // Whether a C++ class is named with template arguments.
    bool specialisations = false;
    // Every registered name -> the classes registered under it, in key order.
    std::unordered_map<std::string_view, std::vector<CppClass*>> byName;
    // How Java and C# names resolve: the sources' imports among them.
    std::unique_ptr<NameScopes> scopes;
    // A documented class -> the registered classes whose bases resolve to
    // it, in key order.
    std::unordered_map<const CppClass*, std::vector<CppClass*>> derived;
    // The search orders are being filled, or filled.
    bool ordersStarted = false;
};

namespace {

// std::string::rfind(string) compares the whole pattern at every position;
// here only where the first character matches.
size_t lastOccurrence(std::string_view text, std::string_view pattern) {
    if (pattern.empty() || text.size() < pattern.size()) return text.rfind(pattern);
    for (size_t i = text.size() - pattern.size() + 1; i-- > 0;)
        if (text[i] == pattern[0] && text.compare(i, pattern.size(), pattern) == 0) return i;
    return std::string_view::npos;
}

// The text after the last separator; all of it when there is none.
std::string_view afterLast(std::string_view text, std::string_view separator) {
    if (separator.empty()) return text;
    size_t at = lastOccurrence(text, separator);
    return at == std::string_view::npos ? text : text.substr(at + separator.size());
}

}  // namespace

DocClassList::DocClassList(StatusReceiver* statusReceiver) : receiver(statusReceiver) {}

void DocClassList::checkCancel() const {
    if (receiver == nullptr) return;
    if (CancelPoll* cancel = receiver->cancelPoll()) cancel->check();
}

DocClassList::~DocClassList() = default;

VelkThreadPool* DocClassList::pagePool() const {
    if (!pool && configuredThreadCount() > 1)
        pool = std::make_unique<VelkThreadPool>(configuredThreadCount());
    return pool.get();
}

void DocClassList::warmCaches(const std::vector<CppClass*>& order) const {
    // Filled once for the list as it stands: a second pool (the index, the
    // member entries, the class pages) finds them all there.
    if (warmed) {
        frozen = true;
        return;
    }
    frozen = false;
    indexes();
    for (const auto& [key, cls] : getClasses()) {
        cls->getPageFile("");
        resolvedBases(*cls);
    }
    // The pages' own classes first, in page order, as one thread would ask
    // (the chains through a cycle depend on where the walk began); then
    // the rest, so that no question misses.
    for (const CppClass* cls : order) longestAncestorChain(*cls);
    for (const auto& [key, cls] : getClasses()) longestAncestorChain(*cls);
    frozen = true;
    warmed = true;
}

void DocClassList::noteListingPages() {
    listingPages.clear();
    listingNames = ListingNames();
    for (const auto& [key, cls] : getClasses()) {
        for (const InternedText& file : cls->getFileNames()) {
            listingPages.insert(classPagePath("", cls->getPackage(), fileNameOf(file.str())));
            listingNames.add(cls->getPackage(), file.str());
        }
        // A member's file (a definition apart from its class's) has a
        // listing too; members mostly repeat their class's last file.
        const InternedText* last = nullptr;
        for (const CppClassMember* member : cls->getMembers())
            for (const InternedText& file : member->getFileNames())
                if (last == nullptr || !(file == *last)) {
                    listingNames.add(cls->getPackage(), file.str());
                    last = &file;
                }
    }
}

std::string DocClassList::listingPageOf(const CppClass& cls, const std::string& file) const {
    return listingNames.pageName(cls.getPackage(), file);
}

std::string DocClassList::pageNameOf(const std::string& package, const std::string& name) const {
    std::string page = classPagePath("", package, name);
    if (!listingPages.empty() && listingPages.contains(page))
        page = classPagePath("", package, name + "-class");
    return page;
}

void DocClassList::clear() {
    listingPages.clear();
    listingNames = ListingNames();
    warmed = false;
    index.reset();
    resolvedBaseCache.clear();
    chainMemo.clear();
    constants.clear();
    ClassList::clear();
    prepared = false;
}

CppClass* DocClassList::addClass(CppClass* cls) {
    warmed = false;
    index.reset();
    resolvedBaseCache.clear();
    chainMemo.clear();
    return ClassList::addClass(cls);
}

const DocClassList::Indexes& DocClassList::indexes() const {
    nameIndexes();
    if (!index->ordersStarted) {
        // A question that the search orders ask while they are filled
        // finds the index as it stands.
        index->ordersStarted = true;
        try {
            fillSearchOrders(size() >= 2 ? pagePool() : nullptr);
        } catch (...) {
            index.reset();
            throw;
        }
    }
    return *index;
}

const DocClassList::Indexes& DocClassList::nameIndexes() const {
    if (index) return *index;
    auto built = std::make_unique<Indexes>();
    size_t n = 0;
    built->sorted.reserve(size());
    built->position.reserve(size());
    std::vector<CppClass*>* project = nullptr;
    const std::string* projectName = nullptr;
    for (const auto& [key, cls] : getClasses()) {
        built->position[cls] = n++;
        built->sorted.push_back(cls);
        // Key order keeps a package's classes together.
        if (!projectName || *projectName != key.first) {
            project = &built->byProject[key.first];
            projectName = &key.first;
        }
        project->push_back(cls);
        built->nested[{key.first, cls->getText()}].push_back(cls);
        if (cls->getLanguage() == 0 && key.second.find('<') != std::string::npos) built->specialisations = true;
        if (cls->getLanguage() == 1 && key.second.find('<') != std::string::npos) {
            std::string generic = genericKey(key.second);
            built->twins[{key.first, generic}] = cls;
            built->twinsByKey[std::move(generic)] = cls;
        }
        built->byName[key.second].push_back(cls);
        for (const auto& base : cls->getBases()) built->byBaseName[base.first].push_back(cls);
    }
    built->scopes = std::make_unique<NameScopes>(*this, sourceRoots, n >= 2 ? pagePool() : nullptr);
    index = std::move(built);
    return *index;
}

void DocClassList::fillSearchOrders(VelkThreadPool* workers) const {
    // Page writers only read these, so they are all made here, before the
    // first page. Each class's entries depend on that class alone, so with
    // workers they are made in slices, the base resolutions they ask for
    // made once beforehand and only read meanwhile.
    Indexes* built = index.get();
    const size_t n = built->sorted.size();
    built->searchOrder.resize(n);
    built->shownNames.resize(n);
    auto fill = [&](size_t begin, size_t end) {
        for (size_t at = begin; at < end; ++at) {
            const CppClass* cls = built->sorted[at];
            std::vector<std::string_view>& names = built->shownNames[at];
            for (const CppClassMember* member : cls->getMembers())
                if (hasDetailEntry(*member)) names.push_back(member->getName());
            std::sort(names.begin(), names.end());
            std::vector<Indexes::Candidate>& order = built->searchOrder[at];
            order.push_back({cls, at});
            ClassLevels levels;
            ancestorLevels(*cls, 0, levels);
            for (const auto& level : levels)
                for (const CppClass* ancestor : level) {
                    if (ancestor->isUnresolved()) continue;
                    auto known = built->position.find(ancestor);
                    // Only a registered class has members to find.
                    if (known != built->position.end()) order.push_back({ancestor, known->second});
                }
        }
    };
    if (workers) {
        const bool wasFrozen = frozen;
        frozen = true;
        try {
            const size_t slices = 8 * size_t{workers->size()};
            std::vector<std::vector<ResolvedBase>> resolved(slices);
            forEachSlice(*workers, n, slices, [&](size_t slice, size_t begin, size_t end) {
                resolveBases(built->sorted, begin, end, resolved[slice]);
            });
            if (!wasFrozen)
                for (const auto& part : resolved)
                    for (const ResolvedBase& base : part)
                        resolvedBaseCache[{base.cls, *base.name}] = base.found;
            forEachSlice(*workers, n, slices,
                         [&](size_t, size_t begin, size_t end) { fill(begin, end); });
        } catch (...) {
            frozen = wasFrozen;
            throw;
        }
        frozen = wasFrozen;
    } else {
        fill(0, n);
    }
    // The classes that name a documented class as a base, whatever the
    // spelling (an alias, a nested class's own name), in key order.
    for (CppClass* cls : built->sorted)
        for (const auto& [name, value] : cls->getBases()) {
            if (name.empty() || name == cls->getName()) continue;
            const CppClass* base = resolveBase(*cls, name, value);
            if (!base || base->isUnresolved()) continue;
            auto& below = built->derived[base];
            if (below.empty() || below.back() != cls) below.push_back(cls);
        }
    // The classes nested in a class's ancestors are in its scope.
    built->scopes->setAncestors(
        [built](const CppClass& cls, const std::function<bool(const CppClass&)>& visit) {
            auto at = built->position.find(&cls);
            if (at == built->position.end()) return false;
            const auto& order = built->searchOrder[at->second];
            for (size_t i = 1; i < order.size(); ++i)
                if (visit(*order[i].cls)) return true;
            return false;
        });
    sortByClassName(built->sorted, workers);
    for (auto& [name, classes] : built->byProject) sortByClassName(classes);
}

CppClass* DocClassList::registered(const CppClass& cls) const {
    return lookup(cls.getPackage(), cls.getName());
}

std::vector<std::string> DocClassList::projectNames() const {
    std::vector<std::string> names;
    for (const auto& entry : indexes().byProject) names.push_back(entry.first);
    return names;
}

void DocClassList::sortByClassName(std::vector<CppClass*>& classes, VelkThreadPool* pool) {
    // The order of compareClassNames, ties kept: each name folded once, then
    // sorted as plain texts.
    std::vector<std::string> keys;
    keys.reserve(classes.size());
    for (const CppClass* cls : classes) {
        keys.push_back(cls->getName());
        for (char& c : keys.back())
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    std::vector<CppClass*> sorted;
    sorted.reserve(classes.size());
    for (std::size_t at : keyOrder(keys, pool)) sorted.push_back(classes[at]);
    classes = std::move(sorted);
}

int DocClassList::compareClassNames(const CppClass* a, const CppClass* b) {
    const std::string& x = a->getName();
    const std::string& y = b->getName();
    size_t n = std::min(x.size(), y.size());
    for (size_t i = 0; i < n; ++i) {
        auto fold = [](char c) {
            unsigned char u = static_cast<unsigned char>(c);
            return u >= 'A' && u <= 'Z' ? u - 'A' + 'a' : u;
        };
        int cx = fold(x[i]), cy = fold(y[i]);
        if (cx != cy) return cx - cy;
    }
    if (x.size() == y.size()) return 0;
    return x.size() < y.size() ? -1 : 1;
}

std::vector<CppClass*> DocClassList::classesInProject(const std::string& filter) const {
    return sortedClasses(filter);
}

const std::vector<CppClass*>& DocClassList::sortedClasses(std::string_view filter) const {
    const Indexes& ix = indexes();
    if (filter.empty()) return ix.sorted;
    static const std::vector<CppClass*> none;
    auto found = ix.byProject.find(filter);
    return found == ix.byProject.end() ? none : found->second;
}

CppClass* DocClassList::resolveLinkTarget(const std::string& package, const CppClass* context,
                                          const std::string& name, bool fallback) const {
    if (name.find_first_of("<{") != std::string::npos) {
        // A generic name ("Box<int>", "Box{T}"): the twin spelt so, else
        // the twin of as many type parameters, else the class of the name
        // alone, a generic class without a twin being sent without them.
        if (CppClass* exact = resolveWrittenName(package, context, name, fallback)) return exact;
        if (context && context->getLanguage() == 0) {
            // A C++ specialisation written with blanks of its own ("Utf< 8 >"),
            // else the template ("Vec<int>", "Outer<T>::Inner").
            const std::string spelt = normalizedTemplateName(name);
            if (spelt != name)
                if (CppClass* exact = resolveWrittenName(package, context, spelt, fallback)) return exact;
            return resolveWrittenName(package, context, withoutTemplateArguments(name), fallback);
        }
        if (CppClass* twin = resolveTwin(package, context, name, fallback)) return twin;
        return resolveWrittenName(package, context, withoutAnyTypeParameters(name), fallback);
    }
    return resolveWrittenName(package, context, name, fallback);
}

bool DocClassList::hasGenericTwins() const { return !nameIndexes().twins.empty(); }

bool DocClassList::hasSpecialisations() const { return indexes().specialisations; }

CppClass* DocClassList::twinAt(const std::string& package, const std::string& key) const {
    const Indexes& ix = indexes();
    auto found = ix.twins.find({package, key});
    return found == ix.twins.end() ? nullptr : found->second;
}

CppClass* DocClassList::resolveTwin(const std::string& package, const CppClass* context,
                                    std::string_view name, bool fallback) const {
    const Indexes& ix = nameIndexes();
    if (ix.twins.empty()) return nullptr;
    const std::string key = genericKey(name);
    auto at = [&](std::string_view scope, std::string_view twin) {
        return twinAt(std::string(scope), std::string(twin));
    };
    if (context && !context->getText().empty()) {
        const std::string separator = context->getScopeSeparator();
        const std::string& outer = context->getName();
        size_t cut = lastOccurrence(outer, separator);
        if (cut != std::string::npos)
            if (CppClass* sibling = at(package, genericKey(outer.substr(0, cut)) + separator + key))
                return sibling;
    }
    for (size_t dot = key.rfind('.'); dot != std::string::npos;
         dot = dot == 0 ? std::string::npos : key.rfind('.', dot - 1))
        if (CppClass* found = at(std::string_view(key).substr(0, dot), std::string_view(key).substr(dot + 1)))
            return found;
    if (CppClass* found = at(package, key)) return found;
    if (!fallback) return nullptr;
    auto byKey = ix.twinsByKey.find(key);
    return byKey == ix.twinsByKey.end() ? nullptr : byKey->second;
}

CppClass* DocClassList::resolveWrittenName(const std::string& package, const CppClass* context,
                                           const std::string& name, bool fallback) const {
    if (context && !context->getText().empty()) {
        const std::string separator = context->getScopeSeparator();
        const std::string& outer = context->getName();
        size_t at = lastOccurrence(outer, separator);
        if (at != std::string::npos) {
            // The sibling's name is the context's scope + name; joined on the
            // stack when it fits, as this runs for every word of every
            // declaration.
            std::string_view scope(outer.data(), at + separator.size());
            CppClass* sibling;
            char joined[256];
            if (scope.size() + name.size() <= sizeof joined) {
                std::memcpy(joined, scope.data(), scope.size());
                std::memcpy(joined + scope.size(), name.data(), name.size());
                sibling = findClass(package, std::string_view(joined, scope.size() + name.size()),
                                    false);
            } else {
                sibling = findClass(package, std::string(scope) + name, false);
            }
            if (sibling) return sibling;
        }
    }
    return findClass(package, name, fallback);
}

CppClass* DocClassList::resolveNestedName(const std::string& package, const CppClass* context,
                                          std::string_view name) const {
    if (name.empty()) return nullptr;
    if (followsImports(context)) return nameIndexes().scopes->resolve(*context, name, false);
    if (context) {
        // Nested in the context, then in each class that encloses it.
        const std::string separator = context->getScopeSeparator();
        const std::string contextPackage = context->getPackage();
        std::string_view scope = context->getName();
        std::string joined;
        for (;;) {
            joined.assign(scope);
            joined += separator;
            joined += name;
            if (CppClass* found = lookup(contextPackage, joined)) return found;
            size_t at = lastOccurrence(scope, separator);
            if (at == std::string_view::npos) break;
            scope = scope.substr(0, at);
        }
    }
    if (CppClass* found = findClass(package, name, false)) return found;
    return onlyClassNamed(nameIndexes(), context, name);
}

void DocClassList::setSourceRoots(InputRoots roots) {
    constants.setRoots(roots);
    sourceRoots = std::move(roots);
    warmed = false;
    index.reset();
}

bool DocClassList::followsImports(const CppClass* context) {
    return NameScopes::followsImports(context);
}

const std::unordered_set<std::string>& DocClassList::aliasNames() const {
    return nameIndexes().scopes->aliasNames();
}

CppClass* DocClassList::onlyClassNamed(const Indexes& ix, const CppClass* context,
                                       std::string_view name) const {
    auto named = ix.byName.find(name);
    if (named == ix.byName.end()) return nullptr;
    CppClass* only = nullptr;
    for (CppClass* cls : named->second) {
        if (cls->isUnresolved() || (context && cls->getLanguage() != context->getLanguage()))
            continue;
        if (only) return nullptr;
        only = cls;
    }
    return only;
}

CppClass* DocClassList::resolveName(const std::string& package, const CppClass* context,
                                    std::string_view name, bool base) const {
    if (followsImports(context)) return nameIndexes().scopes->resolve(*context, name, base);
    return resolveLinkTarget(package, context, std::string(name), true);
}

const CppClass* DocClassList::staticMemberDeclarer(const CppClass* context,
                                                   std::string_view member) const {
    if (!context || member.empty()) return nullptr;
    for (const CppClass* type : nameIndexes().scopes->staticTypesInView(*context))
        if (const CppClass* declarer = memberDeclarer(*type, member, false)) return declarer;
    return nullptr;
}

CppClass* DocClassList::resolveTypeName(const std::string& package, const CppClass* context,
                                        const std::string& name) const {
    return resolveName(package, context, name);
}

const CppClass* DocClassList::memberDeclarer(const CppClass& cls, std::string_view member,
                                             bool enclosing) const {
    const Indexes& ix = indexes();
    auto declares = [&](const CppClass* c) -> const CppClass* {
        auto at = ix.position.find(c);
        if (at == ix.position.end()) return nullptr;
        for (const Indexes::Candidate& candidate : ix.searchOrder[at->second]) {
            const std::vector<std::string_view>& names = ix.shownNames[candidate.position];
            if (std::binary_search(names.begin(), names.end(), member)) return candidate.cls;
        }
        return nullptr;
    };
    const CppClass* start = registered(cls);
    if (!start) return nullptr;
    if (const CppClass* found = declares(start)) return found;
    if (!enclosing) return nullptr;
    const std::string separator = start->getScopeSeparator();
    std::string_view scope = start->getName();
    for (size_t at = lastOccurrence(scope, separator); at != std::string_view::npos;
         at = lastOccurrence(scope, separator)) {
        scope = scope.substr(0, at);
        if (const CppClass* outer = lookup(start->getPackage(), scope))
            if (const CppClass* found = declares(outer)) return found;
    }
    return nullptr;
}

CppClass* DocClassList::resolveQualifiedName(const std::string& name, const std::string& package,
                                             bool fallback) const {
    return findClass(package, name, fallback);
}

void DocClassList::cacheResolvedBase(CppClass* resolved, const CppClass& cls,
                                     const std::string& baseName) const {
    if (resolved && !frozen) resolvedBaseCache[{&cls, baseName}] = resolved;
}

CppClass* DocClassList::resolveBase(const CppClass& cls, const std::string& baseName,
                                    CppClass* entryValue) const {
    if (entryValue && !entryValue->isUnresolved()) return entryValue;
    auto cached = resolvedBaseCache.find({&cls, baseName});
    if (cached != resolvedBaseCache.end()) return cached->second;
    CppClass* found = resolveName(cls.getPackage(), &cls, baseName, true);
    if (!found) return entryValue;
    cacheResolvedBase(found, cls, baseName);
    return found;
}

void DocClassList::resolveBases(const std::vector<CppClass*>& classes, size_t begin, size_t end,
                                std::vector<ResolvedBase>& found) const {
    for (size_t at = begin; at < end; ++at) {
        const CppClass& cls = *classes[at];
        for (const auto& [name, value] : cls.getBases()) {
            if (name.empty() || (value && !value->isUnresolved())) continue;
            if (resolvedBaseCache.count({&cls, name})) continue;
            if (CppClass* target = resolveName(cls.getPackage(), &cls, name, true))
                found.push_back({&cls, &name, target});
        }
    }
}

std::vector<CppClass*> DocClassList::walkBases(const CppClass& cls, bool skipSelf) const {
    std::vector<CppClass*> result;
    for (const auto& [name, value] : cls.getBases()) {
        if (name.empty() || (skipSelf && name == cls.getName())) continue;
        if (CppClass* base = resolveBase(cls, name, value)) result.push_back(base);
    }
    return result;
}

std::vector<CppClass*> DocClassList::resolvedBases(const CppClass& cls) const {
    std::vector<CppClass*> result;
    std::unordered_set<const CppClass*> seen;
    for (CppClass* base : walkBases(cls, false))
        if (!base->isUnresolved() && seen.insert(base).second) result.push_back(base);
    return result;
}

std::vector<CppClass*> DocClassList::longestAncestorChain(const CppClass& cls) const {
    CppClass* start = registered(cls);
    if (!start) return {};
    // Iterative depth-first walk so that deep hierarchies cannot exhaust
    // the stack; a base met again while its own chain is being built (a
    // cycle) is left out. Each class remembers only the first base of its
    // longest chain and the chain's length, so the memory stays linear in
    // the number of classes however deep the hierarchy is.
    struct Frame {
        CppClass* cls;
        std::vector<CppClass*> bases;
        size_t next = 0;
        ChainLink best{nullptr, 0};
    };
    auto consider = [](Frame& frame, CppClass* base, size_t baseLength) {
        if (baseLength + 1 > frame.best.length) frame.best = {base, baseLength + 1};
    };
    // Frozen, a class the memo does not know is walked in a copy of it.
    std::unordered_map<const CppClass*, ChainLink> scratch;
    if (frozen && !chainMemo.count(start)) scratch = chainMemo;
    auto& memoTable = frozen && !chainMemo.count(start) ? scratch : chainMemo;
    std::unordered_set<const CppClass*> onPath;
    std::vector<Frame> stack;
    auto push = [&](CppClass* c) {
        CppClass* r = registered(*c);
        Frame f{c, {}, 0, {nullptr, 0}};
        if (r) {
            for (CppClass* b : walkBases(*r, true))
                if (c->isInterface() || !b->isInterface()) f.bases.push_back(b);
        }
        onPath.insert(c);
        stack.push_back(std::move(f));
    };
    // A class is walked once; its link is final from then on, and always
    // names a class whose own link was final before, so the links can
    // never form a loop, not even through a cycle of bases.
    if (!memoTable.count(start)) push(start);
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next < top.bases.size()) {
            CppClass* b = top.bases[top.next++];
            auto memo = memoTable.find(b);
            if (memo != memoTable.end()) consider(top, b, memo->second.length);
            else if (!onPath.count(b)) push(b);  // considered when it is finished
            continue;
        }
        CppClass* finished = top.cls;
        ChainLink link = top.best;
        memoTable[finished] = link;
        onPath.erase(finished);
        stack.pop_back();
        if (!stack.empty()) consider(stack.back(), finished, link.length);
    }
    // The links run from the direct base to the root.
    std::vector<CppClass*> chain;
    for (CppClass* c = memoTable.find(start)->second.next; c != nullptr;
         c = memoTable.find(c)->second.next)
        chain.push_back(c);
    std::reverse(chain.begin(), chain.end());
    return chain;
}

void DocClassList::collectLevels(const CppClass& cls, size_t depth, ClassLevels& levels,
                                 bool ancestors) const {
    CppClass* start = registered(cls);
    if (!start) return;
    // Depth-first in base (or key) order with an explicit stack; each class
    // is entered once, at the depth where it is first met.
    std::unordered_set<const CppClass*> seen{start, &cls};
    struct Item {
        CppClass* cls;
        size_t depth;
    };
    auto next = [&](CppClass* c) {
        if (ancestors) {
            CppClass* r = registered(*c);
            return r ? walkBases(*r, true) : std::vector<CppClass*>{};
        }
        return directSubclasses(*c);
    };
    std::vector<Item> stack;
    auto pushChildren = [&](CppClass* c, size_t d) {
        std::vector<CppClass*> children = next(c);
        for (auto it = children.rbegin(); it != children.rend(); ++it) stack.push_back({*it, d});
    };
    pushChildren(start, depth);
    while (!stack.empty()) {
        Item item = stack.back();
        stack.pop_back();
        if (!seen.insert(item.cls).second) continue;
        if (levels.size() <= item.depth) levels.resize(item.depth + 1);
        levels[item.depth].push_back(item.cls);
        pushChildren(item.cls, item.depth + 1);
    }
}

void DocClassList::ancestorLevels(const CppClass& cls, size_t depth, ClassLevels& levels) const {
    collectLevels(cls, depth, levels, true);
}

void DocClassList::descendantLevels(const CppClass& cls, size_t depth,
                                    ClassLevels& levels) const {
    collectLevels(cls, depth, levels, false);
}

ClassLevels DocClassList::resolveInClassHierarchy(const CppClass& cls) const {
    ClassLevels levels;
    ancestorLevels(cls, 0, levels);
    return levels;
}

ClassLevels DocClassList::collectHierarchyLinks(const CppClass& cls) const {
    ClassLevels levels;
    descendantLevels(cls, 0, levels);
    return levels;
}

std::vector<CppClass*> DocClassList::directSubclasses(const CppClass& cls) const {
    const Indexes& ix = indexes();
    const std::string& name = cls.getName();
    const std::string package = cls.getPackage();
    // An empty name asks for classes without bases, and a class without
    // bases derives from nothing: no class qualifies.
    if (name.empty()) return {};
    // The same three spellings that CppClass::hasBase accepts.
    const std::string qualified = package.empty() ? std::string() : package + "." + name;
    const std::string_view spellings[] = {name, afterLast(name, "."), afterLast(name, "::"),
                                          qualified};
    const size_t spellingCount = package.empty() ? 3 : 4;
    std::vector<std::pair<size_t, CppClass*>> candidates;
    for (size_t i = 0; i < spellingCount; ++i) {
        auto found = ix.byBaseName.find(spellings[i]);
        if (found == ix.byBaseName.end()) continue;
        for (CppClass* x : found->second) candidates.emplace_back(ix.position.at(x), x);
    }
    // Key order, each class once.
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());

    // The name test alone would make geo::Circle (base "Shape", resolved to
    // geo::Shape) a subclass of every other class named Shape, in any
    // project or language; a base that resolves to another class does not
    // count. A base that resolves to nothing is matched by name.
    const CppClass* self = registered(cls);
    auto derivesFromThis = [&](CppClass* x) {
        const std::string separator = x->getScopeSeparator();
        const std::string_view local = afterLast(name, separator);
        for (const auto& [baseName, value] : x->getBases()) {
            bool names = baseName == name || (!package.empty() && baseName == qualified) ||
                         baseName == local;
            if (!names) continue;
            CppClass* resolved = resolveBase(*x, baseName, value);
            if (!resolved || resolved->isUnresolved() || resolved == self || resolved == &cls)
                return true;
        }
        return false;
    };
    std::vector<std::pair<size_t, CppClass*>> deriving;
    for (const auto& candidate : candidates)
        if (derivesFromThis(candidate.second)) deriving.push_back(candidate);
    // And those whose base, spelt otherwise, resolves to this class.
    auto below = self ? ix.derived.find(self) : ix.derived.end();
    if (below != ix.derived.end()) {
        for (CppClass* x : below->second) deriving.emplace_back(ix.position.at(x), x);
        std::sort(deriving.begin(), deriving.end());
        deriving.erase(std::unique(deriving.begin(), deriving.end()), deriving.end());
    }
    std::vector<CppClass*> result;
    result.reserve(deriving.size());
    for (const auto& entry : deriving) result.push_back(entry.second);
    return result;
}

std::vector<CppClass*> DocClassList::nestedClasses(const CppClass& cls) const {
    const auto& nested = indexes().nested;
    auto found = nested.find({cls.getPackage(), cls.getName()});
    return found == nested.end() ? std::vector<CppClass*>{} : found->second;
}
