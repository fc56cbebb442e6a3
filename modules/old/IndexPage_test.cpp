#include "modules/old/IndexPage.h"

#include "VelkLib/VelkError.h"
#include "modules/old/OldTestSupport.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using oldtest::contains;
using oldtest::count;

namespace {

TEST(OldIndexPage, AlphabeticalEntriesUnderLetterAnchors) {
    oldtest::Run run;
    run.start();
    for (const char* name : {"avocado", "Banana", "_impl", "apple"}) run.addClass(name);
    done(run.handle);
    const std::string page = run.indexText();
    EXPECT_TRUE(contains(page, "<TH COLSPAN=\"13\"><FONT SIZE=\"1\">Class Name Index</FONT></TH>"));
    EXPECT_EQ(count(page, "<TD ALIGN=\"CENTER\""), 26u);
    // '_' sorts before the letters; each anchor stands before its first class.
    const std::size_t impl = page.find("<A NAME=\"_\"></A>\n<P><A HREF=\"projects/lib/_impl.html\">");
    const std::size_t a = page.find("<A NAME=\"A\"></A>\n<P><A HREF=\"projects/lib/apple.html\">");
    const std::size_t avocado = page.find("lib/avocado.html");
    const std::size_t b = page.find("<A NAME=\"B\"></A>\n<P><A HREF=\"projects/lib/Banana.html\">");
    EXPECT_TRUE(impl < a && a < avocado && avocado < b && b != std::string::npos);
    // Every letter of the table has its anchor, those without classes too.
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        EXPECT_EQ(count(page, std::string("<A NAME=\"") + letter + "\">"), 1u) << letter;
    EXPECT_TRUE(contains(page, "Banana.html\"><FONT SIZE=\"2\" FACE=\"Arial, Helvetica\">Banana</FONT></A></P>\n<A NAME=\"C\">"));
    EXPECT_TRUE(contains(page, "Last Updated: "));
    EXPECT_TRUE(page.ends_with("\n\n</BODY>\n\n</HTML>\n"));
    EXPECT_TRUE(fs::is_regular_file(run.dir / "projects/lib/Banana.html"));
}

// The title and the company are the user's words, shown as typed.
TEST(OldIndexPage, TitleAndCompanyAreText) {
    oldtest::Run run;
    run.start({.title = "Maps <K,V> & more", .company = "A<B> \"Co\""});
    run.addClass("Shape");
    done(run.handle);
    const std::string page = run.indexText();
    EXPECT_TRUE(contains(page, "\t<TITLE>Maps &lt;K,V&gt; &amp; more</TITLE>\n"));
    EXPECT_TRUE(contains(page, "Helvetica\">A&lt;B&gt; &quot;Co&quot;</FONT><BR>\n"));
    EXPECT_TRUE(contains(page, "<B>Maps &lt;K,V&gt; &amp; more</B></FONT></TD>\n"));
}

// -classdir=sub/dir: the entries lead down the whole path and each page's
// way back climbs from its own depth. "\\" separates as "/" does.
TEST(OldIndexPage, NestedDetailDirectoryLinksFromEveryDepth) {
    const std::pair<const char*, std::string> detailDirectories[] = {
        {"sub/dir", "sub/dir"}, {"sub\\dir", "sub/dir"}, {".", "."}};
    for (const auto& [written, nested] : detailDirectories) {
        oldtest::Run run;
        run.detailName = written;
        run.start();
        run.addClass("Shape");
        done(run.handle);
        const std::string prefix = nested == "." ? "" : nested + "/";
        EXPECT_TRUE(contains(run.indexText(), "<A HREF=\"" + prefix + "lib/Shape.html\">")) << written;
        const std::string back = nested == "." ? "../index.html" : "../../../index.html";
        const std::string page = oldtest::readFile(run.dir / nested / "lib/Shape.html");
        EXPECT_TRUE(contains(page, "<a href=\"" + back + "\">Back to Index</a>")) << written;
        EXPECT_TRUE(fs::equivalent(run.dir / nested / "lib" / back, run.index())) << written;
    }
}

TEST(OldIndexPage, QuestionMarkLeavesOutHeadFootAndEntries) {
    oldtest::Run run;
    run.start({.header = "?", .footer = "?", .itemTemplate = "?"});
    run.addClass("Shape");
    done(run.handle);
    const std::string page = run.indexText();
    EXPECT_TRUE(page.starts_with("Last Updated: "));
    EXPECT_FALSE(contains(page, "</BODY>"));
    EXPECT_FALSE(contains(page, "Shape"));
    // No entry, but the class still has its page.
    EXPECT_TRUE(contains(oldtest::readFile(run.dir / "projects/lib/Shape.html"), "Shape"));

    // Without detail pages the entries still link to the pages.
    fs::remove_all(run.dir / "projects");
    run.start({.detailPages = false});
    run.addClass("Shape");
    done(run.handle);
    EXPECT_TRUE(contains(run.indexText(), "projects/lib/Shape.html"));
    EXPECT_FALSE(fs::exists(run.dir / "projects"));
}

TEST(OldIndexPage, TemplatesAndTheirFaults) {
    oldtest::Run run;
    run.start({.header = "<h1>$C</h1>", .itemTemplate = "[!F$F!F|$C|$J|$P|$Q]\n"});
    run.addClass("NoFiles", "Base,f");
    run.addClass("A<B>", "", "class", "a.h|b.h");
    done(run.handle);
    std::string page = run.indexText();
    EXPECT_TRUE(page.starts_with("<h1>$C</h1>Last Updated"));  // the head is no template
    EXPECT_TRUE(contains(page, "[a.h|A&lt;B&gt;|lib||$Q]\n"));
    EXPECT_TRUE(contains(page, "[|NoFiles|lib|Base|$Q]\n"));

    // An unclosed conditional part ends the run, and the pages of the run
    // before stay as they were.
    run.start({.itemTemplate = "<p>$C</p>!F$F"});
    run.addClass("First", "", "class", "first.h");
    run.addClass("Second");
    try {
        done(run.handle);
        FAIL() << "no error";
    } catch (const VelkError& error) {
        EXPECT_EQ(error.getMessage(), "Missing a closing '!F'");
    }
    EXPECT_EQ(run.indexText(), page);

    // A setting naming a missing file is the file error.
    run.start({.footer = (run.dir / "missing-footer").string()});
    EXPECT_THROW(done(run.handle), VelkFileError);
}

TEST(OldIndexPage, TreeOfClassesThenInterfaces) {
    oldtest::Run run;
    run.start({.tree = true, .itemTemplate = "$C\n"});
    run.addClass("Root");
    run.addClass("Left", "Root,f");
    run.addClass("Right", "Root,f");
    run.addClass("Both", "Left,f|Right,f");
    run.addClass("Looped", "Looped,f");           // names itself
    run.addClass("CycleA", "CycleB,f");           // a cycle with no root
    run.addClass("CycleB", "CycleA,f");
    run.addClass("Impl", "Api,t");                // derives from an interface only
    run.addClass("Api", "Unknown,t", "interface");  // its base is unknown
    run.addClass("SubApi", "Api,t", "interface");
    done(run.handle);
    const std::string page = run.indexText();
    EXPECT_FALSE(contains(page, "Class Name Index"));
    EXPECT_FALSE(contains(page, "<A NAME="));
    const std::string rootTree =
        "Root\n<BLOCKQUOTE>\n"
        "Left\n<BLOCKQUOTE>\nBoth\n<BLOCKQUOTE>\n</BLOCKQUOTE>\n</BLOCKQUOTE>\n"
        "Right\n<BLOCKQUOTE>\nBoth\n<BLOCKQUOTE>\n</BLOCKQUOTE>\n</BLOCKQUOTE>\n"
        "</BLOCKQUOTE>\n";
    EXPECT_TRUE(contains(page, rootTree)) << page;
    EXPECT_TRUE(contains(page, "Impl\n<BLOCKQUOTE>\n</BLOCKQUOTE>\n"));
    EXPECT_TRUE(contains(page, "Looped\n<BLOCKQUOTE>\n</BLOCKQUOTE>\n"));
    EXPECT_TRUE(contains(page, "CycleA\n<BLOCKQUOTE>\nCycleB\n<BLOCKQUOTE>\n</BLOCKQUOTE>\n"));
    // Interfaces come last, under their own roots.
    const std::size_t api = page.find("Api\n<BLOCKQUOTE>\nSubApi\n");
    ASSERT_NE(api, std::string::npos);
    EXPECT_GT(api, page.find("Root\n"));
    for (const char* name : {"Both", "Looped", "CycleA", "CycleB", "Api", "SubApi"})
        EXPECT_TRUE(fs::is_regular_file(run.dir / "projects/lib" / (std::string(name) + ".html")));
}

TEST(OldIndexPage, UnwritablePagesAreErrors) {
    oldtest::Run run;
    // The index's directory does not exist.
    init(run.handle, "T", "C", run.detail().c_str(), 0, "", "", "", "", "?",
         (run.dir / "no/such/index.html").c_str(), "", 1, 0, 0, nullptr, nullptr, nullptr, nullptr);
    EXPECT_THROW(done(run.handle), VelkFileError);

    // A file stands where the class pages' directory should be.
    std::ofstream(run.dir / "projects") << "x";
    run.start();
    run.addClass("Shape");
    EXPECT_THROW(done(run.handle), VelkError);
}

TEST(OldIndexPage, HostileClassNamesStayInsideTheDetailDirectory) {
    oldtest::Run run;
    run.start();
    run.addClass("../../evil", "", "class", "", "../..");
    run.addClass("\"quoted\" <b>", "", "class", "", "");
    done(run.handle);
    for (const auto& entry : fs::recursive_directory_iterator(run.dir)) {
        if (entry.is_regular_file() && entry.path() != run.dir / "index.html") {
            EXPECT_TRUE(entry.path().string().starts_with(run.detail() + "/")) << entry.path();
        }
    }
    const std::string page = run.indexText();
    EXPECT_TRUE(contains(page, "&quot;quoted&quot; &lt;b&gt;</FONT>"));
    EXPECT_FALSE(contains(page, "<b>"));
}

}  // namespace
