// One class's page: a head with the way back to the index, the heading,
// the inheritance tree, the bases and documentation, the source files, an
// index of the constructors and of each access group, and each member's
// details.
#pragma once

#include <string>
#include <vector>

class CppClass;
class CppClassMember;
class DateTime;

namespace vantry_old {

class DocClassList;

// Documentation comments pass through shownComment (ConstantValues.h).
// Writes the page of cls below list.settings.detailDirectory, at
// cls.getPageFile(""), creating its directory. ancestors is
// list.ancestors(cls); backLink leads from the page to the index page; now
// is the time the page shows. A page draws at most the nearest
// maxAncestorsShown ancestors (PageBounds.h); when it leaves some out the
// run's error callback is told, naming the class. Throws VelkError when
// the directory cannot be made, VelkFileError when the page cannot be
// opened or written.
void writeClassPage(const DocClassList& list, const CppClass& cls,
                    const std::vector<CppClass*>& ancestors, const std::string& backLink,
                    const DateTime& now);

// The page's text as writeClassPage writes it; *ancestryCut (when given)
// tells whether ancestors were left out.
std::string classPageText(const DocClassList& list, const CppClass& cls,
                          const std::vector<CppClass*>& ancestors, const std::string& backLink,
                          const DateTime& now, bool* ancestryCut = nullptr);

// A function whose name (after its last ':' or '.') is the class's name
// (after its last scope separator), or that name behind "~".
bool isConstructor(const CppClassMember& member, const CppClass& cls);

// The member's name and, for a function, "(" + its argument texts joined by
// "," + ")", HTML-escaped; compact drops blanks and tabs (the anchor form).
std::string memberSignature(const CppClassMember& member, bool compact);

}  // namespace vantry_old
