// Message boxes whose text and caption are the texts of the dialog's hidden message
// controls, so that the dialog resource alone carries the language.
#ifndef CHARTXFER_DIALOGMSG_H
#define CHARTXFER_DIALOGMSG_H

#include "../Kopf01/winapi.h"

enum {
    MESSAGE_TEXT_SIZE = 255,  // message texts: at most 254 characters and the NUL
    CAPTION_SIZE = 80         // captions: at most 79 characters and the NUL
};

// Shows the text of control textId captioned with the text of control captionId, owned
// by the dialog, with the buttons and icon of type; returns the button pressed.
int ShowDialogMessage(HWND dialog, int textId, int captionId, UINT type);

#endif
