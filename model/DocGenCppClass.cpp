#include "model/DocGenCppClass.h"

#include "model/DocGenCppClassMember.h"

DocGenCppClass::~DocGenCppClass() = default;

CppClassMember* DocGenCppClass::newMember() { return new DocGenCppClassMember(this); }

CppClass* DocGenCppClass::clone() const {
    auto* copy = new DocGenCppClass(nullptr, getOptions(), 3, false, false);
    copy->copyFrom(*this);
    copy->anonymousCounts = anonymousCounts;
    return copy;
}
