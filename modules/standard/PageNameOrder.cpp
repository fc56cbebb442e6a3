#include "modules/standard/PageNameOrder.h"

#include "model/CppClassEntity.h"

#include <algorithm>
#include <utility>

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

std::string displayNameSortKey(const std::string& displayName) {
    std::string name = displayName;
    if (!name.empty() && name[0] == '~') {
        // The "~" goes after the name, before any argument list, so that
        // a destructor follows every longer name that starts like it.
        std::size_t end = name.find('(');
        if (end == std::string::npos) end = name.size();
        name = name.substr(1, end - 1) + "~" + name.substr(end);
    }
    if (name.empty() || !isLetter(name[0])) name.insert(name.begin(), '_');
    for (char& c : name)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return name;
}

int compareByDisplayName(const CppClassEntity* a, const CppClassEntity* b) {
    return displayNameSortKey(a->getDisplayName()).compare(displayNameSortKey(b->getDisplayName()));
}

std::vector<const CppClassEntity*> sortByDisplayName(
    const std::vector<const CppClassEntity*>& entities) {
    std::vector<std::pair<std::string, const CppClassEntity*>> keyed;
    keyed.reserve(entities.size());
    for (const CppClassEntity* entity : entities)
        keyed.emplace_back(displayNameSortKey(entity->getDisplayName()), entity);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });
    std::vector<const CppClassEntity*> sorted;
    sorted.reserve(keyed.size());
    for (auto& entry : keyed) sorted.push_back(entry.second);
    return sorted;
}
