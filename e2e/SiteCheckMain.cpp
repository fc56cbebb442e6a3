// vantry-sitecheck: checks a generated site. Every local link must lead to a
// file inside the site and, with a fragment, to an anchor of that page; no
// page may leave an element open. Links that the sources themselves write
// (found by their href text in the source folders given) are the authors'
// and are listed apart, not counted.
//
//   vantry-sitecheck [-limit=N] SITE_DIR [SOURCE_DIR_OR_FILE...]
//
// Exit status 0 for a clean site, 1 when something is counted, 2 for a bad
// command line.
#include <cstdlib>
#include <iostream>
#include <string>

#include "e2e/SiteCheck.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    std::size_t limit = 40;
    std::vector<fs::path> paths;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("-limit=", 0) == 0) {
            char* end = nullptr;
            const unsigned long value = std::strtoul(arg.c_str() + 7, &end, 10);
            if (end == arg.c_str() + 7 || *end != '\0') {
                std::cerr << "vantry-sitecheck: not a number: " << arg << "\n";
                return 2;
            }
            limit = value;
        } else if (!arg.empty() && arg[0] == '-') {
            std::cerr << "vantry-sitecheck: unknown option " << arg << "\n";
            return 2;
        } else {
            paths.emplace_back(arg);
        }
    }
    if (paths.empty()) {
        std::cerr << "usage: vantry-sitecheck [-limit=N] SITE_DIR [SOURCE_DIR_OR_FILE...]\n";
        return 2;
    }
    for (const auto& path : paths) {
        if (!fs::exists(path)) {
            std::cerr << "vantry-sitecheck: no such file or folder: " << path.string() << "\n";
            return 2;
        }
    }
    if (!fs::is_directory(paths[0])) {
        std::cerr << "vantry-sitecheck: not a folder: " << paths[0].string() << "\n";
        return 2;
    }
    try {
        // A site written inside a source folder is not read as sources.
        const e2e::AuthoredLinks authored(std::vector<fs::path>(paths.begin() + 1, paths.end()), paths[0]);
        const e2e::SiteReport report = e2e::checkSite(paths[0], authored);
        std::cout << e2e::describe(report, limit);
        return report.clean() ? 0 : 1;
    } catch (const std::exception& error) {
        std::cerr << "vantry-sitecheck: " << error.what() << "\n";
        return 2;
    }
}
