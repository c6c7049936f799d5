// Directory scans into fixed-width records, in the order the platform yields entries:
// one scan line per file, one name entry per directory.
#ifndef CHARTXFER_SCAN_H
#define CHARTXFER_SCAN_H

#include "../Ftn/ftn.h"

// The scan line, 38 characters, blank-padded; 0-based offsets of its 1-based columns.
enum {
    SCAN_LINE_LENGTH = 38,
    SCAN_NAME = 0,               // 1-8: the name before its first ".", upper case
    SCAN_NAME_LENGTH = 8,
    SCAN_EXTENSION = 8,          // 9-12: the rest from the first ".", or "." and blanks
    SCAN_EXTENSION_LENGTH = 4,
    SCAN_CUT_MARK = 12,          // 13: "*" when the name had to be cut to fit 1-12
    SCAN_SIZE = 14,              // 15-21: size in bytes, right-aligned
    SCAN_SIZE_LENGTH = 7,
    SCAN_DATE_TIME = 23,         // 24-38: dd.mm.yy, two blanks, hh:mm
    SCAN_DATE_TIME_LENGTH = 15,
    SCAN_DAY = 23,
    SCAN_MONTH = 26,
    SCAN_YEAR = 29,              // year modulo 100
    SCAN_HOUR = 33,
    SCAN_MINUTE = 36
};

// The name entry, 10 characters: blank, the name before its first "." (8 columns),
// blank; upper case.
enum { NAME_ENTRY_LENGTH = 10, NAME_ENTRY_NAME = 1 };

// The scan line of one file found under name (nameLength characters) with entry's size
// and time. False for a name with nothing before its first "." (.mas), which is no
// file's scan line.
bool ScanLineOf(const char *name, short nameLength, const FoundEntry *entry,
                char line[SCAN_LINE_LENGTH]);

// One scan line per file matching pattern, at most maxCount.
void ScanFileEntries(const char *pattern, short patternLength, char *lines, short maxCount,
                     short *count);

// One name entry per directory matching pattern, at most maxCount.
void ScanDirNames(const char *pattern, short patternLength, char *entries, short maxCount,
                  short *count);

#endif
