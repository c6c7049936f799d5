// File times: UTC to local with the bias in effect now (daylight saving included, not
// the bias at the file's date, as Windows does), and file time to calendar fields.
#include "kernel_internal.h"

#include <time.h>

namespace {

const uint64_t kTicksPerSecond = 10000000ull;
const int64_t kSecondsFrom1601To1970 = 11644473600ll;

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
    // Calendar fields from glibc, whose time_t reaches back to 1601 and beyond.
    time_t seconds = (time_t)((int64_t)(ticks / kTicksPerSecond) - kSecondsFrom1601To1970);
    struct tm parts;
    if (gmtime_r(&seconds, &parts) == NULL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    uint64_t rest = ticks % (86400ull * kTicksPerSecond);
    system->wYear = (WORD)(parts.tm_year + 1900);
    system->wMonth = (WORD)(parts.tm_mon + 1);
    system->wDay = (WORD)parts.tm_mday;
    system->wDayOfWeek = (WORD)parts.tm_wday;
    system->wHour = (WORD)(rest / (3600 * kTicksPerSecond));
    system->wMinute = (WORD)(rest / (60 * kTicksPerSecond) % 60);
    system->wSecond = (WORD)(rest / kTicksPerSecond % 60);
    system->wMilliseconds = (WORD)(rest / 10000 % 1000);
    return TRUE;
}
