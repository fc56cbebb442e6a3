// The links between the main page's directory and the detail directory,
// for both output modules: a detail directory may lie any number of levels
// below the main page ("-classdir=sub/dir"), and every page links from its
// own depth.
#pragma once

#include <cstddef>
#include <string>

// The detail directory as a relative path from the main page's directory
// (the directory of mainPage), not escaped: "" when both are the same
// directory, the path below when the detail directory lies below it, else
// the detail directory's last component (the best a relative link can do
// for a directory elsewhere). Both paths are read as the folders they name
// (lexicalPath: "\\" as "/", "a/../b" as "b").
std::string detailDirectoryLink(const std::string& detailDirectory, const std::string& mainPage);

// The way up from a directory levelsBelowDetail levels below the detail
// directory to the main page's directory: "../" once per component of
// detailLink and once per level ("" when both counts are 0).
std::string upToMainDirectory(const std::string& detailLink, std::size_t levelsBelowDetail);

// The number of directories in a page path below its base ("a/b/c.html"
// gives 2, "c.html" 0).
std::size_t directoryLevels(const std::string& pagePath);
