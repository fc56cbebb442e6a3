// The file names of class pages: one rule for every page and every link
// to it, so that no name can lead a page out of its directory.
#pragma once

#include <string>

// One path component made from a name so that no page leaves its
// directory: ':' becomes '.', blank, '[', ']', '/', '\' and control
// characters become '_', and a result that is "", "." or ".." becomes "_".
std::string safePathComponent(const std::string& name);
// prefix + safePathComponent(last part of package) + "/" +
// safePathComponent(name) + ".html"; no directory for an empty package.
std::string classPagePath(const std::string& prefix, const std::string& package,
                          const std::string& name);
