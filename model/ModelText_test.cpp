#include "model/ModelText.h"

#include <gtest/gtest.h>

#include <cstdio>

TEST(ModelText, ListFieldsKeepEveryByteOfAName) {
    const std::vector<std::string> names{"a|b.h", "c\\d", "plain", ""};
    std::string list;
    for (const std::string& name : names) {
        appendListField(list, name);
        list += '|';
    }
    EXPECT_EQ(list, "a\\|b.h|c\\\\d|plain||");
    EXPECT_EQ(splitListFields(list), names);
    EXPECT_EQ(splitListFields("one"), std::vector<std::string>{"one"});
    EXPECT_EQ(splitListFields(""), std::vector<std::string>{});
    // Plain fields come as views, escaped ones unescaped; a last lone
    // backslash is kept.
    EXPECT_EQ(splitListFields("p|a\\|b|q|\\"),
              (std::vector<std::string>{"p", "a|b", "q", "\\"}));
}

TEST(ModelText, ALinkNeverLetsItsTargetEndTheAttribute) {
    EXPECT_EQ(makeLink("A", "../x\"onclick=\"y/A.html", "", "m\"n"),
              "<a href=\"../x%22onclick=%22y/A.html#m&quot;n\">A</a>");
    EXPECT_EQ(makeLink("B", "c#/my page?.html", "I", ""),
              "<a href=\"c%23/my%20page%3F.html\"><I>B</I></a>");
}

TEST(ModelText, APagePathIsNeverReadAsAUrlScheme) {
    // A file or directory named like a scheme stays a relative path.
    EXPECT_EQ(hrefEscape("javascript:alert(1)+.1.java.html"), "javascript%3Aalert(1)+.1.java.html");
    EXPECT_EQ(hrefEscape("JavaScript:x/p/A.html"), "JavaScript%3Ax/p/A.html");
    EXPECT_EQ(makeLink("A", "data:text/html,x/A.html", "", ""),
              "<a href=\"data%3Atext/html,x/A.html\">A</a>");
    // Behind the first "/" a colon cannot start a scheme and is kept.
    EXPECT_EQ(hrefEscape("../p/a:b.html"), "../p/a:b.html");
    EXPECT_EQ(hrefEscape("projects/p/Map:Entry.html"), "projects/p/Map:Entry.html");
}

// The search goes in windows: what it finds must not depend on where a
// window ends.
TEST(ModelText, EitherCharacterIsFoundWhereverItStands) {
    for (std::size_t at : {0u, 1u, 255u, 256u, 257u, 600u}) {
        for (char c : {'<', '{'}) {
            std::string text(700, 'x');
            text[at] = c;
            text[699] = c == '<' ? '{' : '<';
            EXPECT_EQ(findEither(text, 0, '<', '{'), at) << at << c;
            EXPECT_EQ(findEither(text, at + 1, '<', '{'), 699u) << at << c;
        }
    }
    EXPECT_EQ(findEither(std::string(1000, 'x'), 0, '<', '{'), std::string_view::npos);
    EXPECT_EQ(findEither("a{b", 3, '<', '{'), std::string_view::npos);
    EXPECT_EQ(findEither("", 0, '<', '{'), std::string_view::npos);
}

TEST(ModelText, AnInlineTagEndsAtTheBraceThatPairsWithNoneInside) {
    // The tag's text starts after "{@code ".
    const std::string_view code = "{@code if (a) { b(); }} after }";
    EXPECT_EQ(inlineTagEnd(code, 7), 22u);
    EXPECT_EQ(inlineTagEnd("{@link A} {@link B}", 7), 8u);
    // Braces that never leave one over: the first "}" ends the tag.
    EXPECT_EQ(inlineTagEnd("{@code {{ x }", 7), 12u);
    EXPECT_EQ(inlineTagEnd("{@code {{ x } y", 7), 12u);
    EXPECT_EQ(inlineTagEnd("{@code x", 7), std::string_view::npos);
    // Far into a long text, past the search windows.
    const std::string text = "{@code " + std::string(600, 'x') + "{" + std::string(300, 'y') + "}" +
                             std::string(300, 'z') + "}";
    EXPECT_EQ(inlineTagEnd(text, 7), text.size() - 1);
}

// Every byte that is escaped, at every place in and around the sixteen-byte
// steps of the search; bytes beyond ASCII stay as they are.
TEST(ModelText, EveryEscapedByteIsFoundWhereverItStands) {
    const std::string kept = "/x\xC3\xA9.-_~()+,;=@!$*";
    for (std::size_t at = 0; at < 40; ++at) {
        for (char c : {'%', '#', '?', '"', '<', '>', '\'', ' ', '\x01', '\x7F'}) {
            std::string path(40, 'a');
            path.replace(0, kept.size(), kept);
            path[at] = c;
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
            std::string expected = path.substr(0, at) + escaped + path.substr(at + 1);
            EXPECT_EQ(hrefEscape(path), expected) << at;
        }
        std::string amp(40, 'b');
        amp[at] = '&';
        EXPECT_EQ(hrefEscape(amp), amp.substr(0, at) + "&amp;" + amp.substr(at + 1));
    }
}
