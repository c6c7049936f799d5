// Line-by-line reading of a text file through CreateFileA/ReadFile, so that names
// resolve the platform's way (drive letters, current directory).
#include "linefile.h"

#include <string.h>

// Refills the buffer; false at the end of the file or on a read error.
static bool FillBuffer(LineFile *file)
{
    if (file->atEnd) {
        return false;
    }
    DWORD got = 0;
    if (!ReadFile(file->handle, file->buffer, (DWORD)sizeof file->buffer, &got, NULL) ||
        got == 0) {
        file->atEnd = true;
        file->filled = 0;
        file->next = 0;
        return false;
    }
    file->filled = got;
    file->next = 0;
    return true;
}

bool LineFileOpen(LineFile *file, const char *name)
{
    file->handle = INVALID_HANDLE_VALUE;
    file->filled = 0;
    file->next = 0;
    file->atEnd = true;
    if (name == NULL) {
        return false;
    }
    HANDLE handle = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    file->handle = handle;
    file->atEnd = false;
    return true;
}

bool LineFileRead(LineFile *file, char *line, int lineSize)
{
    if (file->handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    if (file->next >= file->filled && !FillBuffer(file)) {
        return false;
    }
    int length = 0;
    bool ended = false;
    while (!ended) {
        if (file->next >= file->filled && !FillBuffer(file)) {
            break;  // last line without a line end
        }
        char c = file->buffer[file->next++];
        if (c == '\n') {
            ended = true;
        } else if (c == '\r') {
            // CR LF ends the line; so does a CR on its own
            if (file->next >= file->filled) {
                FillBuffer(file);
            }
            if (file->next < file->filled && file->buffer[file->next] == '\n') {
                file->next++;
            }
            ended = true;
        } else if (length < lineSize) {
            line[length++] = c;
        }
    }
    if (lineSize > length) {
        memset(line + length, ' ', (size_t)(lineSize - length));
    }
    return true;
}

void LineFileClose(LineFile *file)
{
    if (file->handle != INVALID_HANDLE_VALUE) {
        CloseHandle(file->handle);
    }
    file->handle = INVALID_HANDLE_VALUE;
    file->filled = 0;
    file->next = 0;
    file->atEnd = true;
}
