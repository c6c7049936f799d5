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

// 0 Sunday to 6 Saturday in the Gregorian calendar (Sakamoto's rule).
static WORD DayOfWeek(int year, int month, int day)
{
    static const int monthOffset[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 1 || month > 12 || year < 1 || year > 65535 || day < 1 || day > 31) {
        return 0;
    }
    if (month < 3) {
        year -= 1;
    }
    return (WORD)((year + year / 4 - year / 100 + year / 400 + monthOffset[month - 1] + day) % 7);
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
