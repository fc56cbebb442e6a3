// Where the running program's own file lies.
#pragma once

#include <string>

namespace platform {

// The absolute path of the running program's executable file (the target of
// /proc/self/exe). Returns "" with errno set when it cannot be read.
std::string programPath();

}  // namespace platform
