#include "net/UpdateCheck.h"

#include <cctype>
#include <climits>

#include "VelkLib/VelkError.h"
#include "VelkLib/VelkString.h"
#include "VelkLib/VelkTokenizer.h"
#include "VelkLib/VelkVersion.h"
#include "net/NetEndpoints.h"
#include "net/UpdateSchedule.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "platform/gui/Backend.h"
#include "platform/gui/KeyState.h"
#include "platform/gui/WaitCursor.h"
#include "run/VantryBase.h"

namespace {

int versionPart(const std::string& token) {
    std::string::size_type first = token.find_first_not_of(" \t");
    if (first == std::string::npos) return 0;
    std::string digits = token.substr(first, token.find_last_not_of(" \t") - first + 1);
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 10 ||
        std::stoll(digits) > INT_MAX)
        throw VelkTokenizer::InvalidNumberError(token);
    return std::stoi(digits);
}

bool startsWithIgnoringCase(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    }
    return true;
}

bool updateForced() { return gui::areKeysHeld(gui::KeyControl | gui::KeyShift); }

void showFailure(const std::string& message) {
    gui::messageBox("Could not connect to the update site (error was: " + message + ").", "Error",
                    gui::Buttons::Ok, gui::Icon::None);
}

void offerOrConfirm(const UpdateFetch& fetch, bool quiet, bool forced) {
    if (!fetch.fetched) throw VelkError(fetch.errorMessage);
    VersionFile file = VersionFile::parse(fetch.body);
    const int* v = file.version;
    if (!forced && isVersionAtLeast(nullptr, v[0], v[1], v[2], v[3])) {
        if (!quiet) {
            gui::messageBox("This version of Vantry is up-to-date.", "Version Info",
                            gui::Buttons::Ok, gui::Icon::None);
        }
        return;
    }
    if (!isWebAddress(file.downloadAddress)) {
        throw VelkError("The version file gives no http or https download address.");
    }
    std::string text = "Version " + file.shownVersion + " is available.\r\n";
    VelkString description = file.description;
    description.replaceAll("\\n", "\r\n");
    if (!description.empty()) text += "\r\n" + description + "\r\n\r\n";
    text += "Would you like to download the new version from " + file.downloadAddress + "?";
    if (gui::messageBox(text, "New Version Available", gui::Buttons::YesNo, gui::Icon::None) ==
        gui::Answer::Yes) {
        platform::shell().open(file.downloadAddress, nullptr);
    }
}

}  // namespace

VersionFile VersionFile::parse(const std::string& body) {
    VelkTokenizer lines(body, "\r\n", "\n", "\r");
    std::string line[4];
    for (std::string& text : line) {
        if (lines.hasMoreTokens()) text = lines.nextToken('\0', '\\');
    }
    if (line[0].find_first_not_of(" \t") == std::string::npos) {
        throw VelkError("The version file is empty.");
    }
    VersionFile file;
    VelkTokenizer numbers(line[0], ",");
    for (int& part : file.version) {
        if (numbers.hasMoreTokens()) part = versionPart(numbers.nextToken('\0', '\\'));
    }
    file.downloadAddress = line[1];
    file.description = line[2];
    file.shownVersion = !line[3].empty() ? line[3]
                                         : std::to_string(file.version[0]) + "." +
                                               std::to_string(file.version[1]) + "." +
                                               std::to_string(file.version[2]);
    return file;
}

std::string versionFileAddress(const platform::SettingsStore& profile) {
    return "http://" + endpointValue(NetEndpoint::UpdateHost, profile) + "/vantry/version2.txt";
}

std::string updateUserAgent() {
    std::string version;
    try {
        version = programVersionText();
    } catch (const VelkError&) {
        version = "0,0,0,0";
    }
    return "Vantry " + version;
}

VelkHttp::Limits updateFetchLimits() {
    VelkHttp::Limits limits;
    limits.connectTimeoutMilliseconds = 10000;
    limits.totalTimeoutMilliseconds = 20000;
    limits.maxBodySize = 64 * 1024;
    return limits;
}

bool isWebAddress(const std::string& address) {
    if (!startsWithIgnoringCase(address, "http://") && !startsWithIgnoringCase(address, "https://"))
        return false;
    for (char c : address) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte == 127) return false;
    }
    return address.find("://") + 3 < address.size();
}

UpdateFetch fetchVersionFile(const std::string& address, const VelkHttp::Limits& limits) {
    UpdateFetch fetch;
    try {
        VelkHttp http(updateUserAgent(), address, false, limits);
        fetch.body = http.readAll();
        fetch.fetched = true;
    } catch (const VelkError& error) {
        fetch.errorMessage = error.getMessage();
    } catch (const std::exception& error) {
        fetch.errorMessage = error.what();
    }
    return fetch;
}

void reportUpdate(const UpdateFetch& fetch, bool quiet, bool forced,
                  platform::SettingsStore& profile) {
    try {
        offerOrConfirm(fetch, quiet, forced);
    } catch (const VelkError& error) {
        showFailure(error.getMessage());
    } catch (const std::exception& error) {
        showFailure(error.what());
    }
    writeNextUpdate(profile, secondsNow());
    profile.save(nullptr);
}

void checkForUpdate(bool quiet, platform::SettingsStore& profile) {
    checkForUpdate(quiet, profile, versionFileAddress(profile), updateFetchLimits());
}

void checkForUpdate(bool quiet, platform::SettingsStore& profile, const std::string& address,
                    const VelkHttp::Limits& limits) {
    bool forced = updateForced();
    gui::CWaitCursor wait;
    reportUpdate(fetchVersionFile(address, limits), quiet, forced, profile);
}

BackgroundUpdateCheck::BackgroundUpdateCheck(platform::WindowHandle window, unsigned message,
                                             const std::string& address,
                                             const VelkHttp::Limits& limits)
    : forced(updateForced()) {
    VelkHttp::Limits bounded = limits;
    bounded.cancel = &cancel;
    worker = std::thread([this, window, message, address, bounded] {
        outcome = fetchVersionFile(address, bounded);
        over.store(true);
        platform::PostMessage(window, message, 0, 0);
    });
}

BackgroundUpdateCheck::~BackgroundUpdateCheck() {
    cancel.store(true);
    if (worker.joinable()) worker.join();
}

bool BackgroundUpdateCheck::finish(platform::SettingsStore& profile) {
    if (!over.load()) return false;
    if (!reported) {
        reported = true;
        reportUpdate(outcome, true, forced, profile);
    }
    return true;
}
