#include "modules/common/ProgramVersion.h"

#include "VelkLib/VelkError.h"
#include "platform/ProgramPath.h"
#include "platform/VersionRecord.h"

std::string formatVersionText(const std::string& fileName) {
    platform::FileVersion version;
    if (!platform::readVersionRecord(fileName, &version))
        throw VelkError("Could not get the version for " + fileName, "", "[none]", 0);
    return std::to_string(version.major) + "," + std::to_string(version.minor) + "," +
           std::to_string(version.build) + "," + std::to_string(version.revision);
}

std::string shownProgramVersion() {
    // Reading the version scans the program's file; it cannot change while
    // the program runs, so every page of every run shares one reading.
    static const std::string shown = [] {
        std::string text;
        try {
            text = formatVersionText(platform::programPath());
        } catch (const VelkError&) {
            return std::string("unknown");
        }
        for (char& c : text)
            if (c == ',') c = '.';
        return text.substr(0, text.rfind('.'));
    }();
    return shown;
}
