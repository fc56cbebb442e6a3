#include "reader/ParserInput.h"

#include "model/MacroDefinition.h"
#include "reader/DocComment.h"
#include "reader/Preprocessor.h"

std::string preprocessInMemory(const std::string& source, const std::string& fileName,
                               const DocCommentFormat& format, const PreprocessorDefines& defines,
                               const std::string& package,
                               std::map<std::string, MacroDefinition>* defineTable,
                               std::vector<std::string>* warnings, bool* tripleSlashUnread,
                               bool cppSource) {
    Preprocessor preprocessor(format);
    preprocessor.setCppSource(cppSource);
    std::string text = preprocessor.preprocessText(source, defines, fileName, package, defineTable);
    if (warnings != nullptr) *warnings = preprocessor.getWarnings();
    if (tripleSlashUnread != nullptr) *tripleSlashUnread = preprocessor.leftTripleSlashUnread();
    return text;
}

std::string collectDocComment(CppStream& in, int* line, const std::string& joiner,
                              const std::string& start, const std::string& middle,
                              const std::string& end, bool* trails) {
    return readDocComment(in, line, joiner, start, middle, end, trails);
}
