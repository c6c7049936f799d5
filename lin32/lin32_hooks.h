// What only the Linux layer has: its configuration (locale, code page, drive map) and
// the hooks through which tests stand in for the user and the clock. The product code
// never includes this header.
#ifndef LIN32_HOOKS_H
#define LIN32_HOOKS_H

#include "windows.h"

// ---- code page -------------------------------------------------------------------
// The single-byte ANSI code page of the process: 1252, 1250 or 1251, from the locale
// unless a test sets one. File names cross the layer's boundary in UTF-8 on the Linux
// side and in this code page on the program's side.
void Lin32SetCodePage(int codePage);
int Lin32GetCodePage(void);

// ---- locale -------------------------------------------------------------------------
// Reads LC_ALL, LC_MESSAGES, LC_CTYPE and LANG as a process does when it starts: the
// user's UI language (GetUserDefaultUILanguage) and the code page then follow them, and
// the thread's UI language and locale are the user's again. Happens by itself before the
// first use; a test that changes the variables calls it.
void Lin32ReadLocale(void);

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
