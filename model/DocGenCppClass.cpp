#include "model/DocGenCppClass.h"

DocGenCppClass::~DocGenCppClass() = default;

CppClass* DocGenCppClass::clone() const {
    auto* copy = new DocGenCppClass(nullptr, getOptions(), 3, false, false);
    copy->copyFrom(*this);
    copy->anonymousCounts = anonymousCounts;
    return copy;
}
