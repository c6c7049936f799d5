// What only the Linux layer's file part has: the drive map, and the hooks through which
// tests give files what Linux cannot (8.3 aliases, huge sizes) and make operations fail.
// The product code never includes this header.
//
// Drives work as in Wine: a folder of links named a: ... z:, each pointing at the folder
// that is the drive's root. The folder is the one given to Lin32SetDosDevices, else
// $LIN32_DOSDEVICES (CTest gives every test one of its own in the build folder); when it
// does not exist it is created with c: -> ../drive_c. Without either the process has no
// drives at all. Drive types live in the process: a letter it has not mapped with a
// type is a fixed drive.
#ifndef LIN32_FILES_H
#define LIN32_FILES_H

#include "windows.h"

#include <stdint.h>
#include <string>

// ---- drives ----------------------------------------------------------------------
// Uses folder as the folder of drive links from now on (created when missing, without
// default drives); NULL goes back to $LIN32_DOSDEVICES. The drive types and the current
// directory are recomputed.
void Lin32SetDosDevices(const char *folder);

// Maps letter (a-z, either case) to folder with a type: DRIVE_FIXED, DRIVE_REMOVABLE,
// DRIVE_REMOTE, DRIVE_CDROM, DRIVE_RAMDISK or DRIVE_UNKNOWN. The folder need not exist:
// a removable drive whose folder is missing or unreadable holds no disk.
bool Lin32MapDrive(char letter, const char *folder, UINT type);
void Lin32UnmapDrive(char letter);
// Unmaps every letter; the current directory falls back to the root of drive C:.
void Lin32ResetDrives(void);

// The Linux path that a Win32 path names (resolved the layer's way: drive map, current
// directory, case-insensitive names). False when its folder cannot be reached.
bool Lin32LinuxPath(const char *win32Path, std::string &linuxPath);

// ---- what Linux does not have --------------------------------------------------------
// Gives the existing entry win32Path an 8.3 alias (cAlternateFileName, GetShortPathNameA);
// an empty alias removes it. Aliases live as long as the process.
bool Lin32SetShortName(const char *win32Path, const char *alias);
// From now on the drive gives every long name that the layer creates or renames on it
// (CopyFileA, MoveFileExA, CreateFileA, CreateDirectoryA) an alias as FAT does: the
// first letters, "~" and the lowest number free in its folder (MESSTA~1.MAS, then
// MESSTA~2.MAS). So two drives can give one alias to different charts. Cleared, with
// every alias, by Lin32ClearShortNames.
void Lin32SetDriveShortNames(char letter, bool makesShortNames);
void Lin32ClearShortNames(void);

// Makes the directory search report size for the existing file win32Path.
bool Lin32SetReportedSize(const char *win32Path, uint64_t size);
void Lin32ClearReportedSizes(void);

// ---- fault injection -----------------------------------------------------------------
// Operations counted for injection. Writes: every WriteFile and every block written by
// CopyFileA and WritePrivateProfileStringA. Reads: every block read by CopyFileA.
// Renames: each MoveFileExA. Flushes: FlushFileBuffers and the syncs of a removable
// drive. Directory operations: CreateDirectoryA. Copies: each CopyFileA as a whole,
// before it opens anything. Finds: each FindFirstFileA; find-nexts: each FindNextFileA.
enum Lin32Operation {
    LIN32_OP_WRITE,
    LIN32_OP_RENAME,
    LIN32_OP_FLUSH,
    LIN32_OP_DIRECTORY,
    LIN32_OP_COPY,
    LIN32_OP_FIND,
    LIN32_OP_FIND_NEXT,
    LIN32_OP_READ,
    LIN32_OP_COUNT
};

// Counting from now, operations nth .. nth + times - 1 of that kind fail with error
// (ERROR_DISK_FULL, ERROR_WRITE_FAULT, ERROR_NO_MORE_FILES, ...). nth starts at 1.
void Lin32FailOperation(Lin32Operation operation, int nth, DWORD error, int times);
// Forgets every pending failure and restarts the counts.
void Lin32ClearFailures(void);
// Operations of that kind since the last Lin32FailOperation or Lin32ClearFailures.
int Lin32OperationCount(Lin32Operation operation);

// Called at every counted operation, before it is done (nth counts as above), so that
// a test can change the world at that moment: take a drive away, say. Null removes it;
// Lin32ClearFailures does too.
typedef void (*Lin32OperationHook)(void *context, Lin32Operation operation, int nth);
void Lin32SetOperationHook(Lin32OperationHook hook, void *context);

#endif
