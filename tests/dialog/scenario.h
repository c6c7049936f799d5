// Scenario tests of the main dialog on temporary drives of the Linux layer: each test
// gets fresh folders for its drives, real files in them, English dialog texts and a
// fixed time zone, and leaves nothing behind.
#ifndef TESTS_DIALOG_SCENARIO_H
#define TESTS_DIALOG_SCENARIO_H

#include "Kopf01/winapi.h"
#include "lin32/lin32_dialog.h"
#include "lin32/lin32_files.h"
#include "lin32/lin32_hooks.h"
#include "locale_scope.h"
#include "support/boxes.h"

#include <gtest/gtest.h>

#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <utime.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace scenario {

namespace fs = std::filesystem;

// Chart time stamps: local time, which the fixture makes UTC.
struct Stamp {
    int year, month, day, hour, minute;
};

// The text a list line shows for a chart: name padded to 8, tab, dd.mm.yy, hh:mm.
inline std::string Line(const char *name, const Stamp &stamp)
{
    char text[64];
    snprintf(text, sizeof text, "%-8s\t%02d.%02d.%02d  %02d:%02d", name, stamp.day,
             stamp.month, stamp.year % 100, stamp.hour, stamp.minute);
    return text;
}

// A construction system's display name as its combo shows it: 32 columns.
inline std::string Display(const std::string &name)
{
    std::string text = name.substr(0, 29);
    text.resize(32, ' ');
    return text;
}

// One line per box: "caption | text | buttons icon owner", easy to compare and to read.
inline std::string Describe(const ShownBox &box)
{
    char flags[64];
    snprintf(flags, sizeof flags, "%u/%#x/%s", box.buttons, box.icon,
             box.owned ? "owned" : "ownerless");
    return box.caption + " | " + box.text + " | " + flags;
}

inline std::vector<std::string> Describe(const BoxScript &boxes)
{
    std::vector<std::string> lines;
    for (const ShownBox &box : boxes.Shown()) {
        lines.push_back(Describe(box));
    }
    return lines;
}

inline std::string Box(const std::string &caption, const std::string &text, UINT buttons,
                       UINT icon, bool owned = true)
{
    ShownBox box{owned, text, caption, buttons, icon, 0};
    return Describe(box);
}

// The question of a transfer command: "   3 selected files really to be copied?".
inline std::string Question(const char *verb, int count)
{
    char text[80];
    snprintf(text, sizeof text, "%4d selected files really to be %s?", count, verb);
    return Box("VORNIX - Files ...", text, MB_YESNO, MB_ICONQUESTION);
}

// The boxes of the English dialog that these tests meet.
inline std::string NoIniBox()
{
    return Box("VORNIX - Attention",
               "VORNIX.INI could not be found on current drive. Standard drives A: and C: "
               "will be used.",
               MB_OK, MB_ICONERROR);
}
inline std::string IniErrorBox()
{
    return Box("VORNIX - Attention", "Error while reading VORNIX.INI !", MB_OK, MB_ICONERROR);
}
inline std::string NoDirectoryBox()
{
    return Box("VORNIX - Attention", "Directory not found !", MB_OK, 0);
}
inline std::string NoSystemBox()
{
    return Box("VORNIX - Attention", "Construction systems not found !", MB_OK, 0);
}
inline std::string ErrorBox(const std::string &text)
{
    return Box("VORNIX System Info-Box", text, MB_OK, 0, false);
}
// The per-file prompt: the chart's path, a line break, the message.
inline constexpr char kCopyFailed[] =
    "This file cannot be copied. Destination file is write protected or destination drive "
    "is not ready or not prepared for VORNIX.";
inline constexpr char kDeleteFailed[] =
    "This file cannot be deleted. It is write protected or drive is not ready.";
inline std::string Prompt(const std::string &path, const char *message)
{
    return Box("VORNIX - Attention", path + "\r" + message, MB_ABORTRETRYIGNORE, MB_ICONWARNING);
}
inline std::string CreateBox(char drive)
{
    return Box("VORNIX - Create VORNIX Directory",
               std::string("VORNIX-directory for active construction system on drive ") +
                   drive + ": does not exist. Create now?",
               MB_YESNO, MB_ICONQUESTION);
}

class Drives : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("TZ", "UTC", 1);
        tzset();
        char folder[] = "/tmp/chartxfer-dialog-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        root_ = folder;
        Lin32SetDosDevices((root_ / "dosdevices").c_str());
        Map('C', DRIVE_FIXED);
        Map('D', DRIVE_FIXED);
        locale_.Set("en_GB.UTF-8");  // the English dialog
        Lin32ClearFailures();
        Lin32ClearComboFailures();
        Lin32ClearShortNames();
        ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
    }

    void TearDown() override
    {
        Lin32ClearFailures();
        Lin32ClearComboFailures();
        Lin32ClearShortNames();
        Lin32ResetDrives();
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    // The folder behind a drive letter.
    fs::path Folder(char letter) const
    {
        return root_ / (std::string("drive_") + (char)tolower(letter));
    }

    fs::path Map(char letter, UINT type, bool withFolder = true)
    {
        fs::path folder = Folder(letter);
        if (withFolder) {
            fs::create_directories(folder);
        }
        EXPECT_TRUE(Lin32MapDrive(letter, folder.c_str(), type));
        return folder;
    }

    static void WriteText(const fs::path &file, const std::string &text)
    {
        fs::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out << text;
    }

    // The product INI file in \vornix\ of drive C:, found from the current directory C:\.
    void WriteIni(const std::string &text) { WriteText(Folder('C') / "vornix/vornix.ini", text); }

    // A construction system: its directory with the system file and a chart directory.
    void MakeSystem(char drive, const std::string &dir, const std::string &display,
                    bool withCharts = true)
    {
        WriteText(Folder(drive) / "vornix" / dir / "vornix_s.kon",
                  display + "\r\nsecond line\r\n");
        if (withCharts) {
            fs::create_directories(Folder(drive) / "vornix" / dir / "mas");
        }
    }

    fs::path MakeChart(char drive, const std::string &system, const std::string &file,
                       const Stamp &stamp, const std::string &content = "chart data\r\n")
    {
        fs::path path = Folder(drive) / "vornix" / system / "mas" / file;
        WriteText(path, content);
        SetStamp(path, stamp);
        return path;
    }

    static void SetStamp(const fs::path &path, const Stamp &stamp)
    {
        struct tm fields = {};
        fields.tm_year = stamp.year - 1900;
        fields.tm_mon = stamp.month - 1;
        fields.tm_mday = stamp.day;
        fields.tm_hour = stamp.hour;
        fields.tm_min = stamp.minute;
        fields.tm_sec = 30;
        fields.tm_isdst = -1;
        struct utimbuf times;
        times.actime = times.modtime = mktime(&fields);
        ASSERT_EQ(utime(path.c_str(), &times), 0) << path;
    }

    // Whether a Win32 path names a directory, seen through the layer.
    static bool IsDirectory(const char *path)
    {
        DWORD attributes = GetFileAttributesA(path);
        return attributes != INVALID_FILE_ATTRIBUTES &&
               (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }

    static bool Exists(const char *path)
    {
        return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
    }

    fs::path root_;
    LocaleScope locale_;  // en_GB unless a test sets another
};

}  // namespace scenario

#endif
