// Copy and delete of one chart, with the user's Abort, Retry or Ignore when it fails.
#include "dialog.h"

#include "perfile.h"
#include "../Ftn/ftn.h"
#include "../resources/resource.h"

#include <string.h>

namespace {

enum {
    PROMPT_SIZE = 256,
    PROMPT_MAX_LENGTH = 253,  // path, CR and as much of the message as fits
    MESSAGE_SIZE = 255,
    CAPTION_SIZE = 79,        // at most 78 characters
    NAME_SIZE = MAX_PATH      // a path of at most 259 characters and its NUL
};

// The attributes a flush puts back on a copy after lifting its read-only attribute.
const DWORD KEPT_ATTRIBUTES = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                              FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

enum Operation { OP_COPY, OP_COPY_CONFIRMED, OP_COPY_CONFIRMED_REMOVABLE, OP_DELETE };

// folder: the search of the destination's folder that the command made, or null.
short Attempt(Operation operation, const char *source, int sourceLength,
              const char *destination, int destinationLength, ChartFolder *folder)
{
    short status = 3;
    if (operation == OP_DELETE) {
        FTNFDE(&status, source, sourceLength);
        return status;
    }
    if (folder != nullptr) {
        FtnfcoIntoFolder(&status, source, sourceLength, destination, destinationLength, folder);
    } else {
        FTNFCO(&status, source, sourceLength, destination, destinationLength);
    }
    if (status == 0 && operation != OP_COPY &&
        !ConfirmChartCopy(source, sourceLength, destination, destinationLength,
                          operation == OP_COPY_CONFIRMED_REMOVABLE)) {
        status = 3;
    }
    return status;
}

// The path on the first line, the message on the next, within 253 characters.
void BuildPrompt(HWND dialog, int messageId, const char *path, int pathLength,
                 char prompt[PROMPT_SIZE])
{
    int n = pathLength < 0 ? 0 : pathLength;
    if (n > PROMPT_MAX_LENGTH - 1) {
        n = PROMPT_MAX_LENGTH - 1;
    }
    memcpy(prompt, path, (size_t)n);
    prompt[n++] = '\r';
    char message[MESSAGE_SIZE];
    GetDlgItemTextA(dialog, messageId, message, MESSAGE_SIZE);
    size_t room = (size_t)(PROMPT_MAX_LENGTH - n);
    size_t messageLength = strnlen(message, sizeof message);
    if (messageLength > room) {
        messageLength = room;
    }
    memcpy(prompt + n, message, messageLength);
    prompt[n + (int)messageLength] = '\0';
}

bool RunWithPrompt(HWND dialog, Operation operation, const char *source, int sourceLength,
                   const char *destination, int destinationLength, ChartFolder *folder,
                   int *choice)
{
    short status =
        Attempt(operation, source, sourceLength, destination, destinationLength, folder);
    if (status == 0) {
        return true;
    }

    char prompt[PROMPT_SIZE];
    BuildPrompt(dialog, operation == OP_DELETE ? IDM_DELETE_FAILED : IDM_COPY_FAILED, source,
                sourceLength, prompt);
    char caption[CAPTION_SIZE];
    GetDlgItemTextA(dialog, IDM_CAPTION_ATTENTION, caption, CAPTION_SIZE);
    for (;;) {
        int pressed = MessageBoxA(dialog, prompt, caption, MB_ABORTRETRYIGNORE | MB_ICONWARNING);
        if (pressed != IDRETRY) {
            // A box that could not be shown answers 0: that stops the command rather
            // than letting it go on unasked.
            *choice = pressed == IDIGNORE ? IDIGNORE : IDABORT;
            return false;
        }
        *choice = IDRETRY;
        if (Attempt(operation, source, sourceLength, destination, destinationLength, folder) ==
            0) {
            return true;
        }
    }
}

// A NUL-terminated copy of the first length characters of path; false when it does not fit.
bool CopyName(const char *path, int length, char name[NAME_SIZE])
{
    if (length < 1 || length >= NAME_SIZE) {
        return false;
    }
    memcpy(name, path, (size_t)length);
    name[length] = '\0';
    return true;
}

// Writes the file through to the disk: a diskette may otherwise hold it only in the
// cache when the source is deleted and the disk is taken out. The flush needs the file
// open for writing, which a read-only file refuses, and a copy takes over the source's
// read-only attribute: the attribute is lifted for the flush and then put back. A copy
// left writable is not what was copied, so a failed restore fails the flush.
bool FlushToDisk(const char *name, DWORD attributes)
{
    bool lifted = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (lifted) {
        DWORD writable = attributes & KEPT_ATTRIBUTES & ~(DWORD)FILE_ATTRIBUTE_READONLY;
        if (!SetFileAttributesA(name, writable != 0 ? writable : FILE_ATTRIBUTE_NORMAL)) {
            return false;
        }
    }
    bool flushed = false;
    HANDLE file = CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        flushed = FlushFileBuffers(file) != FALSE;
        CloseHandle(file);
    }
    if (lifted) {
        DWORD restored = INVALID_FILE_ATTRIBUTES;
        if (SetFileAttributesA(name, attributes & KEPT_ATTRIBUTES)) {
            restored = GetFileAttributesA(name);
        }
        if (restored == INVALID_FILE_ATTRIBUTES || (restored & FILE_ATTRIBUTE_READONLY) == 0) {
            return false;
        }
    }
    return flushed;
}

}  // namespace

bool IsRemovableDrive(char drive)
{
    char root[4] = {drive, ':', '\\', '\0'};
    return GetDriveTypeA(root) == DRIVE_REMOVABLE;
}

bool ConfirmChartCopy(const char *source, int sourceLength, const char *destination,
                      int destinationLength, bool removable)
{
    char sourceName[NAME_SIZE];
    char destinationName[NAME_SIZE];
    if (!CopyName(source, sourceLength, sourceName) ||
        !CopyName(destination, destinationLength, destinationName)) {
        return false;
    }
    WIN32_FILE_ATTRIBUTE_DATA sourceData;
    WIN32_FILE_ATTRIBUTE_DATA destinationData;
    if (!GetFileAttributesExA(sourceName, GetFileExInfoStandard, &sourceData) ||
        !GetFileAttributesExA(destinationName, GetFileExInfoStandard, &destinationData) ||
        (destinationData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
        !DistinctFiles(sourceName, destinationName)) {
        return false;
    }
    if (removable && !FlushToDisk(destinationName, destinationData.dwFileAttributes)) {
        return false;
    }
    return destinationData.nFileSizeHigh == sourceData.nFileSizeHigh &&
           destinationData.nFileSizeLow == sourceData.nFileSizeLow;
}

bool CopyWithPrompt(HWND dialog, const char *source, int sourceLength,
                    const char *destination, int destinationLength, int *choice)
{
    return RunWithPrompt(dialog, OP_COPY, source, sourceLength, destination,
                         destinationLength, nullptr, choice);
}

bool CopyIntoFolderWithPrompt(HWND dialog, const char *source, int sourceLength,
                              const char *destination, int destinationLength,
                              ChartFolder *folder, int *choice)
{
    return RunWithPrompt(dialog, OP_COPY, source, sourceLength, destination,
                         destinationLength, folder, choice);
}

bool CopyForMoveWithPrompt(HWND dialog, const char *source, int sourceLength,
                           const char *destination, int destinationLength,
                           ChartFolder *folder, bool removable, int *choice)
{
    return RunWithPrompt(dialog, removable ? OP_COPY_CONFIRMED_REMOVABLE : OP_COPY_CONFIRMED,
                         source, sourceLength, destination, destinationLength, folder, choice);
}

bool DeleteWithPrompt(HWND dialog, const char *path, int length, int *choice)
{
    return RunWithPrompt(dialog, OP_DELETE, path, length, nullptr, 0, nullptr, choice);
}
