// The macro definitions the preprocessor works with: the user's defines
// (kept as one text in the settings) plus every #define met in a file.
//
// Definitions keep the order in which they were added; a name may occur
// more than once and every lookup takes its first occurrence. Lookups are
// linear: define sets hold a few dozen entries.
#pragma once

#include <bitset>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "reader/MacroBody.h"

class BlockReader;

class PreprocessorDefines {
public:
    PreprocessorDefines() = default;
    // Reads the text form: entries separated by "\r\n" (a lone "\n" is
    // accepted too; a backslash escapes the separator), empty entries
    // skipped; each entry is NAME[=BODY] split at its first unescaped "=",
    // blanks and tabs removed from the name part. Each pair goes to
    // addDefinition. Never fails: malformed entries are taken as they stand.
    explicit PreprocessorDefines(const std::string& text);

    // A name without a value (no pieces, no parameters).
    void addName(const std::string& name);
    // A macro without parameters whose body is the text.
    void addDefine(const std::string& name, const std::string& body);
    // A macro with parameters; the body is split at their whole-word uses.
    void addMacro(const std::string& name, const std::vector<std::string>& parameters,
                  const std::string& body);
    // "NAME(a,b)" (a "(" and a final ")") gives addMacro with the
    // parameters split at ","; anything else gives addDefine.
    void addDefinition(const std::string& namePart, const std::string& body);

    bool isDefined(const std::string& name) const;
    // The body of the first definition as text; "" when not defined.
    std::string valueOf(const std::string& name) const;
    // The body of the first definition of the name; null when not defined.
    // Valid until the defines change.
    const MacroBody* bodyOf(const std::string& name) const;
    // Removes the first definition of the name, if any.
    void undefine(const std::string& name);

    // Replaces every whole-word use of a defined name in `line` (one pass;
    // the replacement text is not scanned again). A macro with parameters
    // is only a call when "(" follows; its argument list may run on over
    // the next lines of `reader`: each line so joined adds an empty line to
    // `output` and one to `lineCounter`. Returns true when anything was
    // replaced. Throws VelkError "End-of-file in macro argument list (line
    // <n>)" when the input ends inside an argument list.
    //
    // With a limit, a use whose replacement would make the line longer than
    // limit->maxLength is not replaced: it and the rest of the line stay as
    // written and limit->stoppedAt names the macro (expansion of a macro
    // used thousands of times in another could otherwise grow without end).
    //
    // Names inside the spans of asWritten (start, end; in order, not
    // overlapping: the line's comments) are copied as they stand.
    struct Limit {
        std::size_t maxLength;
        std::string stoppedAt;  // set when expansion stopped
    };
    using TextSpans = std::vector<std::pair<std::size_t, std::size_t>>;
    bool expandLine(std::string& line, BlockReader& reader, std::string& output,
                    int& lineCounter, Limit* limit = nullptr,
                    const TextSpans* asWritten = nullptr) const;
    // True when a defined name stands in the line as a whole word outside
    // the spans of asWritten; false when expandLine would leave the line
    // as it is (and return false).
    bool mayExpand(std::string_view line, const TextSpans* asWritten = nullptr) const;

    // The text form: for each definition lead + quote + name, then (when it
    // has parameters or a non-empty body) parameterText + equals + bodyText,
    // then quote + separator. Empty equals/separator mean "=" and "\r\n".
    std::string toText(const std::string& equals = "", const std::string& separator = "",
                       const std::string& lead = "", const std::string& quote = "") const;

    std::size_t size() const { return names.size(); }

private:
    // Index of the first definition of the name, or -1.
    long find(const std::string& name) const;
    // Index of the first definition whose name stands at line[pos] as a
    // whole word outside the spans of asWritten, or -1.
    long nameAt(std::string_view line, std::size_t pos, const TextSpans* asWritten) const;
    void add(const std::string& name, MacroBody body);

    std::vector<std::string> names;
    std::vector<MacroBody> bodies;
    // The first characters of the names: expansion looks at a position only
    // when a name can start there, so most of a line costs one test per
    // character whatever the number of definitions.
    std::bitset<256> firstChars;
    // The same characters, each once: when they are few, a line is
    // searched for them a character at a time with memchr.
    std::string firstList;
    void noteFirstChar(char c);
};
