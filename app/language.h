// The language of the main dialog. The dialog resource exists in six languages; the
// user's language picks one of them by its base language, any other language gets the
// English (United Kingdom) dialog.
#ifndef CHARTXFER_LANGUAGE_H
#define CHARTXFER_LANGUAGE_H

#include "../Kopf01/winapi.h"

// Language ids of the six dialogs.
enum {
    DIALOG_GERMAN = 0x0407,
    DIALOG_FINNISH = 0x040B,
    DIALOG_FRENCH = 0x040C,
    DIALOG_POLISH = 0x0415,
    DIALOG_RUSSIAN = 0x0419,
    DIALOG_ENGLISH_UK = 0x0809
};

// The dialog language for a user language id (any sublanguage of German gives the
// German dialog, of English the English one, and so on).
void DialogLanguageFor(WORD userLanguage, WORD *dialogLanguage);

// Makes the dialog templates that this thread loads afterwards come in the dialog
// language of the user's UI language. Call before the main dialog is opened.
void SelectDialogLanguage(void);

#endif
