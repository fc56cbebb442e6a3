#include "modules/standard/PageDocBlock.h"

#include "modules/standard/PageCodeLinks.h"
#include "modules/standard/PageFirstSentence.h"
#include "modules/standard/PageTags.h"
#include "modules/standard/PageTestSupport.h"

#include <gtest/gtest.h>

namespace {

using pagetest::contains;

struct DocBlockTest : ::testing::Test {
    pagetest::ListFixture f;
    DocCppClass* shape = nullptr;
    DocCppClass* other = nullptr;
    void SetUp() override {
        shape = f.addClass("Shape", "geo");
        other = f.addClass("Pen", "draw");
    }
    std::string block(const std::string& comment, DeprecatedItemMap* map = nullptr,
                      const std::string& tag = "") {
        shape->setComment(comment);
        return writeDocBlock(*shape, &f.list, tag, ".", map, "../");
    }
};

TEST_F(DocBlockTest, CodeLinks) {
    EXPECT_EQ(codeLink(*shape, "\"A title\"", &f.list, "../"), "\"A title\"");
    EXPECT_EQ(codeLink(*shape, "<a href=x>y</a>", &f.list, "../"), "<a href=x>y</a>");
    EXPECT_EQ(codeLink(*shape, "#area", &f.list, "../"),
              "<a href=\"../geo/Shape.html#area\"><CODE>area</CODE></a>");
    EXPECT_EQ(codeLink(*shape, "Shape#area the area", &f.list, "../"),
              "<a href=\"../geo/Shape.html#area\"><CODE>the area</CODE></a>");
    EXPECT_EQ(codeLink(*shape, "draw.Pen", &f.list, "../"),
              "<a href=\"../draw/Pen.html\"><CODE>draw.Pen</CODE></a>");
    EXPECT_EQ(codeLink(*shape, "Nowhere#x", &f.list, "../"), "<CODE>Nowhere.x</CODE>");
    EXPECT_EQ(codeLink(*shape, "#moveBy(double, double)", &f.list, "../"),
              "<a href=\"../geo/Shape.html#moveBy\"><CODE>moveBy(double, double)</CODE></a>");
    EXPECT_EQ(codeLink(*shape, "", &f.list, "../"),
              "<a href=\"../geo/Shape.html\"><CODE></CODE></a>");
    DocCppClass* cpp = f.addClass("Box", "geo", "class", 0);
    EXPECT_EQ(codeLink(*cpp, "Shape#area", &f.list, ""),
              "<a href=\"geo/Shape.html#area\"><CODE>Shape::area</CODE></a>");
    EXPECT_EQ(afterLastDot("a.b/file"), "");
    EXPECT_EQ(afterLastDot("dir\\x.cpp"), "cpp");
    EXPECT_EQ(sourceFileLink("src/a b.cpp", "."), "<A HREF=\"a%20b.cpp.html\">a b.cpp</A>");
    EXPECT_EQ(sourceFileLink("src/x.cpp", "http://h/s?v=1&w"),
              "<A HREF=\"http://h/s?v=1&amp;w/src/x.cpp\">x.cpp</A>");
}

TEST_F(DocBlockTest, SectionsInFixedOrder) {
    std::string out = block("Text.<BR>\n@see Pen<BR>\n@param x the x<BR>\n@param y<BR>\n"
                            "@throws Shape bad<BR>\n@exception Shape bad<BR>\n@see #area<BR>\n"
                            "@return one<BR>\n@return two<BR>");
    EXPECT_EQ(out.substr(0, 16), "Text.<BR>\n\r\n<DL>");
    EXPECT_TRUE(contains(out, "<DT><B>Parameters: </B><DD><code>x</code> - the x\r\n<DD>"
                              "<code>y</code></DD>\r\n<DT><B>Returns: </B><DD>two</DD>"));
    std::string link = "<a href=\"../geo/Shape.html\"><CODE>Shape</CODE></a> - bad";
    EXPECT_TRUE(contains(out, "<DD>" + link + "\r\n<DD>" + link + "</DD>"));
    EXPECT_LT(out.find("Throws"), out.find("See Also"));
    EXPECT_TRUE(contains(out, "<CODE>Pen</CODE>, <a href=\"../geo/Shape.html#area\">"));
}

TEST_F(DocBlockTest, SwitchedOffAndUnknownTagsShowNothing) {
    EXPECT_EQ(block("@author me\n@Param x\n@return<BR>"), "\r\n");
    EXPECT_EQ(block("Only text<BR>", nullptr, "P"), "<p>Only text<BR>\n<p>\r\n");
    EXPECT_EQ(wrapInTag("t", "I"), "<I>t</I>");
    EXPECT_EQ(splitFirstWord("  @since  <BR> ").second, "<BR>");
    EXPECT_EQ(splitFirstWord("param x y<br>").second, "x y");
}

TEST_F(DocBlockTest, DeprecationNoteAndMap) {
    DeprecatedItemMap map;
    std::string out =
        block("Old shape.\n@deprecated use {@link draw.Pen} or {@link Pen}<BR>\nmore words", &map);
    EXPECT_EQ(out.rfind("<B>Deprecated.</B>&nbsp;<I>use <a href=\"../draw/Pen.html\">", 0), 0u);
    EXPECT_TRUE(contains(out, "<CODE>Pen</CODE><BR>\nmore words</I>\r\n<P>\r\nOld shape.\n"));
    ASSERT_EQ(map.size(), 1u);
    EXPECT_EQ(map.begin()->second, shape);
    DocBlockParts parts = parseDocComment(*shape, &f.list, "../", ".");
    EXPECT_TRUE(contains(parts.deprecation, "\"**classdir**draw/Pen.html\""));

    shape->setComment("@deprecated gone");
    f.options.enableDeprecated = false;
    DocCppClass* quiet = f.addClass("Quiet", "geo", "class", 2, "@deprecated gone");
    DeprecatedItemMap none;
    EXPECT_EQ(writeDocBlock(*quiet, &f.list, "", ".", &none, "../"), "\r\n");
    EXPECT_TRUE(none.empty());
}

TEST_F(DocBlockTest, InlineTags) {
    shape->setFileName("src/a.java");
    shape->addFileName("src/b.java");
    TagContext context{&f.list, "../", "."};
    EXPECT_EQ(expandInlineTags(*shape, "x{@bogus stuff}y { @link Pen}", context),
              "xy { @link Pen}");
    EXPECT_EQ(expandInlineTags(*shape, "{@docroot}/i.html {@file2}", context),
              "../../i.html <A HREF=\"b.java.html\">b.java</A>");
    EXPECT_EQ(expandInlineTags(*shape, "see {@link draw.Pen", context),
              "see <a href=\"../draw/Pen.html\"><CODE>draw.Pen</CODE></a>");
    TagContext noListings{&f.list, "../", "?"};
    EXPECT_EQ(expandInlineTags(*shape, "{@files}", noListings), "<UL><LI>a.java</LI><LI>b.java</LI></UL>");
}

// The summary reads only the description and deprecation blocks when it
// can; whatever the comment, it must be the first sentence of the whole block.
TEST_F(DocBlockTest, SummaryIsTheFirstSentenceOfTheWholeBlock) {
    const char* comments[] = {
        "",
        "One. Two.",
        "No end here",
        "No end here\n@param x the x",
        "Open <b>bold. text\n@param x the x",
        "Open <b>bold. text",
        "Open <code>x. y\n@see Pen",
        "<i>Done.</i></b> More.\n@return r",
        "Ends in </x",
        "Ends in </x\n@param p",
        "Version 1.5 is out<br>really.\n@since 2",
        "{@bogus}@param x y\nthen text.",
        "{@link Pen} is the pen. More.",
        "Old.\n@deprecated use {@link draw.Pen}. Or not.\n@param x",
        "Old.\n@ deprecated spaced. Out\n@deprecated last one <i>wins",
        "Old.\n@deprecated{@bogus} odd. Name",
        "@deprecated\n@return nothing. At all",
        "Text.\n@deprecated no newline at the end",
        "Quote \"a. b\" (c. d) e. f\n@param q",
        "  \n\t@see Pen\nText after a tag.",
    };
    for (const char* comment : comments) {
        shape->setComment(comment);
        for (const std::string prefix : {"../", ""}) {
            std::string whole = writeDocBlock(*shape, &f.list, "", ".", nullptr, prefix);
            EXPECT_EQ(summarySentence(*shape, &f.list, ".", "", prefix),
                      firstSentence(whole, "Deprecated"))
                << "comment: " << comment;
        }
    }
    shape->setComment("Open <b>bold text\n@param x the x");
    EXPECT_EQ(summarySentence(*shape, &f.list, ".", "I", "../"),
              "<I>Open <b>bold text\n\r\n<DL>\r\n<DT><B>Parameters: </B></I>");
    f.options.enableDeprecated = false;
    DocCppClass* quiet = f.addClass("Quiet", "geo", "class", 2, "Old.\n@deprecated gone. Far");
    EXPECT_EQ(summarySentence(*quiet, &f.list, ".", "", "../"), "Old.");
}

TEST(PageFirstSentence, HeadDecidesOnlyWhatTheRestCannotChange) {
    std::string out;
    EXPECT_TRUE(firstSentenceOfHead("One. <i>Two</i>\r\n", "", out));
    EXPECT_EQ(out, "One.");
    EXPECT_TRUE(firstSentenceOfHead("No end\r\n", "", out));
    EXPECT_EQ(out, "No end");
    EXPECT_TRUE(firstSentenceOfHead("A <b>x. y</b>\r\n", "", out));
    EXPECT_EQ(out, "A <b>x. y</b>");
    // Whether the tag list follows decides these.
    EXPECT_FALSE(firstSentenceOfHead("A <b>x. y\r\n", "", out));
    EXPECT_FALSE(firstSentenceOfHead("No <code>end\r\n", "", out));
    EXPECT_FALSE(firstSentenceOfHead("Cut.</q\r\n", "", out));
    EXPECT_FALSE(firstSentenceOfHead("Not ended by a line break.", "", out));
}

TEST(PageFirstSentence, KeepsClosingTagsOpenedBeforeTheCut) {
    EXPECT_EQ(firstSentence("<b><i>Done.</i></b> More.", ""), "<b><i>Done.</i></b>");
    EXPECT_EQ(firstSentence("<i>a.</I></i> b", ""), "<i>a.</I></i>");
    EXPECT_EQ(firstSentence("<B>Loud.</b></x> rest", ""), "<B>Loud.</b>");
    EXPECT_EQ(firstSentence("x. </q> <q>", ""), "x.");
    EXPECT_EQ(firstSentence("<q a>x.</q a> y", ""), "<q a>x.</q a>");
    EXPECT_EQ(firstSentence("<q<r>x.</q<r> y", ""), "<q<r>x.</q<r>");
    // Many tags closed in a row, each opened far back.
    std::string opened, closed;
    for (int i = 0; i < 3000; ++i) {
        opened += "<t" + std::to_string(i) + ">";
        closed += "</T" + std::to_string(2999 - i) + ">";
    }
    EXPECT_EQ(firstSentence(opened + "x." + closed + " more.", ""), opened + "x." + closed);
    EXPECT_EQ(firstSentence(opened + "x." + closed + "</t3000> more.", ""), opened + "x." + closed);
}

TEST(PageFirstSentence, Cuts) {
    EXPECT_EQ(firstSentence("  no end here  ", ""), "no end here");
    EXPECT_EQ(firstSentence("Version 1.5 is here. More.", ""), "Version 1.5 is here.");
    EXPECT_EQ(firstSentence("<p>First para<p>second. x", ""), "<p>First para");
    EXPECT_EQ(firstSentence("A <code>x.y</code> b. c", ""), "A <code>x.y</code>");
    EXPECT_EQ(firstSentence("A <code>x. y</code> b. c", ""), "A <code>x. y</code>");
    EXPECT_EQ(firstSentence("A <code>x. y", ""), "A <code>x.</code>");
    EXPECT_EQ(firstSentence("Line one<br>two. three", ""), "Line one");
    EXPECT_EQ(firstSentence("<B>Deprecated.</B>&nbsp;<I>Use x. Instead.</I>\r\n<P>\r\nText.",
                            "Deprecated"),
              "<B>Deprecated.</B>&nbsp;<I>Use x. Instead.</I>");
    EXPECT_EQ(firstSentence("<i>Done.</i> More.", ""), "<i>Done.</i>");
    EXPECT_EQ(firstSentence("A<br>b <b>bold. x</b>", ""), "A");
}

}  // namespace
