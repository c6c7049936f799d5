// Directory scans into fixed-width records: one scan line per file, one name entry per
// directory, in the order in which the platform's search yields them.
#include "scan.h"

#include "../Kopf01/textfield.h"
#include "../Kopf01/winapi.h"

#include <stdint.h>
#include <stdio.h>
#include <string.h>

enum {
    SCAN_NAME_SIZE = 200,   // the pattern, and each name found, at most 200 characters
    LINE_NAME_COLUMNS = SCAN_NAME_LENGTH + SCAN_EXTENSION_LENGTH  // upper-cased
};

// The largest size that the 7 columns hold; anything larger shows as it, so that a huge
// file is never taken for a small or an empty one.
static const uint64_t kLargestShownSize = 9999999u;
static const char kNoExtension[] = ".   ";

static void TwoDigits(char *at, int value)
{
    if (value < 0) {
        value = 0;
    }
    at[0] = (char)('0' + value / 10 % 10);
    at[1] = (char)('0' + value % 10);
}

static void WriteSizeAndTime(char *line, const FoundEntry &entry)
{
    memset(line, ' ', SCAN_LINE_LENGTH);
    uint64_t size = ((uint64_t)entry.sizeHigh << 32) | (uint32_t)entry.size;
    if (size > kLargestShownSize) {
        size = kLargestShownSize;
    }
    char text[SCAN_SIZE_LENGTH + 1];
    snprintf(text, sizeof text, "%7u", (unsigned)size);
    memcpy(line + SCAN_SIZE, text, SCAN_SIZE_LENGTH);
    TwoDigits(line + SCAN_DAY, entry.day);
    line[SCAN_DAY + 2] = '.';
    TwoDigits(line + SCAN_MONTH, entry.month);
    line[SCAN_MONTH + 2] = '.';
    TwoDigits(line + SCAN_YEAR, entry.year % 100);
    TwoDigits(line + SCAN_HOUR, entry.hour);
    line[SCAN_HOUR + 2] = ':';
    TwoDigits(line + SCAN_MINUTE, entry.minute);
}

// Length of the part of the name before its first ".".
static int BaseLength(const char *name, short length)
{
    const char *dot = (const char *)memchr(name, '.', (size_t)length);
    return dot == NULL ? length : (int)(dot - name);
}

static int AtMost(int value, int limit) { return value < limit ? value : limit; }

static short StartScan(const char *pattern, short patternLength, char *name,
                       short *nameLength, short *attributes, FoundEntry *entry)
{
    short length = patternLength;
    if (length > SCAN_NAME_SIZE) {
        length = SCAN_NAME_SIZE;
    }
    if (length < 0 || pattern == NULL) {
        length = 0;
    }
    if (length > 0) {
        memcpy(name, pattern, (size_t)length);
    }
    *nameLength = length;
    *attributes = 0;
    short status;
    FTNFNS(&status, FTNFNS_FIRST, name, SCAN_NAME_SIZE, nameLength, attributes, entry);
    return status;
}

bool ScanLineOf(const char *name, short nameLength, const FoundEntry *entry,
                char line[SCAN_LINE_LENGTH])
{
    int base = BaseLength(name, nameLength);
    if (base == 0) {
        return false;
    }
    WriteSizeAndTime(line, *entry);
    memcpy(line + SCAN_NAME, name, (size_t)AtMost(base, SCAN_NAME_LENGTH));
    if (base < nameLength) {
        memcpy(line + SCAN_EXTENSION, name + base,
               (size_t)AtMost(nameLength - base, SCAN_EXTENSION_LENGTH));
    } else {
        memcpy(line + SCAN_EXTENSION, kNoExtension, SCAN_EXTENSION_LENGTH);
    }
    KleGro(line, LINE_NAME_COLUMNS);
    // A cut name reads like another file's (Messtabelle.mas as MESSTABE.MAS); the mark
    // lets a reader that needs the name back leave it out. A "*" can stand in no file
    // name.
    if (base > SCAN_NAME_LENGTH || nameLength - base > SCAN_EXTENSION_LENGTH) {
        line[SCAN_CUT_MARK] = '*';
    }
    return true;
}

void ScanFileEntries(const char *pattern, short patternLength, char *lines, short maxCount,
                     short *count)
{
    *count = 0;
    char name[SCAN_NAME_SIZE];
    short nameLength, attributes, status;
    FoundEntry entry;
    status = StartScan(pattern, patternLength, name, &nameLength, &attributes, &entry);
    while (status == 0 && *count < maxCount) {
        // Directories, and names with nothing before the first "." (.mas), are no charts.
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
            ScanLineOf(name, nameLength, &entry, lines + (size_t)*count * SCAN_LINE_LENGTH)) {
            ++*count;
        }
        FTNFNS(&status, FTNFNS_NEXT, name, SCAN_NAME_SIZE, &nameLength, &attributes, &entry);
    }
    FTNFNS(&status, FTNFNS_CLOSE, name, SCAN_NAME_SIZE, &nameLength, &attributes, &entry);
}

void ScanDirNames(const char *pattern, short patternLength, char *entries, short maxCount,
                  short *count)
{
    *count = 0;
    char name[SCAN_NAME_SIZE];
    short nameLength, attributes, status;
    FoundEntry entry;
    const short hiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    status = StartScan(pattern, patternLength, name, &nameLength, &attributes, &entry);
    while (status == 0 && *count < maxCount) {
        int base = BaseLength(name, nameLength);
        // "." and ".." have nothing before their first "."; hidden system folders are
        // the platform's own.
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && (attributes & hiddenSystem) != hiddenSystem &&
            base > 0) {
            char *record = entries + (size_t)*count * NAME_ENTRY_LENGTH;
            memset(record, ' ', NAME_ENTRY_LENGTH);
            memcpy(record + NAME_ENTRY_NAME, name, (size_t)AtMost(base, SCAN_NAME_LENGTH));
            KleGro(record, NAME_ENTRY_LENGTH);
            ++*count;
        }
        FTNFNS(&status, FTNFNS_NEXT, name, SCAN_NAME_SIZE, &nameLength, &attributes, &entry);
    }
    FTNFNS(&status, FTNFNS_CLOSE, name, SCAN_NAME_SIZE, &nameLength, &attributes, &entry);
}
