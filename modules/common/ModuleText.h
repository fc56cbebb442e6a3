// Small text services shared by the page frames, the records and the page
// writers of both output modules.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class CppClass;
class InputRoots;

// The HTML to include for a header, footer or similar setting: the text
// itself when it is an HTML fragment (isHtmlFragment), otherwise the whole
// content of the file it names, line breaks included ("\r\n" read as
// "\n"). Throws the VelkFileError of readWholeFile when the file cannot be
// read, is no regular file or holds more than kPageTextLimit bytes.
std::string copyTextFileIntoPage(const std::string& text);

// The text of a file found by its name beside the inputs (a project's
// summary, the overview), laid out as readTextFile lays it out; "" when
// nothing stands at the name. A file that readFileFoundBeside refuses (a
// link leading outside roots, a FIFO or device, a file over
// kPageTextLimit) gives "" too, and warning receives a text naming it;
// otherwise warning is left empty.
std::string readFoundTextFile(const std::string& path, const InputRoots& roots,
                              std::string& warning);

// The whole content of a text file, each line followed by "\r\n". An empty
// path, a path naming nothing, and a file that cannot be opened or read
// give what was read so far (often ""); it never throws.
std::string readTextFile(const std::string& path);

// "(" + project + " " + " globals)" for a real project, "( globals)" for
// "" and noProjectName: the name of the project's globals record.
std::string globalsLinkLabel(const std::string& projectName);

// The language value of a language text: "cpp" 0, "csharp" 1, "java" 2,
// anything else 3 (exact, case-sensitive).
int languageFromText(const std::string& text);

// True when word is a keyword of the class's language.
bool isKeyword(const CppClass& cls, const std::string& word);

// The last n characters; "" for an empty text. Throws std::out_of_range
// when n exceeds the length of a non-empty text.
std::string rightChars(const std::string& text, size_t n);
// The first n characters (the whole text when shorter).
std::string leftChars(const std::string& text, size_t n);
// Up to n characters from start. Throws std::out_of_range when start lies
// beyond the end.
std::string substring(const std::string& text, size_t start, size_t n);
// The part after the last occurrence of separator; the whole text when it
// does not occur.
std::string afterLast(const std::string& text, const std::string& separator);
// A copy with 'A'..'Z' lower-cased; every other byte unchanged.
std::string toLowerCase(const std::string& text);
// A copy without leading and trailing white space.
std::string trim(const std::string& text);
// The same cut as trim, as a view into text.
std::string_view trimmedView(std::string_view text);

// The position of the last a or b in text, npos when neither occurs: what
// find_last_of with the two gives, in one backward pass (find_last_of
// searches its set again for every character).
std::size_t findLastOfEither(std::string_view text, char a, char b);

// The position of the first of the four characters in text at or after
// from, npos when none occurs there.
std::size_t findFirstOfFour(std::string_view text, std::size_t from, char a, char b, char c, char d);

// Position of the first c at or after start that stands outside double
// quotes, outside single quotes (only tested when singleQuotes is set; an
// apostrophe between two letters or digits is then no quote, nor, outside a
// quote, one after a letter or digit that a blank or the end follows),
// outside (), [] and {} nesting and, when angles is set, outside <>
// nesting. std::string::npos when there is none or start is at or past the
// end. Brackets count inside quotes too; a closing bracket never takes a
// depth below zero.
size_t findOutsideQuotes(std::string_view text, char c, size_t start, bool singleQuotes,
                         bool angles);

// Code text made safe to show in a page or an attribute value: "&", "<",
// ">" and '"' become entities; everything else is unchanged.
std::string escapeHtml(const std::string& text);
// escapeHtml appended to out.
void appendEscapedHtml(std::string& out, std::string_view text);

// Whether a character reference ("&lt;", "&nbsp;", "&#160;") begins at
// text[at]: "&", one to seven letters, digits or "#", and ";". When it
// does, end is the index of its ";".
bool characterReferenceAt(std::string_view text, std::size_t at, std::size_t& end);

// A growable, always zero-terminated character buffer that texts are
// appended to. Appending is amortised constant time per character.
class TextBuffer {
public:
    explicit TextBuffer(size_t initialCapacity = 256) { text.reserve(initialCapacity); }
    void append(const std::string& more) { text += more; }
    void append(char c) { text += c; }
    const char* data() const { return text.c_str(); }
    size_t size() const { return text.size(); }
    const std::string& str() const { return text; }
    void clear() { text.clear(); }

private:
    std::string text;
};
