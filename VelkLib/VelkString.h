// The system's string type and the few string operations shared by all
// subsystems.
#pragma once

#include <string>
#include <utility>

// A standard string with two extra operations; it adds no state, so it
// converts freely to and from std::string.
class VelkString : public std::string {
public:
    using std::string::string;
    VelkString() = default;
    VelkString(const std::string& text) : std::string(text) {}
    VelkString(std::string&& text) : std::string(std::move(text)) {}

    // Replaces, left to right, every occurrence of `search` by
    // `replacement`, in place. Replacements are never rescanned, so "aaa"
    // with "aa" -> "b" gives "ba". An empty `search` matches nothing and
    // leaves the string unchanged.
    void replaceAll(const std::string& search, const std::string& replacement);

    // A copy without leading and trailing white space (blank, tab, line
    // feed, carriage return, vertical tab, form feed). Bytes above 127 are
    // never white space.
    VelkString trim() const;
};

// The number in decimal, with a minus sign when negative.
std::string intToString(int number);

// Whether a text that may be either HTML or a file name is HTML: true when
// it holds '<' or '>'; otherwise, when it holds '$', true exactly when no
// file of that name exists; false otherwise.
bool isHtmlFragment(const std::string& text);

// The one rule for a header, footer or per-item template text, wherever it
// comes from: "" when the pages can take it: "" (the built-in piece), "?"
// (nothing), HTML (isHtmlFragment), or the name of a regular file of at
// most kPageTextLimit bytes that can be opened. Otherwise why not, naming
// the file: "there is no file \"<name>\"; name a text file or give HTML.",
// "\"<name>\" is not a regular file; name a text file or give HTML." (a
// FIFO, a device, a folder), "the file \"<name>\" is larger than 8 MB.",
// or "the file \"<name>\" cannot be read (<the system's reason>).".
std::string pageTextRefusal(const std::string& text);

// The C library's character tests in the "C" locale, defined for every byte:
// bytes above 127 (parts of UTF-8 names) are neither space, digit nor letter.
// Answered without the C library, whose tests are undefined for a negative
// char; the space test is inline, as trimming asks it about every byte.
inline bool isSpaceChar(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isDigitChar(char c);
bool isAlphaChar(char c);
bool isAlnumChar(char c);
