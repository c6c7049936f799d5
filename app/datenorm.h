// Turns whatever was typed into a date edit into a date of the form dd.mm.yyyy.
#ifndef CHARTXFER_DATENORM_H
#define CHARTXFER_DATENORM_H

// text: the edit's text in a buffer of size characters (at least 11); *length: its
// length on entry (1 or more), 10 on return. Characters 1-10 receive the date and a NUL
// follows them.
void NormDateEntry(char *text, int size, int *length);

#endif
