#include "model/DocGenCppClassMember.h"

DocGenCppClassMember::~DocGenCppClassMember() = default;

CppClassMember* DocGenCppClassMember::clone(CppClass* newOwner) const {
    auto* copy = new DocGenCppClassMember(newOwner);
    copyMemberTo(*copy);
    return copy;
}
