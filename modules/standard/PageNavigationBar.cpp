#include "modules/standard/PageNavigationBar.h"

#include "modules/standard/PageDateTime.h"
#include "modules/standard/PageTemplate.h"

#include <utility>

const char* const productSiteAddress = "https://vantry.example.org/";

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
    out << "  <TD BGCOLOR=\""
        << (isCurrent ? options.selectedTextBackground : options.headerBackgroundLight)
        << "\"> ";
    std::string bold = "<B>" + label + "</B>";
    if (isCurrent)
        out << "<FONT COLOR=\"" << options.selectedTextForeground << "\">&nbsp;" << bold
            << "</FONT>";
    else if (level >= minLevel && !href.empty())
        out << "   &nbsp;" << writeLink(href, bold, "");
    else
        out << "&nbsp;" << bold;
    out << "&nbsp;</TD>\n";
}

void NavigationBar::writeNavigationBar(std::ostream& out, int currentCells, bool bottom,
                                       bool allowVersion, bool allowTimestamp) const {
    static const NavCellSpec cells[] = {
        {"Overview", &NavigationBar::overviewHref, nullptr, 1, navOverview, false},
        {"Project", nullptr, "project-summary.html", 2, navProject, false},
        {"Class", nullptr, "", 3, navClass, false},
        {"Tree", &NavigationBar::treeHref, nullptr, 0, navTree, true},
        {"Deprecated", &NavigationBar::deprecatedHref, nullptr, 0, navDeprecated, true},
        {"Index", &NavigationBar::indexHref, nullptr, 0, navIndex, false},
    };

    if (bottom) out << "\n\n<HR>\n";
    out << "<TABLE BORDER=\"0\" WIDTH=\"100%\" CELLPADDING=\"1\" CELLSPACING=\"0\">\n<TR>\n"
        << "<TD COLSPAN=2 BGCOLOR=\"" << options.headerBackgroundLight << "\">\n"
        << "<A NAME=\"navbar_top_firstrow\"><!-- --></A>\n"
        << "<TABLE BORDER=\"0\" CELLPADDING=\"0\" CELLSPACING=\"3\">\n"
        << "  <TR ALIGN=\"center\" VALIGN=\"top\">\n";
    for (const NavCellSpec& cell : cells) {
        const std::string href = cell.href ? this->*cell.href : std::string(cell.fixedHref);
        if (cell.hideWhenEmpty && href.empty()) continue;
        writeNavCell(out, href, cell.label, cell.minLevel, (currentCells & cell.bit) != 0);
    }
    out << "  </TR>\n</TABLE>\n</TD>\n"
        << "<TD ALIGN=\"right\" VALIGN=\"top\" ROWSPAN=3><EM>\n"
        << "<B>" << title << "</B></EM>\n";
    if (options.showTimestamp && allowTimestamp)
        out << "<br><font size=\"-2\">Generated on "
            << DateTime().format("%B %d, %Y at %H:%M") << "</font>\n";
    if (options.showVersion && allowVersion)
        out << "<br><font size=\"-2\">"
            << writeLink(productSiteAddress, "Vantry v" + shownProgramVersion(), "_top")
            << "</font>\n";
    out << "</TD>\n</TR>\n\n<TR>\n";
    if (!options.suppressFramesLinks)
        out << "<TD><FONT SIZE=\"-2\">\n"
            << "  " << writeLink(framesHref, "<B>FRAMES</B>", "_top") << "  &nbsp;\n"
            << "&nbsp;" << writeLink(noFramesHref, "<B>NO FRAMES</B>", "_top")
            << "</FONT></TD>\n";
    out << "</TR>\n";
    if (level == 3) {
        out << "<TR>\n<TD VALIGN=\"top\"><FONT SIZE=\"-2\">\n  SUMMARY: ";
        std::size_t count = std::size(sectionSpecs);
        for (std::size_t i = 0; i < count; ++i) {
            const SectionSpec& s = sectionSpecs[i];
            bool shown = s.enabled && this->*s.enabled && (!s.summaryShown || this->*s.summaryShown);
            writeSectionLink(out, shown, s.summaryAnchor, s.label, i + 1 == count);
        }
        out << "\n</FONT></TD>\n<TD VALIGN=\"top\" CLASS=\"NavBarCell3\"><FONT SIZE=\"-2\">\n"
            << "DETAIL: ";
        for (std::size_t i = 1; i < count; ++i) {
            const SectionSpec& s = sectionSpecs[i];
            writeSectionLink(out, s.enabled && this->*s.enabled, s.detailAnchor, s.label,
                             i + 1 == count);
        }
        out << "\n</FONT></TD>\n</TR>\n";
    }
    out << "</TABLE>\n<!-- =========== END OF NAVBAR =========== -->\n\n";
}

void writeSectionLink(std::ostream& out, bool enabled, const std::string& anchor,
                      const std::string& label, bool isLast) {
    out << "&nbsp;";
    if (enabled)
        out << "<A HREF=\"#" << anchor << "\">" << label << "</A>";
    else
        out << label;
    if (!isLast) out << "&nbsp;|";
}

void writeCenteredHeading(std::ostream& out, const std::string& tag, const std::string& text) {
    out << "<CENTER>\n<" << tag << ">\n<B>" << text << "</B>\n</" << tag << ">\n</CENTER>\n";
}

std::string charToString(char c) { return std::string(1, c); }
