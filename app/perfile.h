// The copy step of Move: a copy that counts as done only when this program has seen
// the destination complete, since the source is deleted right after it.
#ifndef CHARTXFER_PERFILE_H
#define CHARTXFER_PERFILE_H

#include "../Kopf01/winapi.h"

struct ChartFolder;

// Whether the drive is removable (a diskette drive), where Move writes each copy
// through to the disk before it deletes the source. A command asks once for all its
// charts: under Wine the platform takes most of a millisecond to answer.
bool IsRemovableDrive(char drive);

// CopyWithPrompt for one of a command's charts, into the destination folder that the
// command searched before its first chart (FtnfcoIntoFolder).
bool CopyIntoFolderWithPrompt(HWND dialog, const char *source, int sourceLength,
                              const char *destination, int destinationLength,
                              ChartFolder *folder, int *choice);

// The same for Move, but a copy that the primitive reports as done is also confirmed
// (ConfirmChartCopy); an unconfirmed copy counts as failed and brings the copy prompt.
// removable: the destination's drive is removable (IsRemovableDrive).
bool CopyForMoveWithPrompt(HWND dialog, const char *source, int sourceLength,
                           const char *destination, int destinationLength,
                           ChartFolder *folder, bool removable, int *choice);

// True when destination exists as a file of the source's size and is not the source
// itself under another name (two drive letters of one folder); on a removable drive
// (removable: IsRemovableDrive of its letter) it is first written through to the disk
// (FlushFileBuffers), read-only or not.
bool ConfirmChartCopy(const char *source, int sourceLength, const char *destination,
                      int destinationLength, bool removable);

#endif
