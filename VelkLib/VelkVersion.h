// The four-number version (major, minor, build, revision) that every
// deliverable carries in its file, read back from the file.
#pragma once

#include <string>

// A loaded library as platform::openLibrary returns it; null stands for the
// running program itself.
using VelkModuleHandle = void*;

// The full path of the module's file, or of the running program's file when
// module is null. Throws through throwVersionError("") when it is unknown.
std::string getModuleFileName(VelkModuleHandle module);

// Reads the version of the file without loading it. Throws through
// throwVersionError(file) when the file cannot be read or carries no
// version; the out-parameters are then unchanged.
void getFileVersion(const std::string& file, int& major, int& minor, int& build, int& revision);

// getFileVersion of getModuleFileName(module).
void getModuleVersion(VelkModuleHandle module, int& major, int& minor, int& build,
                      int& revision);

// True when the module's version is a.b.c.d or later: the numbers are
// compared in order and the first that differs decides. Throws what
// getModuleVersion throws.
bool isVersionAtLeast(VelkModuleHandle module, int major, int minor, int build, int revision);

// Throws VelkError (system form, the last system error) with the message
// "Could not get the version for " + file.
[[noreturn]] void throwVersionError(const std::string& file);
