// The schedule of the automatic update check, kept in the settings section
// "Update": AutoCheck (1 = check at start-up), UpdateDays (days between
// checks, 1 to 3650) and NextUpdate (the moment of the next check, seconds
// since 1970, a 64-bit value).
#pragma once

#include <cstdint>

namespace platform {
class SettingsStore;
}

constexpr int defaultUpdateDays = 15;
constexpr int minUpdateDays = 1;
constexpr int maxUpdateDays = 3650;

// True when AutoCheck (default 0) is not 0.
bool isAutoCheckEnabled(const platform::SettingsStore& profile);

// UpdateDays (default 15), brought into 1 to 3650.
int readUpdateDays(const platform::SettingsStore& profile);

// NextUpdate; 0 when missing or not a number.
std::int64_t readNextUpdate(const platform::SettingsStore& profile);

// The whole days left before NextUpdate (a day that has begun counts as not
// yet whole); 0 when fewer than one is left (the check is due).
int daysUntilNextUpdate(const platform::SettingsStore& profile, std::int64_t now);

// Writes NextUpdate = now + (UpdateDays + 1) days, so that right after it
// daysUntilNextUpdate gives UpdateDays.
void writeNextUpdate(platform::SettingsStore& profile, std::int64_t now);

// The current time in seconds since 1970.
std::int64_t secondsNow();
