// The class list that the program fills during a run and hands to the
// output module.
#pragma once

#include <set>
#include <string>
#include <unordered_map>
#include <utility>

#include "model/ClassList.h"

class ModuleSink;

class DocGenClassList : public ClassList {
public:
    DocGenClassList() = default;
    ~DocGenClassList() override;

    // Sends every class in key order (model/DocGenSend.cpp), skipping globals
    // records that have neither bases nor members.
    void sendToModule(ModuleSink& module) const;
    // The same, but each class's members are freed as soon as the class has
    // been sent: the module keeps its own copy, so the run never holds two
    // whole models at once. The classes stay registered, without members.
    void sendToModuleReleasing(ModuleSink& module);

    // Pairs of a package and a file name.
    using PackageFiles = std::set<std::pair<std::string, std::string>>;

    // Once every file is read, joins the definitions that sources of one
    // package give of what headers of another declare (a header in
    // include/, its sources in src/), so that each is documented once,
    // where it is declared:
    // - A C++ member defined outside its class ("void Widget::helper(int)
    //   {}") in a package where no class of that name is declared makes a
    //   record of its own there, which no class head gave a kind. Such a
    //   record joins the class of the same name that is declared in another
    //   package, when there is exactly one: its members are added to that
    //   class (CppClass::takeMembersOf) and the record leaves the list.
    //   Records with no such class, or with several, stay as they are.
    // - A function defined in a C++ namespace block that a source reopens
    //   ("namespace gfx { int version() { ... } }") joins its declaration
    //   when exactly one namespace of that name in another package declares
    //   it (CppClass::findMemberLike, a declaration without a body). A
    //   namespace that so loses every member, or whose records of the first
    //   kind so joined their classes, and holds no member, class or
    //   namespace that stays, leaves the list; its file names and missing
    //   texts go to its namesake where they went.
    // Returns each package with the names of the files whose declarations
    // (and so file names) came to its classes from another package.
    PackageFiles joinDefinitionsToDeclarations();

private:
    // Namespaces that gave members or classes away, each with a namesake of
    // another package that took them (none when no namesake is there).
    using NamespaceHeirs = std::unordered_map<const CppClass*, CppClass*>;

    // Notes in heirs the namespace around the record held under key, which
    // gave its members to target, when the record's package registers one.
    void noteNamespaceLeft(const Key& key, const CppClass& target, NamespaceHeirs& heirs) const;
    // The namespace part of joinDefinitionsToDeclarations; adds to brought,
    // and leaves out the namespaces of heirs that end with nothing.
    void joinNamespaceDefinitions(PackageFiles& brought, NamespaceHeirs& heirs);
};
