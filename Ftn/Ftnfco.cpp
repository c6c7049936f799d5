// File primitives: copy and delete one file named by a fixed-width field and a length,
// with a status instead of the platform's error code.
//
// CopyFileA writes straight onto its destination: when it fails midway (a full disk, a
// source that cannot be read to its end) the chart that stood there is already gone,
// and what was written carries the source's time, so it lists as if it were the source.
// So FTNFCO copies to a temporary file in the destination's folder and puts it in the
// chart's place only once the copy is complete (a rename within the folder, which
// replaces the chart at once or not at all).
//
// What stands under the chart's name is looked at before anything is written: a chart
// that must not be replaced is refused. A name that was free is given to the copy by a
// rename that replaces nothing.
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

// Whether the copy may replace existing, which stands under to, and in target the name
// it then takes: to itself, or the spelling of what stands there. checkDistinct: the
// two folders may be one, so the destination may be the source itself.
static bool ChooseTarget(const char *from, const char *to, const ChartEntry &existing,
                         bool checkDistinct, char *target)
{
    strcpy(target, to);
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
    if (checkDistinct && !DistinctFiles(from, to)) {
        return false;
    }
    size_t longLength = strlen(existing.longName);
    if ((size_t)folderLength + longLength > LONGEST_NAME) {
        return false;
    }
    memcpy(target + folderLength, existing.longName, longLength + 1);
    return true;
}

// What stands under to when the search of its folder saw it there and it is still
// there: the search's names with the attributes of now. False for a name the search
// lacks, or one gone since.
static bool LookInFolder(const ChartFolder *folder, const char *to, ChartEntry *existing)
{
    const ChartEntry *seen = FindInChartFolder(folder, to + FolderLength(to));
    if (seen == NULL) {
        return false;
    }
    DWORD attributes = GetFileAttributesA(to);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    *existing = *seen;
    existing->attributes = attributes;
    return true;
}

// The first temporary copy into a searched folder shows whether the folder is the
// source folder under another drive letter: the copy then stands in the source folder
// too.
static void ProbeSourceFolder(ChartFolder *folder, const char *from, const char *temporary)
{
    if (folder == NULL || folder->probed) {
        return;
    }
    char mirror[NAME_SIZE];
    int folderLength = FolderLength(from);
    const char *leaf = temporary + FolderLength(temporary);
    size_t leafLength = strlen(leaf);
    if (folderLength == 0 || (size_t)folderLength + leafLength > LONGEST_NAME) {
        return;
    }
    memcpy(mirror, from, (size_t)folderLength);
    memcpy(mirror + folderLength, leaf, leafLength + 1);
    folder->sameAsSource = GetFileAttributesA(mirror) != INVALID_FILE_ATTRIBUTES;
    folder->probed = true;
}

// Gives the complete copy the name to, which was free when it was looked up: by a
// rename that replaces nothing, so that a file made there since is not lost. A name
// taken meanwhile is looked at as any other before it is replaced.
static bool NameNewCopy(const char *from, const char *to, const char *temporary)
{
    if (MoveFileExA(temporary, to, 0)) {
        return true;
    }
    DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) {
        return false;
    }
    ChartEntry existing;
    char target[NAME_SIZE];
    return FindChartEntry(to, (int)strlen(to), &existing) &&
           ChooseTarget(from, to, existing, true, target) &&
           MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING);
}

// folder: the search of the destination's folder, or null to look the destination up.
static bool CopyKeepingDestination(const char *from, const char *to, ChartFolder *folder)
{
    ChartEntry existing;
    bool taken = folder != NULL ? LookInFolder(folder, to, &existing)
                                : FindChartEntry(to, (int)strlen(to), &existing);
    bool checkDistinct = folder == NULL || !folder->probed || folder->sameAsSource;
    char target[NAME_SIZE];
    strcpy(target, to);
    if (taken && !ChooseTarget(from, to, existing, checkDistinct, target)) {
        return false;
    }
    char temporary[NAME_SIZE];
    if (!CopyToTemporary(from, to, temporary)) {
        return false;
    }
    ProbeSourceFolder(folder, from, temporary);
    bool named = taken ? MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING) != FALSE
                       : NameNewCopy(from, to, temporary);
    if (!named) {
        DropTemporary(temporary);
    }
    return named;
}

// FTNFCO and FtnfcoIntoFolder: the checks of the arguments, then the copy.
static void CopyChart(short *status, const char *source, int sourceLength,
                      const char *destination, int destinationLength, ChartFolder *folder)
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
    *status = CopyKeepingDestination(from, to, folder) ? STATUS_DONE : STATUS_FAILED;
}

void FTNFCO(short *status, const char *source, int sourceLength, const char *destination,
            int destinationLength)
{
    CopyChart(status, source, sourceLength, destination, destinationLength, NULL);
}

void FtnfcoIntoFolder(short *status, const char *source, int sourceLength,
                      const char *destination, int destinationLength,
                      ChartFolder *destinationFolder)
{
    CopyChart(status, source, sourceLength, destination, destinationLength, destinationFolder);
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
