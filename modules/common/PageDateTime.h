// The time of generation as pages show it.
//
// A DateTime reads the local clock once, when it is made, and expands
// strftime-like patterns with English month and weekday names whatever the
// process locale says. Page writers make one on the stack where they need
// the time, so each page shows the time it was written.
#pragma once

#include <cstdint>
#include <string>

class DateTime {
public:
    // The broken-down local time; month 1-12, dayOfWeek 0 (Sunday) to 6.
    struct LocalTime {
        std::uint16_t year = 1970;
        std::uint16_t month = 1;
        std::uint16_t dayOfWeek = 4;
        std::uint16_t day = 1;
        std::uint16_t hour = 0;
        std::uint16_t minute = 0;
        std::uint16_t second = 0;
        std::uint16_t milliseconds = 0;
    };

    // Reads the local time now (localtime_r). Never fails: should the clock
    // be unreadable, the time is the start of 1970.
    DateTime();
    // A fixed time, for callers that must reproduce a page byte for byte.
    explicit DateTime(const LocalTime& time);

    // Expands the pattern left to right: plain characters are copied, "%"
    // and the next character become formatCode of that character, and a
    // "%" at the very end is dropped.
    std::string format(const std::string& pattern) const;
    // One code: % A a B b d m H I M S Y y (see the .cpp); any other
    // character expands to "".
    std::string formatCode(char code) const;
    // n in decimal, with a leading "0" below 10; never cut.
    static std::string numberText(int n);
    // The year in decimal; with shortForm its first two characters.
    std::string yearText(bool shortForm) const;
    // The English name, or its first three letters with shortForm.
    std::string monthName(bool shortForm) const;
    std::string weekdayName(bool shortForm) const;

    const LocalTime& getTime() const { return time; }

private:
    LocalTime time;
};
