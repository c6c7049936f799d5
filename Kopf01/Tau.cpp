// taupp: exchanges two blocks through a temporary buffer of their length.
#include "sort.h"

#include "errorbox.h"

#include <stdlib.h>
#include <string.h>

void taupp(int length, char *first, char *second)
{
    if (length <= 0 || first == nullptr || second == nullptr || first == second) {
        return;
    }
    char *buffer = (char *)malloc((size_t)length);
    if (buffer == nullptr) {
        ReportInternalError("taupp-1", 7);
        return;
    }
    memcpy(buffer, second, (size_t)length);
    memmove(second, first, (size_t)length);
    memcpy(first, buffer, (size_t)length);
    // free() reports nothing back, so a failed release cannot be seen here.
    free(buffer);
}
