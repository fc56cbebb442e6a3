// String literals of today's C++, C# and Java whose end is not the next
// unescaped quote: C++ raw strings (R"x(...)x"), C# verbatim (@"..."),
// interpolated ($"...{expr}...", $@"...") and raw ("""...""") strings, and
// Java text blocks ("""<line end>...""").
//
// The preprocessor rewrites each of them into an ordinary literal on one
// line, so that everything after it (line-based directive handling, the
// token reader, the parser) meets only the literals it knows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

struct SpecialLiteral {
    std::size_t begin = 0;         // its prefix ("R", "u8R", "@", "$@", "$$"), else the quote
    std::size_t contentBegin = 0;  // its text, between the delimiters
    std::size_t contentEnd = 0;
    std::size_t end = 0;           // just past its closing delimiter
    bool closed = false;           // false: the text ends inside it (end is text.size())
    bool verbatim = false;         // C# verbatim: "" in the text stands for one quote
};

// Recognises the literal whose opening quote is text[quote] (the prefix is
// looked for before it). True, with `found` filled, for one of the forms
// above; false for an ordinary literal. Holes of interpolated strings may
// hold further literals of any form, nested at most 16 deep.
bool findSpecialLiteral(std::string_view text, std::size_t quote, SpecialLiteral& found);

// Appends the literal's text as an ordinary double-quoted literal on one
// line: quotes and backslashes escaped, a line end written as "\n", a
// carriage return dropped; a verbatim literal's "" becomes one quote first.
void appendPlainLiteral(std::string& out, std::string_view content, bool verbatim);
