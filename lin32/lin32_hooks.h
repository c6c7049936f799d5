// What only the Linux layer has: its configuration (code page, drive map, language) and
// the hooks through which tests stand in for the user and the clock. The product code
// never includes this header.
#ifndef LIN32_HOOKS_H
#define LIN32_HOOKS_H

#include "windows.h"

// ---- code page -------------------------------------------------------------------
// The single-byte ANSI code page of the process: 1252 (default), 1250 or 1251. File
// names cross the layer's boundary in UTF-8 on the Linux side and in this code page on
// the program's side.
void Lin32SetCodePage(int codePage);
int Lin32GetCodePage(void);

// ---- message boxes ---------------------------------------------------------------
// Every MessageBoxA goes to the hook, which answers it (IDOK, IDYES, ...). Without a
// hook the box is written to standard error and answered with its safest button: OK,
// No, or Abort.
typedef int (*Lin32MessageBoxHook)(void *context, HWND owner, const char *text,
                                   const char *caption, UINT type);
void Lin32SetMessageBoxHook(Lin32MessageBoxHook hook, void *context);
// The hook in place now (null when there is none), so that a test can put its own in
// front of it and hand the boxes on.
void Lin32GetMessageBoxHook(Lin32MessageBoxHook *hook, void **context);

// ---- clock -----------------------------------------------------------------------
// Fixes the date (and time) that GetLocalTime reports; Lin32ClearToday returns to the
// system clock.
void Lin32SetToday(int year, int month, int day);
void Lin32ClearToday(void);

#endif
