// Helpers of the KERNEL32 part: errno to Win32 error codes, injected failures for
// tests, file times, syncs and counted writes.
#include "kernel_internal.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

namespace {

struct Failure {
    int first = 0;     // 1-based number of the first operation to fail, 0 = none
    int last = 0;
    DWORD error = ERROR_SUCCESS;
    int seen = 0;      // operations counted so far
};

Failure g_failures[LIN32_OP_COUNT];
Lin32OperationHook g_operationHook = nullptr;
void *g_operationHookContext = nullptr;

// Seconds between 1601-01-01 (FILETIME's origin) and 1970-01-01.
const int64_t kEpochSeconds = 11644473600ll;

}  // namespace

DWORD Lin32ErrorFromErrno(int error, DWORD fallback)
{
    static const struct {
        int error;
        DWORD code;
    } codes[] = {
        {ENOENT, ERROR_FILE_NOT_FOUND},    {ENOTDIR, ERROR_PATH_NOT_FOUND},
        {EACCES, ERROR_ACCESS_DENIED},     {EPERM, ERROR_ACCESS_DENIED},
        {EISDIR, ERROR_ACCESS_DENIED},     {EEXIST, ERROR_ALREADY_EXISTS},
        {ENOSPC, ERROR_DISK_FULL},         {EDQUOT, ERROR_DISK_FULL},
        {EFBIG, ERROR_DISK_FULL},          {EROFS, LIN32_ERROR_WRITE_PROTECT},
        {ENAMETOOLONG, ERROR_FILENAME_EXCED_RANGE}, {ENOTEMPTY, ERROR_DIR_NOT_EMPTY},
        {EBUSY, ERROR_SHARING_VIOLATION},  {ETXTBSY, ERROR_SHARING_VIOLATION},
        {ENOMEM, ERROR_NOT_ENOUGH_MEMORY}, {EBADF, ERROR_INVALID_HANDLE},
    };
    for (const auto &entry : codes) {
        if (entry.error == error) {
            return entry.code;
        }
    }
    return fallback;
}

void Lin32FailOperation(Lin32Operation operation, int nth, DWORD error, int times)
{
    if (operation < 0 || operation >= LIN32_OP_COUNT) {
        return;
    }
    Failure &failure = g_failures[operation];
    failure.seen = 0;
    if (nth < 1 || times < 1) {
        failure.first = failure.last = 0;
        return;
    }
    failure.first = nth;
    failure.last = nth + times - 1;
    failure.error = error;
}

void Lin32ClearFailures(void)
{
    for (Failure &failure : g_failures) {
        failure = Failure();
    }
    g_operationHook = nullptr;
    g_operationHookContext = nullptr;
}

void Lin32SetOperationHook(Lin32OperationHook hook, void *context)
{
    g_operationHook = hook;
    g_operationHookContext = context;
}

int Lin32OperationCount(Lin32Operation operation)
{
    if (operation < 0 || operation >= LIN32_OP_COUNT) {
        return 0;
    }
    return g_failures[operation].seen;
}

DWORD Lin32InjectedFailure(Lin32Operation operation)
{
    Failure &failure = g_failures[operation];
    ++failure.seen;
    if (g_operationHook != nullptr) {
        g_operationHook(g_operationHookContext, operation, failure.seen);
    }
    if (failure.first > 0 && failure.seen >= failure.first && failure.seen <= failure.last) {
        return failure.error;
    }
    return ERROR_SUCCESS;
}

FILETIME Lin32FileTime(const struct timespec &time)
{
    uint64_t ticks = 0;
    int64_t seconds = (int64_t)time.tv_sec;
    if (seconds >= -kEpochSeconds) {
        ticks = (uint64_t)(seconds + kEpochSeconds) * 10000000ull + (uint64_t)time.tv_nsec / 100;
    }
    FILETIME result;
    result.dwLowDateTime = (DWORD)(ticks & 0xFFFFFFFFu);
    result.dwHighDateTime = (DWORD)(ticks >> 32);
    return result;
}

DWORD Lin32SyncPath(const std::string &linuxPath)
{
    DWORD injected = Lin32InjectedFailure(LIN32_OP_FLUSH);
    if (injected != ERROR_SUCCESS) {
        return injected;
    }
    int fd = open(linuxPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return Lin32ErrorFromErrno(errno, ERROR_WRITE_FAULT);
    }
    DWORD result = fsync(fd) == 0 ? ERROR_SUCCESS : Lin32ErrorFromErrno(errno, ERROR_WRITE_FAULT);
    close(fd);
    return result;
}

DWORD Lin32WriteAll(int fd, const char *data, size_t size)
{
    const size_t kBlock = 65536;
    size_t done = 0;
    while (done < size) {
        DWORD injected = Lin32InjectedFailure(LIN32_OP_WRITE);
        if (injected != ERROR_SUCCESS) {
            return injected;
        }
        size_t chunk = size - done < kBlock ? size - done : kBlock;
        ssize_t written = write(fd, data + done, chunk);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Lin32ErrorFromErrno(errno, ERROR_WRITE_FAULT);
        }
        if (written == 0) {
            return ERROR_DISK_FULL;
        }
        done += (size_t)written;
    }
    return ERROR_SUCCESS;
}
