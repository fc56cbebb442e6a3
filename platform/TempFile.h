// Temporary files, created so that two runs at once never share one.
#pragma once

#include <string>

namespace platform {

// The directory for temporary files: $TEMP, else $TMP, else $TMPDIR, else
// "/tmp" (the first one that is set and not empty).
std::string tempDirectory();

// Creates a new empty file exclusively, mode 0600, named
// tempDirectory() + "/" + namePrefix + <unique suffix>. Returns its full
// path, or "" with errno set when no file could be created. The caller
// removes the file.
std::string createTempFile(const std::string& namePrefix);

}  // namespace platform
