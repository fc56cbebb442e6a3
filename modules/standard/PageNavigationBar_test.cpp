#include "modules/standard/PageNavigationBar.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace {

std::string bar(int level, const std::string& tree, const std::string& deprecated,
                const DocOptions& options, int current = 0,
                void (*adjust)(NavigationBar&) = nullptr) {
    NavigationBar nav(level, "Title", "../../index.html", "X.html", tree, "../../index-all.html",
                      "../../index-overview-summary.html", deprecated, options);
    if (adjust) adjust(nav);
    std::ostringstream out;
    nav.writeNavigationBar(out, current, false, true, true);
    return out.str();
}

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(PageNavigationBar, CellsFollowTheLevel) {
    DocOptions options;
    std::string site = bar(1, "t.html", "d.html", options);
    EXPECT_TRUE(has(site, "&nbsp;<B>Project</B>&nbsp;</TD>"));
    EXPECT_TRUE(has(site, "&nbsp;<B>Class</B>&nbsp;</TD>"));
    EXPECT_TRUE(has(site, "<a href=\"../../index-overview-summary.html\"><B>Overview</B></a>"));
    EXPECT_FALSE(has(site, "SUMMARY:"));

    std::string project = bar(2, "t.html", "d.html", options);
    EXPECT_TRUE(has(project, "<a href=\"project-summary.html\"><B>Project</B></a>"));
    EXPECT_TRUE(has(project, "&nbsp;<B>Class</B>&nbsp;</TD>"));

    std::string cls = bar(3, "t.html", "d.html", options, navClass);
    EXPECT_TRUE(has(cls, "<TD BGCOLOR=\"navy\"> <FONT COLOR=\"white\">&nbsp;<B>Class</B></FONT>"));
    EXPECT_TRUE(has(cls, "  SUMMARY: &nbsp;INNER&nbsp;|&nbsp;<A HREF=\"#field_summary\">FIELD</A>"));
}

TEST(PageNavigationBar, HiddenCellsAndFrameLinks) {
    DocOptions options;
    std::string plain = bar(1, "", "", options);
    EXPECT_FALSE(has(plain, "<B>Tree</B>"));
    EXPECT_FALSE(has(plain, "<B>Deprecated</B>"));
    EXPECT_TRUE(has(plain, "target=\"_top\"><B>FRAMES</B></a>"));
    options.suppressFramesLinks = true;
    EXPECT_TRUE(has(bar(1, "", "", options), "\n<TR>\n</TR>\n"));
}

TEST(PageNavigationBar, SectionLinksFollowTheFlags) {
    DocOptions options;
    std::string noFields = bar(3, "", "", options, 0, [](NavigationBar& n) { n.hasFields = false; });
    EXPECT_TRUE(has(noFields, "&nbsp;FIELD&nbsp;|"));
    EXPECT_FALSE(has(noFields, "#field_"));
    std::string typedefPage =
        bar(3, "", "", options, 0, [](NavigationBar& n) { n.hasFieldSummary = false; });
    EXPECT_FALSE(has(typedefPage, "#field_summary"));
    EXPECT_TRUE(has(typedefPage, "<A HREF=\"#field_detail\">FIELD</A>"));
    EXPECT_TRUE(has(typedefPage, "<A HREF=\"#method_detail\">METHOD</A>\n"));
}

TEST(PageNavigationBar, CreditAndTimestampNeedOptionAndPermission) {
    DocOptions options;
    options.showTimestamp = true;
    options.showVersion = true;
    std::string allowed = bar(1, "", "", options);
    EXPECT_TRUE(has(allowed, "Generated on "));
    EXPECT_TRUE(has(allowed, ">Vantry v"));
    NavigationBar nav(1, "T", "f", "n", "", "i", "o", "", options);
    std::ostringstream out;
    nav.writeNavigationBar(out, navIndex, true, false, false);
    EXPECT_EQ(out.str().rfind("\n\n<HR>\n<TABLE", 0), 0u);
    EXPECT_FALSE(has(out.str(), "Generated on"));
    EXPECT_FALSE(has(out.str(), "Vantry v"));
}

TEST(PageNavigationBar, CreditLeadsToTheSiteTheProgramMadeKnown) {
    DocOptions options;
    options.showVersion = true;
    auto credit = [&options] {
        std::string page = bar(1, "", "", options);
        std::string::size_type start = page.find("<br><font size=\"-2\"><a href=\"");
        std::string::size_type end = page.find(" target=\"_top\">Vantry v", start);
        if (start == std::string::npos || end == std::string::npos) return std::string("(none)");
        start += 29;
        return page.substr(start, end - start - 1);
    };
    const char* before = std::getenv("VANTRY_WEB_SITE");
    std::string saved = before != nullptr ? before : "";

    // Nothing made known, or an empty text: the dialogs' default.
    unsetenv("VANTRY_WEB_SITE");
    EXPECT_EQ(credit(), "http://vantry.example.invalid");
    setenv("VANTRY_WEB_SITE", "", 1);
    EXPECT_EQ(credit(), "http://vantry.example.invalid");
    setenv("VANTRY_WEB_SITE", "https://docs.test:8443/vantry", 1);
    EXPECT_EQ(credit(), "https://docs.test:8443/vantry");
    // A site that carries markup stays inside the attribute.
    setenv("VANTRY_WEB_SITE", "http://x.test/?a=1&b=\"><script>", 1);
    EXPECT_EQ(credit(), "http://x.test/?a=1&amp;b=&quot;&gt;&lt;script&gt;");
    // Only a web page is credited: a script or a bare name is no site.
    for (const char* notASite : {"javascript:alert(1)", "JavaScript:alert(document.cookie)",
                                 "data:text/html,<b>x</b>", "vantry.test", "http:///x"}) {
        setenv("VANTRY_WEB_SITE", notASite, 1);
        EXPECT_EQ(credit(), "http://vantry.example.invalid") << notASite;
    }
    setenv("VANTRY_WEB_SITE", "HTTPS://Docs.Test/v", 1);
    EXPECT_EQ(credit(), "HTTPS://Docs.Test/v");

    if (before != nullptr) {
        setenv("VANTRY_WEB_SITE", saved.c_str(), 1);
    } else {
        unsetenv("VANTRY_WEB_SITE");
    }
}

TEST(PageNavigationBar, Heading) {
    std::ostringstream out;
    writeCenteredHeading(out, "H2", "A");
    EXPECT_EQ(out.str(), "<CENTER>\n<H2>\n<B>A</B>\n</H2>\n</CENTER>\n");
    EXPECT_EQ(charToString('_'), "_");
}

}  // namespace
