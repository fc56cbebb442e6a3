#include "reader/ParserInput.h"

#include "VelkLib/VelkFile.h"
#include "model/MacroDefinition.h"
#include "reader/DocComment.h"
#include "reader/Preprocessor.h"

std::string preprocessToTempFile(const std::string& fileName, const DocCommentFormat& format,
                                 const PreprocessorDefines& defines, const std::string& package,
                                 std::map<std::string, MacroDefinition>* defineTable) {
    VelkInFile source(fileName, true);
    std::map<std::string, MacroDefinition> unused;
    Preprocessor preprocessor(format);
    std::string tempName = Preprocessor::makeTempFileName("");
    try {
        preprocessor.preprocess(source.getStream(), tempName, defines, fileName, package,
                                defineTable ? *defineTable : unused);
    } catch (...) {
        deleteFile(tempName, true);
        throw;
    }
    return tempName;
}

std::string collectDocComment(CppStream& in, int* line, const std::string& joiner,
                              const std::string& start, const std::string& middle,
                              const std::string& end) {
    return readDocComment(in, line, joiner, start, middle, end);
}
