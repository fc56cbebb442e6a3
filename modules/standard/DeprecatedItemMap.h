// The deprecated items met while the site is written.
#pragma once

#include <map>
#include <string>

class CppClassEntity;

// Sort key -> the deprecated class or member (not owned). The class list
// frame and project summary writers fill it; the deprecated-list page
// reads it in key order.
using DeprecatedItemMap = std::map<std::string, CppClassEntity*>;
