// CopyFileA, MoveFileExA, DeleteFileA and CreateDirectoryA with Windows' outcomes, and no
// kinder. CopyFileA writes the destination in place, as Windows and Wine do: a copy that
// fails midway has already destroyed the file it was replacing and leaves what it wrote
// under the destination's name, with the source's time of last change (as Wine leaves
// it). MoveFileExA renames within one drive and refuses a read-only target, as Windows
// does (Wine replaces it).
#include "codepage.h"
#include "kernel_internal.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// One buffer for every copy: a chart is copied in one block. The layer is used from
// one thread.
char g_copyBuffer[65536];

BOOL Fail(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

// Writes the open source into the open destination; every block counts as a write.
DWORD CopyData(int source, int destination)
{
    for (;;) {
        DWORD injected = Lin32InjectedFailure(LIN32_OP_READ);
        if (injected != ERROR_SUCCESS) {
            return injected;
        }
        ssize_t got = read(source, g_copyBuffer, sizeof g_copyBuffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return Lin32ErrorFromErrno(errno, ERROR_READ_FAULT);
        }
        if (got == 0) {
            return ERROR_SUCCESS;
        }
        DWORD error = Lin32WriteAll(destination, g_copyBuffer, (size_t)got);
        if (error != ERROR_SUCCESS) {
            return error;
        }
    }
}

// What Windows refuses of a file that a copy or a rename would replace: a folder, a
// read-only or hidden file (CopyFileA), a file held open without the sharing it needs.
DWORD CheckReplaceable(const Lin32Path &target, DWORD refusedAttributes, DWORD access)
{
    DWORD attributes = Lin32Attributes(target.linuxPath, target.name, target.info);
    if (S_ISDIR(target.info.st_mode) || (attributes & refusedAttributes) != 0) {
        return ERROR_ACCESS_DENIED;
    }
    if (Lin32ShareConflict(target.info, access,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE)) {
        return ERROR_SHARING_VIOLATION;
    }
    return ERROR_SUCCESS;
}

bool SameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Both names of a copy or a rename: an existing source, and a target that is no root.
DWORD ResolveBoth(LPCSTR existing, LPCSTR target, Lin32Path &source, Lin32Path &destination)
{
    DWORD error = Lin32Resolve(existing, source);
    if (error == ERROR_SUCCESS && !source.exists) {
        error = ERROR_FILE_NOT_FOUND;
    }
    if (error == ERROR_SUCCESS) {
        error = Lin32Resolve(target, destination);
    }
    if (error == ERROR_SUCCESS && (source.isRoot || destination.isRoot)) {
        error = ERROR_ACCESS_DENIED;
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
    error = ResolveBoth(existing, target, source, destination);
    if (error == ERROR_SUCCESS && S_ISDIR(source.info.st_mode)) {
        error = ERROR_ACCESS_DENIED;
    }
    if (error != ERROR_SUCCESS) {
        return Fail(error);
    }
    if (destination.exists) {
        // Two names of one file (also through two drive letters that share a folder).
        if (SameFile(destination.info, source.info)) {
            return Fail(ERROR_SHARING_VIOLATION);
        }
        if (failIfExists) {
            return Fail(ERROR_FILE_EXISTS);
        }
        error = CheckReplaceable(destination, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN,
                                 GENERIC_WRITE | LIN32_ACCESS_DELETE);
        if (error != ERROR_SUCCESS) {
            return Fail(error);
        }
    }
    if (Lin32ShareConflict(source.info, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE)) {
        return Fail(ERROR_SHARING_VIOLATION);
    }
    int from = open(source.linuxPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (from < 0) {
        return Fail(Lin32ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
    }
    // With failIfExists the name is taken only if nobody took it since the look-up.
    int flags = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | (failIfExists ? O_EXCL : 0);
    int to = open(destination.linuxPath.c_str(), flags, 0666);
    if (to < 0) {
        error = Lin32ErrorFromErrno(errno, ERROR_ACCESS_DENIED);
        close(from);
        return Fail(error == ERROR_ALREADY_EXISTS ? ERROR_FILE_EXISTS : error);
    }
    error = CopyData(from, to);
    if (error == ERROR_SUCCESS) {
        // Before the mode: a read-only file refuses new attributes even to its owner.
        DWORD bits = Lin32StoredDosBits(source.linuxPath, source.info);
        struct stat copyInfo;
        if (bits != 0 && fstat(to, &copyInfo) == 0) {
            Lin32StoreDosBits(destination.linuxPath, copyInfo, bits);
        }
        if (fchmod(to, source.info.st_mode & 07777) != 0) {
            error = Lin32ErrorFromErrno(errno, ERROR_ACCESS_DENIED);
        }
    }
    if (error == ERROR_SUCCESS && destination.driveType == DRIVE_REMOVABLE) {
        error = Lin32InjectedFailure(LIN32_OP_FLUSH);
        if (error == ERROR_SUCCESS && fsync(to) != 0) {
            error = Lin32ErrorFromErrno(errno, ERROR_WRITE_FAULT);
        }
    }
    // Complete or not, the destination carries the source's time of last change.
    struct timespec times[2] = {source.info.st_atim, source.info.st_mtim};
    futimens(to, times);
    if (close(to) != 0 && error == ERROR_SUCCESS) {
        error = Lin32ErrorFromErrno(errno, ERROR_WRITE_FAULT);
    }
    close(from);
    if (!destination.exists) {
        Lin32NameCreated(destination);
    }
    if (error != ERROR_SUCCESS) {
        return Fail(error);
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

BOOL WINAPI MoveFileExA(LPCSTR existing, LPCSTR target, DWORD flags)
{
    Lin32Path source, destination;
    DWORD error = ResolveBoth(existing, target, source, destination);
    if (error != ERROR_SUCCESS) {
        return Fail(error);
    }
    // A rename stays on its volume: two letters are one volume only when they lead to
    // one folder.
    std::string sourceRoot, destinationRoot;
    UINT type;
    struct stat sourceRootInfo, destinationRootInfo;
    if (Lin32DriveRoot(source.drive, sourceRoot, type, &sourceRootInfo) != ERROR_SUCCESS ||
        Lin32DriveRoot(destination.drive, destinationRoot, type, &destinationRootInfo) !=
            ERROR_SUCCESS) {
        return Fail(ERROR_PATH_NOT_FOUND);
    }
    if (!SameFile(sourceRootInfo, destinationRootInfo)) {
        return Fail(ERROR_NOT_SAME_DEVICE);
    }
    if (Lin32ShareConflict(source.info, LIN32_ACCESS_DELETE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE)) {
        return Fail(ERROR_SHARING_VIOLATION);
    }
    bool replaces = destination.exists && !SameFile(destination.info, source.info);
    if (replaces) {
        if (!(flags & MOVEFILE_REPLACE_EXISTING)) {
            return Fail(ERROR_ALREADY_EXISTS);
        }
        if (S_ISDIR(source.info.st_mode)) {
            return Fail(ERROR_ACCESS_DENIED);
        }
        error = CheckReplaceable(destination, FILE_ATTRIBUTE_READONLY, LIN32_ACCESS_DELETE);
        if (error != ERROR_SUCCESS) {
            return Fail(ERROR_ACCESS_DENIED);
        }
    }
    error = Lin32InjectedFailure(LIN32_OP_RENAME);
    if (error != ERROR_SUCCESS) {
        return Fail(error);
    }
    if (rename(source.linuxPath.c_str(), destination.linuxPath.c_str()) != 0) {
        return Fail(Lin32ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
    }
    if (replaces) {
        Lin32ForgetFile(destination.info);
    }
    // The entry takes the name as written, also where it replaced one spelt otherwise.
    std::string written = destination.folder + "/" + Lin32AnsiToUtf8(destination.parts.back());
    if (written != destination.linuxPath &&
        rename(destination.linuxPath.c_str(), written.c_str()) == 0) {
        destination.linuxPath = written;
    }
    destination.name = destination.parts.back();
    // On a drive with 8.3 aliases the new name gets one of its own. (Nothing is synced:
    // Windows writes a rename through only when told to, with MOVEFILE_WRITE_THROUGH.)
    Lin32NameCreated(destination);
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
    Lin32NameCreated(path);
    if (path.driveType == DRIVE_REMOVABLE) {
        Lin32SyncPath(path.folder);
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}
