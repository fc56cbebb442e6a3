#include "model/DocGenClassList.h"

#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/CppClass.h"
#include "model/ModelText.h"

DocGenClassList::~DocGenClassList() = default;

namespace {

// A record that only definitions outside their class made: a class head
// gives every class it registers a kind, and the globals records are no
// classes.
bool madeByDefinitionsAlone(const CppClass& cls) {
    return cls.getLanguage() == 0 && cls.getKind().empty() && !isGlobalsClassName(cls.getName());
}

}  // namespace

void DocGenClassList::joinDefinitionsToDeclarations() {
    std::vector<std::pair<Key, CppClass*>> definitionsAlone;
    for (const auto& [key, cls] : getClasses())
        if (madeByDefinitionsAlone(*cls)) definitionsAlone.emplace_back(key, cls);
    if (definitionsAlone.empty()) return;
    // Per name, the declared C++ classes of that name: the one, and how many.
    struct Declared {
        CppClass* cls = nullptr;
        int count = 0;
    };
    std::unordered_map<std::string_view, Declared> declared;
    for (const auto& [key, cls] : definitionsAlone) declared.try_emplace(cls->getName());
    for (const auto& [key, cls] : getClasses()) {
        if (cls->getLanguage() != 0 || madeByDefinitionsAlone(*cls)) continue;
        auto at = declared.find(key.second);
        if (at == declared.end()) continue;
        at->second.cls = cls;
        ++at->second.count;
    }
    for (const auto& [key, cls] : definitionsAlone) {
        const Declared& target = declared[cls->getName()];
        if (target.count != 1) continue;
        target.cls->takeMembersOf(*cls);
        retire(key, target.cls);
    }
}
