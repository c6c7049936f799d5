// The program's entry point on Windows: the arguments part of the command line goes to
// start-up, which runs the main dialog. The exit code is always 0.
#include "dialog.h"
#include "language.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)previous;
    (void)show;
    SelectDialogLanguage();
    return RunChartTransfer(instance, commandLine);
}
