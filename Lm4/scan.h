// Directory scans into fixed-width records, in the order the platform yields entries.
#ifndef CHARTXFER_SCAN_H
#define CHARTXFER_SCAN_H

enum { SCAN_LINE_LENGTH = 38, NAME_ENTRY_LENGTH = 10 };

// One 38-character scan line per file matching pattern: base name (1-8), extension
// (9-12), "*" in column 13 when the name had to be cut to fit columns 1-12, size
// (15-21), dd.mm.yy (24-31), hh:mm (34-38). At most maxCount lines.
void ScanFileEntries(const char *pattern, short patternLength, char *lines, short maxCount,
                     short *count);

// One 10-character name entry per directory matching pattern: blank, the name before
// its first "." (8 columns), blank; upper case. At most maxCount entries.
void ScanDirNames(const char *pattern, short patternLength, char *entries, short maxCount,
                  short *count);

#endif
