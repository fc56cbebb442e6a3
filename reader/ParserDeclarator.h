// Reading one declaration statement, held as its list of tokens: where the
// brackets pair up, which parenthesis group is the parameter list, which
// word is the declared name, and how tokens are written back as text.
//
// Every operation is total and linear in the number of tokens: unpaired
// brackets are treated as plain tokens, never searched for again, so a
// statement of any shape is read in one or two passes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

using Tokens = std::vector<std::string>;

// True for a token that can be a name: it begins with an ASCII letter, "_"
// or (Java and C#) a whole letter beyond ASCII, or it is a C# name written
// after "@" ("@class"); numbers and literals cannot.
bool isNameToken(const std::string& token);

// True for a word made only of capitals, digits and "_" (not empty): how
// macros are named, so an export, calling or attribute macro such as
// DLL_API that stands next to the name it qualifies.
bool isMacroLikeWord(const std::string& word);

// True for a word that qualifies a declaration without being its type or
// its name ("virtual", "static", "const", "typename", ...).
bool isSpecifierWord(const std::string& word);

// True for a name, number or literal: the tokens between which the
// declaration text puts a blank.
bool isWordLikeToken(const std::string& token);

// Joins tokens[begin, end) into declaration text: a blank between two
// word-like tokens, after a "," and around "=", and before a word that
// follows ">", "*", "&", ")" or "]"; nothing elsewhere. So the tokens of
// "const std :: map < int , int > & m" read "const std::map<int, int>& m".
std::string joinTokens(const Tokens& tokens, std::size_t begin, std::size_t end);
std::string joinTokens(const Tokens& tokens);
// Appends joinTokens(tokens, begin, end) to text.
void appendJoinedTokens(std::string& text, const Tokens& tokens, std::size_t begin, std::size_t end);
// Appends the join of all tokens but those of [from, to), as joinTokens
// writes the tokens left when that range is taken out.
void appendJoinedTokensWithout(std::string& text, const Tokens& tokens, std::size_t from,
                               std::size_t to);

// Folds every "operator" and the tokens that spell its operator into one
// token: "operator" "=" "=" becomes "operator==", "operator" "(" ")"
// becomes "operator()", "operator" "new" "[" "]" becomes "operator new[]",
// "operator" "const" "char" "*" becomes "operator const char*". An
// "operator" followed by nothing it can take stays as it is.
void mergeOperatorNames(Tokens& tokens);

// For each token, the index of the bracket that pairs with it, or -1.
// "(" ")", "[" "]", "{" "}" and "<" ">" pair up as nested stacks; a ">"
// right after "-" is an arrow and never closes anything, and a closer with
// no opener of its kind waiting stays unpaired. A "<" pairs with the
// nearest ">" that closes it, so a lone "<" (a comparison) is left
// unpaired only when no ">" follows; callers look at "<" groups only in
// declaration parts, before any initialiser.
std::vector<int> matchBrackets(const Tokens& tokens);
// The same into `match`, with `stack` as working room: both keep their
// storage from one statement to the next.
void matchBrackets(const Tokens& tokens, std::vector<int>& match, std::vector<std::size_t>& stack);

// The index of the first "=" at bracket depth 0 in tokens[0, end), or end
// when there is none. Operator names are single tokens by now
// (mergeOperatorNames), so "operator=" never counts.
std::size_t findTopLevelEquals(const Tokens& tokens, const std::vector<int>& match,
                               std::size_t end);

// The parameter list of a function declaration in tokens[0, end): the last
// parenthesis group at depth 0 that is not a throw(...) exception list or
// another trailing group ("throw", "noexcept", "decltype", attributes, a
// C# "new()" constraint, a macro-like word's call right after a ")"; in
// Java and C# only those words that are keywords of the language, 1 or 2
// as model/Keywords.h numbers them, 0 for C++), preceded (past any
// template arguments) by a name. Sets open/close to the group's "(" and ")" and nameIndex to the
// name; returns false when the statement declares no function.
struct ParameterList {
    std::size_t open = 0;
    std::size_t close = 0;
    std::size_t nameIndex = 0;
};
bool findParameterList(const Tokens& tokens, const std::vector<int>& match, std::size_t end,
                       int language, ParameterList& result);

// The parameters of the group tokens[open, close] (both brackets
// included), split at its top-level "," and written with joinTokens. An
// empty group gives no parameter.
std::vector<std::string> splitParameters(const Tokens& tokens, const std::vector<int>& match,
                                         std::size_t open, std::size_t close);

// The qualifier before the name at nameIndex: the words joined by "::"
// that precede it ("A" ":" ":" "B" ":" ":" f gives the parts A and B;
// template arguments of a part are dropped). Returns the parts in order
// and sets qualifierBegin to the index of the first qualifier token
// (nameIndex when there is none).
std::vector<std::string> readQualifier(const Tokens& tokens, const std::vector<int>& match,
                                       std::size_t nameIndex, std::size_t& qualifierBegin);
