// What each platform's driver gives the read-backs that both share.
#ifndef TESTS_SUPPORT_DRIVER_INTERNAL_H
#define TESTS_SUPPORT_DRIVER_INTERNAL_H

#include "Kopf01/winapi.h"

namespace driver {

// The control id of dialog, which must be of the class given ("" for any); otherwise
// the running test fails, naming caller, and the result is null.
HWND Control(HWND dialog, int id, const char *className, const char *caller);

// The window style of a control.
DWORD ControlStyle(HWND control);

}  // namespace driver

#endif
