// When two function declarations of one name in one class are one member:
// a declaration inside a class and its definition outside it are one member
// however their parameters are named; overloads, also those that differ only
// in "const" or in their own template parameters, are members of their own.
// The program's model and both output modules decide with these, from the
// texts that cross the module interface, so a page shows what the model holds.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The type part of one parameter text: the default value and the parameter
// name dropped (also a name inside a declarator, "void (*cb)(int)", and one
// before array brackets, "int v[]"), blanks kept only between two words,
// and, with a scope, the scope's own qualifier dropped ("Clock::TimeDiff"
// is "TimeDiff" in the scope "Clock"). A text that is a type alone stays as
// it is. scope: the name of the class that holds the function ("A::B" or
// "A.B"); "" for none. With arraysDecay (C++, where a parameter declared
// as an array is a pointer) the outermost array of the parameter is a
// pointer: "int a[]", "int a[4]" and "int* a" are one type, "int a[][3]"
// is "int (*a)[3]"; "int** p" stays apart from that.
std::string argumentType(std::string_view text, std::string_view scope = {}, bool arraysDecay = false);

// True when both lists have the same length and the texts at each place
// have the same argumentType in the scope.
bool sameArguments(const std::vector<std::string>& a, const std::vector<std::string>& b,
                   std::string_view scope = {}, bool arraysDecay = false);

// One argument list compared with many (a new declaration with the
// namesakes already held): its own types are worked out once, when first
// needed. scope as for sameArguments, the same at every call.
class ArgumentTypes {
public:
    explicit ArgumentTypes(const std::vector<std::string>& list, bool arraysDecay = false)
        : arguments(list), decay(arraysDecay) {}
    // sameArguments(list, other, scope, arraysDecay).
    bool sameAs(const std::vector<std::string>& other, std::string_view scope);

private:
    const std::vector<std::string>& arguments;
    bool decay;
    std::vector<std::string> types;
};

// What sets a function apart from another of the same name and parameter
// types, read from its declaration text: its own template parameters (the
// "template<...>" heads that lead a C++ declaration, the "<T extends Bound>"
// list of a generic Java method, the number of those a C# method names
// after its name, "Get<T>(string key)") and what follows its parameter list
// ("const", "volatile", "&", "&&"). Names of template parameters, default
// template arguments and blanks do not count. "" when there is nothing, and
// for a macro ("#define ...").
std::string overloadMarks(std::string_view declaration, std::string_view name);

// The names that the C++ template heads leading a declaration give their
// parameters, head after head, in order ("template <class T, int N = 3>"
// gives T and N); empty when it has no head, or when a parameter has no
// name.
std::vector<std::string> ownTemplateParameterNames(std::string_view declaration);

// The names of a function's own type parameters, as its declaration
// writes them: those of the C++ template heads that lead it, of the list a
// generic Java method writes before its return type ("<T extends Shape>"),
// or of the list a C# method writes after its name ("Get<T>(string key)").
// Empty when it has none.
std::vector<std::string> ownTypeParameterNames(std::string_view declaration, std::string_view name);

// The texts with every word that is from[i] written as to[i] (both lists
// of one length), all at once: from {T, U} to {U, T} swaps them.
std::vector<std::string> withWordsRenamed(const std::vector<std::string>& texts,
                                          const std::vector<std::string>& from,
                                          const std::vector<std::string>& to);

// True when the word "static" stands among the words written before the
// function's name, its modifiers ("static R();", "static void Reset();"):
// in C# a static constructor is a member of its own beside the instance
// constructor with the same parameters. False for a declaration that does
// not name the function.
bool declaredStatic(std::string_view declaration, std::string_view name);
