// Paths of the product tree, built the one way every caller needs them.
#include "chartpath.h"

#include "dialog.h"
#include "listentry.h"
#include "../Kopf01/textfield.h"

#include <string.h>

static const char kProductDir[] = ":\\vornix\\";
static const char kChartDir[] = "\\mas\\";
static const char kChartExtension[] = ".mas";

// The pieces side by side, then without blanks (a NUL counts as one).
static short JoinPath(char drive, const char *systemDirName, const char *tail,
                      size_t tailLength, char path[CHART_PATH_SIZE])
{
    memset(path, ' ', CHART_PATH_SIZE);
    size_t at = 0;
    path[at++] = drive;
    memcpy(path + at, kProductDir, sizeof kProductDir - 1);
    at += sizeof kProductDir - 1;
    memcpy(path + at, systemDirName, SYSTEM_DIR_NAME_LENGTH);
    at += SYSTEM_DIR_NAME_LENGTH;
    if (tailLength > CHART_PATH_SIZE - 1 - at) {
        tailLength = CHART_PATH_SIZE - 1 - at;
    }
    memcpy(path + at, tail, tailLength);
    short length = SqueezeBlanks(path, CHART_PATH_SIZE - 1);
    path[length] = '\0';
    return length;
}

short BuildSystemPath(char drive, const char *systemDirName, const char *tail,
                      char path[CHART_PATH_SIZE])
{
    return JoinPath(drive, systemDirName, tail, strlen(tail), path);
}

short BuildChartDirectory(char drive, const char *systemDirName, char path[CHART_PATH_SIZE])
{
    return JoinPath(drive, systemDirName, kChartDir, sizeof kChartDir - 1, path);
}

short BuildChartPath(char drive, const char *systemDirName, const char *chartName,
                     char path[CHART_PATH_SIZE])
{
    char tail[sizeof kChartDir - 1 + CHART_NAME_LENGTH + sizeof kChartExtension];
    memcpy(tail, kChartDir, sizeof kChartDir - 1);
    memcpy(tail + sizeof kChartDir - 1, chartName, CHART_NAME_LENGTH);
    memcpy(tail + sizeof kChartDir - 1 + CHART_NAME_LENGTH, kChartExtension,
           sizeof kChartExtension);
    return JoinPath(drive, systemDirName, tail, sizeof tail - 1, path);
}

int BuildNamedChartPath(char drive, const char *systemDirName, const char *longName,
                        char path[NAMED_CHART_PATH_SIZE])
{
    short directoryLength = BuildChartDirectory(drive, systemDirName, path);
    size_t nameLength = strnlen(longName, MAX_PATH - 1);
    memcpy(path + directoryLength, longName, nameLength);
    path[directoryLength + nameLength] = '\0';
    return directoryLength + (int)nameLength;
}
