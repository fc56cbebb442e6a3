// What the parser takes from the rest of the source reader: the
// preprocessed copy of a file and the text of one documentation comment.
#pragma once

#include <exception>
#include <map>
#include <string>
#include <vector>

#include "model/CppStream.h"
#include "model/MacroDefinition.h"

class DocCommentFormat;
class PreprocessorDefines;

// A source file read and preprocessed before its parse, possibly on
// another thread (CppFile::preprocessAhead).
struct PreprocessedSource {
    // False for a file marked not to be documented (nothing else is set).
    bool documented = false;
    std::string text;  // the preprocessed text
    // The file's #define records, those met before an error included.
    std::map<std::string, MacroDefinition> defines;
    // The preprocessor's warnings (a macro whose expansion was cut short).
    std::vector<std::string> warnings;
    // "///" comments before declarations were left unread
    // (Preprocessor::leftTripleSlashUnread).
    bool tripleSlashUnread = false;
    // What reading or preprocessing threw, for the parse to throw.
    std::exception_ptr error;
};

// Preprocesses `source`, the text of fileName, and returns the text the
// parser reads. The text stays in memory: a run needs no temporary
// directory, leaves nothing behind when it is killed, and files preprocessed
// at once on several threads do not meet in one directory. The documented
// #defines go to defineTable under the given package (null: they are not
// recorded, and their comments not looked at), the
// preprocessor's warnings to `warnings` when given, and whether "///"
// comments were left unread to `tripleSlashUnread` when given. cppSource:
// the file is C++ (Preprocessor::setCppSource). Throws VelkError when the
// text cannot be preprocessed.
std::string preprocessInMemory(const std::string& source, const std::string& fileName,
                               const DocCommentFormat& format, const PreprocessorDefines& defines,
                               const std::string& package,
                               std::map<std::string, MacroDefinition>* defineTable,
                               std::vector<std::string>* warnings = nullptr,
                               bool* tripleSlashUnread = nullptr, bool cppSource = true);

// Reads the rest of a documentation comment whose start string was just
// consumed and returns its text, one entry per line, each followed by
// joiner; *trails (when given) tells a comment on the code before it, as
// readDocComment does. Throws VelkFileError "Unexpected end of file on
// line <n>" when the stream ends inside a block comment.
std::string collectDocComment(CppStream& in, int* line, const std::string& joiner,
                              const std::string& start, const std::string& middle,
                              const std::string& end, bool* trails = nullptr);
