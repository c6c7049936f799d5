// Emptying or removing a folder tree through Win32 calls, read-only files included, for
// tests that lay out their own drives. The Linux layer has no RemoveDirectoryA: there an
// emptied folder goes with rmdir.
#ifndef TESTS_SUPPORT_WINTREE_H
#define TESTS_SUPPORT_WINTREE_H

#include "Kopf01/winapi.h"

#include <algorithm>
#include <string>
#include <vector>

#ifndef _WIN32
#include "lin32_files.h"

#include <unistd.h>
#endif

inline bool RemoveEmptyFolder(const std::string &path)
{
#ifdef _WIN32
    return RemoveDirectoryA(path.c_str()) != 0;
#else
    std::string linuxPath;
    return Lin32LinuxPath(path.c_str(), linuxPath) && rmdir(linuxPath.c_str()) == 0;
#endif
}

// Deletes everything in the folder, and with removeFolder the folder too. A folder that
// is not there counts as cleared. True when everything went.
inline bool ClearTree(const std::string &folder, bool removeFolder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        if (error == ERROR_PATH_NOT_FOUND) {
            return true;
        }
        return error == ERROR_FILE_NOT_FOUND && (!removeFolder || RemoveEmptyFolder(folder));
    }
    bool ok = true;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") {
            continue;
        }
        std::string path = folder + "\\" + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ok = ClearTree(path, true) && ok;
        } else {
            ok = DeleteFileA(path.c_str()) && ok;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return (!removeFolder || RemoveEmptyFolder(folder)) && ok;
}

// The names of the entries directly in a folder, "." and ".." left out, sorted.
inline std::vector<std::string> FolderNames(const std::string &folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

#endif
