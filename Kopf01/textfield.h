// Routines on fixed-width text fields: the text stands at the start of the field and
// the rest is blank. Counts and positions are 16-bit, positions 1-based.
#ifndef CHARTXFER_TEXTFIELD_H
#define CHARTXFER_TEXTFIELD_H

// Upper-cases the first n characters in place by the active ANSI code page.
void KleGro(char *text, short n);

// Position (1-based) of the first m characters of pattern within the first n
// characters of text; 0 when there is none. Exact comparison.
short nsuche(const char *text, short n, const char *pattern, short m);

// Removes every blank and NUL from the first n characters, packs the rest to the left,
// fills the freed positions with blanks; returns the number of characters kept.
short SqueezeBlanks(char *text, short n);

// Length of the first n characters without trailing blanks and NULs.
short TrimLength(const char *text, short n);

#endif
