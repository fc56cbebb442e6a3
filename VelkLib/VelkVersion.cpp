#include "VelkLib/VelkVersion.h"

#include "VelkLib/VelkError.h"
#include "platform/Library.h"
#include "platform/ProgramPath.h"
#include "platform/VersionRecord.h"

#include <cerrno>

void throwVersionError(const std::string& file) {
    throw VelkError("Could not get the version for " + file, -1, "VelkVersion.cpp", 24);
}

std::string getModuleFileName(VelkModuleHandle module) {
    std::string path;
    if (module == nullptr) {
        path = platform::programPath();
    } else {
        std::string errorText;
        path = platform::libraryPath(module, &errorText);
        if (path.empty()) errno = ENOENT;
    }
    if (path.empty()) throwVersionError("");
    return path;
}

void getFileVersion(const std::string& file, int& major, int& minor, int& build,
                    int& revision) {
    platform::FileVersion version;
    if (!platform::readVersionRecord(file, &version)) throwVersionError(file);
    major = version.major;
    minor = version.minor;
    build = version.build;
    revision = version.revision;
}

void getModuleVersion(VelkModuleHandle module, int& major, int& minor, int& build,
                      int& revision) {
    getFileVersion(getModuleFileName(module), major, minor, build, revision);
}

bool isVersionAtLeast(VelkModuleHandle module, int major, int minor, int build, int revision) {
    int have[4] = {0, 0, 0, 0};
    getModuleVersion(module, have[0], have[1], have[2], have[3]);
    const int want[4] = {major, minor, build, revision};
    for (int i = 0; i < 4; ++i) {
        if (have[i] != want[i]) return have[i] > want[i];
    }
    return true;
}
