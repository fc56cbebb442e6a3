#include "model/ListingNames.h"

#include <algorithm>

#include "VelkLib/VelkPath.h"
#include "model/ModelText.h"

namespace {

std::string holderKey(const std::string& package, const std::string& plainName) {
    std::string key = listingPackageKey(package);
    key += '\0';
    key += plainName;
    return key;
}

}  // namespace

std::string listingPackageKey(const std::string& package) {
    std::string key = lastPathPart(package);
    return key.empty() ? "(default)" : key;
}

std::string plainListingName(const std::string& sentName) {
    return fitFileName(fileNameOf(sentName) + ".html");
}

std::string distinctListingName(const std::string& sentName) {
    const std::size_t cut = sentName.find_last_of("/\\");
    std::string folder = cut == std::string::npos ? "" : sentName.substr(0, cut);
    std::replace(folder.begin(), folder.end(), '/', '.');
    std::replace(folder.begin(), folder.end(), '\\', '.');
    std::string name = fileNameOf(sentName) + "~";
    if (!folder.empty()) name += safePathComponent(folder);
    return fitFileName(name + ".html");
}

bool listingNameBefore(std::string_view a, std::string_view b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

void ListingNames::add(const std::string& package, const std::string& sentName) {
    auto [at, added] = holders.try_emplace(holderKey(package, plainListingName(sentName)), sentName);
    if (!added && listingNameBefore(sentName, at->second)) at->second = sentName;
}

const std::string* ListingNames::plainHolder(const std::string& package, const std::string& plainName) const {
    auto found = holders.find(holderKey(package, plainName));
    return found == holders.end() ? nullptr : &found->second;
}

std::string ListingNames::pageName(const std::string& package, const std::string& sentName) const {
    std::string plain = plainListingName(sentName);
    const std::string* holder = plainHolder(package, plain);
    return holder == nullptr || *holder == sentName ? plain : distinctListingName(sentName);
}
