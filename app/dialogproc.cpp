// The main dialog's procedure: hands the opening to INITDIALOG and routes every command
// by its whole command word (notification code * 65536 + control id).
#include "dialog.h"

#include "../Kopf01/errorbox.h"
#include "../resources/resource.h"

enum {
    NAME_FILTER_LIMIT = 8,
    COMMAND_ERROR_TEXT_LENGTH = 11  // "Error: 1004"
};

static const DWORD kSelectionChange = 65536;  // CBN_SELCHANGE / LBN_SELCHANGE * 65536

int SortChoice(HWND dialog)
{
    return IsDlgButtonChecked(dialog, IDC_SORT_NAME) == BST_CHECKED ? SORT_BY_NAME
                                                                    : SORT_BY_DATE;
}

void EnableTransferButtons(HWND dialog, int listId)
{
    // A single-selection list answers -1, so following the destination list disables.
    LRESULT selected = SendDlgItemMessageA(dialog, listId, LB_GETSELCOUNT, 0, 0);
    BOOL enable = selected > 0 ? TRUE : FALSE;
    EnableWindow(GetDlgItem(dialog, IDC_COPY), enable);
    EnableWindow(GetDlgItem(dialog, IDC_MOVE), enable);
    EnableWindow(GetDlgItem(dialog, IDC_DELETE), enable);
}

bool ComboPosition(HWND dialog, int comboId, int tableSize, int *position)
{
    LRESULT selection = SendDlgItemMessageA(dialog, comboId, CB_GETCURSEL, 0, 0);
    if (selection < 0 || selection >= tableSize) {
        return false;
    }
    *position = (int)selection;
    return true;
}

bool SelectedDrive(HWND dialog, int comboId, char *drive)
{
    int position;
    int tableSize = g_DriveCount < MAX_DRIVES ? g_DriveCount : MAX_DRIVES;
    if (!ComboPosition(dialog, comboId, tableSize, &position)) {
        return false;
    }
    *drive = g_DriveLetters[position];
    return true;
}

bool SelectedSystem(HWND dialog, const char **systemDirName)
{
    int position;
    if (!ComboPosition(dialog, IDC_SYSTEM, MAX_SYSTEMS, &position)) {
        return false;
    }
    *systemDirName = g_SystemDirNames[position];
    return true;
}

static void ShowCommandError(const char *text)
{
    ShowErrorBox(text, COMMAND_ERROR_TEXT_LENGTH);
}

// Rebuilds the lists the command concerns, then the date filter on both. A list whose
// drive or construction system has no selection is left as it is; one box per refresh
// says which selection was missing.
void RefreshLists(HWND dialog, DWORD command)
{
    bool reported = false;
    const char *system = nullptr;
    if (!SelectedSystem(dialog, &system)) {
        ShowCommandError("Error: 1004");
        reported = true;
    }
    int sortChoice = SortChoice(dialog);

    if (command != kSelectionChange + IDC_DEST_DRIVE) {
        char source;
        if (!SelectedDrive(dialog, IDC_SOURCE_DRIVE, &source)) {
            if (!reported) {
                ShowCommandError("Error: 1002");
                reported = true;
            }
        } else if (system != nullptr) {
            BuildChartList(source, system, dialog, IDC_SOURCE_LIST, sortChoice, IDC_NAME_CHECK,
                           IDC_NAME_EDIT);
        }
    }
    if (command != kSelectionChange + IDC_SOURCE_DRIVE) {
        char destination;
        if (!SelectedDrive(dialog, IDC_DEST_DRIVE, &destination)) {
            if (!reported) {
                ShowCommandError("Error: 1005");
            }
        } else if (system != nullptr) {
            BuildChartList(destination, system, dialog, IDC_DEST_LIST, sortChoice,
                           IDC_NAME_CHECK, IDC_NAME_EDIT);
        }
    }
    ApplyDateFilter(dialog);
    EnableTransferButtons(dialog, IDC_DEST_LIST);
}

// A filter check box makes its edit writable while it is checked, then refreshes.
static void SwitchFilter(HWND dialog, int checkId, int editId)
{
    BOOL checked = IsDlgButtonChecked(dialog, checkId) == BST_CHECKED;
    SendDlgItemMessageA(dialog, editId, EM_SETREADONLY, checked ? FALSE : TRUE, 0);
    SendMessageA(dialog, WM_COMMAND, IDC_REFRESH, 0);
}

static BOOL DispatchCommand(HWND dialog, DWORD command)
{
    switch (command) {
    case IDOK:
        SendMessageA(dialog, WM_COMMAND, IDC_REFRESH, 0);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 0);
        return TRUE;
    case IDC_UNTIL_CHECK:
        SwitchFilter(dialog, IDC_UNTIL_CHECK, IDC_UNTIL_EDIT);
        return TRUE;
    case IDC_AT_CHECK:
        SwitchFilter(dialog, IDC_AT_CHECK, IDC_AT_EDIT);
        return TRUE;
    case IDC_SINCE_CHECK:
        SwitchFilter(dialog, IDC_SINCE_CHECK, IDC_SINCE_EDIT);
        return TRUE;
    case IDC_NAME_CHECK:
        SwitchFilter(dialog, IDC_NAME_CHECK, IDC_NAME_EDIT);
        return TRUE;
    case IDC_COPY:
    case IDC_MOVE:
    case IDC_DELETE:
        TransferSelection(dialog, (int)command);
        EnableTransferButtons(dialog, IDC_SOURCE_LIST);
        return TRUE;
    case IDC_ALL:
        SendDlgItemMessageA(dialog, IDC_SOURCE_LIST, LB_SETSEL, TRUE, -1);
        EnableTransferButtons(dialog, IDC_SOURCE_LIST);
        return TRUE;
    case IDC_COMPARE:
        CompareLists(dialog);
        EnableTransferButtons(dialog, IDC_SOURCE_LIST);
        return TRUE;
    case IDC_SORT_NAME:
    case IDC_SORT_DATE:
    case IDC_REFRESH:
    case kSelectionChange + IDC_SYSTEM:
    case kSelectionChange + IDC_SOURCE_DRIVE:
    case kSelectionChange + IDC_DEST_DRIVE:
        RefreshLists(dialog, command);
        return TRUE;
    case kSelectionChange + IDC_SOURCE_LIST:
        EnableTransferButtons(dialog, IDC_SOURCE_LIST);
        return TRUE;
    case kSelectionChange + IDC_DEST_LIST:
        // The destination list only shows what the destination holds.
        SendDlgItemMessageA(dialog, IDC_DEST_LIST, LB_SETCURSEL, (WPARAM)-1, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    if (message == WM_INITDIALOG) {
        // The construction-system table is needed only while the combo is filled.
        char systemTable[MAX_SYSTEMS * SYSTEM_RECORD_LENGTH];
        int systemCount = 0;
        if (INITDIALOG(&g_DriveCount, &g_StartIndex, g_DriveLetters, systemTable,
                       &systemCount, g_CommandLine, g_SystemDirNames, dialog)) {
            SendDlgItemMessageA(dialog, IDC_NAME_EDIT, EM_LIMITTEXT, NAME_FILTER_LIMIT, 0);
        }
        return FALSE;
    }
    if (message == WM_COMMAND) {
        return DispatchCommand(dialog, (DWORD)wParam);
    }
    return FALSE;
}
