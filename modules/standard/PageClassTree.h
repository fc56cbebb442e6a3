// The small inheritance tree near the top of a class page.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

// maxAncestorsShown: the bound of the tree, the implemented interfaces and
// the inherited-member sections of a page.
#include "modules/common/PageBounds.h"

class CppClass;
class DocClassList;

// The deepest level that is still indented further; deeper levels keep
// its indentation.
constexpr std::size_t maxTreeIndentLevels = 32;

// Writes the chain (root first, direct parent last) as a <PRE> block: each
// ancestor a link, followed by the other non-interface bases of the next
// class down, joined by "|" and "+--" connectors indented six blanks per
// level, and the class's own name last in bold. Nothing for an empty chain.
// list, when given, resolves base names to documented classes. A chain
// longer than maxAncestorsShown starts with a line "..." and draws only its
// nearest maxAncestorsShown classes; appendClassTree returns true then.
void writeClassTree(std::ostream& out, const CppClass& cls, const std::vector<CppClass*>& chain,
                    const DocClassList* list);
// The same block appended to out.
bool appendClassTree(std::string& out, const CppClass& cls, const std::vector<CppClass*>& chain,
                     const DocClassList* list);
