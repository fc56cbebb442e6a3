// The class that a name written in a Java or C# source stands for, found as
// the language finds it, from the imports and using directives that the
// class's source file writes. Both modules resolve the names of their
// pages (comments, declarations, class heads) here.
#pragma once

#include "VelkLib/VelkFile.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class ClassList;
class CppClass;
class VelkThreadPool;

class NameScopes {
public:
    // Visits the documented ancestors of cls, nearest first, until visit
    // returns true; returns whether one did.
    using Ancestors =
        std::function<bool(const CppClass& cls, const std::function<bool(const CppClass&)>& visit)>;

    // Indexes the classes of list, which must outlive this object and keep
    // its classes meanwhile, and reads the imports of the sources of its
    // Java and C# classes (a class's source: its first file, in its source
    // directory), only inside roots (without roots, none), on workers when
    // given. Never raises for a source: one that cannot be read has none.
    NameScopes(const ClassList& list, const InputRoots& roots, VelkThreadPool* workers);
    ~NameScopes();
    NameScopes(const NameScopes&) = delete;
    NameScopes& operator=(const NameScopes&) = delete;

    // From here on the classes nested in a class's ancestors are found as
    // its own are.
    void setAncestors(Ancestors walk);

    // True for a Java (language value 2) or C# (1) context, whose names are
    // read here.
    static bool followsImports(const CppClass* context);

    // The class that name, written in the text of context (its comment, a
    // type in a member's declaration, with base set a base in its head),
    // stands for:
    // - a simple name: a class nested in the context (not for a base) or
    //   in a class around it, outwards, each with the classes nested in its
    //   ancestors (once setAncestors was given); then, for Java, the class
    //   the source imports by that name (an import naming no documented
    //   class ends the search), the context's own package and the classes
    //   in view through the imports on demand (java.lang among them, and
    //   the nested classes of a type imported on demand or statically);
    //   for C#, at each namespace from the context's outwards to the global
    //   one, that namespace's class, then the aliases, using and using
    //   static directives written for that namespace in the blocks around
    //   the context's declaration (the name a directive gives read from
    //   its block's namespace outwards);
    // - a dotted name ("Map.Entry", "com.acme.Reader", "Core.Engine"):
    //   the class its first part stands for as a simple name, and the rest
    //   nested in it; else (C#) the first part an alias (of a constructed
    //   type, "L = Acme.List<int>": its twin, else the generic class), or the name within
    //   an enclosing namespace; else the name as a package and class,
    //   written whole; "global::" (C#; "global." as a declaration writes
    //   it) asks for that last reading alone;
    // - failing that, the one class of the name among the list's classes
    //   of the context's language; for a context whose source was not read,
    //   ClassList::findClass with fall back by name, of that language.
    // A generic name ("Box<int>", "Box{T}", "Box<,>") stands for the C#
    // twin of as many type parameters, looked for in the same places, else
    // for the class of the name without its type arguments. Null when none
    // is found, and when two classes that imports on demand (or a
    // namespace's using directives) bring into view fit equally.
    CppClass* resolve(const CppClass& context, std::string_view name, bool base) const;

    // The names that the sources' C# aliases give ("Eng" of "using Eng =
    // Acme.Core.Engine;"); they stay valid while this object lives.
    const std::unordered_set<std::string>& aliasNames() const { return aliases; }

    // The documented types whose members the using static directives in
    // view of a C# context bring, from the context's namespace outwards;
    // none for another language or a source not read.
    std::vector<const CppClass*> staticTypesInView(const CppClass& context) const;

private:
    struct Imports;
    struct View;
    // What the source of context brings into view for it; null for a
    // class whose source was not read.
    const View* importsOf(const CppClass& context) const;
    static View viewOf(const CppClass& cls, std::shared_ptr<Imports> source);
    void readImports(const InputRoots& roots, VelkThreadPool* workers);
    // One search of resolve for the name as given; with generic, a class
    // is found only by the whole name or as a twin by its key. settled is
    // set when the answer is final: a class found, or none where the name
    // means a class that is not documented or is ambiguous.
    CppClass* search(const CppClass& context, std::string_view name, bool base, bool generic,
                     bool& settled) const;
    // The class registered as (package, name), or, with generic, the twin
    // of the name's key in the package; null when none.
    CppClass* placed(std::string_view package, std::string_view name, bool generic) const;
    // The class that name stands for within the namespace or package
    // `level` ("" the global one): a class of that package, or the name
    // read at one of its dots as a package below level and a class.
    CppClass* qualifiedIn(std::string_view level, std::string_view name, bool generic) const;
    // The one class of the name among the list's classes of context's
    // language; null when there are none or several.
    CppClass* onlyClassNamed(const CppClass& context, std::string_view name) const;

    const ClassList& list;
    // Every registered name -> the classes registered under it, in key order.
    std::unordered_map<std::string_view, std::vector<CppClass*>> byName;
    // The C# twins by (package, genericKey) and by genericKey alone (the
    // last in key order).
    struct PairHash {
        size_t operator()(const std::pair<std::string, std::string>& key) const noexcept;
    };
    std::unordered_map<std::pair<std::string, std::string>, CppClass*, PairHash> twins;
    std::unordered_map<std::string, CppClass*> twinsByKey;
    // The last parts of the names of nested classes ("Entry" of
    // "Map.Entry"), type parameters left out: no other name can be found
    // nested in a class.
    std::unordered_set<std::string_view> nestedNames;
    // What each class's source imports, shared by the classes of a file;
    // no entry for a class whose source was not read.
    std::unordered_map<const CppClass*, View> imports;
    std::unordered_set<std::string> aliases;
    Ancestors ancestors;
};
