// The last error code of the calling thread, as KERNEL32 keeps it.
#include "windows.h"

static thread_local DWORD lastError = ERROR_SUCCESS;

DWORD WINAPI GetLastError(void) { return lastError; }

void WINAPI SetLastError(DWORD code) { lastError = code; }
