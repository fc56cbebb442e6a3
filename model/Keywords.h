// Which words are keywords of the documented languages, and which one-
// character tokens the source listings colour as operators and brackets.
#pragma once

#include <string_view>

// True when word is a keyword of every language (any language value, also
// 3 and values outside 0..3), or of language 0 C++, 1 C# or 2 Java. Exact,
// case-sensitive. The tables are built once, on first use, thread-safely.
bool isKeyword(std::string_view word, int language);

// True for exactly one of the characters ! & * + - / : < = > |.
bool isOperatorToken(std::string_view token);

// True for exactly one of the characters ( ) [ ] { }.
bool isSeparatorToken(std::string_view token);
