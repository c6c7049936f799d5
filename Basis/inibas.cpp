// The readers of the product INI file "vornix.ini": a key's text, integer or logical.
// Every read finds the file afresh (current directory, its parent, \vornix\ of the
// current drive), applies the addition file first and reads from the first line.
#include "ini.h"

#include "linefile.h"
#include "../Ftn/ftn.h"
#include "../Kopf01/textfield.h"
#include "../Kopf01/winapi.h"

#include <limits.h>
#include <string.h>

enum {
    INI_LINE_LENGTH = 128,       // columns of a line that the readers look at
    LONGEST_SECTION = 78,        // the header "[" name "]" is built in 80 characters
    HEADER_SIZE = LONGEST_SECTION + 2,
    LONGEST_KEY = 126,
    INTEGER_FIELD_SIZE = 128,    // value field of GetIniInteger
    INTEGER_COLUMNS = 10,        // the columns read as an integer
    ADD_SUFFIX_LENGTH = 3
};

static const char *const kIniNames[] = {".\\vornix.ini", "..\\vornix.ini",
                                        "\\vornix\\vornix.ini"};
static const char kAddSuffix[] = "add";

// The first of the three names that exists, or NULL.
static const char *FindIniFile(void)
{
    for (const char *name : kIniNames) {
        if (GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES) {
            return name;
        }
    }
    return NULL;
}

// Applies the addition file beside the INI file and deletes it, unless a change could
// not be written: then it stays, and the next read applies it again.
static void ApplyAdditions(const char *iniName)
{
    char addName[MAX_PATH];
    int length = (int)strlen(iniName);
    memcpy(addName, iniName, (size_t)length + 1);
    memcpy(addName + length - ADD_SUFFIX_LENGTH, kAddSuffix, ADD_SUFFIX_LENGTH);
    if (MergeIniAdd(iniName, length, addName, length)) {
        short status;
        FTNFDE(&status, addName, length);  // nothing to delete is fine too
    }
}

void GetIniValue(const char *section, int sectionLength, const char *key, int keyLength,
                 char *value, int valueSize, int *valueLength)
{
    *valueLength = -1;
    if (section == NULL || key == NULL || value == NULL || sectionLength < 0 ||
        sectionLength > LONGEST_SECTION || keyLength < 0 || keyLength > LONGEST_KEY ||
        valueSize < 1) {
        return;
    }
    const char *iniName = FindIniFile();
    if (iniName == NULL) {
        return;
    }
    ApplyAdditions(iniName);
    LineFile file;
    if (!LineFileOpen(&file, iniName)) {
        return;
    }
    char header[HEADER_SIZE];
    header[0] = '[';
    memcpy(header + 1, section, (size_t)sectionLength);
    header[sectionLength + 1] = ']';
    int headerLength = sectionLength + 2;

    // The first matching key line of the first matching section wins: the next header
    // ends the search, so a later section of the same name is never reached.
    bool inSection = false;
    char line[INI_LINE_LENGTH];
    while (LineFileRead(&file, line, INI_LINE_LENGTH)) {
        if (line[0] == ';') {
            continue;
        }
        if (!inSection) {
            inSection = memcmp(line, header, (size_t)headerLength) == 0;
            continue;
        }
        if (line[0] == '[') {
            break;
        }
        if (memcmp(line, key, (size_t)keyLength) == 0) {
            // The character after the key is the separator, whatever it is.
            int start = keyLength + 1;
            int length = TrimLength(line, INI_LINE_LENGTH) - start;
            if (length < 0) {
                length = 0;
            }
            if (length > valueSize - 1) {
                length = valueSize - 1;  // cut to the caller's field
            }
            memcpy(value, line + start, (size_t)length);
            value[length] = '\0';
            *valueLength = length;
            break;
        }
    }
    LineFileClose(&file);
}

bool GetIniInteger(const char *section, int sectionLength, const char *key, int keyLength,
                   int *number)
{
    char field[INTEGER_FIELD_SIZE];
    int length;
    GetIniValue(section, sectionLength, key, keyLength, field, INTEGER_FIELD_SIZE, &length);
    if (length < 1) {
        return false;
    }
    memset(field + length, ' ', (size_t)(INTEGER_FIELD_SIZE - length));
    // Ten columns, blanks ignored, one sign before the digits; at least one digit.
    bool negative = false, signSeen = false, digitSeen = false;
    long long read = 0;
    for (int i = 0; i < INTEGER_COLUMNS; ++i) {
        char c = field[i];
        if (c == ' ') {
            continue;
        }
        if ((c == '+' || c == '-') && !signSeen && !digitSeen) {
            signSeen = true;
            negative = c == '-';
        } else if (c >= '0' && c <= '9') {
            digitSeen = true;
            read = read * 10 + (c - '0');
        } else {
            return false;
        }
    }
    if (!digitSeen) {
        return false;
    }
    if (negative) {
        read = -read;
    }
    // Ten digits can exceed 32 bits: such a value does not read.
    if (read > INT_MAX || read < INT_MIN) {
        return false;
    }
    *number = (int)read;
    return true;
}

bool GetIniLogical(const char *section, int sectionLength, const char *key, int keyLength,
                   int *logical)
{
    int number;
    if (!GetIniInteger(section, sectionLength, key, keyLength, &number)) {
        return false;
    }
    *logical = number != 0 ? 1 : 0;
    return true;
}
