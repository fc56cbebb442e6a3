#include "run/ListingPages.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "VelkLib/VelkError.h"
#include "VelkLib/VelkFile.h"
#include "VelkLib/VelkPath.h"
#include "model/ListingNames.h"
#include "run/SourceListing.h"

std::string ListingPages::claim(const std::string& sourceFile, const std::string& sentName,
                                const std::string& package, const std::string& outputDirectory,
                                const std::string& detailDirectory) {
    const std::string plainPath = sourceListingPath(sourceFile, package, outputDirectory, detailDirectory);
    auto [at, added] = pages.try_emplace(plainPath);
    Page& page = at->second;
    if (added) {
        page.package = package;
        page.plainName = fileNameOf(plainPath);
        page.claims.push_back({sentName, plainPath});
        return page.plainName;
    }
    for (const Claim& claim : page.claims)
        if (claim.sentName == sentName) return fileNameOf(claim.path);
    if (page.claims.size() == 1) {
        ++sharedPages;
        ++sharedPackages[listingPackageKey(package)];
    }
    const std::string name = distinctListingName(sentName);
    page.claims.push_back({sentName, directoryOf(plainPath) + "/" + name});
    return name;
}

bool ListingPages::concerns(const std::string& package) const {
    return sharedPackages.contains(listingPackageKey(package));
}

std::vector<std::string> ListingPages::settle(const ListingNames& received, StagedFiles* staged) {
    std::vector<std::string> failures;
    auto move = [&](Claim& claim, const std::string& to) {
        if (claim.path == to) return;
        if (staged != nullptr) {
            try {
                staged->renamePlace(claim.path, to);
            } catch (const VelkError& error) {
                failures.push_back(error.getMessage());
            }
        } else if (std::rename(claim.path.c_str(), to.c_str()) != 0 && errno != ENOENT) {
            failures.push_back("Could not move the listing \"" + claim.path + "\" to \"" + to + "\" (" +
                               std::strerror(errno) + ").");
        }
        claim.path = to;
    };
    for (auto& [plainPath, page] : pages) {
        if (page.claims.size() < 2) continue;
        const std::string* holder = received.plainHolder(page.package, page.plainName);
        if (holder == nullptr) continue;
        const std::string folder = directoryOf(plainPath) + "/";
        auto target = [&](const Claim& claim) {
            return claim.sentName == *holder ? plainPath : folder + distinctListingName(claim.sentName);
        };
        // The plain page is made free first: every other target is a
        // listing's own distinct name.
        for (Claim& claim : page.claims)
            if (claim.path == plainPath) move(claim, target(claim));
        for (Claim& claim : page.claims) move(claim, target(claim));
    }
    return failures;
}
