// Dialog initialisation: the drives of the INI file in both drive combos, the
// construction systems of the start-up drive in their combo, then the first build of
// both lists.
#include "dialog.h"

#include "chartpath.h"
#include "dialogmsg.h"
#include "../Basis/ini.h"
#include "../Basis/linefile.h"
#include "../Kopf01/errorbox.h"
#include "../Kopf01/sort.h"
#include "../Kopf01/textfield.h"
#include "../Lm4/scan.h"
#include "../resources/resource.h"

#include <stdio.h>
#include <string.h>

char g_DriveLetters[MAX_DRIVES];
int g_DriveCount;
int g_StartIndex;
char g_SystemDirNames[MAX_SYSTEMS][SYSTEM_DIR_NAME_LENGTH];

enum {
    INI_VALUE_SIZE = 80,
    CURRENT_DIR_SIZE = MAX_PATH + 1,
    DRIVE_ENTRY_LENGTH = 8,      // " [ C: ] "
    DRIVE_ENTRY_LETTER = 3,      // 0-based place of the letter in the entry
    DISPLAY_NAME_LENGTH = 29,    // taken from the first line of the system file
    DISPLAY_FIELD_LENGTH = 32,   // columns 1-32 of a system record
    MAX_DIR_ENTRIES = 200,
    LIST_TAB_STOP = 60,
    ERROR_CODE_WIDTH = 5,
    COMBO_ERROR_TEXT_LENGTH = 29
};

static const char kDefaultDrives[] = "AC";
static const char kOptionSystem[] = "/K:";
static const short kOptionSystemLength = 3;
static const char kHelpDirectory[] = "HILFEN  ";

static bool IsDriveLetter(char c) { return c >= 'A' && c <= 'Z'; }

// Drives from section PATH. False when DRIVES or STARTUPDRIVE holds something that
// names no drive list: the caller then reports 1042 and ends the dialog.
static bool ReadDriveConfig(HWND dialog, int *driveCount, int *startIndex, char *driveLetters)
{
    memset(driveLetters, ' ', MAX_DRIVES);
    *driveCount = 0;
    *startIndex = 0;

    char value[INI_VALUE_SIZE];
    int valueLength = -1;
    GetIniValue("PATH", 4, "DRIVES", 6, value, INI_VALUE_SIZE, &valueLength);
    if (valueLength < 0) {
        ShowDialogMessage(dialog, IDM_NO_INI, IDM_CAPTION_ATTENTION, MB_OK | MB_ICONERROR);
        memcpy(driveLetters, kDefaultDrives, 2);
        *driveCount = 2;
        *startIndex = 2;
        // The current drive stands in for C:. A UNC current directory names no drive.
        char current[CURRENT_DIR_SIZE];
        DWORD length = GetCurrentDirectoryA(CURRENT_DIR_SIZE, current);
        if (length > 0 && length < CURRENT_DIR_SIZE) {
            KleGro(current, 1);
            if (IsDriveLetter(current[0])) {
                driveLetters[1] = current[0];
            }
        }
        return true;
    }

    // Every character is one drive letter; an empty list, one longer than the table or
    // anything but letters cannot be offered.
    if (valueLength == 0 || valueLength > MAX_DRIVES || valueLength >= INI_VALUE_SIZE) {
        return false;
    }
    KleGro(value, (short)valueLength);
    for (int i = 0; i < valueLength; i++) {
        if (!IsDriveLetter(value[i])) {
            return false;
        }
    }
    memcpy(driveLetters, value, (size_t)valueLength);
    *driveCount = valueLength;
    *startIndex = valueLength;

    int startDrive = 0;
    if (GetIniInteger("PATH", 4, "STARTUPDRIVE", 12, &startDrive)) {
        // Outside 1..count it names no drive of the list, like a negative value.
        if (startDrive < 1 || startDrive > valueLength) {
            return false;
        }
        *startIndex = startDrive;
    }
    return true;
}

// The error box for a combo that refused a drive entry: the last error right-aligned in
// five columns (asterisks when it needs more), two blanks, the label.
static void ReportComboRefusal(DWORD lastError)
{
    char text[COMBO_ERROR_TEXT_LENGTH + 1];
    if (lastError > 99999) {
        memcpy(text, "*****", ERROR_CODE_WIDTH);
    } else {
        snprintf(text, sizeof text, "%5lu", (unsigned long)lastError);
    }
    memcpy(text + ERROR_CODE_WIDTH, "  Fehler in INITDIALOG-1", 24);
    text[COMBO_ERROR_TEXT_LENGTH] = '\0';
    ShowErrorBox(text, COMBO_ERROR_TEXT_LENGTH);
}

// Both drive combos in drive-list order. A combo position must always stand for the
// same position of the drive letters: a letter the source combo refuses leaves the
// list, and once the destination combo has refused one it takes no further entries.
// The start index follows its letter; 0 when that letter was refused.
static void FillDriveCombos(HWND dialog, int *driveCount, int *startIndex, char *driveLetters)
{
    int kept = 0;
    int keptStart = 0;
    bool destinationFull = false;
    for (int i = 0; i < *driveCount; i++) {
        char entry[DRIVE_ENTRY_LENGTH + 1];
        memcpy(entry, " [ C: ] ", sizeof entry);
        entry[DRIVE_ENTRY_LETTER] = driveLetters[i];
        LRESULT added = SendDlgItemMessageA(dialog, IDC_SOURCE_DRIVE, CB_ADDSTRING, 0,
                                            (LPARAM)entry);
        if (added == CB_ERR || added == CB_ERRSPACE) {
            ReportComboRefusal(GetLastError());
            continue;
        }
        if (!destinationFull) {
            added = SendDlgItemMessageA(dialog, IDC_DEST_DRIVE, CB_ADDSTRING, 0,
                                        (LPARAM)entry);
            if (added == CB_ERR || added == CB_ERRSPACE) {
                ReportComboRefusal(GetLastError());
                destinationFull = true;
            }
        }
        driveLetters[kept] = driveLetters[i];
        kept++;
        if (i + 1 == *startIndex) {
            keptStart = kept;
        }
    }
    memset(driveLetters + kept, ' ', (size_t)(MAX_DRIVES - kept));
    *driveCount = kept;
    *startIndex = keptStart;
    SendDlgItemMessageA(dialog, IDC_SOURCE_DRIVE, CB_SETCURSEL, (WPARAM)(keptStart - 1), 0);
    SendDlgItemMessageA(dialog, IDC_DEST_DRIVE, CB_SETCURSEL, (WPARAM)(keptStart - 1), 0);
}

// Opens the system file of a construction system and reads the display name from its
// first line into record (columns 1-32, then the 8-character directory name).
static bool ReadSystemRecord(char drive, const char *dirName, char *record)
{
    char path[CHART_PATH_SIZE];
    BuildSystemPath(drive, dirName, "\\vornix_s.kon", path);

    LineFile file;
    if (!LineFileOpen(&file, path)) {
        return false;
    }
    char line[DISPLAY_NAME_LENGTH];
    bool read = LineFileRead(&file, line, DISPLAY_NAME_LENGTH);
    LineFileClose(&file);
    if (!read) {
        return false;
    }
    memset(record, ' ', SYSTEM_RECORD_LENGTH);
    memcpy(record, line, DISPLAY_NAME_LENGTH);
    memcpy(record + DISPLAY_FIELD_LENGTH, dirName, SYSTEM_DIR_NAME_LENGTH);
    return true;
}

// A name from the command line must name one directory under \vornix\ as it stands:
// not empty, no path or wildcard characters, no blank inside, not only dots.
static bool IsPlainDirName(const char *name)
{
    short length = TrimLength(name, SYSTEM_DIR_NAME_LENGTH);
    if (length == 0) {
        return false;
    }
    bool onlyDots = true;
    for (short i = 0; i < length; i++) {
        unsigned char c = (unsigned char)name[i];
        if (c < ' ' || c == ' ' || strchr("\\/:*?\"<>|", c) != nullptr) {
            return false;
        }
        if (c != '.') {
            onlyDots = false;
        }
    }
    return !onlyDots;
}

// The construction system named with /K:name (the name starts at 0-based offset
// nameStart, the command line ends before end). Never reads outside \vornix\.
static int FindNamedSystem(char drive, const char *commandLine, int nameStart, int end,
                           char *systemTable)
{
    char name[SYSTEM_DIR_NAME_LENGTH];
    memset(name, ' ', sizeof name);
    int nameLength = end - nameStart;
    if (nameLength > SYSTEM_DIR_NAME_LENGTH) {
        nameLength = SYSTEM_DIR_NAME_LENGTH;
    }
    if (nameLength > 0) {
        memcpy(name, commandLine + nameStart, (size_t)nameLength);
    }
    if (!IsPlainDirName(name)) {
        return 0;
    }
    return ReadSystemRecord(drive, name, systemTable) ? 1 : 0;
}

// The construction systems under \vornix\ of the drive, in scan order, at most 50.
static int ScanSystems(HWND dialog, char drive, char *systemTable)
{
    char pattern[] = "C:\\vornix\\*.";
    pattern[0] = drive;
    char entries[MAX_DIR_ENTRIES * NAME_ENTRY_LENGTH];
    short found = 0;
    ScanDirNames(pattern, (short)strlen(pattern), entries, MAX_DIR_ENTRIES, &found);
    if (found <= 0) {
        ShowDialogMessage(dialog, IDM_NO_DIRECTORIES, IDM_CAPTION_ATTENTION, MB_OK);
        return 0;
    }
    if (found > MAX_DIR_ENTRIES) {
        found = MAX_DIR_ENTRIES;
    }
    int count = 0;
    for (int i = 0; i < found; i++) {
        char *entry = entries + i * NAME_ENTRY_LENGTH;
        KleGro(entry, NAME_ENTRY_LENGTH);
        const char *dirName = entry + NAME_ENTRY_NAME;
        if (memcmp(dirName, kHelpDirectory, SYSTEM_DIR_NAME_LENGTH) == 0) {
            continue;
        }
        if (ReadSystemRecord(drive, dirName, systemTable + count * SYSTEM_RECORD_LENGTH)) {
            count++;
        }
        if (count >= MAX_SYSTEMS) {
            break;
        }
    }
    return count;
}

// The construction-system combo and the system directory names behind it. A combo
// position must stand for the name at the same position: a display name the combo
// refuses takes its directory name with it.
static void FillSystemCombo(HWND dialog, char *systemTable, int systemCount,
                            char (*systemDirNames)[SYSTEM_DIR_NAME_LENGTH])
{
    if (systemCount >= 2) {
        c4sort(systemTable, SYSTEM_RECORD_LENGTH, (short)systemCount, 1, DISPLAY_FIELD_LENGTH);
    }
    int kept = 0;
    for (int i = 0; i < systemCount; i++) {
        const char *record = systemTable + i * SYSTEM_RECORD_LENGTH;
        char display[DISPLAY_FIELD_LENGTH + 1];
        memcpy(display, record, DISPLAY_FIELD_LENGTH);
        display[DISPLAY_FIELD_LENGTH] = '\0';
        LRESULT added = SendDlgItemMessageA(dialog, IDC_SYSTEM, CB_ADDSTRING, 0, (LPARAM)display);
        if (added == CB_ERR || added == CB_ERRSPACE) {
            continue;
        }
        memcpy(systemDirNames[kept], record + DISPLAY_FIELD_LENGTH, SYSTEM_DIR_NAME_LENGTH);
        kept++;
    }
    SendDlgItemMessageA(dialog, IDC_SYSTEM, CB_SETCURSEL, 0, 0);
}

bool INITDIALOG(int *driveCount, int *startIndex, char *driveLetters, char *systemTable,
                int *systemCount, const char *commandLine,
                char (*systemDirNames)[SYSTEM_DIR_NAME_LENGTH], HWND dialog)
{
    *systemCount = 0;
    bool usable = ReadDriveConfig(dialog, driveCount, startIndex, driveLetters);

    SendDlgItemMessageA(dialog, IDC_SOURCE_DRIVE, CB_RESETCONTENT, 0, 0);
    SendDlgItemMessageA(dialog, IDC_DEST_DRIVE, CB_RESETCONTENT, 0, 0);
    if (!usable) {
        ShowDialogMessage(dialog, IDM_INI_ERROR, IDM_CAPTION_ATTENTION, MB_OK | MB_ICONERROR);
        EndDialog(dialog, 0);
        return false;
    }
    // The construction systems are looked for on the start-up drive even when its
    // combo entry was refused.
    char startDrive = driveLetters[*startIndex - 1];
    FillDriveCombos(dialog, driveCount, startIndex, driveLetters);

    // "/K:" counts only before the end of the command line; a field without its NUL
    // has no end and no option.
    short end = nsuche(commandLine, COMMAND_LINE_SIZE, "", 1);
    short option = 0;
    if (end > 1) {
        option = nsuche(commandLine, (short)(end - 1), kOptionSystem, kOptionSystemLength);
    }

    for (int i = 0; i < MAX_SYSTEMS; i++) {
        memset(systemDirNames[i], ' ', SYSTEM_DIR_NAME_LENGTH);
    }
    SendDlgItemMessageA(dialog, IDC_SYSTEM, CB_RESETCONTENT, 0, 0);
    if (option > 0) {
        EnableWindow(GetDlgItem(dialog, IDC_SYSTEM), FALSE);
        *systemCount = FindNamedSystem(startDrive, commandLine,
                                       option - 1 + kOptionSystemLength, end - 1,
                                       systemTable);
    } else {
        *systemCount = ScanSystems(dialog, startDrive, systemTable);
    }
    if (*systemCount == 0) {
        ShowDialogMessage(dialog, IDM_NO_SYSTEMS, IDM_CAPTION_ATTENTION, MB_OK);
    } else {
        FillSystemCombo(dialog, systemTable, *systemCount, systemDirNames);
    }

    CheckRadioButton(dialog, IDC_SORT_NAME, IDC_SORT_DATE, IDC_SORT_NAME);
    int tabStop = LIST_TAB_STOP;
    SendDlgItemMessageA(dialog, IDC_SOURCE_LIST, LB_SETTABSTOPS, 1, (LPARAM)&tabStop);
    SendDlgItemMessageA(dialog, IDC_DEST_LIST, LB_SETTABSTOPS, 1, (LPARAM)&tabStop);
    SendMessageA(dialog, WM_COMMAND, IDC_REFRESH, 0);
    EnableTransferButtons(dialog, IDC_SOURCE_LIST);
    return true;
}
