#include "modules/common/PageDateTime.h"

#include <gtest/gtest.h>

namespace {

DateTime at(int year, int month, int weekday, int day, int hour, int minute, int second = 0) {
    DateTime::LocalTime t;
    t.year = static_cast<std::uint16_t>(year);
    t.month = static_cast<std::uint16_t>(month);
    t.dayOfWeek = static_cast<std::uint16_t>(weekday);
    t.day = static_cast<std::uint16_t>(day);
    t.hour = static_cast<std::uint16_t>(hour);
    t.minute = static_cast<std::uint16_t>(minute);
    t.second = static_cast<std::uint16_t>(second);
    return DateTime(t);
}

TEST(PageDateTime, PageHeadPattern) {
    EXPECT_EQ(at(2003, 11, 5, 7, 9, 5).format("%B %d, %Y at %H:%M"),
              "November 07, 2003 at 09:05");
    EXPECT_EQ(at(2003, 11, 5, 7, 0, 0).format("%H:%M"), "00:00");
}

TEST(PageDateTime, CodesAndNames) {
    DateTime d = at(2003, 12, 2, 30, 21, 4, 9);
    EXPECT_EQ(d.format("%A %a %B %b %m %S %I %y"), "Tuesday Tue December Dec 12 09 21 20");
    EXPECT_EQ(d.format("100%%"), "100%");
    EXPECT_EQ(d.format("x%Qy"), "xy");
    EXPECT_EQ(d.format("tail%"), "tail");
    EXPECT_EQ(d.format("plain text"), "plain text");
    EXPECT_EQ(d.format(""), "");
    EXPECT_EQ(DateTime::numberText(123), "123");
}

TEST(PageDateTime, ClockGivesEnglishNames) {
    DateTime now;
    std::string month = now.format("%B");
    EXPECT_NE(std::string("January February March April May June July August September "
                          "October November December")
                  .find(month),
              std::string::npos);
    EXPECT_GE(now.getTime().year, 2000);
}

}  // namespace
