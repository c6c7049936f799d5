// Drives and paths: the folder of drive links (as Wine's dosdevices), drive types, the
// process's current directory with its drive, and the resolution of Win32 paths to Linux
// paths with names matched regardless of case in the active code page.
#include "codepage.h"
#include "kernel_internal.h"
#include "lin32_files.h"

#include <algorithm>
#include <dirent.h>
#include <errno.h>
#include <filesystem>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

const int kDriveCount = 26;

// The drive map of the process: the folder of links, each drive's type (kept in memory
// only: a letter the process has not mapped is a fixed drive), the current directory.
struct DriveState {
    bool loaded = false;
    bool explicitFolder = false;    // set through Lin32SetDosDevices
    std::string folder;             // the folder of links; empty: no drives at all
    UINT types[kDriveCount] = {};
    char cwdDrive = 'C';  // the current directory; a process starts at the root of C:
    std::vector<std::string> cwdParts;
};

DriveState g_drives;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

char UpperLetter(char c) { return (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c; }

// The link of a drive; an empty name when the process has no drive map.
std::string LinkName(char drive)
{
    if (g_drives.folder.empty()) {
        return std::string();
    }
    std::string link = g_drives.folder;
    link += '/';
    link += (char)(UpperLetter(drive) - 'A' + 'a');
    link += ':';
    return link;
}

void MakeFolders(const std::string &path)
{
    std::error_code ignored;
    std::filesystem::create_directories(path, ignored);
}

// The drive map comes from Lin32SetDosDevices or $LIN32_DOSDEVICES, and from nowhere
// else: without one the process has no drives, so no path of a test that forgot its
// drives can reach a file outside them. A folder that does not exist yet is created
// with drive C: -> ../drive_c, as a fresh Wine prefix has it.
void EnsureLoaded()
{
    if (g_drives.loaded) {
        return;
    }
    g_drives.loaded = true;
    std::fill(std::begin(g_drives.types), std::end(g_drives.types), (UINT)DRIVE_FIXED);
    if (!g_drives.explicitFolder) {
        const char *configured = getenv("LIN32_DOSDEVICES");
        g_drives.folder = configured != NULL ? configured : "";
        if (g_drives.folder.empty()) {
            return;
        }
        struct stat info;
        if (stat(g_drives.folder.c_str(), &info) != 0) {
            MakeFolders(g_drives.folder);
            std::string driveC = g_drives.folder + "/../drive_c";
            mkdir(driveC.c_str(), 0755);
            if (symlink("../drive_c", (g_drives.folder + "/c:").c_str()) != 0) {
                // the folder stays without it; every path on C: then fails
            }
        }
    } else {
        MakeFolders(g_drives.folder);
    }
}

// Looks for the entry called name (code page) in the Linux folder: the exact name first,
// else one that equals it regardless of case, else the one with name as its 8.3 alias;
// the folder is read afresh every time.
bool FindEntry(const std::string &folder, const std::string &name, std::string &utf8,
               std::string &ansi)
{
    struct stat info;
    utf8 = Lin32AnsiToUtf8(name);
    ansi = name;
    if (lstat((folder + "/" + utf8).c_str(), &info) == 0) {
        return true;
    }
    DIR *dir = opendir(folder.c_str());
    if (dir == NULL) {
        return false;
    }
    bool found = false;
    bool aliases = Lin32AnyShortNames();
    while (struct dirent *entry = readdir(dir)) {
        std::string candidate, alias;
        if (strcmp(entry->d_name, ".") == 0 || strcmp(entry->d_name, "..") == 0 ||
            !Lin32NameFromLinux(entry->d_name, candidate)) {
            continue;
        }
        bool byAlias = !found && aliases &&
                       stat((folder + "/" + entry->d_name).c_str(), &info) == 0 &&
                       Lin32ShortName(info, alias) && Lin32NameEqual(alias, name);
        if (Lin32NameEqual(candidate, name) || byAlias) {
            utf8 = entry->d_name;
            ansi = candidate;
            found = true;
            if (!byAlias) {
                break;  // a long name wins over another entry's alias
            }
        }
    }
    closedir(dir);
    return found;
}

// Drive letter of a root name "X:", "X:\" or "X:/"; 0 when it is none.
char RootLetter(const char *root)
{
    if (root == NULL) {
        EnsureLoaded();
        return g_drives.cwdDrive;
    }
    if (!IsLetter(root[0]) || root[1] != ':') {
        return 0;
    }
    if (root[2] == '\0' || (IsSeparator(root[2]) && root[3] == '\0')) {
        return UpperLetter(root[0]);
    }
    return 0;
}

}  // namespace

// ---- names ------------------------------------------------------------------------------

bool Lin32NameInvalid(const std::string &ansi, bool allowWildcards)
{
    for (unsigned char c : ansi) {
        if (c < 0x20 || strchr("<>:\"/\\|", c) != NULL) {
            return true;
        }
        if (!allowWildcards && (c == '*' || c == '?')) {
            return true;
        }
    }
    return false;
}

bool Lin32NameFromLinux(const std::string &utf8, std::string &ansi)
{
    if (!Lin32Utf8ToAnsi(utf8, ansi)) {
        return false;
    }
    return !ansi.empty() && ansi.size() < MAX_PATH && !Lin32NameInvalid(ansi, false);
}

bool Lin32NameEqual(const std::string &a, const std::string &b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lin32UpperChar((unsigned char)a[i]) != Lin32UpperChar((unsigned char)b[i])) {
            return false;
        }
    }
    return true;
}

// ---- drives -----------------------------------------------------------------------------

DWORD Lin32DriveRoot(char drive, std::string &root, UINT &type, struct stat *rootInfo)
{
    EnsureLoaded();
    if (!IsLetter(drive)) {
        return ERROR_PATH_NOT_FOUND;
    }
    drive = UpperLetter(drive);
    root = LinkName(drive);
    if (root.empty()) {
        return ERROR_PATH_NOT_FOUND;
    }
    struct stat info;
    bool present = stat(root.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    // Only a link that leads nowhere needs a second look: is the letter mapped at all?
    struct stat link;
    if (!present && lstat(root.c_str(), &link) != 0) {
        return ERROR_PATH_NOT_FOUND;
    }
    type = g_drives.types[drive - 'A'];
    if (present && type == DRIVE_REMOVABLE) {
        // A disk that cannot be read counts as none (root reads anything, so the
        // permission bits are looked at too).
        DIR *dir = opendir(root.c_str());
        present = dir != NULL && (info.st_mode & (S_IRUSR | S_IXUSR)) == (S_IRUSR | S_IXUSR);
        if (dir != NULL) {
            closedir(dir);
        }
    }
    if (!present) {
        return type == DRIVE_REMOVABLE ? ERROR_NOT_READY : ERROR_PATH_NOT_FOUND;
    }
    if (rootInfo != NULL) {
        *rootInfo = info;
    }
    return ERROR_SUCCESS;
}

UINT Lin32DriveType(char drive)
{
    EnsureLoaded();
    if (!IsLetter(drive)) {
        return DRIVE_NO_ROOT_DIR;
    }
    struct stat info;
    std::string link = LinkName(drive);
    if (link.empty() || lstat(link.c_str(), &info) != 0) {
        return DRIVE_NO_ROOT_DIR;
    }
    return g_drives.types[UpperLetter(drive) - 'A'];
}

void Lin32SetDosDevices(const char *folder)
{
    g_drives = DriveState();
    if (folder != NULL) {
        g_drives.explicitFolder = true;
        g_drives.folder = folder;
    }
}

bool Lin32MapDrive(char letter, const char *folder, UINT type)
{
    EnsureLoaded();
    if (!IsLetter(letter) || folder == NULL || folder[0] == '\0' ||
        !(type == DRIVE_UNKNOWN || (type >= DRIVE_REMOVABLE && type <= DRIVE_RAMDISK))) {
        return false;
    }
    std::string target = folder;
    if (target[0] != '/') {
        char *here = getcwd(NULL, 0);
        if (here == NULL) {
            return false;
        }
        target = std::string(here) + "/" + target;
        free(here);
    }
    std::string link = LinkName(letter);
    unlink(link.c_str());
    if (symlink(target.c_str(), link.c_str()) != 0) {
        return false;
    }
    g_drives.types[UpperLetter(letter) - 'A'] = type;
    return true;
}

void Lin32UnmapDrive(char letter)
{
    EnsureLoaded();
    if (!IsLetter(letter)) {
        return;
    }
    unlink(LinkName(letter).c_str());
    g_drives.types[UpperLetter(letter) - 'A'] = DRIVE_FIXED;
}

void Lin32ResetDrives(void)
{
    EnsureLoaded();
    for (int i = 0; i < kDriveCount; ++i) {
        unlink(LinkName((char)('A' + i)).c_str());
        g_drives.types[i] = DRIVE_FIXED;
    }
    g_drives.cwdDrive = 'C';
    g_drives.cwdParts.clear();
}

// ---- paths ------------------------------------------------------------------------------

DWORD Lin32ParsePath(const char *path, bool keepLast, Lin32Parsed &parsed)
{
    EnsureLoaded();
    parsed.drive = g_drives.cwdDrive;
    parsed.parts.clear();
    parsed.trailingSeparator = false;
    if (path == NULL || path[0] == '\0') {
        return ERROR_PATH_NOT_FOUND;
    }
    size_t length = strlen(path);
    if (length >= MAX_PATH) {
        return ERROR_FILENAME_EXCED_RANGE;
    }
    const char *rest = path;
    if (IsSeparator(path[0]) && IsSeparator(path[1])) {
        return ERROR_PATH_NOT_FOUND;  // UNC names and device paths are not supported
    }
    if (IsLetter(path[0]) && path[1] == ':') {
        parsed.drive = UpperLetter(path[0]);
        rest = path + 2;
        if (IsSeparator(*rest)) {
            ++rest;
        } else if (parsed.drive == g_drives.cwdDrive) {
            parsed.parts = g_drives.cwdParts;  // "C:name" is relative on the current drive
        }
    } else if (IsSeparator(path[0])) {
        rest = path + 1;
    } else {
        parsed.parts = g_drives.cwdParts;
    }
    parsed.trailingSeparator = length > 0 && IsSeparator(path[length - 1]);

    std::vector<std::string> pieces;
    std::string piece;
    for (const char *p = rest;; ++p) {
        if (*p == '\0' || IsSeparator(*p)) {
            if (!piece.empty()) {
                pieces.push_back(piece);
            }
            piece.clear();
            if (*p == '\0') {
                break;
            }
        } else {
            piece += *p;
        }
    }
    for (size_t i = 0; i < pieces.size(); ++i) {
        std::string part = pieces[i];
        if (part == ".") {
            continue;
        }
        if (part == "..") {
            // never above the root of the drive, as on Windows
            if (!parsed.parts.empty()) {
                parsed.parts.pop_back();
            }
            continue;
        }
        bool last = i + 1 == pieces.size() && !parsed.trailingSeparator;
        if (!(keepLast && last)) {
            // Windows drops trailing dots and blanks of a name.
            while (!part.empty() && (part.back() == '.' || part.back() == ' ')) {
                part.pop_back();
            }
        }
        if (!part.empty()) {
            parsed.parts.push_back(part);
        }
    }
    return ERROR_SUCCESS;
}

DWORD Lin32ResolveParsed(const Lin32Parsed &parsed, Lin32Path &path)
{
    path.drive = parsed.drive;
    path.parts = parsed.parts;
    path.isRoot = parsed.parts.empty();
    path.exists = false;
    path.name.clear();
    memset(&path.info, 0, sizeof path.info);
    std::string root;
    struct stat rootInfo;
    DWORD error = Lin32DriveRoot(parsed.drive, root, path.driveType, &rootInfo);
    if (error != ERROR_SUCCESS) {
        return error;
    }
    std::string current = root;
    if (path.isRoot) {
        path.linuxPath = root;
        path.folder = root;
        path.exists = true;
        path.info = rootInfo;
        return ERROR_SUCCESS;
    }
    for (size_t i = 0; i < parsed.parts.size(); ++i) {
        bool last = i + 1 == parsed.parts.size();
        std::string utf8, ansi;
        struct stat info;
        bool found = FindEntry(current, parsed.parts[i], utf8, ansi);
        std::string entry = current + "/" + (found ? utf8 : Lin32AnsiToUtf8(parsed.parts[i]));
        bool exists = found && stat(entry.c_str(), &info) == 0;
        if (!last) {
            if (!exists || !S_ISDIR(info.st_mode)) {
                return ERROR_PATH_NOT_FOUND;
            }
            current = entry;
            continue;
        }
        path.folder = current;
        path.linuxPath = entry;
        path.name = found ? ansi : parsed.parts[i];
        path.exists = exists;
        if (exists) {
            path.info = info;
        }
    }
    return ERROR_SUCCESS;
}

DWORD Lin32Resolve(const char *name, Lin32Path &resolved)
{
    Lin32Parsed parsed;
    DWORD error = Lin32ParsePath(name, false, parsed);
    if (error != ERROR_SUCCESS) {
        return error;
    }
    for (const std::string &part : parsed.parts) {
        if (Lin32NameInvalid(part, false)) {
            return ERROR_INVALID_NAME;
        }
    }
    return Lin32ResolveParsed(parsed, resolved);
}

bool Lin32LinuxPath(const char *win32Path, std::string &linuxPath)
{
    Lin32Path path;
    if (Lin32Resolve(win32Path, path) != ERROR_SUCCESS) {
        return false;
    }
    linuxPath = path.linuxPath;
    return true;
}

// ---- KERNEL32 -----------------------------------------------------------------------------

BOOL WINAPI SetCurrentDirectoryA(LPCSTR name)
{
    Lin32Path path;
    DWORD error = Lin32Resolve(name, path);
    if (error == ERROR_SUCCESS && !path.exists) {
        error = ERROR_FILE_NOT_FOUND;
    } else if (error == ERROR_SUCCESS && !S_ISDIR(path.info.st_mode)) {
        error = ERROR_DIRECTORY;
    }
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return FALSE;
    }
    g_drives.cwdDrive = path.drive;
    g_drives.cwdParts = path.parts;
    return TRUE;
}

DWORD WINAPI GetCurrentDirectoryA(DWORD size, LPSTR buffer)
{
    EnsureLoaded();
    std::string text(1, g_drives.cwdDrive);
    text += ":\\";
    for (size_t i = 0; i < g_drives.cwdParts.size(); ++i) {
        if (i > 0) {
            text += '\\';
        }
        text += g_drives.cwdParts[i];
    }
    if (buffer == NULL || size <= text.size()) {
        return (DWORD)text.size() + 1;
    }
    memcpy(buffer, text.c_str(), text.size() + 1);
    return (DWORD)text.size();
}

UINT WINAPI GetDriveTypeA(LPCSTR root)
{
    char drive = RootLetter(root);
    return drive == 0 ? DRIVE_NO_ROOT_DIR : Lin32DriveType(drive);
}

BOOL WINAPI GetDiskFreeSpaceA(LPCSTR root, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector,
                              LPDWORD freeClusters, LPDWORD totalClusters)
{
    char drive = RootLetter(root);
    if (drive == 0) {
        SetLastError(ERROR_INVALID_NAME);
        return FALSE;
    }
    std::string folder;
    UINT type;
    DWORD error = Lin32DriveRoot(drive, folder, type);
    struct statvfs disk;
    if (error == ERROR_SUCCESS && statvfs(folder.c_str(), &disk) != 0) {
        error = type == DRIVE_REMOVABLE ? ERROR_NOT_READY : ERROR_PATH_NOT_FOUND;
    }
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return FALSE;
    }
    // Sectors of 512 bytes, one file-system block a cluster; counts beyond 32 bits are
    // held at the largest, as Windows holds them.
    const uint64_t sector = 512;
    uint64_t block = disk.f_frsize > 0 ? disk.f_frsize : disk.f_bsize;
    uint64_t perCluster = block >= sector ? block / sector : 1;
    uint64_t cluster = perCluster * sector;
    uint64_t counts[2] = {(uint64_t)disk.f_bavail * block / cluster,
                          (uint64_t)disk.f_blocks * block / cluster};
    DWORD values[4] = {(DWORD)perCluster, (DWORD)sector,
                       counts[0] > 0xFFFFFFFFu ? 0xFFFFFFFFu : (DWORD)counts[0],
                       counts[1] > 0xFFFFFFFFu ? 0xFFFFFFFFu : (DWORD)counts[1]};
    LPDWORD outputs[4] = {sectorsPerCluster, bytesPerSector, freeClusters, totalClusters};
    for (int i = 0; i < 4; ++i) {
        if (outputs[i] != NULL) {
            *outputs[i] = values[i];
        }
    }
    return TRUE;
}
