// Names that come from source files or the list of inputs and become one
// component of an output path (a package's listing directory, a project's
// directory name).
#pragma once

#include <string>

// The name made safe as one path component: "/", "\\" and control
// characters (below 32, and 127) become "_"; a name that is empty, "." or
// ".." becomes "_" as a whole. Other dots stay: "java.util" is one
// component. Such a name can never leave the directory it is put in.
std::string safePathComponent(const std::string& name);
