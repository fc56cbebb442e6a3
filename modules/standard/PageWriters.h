// The page writers of the standard module, as the site driver and the
// module's records call them.
//
// Every writer renders the page template first, opens its page file as a
// VelkOutFile, writes the head (writeHeaderFragment), its body and the tail
// (writeFooterFragment) and closes the file. File errors are raised as
// VelkFileError and are not caught by the writers; a page that cannot be
// opened or written is never skipped silently.
//
// Names of pages and links come from SiteNames.h; a project's directory is
// always projectDirectoryName(name) (DocCppClass.h), for writing and for
// linking. linkToNamedClass is in DocCppClass.h, the head and tail
// operations in ModuleFrame.h.
#pragma once

#include "modules/standard/DeprecatedItemMap.h"

#include <ostream>
#include <string>
#include <vector>

struct StandardModule;
class CppClass;
class CppClassEntity;
class CppClassMember;
class CppProject;

// Renders the page head, the default item template and the page tail into
// the module's three buffers. Raises nothing.
void renderPageTemplate(StandardModule& module, const std::string& title, bool withBody,
                        bool boldItemFont, const std::string& targetFrame,
                        const std::string& linkBase);

// The main output page (module.outputFile) as a frameset of the overview
// frame, the all-classes frame and the overview summary.
void writeFramesetPage(StandardModule& module);

// The overview frame: an "All Classes" link and one link per project, in
// the order given, to that project's "project-frame.html".
void writeOverviewFrame(StandardModule& module, const std::vector<std::string>& projectNames);

// The master index: one page, or one page per letter under "index-files/"
// with separate-index-pages on. An index page exists even when the index
// is empty.
void writeMasterIndexPage(StandardModule& module);

// A class list frame at pageFile for the project projectFilter ("" for all
// projects), entering deprecated items into `deprecated` when it is not
// null. With writeClassPages it also writes every listed class and
// namespace page, showing the class's kind and name as status line 2 and
// reporting progressFrom + (progressTo - progressFrom) * i / n of 200 after
// the i-th of n; a stop answer ends the class pages and returns normally.
void writeClassListFrame(StandardModule& module, const std::string& pageFile,
                         const std::string& title, const std::string& projectFilter,
                         DeprecatedItemMap* deprecated, bool writeClassPages, int progressFrom,
                         int progressTo, const std::string& linkPrefix);

// The class hierarchy page at pageFile of the project projectFilter (""
// for all), links made relative by linkPrefix; with projectNames listed
// under "Project Hierarchies:". Progress as for writeClassListFrame when
// progressTo > 0, otherwise only (-1, -1) stop questions.
void writeHierarchyPage(StandardModule& module, const std::string& pageFile,
                        const std::string& title, const std::string& projectFilter,
                        const std::string& linkPrefix,
                        const std::vector<std::string>* projectNames, int progressFrom,
                        int progressTo);

// The project's summary page at pageFile.
void writeProjectSummaryPage(StandardModule& module, const std::string& pageFile,
                             CppProject& project, DeprecatedItemMap* deprecated);

// The deprecated-list page (deprecatedListPageName) from the map, in key
// order.
void writeDeprecatedListPage(StandardModule& module, DeprecatedItemMap& deprecated);

// The overview summary page at pageFile: the overview text and a
// "Projects" table, one row per project in list order.
void writeOverviewSummaryPage(StandardModule& module, const std::string& pageFile,
                              const std::vector<CppProject*>& projects);

// Writes a link for a reference written in entity's documentation, resolved
// through the entity's class list (classListOf, DocCppClass.h); a reference
// that resolves to nothing is written as "<CODE>" text "</CODE>".
void writeCodeLink(const CppClassEntity& entity, const std::string& reference,
                   std::ostream& out);

// Prepares the entry of one member for the class pages and member lists.
// DocCppClass::writeMemberEntries calls it once per member of every class
// (through DocClassList::prepareMemberEntries, once per filled list).
void writeMemberEntry(CppClassMember& member, const std::string& package,
                      const std::string& className, CppClass* parent);
