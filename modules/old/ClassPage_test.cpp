#include "modules/old/ClassPage.h"

#include "modules/old/OldTestSupport.h"

#include <gtest/gtest.h>

#include <set>

using oldtest::contains;

namespace {

TEST(OldClassPage, ConstructorsAndAccessGroups) {
    oldtest::Run run;
    run.start();
    run.addClass("Shape", "", "class", "", "lib", true);
    run.addMember("area", "double area() const;", "public");
    run.addMember("Shape", "Shape(int sides);", "public", {"int sides"});
    run.addMember("~Shape", "virtual ~Shape();", "public");
    run.addMember("Shape", "Shape Shape;", "public", {}, false);  // a variable, not a constructor
    run.addMember("secret", "int secret;", "private", {}, false);
    run.addMember("Base", "void Base();", "protected");
    endClass(run.handle, "Shape");
    run.addClass("Empty");
    done(run.handle);

    const std::string page = run.page("Shape");
    auto at = [&](const std::string& part) {
        std::size_t where = page.find(part);
        EXPECT_NE(where, std::string::npos) << part;
        return where;
    };
    EXPECT_TRUE(page.starts_with("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">\n<html>\n"));
    EXPECT_TRUE(contains(page, "<title>\nClass Shape\n</title>"));
    EXPECT_TRUE(contains(page, "<pre><a href=\"../../index.html\">Back to Index</a></pre>"));
    EXPECT_TRUE(contains(page, "Project: <b>lib</b>"));
    // Index sections: constructors (the destructor with them), then the
    // access groups in byte order of their words.
    const std::size_t constructors = at("<h2><br>\nConstructor Index\n</h2>\n<blockquote>\n"
                                        "<a href=\"#Shape(intsides)\">Shape(int sides)</a><br>\n"
                                        "<a href=\"#~Shape()\">~Shape()</a><br>\n"
                                        "</blockquote><p>\n");
    const std::size_t privateGroup = at("Private Member Index");
    const std::size_t protectedGroup = at("Protected Member Index");
    const std::size_t publicGroup = at("Public Member Index\n</h2>\n<blockquote>\n"
                                       "<a href=\"#area()\">area()</a><br>\n"
                                       "<a href=\"#Shape\">Shape</a><br>\n");
    EXPECT_TRUE(constructors < privateGroup && privateGroup < protectedGroup &&
                protectedGroup < publicGroup);
    // Details in the same order, each with its signature's anchor and,
    // where no other anchor has it, its name's.
    EXPECT_LT(at("Constructors\n</h2>"), at("Private Members\n</h2>"));
    EXPECT_TRUE(contains(page, "<A NAME=\"Shape(intsides)\"><!-- --></A>\n"
                               "<b>Shape</b>\n<blockquote>\n<pre>\n"
                               "<a href=\"../lib/Shape.html\">Shape</a>(int sides);\n</pre>"));
    EXPECT_TRUE(contains(page, "<A NAME=\"area()\"><!-- --></A>\n<A NAME=\"area\"><!-- --></A>\n<b>area</b>\n"));
    EXPECT_TRUE(page.ends_with("<hr> <pre><a href=\"../../index.html\">Back to Index</a>  "
                               "<a href=\"#_top_\">Back to Top</a></pre>\n"));

    // No members: nothing between the description and the final links.
    const std::string empty = run.page("Empty");
    EXPECT_FALSE(contains(empty, "Index\n</h2>"));
    EXPECT_TRUE(contains(empty, "About Empty\n<hr>\n<hr> <pre>"));
}

TEST(OldClassPage, InheritanceTreeAndBases) {
    oldtest::Run run;
    run.start();
    run.addClass("Root");
    run.addClass("Printable", "", "interface");
    run.addClass("Middle", "Root,f|Printable,t");
    run.addClass("Leaf", "Middle,f|Unknown,f");
    done(run.handle);
    const std::string page = run.page("Leaf");
    EXPECT_TRUE(contains(page,
                         "<pre>\n<PRE>\n"
                         "<a href=\"../lib/Root.html\">Root</a>\n   |\n   +--"
                         "<a href=\"../lib/Middle.html\">Middle</a>, "
                         "<a href=\"../lib/Printable.html\">Printable</a>\n"
                         "         |\n         +--<B>Leaf</B>\n\n</PRE>\n</pre>\n"))
        << page;
    EXPECT_TRUE(contains(page, "<dt> extends <a href=\"../lib/Middle.html\">Middle</a>, Unknown\n"));
    // A class without known ancestors has no tree at all.
    EXPECT_TRUE(contains(run.page("Root"), "<pre>\n</pre>\n<hr>\n"));
}

// class C extends B implements I: I belongs to C's tree although no
// ancestor names it, and so does what I extends.
TEST(OldClassPage, TheClassesOwnInterfacesJoinTheTree) {
    oldtest::Run run;
    run.start();
    run.addClass("B");
    run.addClass("J", "", "interface");
    run.addClass("I", "J,t", "interface");
    run.addClass("C", "B,f|I,t");
    done(run.handle);
    EXPECT_TRUE(contains(run.page("C"),
                         "<PRE>\n<a href=\"../lib/B.html\">B</a>, <a href=\"../lib/J.html\">J</a>, "
                         "<a href=\"../lib/I.html\">I</a>\n   |\n   +--<B>C</B>\n\n</PRE>\n"))
        << run.page("C");
}

// Java's comments name type parameters "<U>" and quote code in {@code}:
// shown as text, they open no element that would run over the page.
TEST(OldClassPage, DocumentationShowsTypeParametersAndCodeAsText) {
    oldtest::Run run;
    run.start();
    run.addClass("Box", "", "class", "", "lib", true,
                 "A box of {@code List<T>}.\n@param <T> the <b>element</b> type\n");
    run.addMember("map", "<U> Box<U> map(Function<T, U> f);", "public", {"Function<T, U> f"}, true,
                  "", "Maps.\n@param <U> the result type\n@param f {@literal a<b}\n");
    endClass(run.handle, "Box");
    done(run.handle);
    const std::string page = run.page("Box");
    EXPECT_TRUE(contains(page, "</dl><p>\nA box of <code>List&lt;T&gt;</code>.\n"
                               "@param &lt;T&gt; the <b>element</b> type\n\n"))
        << page;
    EXPECT_TRUE(contains(page, "<blockquote>\nMaps.\n@param &lt;U&gt; the result type\n"
                               "@param f a&lt;b\n\n</blockquote>\n"))
        << page;
}

// A function's own type parameters stay words, whatever class bears the
// name; the class itself is still linked where a word names it.
TEST(OldClassPage, AFunctionsOwnTypeParametersAreNoLinks) {
    oldtest::Run run;
    run.start();
    run.addClass("Iterator");
    run.addClass("Range", "", "class", "", "lib", true);
    run.addMember("assign", "template <class Iterator> void assign(Iterator first, Iterator last);", "public",
                  {"Iterator first", "Iterator last"});
    run.addMember("begin", "Iterator begin();", "public");
    endClass(run.handle, "Range");
    done(run.handle);
    const std::string page = run.page("Range");
    EXPECT_TRUE(contains(page, "template &lt;class Iterator&gt; void assign(Iterator first, Iterator last);")) << page;
    EXPECT_TRUE(contains(page, "<a href=\"../lib/Iterator.html\">Iterator</a> begin();")) << page;
}

TEST(OldClassPage, SourceFileReferences) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"?", ""},
        {".", "See <A HREF=\"a.h.html\">a.h</A>.<br>\nSee <A HREF=\"b%20c.cpp.html\">b c.cpp</A>.<br>\n"},
        {"../src", "See <A HREF=\"../src/a.h\">a.h</A>.<br>\nSee <A HREF=\"../src/b%20c.cpp\">b c.cpp</A>.<br>\n"},
        // The user's own URL is kept; only the file names are encoded.
        {"http://h/s", "See <A HREF=\"http://h/s/a.h\">a.h</A>.<br>\nSee <A HREF=\"http://h/s/b%20c.cpp\">b c.cpp</A>.<br>\n"}};
    for (const auto& [directory, expected] : cases) {
        oldtest::Run run;
        run.start({.sourceDirectory = directory});
        run.addClass("Shape", "", "class", "/x/a.h|/x/b c.cpp|/x/d.cpp");  // two at the most
        done(run.handle);
        EXPECT_TRUE(contains(run.page("Shape"), "About Shape\n" + expected + "<hr>\n")) << directory;
    }
}

// What a browser shows of a piece of a page: tags dropped, the references
// the page writes decoded.
std::string shownText(const std::string& html) {
    std::string text;
    for (std::size_t i = 0; i < html.size();) {
        if (html[i] == '<') {
            i = html.find('>', i) + 1;
            continue;
        }
        bool decoded = false;
        for (const auto& [reference, character] :
             {std::pair{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#60;", '<'}, {"&#62;", '>'}}) {
            const std::string_view ref(reference);
            if (html.compare(i, ref.size(), ref) == 0) {
                text += character;
                i += ref.size();
                decoded = true;
                break;
            }
        }
        if (!decoded) text += html[i++];
    }
    return text;
}

// Overloads that differ only in const, or in nothing the anchor shows,
// and a name shared by a variable and a function: each entry of the index
// leads to its own member, and no anchor stands twice on the page.
TEST(OldClassPage, EachIndexEntryLeadsToItsOwnMember) {
    oldtest::Run run;
    run.start();
    run.addClass("Grid", "", "class", "", "lib", true);
    const std::vector<std::string> declarations = {
        "int& cell(int r, int c);", "int cell(int r, int c) const;", "int rows;",
        "int rows() const;", "void fill(int value);", "void fill(int value) volatile;"};
    run.addMember("cell", declarations[0], "public", {"int r", "int c"});
    run.addMember("cell", declarations[1], "public", {"int r", "int c"});
    run.addMember("rows", declarations[2], "protected", {}, false);
    run.addMember("rows", declarations[3], "public");
    run.addMember("fill", declarations[4], "public", {"int value"});
    run.addMember("fill", declarations[5], "public", {"int value"});
    endClass(run.handle, "Grid");
    done(run.handle);
    const std::string page = run.page("Grid");

    std::multiset<std::string> anchors;
    for (std::size_t at = page.find("<A NAME=\""); at != std::string::npos; at = page.find("<A NAME=\"", at + 1))
        anchors.insert(page.substr(at + 9, page.find('"', at + 9) - at - 9));
    for (const std::string& anchor : std::set<std::string>(anchors.begin(), anchors.end()))
        EXPECT_EQ(anchors.count(anchor), 1u) << anchor;

    // The declaration shown below the anchor each index entry names.
    const std::size_t details = page.find("<A NAME=\"");
    ASSERT_NE(details, std::string::npos) << page;
    std::multiset<std::string> reached;
    for (std::size_t at = page.find("<a href=\"#"); at < details; at = page.find("<a href=\"#", at + 1)) {
        const std::string anchor = page.substr(at + 10, page.find('"', at + 10) - at - 10);
        const std::size_t target = page.find("<A NAME=\"" + anchor + "\">", details);
        ASSERT_NE(target, std::string::npos) << anchor;
        const std::size_t pre = page.find("<pre>\n", target) + 6;
        reached.insert(shownText(page.substr(pre, page.find("\n</pre>", pre) - pre)));
    }
    EXPECT_EQ(reached, std::multiset<std::string>(declarations.begin(), declarations.end())) << page;
}

}  // namespace
