// The version record: the four-number version that every deliverable
// carries inside its own file, so that it can be read back from the file
// without loading it.
//
// A record is the marker text followed by "major.minor.build.revision" and a
// NUL byte, each number a decimal from 0 to 65535. cmake/VersionRecord.cmake
// compiles one into a target with VANTRY_VERSION_RECORD.
#pragma once

#include <string>

#define VANTRY_VERSION_RECORD_MARKER "@(#)vantry-version-record "

// Defines the record of the file it is compiled into. The record is kept
// even though nothing refers to it.
#define VANTRY_VERSION_RECORD(major, minor, build, revision)                       \
    [[gnu::used]] static const char vantryVersionRecord[] =                        \
        VANTRY_VERSION_RECORD_MARKER #major "." #minor "." #build "." #revision;

namespace platform {

struct FileVersion {
    int major = 0;
    int minor = 0;
    int build = 0;
    int revision = 0;
};

// The record's bytes for a version, NUL included, as they stand in a file.
std::string versionRecordBytes(const FileVersion& version);

// Reads the first well-formed version record of the file at path into
// *version, scanning the file without loading or running it. Returns true on
// success; false with errno set otherwise: the error of open or read, or
// ENODATA when the file holds no record.
bool readVersionRecord(const std::string& path, FileVersion* version);

}  // namespace platform
