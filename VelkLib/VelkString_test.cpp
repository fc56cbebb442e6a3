#include "VelkLib/VelkString.h"

#include <gtest/gtest.h>

TEST(VelkString, ReplaceAllLeftToRightWithoutRescanning) {
    VelkString s("aaa");
    s.replaceAll("aa", "b");
    EXPECT_EQ(s, "ba");
    VelkString path("a/b/c");
    path.replaceAll("/", "\\");
    EXPECT_EQ(path, "a\\b\\c");
    VelkString grow("x");
    grow.replaceAll("x", "xx");  // replacement holds the search text
    EXPECT_EQ(grow, "xx");
    VelkString same("abc");
    same.replaceAll("", "z");  // nothing to find: no endless loop
    EXPECT_EQ(same, "abc");
    VelkString big(std::string(1000, 'a'));
    big.replaceAll("a", "<b>");
    EXPECT_EQ(big.size(), 3000u);
}

TEST(VelkString, TrimKeepsInnerBlanksAndHighBytes) {
    EXPECT_EQ(VelkString("   ").trim(), "");
    EXPECT_EQ(VelkString(" a b ").trim(), "a b");
    EXPECT_EQ(VelkString("\t\r\nx\f\v").trim(), "x");
    EXPECT_EQ(VelkString("\xc3\xa9 \xa0").trim(), "\xc3\xa9 \xa0");
    EXPECT_FALSE(isSpaceChar('\xa0'));
    EXPECT_FALSE(isAlphaChar('\xe9'));
    EXPECT_TRUE(isAlnumChar('Z'));
}

TEST(VelkString, IntToString) {
    EXPECT_EQ(intToString(0), "0");
    EXPECT_EQ(intToString(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(intToString(2147483647), "2147483647");
}

TEST(VelkString, HtmlFragmentOrFileName) {
    EXPECT_TRUE(isHtmlFragment("<b>x"));
    EXPECT_TRUE(isHtmlFragment("a > b"));
    EXPECT_FALSE(isHtmlFragment("header.html"));
    EXPECT_TRUE(isHtmlFragment("$no-such-file$"));
    EXPECT_FALSE(isHtmlFragment("/"));
}
