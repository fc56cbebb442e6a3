#include "net/UpdateSchedule.h"

#include <algorithm>
#include <ctime>
#include <string>

#include "platform/SettingsStore.h"

namespace {
constexpr std::int64_t secondsPerDay = 86400;
}

bool isAutoCheckEnabled(const platform::SettingsStore& profile) {
    return profile.getInt("Update", "AutoCheck", 0) != 0;
}

int readUpdateDays(const platform::SettingsStore& profile) {
    return std::clamp(profile.getInt("Update", "UpdateDays", defaultUpdateDays), minUpdateDays,
                      maxUpdateDays);
}

std::int64_t readNextUpdate(const platform::SettingsStore& profile) {
    std::string text = profile.getString("Update", "NextUpdate", "");
    std::size_t start = !text.empty() && text[0] == '-' ? 1 : 0;
    if (text.size() <= start || text.size() - start > 18 ||
        text.find_first_not_of("0123456789", start) != std::string::npos)
        return 0;
    return std::stoll(text);
}

int daysUntilNextUpdate(const platform::SettingsStore& profile, std::int64_t now) {
    // A moment exactly N days ahead is N - 1 whole days and a begun one, so
    // right after writeNextUpdate the count is the interval the user set.
    std::int64_t days = (readNextUpdate(profile) - now - 1) / secondsPerDay;
    if (days < 1) return 0;
    return static_cast<int>(std::min<std::int64_t>(days, maxUpdateDays + 1));
}

void writeNextUpdate(platform::SettingsStore& profile, std::int64_t now) {
    std::int64_t next = now + (static_cast<std::int64_t>(readUpdateDays(profile)) + 1) * secondsPerDay;
    profile.writeText("Update", "NextUpdate", std::to_string(next));
}

std::int64_t secondsNow() { return static_cast<std::int64_t>(std::time(nullptr)); }
