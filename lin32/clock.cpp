// GetLocalTime from the system clock, or from the date a test has fixed.
#include "lin32_hooks.h"
#include "windows.h"

#include <time.h>

static bool todayFixed = false;
static int fixedYear, fixedMonth, fixedDay;

void Lin32SetToday(int year, int month, int day)
{
    todayFixed = true;
    fixedYear = year;
    fixedMonth = month;
    fixedDay = day;
}

void Lin32ClearToday(void) { todayFixed = false; }

// 0 Sunday to 6 Saturday in the Gregorian calendar.
static WORD DayOfWeek(int year, int month, int day)
{
    struct tm date = {};
    date.tm_year = year - 1900;
    date.tm_mon = month - 1;
    date.tm_mday = day;
    time_t seconds = timegm(&date);
    return (WORD)(seconds == (time_t)-1 ? 0 : date.tm_wday);
}

void WINAPI GetLocalTime(LPSYSTEMTIME time)
{
    if (time == nullptr) {
        return;
    }
    if (todayFixed) {
        // A fixed day is reported at noon.
        time->wYear = (WORD)fixedYear;
        time->wMonth = (WORD)fixedMonth;
        time->wDay = (WORD)fixedDay;
        time->wDayOfWeek = DayOfWeek(fixedYear, fixedMonth, fixedDay);
        time->wHour = 12;
        time->wMinute = 0;
        time->wSecond = 0;
        time->wMilliseconds = 0;
        return;
    }
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    struct tm local;
    localtime_r(&now.tv_sec, &local);
    time->wYear = (WORD)(local.tm_year + 1900);
    time->wMonth = (WORD)(local.tm_mon + 1);
    time->wDayOfWeek = (WORD)local.tm_wday;
    time->wDay = (WORD)local.tm_mday;
    time->wHour = (WORD)local.tm_hour;
    time->wMinute = (WORD)local.tm_min;
    // Windows has no leap second.
    time->wSecond = (WORD)(local.tm_sec > 59 ? 59 : local.tm_sec);
    time->wMilliseconds = (WORD)(now.tv_nsec / 1000000);
}

DWORD WINAPI GetTickCount(void)
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (DWORD)((uint64_t)now.tv_sec * 1000u + (uint64_t)now.tv_nsec / 1000000u);
}
