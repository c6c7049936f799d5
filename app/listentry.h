// Reading one line of a list control back into a fixed buffer, and the columns of a
// chart line that the filter, Compare and the transfers read.
#ifndef CHARTXFER_LISTENTRY_H
#define CHARTXFER_LISTENTRY_H

#include "../Kopf01/winapi.h"

// The list line of the list builder, 45 characters: what the list control shows
// (columns 1-24, ended by a NUL in column 25) and the hidden date key the sort uses.
// 0-based offsets of the 1-based columns.
enum {
    CHART_NAME_LENGTH = 8,   // columns 1-8: the chart name, blank-padded
    CHART_LINE_LENGTH = 24,  // name, TAB, dd.mm.yy, two blanks, hh:mm
    LINE_TAB_OFFSET = 8,     // column 9
    LINE_DATE_TIME_OFFSET = 9,  // columns 10-24, the scan line's date and time
    LINE_DAY_OFFSET = 9,
    LINE_MONTH_OFFSET = 12,
    LINE_YEAR_OFFSET = 15,
    LINE_TIME_OFFSET = 19,
    LINE_TIME_LENGTH = 5,
    LINE_END_OFFSET = 24,    // column 25: NUL
    LINE_DATE_KEY_OFFSET = 25,  // columns 26-37: century, yymmddhhmm
    LINE_DATE_KEY_FIRST = 26,   // 1-based key columns for the sort
    LINE_DATE_KEY_LAST = 37,
    LIST_LINE_LENGTH = 45
};

// The list line of a scan line, when the scan line stands for a chart the program can
// name back (its columns 1-8 and ".mas"): extension exactly ".MAS", a name without
// blanks inside and not cut, and a file that is not empty. False for any other file.
bool ListLineOfScanLine(const char *scanLine, char line[LIST_LINE_LENGTH]);

// Copies line index of a list control into buffer (size characters, NUL-terminated) and
// sets *length. A line that does not fit, or an index the list does not have, gives
// false with *length -1 and an empty buffer. The loops over a list's lines pass the
// control itself: under Wine, finding it by its id costs more than reading the line.
bool ReadListLine(HWND list, int index, char *buffer, int size, int *length);

// A line with the chart layout: long enough for every column and a TAB in column 9.
// The fixed texts for a drive that is not ready or not prepared are not chart lines.
bool IsChartLine(const char *line, int length);

// Columns 1-8 of the line, blank-padded where the line is shorter; no NUL.
void ChartNameOfLine(const char *line, int length, char name[CHART_NAME_LENGTH]);

// Century of a list line's two-digit year: 00-79 are 2000-2079, 80-99 are 1980-1999.
void CenturyOfYear(const char *twoDigitYear, char century[2]);

#endif
