// The file-name search: find-first / find-next / close over the platform's directory
// search, one entry a call, with one search state for the whole process.
#include "ftn.h"

#include "../Basis/ini.h"
#include "../Kopf01/textfield.h"
#include "../Kopf01/winapi.h"

#include <string.h>

enum {
    PATTERN_SIZE = MAX_PATH,
    LONGEST_PATTERN = PATTERN_SIZE - 1,
    LONGEST_NAME = MAX_PATH,
    ALIAS_SIZE = 14,
    STATUS_FOUND = 0,
    STATUS_NO_MORE = 1,
    STATUS_FIRST_FAILED = 2,
    STATUS_NEXT_FAILED = 3,
    STATUS_BAD_HANDLE = 4,
    // the longest name that still has the 8.3 form
    SHORT_NAME_LENGTH = 12,
    SHORT_BASE_LENGTH = 8,
    SHORT_EXTENSION_LENGTH = 3
};

// The search state of the process.
struct SearchState {
    bool open;
    HANDLE handle;
    char pattern[PATTERN_SIZE];
    WIN32_FIND_DATAA found;   // the last entry found
    DWORD mask;               // attribute mask of the find-first, 0 = any entry
    DWORD lastError;
    bool aliasRead;           // SHOW_ALIAS is read once per process
    bool showAlias;
};

static const char kOptionsSection[] = "OPTIONS";
static const char kAliasKey[] = "SHOW_ALIAS";

static SearchState g_Search = {false, INVALID_HANDLE_VALUE, {0}, {}, 0, 0, false, false};

static void CloseSearch(void)
{
    if (g_Search.open) {
        FindClose(g_Search.handle);
    }
    g_Search.open = false;
    g_Search.handle = INVALID_HANDLE_VALUE;
}

void FtnfnsResetAliasOption(void)
{
    g_Search.aliasRead = false;
    g_Search.showAlias = false;
}

// Whether a long name has the 8.3 form, by the program's own rule, tested in this order
// (so a name without "." of four characters or more counts as not fitting, and so does
// a base of eight).
static bool FitsShortForm(const char *name, int n)
{
    const char *dot = (const char *)memchr(name, '.', (size_t)n);
    int d = dot == NULL ? 0 : (int)(dot - name) + 1;  // position of the first "."
    if (n > SHORT_NAME_LENGTH || (d == 0 && n > SHORT_BASE_LENGTH) || d > SHORT_BASE_LENGTH ||
        n - d > SHORT_EXTENSION_LENGTH) {
        return false;
    }
    return memchr(name, ' ', (size_t)n) == NULL;
}

// The name a search returns for an entry: its long name or its 8.3 alias, as SHOW_ALIAS
// and the form of the long name decide. Both are NUL-terminated within their fields.
static const char *ChooseName(const char *longName, const char *alias)
{
    if (!g_Search.aliasRead) {
        int logical = 0;
        g_Search.showAlias = GetIniLogical(kOptionsSection, (int)sizeof kOptionsSection - 1,
                                           kAliasKey, (int)sizeof kAliasKey - 1, &logical) &&
                             logical;
        g_Search.aliasRead = true;
    }
    if (alias[0] == '\0') {
        return longName;
    }
    if (g_Search.showAlias) {
        return alias;
    }
    return FitsShortForm(longName, (int)strlen(longName)) ? longName : alias;
}

// Size and local date and time of a found entry; the date and time are 0 when the time
// cannot be converted.
static void FillFoundEntry(const WIN32_FIND_DATAA &found, FoundEntry *entry)
{
    entry->size = (int)found.nFileSizeLow;
    entry->sizeHigh = found.nFileSizeHigh;
    FILETIME local;
    SYSTEMTIME time;
    if (FileTimeToLocalFileTime(&found.ftLastWriteTime, &local) &&
        FileTimeToSystemTime(&local, &time)) {
        entry->year = (short)time.wYear;
        entry->month = (short)time.wMonth;
        entry->day = (short)time.wDay;
        entry->hour = (short)time.wHour;
        entry->minute = (short)time.wMinute;
        entry->second = (short)time.wSecond;
    } else {
        entry->year = entry->month = entry->day = 0;
        entry->hour = entry->minute = entry->second = 0;
    }
}

static void Deliver(char *name, short nameSize, short *nameLength, short *attributes,
                    FoundEntry *entry)
{
    // The platform's fields, each held to its own size.
    WIN32_FIND_DATAA &found = g_Search.found;
    found.cFileName[MAX_PATH - 1] = '\0';
    found.cAlternateFileName[ALIAS_SIZE - 1] = '\0';
    const char *chosen = ChooseName(found.cFileName, found.cAlternateFileName);
    short copied = 0;
    while (copied < LONGEST_NAME && copied < nameSize && chosen[copied] != '\0') {
        name[copied] = chosen[copied];
        ++copied;
    }
    if (copied < nameSize) {
        name[copied] = '\0';
    }
    *nameLength = copied;
    *attributes = (short)(g_Search.found.dwFileAttributes & 0xFFFFu);
    FillFoundEntry(g_Search.found, entry);
}

// Passes over entries that share no attribute bit with the mask. False, with the
// status set and the search closed, when the entries run out.
static bool Select(short *status)
{
    while (g_Search.mask != 0 && (g_Search.found.dwFileAttributes & g_Search.mask) == 0) {
        if (!FindNextFileA(g_Search.handle, &g_Search.found)) {
            g_Search.lastError = GetLastError();
            *status = g_Search.lastError == ERROR_NO_MORE_FILES ? STATUS_NO_MORE
                                                                 : STATUS_NEXT_FAILED;
            CloseSearch();
            return false;
        }
    }
    return true;
}

static void FindFirst(short *status, char *name, short nameSize, short *nameLength,
                      short *attributes, FoundEntry *entry)
{
    CloseSearch();
    int length = *nameLength;
    if (length > LONGEST_PATTERN) {
        length = LONGEST_PATTERN;
    }
    if (length > nameSize) {
        length = nameSize;
    }
    if (length < 0 || name == NULL) {
        length = 0;
    }
    if (length > 0) {
        memcpy(g_Search.pattern, name, (size_t)length);
    }
    g_Search.pattern[length] = '\0';
    g_Search.handle = FindFirstFileA(g_Search.pattern, &g_Search.found);
    if (g_Search.handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_NO_MORE_FILES) {
        // Some drives answer a long path so; its short form is searched once more.
        char shortForm[PATTERN_SIZE];
        DWORD shortLength = GetShortPathNameA(g_Search.pattern, shortForm, PATTERN_SIZE);
        if (shortLength > 0 && shortLength < PATTERN_SIZE) {
            memcpy(g_Search.pattern, shortForm, shortLength + 1);
        }
        g_Search.handle = FindFirstFileA(g_Search.pattern, &g_Search.found);
    }
    if (g_Search.handle == INVALID_HANDLE_VALUE) {
        g_Search.lastError = GetLastError();
        *status = g_Search.lastError == ERROR_NO_MORE_FILES ? STATUS_NO_MORE
                                                             : STATUS_FIRST_FAILED;
        return;
    }
    g_Search.open = true;
    g_Search.mask = (WORD)*attributes;
    if (Select(status)) {
        Deliver(name, nameSize, nameLength, attributes, entry);
    }
}

static void FindNext(short *status, char *name, short nameSize, short *nameLength,
                     short *attributes, FoundEntry *entry)
{
    if (!g_Search.open) {
        // no platform handle to ask: what the platform says of a closed one
        g_Search.lastError = ERROR_INVALID_HANDLE;
        *status = STATUS_BAD_HANDLE;
        return;
    }
    if (!FindNextFileA(g_Search.handle, &g_Search.found)) {
        g_Search.lastError = GetLastError();
        *status = g_Search.lastError == ERROR_NO_MORE_FILES    ? STATUS_NO_MORE
                  : g_Search.lastError == ERROR_INVALID_HANDLE ? STATUS_BAD_HANDLE
                                                               : STATUS_NEXT_FAILED;
        CloseSearch();
        return;
    }
    if (Select(status)) {
        Deliver(name, nameSize, nameLength, attributes, entry);
    }
}

void FTNFNS(short *status, short mode, char *name, short nameSize, short *nameLength,
            short *attributes, FoundEntry *entry)
{
    *status = STATUS_FOUND;
    switch (mode) {
    case FTNFNS_FIRST:
        FindFirst(status, name, nameSize, nameLength, attributes, entry);
        break;
    case FTNFNS_NEXT:
        FindNext(status, name, nameSize, nameLength, attributes, entry);
        break;
    case FTNFNS_CLOSE:
        CloseSearch();
        break;
    default:
        *status = STATUS_NEXT_FAILED;
        break;
    }
}

bool FindChartEntry(const char *path, int length, ChartEntry *entry)
{
    char name[MAX_PATH];
    if (path == NULL || length < 1 || length >= MAX_PATH) {
        return false;
    }
    memcpy(name, path, (size_t)length);
    name[length] = '\0';
    // The search takes these as wildcards, and no file name holds one.
    if (strpbrk(name, "*?<>\"|") != NULL) {
        return false;
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(name, &found);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    FindClose(search);
    found.cFileName[MAX_PATH - 1] = '\0';
    found.cAlternateFileName[ALIAS_SIZE - 1] = '\0';
    memcpy(entry->longName, found.cFileName, sizeof entry->longName);
    memcpy(entry->alias, found.cAlternateFileName, sizeof entry->alias);
    entry->attributes = found.dwFileAttributes;
    FillFoundEntry(found, &entry->found);
    return true;
}

bool IsLongNameOf(const char *path, const ChartEntry *entry)
{
    const char *separator = strrchr(path, '\\');
    const char *leaf = separator == NULL ? path : separator + 1;
    size_t length = strlen(leaf);
    if (length != strnlen(entry->longName, sizeof entry->longName) || length >= MAX_PATH) {
        return false;
    }
    char first[MAX_PATH];
    char second[MAX_PATH];
    memcpy(first, leaf, length + 1);
    memcpy(second, entry->longName, length + 1);
    KleGro(first, (short)length);
    KleGro(second, (short)length);
    return memcmp(first, second, length) == 0;
}

const char *ListedName(const ChartEntry *entry)
{
    return ChooseName(entry->longName, entry->alias);
}
