// The directory tree of a construction system on a drive, created after the user's
// consent: \VORNIX, the system directory and its six subdirectories.
#include "dialog.h"

#include "dialogmsg.h"
#include "../Ftn/ftn.h"
#include "../Kopf01/textfield.h"
#include "../resources/resource.h"

#include <string.h>

enum {
    WORK_LENGTH = 90,              // the part of the chart path that is used
    DIR_PATH_SIZE = WORK_LENGTH + 8,
    PRODUCT_SEGMENT_LENGTH = 8,    // "\VORNIX\"
    PRODUCT_DIR_LENGTH = 7         // "\VORNIX"
};

static const char *const kSubdirectories[] = {"KOLLEKT", "MASK", "MAS", "PROG", "ST", "XWERT"};
static const char *const kMarkers[] = {"\\KOLLEKT", "\\MAS", "\\PROG"};

static void CreateDir(const char *path, short length)
{
    short status = 0;
    Ftnfdx(&status, FTNFDX_CREATE, path, length);
}

// Position (1-based) of the "\" that ends the system directory name in the upper-cased
// chart path X:\VORNIX\S\MAS\pattern; 0 when the path has no such place. The marker is
// looked for only there: a system directory named MASS or KOLLEKT1, or a name pattern
// KOLLEKT*, holds a marker text of its own.
static short FindMarker(const char *work, short productDir)
{
    short nameStart = (short)(productDir + PRODUCT_SEGMENT_LENGTH);  // 1-based
    short end = 0;
    for (short i = nameStart; i <= WORK_LENGTH; i++) {
        if (work[i - 1] == '\\') {
            end = i;
            break;
        }
    }
    if (end <= nameStart) {
        return 0;
    }
    for (const char *marker : kMarkers) {
        short length = (short)strlen(marker);
        if (nsuche(work + end - 1, (short)(WORK_LENGTH - end + 1), marker, length) == 1) {
            return end;
        }
    }
    return 0;
}

bool PrepareSystemDirs(const char *drive, HWND dialog, const char *chartPath)
{
    char question[MESSAGE_TEXT_SIZE];
    char caption[CAPTION_SIZE - 1];
    GetDlgItemTextA(dialog, IDM_ASK_CREATE_DIRS, question, MESSAGE_TEXT_SIZE);
    GetDlgItemTextA(dialog, IDM_CAPTION_CREATE_DIRS, caption, CAPTION_SIZE - 1);
    short place = nsuche(question, (short)strlen(question), "#", 1);
    if (place > 0) {
        question[place - 1] = drive[0];
    }
    if (MessageBoxA(dialog, question, caption, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return false;
    }

    char work[WORK_LENGTH + 1];
    memcpy(work, chartPath, WORK_LENGTH);
    work[WORK_LENGTH] = '\0';
    work[0] = drive[0];
    KleGro(work, WORK_LENGTH);

    short productDir = nsuche(work, WORK_LENGTH, "\\VORNIX\\", PRODUCT_SEGMENT_LENGTH);
    if (productDir == 0) {
        return false;
    }
    short marker = FindMarker(work, productDir);
    if (marker == 0) {
        return false;
    }
    CreateDir(work, (short)(productDir + PRODUCT_DIR_LENGTH - 1));
    CreateDir(work, (short)(marker - 1));
    for (const char *name : kSubdirectories) {
        char path[DIR_PATH_SIZE];
        short length = (short)strlen(name);
        memcpy(path, work, (size_t)marker);
        memcpy(path + marker, name, (size_t)length);
        CreateDir(path, (short)(marker + length));
    }
    return true;
}
