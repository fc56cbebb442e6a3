#include "modules/common/PageDateTime.h"

#include <ctime>
#include <sys/time.h>

namespace {

const char* const monthNames[12] = {"January", "February", "March",     "April",
                                    "May",     "June",     "July",      "August",
                                    "September", "October", "November", "December"};
const char* const weekdayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"};

std::string shortened(const std::string& name, bool shortForm) {
    return shortForm ? name.substr(0, 3) : name;
}

}  // namespace

DateTime::DateTime() {
    struct timeval now {};
    gettimeofday(&now, nullptr);
    std::time_t seconds = now.tv_sec;
    struct tm parts {};
    if (localtime_r(&seconds, &parts) == nullptr) return;
    time.year = static_cast<std::uint16_t>(parts.tm_year + 1900);
    time.month = static_cast<std::uint16_t>(parts.tm_mon + 1);
    time.dayOfWeek = static_cast<std::uint16_t>(parts.tm_wday);
    time.day = static_cast<std::uint16_t>(parts.tm_mday);
    time.hour = static_cast<std::uint16_t>(parts.tm_hour);
    time.minute = static_cast<std::uint16_t>(parts.tm_min);
    // A leap second (60) is shown as it comes.
    time.second = static_cast<std::uint16_t>(parts.tm_sec);
    time.milliseconds = static_cast<std::uint16_t>(now.tv_usec / 1000);
}

DateTime::DateTime(const LocalTime& fixed) : time(fixed) {}

std::string DateTime::format(const std::string& pattern) const {
    std::string result;
    result.reserve(pattern.size() + 16);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            result += pattern[i];
        } else if (i + 1 < pattern.size()) {
            result += formatCode(pattern[++i]);
        }
    }
    return result;
}

std::string DateTime::formatCode(char code) const {
    switch (code) {
    case '%': return "%";
    case 'A': return weekdayName(false);
    case 'a': return weekdayName(true);
    case 'B': return monthName(false);
    case 'b': return monthName(true);
    case 'd': return numberText(time.day);
    case 'm': return numberText(time.month);
    // "I" has always shown the 24-hour clock; pages keep that.
    case 'H':
    case 'I': return numberText(time.hour);
    case 'M': return numberText(time.minute);
    case 'S': return numberText(time.second);
    case 'Y': return yearText(false);
    case 'y': return yearText(true);
    default: return "";
    }
}

std::string DateTime::numberText(int n) {
    std::string text = std::to_string(n);
    if (n >= 0 && n < 10) text.insert(text.begin(), '0');
    return text;
}

std::string DateTime::yearText(bool shortForm) const {
    // The short year has always been the first two digits ("20" for 2003).
    std::string year = std::to_string(time.year);
    return shortForm ? year.substr(0, 2) : year;
}

std::string DateTime::monthName(bool shortForm) const {
    if (time.month < 1 || time.month > 12) return "";
    return shortened(monthNames[time.month - 1], shortForm);
}

std::string DateTime::weekdayName(bool shortForm) const {
    if (time.dayOfWeek > 6) return "";
    return shortened(weekdayNames[time.dayOfWeek], shortForm);
}
