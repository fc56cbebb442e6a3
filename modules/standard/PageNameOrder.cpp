#include "modules/standard/PageNameOrder.h"

#include "model/CppClassEntity.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

namespace {

// Turns a display name into its sort key in place.
void foldIntoSortKey(std::string& name) {
    if (!name.empty() && name[0] == '~') {
        // The "~" goes after the name, before any argument list, so that
        // a destructor follows every longer name that starts like it.
        std::size_t end = name.find('(');
        if (end == std::string::npos) end = name.size();
        std::rotate(name.begin(), name.begin() + 1, name.begin() + static_cast<std::ptrdiff_t>(end));
    }
    if (name.empty() || !isLetter(name[0])) name.insert(name.begin(), '_');
    for (char& c : name)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}

}  // namespace

std::string displayNameSortKey(const std::string& displayName) {
    std::string name = displayName;
    foldIntoSortKey(name);
    return name;
}

int compareByDisplayName(const CppClassEntity* a, const CppClassEntity* b) {
    return displayNameSortKey(a->getDisplayName()).compare(displayNameSortKey(b->getDisplayName()));
}

std::vector<std::size_t> keyOrder(const std::vector<std::string>& keys) {
    // The sort moves small records that carry the key's first eight bytes,
    // and compares whole keys only when those are equal. The position
    // breaks ties, which keeps equal keys in input order (a plain sort
    // does, no stable sort needed).
    struct Entry {
        std::uint64_t head;
        std::size_t position;
    };
    std::vector<Entry> order;
    order.reserve(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::string& key = keys[i];
        // Big-endian, zero-padded: comparing heads compares the first eight
        // bytes as unsigned characters, the order std::string::compare uses.
        std::uint64_t head = 0;
        for (std::size_t b = 0; b < 8; ++b)
            head = (head << 8) | (b < key.size() ? static_cast<unsigned char>(key[b]) : 0u);
        order.push_back({head, i});
    }
    std::sort(order.begin(), order.end(), [&keys](const Entry& x, const Entry& y) {
        if (x.head != y.head) return x.head < y.head;
        int byKey = keys[x.position].compare(keys[y.position]);
        if (byKey != 0) return byKey < 0;
        return x.position < y.position;
    });
    std::vector<std::size_t> positions;
    positions.reserve(order.size());
    for (const Entry& entry : order) positions.push_back(entry.position);
    return positions;
}

std::vector<std::size_t> displayNameOrder(const std::vector<const CppClassEntity*>& entities) {
    // Each key is computed once.
    std::vector<std::string> keys;
    keys.reserve(entities.size());
    for (const CppClassEntity* entity : entities) {
        keys.push_back(entity->getDisplayName());
        foldIntoSortKey(keys.back());
    }
    return keyOrder(keys);
}

std::vector<const CppClassEntity*> sortByDisplayName(
    const std::vector<const CppClassEntity*>& entities) {
    std::vector<const CppClassEntity*> sorted;
    sorted.reserve(entities.size());
    for (std::size_t position : displayNameOrder(entities)) sorted.push_back(entities[position]);
    return sorted;
}
