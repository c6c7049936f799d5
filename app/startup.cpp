// Start-up: the command line into its 256-character field, upper-cased, then the main
// dialog. The program's exit code is always 0.
#include "dialog.h"

#include "../Kopf01/textfield.h"
#include "../resources/resource.h"

#include <string.h>

char g_CommandLine[COMMAND_LINE_SIZE];

void SetCriticalErrorMode(void)
{
    // Without it, GetDiskFreeSpaceA, SetCurrentDirectoryA, CopyFileA or DeleteFileA on a
    // diskette drive without its disk first show Windows' "There is no disk in the
    // drive" (Cancel, Try Again, Continue, in the language of Windows) and wait; only
    // then would the program's own prompt come. Wine never shows that box.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

int RunChartTransfer(HINSTANCE instance, const char *commandLine)
{
    // Before anything touches a drive: initialisation reads the INI file and lists drives.
    SetCriticalErrorMode();
    // The text and its NUL, at most 256 characters in all: a longer command line is cut
    // and then has no NUL, and "/K:" beyond the field is not seen.
    memset(g_CommandLine, 0, sizeof g_CommandLine);
    if (commandLine != nullptr) {
        size_t length = strnlen(commandLine, COMMAND_LINE_SIZE);
        memcpy(g_CommandLine, commandLine, length);
    }
    KleGro(g_CommandLine, COMMAND_LINE_SIZE);
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc, 0);
    return 0;
}
