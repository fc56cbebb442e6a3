#include "net/TemporaryFile.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "VelkLib/VelkError.h"
#include "platform/TempFile.h"

std::string makeTempFileName(const std::string& prefix) {
    std::string::size_type slash = prefix.find_last_of("/\\");
    std::string name = (slash == std::string::npos ? prefix : prefix.substr(slash + 1)) + ".";
    std::string path = platform::createTempFile(name);
    if (path.empty()) {
        throw VelkFileError(std::string("Could not create a temporary file (") +
                                std::strerror(errno) + ")",
                            platform::tempDirectory() + "/" + name + "XXXXXX");
    }
    return path;
}

TemporaryFile::~TemporaryFile() { ::unlink(path.c_str()); }
