#include "reader/ParserInput.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "VelkLib/VelkError.h"
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

std::string preprocessThroughTempFile(const std::string& source, const std::string& fileName,
                                      const DocCommentFormat& format,
                                      const PreprocessorDefines& defines, const std::string& package,
                                      std::map<std::string, MacroDefinition>* defineTable,
                                      std::vector<std::string>* warnings) {
    std::map<std::string, MacroDefinition> unused;
    Preprocessor preprocessor(format);
    std::string tempName;
    FileDescriptor temp(Preprocessor::openTempFile("", tempName));
    try {
        std::string text = preprocessor.preprocessText(source, defines, fileName, package,
                                                       defineTable ? *defineTable : unused);
        if (warnings != nullptr) *warnings = preprocessor.getWarnings();
        // The whole output in one write, read back through the same
        // descriptor: the file is never opened a second time.
        if (!writeAll(temp.get(), text.data(), text.size()))
            throw VelkEnvironmentError("Could not write the temporary file " + tempName, errno);
        const std::size_t size = text.size();
        std::size_t got = 0;
        while (got < size) {
            ssize_t n = ::pread(temp.get(), text.data() + got, size - got, static_cast<off_t>(got));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) throw VelkFileError("Could not read the file", tempName);
            if (n == 0) break;
            got += static_cast<std::size_t>(n);
        }
        text.resize(got);
        deleteFile(tempName, true);
        return text;
    } catch (...) {
        deleteFile(tempName, true);
        throw;
    }
}

std::string collectDocComment(CppStream& in, int* line, const std::string& joiner,
                              const std::string& start, const std::string& middle,
                              const std::string& end) {
    return readDocComment(in, line, joiner, start, middle, end);
}
