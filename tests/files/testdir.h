// A fresh folder for one test, laid out through Win32 calls only, so that the same test
// runs on Linux (through the layer) and on Windows or under Wine. The folder lies under
// $CHARTXFER_TEST_ROOT, else C:\chartxfer-tests, and is removed with all it holds.
#ifndef TESTS_FILES_TESTDIR_H
#define TESTS_FILES_TESTDIR_H

#include "Kopf01/winapi.h"
#include "support/wintree.h"

#include <chrono>
#include <stdlib.h>
#include <string>
#include <vector>

class TestFolder {
public:
    explicit TestFolder(const std::string &name)
    {
        const char *configured = getenv("CHARTXFER_TEST_ROOT");
        std::string root = configured != NULL && configured[0] != '\0' ? configured
                                                                        : "C:\\chartxfer-tests";
        CreateDirectoryA(root.c_str(), NULL);
        static unsigned serial = 0;
        auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = root + "\\" + name + "-" + std::to_string((unsigned long long)ticks % 1000000007u) +
                "-" + std::to_string(++serial);
        created_ = CreateDirectoryA(path_.c_str(), NULL) != FALSE;
    }

    ~TestFolder()
    {
        if (created_) {
            ClearTree(path_, true);
        }
    }

    TestFolder(const TestFolder &) = delete;
    TestFolder &operator=(const TestFolder &) = delete;

    bool Created() const { return created_; }

    // The Win32 path of relative inside the folder ("" for the folder itself).
    std::string Path(const std::string &relative = std::string()) const
    {
        return relative.empty() ? path_ : path_ + "\\" + relative;
    }

    bool MakeDir(const std::string &relative) const
    {
        return CreateDirectoryA(Path(relative).c_str(), NULL) != FALSE;
    }

    bool Write(const std::string &relative, const std::string &content) const
    {
        return WriteWhole(Path(relative), content);
    }

    bool Exists(const std::string &relative) const
    {
        return GetFileAttributesA(Path(relative).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    std::string Read(const std::string &relative) const { return ReadWhole(Path(relative)); }

    // The names in a folder of the test's (relative, "" for the test's own), sorted, as
    // the directory search gives them.
    std::vector<std::string> Names(const std::string &relative = std::string()) const
    {
        return FolderNames(Path(relative));
    }

    static bool WriteWhole(const std::string &path, const std::string &content)
    {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, NULL);
        if (file == INVALID_HANDLE_VALUE) {
            return false;
        }
        DWORD written = 0;
        BOOL done = content.empty() || WriteFile(file, content.data(), (DWORD)content.size(),
                                                 &written, NULL);
        CloseHandle(file);
        return done && written == content.size();
    }

    static std::string ReadWhole(const std::string &path)
    {
        std::string content;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
        if (file == INVALID_HANDLE_VALUE) {
            return "<missing>";
        }
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got > 0) {
            content.append(buffer, got);
        }
        CloseHandle(file);
        return content;
    }

private:
    std::string path_;
    bool created_ = false;
};

// Restores the process's current directory when it goes out of scope; declare it after
// the TestFolder so that the folder is left before it is removed.
class CurrentDirectoryGuard {
public:
    CurrentDirectoryGuard() { GetCurrentDirectoryA(sizeof saved_, saved_); }
    ~CurrentDirectoryGuard() { SetCurrentDirectoryA(saved_); }
    CurrentDirectoryGuard(const CurrentDirectoryGuard &) = delete;
    CurrentDirectoryGuard &operator=(const CurrentDirectoryGuard &) = delete;

private:
    char saved_[MAX_PATH] = {0};
};

#endif
