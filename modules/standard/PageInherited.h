// The blocks of a class page that list what lies outside the class's own
// member tables: members inherited from each ancestor, and the classes,
// typedefs and enums declared inside the class.
#pragma once

#include "modules/standard/DocClassList.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CppClass;

// What an ancestor's inherited-member block shows on every page that
// inherits from it: the link to the ancestor and its member list ("" for
// an ancestor without such members).
struct InheritedBlockText {
    std::string ancestorLink;
    std::string list;
};
// The blocks by ancestor, valid while the classes and their members stay as
// they are, i.e. for the pages of one pass.
using InheritedListMemo = std::unordered_map<const CppClass*, InheritedBlockText>;

// Appends one block per ancestor (in level order) that contributes fields
// (methods set: functions): its non-private members other than
// constructors and destructors, each a link when its access is shown, else
// code text. Ancestors without such members write nothing. memo, when
// given, keeps each ancestor's list for the blocks of this kind (fields or
// methods) on later pages.
void writeInheritedMembers(std::string& out, const CppClass& cls, const ClassLevels& ancestors,
                           std::string_view title, bool methods,
                           InheritedListMemo* memo = nullptr);

// Appends the table of inner definitions, sorted by name without regard to
// case (equal names keep their order); nothing for an empty list.
void writeInnerDefinitions(std::string& out, const CppClass& cls,
                           const std::vector<CppClass*>& definitions,
                           const std::string& sourceDirectory);
