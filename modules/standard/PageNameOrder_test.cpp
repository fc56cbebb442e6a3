#include "modules/standard/PageNameOrder.h"

#include "modules/standard/PageTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "VelkLib/VelkThreadPool.h"

namespace {

// The order by whole keys, equal keys in input order.
std::vector<std::size_t> referenceOrder(const std::vector<const CppClassEntity*>& entities) {
    std::vector<std::size_t> order(entities.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        return compareByDisplayName(entities[x], entities[y]) < 0;
    });
    return order;
}

}  // namespace

TEST(PageNameOrder, KeysDecidedPastTheFirstEightBytesAndTiesKeepInputOrder) {
    // Names that agree in their first eight key bytes, names shorter than
    // that, bytes above 0x7f, a NUL inside a name, case-only differences
    // (equal keys) and destructors.
    pagetest::ListFixture f;
    const std::vector<std::string> names = {
        "getValueB", "getValueA", "getValue",  "GETVALUEA", "getvalue", "getValu",
        "a",         "A",         "",          "\xC3\xA9t\xC3\xA9", "\xC3\xA9", "x",
        "abcdefgh",  "abcdefgh",  "abcdefg",   std::string("abcdefgh\0a", 10),
        "abcdefghi", "zz",        "_z",        "9lives",    "ab cd",     "ab\x7f"};
    std::vector<const CppClassEntity*> entities;
    for (std::size_t i = 0; i < names.size(); ++i)
        entities.push_back(f.addClass(names[i], "p" + std::to_string(i), "class", 2));
    DocCppClass* owner = f.addClass("Owner", "q", "class", 0);
    entities.push_back(f.addMember(owner, "~Owner", "~Owner();", "public", "", true));
    entities.push_back(f.addMember(owner, "~OwnerLongName", "~OwnerLongName();", "public", "", true));
    entities.push_back(owner);

    EXPECT_EQ(displayNameOrder(entities), referenceOrder(entities));
    std::reverse(entities.begin(), entities.end());
    EXPECT_EQ(displayNameOrder(entities), referenceOrder(entities));
    EXPECT_TRUE(displayNameOrder({}).empty());

    // The keys themselves, the destructor's "~" moved before its arguments.
    EXPECT_EQ(displayNameSortKey("~Owner(int a)"), "owner~(int a)");
    EXPECT_EQ(displayNameSortKey("~Owner"), "owner~");
    EXPECT_EQ(displayNameSortKey("~"), "_~");
    EXPECT_EQ(displayNameSortKey("~(x)"), "_~(x)");
    EXPECT_EQ(displayNameSortKey("9Lives"), "_9lives");
    EXPECT_EQ(displayNameSortKey(""), "_");
}

// Sorted in slices on a pool and merged, a long list comes out in the one
// order: keys that agree in their first eight bytes, many equal keys, and
// lengths that do not divide evenly among the slices.
TEST(PageNameOrder, KeyOrderOnAPoolIsTheOrderOnOneThread) {
    VelkThreadPool pool(3);
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    for (std::size_t count : {std::size_t{40000}, std::size_t{100003}}) {
        std::vector<std::string> keys;
        for (std::size_t i = 0; i < count; ++i) {
            std::string key = next() % 2 ? "commonprefix" : "short";
            key += std::to_string(next() % 5000);
            keys.push_back(std::move(key));
        }
        EXPECT_EQ(keyOrder(keys, &pool), keyOrder(keys)) << count;
    }
}
