// The standard module's one object: everything kept between export calls.
//
// create returns it as the ModuleHandle and destroy frees it. Page-name,
// page-writer and site-driver code read its fields directly; it has no
// accessors. The options persist across runs; init replaces every run
// setting and the callbacks.
#pragma once

#include "VelkLib/VelkFile.h"

#include "model/DocOptions.h"
#include "modules/standard/StatusReceiver.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class DocClassList;
class DocCppClass;

struct StandardModule {
    // Every text empty, default DocOptions and option values, no callbacks,
    // an empty class list, no current class.
    StandardModule();
    // Deletes the class list with every registered class and a class that
    // was started but never ended.
    ~StandardModule();
    StandardModule(const StandardModule&) = delete;
    StandardModule& operator=(const StandardModule&) = delete;

    // Filled by renderPageTemplate at the start of every page; they grow to
    // whatever the rendering needs, so nothing is cut.
    std::string pageHeadBuffer;      // "<HTML>" .. "<BODY>"
    std::string itemTemplateBuffer;  // default entry template of list frames
    std::string pageTailBuffer;      // "</BODY>" .. "</HTML>"

    // Run settings, replaced by every init (argument numbers of init).
    std::string documentTitle;        // 2: begins every page title
    std::string companyName;          // 3: stored, drives nothing
    std::string detailDirectory;      // 4: output directory of all pages but the main one
    bool treeListing = false;         // 5: hierarchical-index flag
    std::string extraHeadText;        // 6: written into every page head
    std::string headerText;           // 7: "", "?", an HTML fragment or a file name
    std::string footerText;           // 8: same forms as headerText
    std::string itemTemplate;         // 9: per-item template of the list frames
    std::string sourceDirectoryText;  // 10: target of source-listing links
    std::string outputFile;           // 11: the main (frameset) page
    std::string projectListText;      // 12: as received
    bool writeDetailPages = false;    // 13: detail-pages directory was given
    bool lineBreaks = false;          // 14: stored, drives nothing

    // Project name -> the project's directory (no trailing separator),
    // from init's project list; the last line for a name wins.
    std::map<std::string, std::string> projectMap;
    // Directory of the first valid line of the project list.
    std::string firstProjectDirectory;

    // The module's own options (see ModuleOptions.h); DocOptions is copied
    // into every class received afterwards.
    DocOptions options;
    std::string summaryHtml = "project.html";    // summary-html
    std::string overviewHtml = "overview.html";  // overview-html
    std::string indexFileBase = "index";         // index-file-base
    bool separateIndexPages = false;             // separate-index-pages

    TheStatusReceiver statusReceiver;
    // While the site driver runs: where every page is written until the
    // whole site is there (null: pages are written in place).
    StagedFiles* stagedPages = nullptr;
    // All registered classes of the current run.
    std::unique_ptr<DocClassList> classList;
    // The class between startClass and endClass, owned here until endClass
    // registers it.
    std::unique_ptr<DocCppClass> currentClass;
    // Storage of the text that getOptions returned last.
    std::string optionText;
};

// The run-setting part of init: stores the texts and flags, empties the
// project table and the class list, installs the callbacks and sets the
// dot-scope option, then reads the project list (lines "name|directory"
// separated by "\n", backslash escapes; lines with an empty name or
// directory skipped; one trailing '/' or '\' of a directory dropped).
// Throws only what the class list's clearing throws (nothing in practice).
struct ModuleInitValues {
    std::string title, company, detailDirectory;
    bool treeListing = false;
    std::string extraHead, header, footer, itemTemplate, sourceDirectory, outputFile, projectList;
    bool writeDetailPages = false, lineBreaks = false, dotScope = false;
    ModuleProgressFn progress = nullptr;
    ModuleStatusFn status = nullptr;
    ModuleErrorFn error = nullptr;
    void* context = nullptr;
};
void initModule(StandardModule& module, const ModuleInitValues& values);

// The projects' directories as the places a file found beside them may
// lead to (readFoundTextFile): the module knows of the run's inputs only
// these.
InputRoots projectDirectoryRoots(const StandardModule& module);

// Reads a project list text into module.projectMap and
// module.firstProjectDirectory (see initModule).
void readProjectList(StandardModule& module, const std::string& text);

// startClass: makes a new DocCppClass the current class (a class started
// and never ended is discarded), fills it from the texts in the order name,
// comment, base list, file names, package ("" becomes "(default)"), kind,
// container text, source directory, and reports
// "Receiving <kind> <name>..." as status line 2.
void startClassRecord(StandardModule& module, const std::string& name,
                      const std::string& comment, const std::string& baseList,
                      const std::string& fileNames, const std::string& package,
                      const std::string& kind, const std::string& container,
                      const std::string& sourceDirectory, const std::string& language);

// startMember: adds a member to the current class, merging it into an
// earlier declaration of the same member. With file-links-for-globals on,
// a member of a globals record gets "See {@file1}." appended to its
// comment (after "\r\n<br>" when the comment is not empty). Does nothing
// when no class is current.
void startMemberRecord(StandardModule& module, const std::string& name,
                       const std::string& comment, const std::string& access,
                       const std::string& declaration, bool hasArguments,
                       const std::string& fileNames, const std::vector<std::string>& arguments);

// endClass: registers the current class in the class list (merging it into
// a class of the same package and name) and clears it. Does nothing when no
// class is current.
void endClassRecord(StandardModule& module);
