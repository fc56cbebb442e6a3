// The token layer: cuts the text of a CppStream into the tokens that the
// declaration parser, the #if evaluator and the source lister consume.
//
// The layer keeps no state of its own: the caller owns the line counter and
// passes it on every call. A null line counter counts nothing, and errors
// then report line 0. Comments are not recognised here: they arrive as
// single-character tokens ("/", "*"), which skipToToken tracks.
//
// Characters are classified in the C locale; bytes above 127 (and NUL) are
// neither blanks nor identifier characters, so each is a token of its own.
#pragma once

#include <string>

#include "model/CppStream.h"

// Reads one token. The empty token means the stream has ended.
//  - Identifiers: the longest run of letters, digits, '_' and the extra
//    characters extra1/extra2 (0 names none). "123abc" is one token.
//  - "-" followed (after blanks) by digits becomes one token: "- 12" -> "-12".
//  - With quotedStrings, a literal opened by '"' (or '\'' with singleQuotes)
//    is one token, quotes and escapes kept as written. With joinStrings,
//    adjacent double-quoted literals are joined into one ("ab" "cd" ->
//    "abcd").
//  - Anything else is a single-character token.
// When blankText is given it receives the white space skipped before the
// token. Throws VelkFileError "End-of-file while in a quoted string on line
// <n>" (the line where the literal began) for an unterminated literal.
std::string readToken(CppStream& in, int* line, bool quotedStrings = true,
                      char extra1 = 0, char extra2 = 0, bool singleQuotes = true,
                      std::string* blankText = nullptr, bool joinStrings = true);

// Skips white space, counting newlines into *line. Returns the first
// character that is not white space (taken from the stream), or 0 when the
// stream ended; a NUL byte also gives 0, so test eof() to tell them apart.
// When blankText is given it is set to exactly the white space skipped.
int skipBlanks(CppStream& in, int* line, std::string* blankText = nullptr);

// Throws VelkFileError(message + " on line " + line, in.getFileName()).
[[noreturn]] void raiseTokenError(CppStream& in, const std::string& message, int line);

// With anywhere: true when prefix occurs in line. Without: true when the
// first occurrence of prefix begins at the line's first non-blank character.
bool lineStartsWith(const std::string& line, const std::string& prefix, bool anywhere);

// Drops one token (the opening "("), reads up to the ")" that closes it
// (nested groups counted) and returns the token after that ")". Throws
// "Unexpected end of file while looking for \")\"" at the end of the stream.
std::string skipParenthesized(CppStream& in, int* line);

// Reads tokens up to and including endToken at nesting depth 0 (a non-empty
// openingToken nests) and outside a /* */ comment; literals are not read as
// literals inside a comment, so an apostrophe there opens nothing. Throws
// "Unexpected end-of-file while parsing <description>(looking for \"<end>\")"
// with the line where the skip began.
void skipToToken(CppStream& in, const std::string& endToken, int* line,
                 const std::string& description, const std::string& openingToken = "");

// Called after a "{" was read: reads up to the "}" that closes the block.
// Throws "Unexpected end-of-file when parsing <description>" at the end.
void skipBlock(CppStream& in, const std::string& description, int* line);
