// Collection of one documentation comment as text, for the parser, which
// has already read the comment's start string from the stream.
#pragma once

#include <string>

#include "model/CppStream.h"

// Reads the rest of a documentation comment from `in` line by line, strips
// its markup (middle and end strings, framing characters) and returns the
// kept lines, each followed by `joiner`; "" for an empty comment. One is
// added to *line (when given) for every line read. A line style (start
// beginning with "//") ends before the first line that does not begin with
// "/" after blanks and tabs; that line is left in the stream. What follows
// the end string of a block comment on its line goes back to the stream
// (and its line is not counted), so "/** x */ int x;" leaves "int x;" to
// be read. Throws
// VelkFileError "Unexpected end of file on line <n>" (the line where the
// comment began) when the stream ends inside a block comment.
std::string readDocComment(CppStream& in, int* line, const std::string& joiner,
                           const std::string& start, const std::string& middle,
                           const std::string& end);

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
                           const std::string& end);
