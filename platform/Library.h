// Shared libraries loaded at run time (the output modules).
//
// Every function reports failure by its return value and fills *errorText
// (when errorText is not null) with the loader's own text from dlerror().
#pragma once

#include <string>

namespace platform {

// An opaque loaded library; null stands for "none".
using LibraryHandle = void*;

// Loads the library at path with every symbol bound at once (RTLD_NOW) and
// kept private to it (RTLD_LOCAL). Returns its handle, or null on failure.
LibraryHandle openLibrary(const std::string& path, std::string* errorText);

// The address of the exported symbol name, or null when the library has no
// such symbol (or the handle is null).
void* librarySymbol(LibraryHandle library, const std::string& name, std::string* errorText);

// Unloads a library that openLibrary returned. Returns true on success; a
// null handle is refused (false).
bool closeLibrary(LibraryHandle library, std::string* errorText);

// The path of the file that a loaded library came from, absolute where the
// system knows it. Returns "" with *errorText set when it cannot be found.
std::string libraryPath(LibraryHandle library, std::string* errorText);

}  // namespace platform
