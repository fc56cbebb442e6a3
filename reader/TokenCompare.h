// Token comparisons for the files of the declaration reader, inline: the
// reader tests most tokens against several words, and the library's
// string_view comparison, a template, is called out of line in a file
// whose code has grown past what the compiler inlines.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

namespace {

// Whole-token comparison.
inline bool isToken(const std::string& token, std::string_view word) {
    return token.size() == word.size() && std::memcmp(token.data(), word.data(), word.size()) == 0;
}

// The same for every `token == "word"sv` (and `!=`) of the including
// file, chosen over the library's template.
[[maybe_unused]] inline bool operator==(const std::string& token, std::string_view word) {
    return isToken(token, word);
}

}  // namespace
