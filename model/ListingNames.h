// The names of the source listings' pages: one rule for the program, which
// writes them, and the output modules, which link them.
//
// A listing lies in the folder of its package and is named after its file
// ("Grid.java" gets "Grid.java.html"). Two files of one package may share a
// name: two input roots that each hold org/det/Grid.java. The modules tell
// the files apart by the name the program sends for each, its project's
// path and its file name ("org/det/Grid.java", "org-2/det/Grid.java"). Of
// the names a module receives for one page, the first in listingNameBefore
// order keeps the plain page name and every other one gets a page named
// apart after its project ("Grid.java~org-2.det.html"), so that each file
// has a listing of its own and each class page links its own file's.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

// The package whose folder holds a listing, as a module holds it: its last
// path part, "(default)" for none.
std::string listingPackageKey(const std::string& package);

// The page name of a file sent as sentName when no other file shares it:
// its file name (after the last "/" or "\") and ".html", shortened as
// fitFileName shortens.
std::string plainListingName(const std::string& sentName);

// The page name of a file sent as sentName that shares its plain name with
// another file of its package: the file name, "~", the folder part of
// sentName with "." for "/" (a safe path component), and ".html". It is
// the plain name of no source file of usual name ("Grid.java~org.det" would
// have to be one), nor the page of a class (no class name holds "~" or ".").
std::string distinctListingName(const std::string& sentName);

// Which of two names sent for files that share a plain page keeps it: the
// shorter one (an input root met later gets a project "-2"), then the one
// first in byte order.
bool listingNameBefore(std::string_view a, std::string_view b);

// The file names a module received with the classes and members of each
// package, and the page name each one's listing has.
class ListingNames {
public:
    // Notes sentName, received with a class or member of package.
    void add(const std::string& package, const std::string& sentName);

    // The page name of the listing of sentName in package: the plain name
    // when sentName keeps it, or no other name received shares it (or none
    // was received at all); the distinct name otherwise.
    std::string pageName(const std::string& package, const std::string& sentName) const;

    // The name received for package that keeps the plain page name
    // plainName; nullptr when none was received.
    const std::string* plainHolder(const std::string& package, const std::string& plainName) const;

    bool empty() const { return holders.empty(); }

private:
    // Package key, NUL and plain page name -> the name that keeps that page.
    std::unordered_map<std::string, std::string> holders;
};
