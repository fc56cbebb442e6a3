// The globals record of a package: the class that gathers the global
// functions, variables, macros and file-level anonymous types of one
// package. The parser and the run driver both find or create it here.
#pragma once

#include <string>

class ClassList;
class CppClass;

// "(" + package + " " + " globals)", or "(" + " globals)" when the package
// is empty or is the no-project name.
std::string globalsClassName(const std::string& package);

// The globals record of the package in the list; when the list holds none,
// a new DocGenCppClass (language as given, default options) is named,
// given the package and registered. Never null.
CppClass* findOrCreateClass(ClassList& classList, const std::string& package, int language);
