#include "modules/standard/SiteNames.h"

#include "VelkLib/VelkPath.h"
#include "model/ModelText.h"
#include "modules/common/DetailDirectoryLink.h"
#include "modules/standard/DocCppClass.h"
#include "modules/standard/StandardModule.h"

namespace {

// The path with its file name's extension cut; a "." in a directory name
// is not an extension.
std::string cutExtension(const std::string& path) {
    size_t nameStart = findLastPathSeparator(path);
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart) return path;
    return path.substr(0, dot);
}

// The path with "/" for every "\" and no trailing separators ("/" stays).
std::string normalDirectory(const std::string& path) {
    std::string result = slashSeparated(path);
    while (result.size() > 1 && result.back() == '/') result.pop_back();
    return result;
}

// The output directory as seen from the main page's directory.
std::string relativeDetailDirectory(const StandardModule& module) {
    return detailDirectoryLink(module.detailDirectory, module.outputFile);
}

}  // namespace

std::string pageNamePrefix(const StandardModule& module, bool fullPath) {
    if (fullPath) return cutExtension(module.outputFile);
    return hrefEscape(cutExtension(fileNameOf(module.outputFile)));
}

std::string mainPageLinkName(const StandardModule& module) {
    return hrefEscape(fileNameOf(module.outputFile));
}

std::string overviewFramePageName(const StandardModule& module, bool fullPath) {
    return pageNamePrefix(module, fullPath) + "-overview-frame.html";
}

std::string allClassesFramePageName(const StandardModule& module, bool fullPath) {
    return pageNamePrefix(module, fullPath) + "-allclasses-frame.html";
}

std::string overviewTreePageName(const StandardModule& module, bool fullPath) {
    if (!module.options.generateHierarchy) return "";
    return pageNamePrefix(module, fullPath) + "-overview-tree.html";
}

std::string overviewSummaryPageName(const StandardModule& module, bool fullPath) {
    return pageNamePrefix(module, fullPath) + "-overview-summary.html";
}

std::string deprecatedListPageName(const StandardModule& module, bool fullPath,
                                   const std::string& directoryPrefix) {
    if (!module.options.enableDeprecated || !module.options.generateDeprecationsList) return "";
    return directoryPrefix + pageNamePrefix(module, fullPath) + "-deprecated-list.html";
}

std::string indexPageName(const StandardModule& module, char letter, bool withAnchor,
                          bool fullPath) {
    std::string directory = fullPath ? directoryOf(module.outputFile) + "/" : "";
    unsigned char u = static_cast<unsigned char>(letter);
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    else if (letter == '/' || letter == '\\' || u < 0x20 || u == 0x7f) letter = '_';
    std::string l(1, letter);
    const std::string base = fullPath ? module.indexFileBase : hrefEscape(module.indexFileBase);
    if (!module.separateIndexPages) {
        std::string name = directory + base + "-all.html";
        return withAnchor ? name + "#_" + l + "_" : name;
    }
    return directory + "index-files/" + base + "-" + l + ".html";
}

std::string firstIndexPageName(const StandardModule& module) {
    return indexPageName(module, 'A', false, false);
}

std::string outputPath(const StandardModule& module, const std::string& pageName,
                       bool fullPath) {
    if (fullPath) {
        // Without an output directory the pages go beside the main page,
        // never to the file-system root.
        std::string directory = normalDirectory(module.detailDirectory);
        if (directory.empty()) directory = normalDirectory(directoryOf(module.outputFile));
        return directory + "/" + pageName;
    }
    std::string relative = relativeDetailDirectory(module);
    return relative.empty() ? pageName : relative + "/" + pageName;
}

std::string mainDirectoryFromProject(const StandardModule& module) {
    return upToMainDirectory(relativeDetailDirectory(module), 1);
}

std::string mainDirectoryFromDetail(const StandardModule& module) {
    std::string up = upToMainDirectory(relativeDetailDirectory(module), 0);
    if (up.empty()) return ".";
    up.pop_back();
    return up;
}

std::string projectPagePath(const StandardModule& module, const std::string& projectName,
                            const std::string& page, bool fullPath) {
    return outputPath(module, projectDirectoryName(projectName) + "/" + page, fullPath);
}
