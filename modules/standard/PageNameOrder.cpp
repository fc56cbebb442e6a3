#include "modules/standard/PageNameOrder.h"

#include "VelkLib/VelkThreadPool.h"
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

std::vector<std::size_t> keyOrder(const std::vector<std::string>& keys, VelkThreadPool* pool) {
    // The sort moves small records that carry the key's first eight bytes,
    // and compares whole keys only when those are equal. The position
    // breaks ties, which keeps equal keys in input order (a plain sort
    // does, no stable sort needed) and makes the order total, so slices
    // sorted apart and merged give the very same order.
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
    auto before = [&keys](const Entry& x, const Entry& y) {
        if (x.head != y.head) return x.head < y.head;
        int byKey = keys[x.position].compare(keys[y.position]);
        if (byKey != 0) return byKey < 0;
        return x.position < y.position;
    };
    constexpr std::size_t kSliceAtLeast = 16384;
    const std::size_t slices =
        pool ? std::min<std::size_t>(pool->size(), order.size() / kSliceAtLeast) : 1;
    if (slices < 2) {
        std::sort(order.begin(), order.end(), before);
    } else {
        // Slice i is [bound(i), bound(i + 1)); each round merges neighbours.
        auto bound = [&](std::size_t i) { return order.size() * i / slices; };
        forEachSlice(*pool, slices, slices, [&](std::size_t i, std::size_t, std::size_t) {
            std::sort(order.begin() + bound(i), order.begin() + bound(i + 1), before);
        });
        std::vector<Entry> merged(order.size());
        for (std::size_t width = 1; width < slices; width *= 2) {
            const std::size_t pairs = (slices + 2 * width - 1) / (2 * width);
            forEachSlice(*pool, pairs, pairs, [&](std::size_t p, std::size_t, std::size_t) {
                const std::size_t first = bound(2 * width * p);
                const std::size_t middle = bound(std::min(slices, 2 * width * p + width));
                const std::size_t last = bound(std::min(slices, 2 * width * (p + 1)));
                std::merge(order.begin() + first, order.begin() + middle, order.begin() + middle,
                           order.begin() + last, merged.begin() + first, before);
            });
            order.swap(merged);
        }
    }
    std::vector<std::size_t> positions;
    positions.reserve(order.size());
    for (const Entry& entry : order) positions.push_back(entry.position);
    return positions;
}

std::vector<std::size_t> displayNameOrder(const std::vector<const CppClassEntity*>& entities,
                                          VelkThreadPool* pool) {
    // Each key is computed once, on the pool when there is one.
    std::vector<std::string> keys(entities.size());
    auto makeKeys = [&](std::size_t, std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            keys[i] = entities[i]->getDisplayName();
            foldIntoSortKey(keys[i]);
        }
    };
    if (pool && entities.size() > 1)
        forEachSlice(*pool, entities.size(), 4 * std::size_t{pool->size()}, makeKeys);
    else
        makeKeys(0, 0, entities.size());
    return keyOrder(keys, pool);
}

std::vector<const CppClassEntity*> sortByDisplayName(
    const std::vector<const CppClassEntity*>& entities) {
    std::vector<const CppClassEntity*> sorted;
    sorted.reserve(entities.size());
    for (std::size_t position : displayNameOrder(entities)) sorted.push_back(entities[position]);
    return sorted;
}
