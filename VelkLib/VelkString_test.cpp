#include "VelkLib/VelkString.h"

#include <gtest/gtest.h>

#include <cctype>

TEST(VelkString, ReplaceAllLeftToRightWithoutRescanning) {
    VelkString s("aaa");
    s.replaceAll("aa", "b");
    EXPECT_EQ(s, "ba");
    VelkString grow("x/x");
    grow.replaceAll("x", "xx");  // the replacement holds the search text
    EXPECT_EQ(grow, "xx/xx");
    grow.replaceAll("", "z");  // nothing to find: no endless loop
    EXPECT_EQ(grow, "xx/xx");
}

TEST(VelkString, TrimAndCharacterTestsOnHighBytes) {
    EXPECT_EQ(VelkString("   ").trim(), "");
    EXPECT_EQ(VelkString("\t a b\r\n\f").trim(), "a b");
    EXPECT_EQ(VelkString("\xc3\xa9 \xa0").trim(), "\xc3\xa9 \xa0");
    EXPECT_FALSE(isAlphaChar('\xe9'));
    // Every byte against the C library in the "C" locale.
    for (int b = 0; b < 256; ++b) {
        char c = static_cast<char>(b);
        EXPECT_EQ(isSpaceChar(c), b < 128 && std::isspace(b) != 0) << b;
    }
}

TEST(VelkString, IntToStringAndHtmlFragments) {
    EXPECT_EQ(intToString(-2147483647 - 1), "-2147483648");
    EXPECT_TRUE(isHtmlFragment("<b>x"));
    EXPECT_TRUE(isHtmlFragment("a > b"));
    EXPECT_FALSE(isHtmlFragment("header.html"));
    EXPECT_TRUE(isHtmlFragment("$no-such-file$"));
    EXPECT_FALSE(isHtmlFragment("/"));
}
