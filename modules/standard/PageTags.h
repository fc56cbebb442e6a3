// The tag grammar of documentation comments: block tags that start a
// comment line ("@param", "@return", "@throws", "@see", ...) and inline tags
// written "{@name text}" anywhere in the text.
//
// Comment text is HTML by design and passes through unchanged apart from
// the replacements made here.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

class CppClassEntity;
class DocClassList;

// The sections a block tag can add to, in the order a block shows them
// whatever the comment's order.
enum class TagSection : std::size_t { param, returns, throws, version, author, since, see, count };

// What the blocks of one comment have given so far.
struct TagBlockState {
    std::string description;
    // The HTML of each section, indexed by TagSection; "" when nothing was
    // given (or the section is switched off).
    std::array<std::string, static_cast<std::size_t>(TagSection::count)> sections;
    std::string deprecation;
    // Set by "@deprecated", with or without a note: an author who marks an
    // entity deprecated and says no more still marks it.
    bool deprecated = false;
    // Set by "@deprecated" and cleared by every other tag: plain blocks that
    // follow a deprecation note belong to it.
    bool afterDeprecated = false;
    // The texts of "@brief", in the order written: they begin the
    // description.
    std::string brief;
    // The block tags of no section, each a paragraph headed by the tag's
    // name ("<P><B>Note:</B> " text), in the order written.
    std::string notes;
};

// The description as shown: the "@brief" texts, then, a paragraph of its
// own when both are there, the text before the first tag.
std::string shownDescription(const TagBlockState& state);

// Where a tag's links lead from, and where source listings lie ("?" when
// there are none).
struct TagContext {
    const DocClassList* classList = nullptr;
    std::string linkPrefix;
    std::string sourceLocation;
};

// The first word of the trimmed text and the rest, trimmed, with one
// trailing "<br>" (any case) removed when the rest is longer than it. The
// whole trimmed text and "" when the text holds no white space.
std::pair<std::string, std::string> splitFirstWord(const std::string& text);
// The same split as views into text. With tagName (the name of an inline
// tag) the word also ends at the first byte other than a letter, digit,
// "-", ".", ":" or "_": the line break inserted after a tag that ends its
// line ("{@code<BR>") begins the rest, as does "(" in "{@code(x)}".
std::pair<std::string_view, std::string_view> splitFirstWordView(std::string_view text,
                                                                 bool tagName = false);

// Appends separator (when the section is not empty) and item.
void appendListItem(std::string& section, const std::string& item, const std::string& separator);

// The text with every inline tag replaced by its output: "link" by a code
// link, "linkplain" by the same link with its label in plain text, "value"
// by the value of the constant it names (codeLink's reference; the
// entity's own when it names none) where the constant's declaration in
// its source initialises it with a literal of at most maxCopiedValue
// characters (each source is read once for all its constants), else by a
// code link to the constant, "docroot" (also "docRoot") by the path from the page to the
// main directory (the link prefix followed by "..", href-escaped),
// "files", "file1" and "file2" by links to the class's source listings
// (the file names alone when no listings exist), "code" by its text
// escaped inside <code>, "literal" by its text escaped; any other inline
// tag by its text. The
// inline tags within a link's label or an unknown tag's text are expanded
// too (up to a nesting of 16). A tag's name ends at the first byte that no
// name holds ("{@code(x)}" is the code tag). Braces inside an inline tag
// pair up; one without its "}" takes the rest of the text. Runs in time
// linear in the text times its nesting.
std::string expandInlineTags(const CppClassEntity& entity, const std::string& text,
                             const TagContext& context);
// Whether expandInlineTags may change the text: it holds "{@".
bool mayHoldInlineTags(std::string_view text);
// expandInlineTags appended to out.
void appendExpandedInlineTags(std::string& out, const CppClassEntity& entity,
                              std::string_view text, const TagContext& context);

// Files one block of a comment: a block starting with "@" is a block tag
// (see the .cpp table), anything else goes to the description, or to the
// deprecation text right after "@deprecated". "@brief" gives the start of
// the description; any other tag of no section keeps its text (trimmed, its
// inline tags expanded) as a paragraph of the notes headed by its name
// (first letter upper-cased, escaped, without a "<BR>" that ends it, and a
// colon); a tag without text adds none. Code blocks are read first (see
// appendCodeBlocks).
void parseTagBlock(const CppClassEntity& entity, std::string_view block,
                   const TagContext& context, TagBlockState& state);

// How a comment line stands to a code block: "@code" (optionally followed
// by a language in braces, "@code{.cpp}") opens one and "@endcode" ends it,
// each the first word of its line.
enum class CodeLine { none, start, end };
CodeLine codeLineKind(std::string_view line);

// The text with each code block (a start line, the lines up to its end
// line, and that line) written as "<pre>" + the lines escaped + "</pre>",
// each line as written (a "<BR>" the reader put after it dropped) and no
// inline tag read in them; what follows "@endcode" on its line follows the
// block. A start line without an end line after it stays as written.
// Appends to out and returns true; returns false, and appends nothing,
// when the text holds no code block.
bool appendCodeBlocks(std::string& out, std::string_view text);
