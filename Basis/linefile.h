// Reading a text file line by line through the platform's file calls, so that paths
// resolve the way the platform resolves them (drive letters, current directory).
#ifndef CHARTXFER_LINEFILE_H
#define CHARTXFER_LINEFILE_H

#include "../Kopf01/winapi.h"

struct LineFile {
    HANDLE handle;
    char buffer[4096];
    DWORD filled;
    DWORD next;
    bool atEnd;
};

// Opens an existing file for reading; false when it cannot be opened.
bool LineFileOpen(LineFile *file, const char *name);

// Reads the next line into line (lineSize characters, no line end, no NUL), padded with
// blanks to lineSize; a longer line is cut to lineSize and the rest of it skipped.
// Returns false at the end of the file or on a read error.
bool LineFileRead(LineFile *file, char *line, int lineSize);

void LineFileClose(LineFile *file);

#endif
