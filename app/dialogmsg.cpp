// Message boxes from the dialog's message controls.
#include "dialogmsg.h"

int ShowDialogMessage(HWND dialog, int textId, int captionId, UINT type)
{
    char text[MESSAGE_TEXT_SIZE];
    char caption[CAPTION_SIZE];
    GetDlgItemTextA(dialog, textId, text, MESSAGE_TEXT_SIZE);
    GetDlgItemTextA(dialog, captionId, caption, CAPTION_SIZE);
    return MessageBoxA(dialog, text, caption, type);
}
