#include "VelkLib/VelkTokenizer.h"

#include <gtest/gtest.h>

namespace {

using Tokens = std::vector<std::string>;

Tokens all(VelkTokenizer&& t, char quote = '\0') {
    Tokens tokens;
    while (t.hasMoreTokens() && tokens.size() < 100) tokens.push_back(t.nextToken(quote, '\\'));
    return tokens;
}

TEST(VelkTokenizer, SeparatorsQuotesAndEscapes) {
    EXPECT_EQ(all(VelkTokenizer("a,b,,c,", ",")), (Tokens{"a", "b", "", "c"}));
    EXPECT_EQ(all(VelkTokenizer("", ",")), Tokens{});
    EXPECT_EQ(all(VelkTokenizer("\"a,b\",c", ","), '"'), (Tokens{"a,b", "c"}));
    EXPECT_EQ(all(VelkTokenizer("a\\,b,c", ",")), (Tokens{"a\\,b", "c"}));
    // An escaped escape character still protects what follows.
    EXPECT_EQ(all(VelkTokenizer("a\\\\,b", ",")), (Tokens{"a\\\\,b"}));
    EXPECT_EQ(all(VelkTokenizer("\"a,b\"c,x\"y\"", ","), '"'), (Tokens{"\"a,b\"c", "x\"y\""}));
    EXPECT_EQ(all(VelkTokenizer("\"", ","), '"'), (Tokens{""}));
    EXPECT_EQ(all(VelkTokenizer("key = value", " = ")), (Tokens{"key", "value"}));
    EXPECT_EQ(all(VelkTokenizer("a==b", "=", "==")), (Tokens{"a", "", "b"}));
    EXPECT_EQ(all(VelkTokenizer("a\r\nb,c", "\r\n", "", ",")), (Tokens{"a", "b", "c"}));
}

TEST(VelkTokenizer, EmptyFirstSeparatorCannotLoop) {
    EXPECT_EQ(all(VelkTokenizer("abc", "")), (Tokens{"abc"}));
    EXPECT_EQ(all(VelkTokenizer("a;b", "", ";")), (Tokens{"a", "b"}));
}

TEST(VelkTokenizer, PushedBackTokensComeFirstInReverse) {
    VelkTokenizer t("a,b", ",");
    EXPECT_EQ(t.nextToken('\0', '\\'), "a");
    t.pushedBack.push_back("\"x\"");
    t.pushedBack.push_back("y");
    EXPECT_EQ(all(std::move(t), '"'), (Tokens{"y", "\"x\"", "b"}));
}

TEST(VelkTokenizer, NumbersAndTheirErrors) {
    VelkTokenizer t("42,-7,,1-2,2147483647,-2147483648", ",");
    for (int expected : {42, -7, 0, 1, 2147483647, -2147483647 - 1}) EXPECT_EQ(t.nextNumber(), expected);
    try {
        VelkTokenizer("4x2", ",").nextNumber();
        FAIL();
    } catch (const VelkError& e) {
        EXPECT_EQ(e.getMessage(), "Error reading string: expected a number, got \"4x2\"");
    }
    VelkTokenizer overflow("2147483648,-2147483649,99999999999999999999", ",");
    for (int i = 0; i < 3; ++i) EXPECT_THROW(overflow.nextNumber(), VelkTokenizer::InvalidNumberError);
}

}  // namespace
