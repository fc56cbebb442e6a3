#include "model/CppClass.h"

#include "model/CppClassMember.h"
#include "model/ModelText.h"
#include "model/UnresolvedClass.h"

#include <algorithm>

namespace {

const std::string staticWord = "static ";

bool startsWithStatic(const std::string& text) { return text.starts_with(staticWord); }

// The weight of an access word when two declarations disagree: the most
// restrictive explicit word wins and any explicit word beats none.
int accessWeight(const std::string& word) {
    if (word == "private") return 1;
    if (word == "protected") return 2;
    if (word == "public") return 3;
    if (word.empty()) return 100;
    return 0;
}

}  // namespace

CppClass::CppClass(CppClass* parent_, const DocOptions& options_, int language_,
                   bool isInterface, bool isNamespace)
    : CppClassEntity(options_),
      parent(parent_),
      interfaceFlag(isInterface),
      namespaceFlag(isNamespace),
      language(language_) {}

CppClass::~CppClass() { deleteMembers(); }

std::string CppClass::getPageFile(const std::string& prefix) const {
    std::string dir = lastPathPart(package);
    std::string file = dir.empty() ? name + ".html" : dir + "/" + name + ".html";
    for (char& c : file) {
        if (c == ':') c = '.';
        else if (c == ' ' || c == '[' || c == ']') c = '_';
    }
    return prefix + file;
}

std::string CppClass::getQualifiedName() const {
    return package.empty() ? name : package + "." + name;
}

void CppClass::setKind(const std::string& kind_) {
    kind = kind_;
    interfaceFlag = kind == "interface";
    namespaceFlag = kind == "namespace";
}

void CppClass::setPackage(const std::string& text) {
    package = lastPathPart(text);
    if (package.empty()) package = "(default)";
}

void CppClass::appendMember(CppClassMember* member) {
    member->owner = this;
    membersByName[member->getName()].push_back(members.size());
    members.push_back(member);
    memberSet.insert(member);
}

CppClassMember* CppClass::addMember(const std::string& memberName,
                                    const std::string& declaration_, const std::string& access,
                                    const std::string& comment_, bool hasArgumentList,
                                    const std::string& fileName,
                                    const std::vector<std::string>& arguments,
                                    CppClassMember* member, bool dotFlag) {
    std::string declaration = dotFlag ? replaceAll(declaration_, "::", ".") : declaration_;

    // Only namesakes can match; they are visited in list order, and each is
    // reconciled on "static " before it is tested, as a full walk would.
    CppClassMember* match = nullptr;
    auto found = membersByName.find(memberName);
    if (found != membersByName.end()) {
        for (size_t index : found->second) {
            CppClassMember* m = members[index];
            if (startsWithStatic(declaration)) {
                if (declaration.size() == staticWord.size() + m->declaration.size() &&
                    declaration.compare(staticWord.size(), std::string::npos,
                                        m->declaration) == 0)
                    m->declaration = declaration;
            } else if (m->declaration == staticWord + declaration) {
                declaration = m->declaration;
            }
            if (m->getName() == memberName &&
                (m->arguments.empty() || sameArguments(m->arguments, arguments))) {
                match = m;
                break;
            }
        }
    }

    if (match) {
        if (declaration.size() > match->declaration.size()) match->declaration = declaration;
        if (!access.empty() && accessWeight(access) < accessWeight(match->access))
            match->access = access;
        if (!comment_.empty() && match->comment.empty()) match->comment = comment_;
        match->addFileName(fileName);
        addFileName(fileName);
        if (match->arguments.empty()) match->arguments = arguments;
        // The caller may hand in the very member it got back earlier.
        if (member != match && !memberSet.contains(member)) delete member;
        return match;
    }

    if (!member) return nullptr;
    if (memberSet.contains(member)) return member;  // already held: nothing to take over
    member->setName(memberName);
    member->declaration = declaration;
    member->access = access;
    member->setComment(comment_);
    member->hasArgs = hasArgumentList;
    member->arguments = arguments;
    member->addFileName(fileName);
    addFileName(fileName);
    appendMember(member);
    return member;
}

void CppClass::deleteMembers() {
    for (CppClassMember* m : members) delete m;
    members.clear();
    membersByName.clear();
    memberSet.clear();
    if (!placeholders.empty()) {
        // Entries naming a placeholder would dangle once it is gone.
        std::unordered_set<const CppClass*> doomed(placeholders.begin(), placeholders.end());
        std::erase_if(bases, [&](const auto& entry) { return doomed.contains(entry.second); });
        for (UnresolvedClass* p : placeholders) delete p;
        placeholders.clear();
    }
}

UnresolvedClass* CppClass::newUnresolvedBase(const std::string& baseName, bool isInterface) {
    auto* placeholder = new UnresolvedClass(parent, getOptions(), baseName, isInterface, language);
    placeholders.push_back(placeholder);
    return placeholder;
}

void CppClass::addBase(const std::string& baseName, bool isInterface) {
    if (hasBase(baseName, "", true)) return;
    bases[baseName] = newUnresolvedBase(baseName, isInterface);
}

void CppClass::resolveBase(const std::string& baseName, CppClass* cls) {
    if (hasBase(baseName, "", true)) return;
    if (!cls || cls->isUnresolved())
        bases[baseName] = newUnresolvedBase(baseName, cls && cls->isInterface());
    else
        bases[baseName] = cls;
}

bool CppClass::hasBase(const std::string& baseName, const std::string& qualifier,
                       bool useSeparator) const {
    if (baseName.empty()) return bases.empty();
    if (bases.contains(baseName)) return true;
    if (!qualifier.empty() && bases.contains(qualifier + "." + baseName)) return true;
    if (useSeparator && bases.contains(textAfterLast(baseName, getScopeSeparator())))
        return true;
    return false;
}

std::string CppClass::getBaseList(const std::string& separator, bool marks) const {
    std::string list;
    bool first = true;
    bool hasClassBase = false;
    for (const auto& [baseName, base] : bases) {
        if (!first) list += separator;
        first = false;
        list += baseName;
        bool baseIsInterface = base && base->isInterface();
        if (!baseIsInterface) hasClassBase = true;
        if (marks) list += baseIsInterface ? ",t" : ",f";
    }
    if (!isInterface() && !hasClassBase && language != 0) {
        std::string root;
        if (language == 2) root = "Object";
        else if (!isGlobalsClassName(name) && kind != "namespace") root = "System.Object";
        if (!first) list += separator;
        list += root;
        if (marks) list += ",f";
    }
    return list;
}

void CppClass::cloneMembersOf(const CppClass& other) {
    members.reserve(members.size() + other.members.size());
    for (const CppClassMember* m : other.members) appendMember(m->clone(this));
}

void CppClass::copyFrom(const CppClass& other) {
    if (&other == this) return;
    deleteMembers();
    bases.clear();
    copyEntity(other);
    for (const auto& [baseName, base] : other.bases) {
        if (!base || base->isUnresolved())
            bases[baseName] = newUnresolvedBase(baseName, base && base->isInterface());
        else
            bases[baseName] = base;
    }
    sourceDirectory = other.sourceDirectory;
    package = other.package;
    cloneMembersOf(other);
    interfaceFlag = other.interfaceFlag;
    namespaceFlag = other.namespaceFlag;
    // An empty kind would clear flags the other was built with.
    if (!other.kind.empty()) setKind(other.kind);
    parent = other.parent;
    language = other.language;
}

void CppClass::mergeFrom(const CppClass& other) {
    if (&other == this) return;
    for (const std::string& f : other.fileNames) addFileName(f);
    if (comment.empty()) comment = other.comment;
    for (const auto& [baseName, base] : other.bases) resolveBase(baseName, base);
    if (sourceDirectory.empty()) sourceDirectory = other.sourceDirectory;
    if (package.empty()) package = other.package;
    if (members.empty()) cloneMembersOf(other);
    if (kind.empty() && !other.kind.empty()) setKind(other.kind);
    if (language == 3) language = other.language;
}
