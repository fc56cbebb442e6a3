#include "modules/standard/PageDocBlock.h"

#include "modules/common/DocText.h"

#include "modules/standard/PageCodeLinks.h"
#include "modules/standard/PageFirstSentence.h"
#include "modules/standard/PageMembers.h"
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
    f.addMember(shape, "area", "double area();", "public", "", true);
    f.addMember(shape, "moveBy", "void moveBy(double x, double y);", "public", "", true,
                {"double x", "double y"});
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
              "<a href=\"../geo/Shape.html#moveBy(doublex,doubley)\"><CODE>moveBy(double, double)</CODE></a>");
    EXPECT_EQ(codeLink(*shape, "", &f.list, "../"),
              "<a href=\"../geo/Shape.html\"><CODE></CODE></a>");
    EXPECT_EQ(codeLink(*shape, "#volume", &f.list, "../"),
              "<a href=\"../geo/Shape.html\"><CODE>volume</CODE></a>");
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
    f.addMember(shape, "area", "double area();", "public", "", true);
    std::string out = block("Text.<BR>\n@see Pen<BR>\n@param x the x<BR>\n@param y<BR>\n"
                            "@throws Shape bad<BR>\n@exception Shape bad<BR>\n@see #area<BR>\n"
                            "@return one<BR>\n@return two<BR>");
    EXPECT_EQ(out.substr(0, 16), "Text.<BR>\n\r\n<DL>");
    EXPECT_TRUE(contains(out, "<DT><B>Parameters: </B><DD><code>x</code> - the x\r\n<DD>"
                              "<code>y</code></DD>\r\n<DT><B>Returns: </B><DD>two</DD>"));
    std::string link = "<a href=\"../geo/Shape.html\"><CODE>Shape</CODE></a> - bad";
    EXPECT_TRUE(contains(out, "<DD>" + link + "\r\n<DD>" + link + "</DD>"));
    EXPECT_LT(out.find("Throws"), out.find("See Also"));
    // Pen of another package is the only class of its name.
    EXPECT_TRUE(contains(out, "<a href=\"../draw/Pen.html\"><CODE>Pen</CODE></a>, "
                              "<a href=\"../geo/Shape.html#area\">"));
}

// A switched-off tag shows nothing, nor does a tag of no section that has
// no text; one with text is a paragraph of its own after the description.
TEST_F(DocBlockTest, SwitchedOffAndEmptyTagsShowNothing) {
    EXPECT_EQ(block("@author me\n@endcond\n@return<BR>"), "\r\n");
    EXPECT_EQ(pagetest::shownText(block("Text.\n@Param x\n@author me", nullptr, "P")),
              "Text.\nParam: x");
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
    EXPECT_TRUE(contains(out, "<CODE>Pen</CODE></a><BR>\nmore words</I>\r\n<P>\r\nOld shape.\n"));
    ASSERT_EQ(map.size(), 1u);
    EXPECT_EQ(map.begin()->second, shape);
    DocBlockParts parts = parseDocComment(*shape, &f.list, "projects/", ".");
    EXPECT_TRUE(contains(parts.deprecation, "\"projects/draw/Pen.html\""));

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
              "xstuffy { @link Pen}");
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
    EXPECT_EQ(summarySentence(*shape, &f.list, ".", "I", "../"), "<I>Open <b>bold text\n</b></I>");
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
    // The longest name of an element to close, in any case, and names that
    // only begin or end like one.
    EXPECT_EQ(firstSentence("A <BlockQuote><H6>x. y", ""), "A <BlockQuote><H6>x.</h6></blockquote>");
    EXPECT_EQ(firstSentence("A <blockquotes><strongest><h7><bl><tt>x. y", ""),
              "A <blockquotes><strongest><h7><bl><tt>x.</tt>");
    // Many tags closed in a row, each opened far back.
    std::string opened, closed;
    for (int i = 0; i < 3000; ++i) {
        opened += "<t" + std::to_string(i) + ">";
        closed += "</T" + std::to_string(2999 - i) + ">";
    }
    EXPECT_EQ(firstSentence(opened + "x." + closed + " more.", ""), opened + "x." + closed);
    EXPECT_EQ(firstSentence(opened + "x." + closed + "</t3000> more.", ""), opened + "x." + closed);
}

TEST(PageFirstSentence, ASummaryIsWholeHtml) {
    // The end falls inside a link the module wrote around code text.
    const std::string link = "<a href=\"L.html#lock\"><CODE>Lock.lock</CODE></a>";
    EXPECT_EQ(firstSentence("Calls " + link + " first. Then.", ""), "Calls " + link);
    EXPECT_EQ(firstSentence("<a href=\"a.html\">A</a> and <a href=\"b.html\">B. c</a> d. e", ""),
              "<a href=\"a.html\">A</a> and <a href=\"b.html\">B. c</a>");
    // Extended past the end tag of the last open element, inner ones
    // closed on the way; or closed at the end when the text never does.
    EXPECT_EQ(firstSentence("<b>x <code>y. z</code> w.</b> v.", ""), "<b>x <code>y. z</code> w.</b>");
    EXPECT_EQ(firstSentence("A <b><i>x. y", ""), "A <b><i>x.</i></b>");
    EXPECT_EQ(firstSentence("No end <a href=\"x\">here", ""), "No end <a href=\"x\">here</a>");
    EXPECT_EQ(firstSentence("Open <b>bold text\n\r\n<DL>\r\n<DT><B>Parameters: </B></DL>", ""),
              "Open <b>bold text</b>");
    // Neither a dot inside a tag nor an apostrophe inside a word stops or
    // starts anything.
    EXPECT_EQ(firstSentence("See <a href=a.html>it</a>. More.", ""), "See <a href=a.html>it</a>.");
    EXPECT_EQ(firstSentence("The list's size. Or 'a. b' more.", ""), "The list's size.");
    EXPECT_EQ(firstSentence("Quoted 'a. b' here. x", ""), "Quoted 'a. b' here.");
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


// A member reference leads to the page that carries the member's entry,
// wherever the member is declared.
TEST_F(DocBlockTest, MemberReferencesLeadToTheDeclaringClass) {
    DocCppClass* calendar = f.addClass("Calendar", "util");
    DocCppClass* gregorian = f.addClass("Gregorian", "util", "class", 2, "", "Calendar,f");
    DocCppClass* queue = f.addClass("Queue", "util", "interface");
    DocCppClass* transfer = f.addClass("Transfer", "util", "interface", 2, "", "Blocking,t");
    f.addClass("Blocking", "util", "interface", 2, "", "Queue,t");
    DocCppClass* outer = f.addClass("Outer", "util");
    DocCppClass* inner = f.addClass("Outer.Inner", "util");
    f.addMember(calendar, "ERA", "static final int ERA;");
    f.addMember(calendar, "secret", "int secret;", "private");
    f.addMember(calendar, "Calendar", "Calendar();", "private", "", true);
    f.addMember(queue, "take", "E take();", "public", "", true);
    f.addMember(outer, "empty", "static Outer empty();", "public", "", true);
    auto link = [&](const CppClassEntity& from, const std::string& ref) {
        return codeLink(from, ref, &f.list, "../");
    };
    // Up the ancestors, interfaces of interfaces too.
    EXPECT_EQ(link(*gregorian, "#ERA"), "<a href=\"../util/Calendar.html#ERA\"><CODE>ERA</CODE></a>");
    EXPECT_EQ(link(*gregorian, "Gregorian#ERA"),
              "<a href=\"../util/Calendar.html#ERA\"><CODE>Gregorian.ERA</CODE></a>");
    EXPECT_EQ(link(*transfer, "#take()"), "<a href=\"../util/Queue.html#take()\"><CODE>take()</CODE></a>");
    // A member with no entry on any page: the class page, no anchor.
    EXPECT_EQ(link(*gregorian, "#secret"), "<a href=\"../util/Gregorian.html\"><CODE>secret</CODE></a>");
    EXPECT_EQ(link(*gregorian, "Calendar#Calendar()"),
              "<a href=\"../util/Calendar.html#Calendar()\"><CODE>Calendar.Calendar()</CODE></a>");
    // A bare member reference looks outwards through the enclosing classes;
    // one that names its class does not.
    CppClassMember* method = f.addMember(inner, "size", "int size();", "public", "", true);
    EXPECT_EQ(link(*method, "#empty()"), "<a href=\"../util/Outer.html#empty()\"><CODE>empty()</CODE></a>");
    EXPECT_EQ(link(*inner, "Outer.Inner#empty"),
              "<a href=\"../util/Outer.Inner.html\"><CODE>Outer.Inner.empty</CODE></a>");
}

TEST_F(DocBlockTest, NestedClassReferencesResolve) {
    DocCppClass* map = f.addClass("Map", "util");
    DocCppClass* entry = f.addClass("Map.Entry", "util");
    DocCppClass* sibling = f.addClass("Map.Node", "util");
    f.addMember(entry, "getKey", "K getKey();", "public", "", true);
    const std::string entryPage = "<a href=\"../util/Map.Entry.html";
    EXPECT_EQ(codeLink(*map, "Map.Entry", &f.list, "../"), entryPage + "\"><CODE>Map.Entry</CODE></a>");
    EXPECT_EQ(codeLink(*map, "Entry", &f.list, "../"), entryPage + "\"><CODE>Entry</CODE></a>");
    EXPECT_EQ(codeLink(*sibling, "Entry#getKey", &f.list, "../"),
              entryPage + "#getKey\"><CODE>Entry.getKey</CODE></a>");
    // From another package: written with its package, or with the outer
    // class alone as an import would allow.
    EXPECT_EQ(codeLink(*shape, "util.Map.Entry#getKey()", &f.list, "../"),
              entryPage + "#getKey()\"><CODE>util.Map.Entry.getKey()</CODE></a>");
    EXPECT_EQ(codeLink(*shape, "Map.Entry", &f.list, "../"), entryPage + "\"><CODE>Map.Entry</CODE></a>");
    EXPECT_EQ(codeLink(*shape, "Map.Missing", &f.list, "../"), "<CODE>Map.Missing</CODE>");
}

TEST_F(DocBlockTest, InlineTagsAsJavaWritesThem) {
    TagContext context{&f.list, "../", "."};
    EXPECT_EQ(expandInlineTags(*shape, "<a href=\"{@docRoot}/x.html\">", context),
              "<a href=\"../../x.html\">");
    EXPECT_EQ(expandInlineTags(*shape, "{@code a<b && c>d} and {@literal <i>}", context),
              "<code>a&lt;b &amp;&amp; c&gt;d</code> and &lt;i&gt;");
    // The reader's line breaks stay breaks; braces inside a tag pair up.
    EXPECT_EQ(expandInlineTags(*shape, "{@code if (x) {<BR>\n  y<z; }} after", context),
              "<code>if (x) {<BR>\n  y&lt;z; }</code> after");
    // A tag whose braces never leave one over for it ends at its first "}".
    EXPECT_EQ(expandInlineTags(*shape, "{@code a { b; }</pre> c", context), "<code>a { b;</code></pre> c");
    EXPECT_EQ(expandInlineTags(*shape, "{@index word} {@inheritDoc}.", context), "word .");
    // With a line break inserted after every comment line, a tag that ends
    // its line is still named by its word: the break is the text's first.
    EXPECT_EQ(expandInlineTags(*shape, "Use {@code<BR>\nlist.get(0)<BR>\n} now", context),
              "Use <code><BR>\nlist.get(0)</code> now");
    EXPECT_EQ(expandInlineTags(*shape, "{@literal<BR>\na<b}", context), "<BR>\na&lt;b");
    std::string out = block("@param <K> the type of keys\n@param k a key");
    EXPECT_TRUE(contains(out, "<code>&lt;K&gt;</code> - the type of keys\r\n<DD><code>k</code>"))
        << out;
}

TEST_F(DocBlockTest, NoTextIsLostAndEveryElementEnds) {
    // A tag line inside a code sample belongs to the sample.
    std::string out = block("Use:<pre>{@code\n@Override\nvoid f() {}\n}</pre>\n@return it");
    EXPECT_TRUE(contains(out, "<pre><code>@Override\nvoid f() {}</code></pre>")) << out;
    EXPECT_TRUE(contains(out, "Returns: </B><DD>it")) << out;
    // An inline tag left open does not swallow the tags after it.
    out = block("Open {@link Pen\n@param x the x");
    EXPECT_TRUE(contains(out, "<code>x</code> - the x")) << out;
    // What the author leaves open ends with the description and with each
    // section, so it cannot run into the page around it.
    out = block("See <a href=\"http://x\">the site\n@return <b>it");
    EXPECT_TRUE(contains(out, "the site\n</a>\r\n<DL>")) << out;
    EXPECT_TRUE(contains(out, "<b>it</b></DD>")) << out;
}

}  // namespace

namespace {

// The elements that C# comments use for references keep the words they
// name: a cref as {@link} would show it, a parameter as code text.
TEST(DocBlockElements, ReferenceElementsKeepTheirWords) {
    pagetest::ListFixture f;
    DocCppClass* logger = f.addClass("Logger", "Demo", "class", 1);
    DocCppClass* message = f.addClass("MessageTemplate", "Demo", "class", 1);
    f.addMember(message, "Text", "string Text;");
    auto shown = [&](const std::string& comment) {
        logger->setComment(receivedComment(comment, logger->getLanguage()));
        return writeDocBlock(*logger, &f.list, "", ".", nullptr, "../");
    };
    EXPECT_EQ(shown("Construct a new <see cref=\"Logger\"/>. See <paramref "
                    "name=\"level\"/> and <typeparamref name='T' />."),
              "Construct a new <a href=\"../Demo/Logger.html\"><CODE>Logger</CODE></a>. See "
              "<code>level</code> and <code>T</code>.\n\r\n");
    // A member of a class, a kind prefix, a label and a name that nothing
    // documents; a <seealso> of its own is a "See Also" entry.
    EXPECT_EQ(shown("<summary><seealso cref=\"MessageTemplate.Text\"/>, <see "
                    "cref=\"T:Demo.MessageTemplate\">the template</see>, <see "
                    "cref=\"System.String\"/>, <see langword=\"null\"/></summary>\n"
                    "<seealso cref=\"Logger\"/>"),
              "<a href=\"../Demo/MessageTemplate.html#Text\"><CODE>MessageTemplate.Text</CODE></a>, "
              "<a href=\"../Demo/MessageTemplate.html\"><CODE>the template</CODE></a>, "
              "<CODE>System.String</CODE>, <code>null</code>\n\r\n<DL>\r\n<DT><B>See Also: </B><DD>"
              "<a href=\"../Demo/Logger.html\"><CODE>Logger</CODE></a></DD>\r\n</DL>\r\n");
    // The words reach the summary too.
    logger->setComment(receivedComment("Construct a new <see cref=\"Logger\"/>. More.", 1));
    EXPECT_EQ(summarySentence(*logger, &f.list, ".", "", "../"),
              "Construct a new <a href=\"../Demo/Logger.html\"><CODE>Logger</CODE></a>.");
    // Anything else that looks like one stays as written.
    EXPECT_EQ(shown("a <seeing> b <see cref=x> c"), "a <seeing> b <see cref=x> c\n\r\n");
}

TEST(PageFirstSentence, ApostrophesOfPossessivesOpenNoQuote) {
    EXPECT_EQ(firstSentence("The users' lists are kept. More.", ""),
              "The users' lists are kept.");
    EXPECT_EQ(firstSentence("The classes' names and the users' lists are kept. More.", ""),
              "The classes' names and the users' lists are kept.");
    // A quoted piece still holds its dots.
    EXPECT_EQ(firstSentence("Reads 'a. b' first. More.", ""), "Reads 'a. b' first.");
    EXPECT_EQ(firstSentence("Don't stop. More.", ""), "Don't stop.");
}

}  // namespace

namespace {

// A reference with an argument list leads to the overload with those
// argument types; one without, or with types that no overload has, to the
// first entry of the name.
TEST(OverloadLinks, ReachTheOverloadWithTheWrittenTypes) {
    pagetest::ListFixture f;
    DocCppClass* table = f.addClass("Table", "util");
    DocCppClass* user = f.addClass("User", "util");
    f.addMember(table, "put", "void put(int key);", "public", "", true, {"int key"});
    f.addMember(table, "put", "void put(java.lang.String key, Object... values);", "public", "",
                true, {"java.lang.String key", "Object... values"});
    f.addMember(table, "put", "void put(List<String> keys, final int[] at);", "public", "", true,
                {"List<String> keys", "final int[] at"});
    f.list.prepareMemberEntries();
    auto link = [&](const std::string& ref) {
        return codeLink(*user, ref, &f.list, "../");
    };
    const std::string page = "<a href=\"../util/Table.html#";
    EXPECT_EQ(link("Table#put(int)"), page + "put(intkey)\"><CODE>Table.put(int)</CODE></a>");
    EXPECT_EQ(link("Table#put(String, Object[])"),
              page + "put(java.lang.Stringkey,Object...values)\"><CODE>Table.put(String, "
                     "Object[])</CODE></a>");
    EXPECT_EQ(link("Table#put(List, int[])"),
              page + "put(List-3CString-3Ekeys,finalint-5B-5Dat)\"><CODE>Table.put(List, "
                     "int[])</CODE></a>");
    EXPECT_EQ(link("Table#put"), page + "put\"><CODE>Table.put</CODE></a>");
    EXPECT_EQ(link("Table#put(long)"), page + "put\"><CODE>Table.put(long)</CODE></a>");
}

// Anchors made from signatures need no escaping in a URL, and two members
// whose signatures are alike still get anchors of their own.
TEST(OverloadLinks, AnchorsAreUrlSafeAndUnique) {
    pagetest::ListFixture f;
    DocCppClass* text = f.addClass("Text", "cpp", "class", 0);
    CppClassMember* format = f.addMember(text, "format", "int format(const char* fmt = \"%d\");",
                                         "public", "", true, {"const char* fmt = \"%d\""});
    CppClassMember* less = f.addMember(text, "operator<", "bool operator<(const Text& o);",
                                       "public", "", true, {"const Text& o"});
    CppClassMember* first = f.addMember(text, "first", "char* first();", "public", "", true);
    CppClassMember* firstConst =
        f.addMember(text, "first", "const char* first() const;", "public", "", true);
    f.list.prepareMemberEntries();
    EXPECT_EQ(memberAnchor(*format), "format(constchar*fmt=-22-25d-22)");
    EXPECT_EQ(memberAnchor(*less), "operator-3C(constText-26o)");
    if (firstConst != first) {  // two members for const and mutable objects
        EXPECT_EQ(memberAnchor(*first), "first()");
        EXPECT_EQ(memberAnchor(*firstConst), "first()-2");
    }
    EXPECT_EQ(memberLink(*format, true, "../", "", false),
              "<a href=\"../cpp/Text.html#format(constchar*fmt=-22-25d-22)\">format</a>");
}

}  // namespace
