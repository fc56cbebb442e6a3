#include "reader/CommentScript.h"

#include <gtest/gtest.h>

namespace {

std::string defused(std::string text) {
    defuseCommentScript(text);
    return text;
}

TEST(CommentScript, HarmlessMarkupIsKeptAsWritten) {
    for (const char* kept :
         {"A <b>bold</b> and <code>x &lt; y</code> text.", "See <a href=\"http://example.org/a?b=1\">here</a>.",
          "<a href='Other.html#m'>m</a> <img src=\"pic.png\" alt=\"a picture\">", "a < b and c > d",
          "<p class=note>Note</p><br/>", "<img src=\"data:image/png;base64,AAAA\">",
          "<a href=\"mailto:x@example.org\">mail</a> <a name=\"one\">", "x<y", "<!-- a remark -->",
          "<span title=\"online\">on</span>", "<a href=\"docs/java:script.html\">odd name</a>"}) {
        std::string text = kept;
        EXPECT_FALSE(defuseCommentScript(text)) << kept;
        EXPECT_EQ(text, kept);
    }
}

TEST(CommentScript, ScriptElementsBecomeText) {
    EXPECT_EQ(defused("a <script>alert(1)</script> b"), "a &lt;script&gt;alert(1)&lt;/script&gt; b");
    EXPECT_EQ(defused("<SCRIPT src=x.js></SCRIPT >"), "&lt;SCRIPT src=x.js&gt;&lt;/SCRIPT &gt;");
    EXPECT_EQ(defused("<sCrIpT\n>x"), "&lt;sCrIpT\n&gt;x");
    EXPECT_EQ(defused("<style>body{}</style>"), "&lt;style&gt;body{}&lt;/style&gt;");
    EXPECT_EQ(defused("<object data=x></object><embed src=y>"),
              "&lt;object data=x&gt;&lt;/object&gt;&lt;embed src=y&gt;");
    EXPECT_EQ(defused("<iframe src=\"a.html\">"), "&lt;iframe src=\"a.html\"&gt;");
    // Left open at the end of the comment.
    EXPECT_EQ(defused("x <script"), "x &lt;script");
    EXPECT_EQ(defused("<base href=x><meta http-equiv=refresh content=0>"),
              "&lt;base href=x&gt;&lt;meta http-equiv=refresh content=0&gt;");
}

TEST(CommentScript, EventAttributesInAnyTagBecomeText) {
    EXPECT_EQ(defused("<img src=x onerror=alert(1)>"), "&lt;img src=x onerror=alert(1)&gt;");
    EXPECT_EQ(defused("<b ONMOUSEOVER = \"x()\">b</b>"), "&lt;b ONMOUSEOVER = \"x()\"&gt;b</b>");
    EXPECT_EQ(defused("<img/onerror=alert(1)/src=x>"), "&lt;img/onerror=alert(1)/src=x&gt;");
    // As a browser reads it, the slash belongs to the value: no event.
    EXPECT_EQ(defused("<img src=x/onerror=y>"), "<img src=x/onerror=y>");
    EXPECT_EQ(defused("<div\nonclick='y'>"), "&lt;div\nonclick='y'&gt;");
    // A tag hidden in the value of a defused one is read on its own.
    EXPECT_EQ(defused("<script title=\"<img src=x onerror=alert(1)>\">"),
              "&lt;script title=\"&lt;img src=x onerror=alert(1)&gt;\"&gt;");
}

TEST(CommentScript, ScriptUrlsBecomeTextHoweverTheyAreWritten) {
    for (const char* url : {"javascript:alert(1)", " javascript:alert(1)", "JaVaScRiPt:x", "java\tscript:x",
                            "jav&#x61;script:x", "jav&#97;script:x", "javascript&colon;x", "jav&#X41script:x",
                            "&#106;&#97;&#118;&#97;&#115;&#99;&#114;&#105;&#112;&#116;&#58;x", "vbscript:msgbox",
                            "data:text/html,<script>x</script>", "java&Tab;script:x", "\x01javascript:x"}) {
        const std::string tag = std::string("<a href=\"") + url + "\">x</a>";
        std::string text = tag;
        EXPECT_TRUE(defuseCommentScript(text)) << url;
        EXPECT_EQ(text.rfind("&lt;a href=", 0), 0u) << text;
    }
    EXPECT_EQ(defused("<a href=javascript:x>y</a>"), "&lt;a href=javascript:x&gt;y</a>");
    EXPECT_EQ(defused("<iframe src=javascript:x>"), "&lt;iframe src=javascript:x&gt;");
    EXPECT_EQ(defused("<form action='javascript:x'>"), "&lt;form action='javascript:x'&gt;");
    EXPECT_EQ(defused("<p style=\"width: expression(alert(1))\">"), "&lt;p style=\"width: expression(alert(1))\"&gt;");
}

// Code text is shown as text by the pages, so generics such as <Object>
// inside it are no elements; outside it they still are.
TEST(CommentScript, CodeTextIsNoMarkup) {
    for (const char* kept : {"If we have an {@code Iterable<Object>} we expand it.",
                             "<pre>{@code\nstatic Object f(Info<Object> i) {\n  List<Script> s = g(x -> { return x; });\n}\n}</pre>",
                             "{@literal <script>alert(1)</script>}", "{@code} <b>b</b>", "an open {@code List<Object>"}) {
        std::string text = kept;
        EXPECT_FALSE(defuseCommentScript(text)) << kept;
        EXPECT_EQ(text, kept);
    }
    EXPECT_EQ(defused("{@code a<b} <script>x</script>"), "{@code a<b} &lt;script&gt;x&lt;/script&gt;");
    EXPECT_EQ(defused("{@codes <object>} {@link <object>}"), "{@codes &lt;object&gt;} {@link &lt;object&gt;}");
}

}  // namespace
