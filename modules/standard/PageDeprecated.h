// The deprecated list: every deprecated class, typedef, enum, field,
// method and constructor of the run with its deprecation note.
//
// writeDeprecatedListPage is declared in PageWriters.h.
#pragma once

#include "modules/standard/PageWriters.h"

#include <ostream>
#include <string>
#include <vector>

// The section an entity is listed in: 0 Classes, 1 Typedefs, 2 Enums,
// 3 Fields, 4 Methods, 5 Constructors (destructors too); -1 for anything
// that is neither a class nor a member.
int deprecatedSection(const CppClassEntity& entity);

// One section table, entries in the given order; nothing for an empty list.
void writeDeprecatedSection(StandardModule& module, std::ostream& out,
                            const std::vector<const CppClassEntity*>& entities,
                            const std::string& title);

// n copies of "&nbsp;" ("" for n <= 0).
std::string nbspRepeat(int n);
