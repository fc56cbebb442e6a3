// What the parser takes from the rest of the source reader: the
// preprocessed copy of a file and the text of one documentation comment.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "model/CppStream.h"

class DocCommentFormat;
class MacroDefinition;
class PreprocessorDefines;

// Preprocesses the file into a new temporary file and returns its name;
// the caller deletes it. The documented #defines go to defineTable (may be
// null) under the given package. Throws VelkError/VelkFileError when the
// file cannot be read or preprocessed; no file is left behind then.
std::string preprocessToTempFile(const std::string& fileName, const DocCommentFormat& format,
                                 const PreprocessorDefines& defines, const std::string& package,
                                 std::map<std::string, MacroDefinition>* defineTable);


// Preprocesses `source`, the text of fileName, into a new temporary file
// and returns the text read back from it, as preprocessToTempFile and a
// read of its file would; the temporary file is removed before this
// returns, and on every error. The preprocessor's warnings go to
// `warnings` when given.
std::string preprocessThroughTempFile(const std::string& source, const std::string& fileName,
                                      const DocCommentFormat& format,
                                      const PreprocessorDefines& defines, const std::string& package,
                                      std::map<std::string, MacroDefinition>* defineTable,
                                      std::vector<std::string>* warnings = nullptr);

// Reads the rest of a documentation comment whose start string was just
// consumed and returns its text, one entry per line, each followed by
// joiner. Throws VelkFileError "Unexpected end of file on line <n>" when
// the stream ends inside the comment.
std::string collectDocComment(CppStream& in, int* line, const std::string& joiner,
                              const std::string& start, const std::string& middle,
                              const std::string& end);
