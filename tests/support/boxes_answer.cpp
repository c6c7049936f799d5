// The answer to a box that the script did not expect, the same on both platforms.
#include "support/boxes.h"

int SafestAnswer(UINT buttons)
{
    switch (buttons) {
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
    case MB_RETRYCANCEL:
        return IDCANCEL;
    case MB_YESNO:
        return IDNO;
    case MB_ABORTRETRYIGNORE:
        return IDABORT;
    default:
        return IDOK;
    }
}
