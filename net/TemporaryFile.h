// The temporary files of a mail: the message text, each encoded part and
// the whole message, created exclusively and removed on every path.
#pragma once

#include <string>

// Creates a new empty file in platform::tempDirectory() named the file-name
// part of prefix (after its last "/" or "\\"), a "." and a unique suffix,
// exclusively and with mode 0600, and returns its full path. Throws
// VelkFileError "Could not create a temporary file" naming the pattern.
std::string makeTempFileName(const std::string& prefix);

// A temporary file that is removed when the object goes, errors included.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& prefix) : path(makeTempFileName(prefix)) {}
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& getPath() const { return path; }

private:
    std::string path;
};
