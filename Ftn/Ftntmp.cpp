// Temporary copies beside a file: a copy made under a fresh name in the file's folder,
// which its caller renames over the file once the copy is complete, or removes.
#include "ftn.h"

#include <stdio.h>
#include <string.h>

enum {
    NAME_SIZE = MAX_PATH,
    TEMPORARY_TRIES = 64,  // names taken by others before the copy gives up
    LEFT_SLOTS = 16
};

// Temporary files that could not be removed (their drive had gone, say); each later
// temporary copy tries again, so that none stays behind once the drive is back. A name
// that never came to be is dropped by that try too (the file is not found).
static char g_LeftTemporaries[LEFT_SLOTS][NAME_SIZE];
static int g_NextLeftSlot;

// Numbers the temporary names. It starts from the process and the clock, so that two
// programs copying into one folder rarely try the same name.
static DWORD g_TemporaryNumber;
static bool g_TemporaryNumberSet;

// A read-only temporary file (the copy of a read-only source) refuses deletion until
// its attribute goes.
static bool RemoveFile(const char *name)
{
    if (DeleteFileA(name) || GetLastError() == ERROR_FILE_NOT_FOUND) {
        return true;
    }
    SetFileAttributesA(name, FILE_ATTRIBUTE_NORMAL);
    return DeleteFileA(name) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

void DropTemporary(const char *temporary)
{
    if (RemoveFile(temporary) || strlen(temporary) >= NAME_SIZE) {
        return;
    }
    for (const char *left : g_LeftTemporaries) {
        if (strcmp(left, temporary) == 0) {
            return;
        }
    }
    // With every slot taken the oldest gives way.
    strcpy(g_LeftTemporaries[g_NextLeftSlot], temporary);
    g_NextLeftSlot = (g_NextLeftSlot + 1) % LEFT_SLOTS;
}

// The next temporary name in the folder of beside.
static bool NextTemporaryName(const char *beside, char temporary[NAME_SIZE])
{
    if (!g_TemporaryNumberSet) {
        g_TemporaryNumber = GetCurrentProcessId() * 40503u + GetTickCount();
        g_TemporaryNumberSet = true;
    }
    const char *separator = strrchr(beside, '\\');
    if (separator == NULL) {
        return false;
    }
    size_t folderLength = (size_t)(separator - beside) + 1;
    char leaf[16];
    snprintf(leaf, sizeof leaf, "CXF%05X.TMP", (unsigned)(g_TemporaryNumber++ & 0xFFFFFu));
    size_t leafLength = strlen(leaf);
    if (folderLength + leafLength >= NAME_SIZE) {
        return false;
    }
    memcpy(temporary, beside, folderLength);
    memcpy(temporary + folderLength, leaf, leafLength + 1);
    return true;
}

static bool CreateEmpty(const char *name)
{
    HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                              NULL);
    return file != INVALID_HANDLE_VALUE && CloseHandle(file);
}

bool CopyToTemporary(const char *source, const char *beside, char temporary[MAX_PATH])
{
    for (char *left : g_LeftTemporaries) {
        if (left[0] != '\0' && RemoveFile(left)) {
            left[0] = '\0';
        }
    }
    for (int tries = 0; tries < TEMPORARY_TRIES; ++tries) {
        if (!NextTemporaryName(beside, temporary)) {
            return false;
        }
        // The copy takes the name only if nobody has it, so it never overwrites a file.
        if (source != NULL ? CopyFileA(source, temporary, TRUE) != FALSE
                           : CreateEmpty(temporary)) {
            return true;
        }
        DWORD error = GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
            continue;
        }
        // What a copy that failed midway left; a folder that could not be reached got
        // nothing.
        if (error != ERROR_PATH_NOT_FOUND) {
            DropTemporary(temporary);
        }
        return false;
    }
    return false;
}
