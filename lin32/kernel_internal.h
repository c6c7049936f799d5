// Shared inside the layer's KERNEL32 part (kernel_*.cpp): path resolution, the open
// handles, DOS attributes, error mapping and fault injection.
#ifndef LIN32_KERNEL_INTERNAL_H
#define LIN32_KERNEL_INTERNAL_H

#include "lin32_files.h"
#include "windows.h"

#include <stdint.h>
#include <string>
#include <sys/stat.h>
#include <vector>

// A code that windows.h of the program does not need but the layer reports.
enum { LIN32_ERROR_WRITE_PROTECT = 19 };

// ---- paths (kernel_paths.cpp) ------------------------------------------------------
// A Win32 path taken apart: drive letter (upper case) and its components from the root,
// "." and ".." already applied.
struct Lin32Parsed {
    char drive;
    std::vector<std::string> parts;
    bool trailingSeparator;
};

// What a path names on Linux.
struct Lin32Path {
    char drive;              // 'A'..'Z'
    UINT driveType;
    std::vector<std::string> parts;  // the components as the caller wrote them
    std::string linuxPath;   // the entry, with the real names of the existing components
    std::string folder;      // Linux path of the folder holding it (the root for a root)
    std::string name;        // the entry's name in the code page: the existing one's own
    bool isRoot;
    bool exists;
    struct stat info;        // valid when exists
};

// Takes a Win32 path apart against the current directory. keepLast leaves the last
// component as written (search patterns: trailing dots mean something there).
DWORD Lin32ParsePath(const char *path, bool keepLast, Lin32Parsed &parsed);
// Finds parsed on Linux. Every component but the last must be an existing folder
// (else ERROR_PATH_NOT_FOUND); the last may be missing (exists false).
DWORD Lin32ResolveParsed(const Lin32Parsed &parsed, Lin32Path &path);
// Both steps; checks the names for characters Windows does not allow in file names.
DWORD Lin32Resolve(const char *path, Lin32Path &resolved);

// The drive's root folder ("<dosdevices>/x:"), and its stat when rootInfo is not NULL;
// error when the drive is not mapped or a removable drive holds no disk.
DWORD Lin32DriveRoot(char drive, std::string &root, UINT &type, struct stat *rootInfo = NULL);
UINT Lin32DriveType(char drive);

// A Linux name in the code page, or false when it has no form there or is no valid
// Windows file name (such entries cannot be named by the program).
bool Lin32NameFromLinux(const std::string &utf8, std::string &ansi);
bool Lin32NameEqual(const std::string &a, const std::string &b);
// True when the name holds a character Windows forbids in file names.
bool Lin32NameInvalid(const std::string &ansi, bool allowWildcards);

// ---- handles (kernel_files.cpp) ------------------------------------------------------
// True when an open handle on the file stands against a new opening with that access
// and sharing (the Windows share-mode rule).
bool Lin32ShareConflict(const struct stat &info, DWORD access, DWORD share);
// Deletion access for DeleteFileA and for replacing a file.
enum { LIN32_ACCESS_DELETE = 0x00010000 };

// ---- attributes (kernel_attributes.cpp) ----------------------------------------------
DWORD Lin32Attributes(const std::string &linuxPath, const std::string &name,
                      const struct stat &info);
bool Lin32IsReadOnly(const struct stat &info);
// Hidden and system bits kept with the file (Wine's user.DOSATTRIB attribute).
DWORD Lin32StoredDosBits(const std::string &linuxPath, const struct stat &info);
bool Lin32StoreDosBits(const std::string &linuxPath, const struct stat &info, DWORD bits);
void Lin32ForgetFile(const struct stat &info);  // aliases and sizes of a removed file
bool Lin32ShortName(const struct stat &info, std::string &alias);
bool Lin32AnyShortNames(void);
// Called for an entry just created or renamed: an alias it had goes, and on a drive that
// makes 8.3 aliases a long name gets the next free one of its folder.
void Lin32NameCreated(const Lin32Path &path);
bool Lin32ReportedSize(const struct stat &info, uint64_t &size);

// ---- shared helpers ------------------------------------------------------------------
DWORD Lin32ErrorFromErrno(int error, DWORD fallback);
// The error to fail the next operation of that kind with, or ERROR_SUCCESS.
DWORD Lin32InjectedFailure(Lin32Operation operation);
FILETIME Lin32FileTime(const struct timespec &time);
// fsync of a file or folder by name (removable drives); error code or ERROR_SUCCESS.
DWORD Lin32SyncPath(const std::string &linuxPath);
// Writes all of data, as counted writes; error code or ERROR_SUCCESS.
DWORD Lin32WriteAll(int fd, const char *data, size_t size);

#endif
