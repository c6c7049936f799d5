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
    std::vector<WIN32_FIND_DATAA> entries;
    WIN32_FIND_DATAA entry;
    // A name without wildcards matches the one entry that it names, by its long name or
    // its alias: looked up as a path, not by reading the folder. (Trailing dots and
    // blanks are Windows' to strip; such names take the long way.)
    if (!last.empty() && last.find_first_of("*?<>\"") == std::string::npos &&
        last.back() != '.' && last.back() != ' ') {
        Lin32Path named;
        parsed.parts.push_back(last);
        if (Lin32ResolveParsed(parsed, named) == ERROR_SUCCESS && named.exists) {
            FillEntry(named.linuxPath, named.name, named.info, entry);
            entries.push_back(entry);
        }
    } else {
        DIR *dir = opendir(folder.linuxPath.c_str());
        if (dir == NULL) {
            return FailSearch(Lin32ErrorFromErrno(errno, ERROR_ACCESS_DENIED));
        }
        std::string expression = TranslatePattern(last);
        if (!folder.isRoot) {
            // "." and ".." come first in every folder but a drive's root.
            struct stat parent;
            std::string parentPath = folder.linuxPath + "/..";
            if (Matches(expression, ".")) {
                FillEntry(folder.linuxPath, ".", folder.info, entry);
                entries.push_back(entry);
            }
            if (Matches(expression, "..") && stat(parentPath.c_str(), &parent) == 0) {
                FillEntry(parentPath, "..", parent, entry);
                entries.push_back(entry);
            }
        }
        while (struct dirent *item = readdir(dir)) {
            std::string name, alias;
            struct stat info;
            std::string path = folder.linuxPath + "/" + item->d_name;
            if (strcmp(item->d_name, ".") != 0 && strcmp(item->d_name, "..") != 0 &&
                Lin32NameFromLinux(item->d_name, name) && stat(path.c_str(), &info) == 0 &&
                (Matches(expression, name) ||
                 (Lin32ShortName(info, alias) && Matches(expression, alias)))) {
                FillEntry(path, name, info, entry);
                entries.push_back(entry);
            }
        }
        closedir(dir);
    }
    if (entries.empty()) {
        return FailSearch(ERROR_FILE_NOT_FOUND);
    }
    SearchHandle *search = new SearchHandle{kSearchMagic, entries, 1};
    *data = entries[0];
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
    Lin32Parsed parsed;
    Lin32Path path;
    DWORD error = longPath == NULL ? ERROR_INVALID_PARAMETER
                                   : Lin32ParsePath(longPath, false, parsed);
    for (size_t i = 0; error == ERROR_SUCCESS && i < parsed.parts.size(); ++i) {
        error = Lin32NameInvalid(parsed.parts[i], false) ? ERROR_INVALID_NAME : ERROR_SUCCESS;
    }
    if (error == ERROR_SUCCESS) {
        error = Lin32ResolveParsed(parsed, path);
    }
    if (error == ERROR_SUCCESS && !path.exists) {
        error = ERROR_FILE_NOT_FOUND;
    }
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return 0;
    }
    // Every component of the existing path as its alias where it has one.
    std::string result = std::string(1, parsed.drive) + ":\\";
    Lin32Parsed prefix = parsed;
    for (size_t i = 0; i < parsed.parts.size(); ++i) {
        prefix.parts.assign(parsed.parts.begin(), parsed.parts.begin() + (long)i + 1);
        std::string alias;
        bool aliased = Lin32ResolveParsed(prefix, path) == ERROR_SUCCESS &&
                       Lin32ShortName(path.info, alias);
        result += (i > 0 ? "\\" : "") + (aliased ? alias : parsed.parts[i]);
    }
    if (shortPath == NULL || size <= result.size()) {
        return (DWORD)result.size() + 1;
    }
    memcpy(shortPath, result.c_str(), result.size() + 1);
    return (DWORD)result.size();
}
