// Copy, Move and Delete of the charts selected in the source list.
#include "dialog.h"

#include "chartpath.h"
#include "listentry.h"
#include "perfile.h"
#include "../Ftn/ftn.h"
#include "../Kopf01/errorbox.h"
#include "../Kopf01/textfield.h"
#include "../resources/resource.h"

#include <stdio.h>
#include <string.h>

namespace {

enum {
    MESSAGE_SIZE = 255,      // at most 254 characters
    WARNING_CAPTION_SIZE = 80,
    QUESTION_CAPTION_SIZE = 79,
    LINE_SIZE = 256,
    COUNT_WIDTH = 4,         // "####"
    MAX_COUNT_SHOWN = 9999
};

// The selection behind a combo; without one the error box names the combo, and the
// command must stop.
bool DriveOrReport(HWND dialog, int comboId, const char *error, char *drive)
{
    if (SelectedDrive(dialog, comboId, drive)) {
        return true;
    }
    ShowErrorBox(error, (int)strlen(error));
    return false;
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

// The destination of a chart: its path with the destination's drive letter, under the
// chart's own long name where the list shows it by its 8.3 alias. FAT numbers aliases
// per folder, so the alias can belong to another chart on the destination, which a
// copy under the alias would overwrite. A long name can make the path longer than a
// path may be; the copy then fails with its prompt. The chart is looked up in the
// command's search of the source folder, and on the drive only when the search lacks
// it (a chart made since the search).
int BuildDestinationPath(char drive, const char *systemDirName, const char *path, short length,
                         const ChartFolder *sourceFolder, char target[NAMED_CHART_PATH_SIZE])
{
    ChartEntry source;
    const char *separator = strrchr(path, '\\');
    const ChartEntry *seen =
        separator != nullptr ? FindInChartFolder(sourceFolder, separator + 1) : nullptr;
    bool found = seen != nullptr;
    if (found) {
        source = *seen;
    } else {
        found = FindChartEntry(path, length, &source);
    }
    if (found && !IsLongNameOf(path, &source)) {
        return BuildNamedChartPath(drive, systemDirName, source.longName, target);
    }
    memcpy(target, path, (size_t)length + 1);
    target[0] = drive;
    return length;
}

// What a command finds out once for all its charts: a search of each chart folder
// (Copy and Move), and whether the destination drive is removable (Move).
struct CommandFolders {
    bool searched;
    ChartFolder source;
    ChartFolder destination;
    bool removable;
};

void SearchFolders(int command, char sourceDrive, char destinationDrive, const char *system,
                   CommandFolders *folders)
{
    folders->searched = false;
    folders->removable = command == IDC_MOVE && IsRemovableDrive(destinationDrive);
    if (command == IDC_DELETE) {
        return;
    }
    char sourceDirectory[CHART_PATH_SIZE];
    char destinationDirectory[CHART_PATH_SIZE];
    BuildChartDirectory(sourceDrive, system, sourceDirectory);
    BuildChartDirectory(destinationDrive, system, destinationDirectory);
    if (!ScanChartFolder(sourceDirectory, &folders->source)) {
        return;
    }
    if (!ScanChartFolder(destinationDirectory, &folders->destination)) {
        FreeChartFolder(&folders->source);
        return;
    }
    folders->searched = true;
}

void ReleaseFolders(CommandFolders *folders)
{
    if (folders->searched) {
        FreeChartFolder(&folders->source);
        FreeChartFolder(&folders->destination);
        folders->searched = false;
    }
}

// One chart of the command; false with the choice when the user stopped or skipped it.
bool TransferChart(HWND dialog, int command, const char *path, short length,
                   const char *destination, int destinationLength, CommandFolders *folders,
                   int *choice)
{
    ChartFolder *into = folders->searched ? &folders->destination : nullptr;
    if (command == IDC_COPY) {
        return CopyIntoFolderWithPrompt(dialog, path, length, destination, destinationLength,
                                        into, choice);
    }
    // Move deletes the source only after a copy that this program has seen complete.
    if (command == IDC_MOVE &&
        !CopyForMoveWithPrompt(dialog, path, length, destination, destinationLength, into,
                               folders->removable, choice)) {
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

    const char *system;
    if (!SelectedSystem(dialog, &system)) {
        static const char kNoSystem[] = "Error: 1004";
        ShowErrorBox(kNoSystem, (int)strlen(kNoSystem));
        return;
    }
    HWND sourceList = GetDlgItem(dialog, IDC_SOURCE_LIST);
    LRESULT lineCount = SendMessageA(sourceList, LB_GETCOUNT, 0, 0);
    char sourceDrive;
    char destinationDrive;
    if (!DriveOrReport(dialog, IDC_SOURCE_DRIVE, "Error: 1002", &sourceDrive) ||
        !DriveOrReport(dialog, IDC_DEST_DRIVE, "Error: 1001", &destinationDrive)) {
        return;
    }

    if (command != IDC_DELETE && sourceDrive == destinationDrive) {
        WarnSameDrive(dialog);
        return;
    }
    if (!AskConfirmation(dialog, command, (int)selected)) {
        return;
    }

    CommandFolders folders;
    SearchFolders(command, sourceDrive, destinationDrive, system, &folders);
    // The list stays as it is until the rebuild below, so the indices stay valid.
    for (LRESULT index = 0; index < lineCount; ++index) {
        if (SendMessageA(sourceList, LB_GETSEL, (WPARAM)index, 0) <= 0) {
            continue;
        }
        char line[LINE_SIZE];
        int lineLength;
        if (!ReadListLine(sourceList, (int)index, line, LINE_SIZE, &lineLength)) {
            continue;
        }
        char name[CHART_NAME_LENGTH];
        ChartNameOfLine(line, lineLength, name);
        char path[CHART_PATH_SIZE];
        short length = BuildChartPath(sourceDrive, system, name, path);
        char target[NAMED_CHART_PATH_SIZE];
        int targetLength = length;
        if (command != IDC_DELETE) {
            targetLength = BuildDestinationPath(destinationDrive, system, path, length,
                                                folders.searched ? &folders.source : nullptr,
                                                target);
        }
        int choice = IDABORT;
        if (!TransferChart(dialog, command, path, length, target, targetLength, &folders,
                           &choice) &&
            choice != IDIGNORE) {
            break;
        }
    }

    ReleaseFolders(&folders);

    // Both lists show what the drives hold now; the date filter waits for the next refresh.
    int sortChoice = SortChoice(dialog);
    BuildChartList(sourceDrive, system, dialog, IDC_SOURCE_LIST, sortChoice,
                   IDC_NAME_CHECK, IDC_NAME_EDIT);
    BuildChartList(destinationDrive, system, dialog, IDC_DEST_LIST,
                   sortChoice, IDC_NAME_CHECK, IDC_NAME_EDIT);
    EnableTransferButtons(dialog, IDC_SOURCE_LIST);
}
