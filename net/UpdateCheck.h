// The update check: fetches the version file from the update host, compares
// its version with the program's and offers to open the download address
// in the user's browser when the remote version is newer.
//
// The version file ("/vantry/version2.txt" on the update host) holds four
// lines: the newest version as up to four numbers joined by ",", the
// download address, a description ("\n" pairs stand for line breaks) and
// the version as shown (the first three numbers joined by "." when empty).
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "VelkLib/VelkHttp.h"
#include "platform/WindowMessages.h"

namespace platform {
class SettingsStore;
}

struct VersionFile {
    int version[4] = {0, 0, 0, 0};
    std::string downloadAddress;
    std::string description;  // with its "\n" pairs as they stand
    std::string shownVersion;  // line 4, or a.b.c from line 1

    // Splits the body into lines at CR LF, LF or CR; missing lines are
    // empty, missing numbers 0. Throws VelkTokenizer::InvalidNumberError for
    // a part of line 1 that is not a number (letters, "-", a value beyond
    // int) and VelkError "The version file is empty." when line 1 is.
    static VersionFile parse(const std::string& body);
};

// "http://" + the update host + "/vantry/version2.txt".
std::string versionFileAddress(const platform::SettingsStore& profile);

// "Vantry " + the program's version numbers joined by ",".
std::string updateUserAgent();

// The fetch's bounds: short enough that a silent host never holds the user
// for long, and a body cap far above any version file.
VelkHttp::Limits updateFetchLimits();

// True for an "http://" or "https://" address (either letter case) without
// blanks or control characters: the only addresses handed to the browser.
bool isWebAddress(const std::string& address);

// The outcome of fetching the version file.
struct UpdateFetch {
    bool fetched = false;
    std::string body;          // when fetched
    std::string errorMessage;  // otherwise: the VelkError's message
};

// Fetches the version file; never throws.
UpdateFetch fetchVersionFile(const std::string& address, const VelkHttp::Limits& limits);

// Tells the user what the fetch means, in message boxes: "Could not connect
// to the update site (error was: <message>)." (caption "Error") for any
// failure, also a malformed version file or a newer version without a web
// download address; "This version of Vantry is up-to-date." (caption
// "Version Info") unless quiet; or the "New Version Available" question,
// whose Yes opens the download address with the platform shell. forced
// counts the remote version as newer whatever it is. Then schedules the
// next automatic check (writeNextUpdate) and saves the settings. Never
// throws.
void reportUpdate(const UpdateFetch& fetch, bool quiet, bool forced,
                  platform::SettingsStore& profile);

// The whole check on the calling thread, with the busy pointer: Ctrl and
// Shift held at the start force the offer.
void checkForUpdate(bool quiet, platform::SettingsStore& profile);
void checkForUpdate(bool quiet, platform::SettingsStore& profile, const std::string& address,
                    const VelkHttp::Limits& limits);

// The periodic check of the start-up, whose transfer must not hold the
// dialog: the fetch runs on a thread of its own and posts message to window
// when it is over; the window's thread then calls finish(), which reports
// quietly on that thread.
class BackgroundUpdateCheck {
public:
    // Notes the keys held now and starts the fetch.
    BackgroundUpdateCheck(platform::WindowHandle window, unsigned message,
                          const std::string& address, const VelkHttp::Limits& limits);
    // Stops a fetch still running and waits for its thread (promptly: the
    // transfer checks the stop request while it waits).
    ~BackgroundUpdateCheck();
    BackgroundUpdateCheck(const BackgroundUpdateCheck&) = delete;
    BackgroundUpdateCheck& operator=(const BackgroundUpdateCheck&) = delete;

    // reportUpdate of the outcome, quiet; at most once, and only after the
    // message came. Returns false when the fetch is not over yet.
    bool finish(platform::SettingsStore& profile);

private:
    std::atomic<bool> cancel{false};
    std::atomic<bool> over{false};
    bool forced = false;
    bool reported = false;
    UpdateFetch outcome;  // written by the thread before `over`
    std::thread worker;
};
