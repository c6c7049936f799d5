// KERNEL32 file handles on Linux: CreateFileA with Windows' share modes (a file held
// open without sharing refuses others, as the program's users and tests meet it on
// Windows), ReadFile, WriteFile, FlushFileBuffers, SetFileTime, CloseHandle.
#include "kernel_internal.h"

#include <errno.h>
#include <fcntl.h>
#include <set>
#include <unistd.h>

namespace {

const uint32_t kFileMagic = 0x4C46494Cu;  // "LIFL"

struct FileHandle {
    uint32_t magic;
    int fd;
    dev_t device;
    ino_t inode;
    DWORD access;
    DWORD share;
};

std::set<FileHandle *> g_openFiles;

FileHandle *FromHandle(HANDLE handle)
{
    FileHandle *file = (FileHandle *)handle;
    if (g_openFiles.count(file) == 0 || file->magic != kFileMagic) {
        return NULL;
    }
    return file;
}

// The open handle for a write or a flush: NULL with the last error set when it is no
// handle, was not opened for writing, or the operation is made to fail.
FileHandle *WritableHandle(HANDLE handle, Lin32Operation operation)
{
    FileHandle *file = FromHandle(handle);
    DWORD error = file == NULL                        ? ERROR_INVALID_HANDLE
                  : !(file->access & GENERIC_WRITE) ? ERROR_ACCESS_DENIED
                                                      : Lin32InjectedFailure(operation);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return NULL;
    }
    return file;
}

const DWORD kReadWriteDelete = GENERIC_READ | GENERIC_WRITE | LIN32_ACCESS_DELETE;

}  // namespace

bool Lin32ShareConflict(const struct stat &info, DWORD access, DWORD share)
{
    for (const FileHandle *open : g_openFiles) {
        if (open->device != info.st_dev || open->inode != info.st_ino) {
            continue;
        }
        if (((access & GENERIC_READ) && !(open->share & FILE_SHARE_READ)) ||
            ((access & GENERIC_WRITE) && !(open->share & FILE_SHARE_WRITE)) ||
            ((access & LIN32_ACCESS_DELETE) && !(open->share & FILE_SHARE_DELETE)) ||
            ((open->access & GENERIC_READ) && !(share & FILE_SHARE_READ)) ||
            ((open->access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE)) ||
            ((open->access & LIN32_ACCESS_DELETE) && !(share & FILE_SHARE_DELETE))) {
            return true;
        }
    }
    return false;
}

HANDLE WINAPI CreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                          DWORD creation, DWORD flags, HANDLE templateFile)
{
    (void)security;
    (void)templateFile;
    Lin32Path path;
    DWORD error = Lin32Resolve(name, path);
    if (error == ERROR_SUCCESS && path.isRoot) {
        error = ERROR_ACCESS_DENIED;
    }
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    access &= kReadWriteDelete;
    bool existed = path.exists;
    int openFlags = O_CLOEXEC;
    switch (creation) {
    case CREATE_NEW:
        error = existed ? ERROR_FILE_EXISTS : ERROR_SUCCESS;
        openFlags |= O_CREAT | O_EXCL;
        break;
    case CREATE_ALWAYS:
        openFlags |= O_CREAT | O_TRUNC;
        break;
    case OPEN_EXISTING:
        error = existed ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
        break;
    default:
        error = ERROR_INVALID_PARAMETER;
        break;
    }
    bool writes = (access & GENERIC_WRITE) != 0 || (openFlags & O_TRUNC) != 0;
    if (error == ERROR_SUCCESS && existed) {
        if (S_ISDIR(path.info.st_mode)) {
            error = ERROR_ACCESS_DENIED;
        } else if (writes && Lin32IsReadOnly(path.info)) {
            error = ERROR_ACCESS_DENIED;
        } else if (Lin32ShareConflict(path.info, access, share)) {
            error = ERROR_SHARING_VIOLATION;
        }
    }
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    if ((access & GENERIC_READ) && (access & GENERIC_WRITE)) {
        openFlags |= O_RDWR;
    } else if (access & GENERIC_WRITE) {
        openFlags |= O_WRONLY;
    } else if (openFlags & (O_TRUNC | O_CREAT)) {
        openFlags |= O_RDWR;  // O_TRUNC needs write access on Linux
    } else {
        openFlags |= O_RDONLY;
    }
    int fd = open(path.linuxPath.c_str(), openFlags, 0666);
    if (fd < 0) {
        SetLastError(Lin32ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
        return INVALID_HANDLE_VALUE;
    }
    struct stat info;
    if (fstat(fd, &info) != 0) {
        close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    if (!existed && (flags & FILE_ATTRIBUTE_READONLY)) {
        fchmod(fd, info.st_mode & 07555);
    }
    if (!existed) {
        Lin32NameCreated(path);
    }
    FileHandle *file = new FileHandle;
    file->magic = kFileMagic;
    file->fd = fd;
    file->device = info.st_dev;
    file->inode = info.st_ino;
    file->access = access;
    file->share = share;
    g_openFiles.insert(file);
    // Windows reports an existing file that CREATE_ALWAYS took over.
    SetLastError(existed && creation == CREATE_ALWAYS ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return (HANDLE)file;
}

BOOL WINAPI ReadFile(HANDLE handle, LPVOID buffer, DWORD toRead, LPDWORD read, void *overlapped)
{
    (void)overlapped;
    if (read != NULL) {
        *read = 0;
    }
    FileHandle *file = FromHandle(handle);
    if (file == NULL) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!(file->access & GENERIC_READ)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    DWORD total = 0;
    while (total < toRead) {
        ssize_t got = ::read(file->fd, (char *)buffer + total, toRead - total);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            SetLastError(Lin32ErrorFromErrno(errno, ERROR_READ_FAULT));
            return FALSE;
        }
        if (got == 0) {
            break;
        }
        total += (DWORD)got;
    }
    if (read != NULL) {
        *read = total;
    }
    return TRUE;
}

BOOL WINAPI WriteFile(HANDLE handle, LPCVOID buffer, DWORD toWrite, LPDWORD written,
                      void *overlapped)
{
    (void)overlapped;
    if (written != NULL) {
        *written = 0;
    }
    FileHandle *file = WritableHandle(handle, LIN32_OP_WRITE);
    if (file == NULL) {
        return FALSE;
    }
    DWORD total = 0;
    while (total < toWrite) {
        ssize_t done = ::write(file->fd, (const char *)buffer + total, toWrite - total);
        if (done < 0) {
            if (errno == EINTR) {
                continue;
            }
            if (written != NULL) {
                *written = total;
            }
            SetLastError(Lin32ErrorFromErrno(errno, ERROR_WRITE_FAULT));
            return FALSE;
        }
        total += (DWORD)done;
    }
    if (written != NULL) {
        *written = total;
    }
    return TRUE;
}

BOOL WINAPI FlushFileBuffers(HANDLE handle)
{
    FileHandle *file = WritableHandle(handle, LIN32_OP_FLUSH);
    if (file == NULL) {
        return FALSE;
    }
    if (fsync(file->fd) != 0) {
        SetLastError(Lin32ErrorFromErrno(errno, ERROR_WRITE_FAULT));
        return FALSE;
    }
    return TRUE;
}

namespace {

// A FILETIME as a time for futimens; 0 and all bits set leave the time as it is, as a
// NULL does (Windows: 0 changes nothing, -1 stops the updates through this handle).
struct timespec TimeSpec(const FILETIME *time)
{
    struct timespec result = {0, UTIME_OMIT};
    if (time == NULL) {
        return result;
    }
    uint64_t ticks = ((uint64_t)time->dwHighDateTime << 32) | time->dwLowDateTime;
    if (ticks == 0 || ticks == UINT64_MAX) {
        return result;
    }
    const uint64_t ticksPerSecond = 10000000ull;
    const int64_t secondsFrom1601To1970 = 11644473600ll;
    result.tv_sec = (time_t)((int64_t)(ticks / ticksPerSecond) - secondsFrom1601To1970);
    result.tv_nsec = (long)(ticks % ticksPerSecond) * 100;
    return result;
}

}  // namespace

// Linux files have no creation time to set: it is accepted and left as it is.
BOOL WINAPI SetFileTime(HANDLE handle, const FILETIME *creation, const FILETIME *lastAccess,
                        const FILETIME *lastWrite)
{
    (void)creation;
    FileHandle *file = FromHandle(handle);
    if (file == NULL) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // Windows needs FILE_WRITE_ATTRIBUTES, which a read-only handle lacks.
    if (!(file->access & GENERIC_WRITE)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    struct timespec times[2] = {TimeSpec(lastAccess), TimeSpec(lastWrite)};
    if (futimens(file->fd, times) != 0) {
        SetLastError(Lin32ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI CloseHandle(HANDLE handle)
{
    FileHandle *file = FromHandle(handle);
    if (file == NULL) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    g_openFiles.erase(file);
    close(file->fd);
    file->magic = 0;
    delete file;
    return TRUE;
}
