// One directory search of a chart folder for a whole command: the entries' long names,
// 8.3 aliases and attributes, sorted so that a chart is found by either name.
#include "ftn.h"

#include "../Kopf01/textfield.h"

#include <stdlib.h>
#include <string.h>

enum {
    FIRST_CAPACITY = 256,
    MOST_ENTRIES = 8192,  // a folder with more is searched only this far
    ALIAS_SIZE = 14
};

// An entry as it is looked up: its long name and alias upper-cased.
struct ChartFolderEntry {
    ChartEntry entry;
    char key[MAX_PATH];
    char aliasKey[ALIAS_SIZE];
};

// The entries that have an alias of their own, by their upper-cased alias.
struct ChartFolderAlias {
    char key[ALIAS_SIZE];
    int entry;
};

static int CompareEntries(const void *a, const void *b)
{
    return strcmp(((const ChartFolderEntry *)a)->key, ((const ChartFolderEntry *)b)->key);
}

static int CompareAliases(const void *a, const void *b)
{
    return strcmp(((const ChartFolderAlias *)a)->key, ((const ChartFolderAlias *)b)->key);
}

// The upper case of a NUL-terminated name of at most size - 1 characters, as the
// program compares file names (KleGro).
static void UpperName(const char *name, char *upper, size_t size)
{
    size_t length = strnlen(name, size - 1);
    memcpy(upper, name, length);
    upper[length] = '\0';
    KleGro(upper, (short)length);
}

// One more entry; false when there is no room for it.
static bool AddEntry(ChartFolder *folder, int *capacity, const WIN32_FIND_DATAA &found)
{
    if (folder->count == *capacity) {
        if (*capacity >= MOST_ENTRIES) {
            return false;
        }
        int grown = *capacity * 2;
        void *entries = realloc(folder->entries, (size_t)grown * sizeof(ChartFolderEntry));
        if (entries == NULL) {
            return false;
        }
        folder->entries = (ChartFolderEntry *)entries;
        *capacity = grown;
    }
    ChartFolderEntry *added = &folder->entries[folder->count++];
    memset(added, 0, sizeof *added);
    memcpy(added->entry.longName, found.cFileName, MAX_PATH - 1);
    memcpy(added->entry.alias, found.cAlternateFileName, ALIAS_SIZE - 1);
    added->entry.attributes = found.dwFileAttributes;
    UpperName(added->entry.longName, added->key, sizeof added->key);
    UpperName(added->entry.alias, added->aliasKey, sizeof added->aliasKey);
    return true;
}

static bool IndexAliases(ChartFolder *folder)
{
    folder->aliases = (ChartFolderAlias *)malloc(
        (size_t)(folder->count > 0 ? folder->count : 1) * sizeof(ChartFolderAlias));
    if (folder->aliases == NULL) {
        return false;
    }
    for (int i = 0; i < folder->count; ++i) {
        if (folder->entries[i].aliasKey[0] != '\0') {
            ChartFolderAlias *alias = &folder->aliases[folder->aliasCount++];
            memcpy(alias->key, folder->entries[i].aliasKey, ALIAS_SIZE);
            alias->entry = i;
        }
    }
    qsort(folder->aliases, (size_t)folder->aliasCount, sizeof(ChartFolderAlias), CompareAliases);
    return true;
}

bool ScanChartFolder(const char *folder, ChartFolder *scan)
{
    memset(scan, 0, sizeof *scan);
    char pattern[MAX_PATH];
    size_t length = strnlen(folder, MAX_PATH);
    if (length == 0 || length + 2 > MAX_PATH - 1) {
        return false;
    }
    memcpy(pattern, folder, length);
    memcpy(pattern + length, "*", 2);
    int capacity = FIRST_CAPACITY;
    scan->entries = (ChartFolderEntry *)malloc((size_t)capacity * sizeof(ChartFolderEntry));
    if (scan->entries == NULL) {
        return false;
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            found.cFileName[MAX_PATH - 1] = '\0';
            found.cAlternateFileName[ALIAS_SIZE - 1] = '\0';
        } while (AddEntry(scan, &capacity, found) && FindNextFileA(search, &found));
        FindClose(search);
    }
    qsort(scan->entries, (size_t)scan->count, sizeof(ChartFolderEntry), CompareEntries);
    if (!IndexAliases(scan)) {
        FreeChartFolder(scan);
        return false;
    }
    scan->searched = true;
    return true;
}

void FreeChartFolder(ChartFolder *scan)
{
    free(scan->entries);
    free(scan->aliases);
    memset(scan, 0, sizeof *scan);
}

const ChartEntry *FindInChartFolder(const ChartFolder *scan, const char *name)
{
    if (scan == NULL || !scan->searched) {
        return NULL;
    }
    ChartFolderEntry probe;
    UpperName(name, probe.key, sizeof probe.key);
    const ChartFolderEntry *entry = (const ChartFolderEntry *)bsearch(
        &probe, scan->entries, (size_t)scan->count, sizeof(ChartFolderEntry), CompareEntries);
    if (entry != NULL) {
        return &entry->entry;
    }
    if (strlen(probe.key) >= ALIAS_SIZE) {
        return NULL;  // longer than any alias
    }
    ChartFolderAlias alias;
    memcpy(alias.key, probe.key, ALIAS_SIZE);
    const ChartFolderAlias *owner = (const ChartFolderAlias *)bsearch(
        &alias, scan->aliases, (size_t)scan->aliasCount, sizeof(ChartFolderAlias), CompareAliases);
    return owner != NULL ? &scan->entries[owner->entry].entry : NULL;
}
