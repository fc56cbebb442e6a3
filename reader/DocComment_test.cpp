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
    EXPECT_EQ(collect("/**\n * a = b * c\n    d = e * f\n */"), "a = b * c<BR>\n   d = e * f<BR>\n");
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
    EXPECT_EQ(collect("/// a\n///\n/// b\n", "///", "///", "///", nullptr, &rest), "a<BR>\nb<BR>\n");
    EXPECT_EQ(rest, "");
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
    bool trails = false;
    bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& o, std::ostream* out) {
    *out << "{\"" << o.text << "\", line " << o.line << (o.eof ? ", end" : "") << (o.trails ? ", trails" : "")
         << ", rest \"" << o.rest << "\"}";
}

Outcome overStream(const std::string& body, const std::string& start, const std::string& middle,
                   const std::string& end) {
    CppStrStream in(body, "m.cpp");
    Outcome o;
    o.line = 1;
    try {
        o.text = readDocComment(in, &o.line, "|", start, middle, end, &o.trails);
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
        o.text = readDocComment(cursor, errors, &o.line, "|", start, middle, end, &o.trails);
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
        "\n * a = b * c\n    d */ tail\nnext", "< x */ int y;", "<b>x</b> */", "*****\n * a  *\n ***/",
    };
    for (const char* body : blockBodies) {
        SCOPED_TRACE(body);
        EXPECT_EQ(overStream(body, "/**", "*", "*/"), overText(body, "/**", "*", "*/"));
        EXPECT_EQ(overStream(body, "/*!", "", "*/"), overText(body, "/*!", "", "*/"));
    }
    const char* lineBodies[] = {
        " first\n  /// second\nint x;\n", " only", " only\n", " a\n///\n/// b\n", "/ a\n\t/// b",
        " a\n   ", " a\n/", "< a\n  ///< b\n /// c\n", "<summary>\n///\n/// x", " a\n/** b */",
        " a\n//",
    };
    for (const char* body : lineBodies) {
        SCOPED_TRACE(body);
        EXPECT_EQ(overStream(body, "///", "///", "///"), overText(body, "///", "///", "///"));
        EXPECT_EQ(overStream(body, "//!", "//!", ""), overText(body, "//!", "//!", ""));
    }
}

// Only the comment's own frame goes: the star that opens a line (after its
// blanks) and the closing "*/". A star the author wrote, for a pointer, a
// product or emphasis, is part of the text wherever it stands.
TEST(DocComment, StarsInTheTextAreKept) {
    EXPECT_EQ(collect("/**\n"
                      " * Scales every cell.\n"
                      "   The result is width * height * depth.\n"
                      " */"),
              "Scales every cell.<BR>\n"
              "  The result is width * height * depth.<BR>\n");
    EXPECT_EQ(collect("/**\n"
                      " * Returns the buffer as a const char*\n"
                      " * Footnotes are marked with a star*\n"
                      " */"),
              "Returns the buffer as a const char*<BR>\n"
              "Footnotes are marked with a star*<BR>\n");
    EXPECT_EQ(collect("/** Gives back a wchar_t* */"), "Gives back a wchar_t*<BR>\n");
    EXPECT_EQ(collect("/** Moves the node** list. */"), "Moves the node** list.<BR>\n");
    EXPECT_EQ(collect("/**\n * **Deprecated:** use grow().\n *\n * Points at *p. */"),
              "**Deprecated:** use grow().<BR>\nPoints at *p.<BR>\n");
    // A Java-style comment without leading stars keeps its first word.
    EXPECT_EQ(collect("/**\n   Multiplies a * b\n   for the caller.\n*/"),
              "  Multiplies a * b<BR>\n  for the caller.<BR>\n");
}

// The drawn parts of a comment are still frame: extra stars after the
// opening, a row of them before the close, and the right edge of a box.
TEST(DocComment, DrawnFramesAreDropped) {
    EXPECT_EQ(collect("/*** Opens the file. **/"), "Opens the file.<BR>\n");
    EXPECT_EQ(collect("/**\n * Closes it.\n ********************/"), "Closes it.<BR>\n");
    EXPECT_EQ(collect("/********************\n"
                      " * Boxed text.      *\n"
                      " * Ends with x*     *\n"
                      " ********************/"),
              "Boxed text.<BR>\nEnds with x*<BR>\n");
}

// A run of "///" lines is one comment, blank "///" lines included; the
// run ends at the first line that is not one of it, which stays in the
// stream, also when that line is a comment of another kind.
TEST(DocComment, ALineRunGoesOnOverBlankLines) {
    std::string rest;
    EXPECT_EQ(collect("/// <summary>Opens the store.</summary>\n"
                      "///\n"
                      "   ///   \n"
                      "/// <remarks>Blocks until the disk answers.</remarks>\n"
                      "public void Open() {}\n",
                      "///", "///", "///", nullptr, &rest),
              "<summary>Opens the store.</summary><BR>\n<remarks>Blocks until the disk answers.</remarks><BR>\n");
    EXPECT_EQ(rest, "public");
    int line = 0;
    EXPECT_EQ(collect("/// Rows.\n/** Cells. */\nint cells();\n", "///", "///", "///", &line, &rest),
              "Rows.<BR>\n");
    EXPECT_EQ(rest, "/");
    EXPECT_EQ(line, 2);
    // The last line of a file needs no line feed.
    EXPECT_EQ(collect("/// a\n///", "///", "///", "///"), "a<BR>\n");
}

namespace {

// As collect, with the reader asked to tell a comment written after its
// declaration.
std::string collectMarked(const std::string& text, bool& trails, const std::string& start = "/**",
                          const std::string& middle = "*", const std::string& end = "*/",
                          std::string* rest = nullptr) {
    CppStrStream in(text, "c.cpp");
    int line = 1;
    for (std::size_t k = 0; k < start.size(); ++k) readToken(in, &line);
    trails = false;
    std::string result = readDocComment(in, &line, "<BR>\n", start, middle, end, &trails);
    if (rest) *rest = readToken(in, &line);
    return result;
}

}  // namespace

// "///<", "/**<" and "//!<" open a comment on what stands before it; the
// "<" is no part of the text, on later lines of the run neither.
TEST(DocComment, ACommentOnWhatCameBeforeIsMarked) {
    bool trails = false;
    EXPECT_EQ(collectMarked("///< Columns the grid spans.\n", trails, "///", "///", "///"),
              "Columns the grid spans.<BR>\n");
    EXPECT_TRUE(trails);
    // Its run goes on over the lines that carry the mark; a plain "///"
    // line after it begins the comment of what follows.
    std::string rest;
    EXPECT_EQ(collectMarked("///<Rows.\n   ///< More rows.\n   /// Next member.\n", trails, "///", "///", "///",
                            &rest),
              "Rows.<BR>\nMore rows.<BR>\n");
    EXPECT_TRUE(trails);
    EXPECT_EQ(rest, "/");
    EXPECT_EQ(collectMarked("/**< Zoom factor, 1 for none. */", trails), "Zoom factor, 1 for none.<BR>\n");
    EXPECT_TRUE(trails);
    EXPECT_EQ(collectMarked("//!< Warm.\n", trails, "//!", "//!", "//!"), "Warm.<BR>\n");
    EXPECT_TRUE(trails);
    // Markup that opens the comment is text.
    EXPECT_EQ(collectMarked("///<summary>A key.</summary>\n", trails, "///", "///", "///"),
              "<summary>A key.</summary><BR>\n");
    EXPECT_FALSE(trails);
    EXPECT_EQ(collectMarked("/**<b>Fast</b> path. */", trails), "<b>Fast</b> path.<BR>\n");
    EXPECT_FALSE(trails);
    EXPECT_EQ(collectMarked("/** Plain. */", trails), "Plain.<BR>\n");
    EXPECT_FALSE(trails);
}
