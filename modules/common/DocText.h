// Documentation comments are HTML by design, but a few of their constructs
// carry code that must be shown, not read as markup: type parameters named
// by "@param <T>" and the inline tags "{@code ...}" and "{@literal ...}".
// Both output modules show those the same way.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Appends text as written: HTML characters escaped, the line breaks that
// the reader put between comment lines ("<BR>\n") kept as breaks.
void appendLiteralText(std::string& out, std::string_view text);

// The comment for a page that does not read its tags: the text unchanged,
// except that the word after a "@param" that opens a line is escaped (a
// type parameter "<T>" would open an element), "{@code text}" becomes
// "<code>" + text escaped + "</code>" and "{@literal text}" the text
// escaped. Other inline tags stay as written.
std::string documentationText(std::string_view comment);
