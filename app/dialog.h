// The main dialog: its procedure, the handlers it routes to, and the program-wide tables
// that initialisation fills and every later command reads.
#ifndef CHARTXFER_DIALOG_H
#define CHARTXFER_DIALOG_H

#include "../Kopf01/winapi.h"

enum {
    COMMAND_LINE_SIZE = 256,
    MAX_DRIVES = 23,
    MAX_SYSTEMS = 50,
    SYSTEM_DIR_NAME_LENGTH = 8,
    SYSTEM_RECORD_LENGTH = 40,
    MAX_CHARTS = 2000
};

// Program-wide tables: the upper-cased command line, the drive list behind both drive
// combos, and the system directory names behind the construction-system combo. A combo
// selection n stands for position n + 1 of its table.
extern char g_CommandLine[COMMAND_LINE_SIZE];
extern char g_DriveLetters[MAX_DRIVES];
extern int g_DriveCount;
extern int g_StartIndex;
extern char g_SystemDirNames[MAX_SYSTEMS][SYSTEM_DIR_NAME_LENGTH];

// Start-up: sets the critical-error mode, copies and upper-cases the command line, runs
// the main dialog, returns 0.
int RunChartTransfer(HINSTANCE instance, const char *commandLine);

// Lets a drive without its disk fail the call that touched it instead of opening
// Windows' own box, so the program's prompts are the only ones the user sees.
void SetCriticalErrorMode(void);

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

bool INITDIALOG(int *driveCount, int *startIndex, char *driveLetters, char *systemTable,
                int *systemCount, const char *commandLine,
                char (*systemDirNames)[SYSTEM_DIR_NAME_LENGTH], HWND dialog);

// The 0-based table position behind a combo's selection; false when the combo has none,
// or one that a table of tableSize entries cannot stand for.
bool ComboPosition(HWND dialog, int comboId, int tableSize, int *position);
// The drive letter behind the selection of a drive combo (1000 or 1002), and the system
// directory name behind the construction-system combo's; false without a selection.
bool SelectedDrive(HWND dialog, int comboId, char *drive);
bool SelectedSystem(HWND dialog, const char **systemDirName);

// The sort choice of the radio buttons: 1 by name when "name" is checked, else 2.
enum { SORT_BY_NAME = 1, SORT_BY_DATE = 2 };
int SortChoice(HWND dialog);

void EnableTransferButtons(HWND dialog, int listId);
void RefreshLists(HWND dialog, DWORD command);

void BuildChartList(char drive, const char *systemDirName, HWND dialog, int listId,
                    int sortChoice, int filterCheckId, int filterEditId);
bool CheckDriveReady(HWND dialog, char drive, bool isSource);
bool PrepareSystemDirs(const char *drive, HWND dialog, const char *chartPath);

void ApplyDateFilter(HWND dialog);
void CompareLists(HWND dialog);

void TransferSelection(HWND dialog, int command);
bool CopyWithPrompt(HWND dialog, const char *source, int sourceLength,
                    const char *destination, int destinationLength, int *choice);
bool DeleteWithPrompt(HWND dialog, const char *path, int length, int *choice);

#endif
