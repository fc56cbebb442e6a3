// The C++ preprocessor that runs before a file is parsed: it writes a
// temporary file that the parser reads instead of the source.
//
// Ordinary comments are removed and documentation comments kept; the
// exclusion markers "VANTRY_BEGIN_EXCLUDE" / "VANTRY_END_EXCLUDE" (inside
// an ordinary block comment) blank the lines between them; continued lines
// are joined; #if/#ifdef/#ifndef/#elif/#else/#endif are applied with the
// user's defines plus "__cplusplus" (see setCppSource); the lines of a group
// left out are not read, only the directives among them and the comments
// that could hide one (as a compiler reads them, a quote there ends with its
// line); #defines are collected (and recorded,
// with the documentation comment above them, for the documentation of
// macros); macros are expanded in the code of active lines, never in
// comments; every other directive is blanked. No file is ever included.
// The output has exactly one line per input line, so the parser's line
// numbers are those of the source.
#pragma once

#include <istream>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "model/MacroDefinition.h"
#include "reader/DocCommentFormat.h"
#include "reader/PreprocessorDefines.h"

class Preprocessor {
public:
    // Recognises documentation comments of the default format.
    Preprocessor();
    explicit Preprocessor(const DocCommentFormat& format);

    // Which comments are kept as documentation comments: a start string's
    // second character ('*' block style, '/' line style) and third
    // character, with the middle and end strings. An empty secondary style
    // matches nothing.
    void setCommentFormat(const DocCommentFormat& format);

    // Whether the file is C++ (true unless set): there "__cplusplus" reads
    // as 201703L, so that a header is documented on its C++17 branch; in a
    // Java or C# file it is defined with no value, so "#ifdef __cplusplus"
    // holds in every file and "#if __cplusplus" in C++ only. A definition
    // of the user's ("-d__cplusplus=...") stands instead.
    void setCppSource(bool cpp) { cppSource = cpp; }

    // Preprocesses `input` (read to its end) into the file `outputFileName`
    // (created or truncated). `defines` is copied; the file's #defines go
    // to the copy. Every #define met, active or not, is recorded in
    // `documentedDefines` under its name with `fileName` and `packageName`
    // (a later one replaces an earlier one) and the documentation comment
    // above it or on its line, any tag of which that could run script shown
    // as text (a warning names the comment's line). That comment documents
    // the macro only: it is left out of the output, its lines kept empty.
    // A condition that cannot be evaluated is false, with a warning. A
    // literal that its line does not close ends with the line, with a
    // warning naming the line when its group is read. Throws
    // VelkError "Preprocessor: <text> on line <n>", "End-of-file in macro
    // argument list (line <n>)" or a VelkFileError of the output file; on
    // every error the output file is removed.
    void preprocess(std::istream& input, const std::string& outputFileName,
                    const PreprocessorDefines& defines, const std::string& fileName,
                    const std::string& packageName,
                    std::map<std::string, MacroDefinition>& documentedDefines);

    // The same for a source text already in memory: returns the output
    // text instead of writing a file. Throws the same errors, less those of
    // the output file.
    std::string preprocessText(const std::string& source, const PreprocessorDefines& defines,
                               const std::string& fileName, const std::string& packageName,
                               std::map<std::string, MacroDefinition>& documentedDefines);
    // The same; with documentedDefines null the #defines are not recorded
    // (and their comments not looked at).
    std::string preprocessText(const std::string& source, const PreprocessorDefines& defines,
                               const std::string& fileName, const std::string& packageName,
                               std::map<std::string, MacroDefinition>* documentedDefines);

    // Creates a new, empty temporary file (exclusively, mode 0600) in $TEMP,
    // else $TMP, else $TMPDIR, else "/tmp", whose name begins with
    // prefix + "." + local time "%m%d%y%H%M%S" + "." + thread number + ".";
    // an empty prefix becomes "pp" + a per-process counter. Returns its full
    // name; the caller removes the file. Throws VelkError with the system
    // error when no file can be created.
    static std::string makeTempFileName(const std::string& prefix);

    // True when the token, less one leading "#", is a directive word
    // ("define", "if", "include", "region", ...).
    static bool isPreprocessorLine(const std::string& token);

    // True for the directive words whose text is free text, not tokens, so
    // that a quote in it that its line does not close is an ordinary
    // character ("#error can't"): "error", "warning", "pragma", "line",
    // "ident", "region", "endregion".
    static bool isFreeTextDirective(std::string_view word);

    // The condition of an #if or #elif: the expression evaluated as a C or
    // C++ compiler evaluates it, a name defined with no value reading as 0
    // (see evaluateCondition). False for a malformed expression or a
    // division by zero, with the reason in `error` when given (left empty
    // on success).
    static bool evaluateIf(const std::string& expression, const PreprocessorDefines& defines,
                           std::string* error = nullptr);

    struct CommentView {
        char second = 0;
        char third = 0;
        std::string middle;
        std::string end;
    };

    // The warnings of the last preprocessing (a macro whose expansion was
    // stopped at the limit, named once per file; a condition taken as false
    // because it could not be evaluated, with its line; a literal left open
    // at the end of its line); the file was still preprocessed whole.
    const std::vector<std::string>& getWarnings() const { return warnings; }

    // True when the last preprocessing met, in a group it read, a "///"
    // comment that the comment format does not take as documentation: a
    // trailing member comment "///<", or one on a line of its own, the last of its run, right before a line that
    // begins a declaration (with a name that begins no statement, an
    // attribute "[" or "@", or "~"). A banner of slashes ("////////") or a
    // heading followed by a blank line is none.
    bool leftTripleSlashUnread() const { return tripleSlashUnread; }

private:
    CommentView views[2];
    std::vector<std::string> warnings;
    bool cppSource = true;
    bool tripleSlashUnread = false;
};
