// The class list that the program fills during a run and hands to the
// output module.
#pragma once

#include <set>
#include <string>
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
    //   namespace that so loses every member, and holds no class or
    //   namespace that stays, leaves the list; its file names and missing
    //   texts go to a namespace that took its members.
    // Returns each package with the names of the files whose declarations
    // (and so file names) came to its classes from another package.
    PackageFiles joinDefinitionsToDeclarations();

private:
    // The namespace part of joinDefinitionsToDeclarations; adds to brought.
    void joinNamespaceDefinitions(PackageFiles& brought);
};
