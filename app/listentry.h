// Reading one line of a list control back into a fixed buffer, and the columns of a
// chart line that the filter, Compare and the transfers read.
#ifndef CHARTXFER_LISTENTRY_H
#define CHARTXFER_LISTENTRY_H

#include "../Kopf01/winapi.h"

enum {
    CHART_NAME_LENGTH = 8,   // columns 1-8, blank-padded
    CHART_LINE_LENGTH = 24,  // name, TAB, dd.mm.yy, two blanks, hh:mm
    LINE_TAB_OFFSET = 8,     // 0-based offsets of the 1-based columns 9, 10, 13, 16, 20
    LINE_DAY_OFFSET = 9,
    LINE_MONTH_OFFSET = 12,
    LINE_YEAR_OFFSET = 15,
    LINE_TIME_OFFSET = 19,
    LINE_TIME_LENGTH = 5
};

// Copies line index of list listId into buffer (size characters, NUL-terminated) and
// sets *length. A line that does not fit, or an index the list does not have, gives
// false with *length -1 and an empty buffer.
bool ReadListEntry(HWND dialog, int listId, int index, char *buffer, int size, int *length);

// A line with the chart layout: long enough for every column and a TAB in column 9.
// The fixed texts for a drive that is not ready or not prepared are not chart lines.
bool IsChartLine(const char *line, int length);

// Columns 1-8 of the line, blank-padded where the line is shorter; no NUL.
void ChartNameOfLine(const char *line, int length, char name[CHART_NAME_LENGTH]);

// Century of a list line's two-digit year: 00-79 are 2000-2079, 80-99 are 1980-1999.
void CenturyOfYear(const char *twoDigitYear, char century[2]);

#endif
