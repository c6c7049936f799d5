// File primitives, the directory routine, the diskette test and the file-name search.
// Statuses and counts are 16-bit signed.
#ifndef CHARTXFER_FTN_H
#define CHARTXFER_FTN_H

#include "../Kopf01/winapi.h"

// Copies source to destination, replacing an existing destination, which stays whole
// until the copy is: the copy goes to a temporary file of the destination's folder and
// takes the destination's place only when complete. A read-only destination, one that
// is the source itself under another name, and a name that is another entry's 8.3 alias
// are refused. Status 0 done, 3 failed (any reason; also for a length of 0 or less,
// after the error box). On a failure nothing but the temporary file was written, and it
// is removed.
void FTNFCO(short *status, const char *source, int sourceLength, const char *destination,
            int destinationLength);

// Copies source (NULL: an empty file) to a fresh temporary file in the folder of beside
// (a NUL-terminated path), named "CXF", five hexadecimal digits and ".TMP": an 8.3 name on every medium,
// which no chart pattern matches. True with its path in temporary; on a failure
// nothing is left. The caller renames it over beside (MoveFileExA) or drops it.
bool CopyToTemporary(const char *source, const char *beside, char temporary[MAX_PATH]);

// Removes a temporary file, read-only or not. One that cannot be removed now (its drive
// is gone) is tried again at the next CopyToTemporary.
void DropTemporary(const char *temporary);

// True when both names reach existing files and these are two different files; false
// for one file under two names (two drive letters of one folder) and when either
// cannot be opened.
bool DistinctFiles(const char *first, const char *second);

// Deletes one file. Status 0 done, 3 failed.
void FTNFDE(short *status, const char *path, int length);

enum { FTNFDX_CREATE = 1, FTNFDX_CHDIR = 3 };

// Creates a directory (operation 1; an existing one counts as done) or makes it the
// current directory (operation 3). Status 0 done, 1 length over 260, 2 failed.
void Ftnfdx(short *status, short operation, const char *path, short length);

// Readiness of diskette drive A: (index 0) or B: (index 1): 0 ready, 128 removable
// drive without a readable disk, -1 no such drive or index out of range.
short Dsktst(short index);

// What FTNFNS returns for a found entry, all in local time.
struct FoundEntry {
    int size;     // low 32 bits of the size
    unsigned int sizeHigh;  // high 32 bits, so that huge files are not taken for small ones
    short year;
    short month;
    short day;
    short hour;
    short minute;
    short second;
};

// One entry looked up by its exact name: the long name the platform gives it (also when
// the path names it by its 8.3 alias), its attributes, and its size and local time.
struct ChartEntry {
    char longName[MAX_PATH];
    char alias[14];  // empty when the platform gives none
    DWORD attributes;
    FoundEntry found;
};

// Looks up the entry that path (length characters, no wildcard) names. False when
// there is none, or the path holds a wildcard or does not fit MAX_PATH.
bool FindChartEntry(const char *path, int length, ChartEntry *entry);

// Whether the last component of path (NUL-terminated) is the entry's long name, letters
// compared regardless of case; false when the path names the entry by its 8.3 alias.
bool IsLongNameOf(const char *path, const ChartEntry *entry);

// The name under which a directory search returns the entry: its long name or its 8.3
// alias, as SHOW_ALIAS and the form of the long name decide.
const char *ListedName(const ChartEntry *entry);

struct ChartFolderEntry;
struct ChartFolderAlias;

// One directory search of a chart folder, made once for a command's many charts, so
// that each chart need not be looked up on its own: under Wine a look-up costs about as
// much as a file operation, and one of a name the folder lacks reads the whole folder.
// The search tells what was there when it was made; a name it lacks may have been made
// since, or lie beyond the most entries it holds.
struct ChartFolder {
    ChartFolderEntry *entries;  // by upper-cased long name
    ChartFolderAlias *aliases;  // by upper-cased alias
    int count;
    int aliasCount;
    bool searched;      // false: the search knows nothing
    bool probed;        // a copy into it has shown whether it is the source folder
    bool sameAsSource;  // ... and it is: the source folder under another letter
};

// Searches folder (its path with the closing "\"); false when there is no memory for
// it. A folder that cannot be searched gives an empty search. FreeChartFolder releases.
bool ScanChartFolder(const char *folder, ChartFolder *scan);
void FreeChartFolder(ChartFolder *scan);

// The entry of the search that name (a file name without folder) names, by its long
// name or its 8.3 alias, letters compared regardless of case (KleGro); null when the
// search has none. Its size and time are not filled in.
const ChartEntry *FindInChartFolder(const ChartFolder *scan, const char *name);

// FTNFCO for one of a command's charts into the folder that destinationFolder searched:
// what stands under the destination's name is taken from the search, its attributes
// asked afresh, and whether the folder is the source's own is found out by the first
// copy, not by every one. A name the search lacks is given to the copy by a rename that
// replaces nothing, so what was made there since is looked at as FTNFCO looks at it.
void FtnfcoIntoFolder(short *status, const char *source, int sourceLength,
                      const char *destination, int destinationLength,
                      ChartFolder *destinationFolder);

enum { FTNFNS_FIRST = 1, FTNFNS_NEXT = 2, FTNFNS_CLOSE = 3 };

// The file-name search over the platform's directory search, with one process-wide
// search state. Mode 1: name holds the pattern (nameLength characters) and *attributes
// the mask (0 = any). Modes 1 and 2 return the next entry's name in name (at most
// nameSize characters; a NUL follows when there is room), its length, its attributes and the entry record.
// Status 0 found, 1 no (further) entry, 2 find-first failed, 3 find-next failed or bad
// mode, 4 invalid handle.
void FTNFNS(short *status, short mode, char *name, short nameSize, short *nameLength,
            short *attributes, FoundEntry *entry);

// Forgets the SHOW_ALIAS option read by the first search, so that the next one reads it
// again (tests change the INI file between searches).
void FtnfnsResetAliasOption(void);

#endif
