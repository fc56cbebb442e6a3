// The one alphabetical order of the site's entity lists (master index,
// overview summary, deprecated list).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class CppClassEntity;
class VelkThreadPool;

// The key under which an entity sorts: its display name with a leading "~"
// moved to the end of the name, before any argument list (a destructor
// follows its class and every longer name that starts with the class name), "_" put in front of a name that does
// not start with a letter, and letters folded to lower case.
std::string displayNameSortKey(const std::string& displayName);

// Negative, zero or positive as a sorts before, with or after b, comparing
// the sort keys of their display names.
int compareByDisplayName(const CppClassEntity* a, const CppClassEntity* b);

// The positions of the keys in std::string::compare order, equal keys in
// input order. With a pool, a long list is sorted in slices on it that are
// then merged; the order is the same.
std::vector<std::size_t> keyOrder(const std::vector<std::string>& keys,
                                  VelkThreadPool* pool = nullptr);
// The positions of the entities in name order, ties in input order (the
// order sortByDisplayName gives). With a pool, the keys are made on it; the
// entities' display names must then be safe to read from several threads.
std::vector<std::size_t> displayNameOrder(const std::vector<const CppClassEntity*>& entities,
                                          VelkThreadPool* pool = nullptr);

// The same pointers in name order; entities whose names compare equal keep
// their order from the input, so a run is repeatable. Each key is computed
// once. The input is left unchanged.
std::vector<const CppClassEntity*> sortByDisplayName(
    const std::vector<const CppClassEntity*>& entities);
