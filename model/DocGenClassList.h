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
};
