#include "model/ClassList.h"

#include "model/CppClass.h"
#include "model/CppClassMember.h"

ClassList::~ClassList() { ClassList::clear(); }

CppClass* ClassList::addClass(CppClass* cls) {
    if (!cls) return nullptr;
    // Registering a held class again (even one renamed since) must neither
    // merge it into itself nor let two keys own it.
    if (owned.contains(cls)) return cls;
    Key key(cls->getPackage(), cls->getName());
    auto [at, inserted] = classesByKey.try_emplace(key, cls);
    if (inserted) {
        owned.insert(cls);
        classesByName[key.second] = cls;
        return cls;
    }
    CppClass* held = at->second;
    held->mergeFrom(*cls);
    delete cls;
    return held;
}

CppClassMember* ClassList::addClassMember(
    const std::string& package, const std::string& className, const std::string& memberName,
    const std::string& declaration, const std::string& access, const std::string& comment,
    bool hasArgumentList, const std::string& fileName,
    const std::vector<std::string>& arguments, CppClass* cls, CppClassMember* member,
    bool dotFlag) {
    if (!cls) {
        delete member;
        return nullptr;
    }
    if (cls->getName().empty()) cls->setName(className);
    if (cls->getPackage().empty()) cls->setPackage(package);
    CppClass* holder = addClass(cls);
    return holder->addMember(memberName, declaration, access, comment, hasArgumentList,
                             fileName, arguments, member, dotFlag);
}

CppClass* ClassList::findClass(const std::string& package, const std::string& name,
                               bool fallback) const {
    for (size_t dot = name.rfind('.'); dot != std::string::npos;
         dot = dot == 0 ? std::string::npos : name.rfind('.', dot - 1)) {
        auto at = classesByKey.find(Key(name.substr(0, dot), name.substr(dot + 1)));
        if (at != classesByKey.end()) return at->second;
    }
    auto at = classesByKey.find(Key(package, name));
    if (at != classesByKey.end()) return at->second;
    if (fallback) {
        auto byName = classesByName.find(name);
        if (byName != classesByName.end()) return byName->second;
    }
    return nullptr;
}

void ClassList::clear() {
    for (auto& [key, cls] : classesByKey) delete cls;
    classesByKey.clear();
    classesByName.clear();
    owned.clear();
}
