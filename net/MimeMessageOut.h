// Writes a whole MIME message (multipart/mixed) into a file, which the SMTP
// client then sends line by line.
//
// Layout: optional "To: " and "Subject: " lines, "MIME-Version: 1.0", the
// Content-Type line with the boundary, an empty line, a three-line preamble
// and an empty line; then an optional leading text part and one part per
// added file, each after a delimiter line ("--" + boundary, preceded by an
// empty line); finish() writes the closing delimiter ("--" + boundary +
// "--"). Lines end with a line feed in the file.
#pragma once

#include <ctime>
#include <string>

#include "VelkLib/VelkFile.h"

class MimeMessageOut : public VelkOutFile {
public:
    // Opens fileName (truncating) and writes the header block, and when
    // leadingText is not empty a first part "Content-Type: TEXT/PLAIN;
    // charset=US-ASCII" holding it. Throws the VelkOutFile errors.
    MimeMessageOut(const std::string& fileName, const std::string& leadingText,
                   const std::string& to = "", const std::string& subject = "");
    // Closes the file quietly; a message that was not finished is not whole.
    ~MimeMessageOut() override;

    // Writes a line feed, "--", the boundary and a line feed.
    void writeBoundary();

    // Appends the file as one part, encoded as MimeEncoding says, named by
    // the file-name part of partName (of file when partName is empty). The
    // part is encoded into a temporary file that is removed afterwards,
    // errors included. Throws the file errors.
    void addFile(const std::string& file, int encoding, const std::string& partName);

    // Writes the closing delimiter and closes the file. Throws VelkFileError
    // "Could not write the file" when any of the message did not reach the
    // disk; such a message must not be sent.
    void finish();

    const std::string& getBoundary() const { return boundary; }

private:
    std::string boundary;
};

// The boundary of a message made at the given moment on the given host:
// "-" + seconds + ":=" + host, the host's characters limited to those a
// boundary may hold (others become "-") and the whole to 70 characters.
std::string makeBoundary(std::time_t seconds, const std::string& hostName);

// The part of a path after its last "/" or "\\"; the whole path without one.
std::string fileNamePart(const std::string& path);
