// File times for tests that run on both sides: a UTC calendar time as the FILETIME that
// SetFileTime takes.
#ifndef TESTS_SUPPORT_FILETIMES_H
#define TESTS_SUPPORT_FILETIMES_H

#include "Kopf01/winapi.h"

#include <stdint.h>

struct UtcTime {
    int year, month, day, hour, minute, second;
};

// Days are counted from 1 January 1601, FILETIME's origin, in 100-ns ticks.
inline FILETIME FileTimeOf(const UtcTime &t)
{
    int64_t y = t.month <= 2 ? t.year - 1 : t.year;
    int64_t era = y / 400;
    int64_t yearOfEra = y - era * 400;
    int64_t monthIndex = t.month > 2 ? t.month - 3 : t.month + 9;
    int64_t dayOfYear = (153 * monthIndex + 2) / 5 + t.day - 1;
    int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    int64_t daysFrom1970 = era * 146097 + dayOfEra - 719468;
    const int64_t daysFrom1601To1970 = 134774;
    int64_t seconds = (daysFrom1970 + daysFrom1601To1970) * 86400 + t.hour * 3600 +
                      t.minute * 60 + t.second;
    uint64_t ticks = (uint64_t)seconds * 10000000ull;
    FILETIME time;
    time.dwLowDateTime = (DWORD)(ticks & 0xFFFFFFFFu);
    time.dwHighDateTime = (DWORD)(ticks >> 32);
    return time;
}

inline uint64_t TicksOf(const FILETIME &time)
{
    return ((uint64_t)time.dwHighDateTime << 32) | time.dwLowDateTime;
}

#endif
