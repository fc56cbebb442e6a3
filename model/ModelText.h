// Small text helpers shared by the model records.
#pragma once

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

// The project name used where a run has none.
inline constexpr const char* noProjectName = "_no_project_";

// The part of text after the last occurrence of separator; the whole text
// when the separator does not occur (or is empty).
std::string textAfterLast(const std::string& text, const std::string& separator);

// The part of a path after its last '/' or '\'; the whole text when it has
// neither.
std::string lastPathPart(const std::string& path);

// Index of the first character for which test gives non-zero (zero when
// negate is set); std::string::npos when none qualifies. The test receives
// the character as an unsigned byte value, so classification functions such
// as isdigit are safe on bytes above 127.
size_t findFirstCharWhere(const std::string& text, int (*test)(int), bool negate);

// Every occurrence of from (not empty) in text replaced by to.
std::string replaceAll(std::string text, const std::string& from, const std::string& to);

// A page path made safe as an href: bytes that would end or redirect a URL
// path ("%", "#", "?", blanks, control bytes, quotes, "<", ">") are
// percent-encoded and "&" becomes "&amp;"; so is a ":" before the first
// "/", so the path can never be read as a URL scheme. "/" and "." are kept,
// so relative paths stay relative. Apply to the path only, never to an
// anchor, and never to a URL of the user's own.
std::string hrefEscape(const std::string& path);
// hrefEscape appended to out.
void appendHrefEscaped(std::string& out, std::string_view path);

// The first position at or after from that holds a or b; npos when none
// does. Comment texts are scanned for two characters at once on every page,
// where find_first_of would search its set once for every byte.
std::size_t findEither(std::string_view text, std::size_t from, char a, char b);

// The "}" that ends the documentation comment's inline tag ("{@code ...}")
// whose text starts at from: braces inside it pair up ("{@code if (a) {
// b(); }}"); when they never leave one over for the tag, its first "}" ends
// it. npos when the text holds no "}".
std::size_t inlineTagEnd(std::string_view text, std::size_t from);

// <a href="PAGE#ANCHOR">TEXT</a>, with TEXT wrapped in <TAG>..</TAG> when a
// tag is given and "#ANCHOR" only when an anchor is given. PAGE is
// percent-encoded (hrefEscape) and a double quote in the anchor (which
// comes escaped as element text) becomes "&quot;", so a name from a source
// can never end the attribute; TEXT is written as given (the caller escapes
// it).
std::string makeLink(const std::string& text, const std::string& page,
                     const std::string& tag, const std::string& anchor);

// Lists that cross to a module as one text (a class's file names, the
// project list) separate their fields by "|". A field holding "|" or "\\"
// has a backslash put before each, so a file named "a|b.h" stays one name.
void appendListField(std::string& out, std::string_view field);
std::string escapeListField(std::string_view field);
// The fields of such a text, backslash escapes undone. Each "|" ends a
// field; a text that ends with "|" has no empty field after it.
std::vector<std::string> splitListFields(std::string_view text);
// The same fields handed one at a time to field(std::string_view), in
// order: a view into the text, or, for a field with escapes, into storage
// that holds only during the call.
template <typename Field>
void forEachListField(std::string_view text, Field&& field) {
    std::string unescaped;
    std::size_t start = 0;
    while (start < text.size()) {
        const char* at = text.data() + start;
        const std::size_t rest = text.size() - start;
        const void* bar = std::memchr(at, '|', rest);
        const std::size_t length = bar ? static_cast<const char*>(bar) - at : rest;
        if (std::memchr(at, '\\', length) == nullptr) {
            field(std::string_view(at, length));
            start += length + 1;
            continue;
        }
        unescaped.clear();
        std::size_t i = start;
        for (; i < text.size() && text[i] != '|'; ++i) {
            if (text[i] == '\\' && i + 1 < text.size()) ++i;
            unescaped += text[i];
        }
        field(std::string_view(unescaped));
        start = i + 1;
    }
}

// True when the name is that of a globals record (it contains " globals)").
bool isGlobalsClassName(const std::string& name);
