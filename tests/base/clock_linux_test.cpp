// GetLocalTime with a fixed day and on the system clock.
#include "lin32/lin32_hooks.h"

#include <gtest/gtest.h>

#include <time.h>

namespace {

TEST(GetLocalTime, FixedDayIsReportedWithItsWeekday)
{
    struct Case {
        int year, month, day;
        int weekday;  // 0 Sunday
    };
    const Case cases[] = {
        {2004, 6, 15, 2}, {2000, 2, 29, 2}, {1999, 12, 31, 5}, {2078, 1, 1, 6}, {1900, 3, 1, 4},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.day) + "." + std::to_string(c.month) + "." +
                     std::to_string(c.year));
        Lin32SetToday(c.year, c.month, c.day);
        SYSTEMTIME now;
        GetLocalTime(&now);
        EXPECT_EQ(now.wYear, c.year);
        EXPECT_EQ(now.wMonth, c.month);
        EXPECT_EQ(now.wDay, c.day);
        EXPECT_EQ(now.wDayOfWeek, c.weekday);
    }
    Lin32ClearToday();
}

TEST(GetLocalTime, ClearedDayIsTheSystemsLocalDate)
{
    Lin32SetToday(1980, 5, 5);
    Lin32ClearToday();
    // The system's date before and after the call; midnight may fall between them.
    time_t before = time(nullptr);
    SYSTEMTIME now;
    GetLocalTime(&now);
    time_t after = time(nullptr);
    bool matches = false;
    for (time_t moment : {before, after}) {
        struct tm local;
        localtime_r(&moment, &local);
        matches = matches || (now.wYear == local.tm_year + 1900 &&
                              now.wMonth == local.tm_mon + 1 && now.wDay == local.tm_mday &&
                              now.wDayOfWeek == local.tm_wday);
    }
    EXPECT_TRUE(matches) << now.wDay << "." << now.wMonth << "." << now.wYear;
    EXPECT_LE(now.wHour, 23);
    EXPECT_LE(now.wMinute, 59);
    EXPECT_LE(now.wSecond, 59);
    EXPECT_LE(now.wMilliseconds, 999);
}

}  // namespace
