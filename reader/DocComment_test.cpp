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
    // A no-break space after the start is the blank before the text.
    EXPECT_EQ(collect("///\xC2\xA0" "first words\nint x;\n", "///", "///", "///"), "first words<BR>\n");
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

namespace {

// What a read leaves behind: the text or error, the line count, the end
// state and the characters not read.
struct Outcome {
    std::string text;
    int line = 0;
    bool eof = false;
    std::string rest;
    bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& o, std::ostream* out) {
    *out << "{\"" << o.text << "\", line " << o.line << (o.eof ? ", end" : "") << ", rest \"" << o.rest
         << "\"}";
}

Outcome overStream(const std::string& body, const std::string& start, const std::string& middle,
                   const std::string& end) {
    CppStrStream in(body, "m.cpp");
    Outcome o;
    o.line = 1;
    try {
        o.text = readDocComment(in, &o.line, "|", start, middle, end);
    } catch (const VelkFileError& e) {
        o.text = "error: " + e.message;
    }
    o.eof = in.eof();
    for (int c; (c = in.get()) != std::char_traits<char>::eof();) o.rest.push_back(static_cast<char>(c));
    return o;
}

Outcome overText(const std::string& body, const std::string& start, const std::string& middle,
                 const std::string& end) {
    CppStrStream errors("", "m.cpp");
    TextCursor cursor{body.data(), body.data() + body.size(), false};
    Outcome o;
    o.line = 1;
    try {
        o.text = readDocComment(cursor, errors, &o.line, "|", start, middle, end);
    } catch (const VelkFileError& e) {
        o.text = "error: " + e.message;
    }
    o.eof = cursor.atEnd;
    o.rest.assign(cursor.next, cursor.limit);
    return o;
}

}  // namespace

// The reader that works on text in memory must leave everything exactly as
// the stream reader does, at the edges above all: the end of the text with
// and without a line feed, a line style that stops
// before the next line, an empty comment, an unterminated one.
TEST(DocComment, TextInMemoryReadsAsTheStream) {
    const char* blockBodies[] = {
        "* A\n * B\n */\nint x;", "*/", "**/ rest", " one */", " one */\n", " no end\n * x",
        " no end\n", "", "\n\n", " a */", "\n * last */",
        "\n * a = b * c\n    d */ tail\nnext",
    };
    for (const char* body : blockBodies) {
        SCOPED_TRACE(body);
        EXPECT_EQ(overStream(body, "/**", "*", "*/"), overText(body, "/**", "*", "*/"));
        EXPECT_EQ(overStream(body, "/*!", "", "*/"), overText(body, "/*!", "", "*/"));
    }
    const char* lineBodies[] = {
        " first\n  /// second\nint x;\n", " only", " only\n", " a\n///\n/// b\n", "/ a\n\t/// b",
        " a\n   ", " a\n/",
    };
    for (const char* body : lineBodies) {
        SCOPED_TRACE(body);
        EXPECT_EQ(overStream(body, "///", "///", "///"), overText(body, "///", "///", "///"));
        EXPECT_EQ(overStream(body, "//!", "//!", ""), overText(body, "//!", "//!", ""));
    }
}
