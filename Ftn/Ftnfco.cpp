// File primitives: copy and delete one file named by a fixed-width field and a length,
// with a status instead of the platform's error code.
#include "ftn.h"

#include "../Kopf01/winapi.h"
#include "../app/errorbox.h"

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
    *status = CopyFileA(from, to, FALSE) ? STATUS_DONE : STATUS_FAILED;
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
