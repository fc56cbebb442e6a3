// Collection of one documentation comment as text, for the parser, which
// has already read the comment's start string from the stream.
#pragma once

#include <string>

#include "model/CppStream.h"

// Reads the rest of a documentation comment from `in` line by line, strips
// its frame and returns the kept lines, each followed by `joiner`; "" for
// an empty comment. The frame is the start string with more of its last
// character ("/*****"), the middle string where a later line begins (after
// blanks) with more of its last character, one blank after each, the end
// string with a row of stars standing before it ("**/"), and in a comment
// opened by a row of stars (a box) the star that ends each line. A middle
// or end character anywhere else is the author's text ("a * b", "char*").
// Lines that hold nothing else add nothing. One is added to *line (when
// given) for every line read.
//
// A line style (start beginning with "//") is one comment over the run of
// lines that open with its middle or end string, blank ones included, and
// ends before the first line that does not (a comment of another kind
// too); that line is left in the stream. What follows the end string of a
// block comment on its line goes back to the stream (and its line is not
// counted), so "/** x */ int x;" leaves "int x;" to be read.
//
// When `trails` is given, a "<" right after the start string that opens no
// element ("///< The width.", "/**< The width. */", but not
// "///<summary>") marks a comment on the code before it: *trails is set
// (cleared otherwise) and the "<" is not text, nor is one right after the
// middle string of a later line.
//
// Throws VelkFileError "Unexpected end of file on line <n>" (the line where
// the comment began) when the stream ends inside a block comment; a line
// style ends with the stream.
std::string readDocComment(CppStream& in, int* line, const std::string& joiner,
                           const std::string& start, const std::string& middle,
                           const std::string& end, bool* trails = nullptr);

// Text in memory as a CppStream reads it: the characters [next, limit) are
// left, and atEnd is the stream's end state (set once a read found nothing
// left, cleared by a put-back).
struct TextCursor {
    const char* next;
    const char* limit;
    bool atEnd;
};

// The same over text in memory, for a reader that holds its input whole:
// reads from the cursor, which it advances, exactly as readDocComment over
// a CppStream of the same text with nothing put back. `errors` names the
// file in the error thrown.
std::string readDocComment(TextCursor& text, CppStream& errors, int* line, const std::string& joiner,
                           const std::string& start, const std::string& middle,
                           const std::string& end, bool* trails = nullptr);
