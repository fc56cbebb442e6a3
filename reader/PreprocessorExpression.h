// The condition of an #if or #elif line, worked out as a C or C++ compiler
// works it out: "defined NAME" and "defined(NAME)" first, then the macros
// expanded (and the text they give expanded again), names left over read
// as 0 ("true" as 1), and the expression evaluated in 64-bit integers
// with C's rules for signed and unsigned operands, with every operator an
// #if may hold: ! ~ unary - +, * / %, + -, << >>, < <= > >=, == !=, & ^ |,
// && || (the side not evaluated may divide by zero), ?: and parentheses.
// Integer literals may be decimal, hexadecimal, octal or binary with any
// suffix of u, l, ll and z; character literals give their value as a char
// of this platform.
//
// Two rules are the preprocessor's own. A name defined with no value (the
// user's "-dNAME", "__cplusplus" in a Java or C# file) reads as 0 instead of
// vanishing, so "#if NAME" is false and "#if NAME || B" still means B. And
// as the reader never reads the headers a file includes, a call of a macro
// it never saw defined ("LIB_VERSION_AT_LEAST(2, 1)", "__has_include(<x>)")
// reads as 0, arguments and all, as the name alone would.
//
// Hostile text cannot make the work unbounded: the expression and what its
// macros expand to are cut off at a fixed number of tokens and of
// expansions, and nesting (of parentheses, operators and macros) at a fixed
// depth; beyond them the expression counts as malformed.
#pragma once

#include <string>
#include <string_view>

class PreprocessorDefines;

// The value of the condition: true when it is not 0. A malformed
// expression, a division by zero or an expression past the limits gives
// false and, when `error` is given, a short reason in it ("division by
// zero", "missing ')'", ...); on success `error` is left empty.
bool evaluateCondition(std::string_view expression, const PreprocessorDefines& defines,
                       std::string* error = nullptr);
