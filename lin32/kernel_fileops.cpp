// CopyFileA, DeleteFileA and CreateDirectoryA with Windows' outcomes. A copy never leaves
// a partial destination: it is written to a temporary file in the destination folder
// and renamed over the target only when complete, so a failure leaves the old
// destination (or none) as it was.
#include "kernel_internal.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// One buffer for every copy: a chart is copied in one block, and a copy is not worth a
// fresh (zeroed) allocation. The layer is used from one thread.
char g_copyBuffer[65536];

BOOL Fail(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

// Copies the open source into a new temporary file beside the target and gives it the
// source's permissions, time of last change and hidden/system bits.
DWORD WriteCopy(int source, const struct stat &sourceInfo, const Lin32Path &target,
                std::string &temporary)
{
    int fd = Lin32CreateTemporary(target.folder, temporary);
    if (fd < 0) {
        return Lin32ErrorFromErrno(errno, ERROR_ACCESS_DENIED);
    }
    DWORD error = ERROR_SUCCESS;
    for (;;) {
        ssize_t got = read(source, g_copyBuffer, sizeof g_copyBuffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            error = Lin32ErrorFromErrno(errno, ERROR_READ_FAULT);
        } else if (got > 0) {
            error = Lin32WriteAll(fd, g_copyBuffer, (size_t)got);
        }
        if (got <= 0 || error != ERROR_SUCCESS) {
            break;
        }
    }
    if (error == ERROR_SUCCESS) {
        struct timespec times[2] = {sourceInfo.st_atim, sourceInfo.st_mtim};
        if (fchmod(fd, sourceInfo.st_mode & 07777) != 0 || futimens(fd, times) != 0) {
            error = Lin32ErrorFromErrno(errno, ERROR_ACCESS_DENIED);
        }
    }
    if (error == ERROR_SUCCESS && target.driveType == DRIVE_REMOVABLE) {
        error = Lin32InjectedFailure(LIN32_OP_FLUSH);
        if (error == ERROR_SUCCESS && fsync(fd) != 0) {
            error = Lin32ErrorFromErrno(errno, ERROR_WRITE_FAULT);
        }
    }
    if (close(fd) != 0 && error == ERROR_SUCCESS) {
        error = Lin32ErrorFromErrno(errno, ERROR_WRITE_FAULT);
    }
    if (error == ERROR_SUCCESS) {
        struct stat copyInfo;
        DWORD bits = Lin32StoredDosBitsOfOpen(source, sourceInfo);
        if (bits != 0 && stat(temporary.c_str(), &copyInfo) == 0) {
            Lin32StoreDosBits(temporary, copyInfo, bits);
        }
    }
    return error;
}

}  // namespace

BOOL WINAPI CopyFileA(LPCSTR existing, LPCSTR target, BOOL failIfExists)
{
    DWORD error = Lin32InjectedFailure(LIN32_OP_COPY);
    if (error != ERROR_SUCCESS) {
        return Fail(error);
    }
    Lin32Path source, destination;
    error = Lin32Resolve(existing, source);
    if (error != ERROR_SUCCESS) {
        return Fail(error);
    }
    if (!source.exists) {
        return Fail(ERROR_FILE_NOT_FOUND);
    }
    if (S_ISDIR(source.info.st_mode)) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    error = Lin32Resolve(target, destination);
    if (error != ERROR_SUCCESS) {
        return Fail(error);
    }
    if (destination.isRoot) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (destination.exists) {
        // Two names of one file (also through two drive letters that share a folder):
        // replacing it would destroy the only copy.
        if (destination.info.st_dev == source.info.st_dev &&
            destination.info.st_ino == source.info.st_ino) {
            return Fail(ERROR_SHARING_VIOLATION);
        }
        if (failIfExists) {
            return Fail(ERROR_FILE_EXISTS);
        }
        DWORD attributes =
            Lin32Attributes(destination.linuxPath, destination.name, destination.info);
        if (S_ISDIR(destination.info.st_mode) ||
            (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN))) {
            return Fail(ERROR_ACCESS_DENIED);
        }
        if (Lin32ShareConflict(destination.info, GENERIC_WRITE | LIN32_ACCESS_DELETE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE)) {
            return Fail(ERROR_SHARING_VIOLATION);
        }
    }
    if (Lin32ShareConflict(source.info, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE)) {
        return Fail(ERROR_SHARING_VIOLATION);
    }
    int fd = open(source.linuxPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return Fail(Lin32ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
    }
    std::string temporary;
    error = WriteCopy(fd, source.info, destination, temporary);
    close(fd);
    if (error == ERROR_SUCCESS) {
        error = Lin32InjectedFailure(LIN32_OP_RENAME);
    }
    if (error == ERROR_SUCCESS && rename(temporary.c_str(), destination.linuxPath.c_str()) != 0) {
        error = Lin32ErrorFromErrno(errno, ERROR_ACCESS_DENIED);
    }
    if (error != ERROR_SUCCESS) {
        if (!temporary.empty()) {
            unlink(temporary.c_str());
        }
        return Fail(error);
    }
    if (destination.exists) {
        Lin32ForgetFile(destination.info);
    }
    if (destination.driveType == DRIVE_REMOVABLE) {
        // The new name is on the disk only once its folder is.
        error = Lin32SyncPath(destination.folder);
        if (error != ERROR_SUCCESS) {
            return Fail(error);
        }
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL WINAPI DeleteFileA(LPCSTR name)
{
    Lin32Path path;
    DWORD error = Lin32Resolve(name, path);
    if (error != ERROR_SUCCESS) {
        return Fail(error);
    }
    if (!path.exists) {
        return Fail(ERROR_FILE_NOT_FOUND);
    }
    if (path.isRoot || S_ISDIR(path.info.st_mode) || Lin32IsReadOnly(path.info)) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (Lin32ShareConflict(path.info, LIN32_ACCESS_DELETE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE)) {
        return Fail(ERROR_SHARING_VIOLATION);
    }
    if (unlink(path.linuxPath.c_str()) != 0) {
        return Fail(Lin32ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
    }
    Lin32ForgetFile(path.info);
    if (path.driveType == DRIVE_REMOVABLE) {
        // The file is gone either way; a failed sync of its folder is not worth a retry
        // that could only fail with "file not found".
        Lin32SyncPath(path.folder);
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL WINAPI CreateDirectoryA(LPCSTR name, LPSECURITY_ATTRIBUTES security)
{
    (void)security;
    DWORD error = Lin32InjectedFailure(LIN32_OP_DIRECTORY);
    if (error != ERROR_SUCCESS) {
        return Fail(error);
    }
    Lin32Path path;
    error = Lin32Resolve(name, path);
    if (error != ERROR_SUCCESS) {
        return Fail(error);
    }
    if (path.isRoot) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (path.exists) {
        return Fail(ERROR_ALREADY_EXISTS);
    }
    if (mkdir(path.linuxPath.c_str(), 0777) != 0) {
        return Fail(Lin32ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
    }
    if (path.driveType == DRIVE_REMOVABLE) {
        Lin32SyncPath(path.folder);
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}
