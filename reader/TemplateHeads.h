// The template heads of a C++ declaration ("template <class T, int N>",
// "template <>") and which of them a qualified name's template argument
// lists belong to. A list in a qualified name names the class template
// itself when it repeats the parameters of its head ("template <class T>
// void Vec<T>::push"), an explicit specialisation under "template <>" or
// with no head of its own ("int Utf<8>::count", a member of a specialised
// class), and a partial specialisation when it uses its head's parameters
// otherwise ("template <class T> void Foo<T*>::f"). Heads not taken by a
// list are the declaration's own (a member template's).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "reader/ParserDeclarator.h"

struct TemplateHead {
    // The parameters' names in order, "" for one without a name.
    std::vector<std::string> parameters;
    // False when a parameter could not be made out (a macro call in the
    // head): whether a list repeats the parameters is then judged by the
    // list alone.
    bool readable = true;
};

// The head whose "<" is at tokens[open] and whose ">" is at tokens[close].
TemplateHead readTemplateHead(const Tokens& tokens, std::size_t open, std::size_t close);

// The heads in the tokens of a class head's statement ("template" "<" ...
// ">", one after another, perhaps after macro words); those up to the
// first that is not closed.
std::vector<TemplateHead> leadingTemplateHeads(const Tokens& tokens);

// The heads that stand anywhere in tokens[begin, end), as where a macro
// left unexpanded comes before them ("NS_BEGIN template <class T> ...");
// bracketMatch is matchBrackets of the tokens.
std::vector<TemplateHead> templateHeadsWithin(const Tokens& tokens, const std::vector<int>& bracketMatch,
                                              std::size_t begin, std::size_t end);

// Gives each template argument list of a qualified name, first to last,
// the head it belongs to.
class TemplateHeadMatch {
public:
    explicit TemplateHeadMatch(const std::vector<TemplateHead>& heads) : heads(heads) {}

    // Whether the list tokens[open, close] ("<" ... ">") names a
    // specialisation (true: the name keeps it) rather than the class
    // template itself; takes the list's head when it has one.
    bool namesSpecialisation(const Tokens& tokens, std::size_t open, std::size_t close);
    // How many heads the lists have taken, from the first on.
    std::size_t taken() const { return next; }

private:
    const std::vector<TemplateHead>& heads;
    std::size_t next = 0;
};

// The argument list tokens[open, close] as a specialisation's name writes
// it, in the spelling of normalizedTemplateName: "<T*, 0>".
std::string templateArgumentText(const Tokens& tokens, std::size_t open, std::size_t close);

// The parts of the qualifier tokens[qualifierBegin, nameAt) of a name, as
// readQualifier reads them ("A" ":" ":" "B" "<" ... ">" ":" ":"), each
// written with its template argument list where `heads` says the list names
// a specialisation ("B<int>"), and without it where it names the template.
// bracketMatch is matchBrackets of the tokens.
std::vector<std::string> specialisedQualifier(const Tokens& tokens, const std::vector<int>& bracketMatch,
                                              std::size_t qualifierBegin, std::size_t nameAt,
                                              TemplateHeadMatch& heads);
