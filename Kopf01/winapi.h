// The one platform header of the program. On Windows it is <windows.h> and nothing
// else; on Linux the lin32 layer declares the same names for the Win32 subset we use.
#ifndef CHARTXFER_WINAPI_H
#define CHARTXFER_WINAPI_H

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include "../lin32/windows.h"
#endif

#endif
