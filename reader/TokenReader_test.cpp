#include "reader/TokenReader.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "VelkLib/VelkError.h"

namespace {

std::vector<std::string> tokens(const std::string& text, char extra = 0) {
    CppStrStream in(text, "t.cpp");
    std::vector<std::string> out;
    for (std::string t; !(t = readToken(in, nullptr, true, extra)).empty();) out.push_back(t);
    return out;
}

using V = std::vector<std::string>;

std::string errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const VelkFileError& e) {
        return e.message + "|" + e.fileName;
    }
    return "no error";
}

}  // namespace

TEST(TokenReader, IdentifiersNumbersAndPunctuation) {
    EXPECT_EQ(tokens("a_b9 123abc"), (V{"a_b9", "123abc"}));
    EXPECT_EQ(tokens("a.b"), (V{"a", ".", "b"}));
    EXPECT_EQ(tokens("a.b", '.'), (V{"a.b"}));
    EXPECT_EQ(tokens("1.5"), (V{"1", ".", "5"}));
    EXPECT_EQ(tokens("a==b->c"), (V{"a", "=", "=", "b", "-", ">", "c"}));
    EXPECT_EQ(tokens("x-1"), (V{"x", "-1"}));
    EXPECT_EQ(tokens("x - 1"), (V{"x", "-1"}));
    EXPECT_EQ(tokens("- x"), (V{"-", "x"}));
    EXPECT_EQ(tokens("abc"), (V{"abc"}));  // no final newline
}

TEST(TokenReader, OddBytesAreSingleTokens) {
    EXPECT_EQ(tokens(std::string("a\0b", 3)), (V{"a", std::string(1, '\0'), "b"}));
    EXPECT_EQ(tokens("\xc3\xa9x"), (V{"\xc3", "\xa9", "x"}));
}

TEST(TokenReader, WhiteSpaceOnlyCountsLines) {
    CppStrStream in(" \r\n\t\n  \n", "t");
    int line = 1;
    EXPECT_EQ(readToken(in, &line), "");
    EXPECT_EQ(line, 4);
    EXPECT_TRUE(in.eof());
}

TEST(TokenReader, Literals) {
    EXPECT_EQ(tokens(R"("a\"b" x)"), (V{R"("a\"b")", "x"}));
    EXPECT_EQ(tokens(R"('\'' 'a' 'b')"), (V{R"('\'')", "'a'", "'b'"}));
    EXPECT_EQ(tokens("\"ab\"  \n \"cd\";"), (V{"\"abcd\"", ";"}));
    EXPECT_EQ(tokens("\"a/*b\" */"), (V{"\"a/*b\"", "*", "/"}));

    // Without joining (source listing) the blanks reach the second token.
    CppStrStream in("\"ab\"  \"cd\"", "t");
    std::string blanks;
    EXPECT_EQ(readToken(in, nullptr, true, 0, 0, true, &blanks, false), "\"ab\"");
    EXPECT_EQ(readToken(in, nullptr, true, 0, 0, true, &blanks, false), "\"cd\"");
    EXPECT_EQ(blanks, "  ");

    // Quotes off: the quote is a plain token.
    CppStrStream off("'x", "t");
    EXPECT_EQ(readToken(off, nullptr, false), "'");
}

TEST(TokenReader, LiteralLinesAndUnterminatedLiteral) {
    CppStrStream in("\n\"a\nb\" z", "t");
    int line = 1;
    EXPECT_EQ(readToken(in, &line), "\"a\nb\"");
    EXPECT_EQ(line, 3);

    CppStrStream open("x\n\"abc\n\n\n", "f.cpp");
    line = 1;
    readToken(open, &line);
    EXPECT_EQ(errorOf([&] { readToken(open, &line); }),
              "End-of-file while in a quoted string on line 2|f.cpp");
    CppStrStream backslash("\"abc\\", "f.cpp");
    EXPECT_EQ(errorOf([&] { readToken(backslash, nullptr); }),
              "End-of-file while in a quoted string on line 0|f.cpp");
}

TEST(TokenReader, LineStartsWith) {
    EXPECT_TRUE(lineStartsWith("  // x", "//", false));
    EXPECT_FALSE(lineStartsWith("a // x", "//", false));
    EXPECT_TRUE(lineStartsWith("a // x", "//", true));
    EXPECT_FALSE(lineStartsWith("", "//", true));
}

TEST(TokenReader, SkipParenthesized) {
    CppStrStream in("(a (b, c) \")\") d", "t");
    int line = 1;
    EXPECT_EQ(skipParenthesized(in, &line), "d");

    CppStrStream open("(a (b)\n", "g.h");
    line = 1;
    EXPECT_EQ(errorOf([&] { skipParenthesized(open, &line); }),
              "Unexpected end of file while looking for \")\" on line 2|g.h");
}

TEST(TokenReader, SkipToToken) {
    CppStrStream in("a /* ; don't */ { ; } b ; c", "t");
    skipToToken(in, ";", nullptr, "x", "{");
    EXPECT_EQ(readToken(in, nullptr), "c");

    // "*/*" closes the comment and opens nothing; "/*/" stays open.
    CppStrStream close("/*/ ; */* p ; q", "t");
    skipToToken(close, ";", nullptr, "x");
    EXPECT_EQ(readToken(close, nullptr), "q");

    CppStrStream open("\nint x\n\n", "h.cpp");
    int line = 2;
    EXPECT_EQ(errorOf([&] { skipToToken(open, ";", &line, "member"); }),
              "Unexpected end-of-file while parsing member(looking for \";\") on line 2|h.cpp");
}

TEST(TokenReader, SkipBlock) {
    CppStrStream in("a { b } \"}\" } c", "t");
    skipBlock(in, "body", nullptr);
    EXPECT_EQ(readToken(in, nullptr), "c");

    CppStrStream open("{\n{ }\n", "k.cpp");
    int line = 1;
    EXPECT_EQ(errorOf([&] { skipBlock(open, "function body", &line); }),
              "Unexpected end-of-file when parsing function body on line 3|k.cpp");
}
