// The names of every page of the site and of the links between them.
//
// Two places hold pages: the main page's directory (the frameset page and
// the master pages named after it) and the output directory (one directory
// per project). Each function gives the full path used to write a page
// (fullPath set) or the form that links from a page in the main page's
// directory use. The link forms are ready for an href: the parts that the
// user named (the main page's file name, index-file-base) are
// percent-encoded, so a main page "c#.html" still links. Names are computed
// only; nothing is created here. None of them throws.
#pragma once

#include <string>

struct StandardModule;

// The main page path (full) or its file name (link form), with the
// extension of the file name cut off.
std::string pageNamePrefix(const StandardModule& module, bool fullPath);
// The main page's file name as a link target (percent-encoded).
std::string mainPageLinkName(const StandardModule& module);
// Prefix + "-overview-frame.html".
std::string overviewFramePageName(const StandardModule& module, bool fullPath);
// Prefix + "-allclasses-frame.html".
std::string allClassesFramePageName(const StandardModule& module, bool fullPath);
// Prefix + "-overview-tree.html"; "" when generate-hierarchy is off (the
// page is not part of the site).
std::string overviewTreePageName(const StandardModule& module, bool fullPath);
// Prefix + "-overview-summary.html".
std::string overviewSummaryPageName(const StandardModule& module, bool fullPath);
// directoryPrefix + prefix + "-deprecated-list.html"; "" unless both
// enable-deprecations and generate-deprecations-list are on.
std::string deprecatedListPageName(const StandardModule& module, bool fullPath,
                                   const std::string& directoryPrefix = "");
// The master index page of a letter (a..z upper-cased; '/', '\' and
// control characters become '_'). One page: index-file-base + "-all.html",
// with "#_L_" when withAnchor is set; separate pages:
// "index-files/" + index-file-base + "-L.html". fullPath puts the main
// page's directory and "/" in front.
std::string indexPageName(const StandardModule& module, char letter, bool withAnchor,
                          bool fullPath);
// indexPageName(module, 'A', no anchor, link form).
std::string firstIndexPageName(const StandardModule& module);
// Full: the output directory + "/" + pageName. Link form: the output
// directory relative to the main page's directory + "/" + pageName (just
// pageName when both directories are the same).
std::string outputPath(const StandardModule& module, const std::string& pageName,
                       bool fullPath);
// The way up from a project's directory (and the class pages in it) to
// the main page's directory: "../" per level of the output directory below
// it, and one for the project's own ("../../" for "projects").
std::string mainDirectoryFromProject(const StandardModule& module);
// The way from the output directory up to the main page's directory,
// without a trailing "/" ("." when they are one directory).
std::string mainDirectoryFromDetail(const StandardModule& module);
// outputPath of page inside the project's directory
// (projectDirectoryName(projectName) + "/" + page).
std::string projectPagePath(const StandardModule& module, const std::string& projectName,
                            const std::string& page, bool fullPath);
