#include "model/CppClassMember.h"

#include "model/CppClass.h"
#include "model/ModelText.h"

CppClassMember::CppClassMember(CppClass* owner_)
    : CppClassEntity(owner_, nullptr), owner(owner_) {}

CppClassMember::~CppClassMember() = default;

bool CppClassMember::isPublic() const {
    if (access == "protected") return options->includeProtected;
    if (access == "private") return options->includePrivate;
    return true;
}

std::string CppClassMember::getLink(const std::string& prefix, const std::string& tag,
                                    const std::string& /*anchor*/,
                                    bool useQualifiedName) const {
    return makeLink(useQualifiedName ? getQualifiedName() : name, getPageFile(prefix), tag,
                    buildSignatureText(true));
}

std::string CppClassMember::getPageFile(const std::string& prefix) const {
    return owner ? owner->getPageFile(prefix) : std::string();
}

std::string CppClassMember::getQualifiedName() const { return buildSignatureText(false); }

std::string CppClassMember::getDisplayName() const { return buildSignatureText(false); }

std::string CppClassMember::buildSignatureText(bool removeBlanks) const {
    std::string text;
    text.reserve(name.size() + 16);
    for (char c : name) {
        if (c == '<') text += "&#60;";
        else if (c == '>') text += "&#62;";
        else text += c;
    }
    if (!hasArgs) return text;
    text += '(';
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) text += ',';
        text += arguments[i];
    }
    if (removeBlanks) std::erase_if(text, [](char c) { return c == ' ' || c == '\t'; });
    text += ')';
    return text;
}

void CppClassMember::copyMemberTo(CppClassMember& target) const {
    target.copyEntity(*this);
    target.declaration = declaration;
    target.access = access;
    target.hasArgs = hasArgs;
    target.definedOutside = definedOutside;
    target.definitionOnly = definitionOnly;
    target.arguments = arguments;
}
