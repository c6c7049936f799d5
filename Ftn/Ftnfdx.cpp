// The directory routine: create a directory or make it the current directory.
#include "ftn.h"

#include "../Kopf01/textfield.h"
#include "../Kopf01/winapi.h"

#include <string.h>

enum {
    LONGEST_PATH = 260,
    PATH_SIZE = LONGEST_PATH + 1,   // the path and its NUL
    STATUS_DONE = 0,
    STATUS_TOO_LONG = 1,
    STATUS_FAILED = 2
};

void Ftnfdx(short *status, short operation, const char *path, short length)
{
    if (length > LONGEST_PATH) {
        *status = STATUS_TOO_LONG;
        return;
    }
    char name[PATH_SIZE];
    short used = 0;
    if (path != NULL && length > 0) {
        memcpy(name, path, (size_t)length);
        used = TrimLength(name, length);
    }
    name[used] = '\0';
    BOOL done = FALSE;
    if (used > 0 && operation == FTNFDX_CREATE) {
        SECURITY_ATTRIBUTES security = {sizeof(SECURITY_ATTRIBUTES), NULL, TRUE};
        done = CreateDirectoryA(name, &security) || GetLastError() == ERROR_ALREADY_EXISTS;
    } else if (used > 0 && operation == FTNFDX_CHDIR) {
        done = SetCurrentDirectoryA(name);
    }
    *status = done ? STATUS_DONE : STATUS_FAILED;
}
