// File primitives: copy and delete one file named by a fixed-width field and a length,
// with a status instead of the platform's error code.
//
// CopyFileA writes straight onto its destination: when it fails midway (a full disk, a
// source that cannot be read to its end) the chart that stood there is already gone,
// and what was written carries the source's time, so it lists as if it were the source.
// So FTNFCO copies to a temporary file in the destination's folder and puts it in the
// chart's place only once the copy is complete (a rename within the folder, which
// replaces the chart at once or not at all).
#include "ftn.h"

#include "../Kopf01/errorbox.h"

#include <string.h>

enum {
    NAME_SIZE = MAX_PATH,          // name buffer: the text and its NUL
    LONGEST_NAME = NAME_SIZE - 1,
    STATUS_DONE = 0,
    STATUS_FAILED = 3
};

static const char kCopyLabel[] = "ftnfco";

// Only the low 16 bits of a length count.
static int Length16(int length) { return (short)(length & 0xFFFF); }

// The first length characters of path as a NUL-terminated name; false when they do not
// fit the name buffer.
static bool MakeName(const char *path, int length, char *name)
{
    if (path == NULL || length < 0 || length > LONGEST_NAME) {
        return false;
    }
    memcpy(name, path, (size_t)length);
    name[length] = '\0';
    return true;
}

// Length of the folder part of name, up to and with its last "\"; 0 when it has none.
static int FolderLength(const char *name)
{
    const char *separator = strrchr(name, '\\');
    return separator == NULL ? 0 : (int)(separator - name) + 1;
}

// The name the copy must take: to itself, or the spelling of the chart already there.
// False when what stands there must not be replaced.
static bool ChooseTarget(const char *from, const char *to, char *target)
{
    strcpy(target, to);
    ChartEntry existing;
    if (!FindChartEntry(to, (int)strlen(to), &existing)) {
        return true;  // nothing there yet, or a name the copy itself will refuse
    }
    int folderLength = FolderLength(to);
    // Refused whatever the platform would do: Wine run as root writes over a read-only
    // file, and its rename replaces one for any user.
    if ((existing.attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        return false;
    }
    // Found under another long name: the name is that entry's 8.3 alias, and the entry
    // is another file, which a copy under that name would overwrite.
    if (!IsLongNameOf(to, &existing)) {
        return false;
    }
    // Two drive letters can lead to one folder: a copy onto the source itself.
    if (!DistinctFiles(from, to)) {
        return false;
    }
    size_t longLength = strlen(existing.longName);
    if ((size_t)folderLength + longLength > LONGEST_NAME) {
        return false;
    }
    memcpy(target + folderLength, existing.longName, longLength + 1);
    return true;
}

static bool CopyKeepingDestination(const char *from, const char *to)
{
    char target[NAME_SIZE];
    char temporary[NAME_SIZE];
    if (!ChooseTarget(from, to, target) || !CopyToTemporary(from, target, temporary)) {
        return false;
    }
    if (!MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING)) {
        DropTemporary(temporary);
        return false;
    }
    return true;
}

void FTNFCO(short *status, const char *source, int sourceLength, const char *destination,
            int destinationLength)
{
    int fromLength = Length16(sourceLength);
    int toLength = Length16(destinationLength);
    if (fromLength <= 0 || toLength <= 0) {
        ReportInternalError(kCopyLabel, (int)strlen(kCopyLabel));
        *status = STATUS_FAILED;
        return;
    }
    char from[NAME_SIZE];
    char to[NAME_SIZE];
    // A name longer than the buffer cannot be a chart path; it fails without a copy.
    if (!MakeName(source, fromLength, from) || !MakeName(destination, toLength, to)) {
        *status = STATUS_FAILED;
        return;
    }
    *status = CopyKeepingDestination(from, to) ? STATUS_DONE : STATUS_FAILED;
}

void FTNFDE(short *status, const char *path, int length)
{
    char name[NAME_SIZE];
    int nameLength = Length16(length);
    if (nameLength <= 0 || !MakeName(path, nameLength, name)) {
        *status = STATUS_FAILED;
        return;
    }
    *status = DeleteFileA(name) ? STATUS_DONE : STATUS_FAILED;
}

bool DistinctFiles(const char *first, const char *second)
{
    // While the first is open for reading, the second cannot be opened by a caller that
    // does not share reading if, and only if, it is the same file.
    HANDLE held = CreateFileA(first, GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (held == INVALID_HANDLE_VALUE) {
        return false;
    }
    HANDLE probe = CreateFileA(second, GENERIC_READ, FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    bool distinct = probe != INVALID_HANDLE_VALUE;
    if (distinct) {
        CloseHandle(probe);
    }
    CloseHandle(held);
    return distinct;
}
