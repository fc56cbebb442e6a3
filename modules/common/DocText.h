// Documentation comments are HTML by design, but a few of their constructs
// carry code that must be shown, not read as markup: type parameters named
// by "@param <T>" and the inline tags "{@code ...}" and "{@literal ...}".
// Both output modules show those the same way, and both read a C# comment's
// XML elements as the tags of a Java comment.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// Appends text as written: HTML characters escaped, the line breaks that
// the reader put between comment lines ("<BR>\n") kept as breaks.
void appendLiteralText(std::string& out, std::string_view text);

// Appends to out what "{@value text}" stands for; text is what follows the
// tag's name, trimmed ("" for a bare "{@value}").
using ValueTagWriter = std::function<void(std::string& out, std::string_view text)>;

// The comment for a page that does not read its tags: the text unchanged,
// except that the word after a "@param" that opens a line is escaped (a
// type parameter "<T>" would open an element), "{@code text}" becomes
// "<code>" + text escaped + "</code>", "{@literal text}" the text escaped
// and, when values is given, "{@value text}" what it writes. Other inline
// tags stay as written. A tag's name ends where names end ("{@code(x)}" is
// the code tag); braces inside a tag pair up, and one without its "}" takes
// the rest. Runs in time linear in the comment, however deep its tags nest.
std::string documentationText(std::string_view comment, const ValueTagWriter& values = nullptr);

// How xmlDocAsTags reads a <see cref="X"/> (or an inner <seealso>): as
// "{@link X}" for pages that write links, or, for pages that show a
// comment's tags as written (and would show the "{@link"), as the words
// the element holds, else "{@code X}" with X's type arguments in angle
// brackets ("Cache<TKey>"); a <seealso> of its own is then "@see {@code X}".
enum class CrefReading { link, code };

// A C# comment with its XML documentation elements read as the tags a Java
// comment writes, so that every page lays it out as it lays out Java's:
// the description is the content of <summary> (so its first sentence is
// the summary), then, each as a paragraph of its own, <remarks>, <value>
// and any text outside the elements, in the order written; then, one to a
// line, "@param x" for <param name="x">, "@param <T>" for
// <typeparam name="T">, "@return" for <returns>, "@throws X" for
// <exception cref="X">, "@see X" for a <seealso cref="X"> of its own, each
// followed by the element's content. Within the texts <c> becomes <code>,
// <code> a <pre> block (its lines kept as written; <code> when written
// within a line), <para> a <p>, a
// <see cref="X"> or inner <seealso> "{@link X}" (with the element's words
// as the label), <paramref>, <typeparamref> and <see langword> "{@code
// name}". A cref loses its kind prefix ("T:") and keeps its type arguments
// in braces ("Cache{TKey}", also when written "Cache&lt;TKey&gt;"); blanks
// stand only within its brackets, and not in an exception's cref. Any
// other element, and one left open, stays as written; a comment without
// these elements comes back unchanged. A line of the author's that begins
// with "@" starts no tag: its "@" is written "&#64;". Runs in time linear in
// the comment; elements nested deeper than a few hundred levels stay as
// written.
std::string xmlDocAsTags(std::string_view comment, CrefReading crefs = CrefReading::link);

// Whether the comments of an entity of the language value are C#'s XML
// documentation (language value 1), which both modules keep as
// xmlDocAsTags reads it.
bool isXmlDocLanguage(int language);
// The comment as both modules keep it: xmlDocAsTags of it for an entity of
// an isXmlDocLanguage, the comment as sent for any other.
std::string receivedComment(std::string_view comment, int language,
                            CrefReading crefs = CrefReading::link);
