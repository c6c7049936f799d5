// The last error code of the calling thread, and the process's error mode, as KERNEL32
// keeps them. Linux shows no critical-error box, so the mode is only kept and returned.
#include "windows.h"

static thread_local DWORD lastError = ERROR_SUCCESS;
static UINT errorMode = 0;

DWORD WINAPI GetLastError(void) { return lastError; }

void WINAPI SetLastError(DWORD code) { lastError = code; }

// Replaces the mode and returns the one it replaces.
UINT WINAPI SetErrorMode(UINT mode)
{
    UINT previous = errorMode;
    errorMode = mode;
    return previous;
}
