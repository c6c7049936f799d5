// The chart list builder: the charts of one construction system on one drive, one list
// line each (name, tab, dd.mm.yy, two blanks, hh:mm), sorted by name or by date.
#include "dialog.h"

#include "dialogmsg.h"
#include "../Ftn/ftn.h"
#include "../Kopf01/sort.h"
#include "../Kopf01/textfield.h"
#include "../Lm4/scan.h"
#include "../resources/resource.h"

#include <string.h>

enum {
    PATTERN_SIZE = 256,
    FILTER_TEXT_SIZE = 257,   // the edit's text, at most 256 characters
    NAME_LENGTH = 8,          // chart name: columns 1-8 of scan and list line
    // scan line, 0-based
    SCAN_EXTENSION = 8,       // columns 9-12
    SCAN_EXTENSION_LENGTH = 4,
    SCAN_CUT_MARK = 12,       // column 13: "*" when the name was cut
    SCAN_SIZE = 14,           // columns 15-21
    SCAN_SIZE_LENGTH = 7,
    SCAN_DATE_TIME = 23,      // columns 24-38: dd.mm.yy  hh:mm
    SCAN_DAY = 23,
    SCAN_MONTH = 26,
    SCAN_YEAR = 29,
    SCAN_HOUR = 33,
    SCAN_MINUTE = 36,
    // list line, 0-based
    LINE_TAB = 8,             // column 9
    LINE_DATE_TIME = 9,       // columns 10-24
    DATE_TIME_LENGTH = 15,
    LINE_END = 24,            // column 25: NUL, the end of the visible text
    LINE_DATE_KEY = 25,       // columns 26-37: yyyymmddhhmm
    DATE_KEY_FIRST = 26,      // 1-based key columns for the sort
    DATE_KEY_LAST = 37,
    SORT_BY_NAME = 1
};

static const char kNotReady[] = "<nicht bereit>";
static const char kNotPrepared[] = "<nicht vorbereitet>";
static const char kEmptyFile[] = "      0";
static const char kChartExtension[] = ".MAS";

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
    memset(filter, ' ', NAME_LENGTH);
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
    if (length > NAME_LENGTH) {
        length = NAME_LENGTH;
    }
    memset(filter, ' ', NAME_LENGTH);
    memcpy(filter, text, length);
    for (size_t i = 0; i < length; i++) {
        if (filter[i] == '\\' || filter[i] == '/' || filter[i] == ':') {
            return false;
        }
    }
    return true;
}

// A transfer names the file by columns 1-8 of its line and ".mas". Only a scan line
// that stands for such a name may become a list line: extension exactly ".MAS", a base
// name without blanks inside, and a file that is not empty.
static bool IsListableChart(const char *scanLine)
{
    if (memcmp(scanLine + SCAN_SIZE, kEmptyFile, SCAN_SIZE_LENGTH) == 0) {
        return false;
    }
    if (memcmp(scanLine + SCAN_EXTENSION, kChartExtension, SCAN_EXTENSION_LENGTH) != 0) {
        return false;
    }
    // A cut name would make the line name another file.
    if (scanLine[SCAN_CUT_MARK] != ' ') {
        return false;
    }
    short nameLength = TrimLength(scanLine, NAME_LENGTH);
    if (nameLength == 0) {
        return false;
    }
    return memchr(scanLine, ' ', (size_t)nameLength) == nullptr;
}

// List line from scan line; the hidden date key carries the century (years 80-99 are
// 1980-1999, 00-79 are 2000-2079) so that the sort by date orders across 2000.
static void MakeListLine(const char *scanLine, char *line)
{
    memset(line, ' ', LIST_LINE_LENGTH);
    memcpy(line, scanLine, NAME_LENGTH);
    line[LINE_TAB] = '\t';
    memcpy(line + LINE_DATE_TIME, scanLine + SCAN_DATE_TIME, DATE_TIME_LENGTH);
    line[LINE_END] = '\0';
    char *key = line + LINE_DATE_KEY;
    memcpy(key, memcmp(scanLine + SCAN_YEAR, "80", 2) < 0 ? "20" : "19", 2);
    memcpy(key + 2, scanLine + SCAN_YEAR, 2);
    memcpy(key + 4, scanLine + SCAN_MONTH, 2);
    memcpy(key + 6, scanLine + SCAN_DAY, 2);
    memcpy(key + 8, scanLine + SCAN_HOUR, 2);
    memcpy(key + 10, scanLine + SCAN_MINUTE, 2);
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
    char filter[NAME_LENGTH];
    if (!ReadNameFilter(dialog, filterCheckId, filterEditId, filter)) {
        return;
    }

    // drive, ":\vornix\", system (8), "\mas\", filter (8), ".mas"; then without blanks
    char pattern[PATTERN_SIZE];
    memset(pattern, ' ', sizeof pattern);
    pattern[0] = drive;
    memcpy(pattern + 1, ":\\vornix\\", 9);
    memcpy(pattern + 10, systemDirName, SYSTEM_DIR_NAME_LENGTH);
    memcpy(pattern + 18, "\\mas\\", 5);
    memcpy(pattern + 23, filter, NAME_LENGTH);
    memcpy(pattern + 31, ".mas", 4);
    short length = SqueezeBlanks(pattern, 35);
    pattern[length] = '\0';

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
        const char *scanLine = scanLines + i * SCAN_LINE_LENGTH;
        if (IsListableChart(scanLine)) {
            MakeListLine(scanLine, lines + count * LIST_LINE_LENGTH);
            count++;
        }
    }
    if (sortChoice == SORT_BY_NAME) {
        c4sort(lines, LIST_LINE_LENGTH, count, 1, NAME_LENGTH);
    } else {
        c4sort(lines, LIST_LINE_LENGTH, count, DATE_KEY_FIRST, DATE_KEY_LAST);
    }
    FillList(dialog, listId, lines, count);
}
