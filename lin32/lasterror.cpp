// The last error code of the calling thread, as KERNEL32 keeps it, and the process id.
#include "windows.h"

#include <unistd.h>

static thread_local DWORD lastError = ERROR_SUCCESS;

DWORD WINAPI GetLastError(void) { return lastError; }

void WINAPI SetLastError(DWORD code) { lastError = code; }

DWORD WINAPI GetCurrentProcessId(void) { return (DWORD)getpid(); }
