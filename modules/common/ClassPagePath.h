// The file names of class pages: one rule for every page and every link
// to it, so that no name can lead a page out of its directory.
#pragma once

#include <string>

// safePathComponent, the one rule for every path component made from a
// name (it also shortens a name too long for the file system), lives with
// the foundation's path operations.
#include "VelkLib/VelkPath.h"

// prefix + safePathComponent(last part of package) + "/" +
// safePathComponent(name) + ".html"; no directory for an empty package.
std::string classPagePath(const std::string& prefix, const std::string& package,
                          const std::string& name);

// The name a class's page is named after (classPagePath's name). A C#
// class (language 1) that has a twin of another number of type parameters
// comes with them in its name ("Box<T>", "Box<T1, T2>.Slot"): each such
// list is written "-" and their number ("Box-1", "Box-2.Slot"), which no C#
// name can spell, so that the page keeps its name when a parameter is
// renamed. A C++ specialisation (language 0: "Utf<8>", "Foo<T*>") is
// named by its arguments as specialisationPageName writes them ("Utf-8",
// "Foo-T~2A"). Every other name is its own page name.
std::string classPageName(const std::string& name, int language);
