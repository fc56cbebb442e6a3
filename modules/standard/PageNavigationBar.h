// The navigation bar at the top and bottom of every content page, and the
// small pieces of HTML that all page writers share.
#pragma once

#include "model/DocOptions.h"

#include <ostream>
#include <string>
#include <string_view>

// Bits naming the page's own cell, which the bar highlights.
enum NavigationCell {
    navIndex = 1,
    navTree = 2,
    navDeprecated = 4,
    navProject = 8,
    navOverview = 0x10,
    navClass = 0x20,
};

class NavigationBar {
public:
    // level: 1 site pages, 2 project pages, 3 class pages. An empty treeHref
    // or deprecatedHref hides that cell. The options are referenced, not
    // copied: they must outlive the bar.
    NavigationBar(int level, std::string title, std::string framesHref,
                  std::string noFramesHref, std::string treeHref, std::string indexHref,
                  std::string overviewHref, std::string deprecatedHref,
                  const DocOptions& options);

    // Writes the bar. currentCells: NavigationCell bits to highlight. The
    // bottom bar is preceded by two empty lines and "<HR>". allowVersion and
    // allowTimestamp let a page keep the credit and timestamp out even when
    // their options are on. The credit links to the product's web site as
    // the program made it known (moduleWebSite, modules/ProductWebSite.h).
    // Stream errors are the stream's.
    void writeNavigationBar(std::ostream& out, int currentCells, bool bottom,
                            bool allowVersion, bool allowTimestamp) const;
    // The same bar appended to out.
    void appendNavigationBar(std::string& out, int currentCells, bool bottom,
                             bool allowVersion, bool allowTimestamp) const;
    // One cell of the first row: highlighted when current; a link when the
    // bar's level is at least minLevel and href is not empty; else a label.
    void writeNavCell(std::ostream& out, const std::string& href, const std::string& label,
                      int minLevel, bool isCurrent) const;
    void appendNavCell(std::string& out, std::string_view href, std::string_view label,
                       int minLevel, bool isCurrent) const;

    // Class pages clear these when a section is missing, so that no
    // SUMMARY/DETAIL entry points at an anchor the page lacks.
    bool hasFields = true;
    bool hasConstructors = true;
    bool hasMethods = true;
    // A typedef page has field details but no field summary.
    bool hasFieldSummary = true;

private:
    int level;
    std::string title;
    std::string framesHref;
    std::string noFramesHref;
    std::string treeHref;
    std::string indexHref;
    std::string overviewHref;
    std::string deprecatedHref;
    const DocOptions& options;
};

// "&nbsp;" then a link to #anchor (or the label alone when not enabled),
// then "&nbsp;|" unless it is the last entry. No line break.
void writeSectionLink(std::ostream& out, bool enabled, const std::string& anchor,
                      const std::string& label, bool isLast);
void appendSectionLink(std::string& out, bool enabled, std::string_view anchor,
                       std::string_view label, bool isLast);

// Five lines: <CENTER>, <tag>, <B>text</B>, </tag>, </CENTER>.
void writeCenteredHeading(std::ostream& out, const std::string& tag, const std::string& text);

// A text of the one character.
std::string charToString(char c);
