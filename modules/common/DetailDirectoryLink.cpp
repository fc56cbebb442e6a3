#include "modules/common/DetailDirectoryLink.h"

#include "VelkLib/VelkPath.h"

namespace {

// The folders the path names: pages are written there, whatever way
// through other folders the path was written with ("a/../b").
std::string normalDirectory(const std::string& path) { return lexicalPath(path); }

}  // namespace

std::string detailDirectoryLink(const std::string& detailDirectory, const std::string& mainPage) {
    std::string detail = normalDirectory(detailDirectory);
    std::string main = normalDirectory(directoryOf(mainPage));
    if (detail == main || detail == "." || detail.empty()) return "";
    if (main == ".") {
        if (detail.rfind("./", 0) == 0) return detail.substr(2);
        if (detail[0] != '/' && detail.rfind("../", 0) != 0) return detail;
    } else if (detail.size() > main.size() + 1 && detail.compare(0, main.size(), main) == 0 &&
               detail[main.size()] == '/') {
        return detail.substr(main.size() + 1);
    }
    return fileNameOf(detail);
}

std::size_t directoryLevels(const std::string& pagePath) {
    std::size_t levels = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= pagePath.size(); ++i) {
        if (i < pagePath.size() && pagePath[i] != '/' && pagePath[i] != '\\') continue;
        // A component that is followed by a separator is a directory; "."
        // and empty ones ("a//b") lead nowhere.
        const std::string part = pagePath.substr(start, i - start);
        if (i < pagePath.size() && !part.empty() && part != ".") ++levels;
        start = i + 1;
    }
    return levels;
}

std::string upToMainDirectory(const std::string& detailLink, std::size_t levelsBelowDetail) {
    std::size_t levels = levelsBelowDetail + directoryLevels(detailLink + "/");
    std::string up;
    up.reserve(3 * levels);
    for (std::size_t i = 0; i < levels; ++i) up += "../";
    return up;
}
