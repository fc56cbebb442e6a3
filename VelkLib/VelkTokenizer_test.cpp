#include "VelkLib/VelkTokenizer.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> all(VelkTokenizer& t, char quote = '\0', char escape = '\\') {
    std::vector<std::string> tokens;
    while (t.hasMoreTokens() && tokens.size() < 100) tokens.push_back(t.nextToken(quote, escape));
    return tokens;
}

using Tokens = std::vector<std::string>;

TEST(VelkTokenizer, EmptyTokensButNoEmptyLastOne) {
    VelkTokenizer t("a,b,,c", ",");
    EXPECT_EQ(all(t), (Tokens{"a", "b", "", "c"}));
    VelkTokenizer trailing("a,", ",");
    EXPECT_EQ(all(trailing), (Tokens{"a"}));
    VelkTokenizer empty("", ",");
    EXPECT_FALSE(empty.hasMoreTokens());
    EXPECT_EQ(empty.nextToken('\0', '\\'), "");
}

TEST(VelkTokenizer, QuotesAndEscapes) {
    VelkTokenizer quoted("\"a,b\",c", ",");
    EXPECT_EQ(all(quoted, '"'), (Tokens{"a,b", "c"}));
    VelkTokenizer escaped("a\\,b,c", ",");
    EXPECT_EQ(all(escaped), (Tokens{"a\\,b", "c"}));
    VelkTokenizer doubleEscape("a\\\\,b", ",");  // an escaped escape still protects
    EXPECT_EQ(all(doubleEscape), (Tokens{"a\\\\,b"}));
    VelkTokenizer halfQuoted("\"a,b\"c,x\"y\"", ",");
    EXPECT_EQ(all(halfQuoted, '"'), (Tokens{"\"a,b\"c", "x\"y\""}));
    VelkTokenizer lone("\",\"", "!");
    EXPECT_EQ(all(lone, '"'), (Tokens{","}));
    VelkTokenizer single("\"", ",");
    EXPECT_EQ(all(single, '"'), (Tokens{""}));
}

TEST(VelkTokenizer, SeparatorsInGivenOrder) {
    VelkTokenizer key("key = value", " = ");
    EXPECT_EQ(all(key), (Tokens{"key", "value"}));
    VelkTokenizer first("a==b", "=", "==");
    EXPECT_EQ(all(first), (Tokens{"a", "", "b"}));
    VelkTokenizer lines("a\r\nb,c", "\r\n", "", ",");
    EXPECT_EQ(all(lines), (Tokens{"a", "b", "c"}));
}

TEST(VelkTokenizer, EmptyFirstSeparatorCannotLoop) {
    VelkTokenizer none("abc", "");
    EXPECT_EQ(all(none), (Tokens{"abc"}));
    VelkTokenizer later("a;b", "", ";");
    EXPECT_EQ(all(later), (Tokens{"a", "b"}));
}

TEST(VelkTokenizer, PushedBackTokensComeFirstInReverse) {
    VelkTokenizer t("a,b", ",");
    EXPECT_EQ(t.nextToken('\0', '\\'), "a");
    t.pushedBack.push_back("\"x\"");
    t.pushedBack.push_back("y");
    EXPECT_EQ(all(t, '"'), (Tokens{"y", "\"x\"", "b"}));
}

TEST(VelkTokenizer, Numbers) {
    VelkTokenizer t("42,-7,0,,1-2,2147483647,-2147483648", ",");
    for (int expected : {42, -7, 0, 0, 1, 2147483647, -2147483647 - 1}) {
        EXPECT_EQ(t.nextNumber(), expected);
    }
    VelkTokenizer bad("4x2", ",");
    try {
        bad.nextNumber();
        FAIL();
    } catch (const VelkError& e) {
        EXPECT_EQ(e.getMessage(), "Error reading string: expected a number, got \"4x2\"");
    }
    VelkTokenizer overflow("2147483648,-2147483649,99999999999999999999", ",");
    for (int i = 0; i < 3; ++i) EXPECT_THROW(overflow.nextNumber(), VelkTokenizer::InvalidNumberError);
}

}  // namespace
