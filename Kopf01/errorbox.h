// The untranslated, ownerless box for faults that normal use does not cause.
#ifndef CHARTXFER_ERRORBOX_H
#define CHARTXFER_ERRORBOX_H

// Shows the first n characters of text (at most 499) captioned "VORNIX System Info-Box".
void ShowErrorBox(const char *text, int n);

// Shows "Fehler mit der Bezeichnung:" followed by the first length characters of label.
void ReportInternalError(const char *label, int length);

#endif
