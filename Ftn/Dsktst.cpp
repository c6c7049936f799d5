// Whether diskette drive A: or B: can be read now.
#include "ftn.h"

#include "../Kopf01/winapi.h"

enum { DSK_READY = 0, DSK_NO_DISK = 128, DSK_NO_DRIVE = -1 };

short Dsktst(short index)
{
    if (index < 0 || index > 1) {
        return DSK_NO_DRIVE;
    }
    char root[4] = {(char)('A' + index), ':', '\\', '\0'};
    switch (GetDriveTypeA(root)) {
    case DRIVE_REMOVABLE: {
        // Reading the free space fails when the drive holds no readable disk.
        DWORD sectorsPerCluster, bytesPerSector, freeClusters, totalClusters;
        return GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters,
                                 &totalClusters)
                   ? DSK_READY
                   : DSK_NO_DISK;
    }
    case DRIVE_FIXED:
    case DRIVE_REMOTE:
    case DRIVE_CDROM:
    case DRIVE_RAMDISK:
        return DSK_READY;
    default:
        return DSK_NO_DRIVE;
    }
}
