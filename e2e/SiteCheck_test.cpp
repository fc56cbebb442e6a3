// The link checker is what makes the site tests mean anything: a checker
// that misses a broken link would let every site pass.
#include "e2e/SiteCheck.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class TempTree : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vantry-sitecheck-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
    }
    void TearDown() override { fs::remove_all(root_); }
    void write(const std::string& rel, const std::string& text) {
        fs::create_directories((root_ / rel).parent_path());
        std::ofstream(root_ / rel, std::ios::binary) << text;
    }
    fs::path root_;
};

TEST(SiteCheckScan, ReadsLinksAnchorsAndFrameSourcesWhateverTheCaseAndQuoting) {
    const auto scan = e2e::scanPage(
        "<HTML><!-- <a href=\"commented.html\"> --><FRAME src=\"left.html\" name=\"f\">"
        "<A NAME='top'></A><a href=plain.html>x</a> a < b <A HREF=\"x.html#m(int&amp;)\">"
        "<a name=\"m(int&amp;)\"></a><img src=\"i.png\"><td background=\"no.png\">");
    ASSERT_EQ(scan.links.size(), 4u);
    EXPECT_EQ(scan.links[0].tag, "frame");
    EXPECT_EQ(scan.links[0].value, "left.html");
    EXPECT_EQ(scan.links[1].value, "plain.html");
    EXPECT_EQ(scan.links[2].value, "x.html#m(int&amp;)");
    EXPECT_EQ(scan.links[3].value, "i.png");
    EXPECT_EQ(scan.anchors, (std::vector<std::string>{"top", "m(int&)"}));
}

TEST(SiteCheckScan, ACommentEndsWhereABrowserEndsIt) {
    // "<!-->" and "<!--->" are whole comments; "--!>" closes one as "-->" does.
    const std::string page =
        "<p>Use <!--> the <a href=\"one.html\">one</a><!---> or <a href=\"two.html\">two</a>"
        "<!-- old: <a href=\"gone.html\">gone</a> --!> and <b><a href=\"three.html\">three</a>"
        "<!-- <a href=\"open.html\">";
    std::vector<std::string> links;
    for (const auto& link : e2e::scanPage(page).links) links.push_back(link.value);
    EXPECT_EQ(links, (std::vector<std::string>{"one.html", "two.html", "three.html"}));
    EXPECT_EQ(e2e::shownText(page), "Use the one or two and three");
    EXPECT_EQ(e2e::pageTextLines(page), (std::vector<std::string>{"Use the one or two and three"}));
    const auto open = e2e::unclosedElements(page);
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0].element, "b");
}

TEST(SiteCheckScan, DecodesNamedAndNumericReferencesAndKeepsUnknownOnes) {
    EXPECT_EQ(e2e::decodeEntities("a&lt;b&GT;&#60;&#x3E;&amp;&quot;"), "a<b><>&\"");
    EXPECT_EQ(e2e::decodeEntities("&nbsp;"), "\xC2\xA0");
    EXPECT_EQ(e2e::decodeEntities("AT&T &bogus; &#xZZ; & tail"), "AT&T &bogus; &#xZZ; & tail");
}

TEST(SiteCheckScan, TellsExternalReferencesFromLocalOnes) {
    EXPECT_TRUE(e2e::isExternalReference("http://example.org/a.html"));
    EXPECT_TRUE(e2e::isExternalReference("mailto:someone@example.org"));
    EXPECT_TRUE(e2e::isExternalReference("javascript:void(0)"));
    EXPECT_TRUE(e2e::isExternalReference("//host/page.html"));
    EXPECT_FALSE(e2e::isExternalReference("page.html"));
    EXPECT_FALSE(e2e::isExternalReference("../p/Q.html#m(a:b)"));
    EXPECT_FALSE(e2e::isExternalReference("#x:y"));
}

TEST_F(TempTree, ReportsMissingFilesMissingAnchorsAndEscapesButNotGoodLinks) {
    write("index.html",
          "<frame src=\"p/a.html\"><a href=\"p/a.html#here\"></a><a href=\"p/a.html#gone\"></a>"
          "<a href=\"missing.html\"></a><a href=\"../outside.html\"></a><a href=\"#self\"></a>"
          "<a name=\"self\"></a><a href=\"http://example.org/\"></a><a href=\"p/\"></a>"
          "<a href=\"p/a%20b.html\"></a><a href=\"p/a.html#q&amp;r\"></a>");
    write("p/a.html", "<a name=\"here\"></a><a name=\"q&#38;r\"></a><a href=\"../index.html#self\"></a>");
    write("p/a b.html", "");
    const auto faults = e2e::checkLinks(root_);
    ASSERT_EQ(faults.size(), 4u) << e2e::describe(faults);
    std::vector<std::string> refs;
    for (const auto& f : faults) refs.push_back(f.reference);
    std::sort(refs.begin(), refs.end());
    EXPECT_EQ(refs, (std::vector<std::string>{"../outside.html", "missing.html", "p/",
                                              "p/a.html#gone"}));
}

TEST_F(TempTree, FindsPagesThatNoLinkChainFromTheStartReaches) {
    write("index.html", "<frame src=\"left.html\"><a href=\"http://example.org/x.html\"></a>");
    write("left.html", "<a href=\"p/a.html#m\">a</a><a href=\"index.html\"></a>");
    write("p/a.html", "<a href=\"../left.html\"></a>");
    write("p/orphan.html", "<a href=\"a.html\"></a>");
    write("p/notes.txt", "");
    EXPECT_EQ(e2e::unreachablePages(root_, "index.html"), (std::vector<std::string>{"p/orphan.html"}));
}

TEST_F(TempTree, SnapshotsSeeAddedRemovedAndRewrittenFilesOutsideExcludedPaths) {
    write("keep.txt", "one");
    write("gone.txt", "x");
    write("out/page.html", "a");
    const auto before = e2e::snapshotTree(root_, {"out"});
    fs::remove(root_ / "gone.txt");
    write("keep.txt", "two");
    write("new/file.txt", "n");
    write("out/other.html", "b");
    const std::string diff = e2e::diffSnapshots(before, e2e::snapshotTree(root_, {"out"}));
    EXPECT_NE(diff.find("removed: gone.txt"), std::string::npos) << diff;
    EXPECT_NE(diff.find("changed: keep.txt"), std::string::npos) << diff;
    EXPECT_NE(diff.find("added: new/file.txt"), std::string::npos) << diff;
    EXPECT_EQ(diff.find("out"), std::string::npos) << diff;
}

TEST_F(TempTree, NormalisedReadingForgivesOnlyTheMarkedLines) {
    write("a.html", "<!-- Generated by X on Monday -->\nbody\n");
    const auto first = e2e::readSiteNormalised(root_, "Generated by X");
    write("a.html", "<!-- Generated by X on Tuesday -->\nbody\n");
    EXPECT_EQ(first, e2e::readSiteNormalised(root_, "Generated by X"));
    write("a.html", "<!-- Generated by X on Tuesday -->\nbody!\n");
    EXPECT_NE(first, e2e::readSiteNormalised(root_, "Generated by X"));
}

TEST(SiteCheckScan, FindsElementsLeftOpenOrCutOffButNotOptionalEnds) {
    EXPECT_TRUE(e2e::unclosedElements("<P>a<P>b<UL><LI>x<LI>y</UL><DL><DT>t<DD>d</DL><BR><HR>"
                                      "<a href=x><CODE>c</CODE></a><!-- <b> --><pre>p</PRE>")
                    .empty());
    const auto faults = e2e::unclosedElements("<dl>\n<dd><a href=x><code>Lock.\n</dl><b>open");
    ASSERT_EQ(faults.size(), 3u);
    EXPECT_EQ(faults[0].element, "code");
    EXPECT_EQ(faults[0].line, 2u);
    EXPECT_EQ(faults[0].reason, "cut off by </dl>");
    EXPECT_EQ(faults[1].element, "a");
    EXPECT_EQ(faults[2].element, "b");
    EXPECT_EQ(faults[2].reason, "never closed");
    // An end tag of nothing open leaves nothing open.
    EXPECT_TRUE(e2e::unclosedElements("</a>text</code>").empty());
}

TEST_F(TempTree, SiteReportTellsGeneratedFaultsFromTheAuthorsOwnLinks) {
    write("src/A.java",
          "/**\n * See <a href=\"gone.html#x\">this</a> and <a\n *  href=\"{@docRoot}/../specs/s.html\">s</a>"
          " or <a href='#top'>top</a>.\n */\nclass A {}\n");
    write("site/index.html", "<frame src=\"p/A.html\"><a href=\"p/A.html#m\">m</a>");
    write("site/p/A.html",
          "<a href=\"gone.html#x\">this</a><a href=\"../../specs/s.html\">s</a><a href=\"#top\">t</a>"
          "<a href=\"A.html#made-up\">x</a><a href=\"/abs.html\">y</a><b>z");
    const e2e::AuthoredLinks sources({root_ / "src"});
    // From a page in the site's root the root tag is the detail directory's
    // way back, however deep it lies; a way that ends elsewhere is no root.
    EXPECT_TRUE(sources.contains("projects/../../specs/s.html"));
    EXPECT_TRUE(sources.contains("sub/dir/../../../specs/s.html"));
    EXPECT_FALSE(sources.contains("sub/dir/../../specs/s.html"));
    const e2e::SiteReport report = e2e::checkSite(root_ / "site", sources);
    EXPECT_EQ(report.pages, 2u);
    EXPECT_EQ(report.localLinks, 7u);
    std::vector<std::string> broken, outside, authored;
    for (const auto& f : report.broken) broken.push_back(f.reference);
    for (const auto& f : report.outside) outside.push_back(f.reference);
    for (const auto& f : report.authored) authored.push_back(f.reference);
    EXPECT_EQ(broken, (std::vector<std::string>{"p/A.html#m", "A.html#made-up"}));
    EXPECT_EQ(outside, (std::vector<std::string>{"/abs.html"}));
    EXPECT_EQ(authored, (std::vector<std::string>{"gone.html#x", "../../specs/s.html", "#top"}));
    ASSERT_EQ(report.unclosed.size(), 1u);
    EXPECT_EQ(report.unclosed[0].page, "p/A.html");
    EXPECT_FALSE(report.clean());
    const std::string text = e2e::describe(report);
    EXPECT_NE(text.find("broken generated links: 2"), std::string::npos) << text;
    EXPECT_NE(text.find("unclosed elements: 1"), std::string::npos) << text;
}

TEST_F(TempTree, AnIdOnAnyElementIsATargetAsANamedAnchorIs) {
    // An author's heading and note kept in a comment, and links to them.
    write("p/A.html", "<H2 id=\"usage\">Usage</H2><p ID='see&amp;do'>x</p><a name=\"m()\"></a>");
    write("index.html",
          "<a href=\"p/A.html#usage\"></a><a href=\"p/A.html#see&amp;do\"></a><a href=\"p/A.html#m()\"></a>"
          "<a href=\"p/A.html#Usage\"></a>");
    const auto faults = e2e::checkLinks(root_);
    ASSERT_EQ(faults.size(), 1u) << e2e::describe(faults);
    EXPECT_EQ(faults[0].reference, "p/A.html#Usage");
}

TEST_F(TempTree, ASiteInsideTheSourceFoldersIsNoSource) {
    write("src/A.java", "/** See <a href=\"gone.html\">gone</a>. */\nclass A {}\n");
    write("src/doc/index.html", "<a href=\"p/A.html\">A</a><a href=\"gone.html\">author's</a>");
    for (const fs::path& sources : {root_ / "src", root_ / "src/doc", root_ / "src/doc/index.html"}) {
        const e2e::SiteReport report = e2e::checkSite(root_ / "src/doc", e2e::AuthoredLinks({sources}, root_ / "src/doc"));
        std::vector<std::string> broken, authored;
        for (const auto& f : report.broken) broken.push_back(f.reference);
        for (const auto& f : report.authored) authored.push_back(f.reference);
        const bool readsSource = sources == root_ / "src";
        EXPECT_EQ(broken, (readsSource ? std::vector<std::string>{"p/A.html"}
                                       : std::vector<std::string>{"p/A.html", "gone.html"}))
            << sources;
        EXPECT_EQ(authored, (readsSource ? std::vector<std::string>{"gone.html"} : std::vector<std::string>{}))
            << sources;
    }
}

TEST_F(TempTree, AnOlderSiteAmongTheSourcesIsNoSource) {
    // The sources keep the site of an earlier run; the new one lost a page.
    const std::string page =
        "<HTML>\n<HEAD>\n<!-- Generated by Vantry v1.0 on May 2, 2025 at 10:00-->\n</HEAD>\n"
        "<a href=\"../p/B.html#run()\">B.run</a><a href=\"../../index-all.html\">Index</a>\n";
    write("src/p/A.java", "/** See <a href=\"notes.html\">notes</a>. */\nclass A {}\n");
    write("src/docs-2025/projects/p/A.html", page);
    write("src/docs-2025/projects/p/B.html", "<a name=\"run()\"></a>");
    write("site/index-all.html", "");
    write("site/projects/p/A.html", page + "<a href=\"notes.html\">notes</a>");
    const e2e::SiteReport report = e2e::checkSite(root_ / "site", e2e::AuthoredLinks({root_ / "src"}, root_ / "site"));
    std::vector<std::string> broken, authored;
    for (const auto& f : report.broken) broken.push_back(f.reference);
    for (const auto& f : report.authored) authored.push_back(f.reference);
    EXPECT_EQ(broken, std::vector<std::string>{"../p/B.html#run()"});
    EXPECT_EQ(authored, std::vector<std::string>{"notes.html"});
    EXPECT_FALSE(report.clean());
}

}  // namespace
