// Directory scans into fixed-width records: one scan line per file, one name entry per
// directory, in the order in which the platform's search yields them.
#include "scan.h"

#include "../Ftn/ftn.h"
#include "../Kopf01/textfield.h"
#include "../Kopf01/winapi.h"

#include <stdint.h>
#include <stdio.h>
#include <string.h>

enum {
    SCAN_NAME_SIZE = 200,   // the pattern, and each name found, at most 200 characters
    BASE_LENGTH = 8,
    // scan line, 0-based columns
    LINE_EXTENSION = 8,     // columns 9-12
    EXTENSION_LENGTH = 4,
    LINE_NAME_LENGTH = 12,  // columns 1-12 are upper-cased
    LINE_CUT_MARK = 12,     // column 13: "*" when the name was cut to fit columns 1-12
    LINE_SIZE = 14,         // columns 15-21
    SIZE_LENGTH = 7,
    LINE_DAY = 23,          // columns 24-25
    LINE_MONTH = 26,
    LINE_YEAR = 29,
    LINE_HOUR = 33,
    LINE_MINUTE = 36,
    // name entry
    ENTRY_BASE = 1          // columns 2-9
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
    char text[SIZE_LENGTH + 1];
    snprintf(text, sizeof text, "%7u", (unsigned)size);
    memcpy(line + LINE_SIZE, text, SIZE_LENGTH);
    TwoDigits(line + LINE_DAY, entry.day);
    line[LINE_DAY + 2] = '.';
    TwoDigits(line + LINE_MONTH, entry.month);
    line[LINE_MONTH + 2] = '.';
    TwoDigits(line + LINE_YEAR, entry.year % 100);
    TwoDigits(line + LINE_HOUR, entry.hour);
    line[LINE_HOUR + 2] = ':';
    TwoDigits(line + LINE_MINUTE, entry.minute);
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

void ScanFileEntries(const char *pattern, short patternLength, char *lines, short maxCount,
                     short *count)
{
    *count = 0;
    char name[SCAN_NAME_SIZE];
    short nameLength, attributes, status;
    FoundEntry entry;
    status = StartScan(pattern, patternLength, name, &nameLength, &attributes, &entry);
    while (status == 0 && *count < maxCount) {
        int base = BaseLength(name, nameLength);
        // Directories, and names with nothing before the first "." (.mas), are no charts.
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) && base > 0) {
            char *line = lines + (size_t)*count * SCAN_LINE_LENGTH;
            WriteSizeAndTime(line, entry);
            memcpy(line, name, (size_t)AtMost(base, BASE_LENGTH));
            if (base < nameLength) {
                memcpy(line + LINE_EXTENSION, name + base,
                       (size_t)AtMost(nameLength - base, EXTENSION_LENGTH));
            } else {
                memcpy(line + LINE_EXTENSION, kNoExtension, EXTENSION_LENGTH);
            }
            KleGro(line, LINE_NAME_LENGTH);
            // A cut name reads like another file's (Messtabelle.mas as MESSTABE.MAS);
            // the mark lets a reader that needs the name back leave it out. A "*" can
            // stand in no file name.
            if (base > BASE_LENGTH || nameLength - base > EXTENSION_LENGTH) {
                line[LINE_CUT_MARK] = '*';
            }
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
            memcpy(record + ENTRY_BASE, name, (size_t)AtMost(base, BASE_LENGTH));
            KleGro(record, NAME_ENTRY_LENGTH);
            ++*count;
        }
        FTNFNS(&status, FTNFNS_NEXT, name, SCAN_NAME_SIZE, &nameLength, &attributes, &entry);
    }
    FTNFNS(&status, FTNFNS_CLOSE, name, SCAN_NAME_SIZE, &nameLength, &attributes, &entry);
}
