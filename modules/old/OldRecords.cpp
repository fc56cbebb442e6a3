#include "modules/old/OldRecords.h"

#include "model/ModelText.h"
#include "modules/common/ClassPagePath.h"
#include "modules/common/ModuleText.h"
#include "modules/common/PageEscape.h"

namespace vantry_old {

DocCppClassBase::DocCppClassBase(const DocOptions& options, int language)
    : CppClass(nullptr, options, language, false, false) {}

DocCppClass::DocCppClass(const DocOptions& options, int language)
    : DocCppClassBase(options, language) {}

CppClass* DocCppClass::clone() const {
    auto* copy = new DocCppClass(getOptions(), getLanguage());
    copy->copyFrom(*this);
    return copy;
}

std::string DocCppClass::getPageFile(const std::string& prefix) const {
    const std::string name = classPageName(getName(), getLanguage());
    return classPagePath(prefix, getPackage(), apartFromListing ? name + "-class" : name);
}

std::string DocCppClass::getLink(const std::string& prefix, const std::string& tag,
                                 const std::string& anchor, bool useQualifiedName) const {
    return makeLink(escapeHtml(useQualifiedName ? getQualifiedName() : getName()),
                    hrefEscape(getPageFile(prefix)), tag, anchor);
}

DocCppClassMember::DocCppClassMember(CppClass* owner) : CppClassMember(owner) {}

CppClassMember* DocCppClassMember::clone(CppClass* newOwner) const {
    auto* copy = new DocCppClassMember(newOwner);
    copyMemberTo(*copy);
    return copy;
}

std::string capitalised(const std::string& word) {
    std::string result = word;
    if (!result.empty() && result[0] >= 'a' && result[0] <= 'z')
        result[0] = static_cast<char>(result[0] - 'a' + 'A');
    return result;
}

}  // namespace vantry_old
