// The class variant that the program's parser creates and the run sends to
// the output module.
#pragma once

#include "model/CppClass.h"

#include <map>
#include <string>

class ModuleSink;

class DocGenCppClass : public CppClass {
public:
    using CppClass::CppClass;
    ~DocGenCppClass() override;

    // A DocGenCppClass copy (CppClass::copyFrom) with the counters copied.
    CppClass* clone() const override;
    CppClassMember* newMember() override;

    // startClass with the class's nine texts, each member in list order,
    // then endClass (model/DocGenSend.cpp).
    void sendToModule(ModuleSink& module) const;

    // Per class keyword, how many anonymous types of that keyword the parser
    // has named inside this class.
    std::map<std::string, int>& getAnonymousCounts() { return anonymousCounts; }
    const std::map<std::string, int>& getAnonymousCounts() const { return anonymousCounts; }

private:
    std::map<std::string, int> anonymousCounts;
};
