// KleGro: upper case of the first n characters of a field, by the active ANSI code page.
#include "textfield.h"

#include "errorbox.h"
#include "winapi.h"

void KleGro(char *text, short n)
{
    if (n < 0) {
        ReportInternalError("KleGro", 6);
        ReportInternalError("GroKleGro", 9);
        return;
    }
    if (n == 0 || text == nullptr) {
        return;
    }
    // CharUpperA works up to a NUL: one in place of the last character keeps it inside
    // the n characters, and that character is converted on its own.
    char last[2] = {text[n - 1], '\0'};
    text[n - 1] = '\0';
    CharUpperA(text);
    CharUpperA(last);
    text[n - 1] = last[0];
}
