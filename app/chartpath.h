// Paths in the product tree of a drive, built from fixed-width pieces (the drive letter,
// the 8-character system directory name, an 8-character chart name) and freed of their
// blanks. Every list build, initialisation and transfer builds its paths here.
#ifndef CHARTXFER_CHARTPATH_H
#define CHARTXFER_CHARTPATH_H

#include "../Kopf01/winapi.h"

enum {
    CHART_PATH_SIZE = 256,
    NAMED_CHART_PATH_SIZE = CHART_PATH_SIZE + MAX_PATH
};

// drive, ":\vornix\", the system directory name, then tail; blanks removed and a NUL
// after them. Returns the length. "C:\vornix\DOB\vornix_s.kon" with tail
// "\vornix_s.kon".
short BuildSystemPath(char drive, const char *systemDirName, const char *tail,
                      char path[CHART_PATH_SIZE]);

// The chart directory with its closing "\": "C:\vornix\DOB\mas\".
short BuildChartDirectory(char drive, const char *systemDirName, char path[CHART_PATH_SIZE]);

// A chart's path: the chart directory, the chart name (8 columns, blank-padded; a name
// pattern works the same) and ".mas": "C:\vornix\DOB\mas\AB.mas".
short BuildChartPath(char drive, const char *systemDirName, const char *chartName,
                     char path[CHART_PATH_SIZE]);

// The chart directory followed by a chart's long name as it stands, blanks and all, and
// a NUL. Returns the length; with a long name the path can be longer than a path may be.
int BuildNamedChartPath(char drive, const char *systemDirName, const char *longName,
                        char path[NAMED_CHART_PATH_SIZE]);

#endif
