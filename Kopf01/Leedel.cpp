// Blanks in fixed-width fields: squeezing them out and measuring without them. A NUL
// counts as a blank, so fields filled by platform calls behave like the program's own.
#include "textfield.h"

static bool IsBlankOrNul(char c) { return c == ' ' || c == '\0'; }

short SqueezeBlanks(char *text, short n)
{
    if (n <= 0 || text == nullptr) {
        return 0;
    }
    short kept = 0;
    for (short k = 0; k < n; ++k) {
        if (!IsBlankOrNul(text[k])) {
            text[kept] = text[k];
            ++kept;
        }
    }
    for (short k = kept; k < n; ++k) {
        text[k] = ' ';
    }
    return kept;
}

short TrimLength(const char *text, short n)
{
    if (n <= 0 || text == nullptr) {
        return 0;
    }
    short length = n;
    while (length > 0 && IsBlankOrNul(text[length - 1])) {
        --length;
    }
    return length;
}
