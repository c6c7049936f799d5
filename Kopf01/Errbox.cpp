// The plain box for internal faults: no owner, so the dialog stays usable while it is
// open, and the same German texts in every dialog language.
#include "errorbox.h"

#include "winapi.h"

#include <string.h>

static const int BOX_TEXT_SIZE = 500;  // 499 characters and the NUL
static const char BOX_CAPTION[] = "VORNIX System Info-Box";
static const char ERROR_LEAD_IN[] = "Fehler mit der Bezeichnung:";

// Copies at most n characters of text into field (BOX_TEXT_SIZE characters) after the
// used ones and ends them with a NUL; a NUL in the text ends it early, as the box would.
// Returns the number copied.
static int CopyIntoBoxField(char *field, int used, const char *text, int n)
{
    int room = BOX_TEXT_SIZE - 1 - used;
    if (text == nullptr || n < 0) {
        n = 0;
    }
    if (n > room) {
        n = room;
    }
    int k = 0;
    while (k < n && text[k] != '\0') {
        field[used + k] = text[k];
        ++k;
    }
    field[used + k] = '\0';
    return k;
}

void ShowErrorBox(const char *text, int n)
{
    char field[BOX_TEXT_SIZE];
    CopyIntoBoxField(field, 0, text, n);
    MessageBoxA(nullptr, field, BOX_CAPTION, MB_OK);
}

void ReportInternalError(const char *label, int length)
{
    char field[BOX_TEXT_SIZE];
    int used = CopyIntoBoxField(field, 0, ERROR_LEAD_IN, (int)strlen(ERROR_LEAD_IN));
    used += CopyIntoBoxField(field, used, label, length);
    ShowErrorBox(field, used);
}
