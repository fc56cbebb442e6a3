// C++ gives a class template explicit and partial specialisations, each a
// class of its own beside the template: "Utf" (the template), "Utf<8>",
// "Foo<T*>", "Foo<T, 0>". The reader names a specialisation with its
// template arguments, written in one spelling (normalizedTemplateName), so
// that a base, a type or a reference written with the same arguments finds
// it; the template itself is named without them. These operations read and
// write such names; none of them fails.
#pragma once

#include <string>
#include <string_view>

class ClassList;
class CppClass;

// The name with its blanks written as the reader writes a specialisation's
// name: white space becomes one blank where it parts two words, or follows
// ">", ")" or "]" before a word ("vector<int> const&"); a "," is followed by
// one blank; every other blank goes. "Foo< T *,int >" gives "Foo<T*, int>".
// A name in that spelling is returned unchanged.
std::string normalizedTemplateName(std::string_view name);

// The name without any template argument list, at any part: "Utf<8>"
// gives "Utf", "Outer<int>::Inner<T*>" "Outer::Inner". A "<" that opens no
// list closed in the name stays ("operator<").
std::string withoutTemplateArguments(std::string_view name);

// The position of the ">" that closes the template argument list opened by
// the "<" at text[open] (lists, parentheses and brackets inside it paired);
// npos when none closes it.
std::size_t templateArgumentListEnd(std::string_view text, std::size_t open);

// The last part of a C++ class's name without its template arguments, the
// name its constructors bear: "Inner" of "Outer<int>::Inner", "hash" of
// "std::hash<std::string>".
std::string constructorName(std::string_view className);
// The same without a copy where none is needed: a view into className, or
// into storage when template arguments had to be taken out.
std::string_view constructorName(std::string_view className, std::string& storage);

// The name of a C++ class's page (before safePathComponent and ".html"):
// each template argument list is written "-" and its arguments, so that a
// specialisation keeps its page when another is added and no two
// specialisations share one: letters, digits, "_", ":" and "." stay, the
// "," between arguments (with its blank) becomes "-", a blank between two
// words "+", and any other character "~" and its two hexadecimal digits.
// "Utf<8>" gives "Utf-8", "Foo<T, 0>" "Foo-T-0", "Foo<T*>" "Foo-T~2A",
// "Foo<const T&>" "Foo-const+T~26". A name without a list is returned as
// it is.
std::string specialisationPageName(std::string_view name);

// Where the last "::" of the name that stands outside its template argument
// lists begins ("std::hash<std::string>" 3); npos when none does.
std::size_t lastScopeSeparator(std::string_view name);

// The name under which the C++ base `base` of cls goes to a module: as
// written ("Utf<8>") when the list holds a class of that name where a
// module looks for a base (in a scope around cls, or by the name as
// written), else without its template arguments ("Base<T>" as "Base"), as
// a base naming a template, or a class of another library, always went.
std::string sentSpecialisationBase(const ClassList& list, const CppClass& cls, const std::string& base);
