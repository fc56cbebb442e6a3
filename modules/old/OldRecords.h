// The old module's class and member records: the model's records with the
// page file names and links this module's pages use.
#pragma once

#include "model/CppClass.h"
#include "model/CppClassMember.h"

#include <string>

namespace vantry_old {

// What every class record of this module shares; it adds nothing to the
// model's class but a place for the module's own record types.
class DocCppClassBase : public CppClass {
public:
    DocCppClassBase(const DocOptions& options, int language);
};

// A class received through startClass.
class DocCppClass : public DocCppClassBase {
public:
    // An empty class with a copy of the options and the language value
    // (0 C++, 1 C#, 2 Java, 3 none).
    DocCppClass(const DocOptions& options, int language);
    // A new DocCppClass filled with copyFrom(*this); the caller owns it.
    CppClass* clone() const override;
    // prefix + the class's page below the detail directory
    // (classPagePath: one safe directory for the package, one safe file
    // name for the class), so that no name leads a page elsewhere.
    std::string getPageFile(const std::string& prefix) const override;
    // The model's link with the page href-escaped and the shown name
    // HTML-escaped.
    std::string getLink(const std::string& prefix, const std::string& tag,
                        const std::string& anchor, bool useQualifiedName) const override;

    // Set when a source listing beside the pages has this class's page
    // name (a nested class named like its file): the page's name then
    // gets "-class", which no class name can give.
    bool apartFromListing = false;
};

// A member received through startMember.
class DocCppClassMember : public CppClassMember {
public:
    explicit DocCppClassMember(CppClass* owner);
    // A full copy owned by newOwner.
    CppClassMember* clone(CppClass* newOwner) const override;
};

// The kind word with its first letter upper-cased when it is a lower-case
// letter ("class" gives "Class"); used for headings of kinds and access
// groups alike.
std::string capitalised(const std::string& word);

}  // namespace vantry_old
