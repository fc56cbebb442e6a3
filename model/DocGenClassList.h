// The class list that the program fills during a run and hands to the
// output module.
#pragma once

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

    // A C++ member defined outside its class ("void Widget::helper(int)
    // {}") in a package where no class of that name is declared makes a
    // record of its own there, which no class head gave a kind. Once every
    // file is read, each such record joins the class of the same name that
    // is declared in another package, when there is exactly one (a header
    // in include/, its sources in src/): its members are added to that
    // class (CppClass::takeMembersOf) and the record leaves the list. Records
    // with no such class, or with several, stay as they are.
    void joinDefinitionsToDeclarations();
};
