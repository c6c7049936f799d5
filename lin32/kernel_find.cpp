// The directory search: FindFirstFileA, FindNextFileA, FindClose with Windows wildcards,
// and GetShortPathNameA. Linux has no 8.3 aliases; tests give entries one through
// Lin32SetShortName, and then a pattern matches the alias as well, as on Windows.
//
// Linux names with no form in the code page, or with characters that Windows does not
// allow in names, are left out of every listing: the program could not name them back.
#include "codepage.h"
#include "kernel_internal.h"

#include <dirent.h>
#include <errno.h>
#include <set>
#include <string.h>

namespace {

const uint32_t kSearchMagic = 0x4C46494Eu;  // "LFIN"

struct SearchHandle {
    uint32_t magic;
    std::vector<WIN32_FIND_DATAA> entries;
    size_t next;
};

std::set<SearchHandle *> g_searches;

// The pattern in the DOS wildcards that Windows turns it into: '<' (DOS star) matches up
// to the name's last dot, '>' (DOS question mark) one character or nothing at a dot or
// at the end, '"' (DOS dot) a dot or the end of the name. None of them can occur in a
// file name, so they serve as markers here.
const char kDosStar = '<';
const char kDosQuestion = '>';
const char kDosDot = '"';

std::string TranslatePattern(const std::string &pattern)
{
    if (pattern == "*.*" || pattern == "*.*.") {
        return "*";
    }
    std::string result;
    for (size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (c == '?') {
            result += kDosQuestion;
        } else if (c == '*') {
            result += next == '.' ? kDosStar : '*';
        } else if (c == '.' && (next == '?' || next == '*')) {
            result += kDosDot;
        } else if (c == '.' && next == '\0') {
            // a final dot only ends the name ("*." = names without an extension)
        } else {
            result += c;
        }
    }
    return result;
}

// Whether name matches the translated expression, case-insensitively.
bool Matches(const std::string &expression, const std::string &name)
{
    const size_t e = expression.size();
    const size_t n = name.size();
    size_t lastDot = name.rfind('.');
    // how far a DOS star may eat: up to the last dot, or everything when the name has
    // no dot or ends with it ("." and "..")
    size_t starLimit = (lastDot == std::string::npos || lastDot + 1 == n) ? n : lastDot;
    std::vector<char> next(n + 1, 0), current(n + 1, 0);
    next[n] = 1;  // the empty expression matches the empty rest of the name
    for (size_t i = e; i-- > 0;) {
        char c = expression[i];
        for (size_t j = n + 1; j-- > 0;) {
            bool match = false;
            if (c == '*') {
                match = next[j] || (j < n && current[j + 1]);
            } else if (c == kDosStar) {
                match = next[j] || (j < starLimit && current[j + 1]);
            } else if (c == kDosQuestion) {
                match = (j < n && name[j] != '.') ? next[j + 1] : next[j];
            } else if (c == kDosDot) {
                match = j < n ? (name[j] == '.' && next[j + 1]) : next[j];
            } else {
                match = j < n &&
                        Lin32UpperChar((unsigned char)name[j]) ==
                            Lin32UpperChar((unsigned char)c) &&
                        next[j + 1];
            }
            current[j] = match ? 1 : 0;
        }
        next.swap(current);
    }
    return next[0] != 0;
}

void FillEntry(const std::string &linuxPath, const std::string &name, const struct stat &info,
               WIN32_FIND_DATAA &data)
{
    memset(&data, 0, sizeof data);
    data.dwFileAttributes = Lin32Attributes(linuxPath, name, info);
    data.ftCreationTime = Lin32FileTime(info.st_ctim);
    data.ftLastAccessTime = Lin32FileTime(info.st_atim);
    data.ftLastWriteTime = Lin32FileTime(info.st_mtim);
    uint64_t size = S_ISDIR(info.st_mode) ? 0 : (uint64_t)info.st_size;
    Lin32ReportedSize(info, size);
    data.nFileSizeHigh = (DWORD)(size >> 32);
    data.nFileSizeLow = (DWORD)(size & 0xFFFFFFFFu);
    memcpy(data.cFileName, name.c_str(), name.size() + 1);
    std::string alias;
    if (Lin32ShortName(info, alias) && !Lin32NameEqual(alias, name)) {
        memcpy(data.cAlternateFileName, alias.c_str(), alias.size() + 1);
    }
}

SearchHandle *FromHandle(HANDLE handle)
{
    SearchHandle *search = (SearchHandle *)handle;
    if (g_searches.count(search) == 0 || search->magic != kSearchMagic) {
        return NULL;
    }
    return search;
}

HANDLE FailSearch(DWORD error)
{
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

}  // namespace

HANDLE WINAPI FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data)
{
    if (pattern == NULL || data == NULL) {
        return FailSearch(ERROR_INVALID_PARAMETER);
    }
    DWORD error = Lin32InjectedFailure(LIN32_OP_FIND);
    if (error != ERROR_SUCCESS) {
        return FailSearch(error);
    }
    Lin32Parsed parsed;
    error = Lin32ParsePath(pattern, true, parsed);
    if (error != ERROR_SUCCESS) {
        return FailSearch(error);
    }
    if (parsed.trailingSeparator || parsed.parts.empty()) {
        return FailSearch(ERROR_FILE_NOT_FOUND);
    }
    std::string last = parsed.parts.back();
    parsed.parts.pop_back();
    for (const std::string &part : parsed.parts) {
        if (Lin32NameInvalid(part, false)) {
            return FailSearch(ERROR_INVALID_NAME);
        }
    }
    if (Lin32NameInvalid(last, true)) {
        return FailSearch(ERROR_INVALID_NAME);
    }
    Lin32Path folder;
    error = Lin32ResolveParsed(parsed, folder);
    if (error == ERROR_SUCCESS && !folder.exists) {
        error = ERROR_PATH_NOT_FOUND;
    } else if (error == ERROR_SUCCESS && !S_ISDIR(folder.info.st_mode)) {
        error = ERROR_DIRECTORY;
    }
    if (error != ERROR_SUCCESS) {
        return FailSearch(error);
    }
    // A name without wildcards matches the one entry that it names, by its long name
    // or its alias: looked up as a path, not by reading the folder.
    // (Trailing dots and blanks are Windows' to strip; such names take the long way.)
    if (last.find_first_of("*?<>\"") == std::string::npos && last.back() != '.' &&
        last.back() != ' ') {
        Lin32Path entry;
        parsed.parts.push_back(last);
        error = Lin32ResolveParsed(parsed, entry);
        if (error != ERROR_SUCCESS || !entry.exists) {
            return FailSearch(ERROR_FILE_NOT_FOUND);
        }
        SearchHandle *search = new SearchHandle;
        search->magic = kSearchMagic;
        WIN32_FIND_DATAA found;
        FillEntry(entry.linuxPath, entry.name, entry.info, found);
        search->entries.push_back(found);
        *data = found;
        search->next = 1;
        g_searches.insert(search);
        SetLastError(ERROR_SUCCESS);
        return (HANDLE)search;
    }
    DIR *dir = opendir(folder.linuxPath.c_str());
    if (dir == NULL) {
        return FailSearch(Lin32ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
    }
    std::string expression = TranslatePattern(last);
    SearchHandle *search = new SearchHandle;
    search->magic = kSearchMagic;
    search->next = 0;
    WIN32_FIND_DATAA entry;
    if (!folder.isRoot) {
        // "." and ".." come first in every folder but a drive's root.
        struct stat parent;
        std::string parentPath = folder.linuxPath + "/..";
        if (Matches(expression, ".")) {
            FillEntry(folder.linuxPath, ".", folder.info, entry);
            search->entries.push_back(entry);
        }
        if (Matches(expression, "..") && stat(parentPath.c_str(), &parent) == 0) {
            FillEntry(parentPath, "..", parent, entry);
            search->entries.push_back(entry);
        }
    }
    while (struct dirent *item = readdir(dir)) {
        if (strcmp(item->d_name, ".") == 0 || strcmp(item->d_name, "..") == 0) {
            continue;
        }
        std::string name;
        struct stat info;
        std::string path = folder.linuxPath + "/" + item->d_name;
        if (!Lin32NameFromLinux(item->d_name, name) || stat(path.c_str(), &info) != 0) {
            continue;
        }
        std::string alias;
        if (Matches(expression, name) ||
            (Lin32ShortName(info, alias) && Matches(expression, alias))) {
            FillEntry(path, name, info, entry);
            search->entries.push_back(entry);
        }
    }
    closedir(dir);
    if (search->entries.empty()) {
        delete search;
        return FailSearch(ERROR_FILE_NOT_FOUND);
    }
    *data = search->entries[0];
    search->next = 1;
    g_searches.insert(search);
    SetLastError(ERROR_SUCCESS);
    return (HANDLE)search;
}

BOOL WINAPI FindNextFileA(HANDLE handle, LPWIN32_FIND_DATAA data)
{
    SearchHandle *search = FromHandle(handle);
    if (search == NULL || data == NULL) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    DWORD error = Lin32InjectedFailure(LIN32_OP_FIND_NEXT);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return FALSE;
    }
    if (search->next >= search->entries.size()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    *data = search->entries[search->next++];
    return TRUE;
}

BOOL WINAPI FindClose(HANDLE handle)
{
    SearchHandle *search = FromHandle(handle);
    if (search == NULL) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    g_searches.erase(search);
    search->magic = 0;
    delete search;
    return TRUE;
}

// The path with every component that has an 8.3 alias replaced by it, as an absolute
// path. Like Windows it needs every component to exist; a wildcard is an invalid name.
DWORD WINAPI GetShortPathNameA(LPCSTR longPath, LPSTR shortPath, DWORD size)
{
    if (longPath == NULL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    Lin32Parsed parsed;
    DWORD error = Lin32ParsePath(longPath, false, parsed);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return 0;
    }
    std::string result(1, parsed.drive);
    result += ":\\";
    Lin32Parsed prefix;
    prefix.drive = parsed.drive;
    prefix.trailingSeparator = false;
    for (size_t i = 0; i < parsed.parts.size(); ++i) {
        if (Lin32NameInvalid(parsed.parts[i], false)) {
            SetLastError(ERROR_INVALID_NAME);
            return 0;
        }
        prefix.parts.push_back(parsed.parts[i]);
        Lin32Path path;
        error = Lin32ResolveParsed(prefix, path);
        if (error == ERROR_SUCCESS && !path.exists) {
            error = ERROR_FILE_NOT_FOUND;
        }
        if (error != ERROR_SUCCESS) {
            SetLastError(error);
            return 0;
        }
        std::string alias;
        if (i > 0) {
            result += '\\';
        }
        result += Lin32ShortName(path.info, alias) ? alias : parsed.parts[i];
    }
    if (parsed.parts.empty()) {
        Lin32Path root;
        error = Lin32ResolveParsed(prefix, root);
        if (error != ERROR_SUCCESS) {
            SetLastError(error);
            return 0;
        }
    }
    if (shortPath == NULL || size <= result.size()) {
        return (DWORD)result.size() + 1;
    }
    memcpy(shortPath, result.c_str(), result.size() + 1);
    return (DWORD)result.size();
}
