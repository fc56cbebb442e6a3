#include "modules/standard/PageNavigationBar.h"

#include "modules/ProductWebSite.h"
#include "modules/common/PageDateTime.h"
#include "modules/common/PageEscape.h"
#include "modules/standard/PageTemplate.h"

#include <string_view>
#include <utility>

namespace {

// The first row of the bar, in the order shown.
struct NavCellSpec {
    const char* label;
    std::string NavigationBar::*href;  // null: never a link of its own
    const char* fixedHref;             // used when href is null
    int minLevel;
    int bit;
    bool hideWhenEmpty;
};

// The section links of a class page's SUMMARY and DETAIL lines.
struct SectionSpec {
    const char* label;
    const char* summaryAnchor;
    const char* detailAnchor;            // null: no DETAIL entry
    bool NavigationBar::*enabled;        // null: never enabled
    bool NavigationBar::*summaryShown;   // null: the summary follows `enabled`
};

const SectionSpec sectionSpecs[] = {
    {"INNER", "inner_class_summary", nullptr, nullptr, nullptr},
    {"FIELD", "field_summary", "field_detail", &NavigationBar::hasFields,
     &NavigationBar::hasFieldSummary},
    {"CONSTR", "constructor_summary", "constructor_detail", &NavigationBar::hasConstructors,
     nullptr},
    {"METHOD", "method_summary", "method_detail", &NavigationBar::hasMethods, nullptr},
};

}  // namespace

NavigationBar::NavigationBar(int level, std::string title, std::string framesHref,
                             std::string noFramesHref, std::string treeHref,
                             std::string indexHref, std::string overviewHref,
                             std::string deprecatedHref, const DocOptions& options)
    : level(level),
      title(std::move(title)),
      framesHref(std::move(framesHref)),
      noFramesHref(std::move(noFramesHref)),
      treeHref(std::move(treeHref)),
      indexHref(std::move(indexHref)),
      overviewHref(std::move(overviewHref)),
      deprecatedHref(std::move(deprecatedHref)),
      options(options) {}

void NavigationBar::writeNavCell(std::ostream& out, const std::string& href,
                                 const std::string& label, int minLevel,
                                 bool isCurrent) const {
    std::string text;
    appendNavCell(text, href, label, minLevel, isCurrent);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void NavigationBar::appendNavCell(std::string& out, std::string_view href, std::string_view label,
                                  int minLevel, bool isCurrent) const {
    out += "  <TD BGCOLOR=\"";
    out += isCurrent ? options.selectedTextBackground : options.headerBackgroundLight;
    out += "\"> ";
    auto bold = [&out, label] {
        out += "<B>";
        out += label;
        out += "</B>";
    };
    if (isCurrent) {
        out += "<FONT COLOR=\"";
        out += options.selectedTextForeground;
        out += "\">&nbsp;";
        bold();
        out += "</FONT>";
    } else if (level >= minLevel && !href.empty()) {
        // writeLink's form without a target frame.
        out += "   &nbsp;<a href=\"";
        out += href;
        out += "\">";
        bold();
        out += "</a>";
    } else {
        out += "&nbsp;";
        bold();
    }
    out += "&nbsp;</TD>\n";
}

void NavigationBar::writeNavigationBar(std::ostream& out, int currentCells, bool bottom,
                                       bool allowVersion, bool allowTimestamp) const {
    std::string text;
    appendNavigationBar(text, currentCells, bottom, allowVersion, allowTimestamp);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void NavigationBar::appendNavigationBar(std::string& out, int currentCells, bool bottom,
                                        bool allowVersion, bool allowTimestamp) const {
    static const NavCellSpec cells[] = {
        {"Overview", &NavigationBar::overviewHref, nullptr, 1, navOverview, false},
        {"Project", nullptr, "project-summary.html", 2, navProject, false},
        {"Class", nullptr, "", 3, navClass, false},
        {"Tree", &NavigationBar::treeHref, nullptr, 0, navTree, true},
        {"Deprecated", &NavigationBar::deprecatedHref, nullptr, 0, navDeprecated, true},
        {"Index", &NavigationBar::indexHref, nullptr, 0, navIndex, false},
    };

    if (bottom) out += "\n\n<HR>\n";
    out += "<TABLE BORDER=\"0\" WIDTH=\"100%\" CELLPADDING=\"1\" CELLSPACING=\"0\">\n<TR>\n"
           "<TD COLSPAN=2 BGCOLOR=\"";
    out += options.headerBackgroundLight;
    out += "\">\n"
           "<A NAME=\"navbar_top_firstrow\"><!-- --></A>\n"
           "<TABLE BORDER=\"0\" CELLPADDING=\"0\" CELLSPACING=\"3\">\n"
           "  <TR ALIGN=\"center\" VALIGN=\"top\">\n";
    for (const NavCellSpec& cell : cells) {
        const std::string_view href =
            cell.href ? std::string_view(this->*cell.href) : std::string_view(cell.fixedHref);
        if (cell.hideWhenEmpty && href.empty()) continue;
        appendNavCell(out, href, cell.label, cell.minLevel, (currentCells & cell.bit) != 0);
    }
    out += "  </TR>\n</TABLE>\n</TD>\n"
           "<TD ALIGN=\"right\" VALIGN=\"top\" ROWSPAN=3><EM>\n"
           "<B>";
    out += title;
    out += "</B></EM>\n";
    if (options.showTimestamp && allowTimestamp) {
        out += "<br><font size=\"-2\">Generated on ";
        out += DateTime().format("%B %d, %Y at %H:%M");
        out += "</font>\n";
    }
    if (options.showVersion && allowVersion) {
        out += "<br><font size=\"-2\">";
        // The site comes from the user's environment: it must not be able
        // to end the attribute.
        out += writeLink(escapeHtml(moduleWebSite()), "Vantry v" + shownProgramVersion(), "_top");
        out += "</font>\n";
    }
    out += "</TD>\n</TR>\n\n<TR>\n";
    if (!options.suppressFramesLinks) {
        // writeLink's form with the "_top" target.
        out += "<TD><FONT SIZE=\"-2\">\n  <a href=\"";
        out += framesHref;
        out += "\" target=\"_top\"><B>FRAMES</B></a>  &nbsp;\n&nbsp;<a href=\"";
        out += noFramesHref;
        out += "\" target=\"_top\"><B>NO FRAMES</B></a></FONT></TD>\n";
    }
    out += "</TR>\n";
    if (level == 3) {
        out += "<TR>\n<TD VALIGN=\"top\"><FONT SIZE=\"-2\">\n  SUMMARY: ";
        std::size_t count = std::size(sectionSpecs);
        for (std::size_t i = 0; i < count; ++i) {
            const SectionSpec& s = sectionSpecs[i];
            bool shown = s.enabled && this->*s.enabled && (!s.summaryShown || this->*s.summaryShown);
            appendSectionLink(out, shown, s.summaryAnchor, s.label, i + 1 == count);
        }
        out += "\n</FONT></TD>\n<TD VALIGN=\"top\" CLASS=\"NavBarCell3\"><FONT SIZE=\"-2\">\n"
               "DETAIL: ";
        for (std::size_t i = 1; i < count; ++i) {
            const SectionSpec& s = sectionSpecs[i];
            appendSectionLink(out, s.enabled && this->*s.enabled, s.detailAnchor, s.label,
                              i + 1 == count);
        }
        out += "\n</FONT></TD>\n</TR>\n";
    }
    out += "</TABLE>\n<!-- =========== END OF NAVBAR =========== -->\n\n";
}

void writeSectionLink(std::ostream& out, bool enabled, const std::string& anchor,
                      const std::string& label, bool isLast) {
    std::string text;
    appendSectionLink(text, enabled, anchor, label, isLast);
    out << text;
}

void appendSectionLink(std::string& out, bool enabled, std::string_view anchor,
                       std::string_view label, bool isLast) {
    out += "&nbsp;";
    if (enabled) {
        out += "<A HREF=\"#";
        out += anchor;
        out += "\">";
        out += label;
        out += "</A>";
    } else {
        out += label;
    }
    if (!isLast) out += "&nbsp;|";
}

void writeCenteredHeading(std::ostream& out, const std::string& tag, const std::string& text) {
    out << "<CENTER>\n<" << tag << ">\n<B>" << text << "</B>\n</" << tag << ">\n</CENTER>\n";
}

std::string charToString(char c) { return std::string(1, c); }
