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

namespace {

// Closes a descriptor on every path.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd(fd) {}
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd; }

private:
    int fd;
};

}  // namespace

std::string readSourceFile(const std::string& fileName) {
    Descriptor file(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info;
    if (file.get() < 0) {
        // Only a name that does not exist is "not found"; one that exists
        // but refuses to open (no permission) is not.
        if (::stat(fileName.c_str(), &info) != 0) throw VelkFileError("Couldn't find the file", fileName);
        throw VelkFileError("Couldn't open the file", fileName);
    }
    if (::fstat(file.get(), &info) != 0) throw VelkFileError("Couldn't find the file", fileName);
    if (S_ISDIR(info.st_mode)) throw VelkFileError("Couldn't open the file", fileName);

    // A regular file is read in one go up to the size it reports; a file
    // whose size says nothing (a pipe, a /proc file) is read to its end.
    const bool sized = S_ISREG(info.st_mode) && info.st_size > 0;
    std::string text;
    std::size_t size = 0;
    text.resize(sized ? static_cast<std::size_t>(info.st_size) : 4096);
    for (;;) {
        if (size == text.size()) {
            if (sized) break;
            text.resize(text.size() * 2);
        }
        ssize_t got = ::read(file.get(), text.data() + size, text.size() - size);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw VelkError("Could not read the source file", errno);
        }
        if (got == 0) break;
        size += static_cast<std::size_t>(got);
    }
    text.resize(size);
    return text;
}

std::string preprocessThroughTempFile(const std::string& source, const std::string& fileName,
                                      const DocCommentFormat& format,
                                      const PreprocessorDefines& defines, const std::string& package,
                                      std::map<std::string, MacroDefinition>* defineTable) {
    std::map<std::string, MacroDefinition> unused;
    Preprocessor preprocessor(format);
    std::string tempName;
    Descriptor temp(Preprocessor::openTempFile("", tempName));
    try {
        std::string text = preprocessor.preprocessText(source, defines, fileName, package,
                                                       defineTable ? *defineTable : unused);
        // The whole output in one write, read back through the same
        // descriptor: the file is never opened a second time.
        for (std::size_t done = 0; done < text.size();) {
            ssize_t put = ::write(temp.get(), text.data() + done, text.size() - done);
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) throw VelkFileError("Could not write the file", tempName);
            done += static_cast<std::size_t>(put);
        }
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
