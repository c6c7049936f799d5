// File times: UTC to local with the bias in effect now (daylight saving included, not
// the bias at the file's date, as Windows does), and file time to calendar fields.
#include "kernel_internal.h"

#include <time.h>

namespace {

const uint64_t kTicksPerSecond = 10000000ull;
const uint64_t kTicksPerDay = 86400ull * kTicksPerSecond;
const int64_t kDaysFrom1601To1970 = 134774;

uint64_t Ticks(const FILETIME &time)
{
    return ((uint64_t)time.dwHighDateTime << 32) | time.dwLowDateTime;
}

}  // namespace

BOOL WINAPI FileTimeToLocalFileTime(const FILETIME *utc, LPFILETIME local)
{
    if (utc == NULL || local == NULL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    tzset();  // TZ may have changed since the last call
    time_t now = time(NULL);
    struct tm parts;
    if (localtime_r(&now, &parts) == NULL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    int64_t bias = (int64_t)parts.tm_gmtoff * (int64_t)kTicksPerSecond;
    uint64_t ticks = Ticks(*utc);
    if ((bias < 0 && ticks < (uint64_t)(-bias)) ||
        (bias > 0 && ticks > UINT64_MAX - (uint64_t)bias)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    ticks = bias < 0 ? ticks - (uint64_t)(-bias) : ticks + (uint64_t)bias;
    local->dwLowDateTime = (DWORD)(ticks & 0xFFFFFFFFu);
    local->dwHighDateTime = (DWORD)(ticks >> 32);
    return TRUE;
}

BOOL WINAPI FileTimeToSystemTime(const FILETIME *time, LPSYSTEMTIME system)
{
    if (time == NULL || system == NULL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    uint64_t ticks = Ticks(*time);
    if (ticks > 0x7FFFFFFFFFFFFFFFull) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    int64_t days = (int64_t)(ticks / kTicksPerDay);
    uint64_t rest = ticks % kTicksPerDay;
    // Civil date from a day count (proleptic Gregorian, eras of 400 years).
    int64_t z = days - kDaysFrom1601To1970 + 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t dayOfEra = z - era * 146097;
    int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    int64_t day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    int64_t month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    system->wYear = (WORD)year;
    system->wMonth = (WORD)month;
    system->wDay = (WORD)day;
    system->wDayOfWeek = (WORD)((days + 1) % 7);  // 1 January 1601 was a Monday
    system->wHour = (WORD)(rest / (3600 * kTicksPerSecond));
    system->wMinute = (WORD)(rest / (60 * kTicksPerSecond) % 60);
    system->wSecond = (WORD)(rest / kTicksPerSecond % 60);
    system->wMilliseconds = (WORD)(rest / 10000 % 1000);
    return TRUE;
}
