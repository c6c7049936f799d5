// For the native-only tests: a private folder of drive links in a fresh temporary
// folder, drive C: mapped to its subfolder "c", and helpers that look at the files from
// the Linux side. Everything the layer was told is undone afterwards.
#ifndef TESTS_FILES_LINUX_DRIVES_H
#define TESTS_FILES_LINUX_DRIVES_H

#include "Ftn/ftn.h"
#include "lin32_files.h"
#include "lin32_hooks.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <stdlib.h>
#include <string>
#include <sys/stat.h>
#include <time.h>
#include <vector>

class LinuxDrives : public ::testing::Test {
protected:
    std::string base_;

    void SetUp() override
    {
        char pattern[] = "/tmp/chartxfer-files-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        base_ = pattern;
        Lin32SetDosDevices((base_ + "/dosdevices").c_str());
        ASSERT_TRUE(Map('C', "c", DRIVE_FIXED));
        ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
        Lin32SetCodePage(1252);
        FtnfnsResetAliasOption();
    }

    void TearDown() override
    {
        Lin32ClearFailures();
        Lin32ClearShortNames();
        Lin32ClearReportedSizes();
        Lin32SetCodePage(1252);
        FtnfnsResetAliasOption();
        Lin32ResetDrives();
        std::error_code ignored;
        std::filesystem::remove_all(base_, ignored);
    }

    // Maps letter to base_/folder, creating the folder unless told not to.
    bool Map(char letter, const std::string &folder, UINT type, bool create = true)
    {
        std::string path = base_ + "/" + folder;
        if (create) {
            std::error_code ignored;
            std::filesystem::create_directories(path, ignored);
        }
        return Lin32MapDrive(letter, path.c_str(), type);
    }

    std::string Linux(const std::string &relative) const { return base_ + "/" + relative; }

    void WriteLinux(const std::string &relative, const std::string &content) const
    {
        std::filesystem::path path(Linux(relative));
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }

    std::string ReadLinux(const std::string &relative) const
    {
        std::ifstream in(Linux(relative), std::ios::binary);
        if (!in) {
            return "<missing>";
        }
        std::ostringstream content;
        content << in.rdbuf();
        return content.str();
    }

    bool ExistsLinux(const std::string &relative) const
    {
        struct stat info;
        return lstat(Linux(relative).c_str(), &info) == 0;
    }

    // The names in a Linux folder, sorted.
    std::vector<std::string> ListLinux(const std::string &relative) const
    {
        std::vector<std::string> names;
        std::error_code ignored;
        for (const auto &entry : std::filesystem::directory_iterator(Linux(relative), ignored)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    void SetWriteTime(const std::string &relative, time_t seconds) const
    {
        struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
        ASSERT_EQ(0, utimensat(AT_FDCWD, Linux(relative).c_str(), times, 0));
    }
};

// Sets TZ for the life of the object.
class TimeZone {
public:
    explicit TimeZone(const char *zone)
    {
        const char *old = getenv("TZ");
        hadOld_ = old != nullptr;
        if (hadOld_) {
            old_ = old;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone()
    {
        if (hadOld_) {
            setenv("TZ", old_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    TimeZone(const TimeZone &) = delete;
    TimeZone &operator=(const TimeZone &) = delete;

private:
    bool hadOld_ = false;
    std::string old_;
};

#endif
