// Copy, Move and Delete of the charts selected in the source list.
#include "dialog.h"

#include "errorbox.h"
#include "listentry.h"
#include "perfile.h"
#include "../Kopf01/textfield.h"
#include "../resources/resource.h"

#include <stdio.h>
#include <string.h>

namespace {

enum {
    MESSAGE_SIZE = 255,      // at most 254 characters
    WARNING_CAPTION_SIZE = 80,
    QUESTION_CAPTION_SIZE = 79,
    PATH_FIELD_SIZE = 256,
    LINE_SIZE = 256,
    COUNT_WIDTH = 4,         // "####"
    MAX_COUNT_SHOWN = 9999
};

// The table position behind a combo's selection. Without a selection, or with one the
// table does not have, the error box is shown and the command must stop.
bool ComboPosition(HWND dialog, int comboId, int tableSize, const char *error, int *position)
{
    LRESULT selection = SendDlgItemMessageA(dialog, comboId, CB_GETCURSEL, 0, 0);
    if (selection < 0 || selection >= tableSize) {
        ShowErrorBox(error, (int)strlen(error));
        return false;
    }
    *position = (int)selection;
    return true;
}

// The count right-aligned over the first "####", or over the first four characters
// of a text without one.
void WriteCount(char *question, int *length, int count)
{
    if (count < 0 || count > MAX_COUNT_SHOWN) {
        return;
    }
    short position = nsuche(question, (short)*length, "####", COUNT_WIDTH);
    if (position < 1) {
        position = 1;
    }
    char digits[COUNT_WIDTH + 1];
    snprintf(digits, sizeof digits, "%4d", count);
    memcpy(question + position - 1, digits, COUNT_WIDTH);
    if (position - 1 + COUNT_WIDTH > *length) {
        *length = position - 1 + COUNT_WIDTH;
        question[*length] = '\0';
    }
}

bool AskConfirmation(HWND dialog, int command, int count)
{
    char caption[QUESTION_CAPTION_SIZE];
    GetDlgItemTextA(dialog, IDM_CAPTION_FILES, caption, QUESTION_CAPTION_SIZE);
    int questionId = command == IDC_COPY ? IDM_ASK_COPY
                   : command == IDC_MOVE ? IDM_ASK_MOVE
                                         : IDM_ASK_DELETE;
    char question[MESSAGE_SIZE];
    memset(question, 0, sizeof question);
    GetDlgItemTextA(dialog, questionId, question, MESSAGE_SIZE);
    int length = (int)strnlen(question, MESSAGE_SIZE - 1);
    WriteCount(question, &length, count);
    return MessageBoxA(dialog, question, caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void WarnSameDrive(HWND dialog)
{
    char text[MESSAGE_SIZE];
    char caption[WARNING_CAPTION_SIZE];
    GetDlgItemTextA(dialog, IDM_SAME_DRIVE, text, MESSAGE_SIZE);
    GetDlgItemTextA(dialog, IDM_CAPTION_ATTENTION, caption, WARNING_CAPTION_SIZE);
    MessageBoxA(dialog, text, caption, MB_OK | MB_ICONWARNING);
}

// drive, ":\vornix\", system directory, "\mas\", blanks removed; returns its length.
short BuildChartDirectory(char drive, const char *systemDirName, char field[PATH_FIELD_SIZE])
{
    memset(field, ' ', PATH_FIELD_SIZE);
    int at = 0;
    field[at++] = drive;
    memcpy(field + at, ":\\vornix\\", 9);
    at += 9;
    memcpy(field + at, systemDirName, SYSTEM_DIR_NAME_LENGTH);
    at += SYSTEM_DIR_NAME_LENGTH;
    memcpy(field + at, "\\mas\\", 5);
    return SqueezeBlanks(field, PATH_FIELD_SIZE);
}

// The chart directory, the chart name of the line and ".mas", blanks removed.
short BuildChartPath(const char *directory, short directoryLength, const char *line,
                     int lineLength, char path[PATH_FIELD_SIZE])
{
    memset(path, ' ', PATH_FIELD_SIZE);
    memcpy(path, directory, (size_t)directoryLength);
    ChartNameOfLine(line, lineLength, path + directoryLength);
    memcpy(path + directoryLength + CHART_NAME_LENGTH, ".mas", 4);
    return SqueezeBlanks(path, PATH_FIELD_SIZE);
}

// One chart of the command; false with the choice when the user stopped or skipped it.
bool TransferChart(HWND dialog, int command, const char *path, const char *destination,
                   short length, int *choice)
{
    if (command == IDC_COPY) {
        return CopyWithPrompt(dialog, path, length, destination, length, choice);
    }
    // Move deletes the source only after a copy that this program has seen complete.
    if (command == IDC_MOVE &&
        !CopyForMoveWithPrompt(dialog, path, length, destination, length, choice)) {
        return false;
    }
    return DeleteWithPrompt(dialog, path, length, choice);
}

}  // namespace

void TransferSelection(HWND dialog, int command)
{
    LRESULT selected = SendDlgItemMessageA(dialog, IDC_SOURCE_LIST, LB_GETSELCOUNT, 0, 0);
    if (selected < 1) {
        return;
    }

    int system;
    int source;
    int destination;
    int driveCount = g_DriveCount < MAX_DRIVES ? g_DriveCount : MAX_DRIVES;
    if (!ComboPosition(dialog, IDC_SYSTEM, MAX_SYSTEMS, "Error: 1004", &system)) {
        return;
    }
    LRESULT lineCount = SendDlgItemMessageA(dialog, IDC_SOURCE_LIST, LB_GETCOUNT, 0, 0);
    if (!ComboPosition(dialog, IDC_SOURCE_DRIVE, driveCount, "Error: 1002", &source) ||
        !ComboPosition(dialog, IDC_DEST_DRIVE, driveCount, "Error: 1001", &destination)) {
        return;
    }
    char sourceDrive = g_DriveLetters[source];
    char destinationDrive = g_DriveLetters[destination];

    if (command != IDC_DELETE && sourceDrive == destinationDrive) {
        WarnSameDrive(dialog);
        return;
    }
    if (!AskConfirmation(dialog, command, (int)selected)) {
        return;
    }

    char directory[PATH_FIELD_SIZE];
    short directoryLength = BuildChartDirectory(sourceDrive, g_SystemDirNames[system], directory);

    // The list stays as it is until the rebuild below, so the indices stay valid.
    for (LRESULT index = 0; index < lineCount; ++index) {
        if (SendDlgItemMessageA(dialog, IDC_SOURCE_LIST, LB_GETSEL, (WPARAM)index, 0) <= 0) {
            continue;
        }
        char line[LINE_SIZE];
        int lineLength;
        if (!ReadListEntry(dialog, IDC_SOURCE_LIST, (int)index, line, LINE_SIZE, &lineLength)) {
            continue;
        }
        char path[PATH_FIELD_SIZE];
        short length = BuildChartPath(directory, directoryLength, line, lineLength, path);
        char target[PATH_FIELD_SIZE];
        memcpy(target, path, PATH_FIELD_SIZE);
        target[0] = destinationDrive;
        int choice = IDABORT;
        if (!TransferChart(dialog, command, path, target, length, &choice) &&
            choice != IDIGNORE) {
            break;
        }
    }

    // Both lists show what the drives hold now; the date filter waits for the next refresh.
    int sortChoice = IsDlgButtonChecked(dialog, IDC_SORT_NAME) == BST_CHECKED ? 1 : 2;
    BuildChartList(sourceDrive, g_SystemDirNames[system], dialog, IDC_SOURCE_LIST, sortChoice,
                   IDC_NAME_CHECK, IDC_NAME_EDIT);
    BuildChartList(destinationDrive, g_SystemDirNames[system], dialog, IDC_DEST_LIST,
                   sortChoice, IDC_NAME_CHECK, IDC_NAME_EDIT);
    EnableTransferButtons(dialog, IDC_SOURCE_LIST);
}
