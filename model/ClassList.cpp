#include "model/ClassList.h"

#include "model/CppClass.h"
#include "model/CppClassMember.h"

ClassList::~ClassList() { ClassList::clear(); }

std::size_t ClassList::KeyViewHash::operator()(const KeyView& key) const noexcept {
    std::hash<std::string_view> hash;
    std::size_t h = hash(key.first);
    return h ^ (hash(key.second) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2));
}

CppClass* ClassList::lookup(std::string_view package, std::string_view name) const {
    if (keyLog) keyLog->push_back({KeyEvent::Asked, Key(package, name)});
    if (!mayBeName(name)) return nullptr;
    auto at = classesByView.find(KeyView(package, name));
    return at == classesByView.end() ? nullptr : at->second;
}

CppClass* ClassList::addClass(CppClass* cls) {
    if (!cls) return nullptr;
    // Registering a held class again (even one renamed since) must neither
    // merge it into itself nor let two keys own it.
    if (cls->registeredIn == this) return cls;
    if (CppClass* held = lookup(cls->getPackage(), cls->getName())) {
        held->mergeFrom(*cls);
        delete cls;
        return held;
    }
    if (keyLog) keyLog->push_back({KeyEvent::Registered, Key(cls->getPackage(), cls->getName())});
    return insertNew(Key(cls->getPackage(), cls->getName()), cls);
}

CppClass* ClassList::insertNew(Key newKey, CppClass* cls) {
    auto at = classesByKey.emplace(std::move(newKey), cls).first;
    const Key& key = at->first;
    classesByView.emplace(KeyView(key.first, key.second), cls);
    cls->registeredIn = this;
    classesByName.insert_or_assign(std::string_view(key.second), cls);
    std::size_t bit = nameSignature(key.second);
    nameFilter[bit / 64] |= std::uint64_t{1} << (bit % 64);
    return cls;
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

CppClass* ClassList::findClass(std::string_view package, std::string_view name,
                               bool fallback) const {
    // Most names hold no "."; a forward search (memchr) says so faster than
    // the backward one walking the name byte by byte.
    size_t last = name.find('.') == std::string_view::npos ? std::string_view::npos : name.rfind('.');
    for (size_t dot = last; dot != std::string_view::npos;
         dot = dot == 0 ? std::string_view::npos : name.rfind('.', dot - 1)) {
        if (CppClass* found = lookup(name.substr(0, dot), name.substr(dot + 1))) return found;
    }
    if (CppClass* found = lookup(package, name)) return found;
    if (fallback && keyLog)
        keyLog->push_back({KeyEvent::AskedByName, Key(std::string(), std::string(name))});
    if (fallback && mayBeName(name)) {
        auto byName = classesByName.find(name);
        if (byName != classesByName.end()) return byName->second;
    }
    return nullptr;
}

bool ClassList::holdsNoneOf(const std::vector<KeyEvent>& log) const {
    for (const KeyEvent& event : log) {
        if (event.kind == KeyEvent::AskedByName) {
            if (classesByName.count(event.key.second)) return false;
        } else if (classesByKey.count(event.key)) {
            return false;
        }
    }
    return true;
}

void ClassList::adoptAll(ClassList& other, const std::vector<KeyEvent>& log) {
    for (const KeyEvent& event : log) {
        if (event.kind != KeyEvent::Registered) continue;
        auto held = other.classesByKey.find(event.key);
        if (held == other.classesByKey.end() || !held->second) continue;
        CppClass* cls = held->second;
        held->second = nullptr;  // the other list no longer owns it
        insertNew(event.key, cls);
    }
    other.clear();
}

void ClassList::clear() {
    for (auto& [key, cls] : classesByKey) delete cls;
    classesByView.clear();
    classesByName.clear();
    nameFilter.fill(0);
    classesByKey.clear();
}
