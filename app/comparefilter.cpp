// The date filter that ends every refresh, and Compare, which selects the source charts
// that the destination lacks or holds in an older state.
#include "dialog.h"

#include "chartpath.h"
#include "datenorm.h"
#include "listentry.h"
#include "../Ftn/ftn.h"
#include "../Kopf01/sort.h"
#include "../Kopf01/textfield.h"
#include "../Lm4/scan.h"
#include "../resources/resource.h"

#include <string.h>

namespace {

enum {
    DATE_TEXT_SIZE = 80,      // a date edit's text; a longer text is cut by the read
    LINE_SIZE = 80,           // one list line read back
    DATE_KEY_LENGTH = 8,      // yyyymmdd
    COMPARE_KEY_LENGTH = 13,  // century, yymmdd, hh:mm
    NORMAL_DATE_LENGTH = 10,  // dd.mm.yyyy
    // A destination line in Compare's index: its name upper-cased, its line number, its
    // length (at most 24) and its columns 1-24. Sorted by name and line number.
    INDEX_NUMBER = CHART_NAME_LENGTH,
    INDEX_NUMBER_LENGTH = 4,
    INDEX_LENGTH = INDEX_NUMBER + INDEX_NUMBER_LENGTH,
    INDEX_LENGTH_WIDTH = 2,
    INDEX_TEXT = INDEX_LENGTH + INDEX_LENGTH_WIDTH,
    INDEX_RECORD_LENGTH = INDEX_TEXT + CHART_LINE_LENGTH,
    INDEX_CAPACITY = MAX_CHARTS
};

static_assert(INDEX_CAPACITY <= 9999, "line numbers have four digits");

struct DateFilter {
    int checkId;
    int editId;
    bool active;
    char key[DATE_KEY_LENGTH];
};

// Reads one filter: a checked box with a non-empty edit. The edit then shows the
// normalised date, so the user sees the date that is applied.
void ReadDateFilter(HWND dialog, DateFilter *filter)
{
    filter->active = false;
    if (IsDlgButtonChecked(dialog, filter->checkId) != BST_CHECKED) {
        return;
    }
    char text[DATE_TEXT_SIZE];
    memset(text, 0, sizeof text);
    UINT copied = GetDlgItemTextA(dialog, filter->editId, text, DATE_TEXT_SIZE);
    int length = copied < DATE_TEXT_SIZE ? (int)copied : DATE_TEXT_SIZE - 1;
    if (length < 1) {
        return;
    }
    NormDateEntry(text, DATE_TEXT_SIZE, &length);
    text[NORMAL_DATE_LENGTH] = '\0';
    SetDlgItemTextA(dialog, filter->editId, text);
    memcpy(filter->key, text + 6, 4);
    memcpy(filter->key + 4, text + 3, 2);
    memcpy(filter->key + 6, text, 2);
    filter->active = true;
}

// yyyymmdd of a chart line, the century taken from the two-digit year.
void LineDateKey(const char *line, char key[DATE_KEY_LENGTH])
{
    CenturyOfYear(line + LINE_YEAR_OFFSET, key);
    memcpy(key + 2, line + LINE_YEAR_OFFSET, 2);
    memcpy(key + 4, line + LINE_MONTH_OFFSET, 2);
    memcpy(key + 6, line + LINE_DAY_OFFSET, 2);
}

// Century, yymmdd and hh:mm of a chart line: a later change gives a greater key.
void LineCompareKey(const char *line, char key[COMPARE_KEY_LENGTH])
{
    LineDateKey(line, key);
    memcpy(key + DATE_KEY_LENGTH, line + LINE_TIME_OFFSET, LINE_TIME_LENGTH);
}

bool KeepLine(const char *key, const DateFilter &until, const DateFilter &at,
              const DateFilter &since, bool rangeMode)
{
    if (at.active && memcmp(key, at.key, DATE_KEY_LENGTH) == 0) {
        return true;
    }
    if (rangeMode) {
        return memcmp(since.key, key, DATE_KEY_LENGTH) <= 0 &&
               memcmp(key, until.key, DATE_KEY_LENGTH) <= 0;
    }
    return (until.active && memcmp(key, until.key, DATE_KEY_LENGTH) <= 0) ||
           (since.active && memcmp(key, since.key, DATE_KEY_LENGTH) >= 0);
}

void FilterList(HWND dialog, int listId, const DateFilter &until, const DateFilter &at,
                const DateFilter &since, bool rangeMode)
{
    // From the last line to the first, so that a deletion does not move the lines
    // still to be looked at; painted once at the end, not once a deletion.
    HWND list = GetDlgItem(dialog, listId);
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (LRESULT index = count - 1; index >= 0; --index) {
        char line[LINE_SIZE];
        int length;
        // The fixed texts of a drive that is not ready or not prepared have no date:
        // they stay, so that the list still tells why it holds no charts.
        if (!ReadListLine(list, (int)index, line, LINE_SIZE, &length) ||
            !IsChartLine(line, length)) {
            continue;
        }
        char key[DATE_KEY_LENGTH];
        LineDateKey(line, key);
        if (!KeepLine(key, until, at, since, rangeMode)) {
            SendMessageA(list, LB_DELETESTRING, (WPARAM)index, 0);
        }
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

// Compare looks every source chart up in the destination list. LB_FINDSTRING searches
// the list from its top each time: for 2000 lines against 2000 that is four million
// comparisons, most of a second under Wine. So the destination lines are read once and
// sorted by their upper-cased name and line number: the first record of a name stands
// for the line that LB_FINDSTRING would find.
struct DestinationIndex {
    char records[INDEX_CAPACITY * INDEX_RECORD_LENGTH];
    int count;
};

// value (not negative, at most width digits) as width digits with leading zeros.
void PutDigits(char *field, int width, int value)
{
    for (int k = width - 1; k >= 0; --k) {
        field[k] = (char)('0' + value % 10);
        value /= 10;
    }
}

// False when the list is longer than the index or a line cannot be read: Compare then
// asks the list box itself.
bool IndexDestination(HWND destinationList, DestinationIndex *index)
{
    index->count = 0;
    LRESULT lines = SendMessageA(destinationList, LB_GETCOUNT, 0, 0);
    if (lines < 0 || lines > INDEX_CAPACITY) {
        return false;
    }
    for (int i = 0; i < (int)lines; ++i) {
        char line[LINE_SIZE];
        int length;
        if (!ReadListLine(destinationList, i, line, LINE_SIZE, &length)) {
            return false;
        }
        if (length < CHART_NAME_LENGTH) {
            continue;  // too short to begin with any name
        }
        if (length > CHART_LINE_LENGTH) {
            length = CHART_LINE_LENGTH;  // no reader looks further
        }
        char *record = index->records + index->count * INDEX_RECORD_LENGTH;
        memcpy(record, line, CHART_NAME_LENGTH);
        KleGro(record, CHART_NAME_LENGTH);
        PutDigits(record + INDEX_NUMBER, INDEX_NUMBER_LENGTH, i);
        PutDigits(record + INDEX_LENGTH, INDEX_LENGTH_WIDTH, length);
        memset(record + INDEX_TEXT, ' ', CHART_LINE_LENGTH);
        memcpy(record + INDEX_TEXT, line, (size_t)length);
        ++index->count;
    }
    c4sort(index->records, INDEX_RECORD_LENGTH, (short)index->count, 1, INDEX_LENGTH);
    return true;
}

// The first line of the index that begins with name, letters compared without regard to
// case: its columns into other. False when there is none.
bool FindInIndex(const DestinationIndex *index, const char *name, char *other, int *otherLength)
{
    char key[CHART_NAME_LENGTH];
    memcpy(key, name, CHART_NAME_LENGTH);
    KleGro(key, CHART_NAME_LENGTH);
    int low = 0;
    int high = index->count;
    while (low < high) {
        int middle = low + (high - low) / 2;
        if (memcmp(index->records + middle * INDEX_RECORD_LENGTH, key, CHART_NAME_LENGTH) < 0) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    const char *record = index->records + low * INDEX_RECORD_LENGTH;
    if (low >= index->count || memcmp(record, key, CHART_NAME_LENGTH) != 0) {
        return false;
    }
    *otherLength = (record[INDEX_LENGTH] - '0') * 10 + (record[INDEX_LENGTH + 1] - '0');
    memcpy(other, record + INDEX_TEXT, CHART_LINE_LENGTH);
    other[*otherLength] = '\0';
    return true;
}

// The first destination line that begins with name, letters compared without regard to
// case, into other (LINE_SIZE characters); false when there is none or it cannot be read.
bool FindDestinationLine(HWND destinationList, const DestinationIndex *index, const char *name,
                         char *other, int *otherLength)
{
    if (index != nullptr) {
        return FindInIndex(index, name, other, otherLength);
    }
    char search[CHART_NAME_LENGTH + 1];
    memcpy(search, name, CHART_NAME_LENGTH);
    search[CHART_NAME_LENGTH] = '\0';
    LRESULT found = SendMessageA(destinationList, LB_FINDSTRING, (WPARAM)-1, (LPARAM)search);
    return found >= 0 &&
           ReadListLine(destinationList, (int)found, other, LINE_SIZE, otherLength);
}

// The two chart directories, when the combos name them: where Compare looks up a
// chart that the source list shows by its 8.3 alias.
struct ChartDrives {
    bool known;
    char source;
    char destination;
    const char *systemDirName;
};

void ReadChartDrives(HWND dialog, ChartDrives *drives)
{
    drives->known = SelectedSystem(dialog, &drives->systemDirName) &&
                    SelectedDrive(dialog, IDC_SOURCE_DRIVE, &drives->source) &&
                    SelectedDrive(dialog, IDC_DEST_DRIVE, &drives->destination);
}

// A listed name that may be an 8.3 alias: every alias the platform makes holds a "~".
bool MayBeAlias(const char name[CHART_NAME_LENGTH])
{
    return memchr(name, '~', CHART_NAME_LENGTH) != nullptr;
}

// FAT numbers aliases per folder, so one alias can stand for different charts on the
// two drives, and one chart can have different aliases there. The chart behind a source
// name is found on the source drive, then under its long name on the destination; name
// becomes the name under which the destination list shows that chart. False with
// *missing when the destination holds no such chart (or none its list can show); false
// without it when the source chart cannot be looked up: the names then stand as listed.
bool DestinationNameOfChart(const ChartDrives &drives, char name[CHART_NAME_LENGTH],
                            bool *missing)
{
    *missing = false;
    char path[CHART_PATH_SIZE];
    short length = BuildChartPath(drives.source, drives.systemDirName, name, path);
    ChartEntry source;
    if (!FindChartEntry(path, length, &source)) {
        return false;
    }
    *missing = true;
    char target[NAMED_CHART_PATH_SIZE];
    int targetLength =
        BuildNamedChartPath(drives.destination, drives.systemDirName, source.longName, target);
    ChartEntry destination;
    if (!FindChartEntry(target, targetLength, &destination) ||
        !IsLongNameOf(target, &destination)) {
        return false;
    }
    const char *listed = ListedName(&destination);
    char scanLine[SCAN_LINE_LENGTH];
    char listLine[LIST_LINE_LENGTH];
    if (!ScanLineOf(listed, (short)strnlen(listed, MAX_PATH), &destination.found, scanLine) ||
        !ListLineOfScanLine(scanLine, listLine)) {
        return false;
    }
    memcpy(name, listLine, CHART_NAME_LENGTH);
    *missing = false;
    return true;
}

// Selects lines first to last of a multiple-selection list. LB_SELITEMRANGE takes
// 16-bit line numbers; lines beyond (a list holds far fewer) are selected one by one.
void SelectLines(HWND list, int first, int last)
{
    const int kLastRangeLine = 0xFFFF;
    if (first <= kLastRangeLine) {
        int rangeLast = last < kLastRangeLine ? last : kLastRangeLine;
        SendMessageA(list, LB_SELITEMRANGE, TRUE, (LPARAM)(DWORD)MAKELONG(first, rangeLast));
        first = rangeLast + 1;
    }
    for (int line = first; line <= last; ++line) {
        SendMessageA(list, LB_SETSEL, TRUE, (LPARAM)line);
    }
}

// What Compare works with: both lists, the destination's index (null when the
// destination list could not be indexed) and the drives.
struct CompareSides {
    HWND sourceList;
    HWND destinationList;
    const DestinationIndex *destinations;
    ChartDrives drives;
};

// Whether Compare selects source line index: the destination lacks the chart, shows
// something that is not that chart, or holds it with an older change.
bool SourceLineWanted(const CompareSides &sides, int index)
{
    char line[LINE_SIZE];
    int length;
    if (!ReadListLine(sides.sourceList, index, line, LINE_SIZE, &length)) {
        return false;
    }
    if (!IsChartLine(line, length)) {
        return true;
    }

    char search[CHART_NAME_LENGTH];
    ChartNameOfLine(line, length, search);
    bool missing = false;
    if (sides.drives.known && MayBeAlias(search) &&
        !DestinationNameOfChart(sides.drives, search, &missing) && missing) {
        return true;
    }
    char other[LINE_SIZE];
    int otherLength;
    if (!FindDestinationLine(sides.destinationList, sides.destinations, search, other,
                             &otherLength)) {
        return true;
    }
    char otherName[CHART_NAME_LENGTH];
    ChartNameOfLine(other, otherLength, otherName);
    // The search ignores case; the chart must match exactly.
    if (memcmp(search, otherName, CHART_NAME_LENGTH) != 0 || !IsChartLine(other, otherLength)) {
        return true;
    }

    char sourceKey[COMPARE_KEY_LENGTH];
    char destinationKey[COMPARE_KEY_LENGTH];
    LineCompareKey(line, sourceKey);
    LineCompareKey(other, destinationKey);
    return memcmp(sourceKey, destinationKey, COMPARE_KEY_LENGTH) > 0;
}

}  // namespace

void ApplyDateFilter(HWND dialog)
{
    DateFilter until = {IDC_UNTIL_CHECK, IDC_UNTIL_EDIT, false, {}};
    DateFilter at = {IDC_AT_CHECK, IDC_AT_EDIT, false, {}};
    DateFilter since = {IDC_SINCE_CHECK, IDC_SINCE_EDIT, false, {}};
    ReadDateFilter(dialog, &until);
    ReadDateFilter(dialog, &at);
    ReadDateFilter(dialog, &since);
    if (!until.active && !at.active && !since.active) {
        return;
    }

    // until and since in the right order are one closed range; otherwise they stay
    // two alternatives and the days between them go.
    bool rangeMode = until.active && since.active &&
                     memcmp(since.key, until.key, DATE_KEY_LENGTH) <= 0;
    FilterList(dialog, IDC_SOURCE_LIST, until, at, since, rangeMode);
    FilterList(dialog, IDC_DEST_LIST, until, at, since, rangeMode);
}

void CompareLists(HWND dialog)
{
    DestinationIndex destinations;
    CompareSides sides;
    sides.sourceList = GetDlgItem(dialog, IDC_SOURCE_LIST);
    sides.destinationList = GetDlgItem(dialog, IDC_DEST_LIST);
    sides.destinations =
        IndexDestination(sides.destinationList, &destinations) ? &destinations : nullptr;
    ReadChartDrives(dialog, &sides.drives);

    // Every source line's selection is set: all are cleared, then each run of wanted
    // lines is selected at once. LB_SETSEL line by line would also move the caret and
    // the anchor to every line it selects and scroll the list to it (most of a second
    // under Wine for 2000 lines, though the list is not redrawn meanwhile); clearing
    // and selecting ranges leave both, and the part of the list on view, where the user
    // had them. The list is painted once at the end.
    LRESULT count = SendMessageA(sides.sourceList, LB_GETCOUNT, 0, 0);
    SendMessageA(sides.sourceList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(sides.sourceList, LB_SETSEL, FALSE, -1);
    int runStart = -1;
    for (int index = 0; index <= (int)count; ++index) {
        bool wanted = index < (int)count && SourceLineWanted(sides, index);
        if (wanted && runStart < 0) {
            runStart = index;
        } else if (!wanted && runStart >= 0) {
            SelectLines(sides.sourceList, runStart, index - 1);
            runStart = -1;
        }
    }
    SendMessageA(sides.sourceList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(sides.sourceList, nullptr, TRUE);
}
