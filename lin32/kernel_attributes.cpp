// DOS attributes of Linux files, as Wine maps them: directory from the file type,
// read-only from the missing owner write bit (tests run as root, who ignores permission
// bits, so the layer tests the bit itself), hidden for dot names, hidden and system as
// set by SetFileAttributesA kept in the extended attribute user.DOSATTRIB (in memory where
// the file system has none). Also the per-file data that only tests give: 8.3 aliases
// and reported sizes.
#include "codepage.h"
#include "kernel_internal.h"

#include <algorithm>
#include <dirent.h>
#include <errno.h>
#include <map>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/xattr.h>
#include <utility>

namespace {

typedef std::pair<dev_t, ino_t> FileKey;

const char kDosAttribute[] = "user.DOSATTRIB";
const DWORD kStoredBits = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

std::map<FileKey, DWORD> g_storedBits;  // where extended attributes are not supported
std::map<FileKey, std::string> g_aliases;
std::map<FileKey, uint64_t> g_sizes;
bool g_makesShortNames[26];  // drives that give new long names an alias, as FAT does

FileKey KeyOf(const struct stat &info) { return FileKey(info.st_dev, info.st_ino); }

}  // namespace

bool Lin32IsReadOnly(const struct stat &info)
{
    return !S_ISDIR(info.st_mode) && (info.st_mode & S_IWUSR) == 0;
}

DWORD Lin32StoredDosBits(const std::string &linuxPath, const struct stat &info)
{
    char text[32];
    ssize_t length = getxattr(linuxPath.c_str(), kDosAttribute, text, sizeof text - 1);
    if (length > 0) {
        text[length] = '\0';
        return (DWORD)strtoul(text, NULL, 16) & kStoredBits;
    }
    auto found = g_storedBits.find(KeyOf(info));
    return found == g_storedBits.end() ? 0 : found->second;
}

bool Lin32StoreDosBits(const std::string &linuxPath, const struct stat &info, DWORD bits)
{
    bits &= kStoredBits;
    g_storedBits.erase(KeyOf(info));
    if (bits == 0) {
        return removexattr(linuxPath.c_str(), kDosAttribute) == 0 || errno == ENODATA ||
               errno == ENOTSUP;
    }
    char text[32];
    snprintf(text, sizeof text, "0x%x", (unsigned)bits);
    if (setxattr(linuxPath.c_str(), kDosAttribute, text, strlen(text), 0) == 0) {
        return true;
    }
    if (errno != ENOTSUP) {
        return false;
    }
    g_storedBits[KeyOf(info)] = bits;
    return true;
}

DWORD Lin32Attributes(const std::string &linuxPath, const std::string &name,
                      const struct stat &info)
{
    DWORD attributes = S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    if (Lin32IsReadOnly(info)) {
        attributes |= FILE_ATTRIBUTE_READONLY;
    }
    if (!name.empty() && name[0] == '.' && name != "." && name != "..") {
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    }
    return attributes | Lin32StoredDosBits(linuxPath, info);
}

void Lin32ForgetFile(const struct stat &info)
{
    g_storedBits.erase(KeyOf(info));
    g_aliases.erase(KeyOf(info));
    g_sizes.erase(KeyOf(info));
}

template <class Value>
static bool Lookup(const std::map<FileKey, Value> &kept, const struct stat &info, Value &value)
{
    auto found = kept.find(KeyOf(info));
    if (found != kept.end()) {
        value = found->second;
    }
    return found != kept.end();
}

bool Lin32ShortName(const struct stat &info, std::string &alias)
{
    return Lookup(g_aliases, info, alias);
}

bool Lin32AnyShortNames(void) { return !g_aliases.empty(); }

bool Lin32ReportedSize(const struct stat &info, uint64_t &size)
{
    return Lookup(g_sizes, info, size);
}

bool Lin32SetShortName(const char *win32Path, const char *alias)
{
    Lin32Path path;
    if (alias == NULL || Lin32Resolve(win32Path, path) != ERROR_SUCCESS || !path.exists ||
        path.isRoot) {
        return false;
    }
    std::string text = alias;
    // cAlternateFileName holds 13 characters and the NUL.
    if (text.size() > 12 || Lin32NameInvalid(text, false)) {
        return false;
    }
    if (text.empty()) {
        g_aliases.erase(KeyOf(path.info));
    } else {
        g_aliases[KeyOf(path.info)] = text;
    }
    return true;
}

void Lin32ClearShortNames(void)
{
    g_aliases.clear();
    for (bool &makes : g_makesShortNames) {
        makes = false;
    }
}

void Lin32SetDriveShortNames(char letter, bool makesShortNames)
{
    char upper = (char)(letter & ~0x20);
    if (upper >= 'A' && upper <= 'Z') {
        g_makesShortNames[upper - 'A'] = makesShortNames;
    }
}

namespace {

// Whether a name is already an 8.3 name, so that FAT gives it no alias: one dot at
// most, a base of 1 to 8 and an extension of at most 3 characters, no blank and none of
// the characters that only long names may hold.
bool IsShortForm(const std::string &name)
{
    size_t dot = name.find('.');
    size_t base = dot == std::string::npos ? name.size() : dot;
    return base >= 1 && base <= 8 && name.size() - base <= 4 &&
           name.find('.', base + 1) == std::string::npos &&
           name.find_first_of(" +,;=[]") == std::string::npos;
}

// The letters of text as an alias holds them: upper case, no blanks or dots, "_" for the
// characters that only long names may hold.
std::string ShortChars(const std::string &text)
{
    std::string result;
    for (char c : text) {
        if (c != ' ' && c != '.') {
            result += strchr("+,;=[]", c) != NULL ? '_' : (char)Lin32UpperChar((unsigned char)c);
        }
    }
    return result;
}

}  // namespace

void Lin32NameCreated(const Lin32Path &path)
{
    struct stat info;
    if (lstat(path.linuxPath.c_str(), &info) != 0) {
        return;
    }
    g_aliases.erase(KeyOf(info));
    if (path.drive < 'A' || path.drive > 'Z' || !g_makesShortNames[path.drive - 'A'] ||
        IsShortForm(path.name)) {
        return;
    }
    // FAT's numbered alias: the first letters of the name, "~" and the lowest number
    // that no entry of the folder owns (as its alias or as its own 8.3 name), the first
    // three letters of the last extension.
    std::vector<std::string> taken;
    if (DIR *dir = opendir(path.folder.c_str())) {
        while (struct dirent *entry = readdir(dir)) {
            std::string name, alias;
            struct stat other;
            if (Lin32NameFromLinux(entry->d_name, name) &&
                stat((path.folder + "/" + entry->d_name).c_str(), &other) == 0) {
                taken.push_back(Lin32ShortName(other, alias) ? alias : name);
            }
        }
        closedir(dir);
    }
    size_t dot = path.name.rfind('.');
    std::string base = ShortChars(path.name.substr(0, dot));
    std::string extension = dot == std::string::npos ? "" : ShortChars(path.name.substr(dot + 1));
    extension = extension.empty() ? "" : "." + extension.substr(0, 3);
    for (int number = 1;; ++number) {
        std::string tail = "~" + std::to_string(number);
        std::string alias =
            (base.empty() ? "_" : base.substr(0, 8 - tail.size())) + tail + extension;
        if (std::none_of(taken.begin(), taken.end(),
                         [&](const std::string &owned) { return Lin32NameEqual(owned, alias); })) {
            g_aliases[KeyOf(info)] = alias;
            return;
        }
    }
}

bool Lin32SetReportedSize(const char *win32Path, uint64_t size)
{
    Lin32Path path;
    if (Lin32Resolve(win32Path, path) != ERROR_SUCCESS || !path.exists) {
        return false;
    }
    g_sizes[KeyOf(path.info)] = size;
    return true;
}

void Lin32ClearReportedSizes(void) { g_sizes.clear(); }

// ---- KERNEL32 -----------------------------------------------------------------------------

// The existing file or folder of the name; ERROR_FILE_NOT_FOUND when there is none.
static DWORD ResolveExisting(LPCSTR name, Lin32Path &path)
{
    DWORD error = Lin32Resolve(name, path);
    return error == ERROR_SUCCESS && !path.exists ? ERROR_FILE_NOT_FOUND : error;
}

DWORD WINAPI GetFileAttributesA(LPCSTR name)
{
    Lin32Path path;
    DWORD error = ResolveExisting(name, path);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return INVALID_FILE_ATTRIBUTES;
    }
    return Lin32Attributes(path.linuxPath, path.name, path.info);
}

BOOL WINAPI GetFileAttributesExA(LPCSTR name, GET_FILEEX_INFO_LEVELS level, LPVOID info)
{
    if (level != GetFileExInfoStandard || info == NULL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Lin32Path path;
    DWORD error = ResolveExisting(name, path);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return FALSE;
    }
    WIN32_FILE_ATTRIBUTE_DATA *data = (WIN32_FILE_ATTRIBUTE_DATA *)info;
    data->dwFileAttributes = Lin32Attributes(path.linuxPath, path.name, path.info);
    data->ftCreationTime = Lin32FileTime(path.info.st_ctim);
    data->ftLastAccessTime = Lin32FileTime(path.info.st_atim);
    data->ftLastWriteTime = Lin32FileTime(path.info.st_mtim);
    uint64_t size = S_ISDIR(path.info.st_mode) ? 0 : (uint64_t)path.info.st_size;
    Lin32ReportedSize(path.info, size);
    data->nFileSizeHigh = (DWORD)(size >> 32);
    data->nFileSizeLow = (DWORD)(size & 0xFFFFFFFFu);
    return TRUE;
}

BOOL WINAPI SetFileAttributesA(LPCSTR name, DWORD attributes)
{
    Lin32Path path;
    DWORD error = ResolveExisting(name, path);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return FALSE;
    }
    if (!S_ISDIR(path.info.st_mode)) {
        mode_t mode = path.info.st_mode & 07777;
        if (attributes & FILE_ATTRIBUTE_READONLY) {
            mode &= ~(mode_t)(S_IWUSR | S_IWGRP | S_IWOTH);
        } else if ((mode & S_IWUSR) == 0) {
            mode |= S_IWUSR;
        }
        if (chmod(path.linuxPath.c_str(), mode) != 0) {
            SetLastError(Lin32ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
            return FALSE;
        }
    }
    if (!Lin32StoreDosBits(path.linuxPath, path.info, attributes)) {
        SetLastError(Lin32ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
        return FALSE;
    }
    return TRUE;
}
