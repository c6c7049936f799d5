// Applies the addition file "vornix.add" to the INI file: pending changes that other
// programs left, one instruction a line.
#include "ini.h"

#include "linefile.h"
#include "../Ftn/ftn.h"
#include "../Kopf01/textfield.h"
#include "../Kopf01/winapi.h"

#include <string.h>

enum {
    NAME_SIZE = MAX_PATH,
    ADD_LINE_LENGTH = 511,            // longer lines are cut, their rest skipped
    LONGEST_ADD_SECTION = 79,
    SECTION_SIZE = LONGEST_ADD_SECTION + 1
};

static bool MakeName(const char *path, int length, char *name)
{
    if (path == NULL || length <= 0 || length >= NAME_SIZE) {
        return false;
    }
    memcpy(name, path, (size_t)length);
    name[length] = '\0';
    return true;
}

static bool IsSkipped(const char *line)
{
    return line[0] == ';' || (line[0] == ' ' && line[1] == ' ' && line[2] == ' ');
}

// Writes the instructions of the addition file into the INI file iniName, one line at a
// time; false when any write failed.
static bool ApplyAdditions(LineFile *file, const char *iniName)
{
    bool allWritten = true;
    char section[SECTION_SIZE];
    bool haveSection = false;  // key lines before the first header have nowhere to go
    char line[ADD_LINE_LENGTH + 1];
    char key[ADD_LINE_LENGTH + 1];
    char value[ADD_LINE_LENGTH + 1];
    while (allWritten && LineFileRead(file, line, ADD_LINE_LENGTH)) {
        line[ADD_LINE_LENGTH] = '\0';
        if (IsSkipped(line)) {
            continue;
        }
        if (line[0] == '[') {
            const char *close = (const char *)memchr(line, ']', ADD_LINE_LENGTH);
            if (close == NULL || close == line + 1) {
                break;  // malformed header: the rest is not applied
            }
            int nameLength = (int)(close - line - 1);
            // A name too long for the field is no section we could write; its key lines
            // are skipped rather than written into the section before it.
            haveSection = nameLength <= LONGEST_ADD_SECTION;
            if (haveSection) {
                memcpy(section, line + 1, (size_t)nameLength);
                section[nameLength] = '\0';
            }
            continue;
        }
        const char *equals = (const char *)memchr(line, '=', ADD_LINE_LENGTH);
        if (equals == NULL || !haveSection) {
            continue;
        }
        int keyLength = (int)(equals - line);
        int last = TrimLength(line, ADD_LINE_LENGTH);  // 1-based column of the last character
        memcpy(key, line, (size_t)keyLength);
        key[keyLength] = '\0';
        if (last == keyLength + 1) {
            allWritten = WritePrivateProfileStringA(section, key, NULL, iniName) != FALSE;
        } else if (keyLength != 0) {
            int valueLength = last - keyLength - 1;
            memcpy(value, equals + 1, (size_t)valueLength);
            value[valueLength] = '\0';
            allWritten = WritePrivateProfileStringA(section, key, value, iniName) != FALSE;
        }
    }
    return allWritten;
}

// WritePrivateProfileStringA rewrites the whole file for every change, in place: a
// failure midway (a full disk, a diskette taken out) would leave the INI file cut, and
// the settings of every program of the product with it. So the changes are written to
// a copy beside it, which replaces it only when all of them are in: the INI file holds
// all the pending changes or none.
//
// Returns false when a change could not be written (a read-only or held INI file, a
// full disk) or the addition file cannot be read: the caller then keeps it, so that no
// pending change is lost, and a later read applies it again.
bool MergeIniAdd(const char *iniPath, int iniPathLength, const char *addPath,
                 int addPathLength)
{
    char iniName[NAME_SIZE];
    char addName[NAME_SIZE];
    if (!MakeName(iniPath, iniPathLength, iniName) || !MakeName(addPath, addPathLength, addName)) {
        return true;  // no name, so no addition file to apply
    }
    if (GetFileAttributesA(addName) == INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    // Refused here whatever the platform would do: Wine's rename replaces a read-only
    // file. An INI file that is not there yet is made by the merge.
    DWORD attributes = GetFileAttributesA(iniName);
    bool iniExists = attributes != INVALID_FILE_ATTRIBUTES;
    if (iniExists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        return false;
    }
    LineFile file;
    if (!LineFileOpen(&file, addName)) {
        return false;
    }
    char copyName[NAME_SIZE];
    if (!CopyToTemporary(iniExists ? iniName : NULL, iniName, copyName)) {
        LineFileClose(&file);
        return false;
    }
    bool allWritten = ApplyAdditions(&file, copyName);
    LineFileClose(&file);
    if (!allWritten || !MoveFileExA(copyName, iniName, MOVEFILE_REPLACE_EXISTING)) {
        DropTemporary(copyName);
        return false;
    }
    return true;
}
