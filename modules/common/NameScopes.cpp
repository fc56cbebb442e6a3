#include "modules/common/NameScopes.h"

#include "VelkLib/VelkPath.h"
#include "VelkLib/VelkThreadPool.h"
#include "model/ClassList.h"
#include "model/CppClass.h"
#include "model/GenericNames.h"
#include "modules/common/SourceFacts.h"

#include <algorithm>

struct NameScopes::Imports {
    // Java: each class imported by its name, by its simple name (null
    // when no documented class has it).
    struct TextHash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const noexcept {
            return std::hash<std::string_view>{}(text);
        }
    };
    std::unordered_map<std::string, CppClass*, TextHash, std::equal_to<>> classes;
    // What the file (Java: one block) or one of its namespace blocks (C#)
    // brings into view.
    struct Block {
        std::string scope;  // C#: the namespace of the block
        int id = 0;         // C#: the block's number in its file (0: the file's level)
        // The packages and namespaces whose every class is in view.
        std::vector<std::string> packages;
        // The documented types whose nested classes (and, for C#, members)
        // are in view.
        std::vector<const CppClass*> memberTypes;
        // C#: alias -> the name it stands for, as written.
        std::vector<std::pair<std::string, std::string>> aliases;
    };
    std::vector<Block> blocks;
    Block& block(const std::string& scope, int id = 0) {
        for (Block& b : blocks)
            if (b.scope == scope && b.id == id) return b;
        blocks.push_back({scope, id, {}, {}, {}});
        return blocks.back();
    }
    // C#: the block around each block, and the block that declares each
    // type of a namespace's level, as the source was read.
    std::vector<int> blockParents;
    std::unordered_map<std::string, int> typeBlocks;
};

// What a class's source brings into view, and which of its C# blocks hold
// for the class: those around the block that declares it (none listed:
// every block, as for Java and where the block is not known).
struct NameScopes::View {
    std::shared_ptr<Imports> imports;
    std::vector<int> blocks;
    bool sees(const Imports::Block& block) const {
        return blocks.empty() || std::find(blocks.begin(), blocks.end(), block.id) != blocks.end();
    }
};

namespace {

// The source a Java or C# class was found in, whose imports it sees: its
// first file, in its source directory; "" for none.
std::string importingSource(const CppClass& cls) {
    const auto& files = cls.getFileNames();
    if (!NameScopes::followsImports(&cls) || files.empty() || cls.getSourceDirectory().empty())
        return {};
    return cls.getSourceDirectory() + "/" + fileNameOf(files.front().str());
}

// The text after the last ".", all of it when there is none.
std::string_view afterLastDot(std::string_view text) {
    const size_t dot = text.rfind('.');
    return dot == std::string_view::npos ? text : text.substr(dot + 1);
}

// The first "." that stands outside type arguments, or npos.
size_t firstDotOutsideArguments(std::string_view name) {
    for (size_t i = 0, depth = 0; i < name.size(); ++i) {
        if (name[i] == '<' || name[i] == '{') ++depth;
        else if ((name[i] == '>' || name[i] == '}') && depth > 0) --depth;
        else if (name[i] == '.' && depth == 0) return i;
    }
    return std::string_view::npos;
}

// The dots that stand outside type arguments, last first.
std::vector<size_t> dotsOutsideArguments(std::string_view name) {
    std::vector<size_t> dots;
    for (size_t i = 0, depth = 0; i < name.size(); ++i) {
        if (name[i] == '<' || name[i] == '{') ++depth;
        else if ((name[i] == '>' || name[i] == '}') && depth > 0) --depth;
        else if (name[i] == '.' && depth == 0) dots.push_back(i);
    }
    std::reverse(dots.begin(), dots.end());
    return dots;
}

// The scope that encloses a nested class's name ("Outer" of
// "Outer.Inner"); "" for a top-level one.
std::string_view enclosingScope(std::string_view name) {
    const std::vector<size_t> dots = dotsOutsideArguments(name);
    return dots.empty() ? std::string_view() : name.substr(0, dots.front());
}

// The namespace around a C# namespace ("Acme" of "Acme.Core"); "" for
// the global one.
std::string_view outerNamespace(std::string_view level) {
    const size_t dot = level.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : level.substr(0, dot);
}

std::string joinedName(std::string_view a, std::string_view separator, std::string_view b) {
    std::string text;
    text.reserve(a.size() + separator.size() + b.size());
    text += a;
    text += separator;
    text += b;
    return text;
}

constexpr std::string_view noPackage = "(default)";

}  // namespace

size_t NameScopes::PairHash::operator()(const std::pair<std::string, std::string>& key) const noexcept {
    return std::hash<std::string>{}(key.first) * 31 + std::hash<std::string>{}(key.second);
}

NameScopes::NameScopes(const ClassList& classes, const InputRoots& roots, VelkThreadPool* workers)
    : list(classes) {
    for (const auto& [key, cls] : list.getClasses()) {
        const std::string_view name = key.second;
        byName[name].push_back(cls);
        if (cls->getLanguage() == 1 && name.find('<') != std::string_view::npos) {
            std::string generic = genericKey(name);
            twins[{key.first, generic}] = cls;
            twinsByKey[std::move(generic)] = cls;
        }
        const size_t dot = name.rfind('.');
        if (dot != std::string_view::npos)
            nestedNames.insert(withoutTypeParameters(name.substr(dot + 1)));
    }
    readImports(roots, workers);
}

NameScopes::~NameScopes() = default;

void NameScopes::setAncestors(Ancestors walk) { ancestors = std::move(walk); }

bool NameScopes::followsImports(const CppClass* context) {
    return context && (context->getLanguage() == 1 || context->getLanguage() == 2);
}

void NameScopes::readImports(const InputRoots& roots, VelkThreadPool* workers) {
    if (roots.empty()) return;
    // The sources, in the order their first classes come, each with the
    // classes met in it.
    std::vector<std::pair<std::string, std::vector<const CppClass*>>> sources;
    std::unordered_map<std::string, size_t> sourceAt;
    for (const auto& [key, cls] : list.getClasses()) {
        std::string path = importingSource(*cls);
        if (path.empty()) continue;
        auto known = sourceAt.find(path);
        if (known == sourceAt.end()) {
            known = sourceAt.emplace(path, sources.size()).first;
            sources.emplace_back(std::move(path), std::vector<const CppClass*>());
        }
        sources[known->second].second.push_back(cls);
    }
    std::vector<std::shared_ptr<Imports>> read(sources.size());
    // Each source is read and resolved on its own; only the list is read.
    // C#'s global using directives hold in every source: they are gathered
    // per source and given to all once every source is read.
    std::vector<std::vector<ImportDirective>> globalDirectives(sources.size());
    auto documented = [&](const std::string& name) -> CppClass* {
        CppClass* cls = list.findClass("", name, false);
        return cls && !cls->isUnresolved() ? cls : nullptr;
    };
    // C#: the namespaces that hold documented classes, and those around them.
    std::unordered_set<std::string> namespaces;
    for (const auto& [key, cls] : list.getClasses()) {
        if (cls->getLanguage() != 1) continue;
        for (std::string_view level = key.first; !level.empty(); level = outerNamespace(level))
            if (!namespaces.emplace(level).second) break;
    }
    // C#: a directive written inside a namespace block names what it names
    // read from that namespace outwards ("using Core;" within "namespace
    // Acme" is Acme.Core when there is one); the name as written when no
    // level holds it.
    auto fromScope = [](const ImportDirective& directive, const auto& holds) {
        for (std::string_view level = directive.scope;; level = outerNamespace(level)) {
            if (level.empty()) return directive.name;
            std::string candidate = joinedName(level, ".", directive.name);
            if (holds(candidate)) return candidate;
        }
    };
    // A type named with its type arguments ("Acme.Store<int>") is its twin
    // of as many type parameters, else the generic class itself.
    auto documentedType = [&](const std::string& name) -> CppClass* {
        if (name.find('<') == std::string::npos) return documented(name);
        if (CppClass* twin = qualifiedIn("", name, true)) return twin;
        return documented(withoutAnyTypeParameters(name));
    };
    auto take = [&](Imports& found, const ImportDirective& directive, bool java) {
        Imports::Block& block = found.block(directive.scope, directive.block);
        const std::string simpleName(afterLastDot(directive.name));
        switch (directive.kind) {
        case ImportDirective::Kind::type:
            // The first import of a name is the one that counts.
            found.classes.emplace(simpleName, documented(directive.name));
            break;
        case ImportDirective::Kind::member:
            // A static member import names a class only when it is one.
            if (CppClass* cls = documented(directive.name)) found.classes.emplace(simpleName, cls);
            break;
        case ImportDirective::Kind::package:
            if (java) {
                block.packages.push_back(directive.name);
                // Java's "import a.Outer.*;" brings Outer's nested classes.
                if (CppClass* cls = documented(directive.name)) block.memberTypes.push_back(cls);
            } else {
                block.packages.push_back(fromScope(
                    directive, [&](const std::string& name) { return namespaces.contains(name); }));
            }
            break;
        case ImportDirective::Kind::members:
            if (CppClass* cls = documentedType(
                    java ? directive.name
                         : fromScope(directive, [&](const std::string& name) {
                               return documentedType(name) != nullptr;
                           })))
                block.memberTypes.push_back(cls);
            break;
        case ImportDirective::Kind::alias:
            if (!java) block.aliases.emplace_back(directive.alias, directive.name);
            break;
        }
    };
    auto readSlice = [&](size_t begin, size_t end) {
        for (size_t i = begin; i < end; ++i) {
            const int language = sources[i].second.front()->getLanguage();
            const bool java = language == 2;
            SourceImports directives = readSourceFileImports(sources[i].first, language, roots);
            auto found = std::make_shared<Imports>();
            // The file's own level first, whatever comes later.
            found->block("");
            for (ImportDirective& directive : directives.directives) {
                if (directive.global) globalDirectives[i].push_back(std::move(directive));
                else take(*found, directive, java);
            }
            // Every Java source sees java.lang.
            if (java) found->block("").packages.emplace_back("java.lang");
            found->blockParents = std::move(directives.blockParents);
            found->typeBlocks = std::move(directives.typeBlocks);
            read[i] = std::move(found);
        }
    };
    if (workers && sources.size() >= 2)
        forEachSlice(*workers, sources.size(), 8 * size_t{workers->size()},
                     [&](size_t, size_t begin, size_t end) { readSlice(begin, end); });
    else
        readSlice(0, sources.size());
    Imports everywhere;
    for (const auto& directives : globalDirectives)
        for (const ImportDirective& directive : directives) take(everywhere, directive, false);
    for (size_t i = 0; i < sources.size(); ++i) {
        if (!everywhere.blocks.empty() && sources[i].second.front()->getLanguage() == 1) {
            const Imports::Block& global = everywhere.blocks.front();
            Imports::Block& block = read[i]->block("");
            block.packages.insert(block.packages.end(), global.packages.begin(), global.packages.end());
            block.memberTypes.insert(block.memberTypes.end(), global.memberTypes.begin(),
                                     global.memberTypes.end());
            block.aliases.insert(block.aliases.end(), global.aliases.begin(), global.aliases.end());
        }
        for (const CppClass* cls : sources[i].second) imports[cls] = viewOf(*cls, read[i]);
        for (const Imports::Block& block : read[i]->blocks)
            for (const auto& [alias, target] : block.aliases) aliases.insert(alias);
    }
}

NameScopes::View NameScopes::viewOf(const CppClass& cls, std::shared_ptr<Imports> source) {
    View view;
    // A class nested in another lies in the block of the outermost one.
    const std::string_view name = cls.getName();
    const std::string_view outer = withoutTypeParameters(name.substr(0, firstDotOutsideArguments(name)));
    const std::string package = cls.getPackage();
    auto declared = source->typeBlocks.find(
        package == noPackage ? std::string(outer) : joinedName(package, ".", outer));
    if (declared != source->typeBlocks.end() && declared->second >= 0)
        for (int block = declared->second;
             block >= 0 && static_cast<size_t>(block) < source->blockParents.size();
             block = source->blockParents[block])
            view.blocks.push_back(block);
    view.imports = std::move(source);
    return view;
}

const NameScopes::View* NameScopes::importsOf(const CppClass& context) const {
    auto at = imports.find(&context);
    if (at == imports.end())
        if (const CppClass* held = list.lookup(context.getPackage(), context.getName()))
            at = imports.find(held);
    return at == imports.end() ? nullptr : &at->second;
}

CppClass* NameScopes::placed(std::string_view package, std::string_view name, bool generic) const {
    CppClass* found = list.lookup(package, name);
    if (found && !found->isUnresolved()) return found;
    if (!generic || twins.empty()) return nullptr;
    auto twin = twins.find({std::string(package), genericKey(name)});
    return twin == twins.end() ? nullptr : twin->second;
}

CppClass* NameScopes::qualifiedIn(std::string_view level, std::string_view name, bool generic) const {
    if (CppClass* found = placed(level.empty() ? noPackage : level, name, generic)) return found;
    for (size_t dot : dotsOutsideArguments(name)) {
        const std::string package =
            level.empty() ? std::string(name.substr(0, dot)) : joinedName(level, ".", name.substr(0, dot));
        if (CppClass* found = placed(package, name.substr(dot + 1), generic)) return found;
    }
    return nullptr;
}

CppClass* NameScopes::onlyClassNamed(const CppClass& context, std::string_view name) const {
    auto named = byName.find(name);
    if (named == byName.end()) return nullptr;
    CppClass* only = nullptr;
    for (CppClass* cls : named->second) {
        if (cls->isUnresolved() || cls->getLanguage() != context.getLanguage()) continue;
        if (only) return nullptr;
        only = cls;
    }
    return only;
}

CppClass* NameScopes::search(const CppClass& context, std::string_view name, bool base,
                             bool generic, bool& settled) const {
    const bool csharp = context.getLanguage() == 1;
    const size_t dot = firstDotOutsideArguments(name);
    const std::string_view first = name.substr(0, dot);
    const std::string_view rest = dot == std::string_view::npos ? std::string_view() : name.substr(dot);
    const std::string_view firstPlain = withoutTypeParameters(first);
    const std::string package = context.getPackage();
    const View* view = importsOf(context);
    const Imports* imports = view ? view->imports.get() : nullptr;
    auto found = [&](CppClass* cls) {
        settled = cls != nullptr;
        return cls;
    };
    // The classes around the context, innermost first, each with the
    // classes its documented ancestors hold (but for a base, which is
    // named before the class's own body).
    if (nestedNames.contains(firstPlain)) {
        std::string_view scope = context.getName();
        if (base) scope = enclosingScope(scope);
        for (; !scope.empty(); scope = enclosingScope(scope)) {
            if (CppClass* cls = placed(package, joinedName(scope, ".", name), generic))
                return found(cls);
            if (base || !ancestors) continue;
            const CppClass* scopeClass = list.lookup(package, scope);
            if (!scopeClass) continue;
            CppClass* inherited = nullptr;
            ancestors(*scopeClass, [&](const CppClass& ancestor) {
                inherited = placed(ancestor.getPackage(), joinedName(ancestor.getName(), ".", name),
                                   generic);
                return inherited != nullptr;
            });
            if (inherited) return found(inherited);
        }
    }
    // The classes that blocks bring into view as a whole: one is found,
    // or none, or (true returned) several.
    auto inView = [&](const Imports::Block& block, CppClass*& only) {
        bool several = false;
        auto consider = [&](CppClass* cls) {
            if (!cls || cls == only) return;
            several |= only != nullptr;
            only = cls;
        };
        for (const std::string& p : block.packages) consider(placed(p, name, generic));
        for (const CppClass* type : block.memberTypes)
            consider(placed(type->getPackage(), joinedName(type->getName(), ".", name), generic));
        return several;
    };
    if (!csharp) {
        if (imports) {
            auto imported = imports->classes.find(firstPlain);
            if (imported != imports->classes.end()) {
                settled = true;
                if (!imported->second || rest.empty()) return imported->second;
                const CppClass& outer = *imported->second;
                return found(placed(outer.getPackage(), joinedName(outer.getName(), "", rest), generic));
            }
        }
        if (CppClass* cls = placed(package, name, generic)) return found(cls);
        if (imports) {
            CppClass* only = nullptr;
            bool several = false;
            for (const auto& block : imports->blocks) several |= inView(block, only);
            if (several) {
                settled = true;
                return nullptr;
            }
            if (only) return found(only);
        }
        if (!rest.empty()) return found(qualifiedIn("", name, generic));
        return nullptr;
    }
    // C#: each namespace from the context's outwards, and in each the
    // aliases and using directives written for it.
    for (std::string_view level = package == noPackage ? std::string_view() : std::string_view(package);;
         level = outerNamespace(level)) {
        if (CppClass* cls = qualifiedIn(level, name, generic)) return found(cls);
        if (imports) {
            for (const auto& block : imports->blocks) {
                if (block.scope != level || !view->sees(block)) continue;
                for (const auto& [alias, target] : block.aliases) {
                    if (alias != first) continue;
                    // The target is read from the alias's namespace
                    // outwards, without the using directives.
                    settled = true;
                    const std::string aliased = joinedName(target, "", rest);
                    // An alias of a constructed type ("L = Acme.List<int>")
                    // names the twin of as many type parameters, else the
                    // generic class itself.
                    const bool constructed = aliased.find_first_of("<{") != std::string::npos;
                    const std::string plainAliased =
                        constructed ? withoutAnyTypeParameters(aliased) : std::string();
                    for (std::string_view from = level;; from = outerNamespace(from)) {
                        if (CppClass* cls = qualifiedIn(from, aliased, generic || constructed))
                            return cls;
                        if (constructed)
                            if (CppClass* cls = qualifiedIn(from, plainAliased, false)) return cls;
                        if (from.empty()) return nullptr;
                    }
                }
            }
            CppClass* only = nullptr;
            bool several = false;
            for (const auto& block : imports->blocks)
                if (block.scope == level && view->sees(block)) several |= inView(block, only);
            if (several) {
                settled = true;
                return nullptr;
            }
            if (only) return found(only);
        }
        if (level.empty()) break;
    }
    return nullptr;
}

CppClass* NameScopes::resolve(const CppClass& context, std::string_view name, bool base) const {
    if (name.empty()) return nullptr;
    const bool hasArguments = name.find_first_of("<{") != std::string_view::npos;
    const std::string plainName = hasArguments ? withoutAnyTypeParameters(name) : std::string();
    const std::string_view plain = hasArguments ? std::string_view(plainName) : name;
    // Written from the global namespace, as a cref or a declaration
    // writes it ("global" names no namespace of C#): read as written alone.
    const std::string_view global = name.substr(0, name.find_first_of(":."));
    if (context.getLanguage() == 1 && global == "global" &&
        (name.compare(6, 2, "::") == 0 || name.compare(6, 1, ".") == 0)) {
        name.remove_prefix(name[6] == ':' ? 8 : 7);
        if (hasArguments)
            if (CppClass* twin = qualifiedIn("", name, true)) return twin;
        return qualifiedIn("", hasArguments ? withoutAnyTypeParameters(name) : name, false);
    }
    bool settled = false;
    if (hasArguments) {
        // The twin of as many type parameters, else the class of the name
        // alone, as a generic class without a twin is named.
        CppClass* twin = search(context, name, base, true, settled);
        if (twin || settled) return twin;
    }
    CppClass* cls = search(context, plain, base, false, settled);
    if (cls || settled) return cls;
    if (importsOf(context)) return onlyClassNamed(context, plain);
    // Without the source, what the name alone tells.
    if (hasArguments && !twinsByKey.empty()) {
        auto twin = twinsByKey.find(genericKey(name));
        if (twin != twinsByKey.end()) return twin->second;
    }
    // A class of another language is never meant.
    CppClass* named = list.findClass(context.getPackage(), plain, true);
    return named && named->getLanguage() == context.getLanguage() ? named : nullptr;
}

std::vector<const CppClass*> NameScopes::staticTypesInView(const CppClass& context) const {
    std::vector<const CppClass*> types;
    const View* view = context.getLanguage() == 1 ? importsOf(context) : nullptr;
    if (!view) return types;
    const Imports* found = view->imports.get();
    const std::string package = context.getPackage();
    for (std::string_view level = package == noPackage ? std::string_view() : std::string_view(package);;
         level = outerNamespace(level)) {
        for (const auto& block : found->blocks)
            if (block.scope == level && view->sees(block))
                types.insert(types.end(), block.memberTypes.begin(), block.memberTypes.end());
        if (level.empty()) return types;
    }
}
