// The blocks of a class page that list what lies outside the class's own
// member tables: members inherited from each ancestor, and the classes,
// typedefs and enums declared inside the class.
#pragma once

#include "modules/standard/DocClassList.h"

#include <string>
#include <string_view>
#include <vector>

class CppClass;

// Appends one block per ancestor (in level order) that contributes fields
// (methods set: functions): its non-private members other than
// constructors and destructors, each a link when its access is shown, else
// code text. Ancestors without such members write nothing.
void writeInheritedMembers(std::string& out, const CppClass& cls, const ClassLevels& ancestors,
                           std::string_view title, bool methods);

// Appends the table of inner definitions, sorted by name without regard to
// case (equal names keep their order); nothing for an empty list.
void writeInnerDefinitions(std::string& out, const CppClass& cls,
                           const std::vector<CppClass*>& definitions,
                           const std::string& sourceDirectory);
