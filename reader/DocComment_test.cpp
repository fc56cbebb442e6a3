#include "reader/DocComment.h"

#include <gtest/gtest.h>

#include "VelkLib/VelkError.h"
#include "reader/TokenReader.h"

namespace {

// Reads the start string's tokens as the parser does, then the comment.
std::string collect(const std::string& text, const std::string& start = "/**",
                    const std::string& middle = "*", const std::string& end = "*/",
                    int* lineOut = nullptr, std::string* rest = nullptr) {
    CppStrStream in(text, "c.cpp");
    int line = 1;
    for (std::size_t k = 0; k < start.size(); ++k) readToken(in, &line);
    std::string result = readDocComment(in, &line, "<BR>\n", start, middle, end);
    if (lineOut) *lineOut = line;
    if (rest) *rest = readToken(in, &line);
    return result;
}

}  // namespace

TEST(DocComment, BlockStyle) {
    EXPECT_EQ(collect("/** A\n * B\n */\nint x;"), "A<BR>\nB<BR>\n");
    EXPECT_EQ(collect("/**   one line   */"), "one line<BR>\n");
    EXPECT_EQ(collect("/**\n   no star\n *\n\n */"), "  no star<BR>\n");  // less one blank
    EXPECT_EQ(collect("/**\n * a = b * c\n    d = e * f\n */"), "a = b * c<BR>\nf<BR>\n");
    EXPECT_EQ(collect("/**\n * x\n * last */"), "x<BR>\nlast<BR>\n");
    EXPECT_EQ(collect("/** don't \"open\n */"), "don't \"open<BR>\n");
}

TEST(DocComment, LineStyleLeavesTheNextLine) {
    std::string rest;
    int line = 0;
    EXPECT_EQ(collect("/// first\n  /// second\nint x;\n", "///", "///", "///", &line, &rest),
              "first<BR>\nsecond<BR>\n");
    EXPECT_EQ(rest, "int");
    EXPECT_EQ(line, 3);
    EXPECT_EQ(collect("/// a\n///\n/// b\n", "///", "///", "///", nullptr, &rest), "a<BR>\n");
    EXPECT_EQ(rest, "/");
}

TEST(DocComment, EmptyMiddleAndUnterminated) {
    EXPECT_EQ(collect("/*!\n  text\n */", "/*!", "", "*/"), " text<BR>\n");
    CppStrStream in("/**\n * a\n * b\n", "d.cpp");
    int line = 4;
    for (int k = 0; k < 3; ++k) readToken(in, &line);
    try {
        readDocComment(in, &line, "\n", "/**", "*", "*/");
        FAIL();
    } catch (const VelkFileError& e) {
        EXPECT_EQ(e.message, "Unexpected end of file on line 4");
        EXPECT_EQ(e.fileName, "d.cpp");
    }
}
