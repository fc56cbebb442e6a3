#include "model/ClassList.h"

#include <unordered_set>

#include "model/CppClass.h"
#include "model/CppClassMember.h"

ClassList::~ClassList() { ClassList::clear(); }

std::size_t ClassList::KeyViewHash::operator()(const KeyView& key) const noexcept {
    std::hash<std::string_view> hash;
    std::size_t h = hash(key.first);
    return h ^ (hash(key.second) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2));
}

CppClass* ClassList::lookup(std::string_view package, std::string_view name) const {
    CppClass* found = nullptr;
    if (mayBeName(name)) {
        auto at = classesByView.find(KeyView(package, name));
        if (at != classesByView.end()) found = at->second;
    }
    // A key found here was registered here, and its registration is in
    // the log already: only the misses tell something new.
    if (keyLog && !found) keyLog->push_back({KeyEvent::Asked, Key(package, name)});
    return found;
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
    // A list that logs its keys is a parse apart: the declarations made in
    // its scope records are kept, so that they can be made again where
    // those scopes are already held.
    cls->recordMemberCalls(keyLog != nullptr);
    // The key is new. A module receives the classes in key order, so the
    // end is nearly always the place and the insertion takes constant time.
    auto at = classesByKey.emplace_hint(classesByKey.end(), std::move(newKey), cls);
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
    bool dotFlag, bool definedOutside, bool definition) {
    if (!cls) {
        delete member;
        return nullptr;
    }
    if (cls->getName().empty()) cls->setName(className);
    if (cls->getPackage().empty()) cls->setPackage(package);
    CppClass* holder = addClass(cls);
    return holder->addMember(memberName, declaration, access, comment, hasArgumentList,
                             fileName, arguments, member, dotFlag, definedOutside, definition);
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

namespace {

// How many look-ups of the same key stand right before the event at `at`:
// the registration's own, and the parse's before it when it looked the
// record up first.
std::size_t asksRightBefore(const std::vector<ClassList::KeyEvent>& log, std::size_t at) {
    std::size_t asks = 0;
    while (asks < at && log[at - asks - 1].kind == ClassList::KeyEvent::Asked &&
           log[at - asks - 1].key == log[at].key)
        ++asks;
    return asks;
}

}  // namespace

bool ClassList::canTakeOver(const ClassList& other, const std::vector<KeyEvent>& log,
                            JoinRule rule) const {
    // Held keys the parse has registered already (views into the log).
    std::unordered_set<KeyView, KeyViewHash> reached;
    for (std::size_t i = 0; i < log.size(); ++i) {
        const KeyEvent& event = log[i];
        if (event.kind == KeyEvent::AskedByName) {
            if (classesByName.count(event.key.second)) return false;
            continue;
        }
        const KeyView key(event.key.first, event.key.second);
        auto held = classesByView.find(key);
        if (held == classesByView.end() || reached.count(key)) continue;
        // Held here and not reached yet: only the look-ups of the
        // registration that makes the record may come first.
        std::size_t j = i;
        while (j < log.size() && log[j].kind == KeyEvent::Asked && log[j].key == event.key) ++j;
        if (j == log.size() || log[j].kind != KeyEvent::Registered || log[j].key != event.key)
            return false;
        auto theirs = other.classesByView.find(key);
        if (theirs == other.classesByView.end() || !theirs->second) return false;
        // A record found where the parse made one is reached by two
        // look-ups (its own, then the registration's), a registered one by
        // the registration's alone.
        if (rule(*held->second, *theirs->second, asksRightBefore(log, j) == 2) == Join::Refuse)
            return false;
        reached.insert(key);
        i = j;
    }
    return true;
}

void ClassList::takeOver(ClassList& other, const std::vector<KeyEvent>& log, JoinRule rule,
                         std::vector<CppClass*>* registered) {
    for (std::size_t i = 0; i < log.size(); ++i) {
        const KeyEvent& event = log[i];
        if (event.kind != KeyEvent::Registered) continue;
        const bool found = asksRightBefore(log, i) == 2;
        auto theirs = other.classesByKey.find(event.key);
        if (theirs == other.classesByKey.end() || !theirs->second) continue;
        CppClass* cls = theirs->second;
        theirs->second = nullptr;  // the other list no longer owns it
        auto held = classesByView.find(KeyView(event.key.first, event.key.second));
        if (held == classesByView.end()) {
            insertNew(event.key, cls);
            if (registered) registered->push_back(cls);
            continue;
        }
        switch (rule(*held->second, *cls, found)) {
            case Join::Merged:
                held->second->mergeFrom(*cls);
                break;
            case Join::Registered:
                held->second->mergeHeadFrom(*cls);
                held->second->replayMemberCallsOf(*cls);
                break;
            case Join::Found:
                held->second->replayMemberCallsOf(*cls);
                break;
            case Join::Refuse:
                break;  // canTakeOver said otherwise
        }
        joined.push_back(cls);
    }
    other.clear();
}

void ClassList::retire(const Key& key, CppClass* heir) {
    auto at = classesByKey.find(key);
    if (at == classesByKey.end()) return;
    CppClass* cls = at->second;
    const KeyView view(at->first.first, at->first.second);
    auto byName = classesByName.find(view.second);
    if (byName != classesByName.end() && byName->second == cls) {
        // The index's key text lies in the node that goes: the heir's own
        // key text stands in for it.
        classesByName.erase(byName);
        auto heirAt = heir ? classesByView.find(KeyView(heir->getPackage(), heir->getName()))
                           : classesByView.end();
        if (heirAt != classesByView.end() && heirAt->second == heir)
            classesByName.emplace(heirAt->first.second, heir);
    }
    classesByView.erase(view);
    joined.push_back(cls);
    classesByKey.erase(at);
}

void ClassList::clear() {
    for (auto& [key, cls] : classesByKey) delete cls;
    for (CppClass* cls : joined) delete cls;
    joined.clear();
    classesByView.clear();
    classesByName.clear();
    nameFilter.fill(0);
    classesByKey.clear();
}
