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
