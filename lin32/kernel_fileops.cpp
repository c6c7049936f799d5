// CopyFileA, DeleteFileA and CreateDirectoryA with Windows' outcomes. A copy never shows
// a partial destination. A new file is written unnamed (O_TMPFILE) in the destination
// folder and linked under its name only when complete, so a failure, or a process
// killed while it copies, leaves nothing. A replacement, and a copy where no unnamed
// file can be had or named, is written to a temporary file renamed over the target,
// so a failure leaves the old destination as it was.
#include "kernel_internal.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
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

// Set once an unnamed file could not be named (no capability and no /proc): later new
// files go through a temporary name at once instead of being written twice.
bool g_unnamedCannotBeNamed = false;

// Writes the open source into the new file fd and gives it the source's hidden/system
// bits, permissions and time of last change; synced on a removable drive. copyInfo is
// the new file's stat where bits were stored for it, else its st_ino is 0.
DWORD FillCopy(int source, const struct stat &sourceInfo, int fd, UINT driveType,
               struct stat &copyInfo)
{
    copyInfo.st_ino = 0;
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
        // Before the mode: a read-only file refuses new attributes even to its owner.
        DWORD bits = Lin32StoredDosBitsOfOpen(source, sourceInfo);
        if (bits != 0 && fstat(fd, &copyInfo) == 0) {
            Lin32StoreDosBitsOfOpen(fd, copyInfo, bits);
        }
    }
    if (error == ERROR_SUCCESS) {
        struct timespec times[2] = {sourceInfo.st_atim, sourceInfo.st_mtim};
        if (fchmod(fd, sourceInfo.st_mode & 07777) != 0 || futimens(fd, times) != 0) {
            error = Lin32ErrorFromErrno(errno, ERROR_ACCESS_DENIED);
        }
    }
    if (error == ERROR_SUCCESS && driveType == DRIVE_REMOVABLE) {
        error = Lin32InjectedFailure(LIN32_OP_FLUSH);
        if (error == ERROR_SUCCESS && fsync(fd) != 0) {
            error = Lin32ErrorFromErrno(errno, ERROR_WRITE_FAULT);
        }
    }
    return error;
}

// Bits kept in memory (file systems without extended attributes) for a copy that did
// not come about would otherwise mark the next file given its inode number.
void ForgetFailedCopy(const struct stat &copyInfo)
{
    if (copyInfo.st_ino != 0) {
        Lin32ForgetFile(copyInfo);
    }
}

// Gives the unnamed file fd the name target. Where the kernel links an open file only
// for a privileged caller, its /proc name serves. Returns 0 or an errno.
int NameUnnamed(int fd, const std::string &target)
{
    if (linkat(fd, "", AT_FDCWD, target.c_str(), AT_EMPTY_PATH) == 0) {
        return 0;
    }
    if (errno != ENOENT && errno != EPERM) {
        return errno;
    }
    char proc[48];
    snprintf(proc, sizeof proc, "/proc/self/fd/%d", fd);
    if (linkat(AT_FDCWD, proc, AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        return 0;
    }
    return errno;
}

// A new file, written unnamed and named when complete. unavailable is set, and nothing
// is left behind, where the file system has no unnamed files, where one cannot be
// named, or where the name has been taken since the caller looked (the copy then
// replaces it, as Windows would).
DWORD CopyUnnamed(int source, const struct stat &sourceInfo, const Lin32Path &target,
                  bool &unavailable)
{
    unavailable = false;
    int fd = open(target.folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0) {
        unavailable = true;
        return ERROR_SUCCESS;
    }
    struct stat copyInfo;
    DWORD error = FillCopy(source, sourceInfo, fd, target.driveType, copyInfo);
    if (error == ERROR_SUCCESS) {
        // Network and FUSE file systems report a late write error at a close: closing a
        // second descriptor asks for it while the copy has no name yet.
        int probe = dup(fd);
        if (probe < 0 || close(probe) != 0) {
            error = Lin32ErrorFromErrno(errno, ERROR_WRITE_FAULT);
        }
    }
    if (error == ERROR_SUCCESS) {
        error = Lin32InjectedFailure(LIN32_OP_RENAME);
    }
    bool named = false;
    if (error == ERROR_SUCCESS) {
        int failure = NameUnnamed(fd, target.linuxPath);
        named = failure == 0;
        struct stat folderInfo;
        if ((failure == ENOENT || failure == EPERM) &&
            stat(target.folder.c_str(), &folderInfo) == 0) {
            g_unnamedCannotBeNamed = true;  // not a folder gone since the look-up
        }
        if (failure == EEXIST || failure == ENOENT || failure == EPERM || failure == EACCES) {
            unavailable = true;
        } else if (failure != 0) {
            error = Lin32ErrorFromErrno(failure, ERROR_ACCESS_DENIED);
        }
    }
    if (close(fd) != 0 && named) {
        // Still a late write error: the copy is not whole, and its new name goes again.
        error = Lin32ErrorFromErrno(errno, ERROR_WRITE_FAULT);
        unlink(target.linuxPath.c_str());
    }
    if (!named || error != ERROR_SUCCESS) {
        ForgetFailedCopy(copyInfo);
    }
    return error;
}

// A copy through a temporary name in the target's folder, renamed over the target.
DWORD CopyViaTemporary(int source, const struct stat &sourceInfo, const Lin32Path &target)
{
    std::string temporary;
    int fd = Lin32CreateTemporary(target.folder, temporary);
    if (fd < 0) {
        return Lin32ErrorFromErrno(errno, ERROR_ACCESS_DENIED);
    }
    struct stat copyInfo;
    DWORD error = FillCopy(source, sourceInfo, fd, target.driveType, copyInfo);
    if (close(fd) != 0 && error == ERROR_SUCCESS) {
        error = Lin32ErrorFromErrno(errno, ERROR_WRITE_FAULT);
    }
    if (error == ERROR_SUCCESS) {
        error = Lin32InjectedFailure(LIN32_OP_RENAME);
    }
    if (error == ERROR_SUCCESS && rename(temporary.c_str(), target.linuxPath.c_str()) != 0) {
        error = Lin32ErrorFromErrno(errno, ERROR_ACCESS_DENIED);
    }
    if (error != ERROR_SUCCESS) {
        unlink(temporary.c_str());
        ForgetFailedCopy(copyInfo);
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
    bool unavailable = true;
    if (!destination.exists && !g_unnamedCannotBeNamed) {
        error = CopyUnnamed(fd, source.info, destination, unavailable);
    }
    if (unavailable) {
        error = lseek(fd, 0, SEEK_SET) == 0 ? CopyViaTemporary(fd, source.info, destination)
                                            : Lin32ErrorFromErrno(errno, ERROR_READ_FAULT);
    }
    close(fd);
    if (error != ERROR_SUCCESS) {
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
