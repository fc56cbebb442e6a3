// Source-listing pages: one HTML page per parsed source file and package,
// holding the whole file as preformatted text, optionally syntax-coloured,
// so that class pages can link to the code.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "model/CppStream.h"
#include "run/SyntaxColorSettings.h"

// The widest tab a listing expands: a tab size asked for beyond it would
// only make pages of blanks (a huge size, a page of gigabytes).
inline constexpr int kMaxTabSize = 64;

class InputRoots;
class StagedFiles;

struct SourceListingOptions {
    bool syntaxColor = true;
    SyntaxColorSettings colors;
    int tabSize = 4;   // below 1 counts as 1, above kMaxTabSize as kMaxTabSize
    int language = 0;  // 0 C++, 1 C#, 2 Java: which keywords are coloured
    // When given, the source read must lie inside these (readWholeFile).
    const InputRoots* roots = nullptr;
    // When given, pages wait under temporary names until it moves them in,
    // and the folders made for them are recorded there.
    StagedFiles* staged = nullptr;
};

// Where the page of a source file lands: the detail directory when it is
// absolute, else outputDirectory + "/" + detailDirectory; then "/" + the
// package (made one safe path component, safePathComponent) unless the
// package is empty; then "/" + pageName, or, when that is empty, the file's
// name + ".html" (shortened by fitFileName).
std::string sourceListingPath(const std::string& sourceFile, const std::string& packageName,
                              const std::string& outputDirectory,
                              const std::string& detailDirectory, const std::string& pageName = "");

// Writes the page of the source file for the package (sourceListingPath),
// creating its directory with all missing parents when the page cannot be
// opened without them. Returns the page's path.
// Throws VelkFileError when the source cannot be read or the page cannot be
// written, VelkError when the directory cannot be created, and the token
// layer's VelkFileError for a raw or verbatim literal left open at the end
// of the file.
std::string writeSourceListing(const std::string& sourceFile, const std::string& packageName,
                               const std::string& outputDirectory,
                               const std::string& detailDirectory,
                               const SourceListingOptions& options);

// Writes the listing pages of one run, as writeSourceListing does. Between
// pages it remembers the colour of each word it has classified, per
// language, so that a word is classified once per run rather than once per
// file; a page with other user keywords than the page before forgets it
// all. Used by one thread at a time; hold one for the run.
class SourceListingWriter {
public:
    SourceListingWriter();
    ~SourceListingWriter();
    SourceListingWriter(const SourceListingWriter&) = delete;
    SourceListingWriter& operator=(const SourceListingWriter&) = delete;

    // warning, when given, is set to the text that tells of a line too long
    // to colour whole (only its first 10000 tokens are), or "". pageName, when
    // not empty, names the page (sourceListingPath).
    std::string write(const std::string& sourceFile, const std::string& packageName,
                      const std::string& outputDirectory, const std::string& detailDirectory,
                      const SourceListingOptions& options, std::string* warning = nullptr,
                      const std::string& pageName = "");

private:
    struct Memory;
    std::unique_ptr<Memory> memory;
};

// Appends the page's body (not the surrounding HTML) for `text` to `out`. "<",
// ">" and "&" become "&#60;", "&#62;" and "&amp;", so that a browser shows the
// source as written ("&lt;" in it as "&lt;", not "<"); tabs become blanks up
// to the next tab stop; every other character is written as it stands. The
// text is cut into tokens as the token layer cuts it (readToken without joined
// literals) and coloured by those tokens, but the literals that the
// preprocessor reads by their own rules (C++ raw strings, C# verbatim,
// interpolated and raw strings, Java text blocks: findSpecialLiteral) are one
// literal each, a number's digit separators (1'000) are part of it, and the
// blanks the token layer drops after a "-" are written as they stand ("- 12"
// is coloured as the number "-12" and listed as "- 12"), so the listing keeps
// the source's lines. On an #error, #warning, #pragma, #line, #ident,
// #region or #endregion line a quote that the line does not close opens no
// literal ("#error can't");
// on any other line such a literal ends with its line, as the reader takes
// it. Throws VelkFileError "End-of-file while in a quoted string on line
// <n>" naming fileName for a special literal left open at the end, n being
// the line where it opens (the text's first line is 1), with the body up to
// that literal already appended.
void renderSourceListing(std::string_view text, const std::string& fileName, std::string& out,
                         const SourceListingOptions& options);

// The same for the rest of the text of `in` (read to its end), written to
// `out`; the error names in.getFileName().
void renderSourceListing(CppStream& in, std::ostream& out, const SourceListingOptions& options);

// The listing's number test: decimal digits with "-" and ".", or "0x"/"0X"
// and hexadecimal digits (with "-" and "."); at least one digit unless
// hexadecimal. "1.5" and "0xFF" are numbers; "10L", "1e5" and "." are not.
bool isListingNumber(const std::string& token);
