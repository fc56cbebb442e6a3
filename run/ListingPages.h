// Which page each source listing of a run is written to, so that two files
// of one package with the same name (two input roots that each hold
// org/det/Grid.java) get a page each, and each class page links the page
// of its own file (model/ListingNames.h names them).
#pragma once

#include <map>
#include <string>
#include <vector>

class ListingNames;

// Used on the run thread only.
class StagedFiles;

class ListingPages {
public:
    // The page name (in the package's folder) for the listing of
    // sourceFile, sent to the module as sentName, in package (the listing's
    // package, "(default)" for none): the plain name for the first file to
    // claim it, the distinct name for any later one. The same sent name
    // claims the same page again.
    std::string claim(const std::string& sourceFile, const std::string& sentName,
                      const std::string& package, const std::string& outputDirectory,
                      const std::string& detailDirectory);

    // True when two files claimed one plain page: only then does settle()
    // have anything to do.
    bool shared() const { return sharedPages > 0; }

    // True when package holds a page that two files claimed: the file
    // names received with its classes decide who keeps the plain name.
    bool concerns(const std::string& package) const;

    // Once the module has received the classes (received: the file names
    // it got, by package), moves each shared page's listings to the names
    // the module links: the plain name to the file received first in
    // listingNameBefore order, the distinct names to the others. Nothing
    // moves for a page of which the module received no file. Returns a text
    // for each listing that could not be moved; a listing that was never
    // written (its file failed) is no failure. With `staged`, the listings
    // wait there to be moved in, and their names are changed there.
    std::vector<std::string> settle(const ListingNames& received, StagedFiles* staged = nullptr);

private:
    struct Claim {
        std::string sentName;
        std::string path;  // where it is written
    };
    struct Page {
        std::string package;
        std::string plainName;
        std::vector<Claim> claims;  // in claim order; the first has the plain page
    };
    std::map<std::string, Page> pages;  // plain page path -> its claims
    std::map<std::string, int> sharedPackages;  // package key -> its pages claimed twice
    int sharedPages = 0;
};
