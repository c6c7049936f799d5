// The chart list builder: the charts of one construction system on one drive, one list
// line each (name, tab, dd.mm.yy, two blanks, hh:mm), sorted by name or by date.
#include "dialog.h"

#include "chartpath.h"
#include "dialogmsg.h"
#include "listentry.h"
#include "../Ftn/ftn.h"
#include "../Kopf01/sort.h"
#include "../Kopf01/textfield.h"
#include "../Lm4/scan.h"
#include "../resources/resource.h"

#include <string.h>

enum { FILTER_TEXT_SIZE = 257 };  // the edit's text, at most 256 characters

static const char kNotReady[] = "<nicht bereit>";
static const char kNotPrepared[] = "<nicht vorbereitet>";

bool CheckDriveReady(HWND dialog, char drive, bool isSource)
{
    if (drive != 'A' && drive != 'B') {
        return true;
    }
    short index = drive == 'A' ? 0 : 1;
    if (Dsktst(index) == 0) {
        return true;
    }
    ShowDialogMessage(dialog, isSource ? IDM_DISK_SOURCE : IDM_DISK_DEST, IDM_CAPTION_DISK,
                      MB_OK | MB_ICONWARNING);
    if (Dsktst(index) == 0) {
        return true;
    }
    ShowDialogMessage(dialog, IDM_DISK_NOT_READY, IDM_CAPTION_DISK, MB_OK | MB_ICONERROR);
    return false;
}

// The name filter: "*" unless the check box is checked and the edit holds a text, then
// its first 8 characters. False when the text holds a path character: such a pattern
// would list another directory's files under this directory's names.
static bool ReadNameFilter(HWND dialog, int checkId, int editId, char *filter)
{
    memset(filter, ' ', CHART_NAME_LENGTH);
    filter[0] = '*';
    if (IsDlgButtonChecked(dialog, checkId) != BST_CHECKED) {
        return true;
    }
    char text[FILTER_TEXT_SIZE];
    GetDlgItemTextA(dialog, editId, text, FILTER_TEXT_SIZE);
    size_t length = strlen(text);
    if (length == 0) {
        return true;
    }
    if (length > CHART_NAME_LENGTH) {
        length = CHART_NAME_LENGTH;
    }
    memset(filter, ' ', CHART_NAME_LENGTH);
    memcpy(filter, text, length);
    for (size_t i = 0; i < length; i++) {
        if (filter[i] == '\\' || filter[i] == '/' || filter[i] == ':') {
            return false;
        }
    }
    return true;
}

static void AddFixedLine(HWND dialog, int listId, const char *text)
{
    SendDlgItemMessageA(dialog, listId, LB_ADDSTRING, 0, (LPARAM)text);
}

// Up to 2000 lines: redrawing line by line would cost seconds on the real list box.
static void FillList(HWND dialog, int listId, const char *lines, int count)
{
    HWND list = GetDlgItem(dialog, listId);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < count; i++) {
        SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)(lines + i * LIST_LINE_LENGTH));
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void BuildChartList(char drive, const char *systemDirName, HWND dialog, int listId,
                    int sortChoice, int filterCheckId, int filterEditId)
{
    SendDlgItemMessageA(dialog, listId, LB_RESETCONTENT, 0, 0);
    if (!CheckDriveReady(dialog, drive, listId == IDC_SOURCE_LIST)) {
        AddFixedLine(dialog, listId, kNotReady);
        return;
    }
    char filter[CHART_NAME_LENGTH];
    if (!ReadNameFilter(dialog, filterCheckId, filterEditId, filter)) {
        return;
    }
    char pattern[CHART_PATH_SIZE];
    short length = BuildChartPath(drive, systemDirName, filter, pattern);

    // The chart directory is the pattern up to its last "\"; entering it tests that
    // the drive is prepared and leaves it as the current directory.
    short directoryLength = 0;
    for (short i = 0; i < length; i++) {
        if (pattern[i] == '\\') {
            directoryLength = i;
        }
    }
    short status = 0;
    Ftnfdx(&status, FTNFDX_CHDIR, pattern, directoryLength);
    if (status != 0) {
        char driveField[1] = {drive};
        if (!PrepareSystemDirs(driveField, dialog, pattern)) {
            AddFixedLine(dialog, listId, kNotPrepared);
            return;
        }
    }

    static_assert(MAX_CHARTS <= 32767, "counts are 16-bit");
    char scanLines[MAX_CHARTS * SCAN_LINE_LENGTH];
    char lines[MAX_CHARTS * LIST_LINE_LENGTH];
    short scanned = 0;
    ScanFileEntries(pattern, length, scanLines, MAX_CHARTS, &scanned);
    if (scanned > MAX_CHARTS) {
        scanned = MAX_CHARTS;
    }
    short count = 0;
    for (short i = 0; i < scanned; i++) {
        if (ListLineOfScanLine(scanLines + i * SCAN_LINE_LENGTH,
                               lines + count * LIST_LINE_LENGTH)) {
            count++;
        }
    }
    if (sortChoice == SORT_BY_NAME) {
        c4sort(lines, LIST_LINE_LENGTH, count, 1, CHART_NAME_LENGTH);
    } else {
        c4sort(lines, LIST_LINE_LENGTH, count, LINE_DATE_KEY_FIRST, LINE_DATE_KEY_LAST);
    }
    FillList(dialog, listId, lines, count);
}
