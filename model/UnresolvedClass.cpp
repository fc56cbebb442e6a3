#include "model/UnresolvedClass.h"

UnresolvedClass::UnresolvedClass(CppClass* parent, const DocOptions& options,
                                 const std::string& name_, bool isInterface, int language)
    : CppClass(parent, options, language, isInterface, false) {
    setName(name_);
}

UnresolvedClass::~UnresolvedClass() = default;

std::string UnresolvedClass::getLink(const std::string&, const std::string&,
                                     const std::string&, bool) const {
    return "<code>" + name + "</code>";
}

CppClass* UnresolvedClass::clone() const {
    return new UnresolvedClass(getParent(), getOptions(), name, isInterface(), getLanguage());
}
