// The standard module's own class and member records, and the class
// operations that its page writers and site driver use.
//
// In this module a class's package text is the name of its project, so the
// pages of one project lie in one directory named after it.
#pragma once

#include "VelkLib/VelkPath.h"
#include "model/CppClass.h"
#include "model/CppClassMember.h"
#include "modules/common/ClassPagePath.h"
#include "modules/common/ReceivedTexts.h"

#include <string>
#include <vector>

class DocClassList;
class MemberEntryLinker;

// A class received through startClass. It knows the class list it belongs
// to, so that links written from its documentation can be resolved.
class DocCppClass : public CppClass {
public:
    // An empty class of the list (may be null), with a copy of the options
    // and the language value (0 C++, 1 C#, 2 Java, 3 none); neither an
    // interface nor a namespace until setKind says so.
    DocCppClass(DocClassList* classList, const DocOptions& options, int language);
    ~DocCppClass() override;

    // A new DocCppClass of the same list filled with copyFrom(*this); the
    // caller owns it.
    CppClass* clone() const override;
    // The page of the class under its project directory; see classPagePath.
    // The path below the prefix is kept with the name and package it was
    // made from and made again when either has changed since; the record
    // is not to be read from two threads at once.
    std::string getPageFile(const std::string& prefix) const override;
    // The model's link with the shown name HTML-escaped, so that template
    // and operator names appear as written.
    std::string getLink(const std::string& prefix, const std::string& tag,
                        const std::string& anchor, bool useQualifiedName) const override;

    DocClassList* getClassList() const { return classList; }

    // Calls writeMemberEntry (PageWriters.h) for each member in member
    // order, with this class's package, name and parent.
    void writeMemberEntries();
    // The same through the list's linker (PageMembers.h).
    void writeMemberEntries(const MemberEntryLinker& linker);

private:
    DocClassList* classList;
    // Every link to the class asks for its page; see getPageFile.
    struct PagePath {
        bool made = false;
        std::string name;
        std::string package;
        std::string path;
    };
    mutable PagePath page;
};

// A member received through startMember.
class DocCppClassMember : public CppClassMember {
public:
    explicit DocCppClassMember(CppClass* owner);
    ~DocCppClassMember() override;
    // A full copy (texts, flag, arguments, options, file names) owned by
    // newOwner, so that cloning or merging a class keeps its members whole.
    CppClassMember* clone(CppClass* newOwner) const override;

    // What makes the anchor of the member's detail entry unique on its
    // class's page: n >= 2 appends "-n" to the signature anchor; 0 (not yet
    // prepared) and 1 leave it as it stands. A number, not the anchor
    // text: a string here took the record past an allocator size class,
    // and a java.base run kept 8 MB more.
    int anchorNumber = 0;
};

// A short-lived record naming the page of a class known only by name and
// project. Never registered in a class list.
class TempCppClass : public CppClass {
public:
    // No parent, default options, language 3, no kind.
    TempCppClass();
    ~TempCppClass() override;
    // No copy is made: returns null.
    CppClass* clone() const override;
    std::string getPageFile(const std::string& prefix) const override;
};

// The directory of a project's pages below the output directory; the one
// rule used for class pages, project pages and every link to them.
std::string projectDirectoryName(const std::string& projectName);

// A link to the page of a class known only by name and project (an empty
// package means "(default)"), from a page inside a project directory:
// <a href="../PROJECT/NAME.html">NAME</a>, the name HTML-escaped.
std::string linkToNamedClass(const std::string& className, const std::string& package);

// The kind word, a blank and the name.
std::string kindAndName(const CppClass& cls);
// The name of the scope a nested class was declared in: the name up to its
// last scope separator; "" when the container text is empty or the name
// holds no separator.
std::string getOuterScopeName(const CppClass& cls);
// Link from the class's page to its project's summary page: the page's
// directory (for the prefix) + "/project-summary.html", showing the project
// name.
std::string projectSummaryLink(const CppClass& cls, const std::string& prefix);
// Appends a pointer to each member, in member order; the list does not own
// them.
void appendMembersTo(const CppClass& cls, std::vector<CppClassMember*>& list);
// The entity's source file names in display order: by extension, then by
// name, case-insensitively, with the headers ("h...") moved just before the
// sources ("c...") when no other extension lies between them, so that every
// two neighbours keep compareSourceFileNames. The entity's own list is
// unchanged.
std::vector<std::string> sortedStrings(const CppClassEntity& entity);
// Display order of source files: with both extensions present, a header
// ('h...') before a source ('c...'); then extensions case-insensitively,
// then whole names case-insensitively. Negative, zero or positive.
int compareSourceFileNames(const std::string& a, const std::string& b);

// The class list a class or member belongs to (null for records outside
// the module's list).
DocClassList* classListOf(const CppClassEntity* entity);
