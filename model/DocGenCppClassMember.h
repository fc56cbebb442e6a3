// The member variant that the program's parser creates and the run sends
// to the output module.
#pragma once

#include "model/CppClassMember.h"

class ModuleSink;

class DocGenCppClassMember : public CppClassMember {
public:
    explicit DocGenCppClassMember(CppClass* owner) : CppClassMember(owner) {}
    ~DocGenCppClassMember() override;

    // A new DocGenCppClassMember with this member's texts, flag, arguments,
    // options and files, owned by newOwner. The caller takes the object.
    CppClassMember* clone(CppClass* newOwner) const override;

    // startMember with the member's texts and arguments, then endMember
    // (model/DocGenSend.cpp).
    void sendToModule(ModuleSink& module) const;
};
