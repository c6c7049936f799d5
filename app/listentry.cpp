// Safe reads of list lines and their chart columns.
#include "listentry.h"

#include "../Kopf01/textfield.h"
#include "../Lm4/scan.h"

#include <string.h>

bool ReadListLine(HWND list, int index, char *buffer, int size, int *length)
{
    *length = -1;
    if (size < 1) {
        return false;
    }
    buffer[0] = '\0';
    // LB_GETTEXT has no buffer size: ask for the length first and never let a line
    // longer than the buffer be copied. The length may be reported too large, never
    // too small.
    LRESULT needed = SendMessageA(list, LB_GETTEXTLEN, (WPARAM)index, 0);
    if (index < 0 || needed < 0 || needed >= size) {
        return false;
    }
    LRESULT copied = SendMessageA(list, LB_GETTEXT, (WPARAM)index, (LPARAM)buffer);
    if (copied < 0 || copied >= size) {
        buffer[0] = '\0';
        return false;
    }
    buffer[copied] = '\0';
    *length = (int)copied;
    return true;
}

bool IsChartLine(const char *line, int length)
{
    return length >= CHART_LINE_LENGTH && line[LINE_TAB_OFFSET] == '\t';
}

void ChartNameOfLine(const char *line, int length, char name[CHART_NAME_LENGTH])
{
    memset(name, ' ', CHART_NAME_LENGTH);
    int n = length < CHART_NAME_LENGTH ? length : CHART_NAME_LENGTH;
    if (n > 0) {
        memcpy(name, line, (size_t)n);
    }
}

void CenturyOfYear(const char *twoDigitYear, char century[2])
{
    // Compared as text, as the keys are: a year below "80" belongs to the 2000s.
    if (memcmp(twoDigitYear, "80", 2) < 0) {
        memcpy(century, "20", 2);
    } else {
        memcpy(century, "19", 2);
    }
}

bool ListLineOfScanLine(const char *scanLine, char line[LIST_LINE_LENGTH])
{
    static const char kEmptyFile[] = "      0";
    static const char kChartExtension[] = ".MAS";
    if (memcmp(scanLine + SCAN_SIZE, kEmptyFile, SCAN_SIZE_LENGTH) == 0 ||
        memcmp(scanLine + SCAN_EXTENSION, kChartExtension, SCAN_EXTENSION_LENGTH) != 0 ||
        scanLine[SCAN_CUT_MARK] != ' ') {
        return false;
    }
    short nameLength = TrimLength(scanLine + SCAN_NAME, SCAN_NAME_LENGTH);
    if (nameLength == 0 || memchr(scanLine + SCAN_NAME, ' ', (size_t)nameLength) != nullptr) {
        return false;
    }
    memset(line, ' ', LIST_LINE_LENGTH);
    memcpy(line, scanLine + SCAN_NAME, CHART_NAME_LENGTH);
    line[LINE_TAB_OFFSET] = '\t';
    memcpy(line + LINE_DATE_TIME_OFFSET, scanLine + SCAN_DATE_TIME, SCAN_DATE_TIME_LENGTH);
    line[LINE_END_OFFSET] = '\0';
    // The hidden date key carries the century, so that the sort by date orders across
    // 2000.
    char *key = line + LINE_DATE_KEY_OFFSET;
    CenturyOfYear(scanLine + SCAN_YEAR, key);
    memcpy(key + 2, scanLine + SCAN_YEAR, 2);
    memcpy(key + 4, scanLine + SCAN_MONTH, 2);
    memcpy(key + 6, scanLine + SCAN_DAY, 2);
    memcpy(key + 8, scanLine + SCAN_HOUR, 2);
    memcpy(key + 10, scanLine + SCAN_MINUTE, 2);
    return true;
}
