#include "platform/Library.h"

#include <climits>
#include <cstdlib>
#include <dlfcn.h>
#include <link.h>

namespace platform {

namespace {

void setError(std::string* errorText, const char* fallback) {
    if (errorText == nullptr) return;
    const char* text = dlerror();
    *errorText = text != nullptr ? text : fallback;
}

}  // namespace

LibraryHandle openLibrary(const std::string& path, std::string* errorText) {
    if (path.find('\0') != std::string::npos) {
        if (errorText != nullptr) *errorText = "invalid library path";
        return nullptr;
    }
    dlerror();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) setError(errorText, "the library could not be loaded");
    return handle;
}

void* librarySymbol(LibraryHandle library, const std::string& name, std::string* errorText) {
    if (library == nullptr) {
        if (errorText != nullptr) *errorText = "no library loaded";
        return nullptr;
    }
    dlerror();  // a symbol may legitimately be null, so only dlerror tells
    void* address = dlsym(library, name.c_str());
    if (address == nullptr) {
        setError(errorText, "undefined symbol");
    }
    return address;
}

bool closeLibrary(LibraryHandle library, std::string* errorText) {
    if (library == nullptr) {
        if (errorText != nullptr) *errorText = "no library loaded";
        return false;
    }
    dlerror();
    if (dlclose(library) != 0) {
        setError(errorText, "the library could not be unloaded");
        return false;
    }
    return true;
}

std::string libraryPath(LibraryHandle library, std::string* errorText) {
    if (library == nullptr) {
        if (errorText != nullptr) *errorText = "no library loaded";
        return "";
    }
    dlerror();
    link_map* map = nullptr;
    if (dlinfo(library, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr) {
        setError(errorText, "the library's path is unknown");
        return "";
    }
    std::string path = map->l_name != nullptr ? map->l_name : "";
    if (path.empty()) {
        // The program's own handle (dlopen of null) has no name here.
        if (errorText != nullptr) *errorText = "the library's path is unknown";
        return "";
    }
    if (path[0] != '/') {
        // Loaded by a relative path: pin it down now, before the working
        // directory changes under the caller.
        char resolved[PATH_MAX];
        if (realpath(path.c_str(), resolved) != nullptr) path = resolved;
    }
    return path;
}

}  // namespace platform
