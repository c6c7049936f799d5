// The last error code of the calling thread, the process's error mode, as KERNEL32 keeps
// them, and the process id. Linux shows no critical-error box, so the mode is only kept.
#include "windows.h"

#include <unistd.h>

static thread_local DWORD lastError = ERROR_SUCCESS;
static UINT errorMode = 0;

DWORD WINAPI GetLastError(void) { return lastError; }

void WINAPI SetLastError(DWORD code) { lastError = code; }

DWORD WINAPI GetCurrentProcessId(void) { return (DWORD)getpid(); }

// Replaces the mode and returns the one it replaces.
UINT WINAPI SetErrorMode(UINT mode)
{
    UINT previous = errorMode;
    errorMode = mode;
    return previous;
}
