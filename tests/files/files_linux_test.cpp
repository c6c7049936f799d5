// The layer's file operations, as unkind as Windows: CopyFileA (what the copy takes over,
// its failures, and the fragment a failure leaves in place of the destination),
// MoveFileExA, DeleteFileA, CreateFileA with share modes, 8.3 aliases numbered per
// folder, and the file-time conversions.
#include "linux_drives.h"

#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace {

class Files : public LinuxDrives {
protected:
    void SetUp() override
    {
        LinuxDrives::SetUp();
        WriteLinux("c/src/a.mas", "new chart");
        WriteLinux("c/dst/a.mas", "old chart");
    }

    struct stat StatLinux(const std::string &relative)
    {
        struct stat info = {};
        EXPECT_EQ(0, stat(Linux(relative).c_str(), &info)) << relative;
        return info;
    }
};

TEST_F(Files, CopyTakesOverTimeAndAttributes)
{
    SetWriteTime("c/src/a.mas", 1078650300);
    ASSERT_TRUE(SetFileAttributesA("C:\\src\\a.mas", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(CopyFileA("C:\\src\\a.mas", "C:\\dst\\b.mas", FALSE));
    EXPECT_EQ("new chart", ReadLinux("c/dst/b.mas"));
    EXPECT_EQ(1078650300, StatLinux("c/dst/b.mas").st_mtim.tv_sec);
    EXPECT_EQ((DWORD)FILE_ATTRIBUTE_READONLY,
              GetFileAttributesA("C:\\dst\\b.mas") & FILE_ATTRIBUTE_READONLY);
    // the existing destination keeps its name
    ASSERT_TRUE(SetFileAttributesA("C:\\src\\a.mas", FILE_ATTRIBUTE_NORMAL));
    ASSERT_TRUE(CopyFileA("C:\\src\\a.mas", "C:\\DST\\A.MAS", FALSE));
    EXPECT_EQ(std::vector<std::string>({"a.mas", "b.mas"}), ListLinux("c/dst"));
    EXPECT_EQ("new chart", ReadLinux("c/dst/a.mas"));
    EXPECT_EQ(0u, GetFileAttributesA("C:\\dst\\a.mas") & FILE_ATTRIBUTE_READONLY);
    // hidden and system go with the copy, which is complete once it has a name
    const DWORD hiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    ASSERT_TRUE(SetFileAttributesA("C:\\src\\a.mas", hiddenSystem));
    ASSERT_TRUE(CopyFileA("C:\\src\\a.mas", "C:\\dst\\c.mas", FALSE));
    EXPECT_EQ(hiddenSystem, GetFileAttributesA("C:\\dst\\c.mas") & hiddenSystem);
    EXPECT_EQ("new chart", ReadLinux("c/dst/c.mas"));
}

TEST_F(Files, CopyFailures)
{
    WriteLinux("c/dst/ro.mas", "read-only");
    WriteLinux("c/dst/hidden.mas", "hidden");
    ASSERT_TRUE(SetFileAttributesA("C:\\dst\\ro.mas", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(SetFileAttributesA("C:\\dst\\hidden.mas", FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(CreateDirectoryA("C:\\dst\\dir.mas", NULL));
    ASSERT_TRUE(Map('A', "nodisk", DRIVE_REMOVABLE, false));
    struct Case {
        const char *from;
        const char *to;
        BOOL failIfExists;
        DWORD error;
    } cases[] = {
        {"C:\\src\\none.mas", "C:\\dst\\x.mas", FALSE, ERROR_FILE_NOT_FOUND},
        {"C:\\none\\a.mas", "C:\\dst\\x.mas", FALSE, ERROR_PATH_NOT_FOUND},
        {"C:\\src\\a.mas", "C:\\none\\x.mas", FALSE, ERROR_PATH_NOT_FOUND},
        {"C:\\src\\a.mas", "C:\\dst\\ro.mas", FALSE, ERROR_ACCESS_DENIED},
        {"C:\\src\\a.mas", "C:\\dst\\hidden.mas", FALSE, ERROR_ACCESS_DENIED},
        {"C:\\src\\a.mas", "C:\\dst\\dir.mas", FALSE, ERROR_ACCESS_DENIED},
        {"C:\\src", "C:\\dst\\x.mas", FALSE, ERROR_ACCESS_DENIED},
        {"C:\\src\\a.mas", "C:\\dst\\a.mas", TRUE, ERROR_FILE_EXISTS},
        {"C:\\src\\a.mas", "A:\\a.mas", FALSE, ERROR_NOT_READY},
        {"C:\\src\\a.mas", "Q:\\a.mas", FALSE, ERROR_PATH_NOT_FOUND},
        {"C:\\src\\a.mas", "C:\\dst\\*.mas", FALSE, ERROR_INVALID_NAME},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.from) + " -> " + c.to);
        EXPECT_FALSE(CopyFileA(c.from, c.to, c.failIfExists));
        EXPECT_EQ(c.error, GetLastError());
    }
    EXPECT_EQ("read-only", ReadLinux("c/dst/ro.mas"));
    EXPECT_EQ("hidden", ReadLinux("c/dst/hidden.mas"));
    EXPECT_EQ("old chart", ReadLinux("c/dst/a.mas"));
    EXPECT_EQ(std::vector<std::string>({"a.mas", "dir.mas", "hidden.mas", "ro.mas"}),
              ListLinux("c/dst"));
}

// A name that the look-up did not take for a file (here a link that leads nowhere) is
// written through, as Windows writes through a reparse point it can follow.
TEST_F(Files, CopyReplacesALinkThatLeadsNowhere)
{
    ASSERT_EQ(0, symlink("nowhere", Linux("c/dst/b.mas").c_str()));
    EXPECT_TRUE(CopyFileA("C:\\src\\a.mas", "C:\\dst\\b.mas", FALSE));
    EXPECT_EQ("new chart", ReadLinux("c/dst/b.mas"));
}

// Two drive letters can name one folder: a copy of a file onto itself must fail, or a
// move would then delete the only copy.
TEST_F(Files, CopyOntoTheSameFileFails)
{
    ASSERT_TRUE(Map('D', "c", DRIVE_FIXED));
    struct Case {
        const char *from;
        const char *to;
    } cases[] = {
        {"C:\\src\\a.mas", "C:\\src\\a.mas"},
        {"C:\\src\\a.mas", "c:\\SRC\\A.MAS"},
        {"C:\\src\\a.mas", "D:\\src\\a.mas"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.to);
        EXPECT_FALSE(CopyFileA(c.from, c.to, FALSE));
        EXPECT_EQ((DWORD)ERROR_SHARING_VIOLATION, GetLastError());
        EXPECT_EQ("new chart", ReadLinux("c/src/a.mas"));
    }
    short status = -1;
    FTNFCO(&status, "C:\\src\\a.mas", 12, "D:\\src\\a.mas", 12);
    EXPECT_EQ(3, status);
    EXPECT_EQ(std::vector<std::string>({"a.mas"}), ListLinux("c/src"));
}

// CopyFileA writes straight onto the destination, as Windows and Wine do: a failure
// while the copy is written (a full disk, a write fault, a failed sync) has destroyed
// the file that stood there and leaves what was written under its name, with the
// source's time of last change (Wine measured so), and a new name keeps its fragment
// too. Only a failure before the first write leaves the destination as it was.
TEST_F(Files, AFailedCopyLeavesAFragmentInPlaceOfTheDestination)
{
    const std::string big(3 * 65536 + 5, 'b');
    WriteLinux("c/src/big.mas", big);
    SetWriteTime("c/src/big.mas", 1078650300);
    struct Case {
        const char *what;
        Lin32Operation operation;
        int nth;
        DWORD error;
        UINT type;
        size_t written;  // of the new content, under the destination's name
    } cases[] = {
        {"disk full at once", LIN32_OP_WRITE, 1, ERROR_DISK_FULL, DRIVE_FIXED, 0},
        {"write fault in the middle", LIN32_OP_WRITE, 3, ERROR_WRITE_FAULT, DRIVE_FIXED,
         2 * 65536},
        {"sync of the file", LIN32_OP_FLUSH, 1, ERROR_WRITE_FAULT, DRIVE_REMOVABLE, big.size()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        WriteLinux("c/dst/a.mas", "old chart");
        unlink(Linux("c/dst/fresh.mas").c_str());
        ASSERT_TRUE(Map('E', "c/dst", c.type));
        for (const char *target : {"a.mas", "fresh.mas"}) {
            SCOPED_TRACE(target);
            Lin32FailOperation(c.operation, c.nth, c.error, 1);
            EXPECT_FALSE(CopyFileA("C:\\src\\big.mas", (std::string("E:\\") + target).c_str(),
                                   FALSE));
            EXPECT_EQ(c.error, GetLastError());
            std::string left = ReadLinux(std::string("c/dst/") + target);
            EXPECT_EQ(c.written, left.size());
            EXPECT_EQ(big.substr(0, c.written), left);
            EXPECT_EQ(1078650300, StatLinux(std::string("c/dst/") + target).st_mtim.tv_sec);
        }
    }
    // A copy that fails before it opens the destination leaves it untouched.
    WriteLinux("c/dst/a.mas", "old chart");
    Lin32FailOperation(LIN32_OP_COPY, 1, ERROR_NOT_READY, 1);
    EXPECT_FALSE(CopyFileA("C:\\src\\big.mas", "E:\\a.mas", FALSE));
    EXPECT_EQ("old chart", ReadLinux("c/dst/a.mas"));
    Lin32ClearFailures();
    EXPECT_TRUE(CopyFileA("C:\\src\\big.mas", "E:\\a.mas", FALSE));
    EXPECT_EQ(big, ReadLinux("c/dst/a.mas"));
}

// MoveFileExA renames within one volume, with Windows' refusals: a read-only target
// (which Wine replaces), an existing target without MOVEFILE_REPLACE_EXISTING, a target
// held open without delete sharing, another drive. The replaced file takes the name as
// written.
TEST_F(Files, MoveFileExRenamesWithWindowsRefusals)
{
    ASSERT_TRUE(Map('F', "c", DRIVE_FIXED));  // a second letter of drive C:'s folder
    ASSERT_TRUE(Map('E', "e", DRIVE_FIXED));
    WriteLinux("c/dst/ro.mas", "read-only");
    ASSERT_TRUE(SetFileAttributesA("C:\\dst\\ro.mas", FILE_ATTRIBUTE_READONLY));
    WriteLinux("c/dst/held.mas", "held");
    HANDLE held = CreateFileA("C:\\dst\\held.mas", GENERIC_READ, FILE_SHARE_READ, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    struct Case {
        const char *to;
        DWORD flags;
        DWORD error;
    } cases[] = {
        {"C:\\dst\\ro.mas", MOVEFILE_REPLACE_EXISTING, ERROR_ACCESS_DENIED},
        {"C:\\dst\\a.mas", 0, ERROR_ALREADY_EXISTS},
        {"C:\\dst\\held.mas", MOVEFILE_REPLACE_EXISTING, ERROR_ACCESS_DENIED},
        {"E:\\a.mas", MOVEFILE_REPLACE_EXISTING, ERROR_NOT_SAME_DEVICE},
        {"C:\\none\\a.mas", MOVEFILE_REPLACE_EXISTING, ERROR_PATH_NOT_FOUND},
        {"C:\\dst", MOVEFILE_REPLACE_EXISTING, ERROR_ACCESS_DENIED},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.to);
        EXPECT_FALSE(MoveFileExA("C:\\src\\a.mas", c.to, c.flags));
        EXPECT_EQ(c.error, GetLastError());
        EXPECT_EQ("new chart", ReadLinux("c/src/a.mas"));
    }
    CloseHandle(held);
    EXPECT_EQ("read-only", ReadLinux("c/dst/ro.mas"));
    EXPECT_EQ("held", ReadLinux("c/dst/held.mas"));
    EXPECT_TRUE(MoveFileExA("C:\\src\\a.mas", "F:\\dst\\A.MAS", MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(std::vector<std::string>({"A.MAS", "held.mas", "ro.mas"}), ListLinux("c/dst"));
    EXPECT_EQ("new chart", ReadLinux("c/dst/A.MAS"));
    EXPECT_FALSE(ExistsLinux("c/src/a.mas"));
}

// On a drive that makes aliases as FAT does, every long name the layer creates gets the
// lowest free number of its folder, so two folders can give one alias to different
// files and different aliases to one name; a name that is an alias names its owner.
TEST_F(Files, AliasesAreNumberedPerFolderAsOnFat)
{
    ASSERT_TRUE(Map('A', "a", DRIVE_FIXED));
    Lin32SetDriveShortNames('A', true);
    Lin32SetDriveShortNames('C', true);
    WriteLinux("c/src/Messtabelle.mas", "table");
    WriteLinux("c/src/Messblatt.mas", "sheet");
    ASSERT_TRUE(CreateDirectoryA("A:\\mas", NULL));
    struct Step {
        const char *from;
        const char *to;
        const char *alias;  // the alias the new file gets
    } steps[] = {
        {"C:\\src\\Messblatt.mas", "A:\\mas\\Messblatt.mas", "MESSBL~1.MAS"},
        {"C:\\src\\Messtabelle.mas", "A:\\mas\\Messtabelle.mas", "MESSTA~1.MAS"},
        {"C:\\src\\Messtabelle.mas", "A:\\mas\\Messtabelle2.mas", "MESSTA~2.MAS"},
        {"C:\\src\\a.mas", "A:\\mas\\b.mas", ""},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.to);
        ASSERT_TRUE(CopyFileA(step.from, step.to, FALSE));
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(step.to, &found);
        ASSERT_NE(INVALID_HANDLE_VALUE, search);
        FindClose(search);
        EXPECT_STREQ(step.alias, found.cAlternateFileName);
    }
    // The alias names its owner: the file Messtabelle2.mas.
    EXPECT_EQ("table", ReadLinux("a/mas/Messtabelle2.mas"));
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("A:\\mas\\MESSTA~2.MAS", &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    FindClose(search);
    EXPECT_STREQ("Messtabelle2.mas", found.cFileName);
    // A rename gives the new name its own alias; the old one becomes free.
    ASSERT_TRUE(MoveFileExA("A:\\mas\\Messtabelle.mas", "A:\\mas\\Messbandmass.mas", 0));
    search = FindFirstFileA("A:\\mas\\MESSTA~1.MAS", &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search) << "the old alias went with the old name";
    search = FindFirstFileA("A:\\mas\\Messbandmass.mas", &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    FindClose(search);
    EXPECT_STREQ("MESSBA~1.MAS", found.cAlternateFileName);
    ASSERT_TRUE(CopyFileA("C:\\src\\Messblatt.mas", "C:\\dst\\Messtabelle.mas", FALSE));
    search = FindFirstFileA("C:\\dst\\Messtabelle.mas", &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    FindClose(search);
    EXPECT_STREQ("MESSTA~1.MAS", found.cAlternateFileName) << "numbered in its own folder";
}

// On a removable drive the copy and then its folder are synced before success.
TEST_F(Files, CopyToARemovableDriveIsSynced)
{
    ASSERT_TRUE(Map('A', "floppy", DRIVE_REMOVABLE));
    Lin32ClearFailures();
    EXPECT_TRUE(CopyFileA("C:\\src\\a.mas", "A:\\a.mas", FALSE));
    EXPECT_EQ(2, Lin32OperationCount(LIN32_OP_FLUSH));
    Lin32FailOperation(LIN32_OP_FLUSH, 2, ERROR_WRITE_FAULT, 1);
    EXPECT_FALSE(CopyFileA("C:\\src\\a.mas", "A:\\b.mas", FALSE)) << "the folder's sync failed";
    EXPECT_EQ((DWORD)ERROR_WRITE_FAULT, GetLastError());
    Lin32ClearFailures();
    EXPECT_TRUE(CopyFileA("C:\\src\\a.mas", "C:\\dst\\c.mas", FALSE));
    EXPECT_EQ(0, Lin32OperationCount(LIN32_OP_FLUSH)) << "a fixed drive is not synced";
}

TEST_F(Files, DeleteFailures)
{
    WriteLinux("c/dst/ro.mas", "read-only");
    ASSERT_TRUE(SetFileAttributesA("C:\\dst\\ro.mas", FILE_ATTRIBUTE_READONLY));
    struct Case {
        const char *name;
        DWORD error;
    } cases[] = {
        {"C:\\dst\\none.mas", ERROR_FILE_NOT_FOUND},
        {"C:\\none\\a.mas", ERROR_PATH_NOT_FOUND},
        {"C:\\dst\\ro.mas", ERROR_ACCESS_DENIED},
        {"C:\\dst", ERROR_ACCESS_DENIED},
        {"C:\\", ERROR_ACCESS_DENIED},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(DeleteFileA(c.name));
        EXPECT_EQ(c.error, GetLastError());
    }
    EXPECT_TRUE(ExistsLinux("c/dst/ro.mas"));

    HANDLE held = CreateFileA("C:\\dst\\a.mas", GENERIC_READ, FILE_SHARE_READ, NULL,
                              OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_FALSE(DeleteFileA("C:\\dst\\a.mas"));
    EXPECT_EQ((DWORD)ERROR_SHARING_VIOLATION, GetLastError());
    CloseHandle(held);
    held = CreateFileA("C:\\dst\\a.mas", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, NULL,
                       OPEN_EXISTING, 0, NULL);
    EXPECT_TRUE(DeleteFileA("C:\\dst\\a.mas")) << "the holder shares deletion";
    CloseHandle(held);
    EXPECT_FALSE(ExistsLinux("c/dst/a.mas"));
}

TEST_F(Files, FileHandles)
{
    WriteLinux("c/dst/ro.mas", "read-only");
    ASSERT_TRUE(SetFileAttributesA("C:\\dst\\ro.mas", FILE_ATTRIBUTE_READONLY));
    struct Case {
        const char *name;
        DWORD access;
        DWORD creation;
        DWORD error;
    } cases[] = {
        {"C:\\dst\\none.mas", GENERIC_READ, OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
        {"C:\\none\\a.mas", GENERIC_WRITE, CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},
        {"C:\\dst\\ro.mas", GENERIC_WRITE, CREATE_ALWAYS, ERROR_ACCESS_DENIED},
        {"C:\\dst\\ro.mas", GENERIC_WRITE, OPEN_EXISTING, ERROR_ACCESS_DENIED},
        {"C:\\dst", GENERIC_READ, OPEN_EXISTING, ERROR_ACCESS_DENIED},
        {"C:\\dst\\a.mas", GENERIC_WRITE, CREATE_NEW, ERROR_FILE_EXISTS},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(INVALID_HANDLE_VALUE, CreateFileA(c.name, c.access, 0, NULL, c.creation, 0, NULL));
        EXPECT_EQ(c.error, GetLastError());
    }
    EXPECT_EQ("read-only", ReadLinux("c/dst/ro.mas"));

    HANDLE writer = CreateFileA("C:\\dst\\new.txt", GENERIC_WRITE, FILE_SHARE_READ, NULL,
                                CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, writer);
    DWORD done = 0;
    EXPECT_TRUE(WriteFile(writer, "line\r\n", 6, &done, NULL));
    EXPECT_EQ(6u, done);
    EXPECT_TRUE(FlushFileBuffers(writer));
    EXPECT_EQ(INVALID_HANDLE_VALUE, CreateFileA("C:\\dst\\new.txt", GENERIC_READ, FILE_SHARE_READ,
                                                NULL, OPEN_EXISTING, 0, NULL))
        << "the writer does not share writing";
    EXPECT_EQ((DWORD)ERROR_SHARING_VIOLATION, GetLastError());
    HANDLE reader = CreateFileA("C:\\dst\\new.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    Lin32FailOperation(LIN32_OP_WRITE, 1, ERROR_DISK_FULL, 1);
    EXPECT_FALSE(WriteFile(writer, "more", 4, &done, NULL));
    EXPECT_EQ((DWORD)ERROR_DISK_FULL, GetLastError());
    EXPECT_FALSE(WriteFile(reader, "x", 1, &done, NULL));
    EXPECT_EQ((DWORD)ERROR_ACCESS_DENIED, GetLastError());
    char buffer[16] = {0};
    EXPECT_TRUE(ReadFile(reader, buffer, sizeof buffer, &done, NULL));
    EXPECT_EQ(std::string("line\r\n"), std::string(buffer, done));
    EXPECT_TRUE(ReadFile(reader, buffer, sizeof buffer, &done, NULL));
    EXPECT_EQ(0u, done) << "end of file";
    EXPECT_TRUE(CloseHandle(reader));
    EXPECT_TRUE(CloseHandle(writer));
    EXPECT_FALSE(CloseHandle(writer));
    EXPECT_EQ((DWORD)ERROR_INVALID_HANDLE, GetLastError());
    EXPECT_FALSE(ReadFile(writer, buffer, 1, &done, NULL));
    EXPECT_EQ((DWORD)ERROR_INVALID_HANDLE, GetLastError());
}

// FTNFCO turns every failure of the copy into status 3 and leaves the destination.
TEST_F(Files, FtnfcoStatuses)
{
    WriteLinux("c/dst/ro.mas", "read-only");
    ASSERT_TRUE(SetFileAttributesA("C:\\dst\\ro.mas", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(Map('A', "floppy", DRIVE_REMOVABLE));
    WriteLinux("floppy/a.mas", "old chart");
    const DWORD writeProtected = 19;
    struct Case {
        const char *what;
        const char *to;
        Lin32Operation operation;  // LIN32_OP_COUNT: nothing injected
        DWORD error;
        short status;
    } cases[] = {
        {"replace", "C:\\dst\\a.mas", LIN32_OP_COUNT, 0, 0},
        {"read-only destination", "C:\\dst\\ro.mas", LIN32_OP_COUNT, 0, 3},
        {"full diskette", "A:\\a.mas", LIN32_OP_WRITE, ERROR_DISK_FULL, 3},
        {"write-protected diskette", "A:\\a.mas", LIN32_OP_COPY, writeProtected, 3},
        {"diskette", "A:\\a.mas", LIN32_OP_COUNT, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.operation != LIN32_OP_COUNT) {
            Lin32FailOperation(c.operation, 1, c.error, 1);
        }
        short status = -1;
        FTNFCO(&status, "C:\\src\\a.mas", 12, c.to, (int)strlen(c.to));
        EXPECT_EQ(c.status, status);
        Lin32ClearFailures();
        if (c.status == 3 && c.to[0] == 'A') {
            EXPECT_EQ("old chart", ReadLinux("floppy/a.mas"));
        }
    }
    EXPECT_EQ("read-only", ReadLinux("c/dst/ro.mas"));
    EXPECT_EQ("new chart", ReadLinux("c/dst/a.mas"));
    EXPECT_EQ("new chart", ReadLinux("floppy/a.mas"));
}

FILETIME FromUnix(time_t seconds)
{
    uint64_t ticks = ((uint64_t)seconds + 11644473600ull) * 10000000ull;
    FILETIME time = {(DWORD)(ticks & 0xFFFFFFFFu), (DWORD)(ticks >> 32)};
    return time;
}

int64_t SecondsBetween(const FILETIME &later, const FILETIME &earlier)
{
    uint64_t a = ((uint64_t)later.dwHighDateTime << 32) | later.dwLowDateTime;
    uint64_t b = ((uint64_t)earlier.dwHighDateTime << 32) | earlier.dwLowDateTime;
    return ((int64_t)a - (int64_t)b) / 10000000;
}

TEST(FileTimes, SystemTimeFields)
{
    struct Case {
        int year, month, day, hour, minute, second, dayOfWeek;
    } cases[] = {
        {2004, 3, 7, 9, 5, 0, 0},     {1999, 12, 31, 23, 59, 59, 5}, {2000, 2, 29, 12, 0, 1, 2},
        {1970, 1, 1, 0, 0, 0, 4},     {2100, 3, 1, 6, 30, 0, 1},     {1601, 1, 1, 0, 0, 0, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.year);
        struct tm parts = {};
        parts.tm_year = c.year - 1900;
        parts.tm_mon = c.month - 1;
        parts.tm_mday = c.day;
        parts.tm_hour = c.hour;
        parts.tm_min = c.minute;
        parts.tm_sec = c.second;
        FILETIME time = FromUnix(timegm(&parts));
        SYSTEMTIME fields;
        ASSERT_TRUE(FileTimeToSystemTime(&time, &fields));
        EXPECT_EQ(c.year, fields.wYear);
        EXPECT_EQ(c.month, fields.wMonth);
        EXPECT_EQ(c.day, fields.wDay);
        EXPECT_EQ(c.hour, fields.wHour);
        EXPECT_EQ(c.minute, fields.wMinute);
        EXPECT_EQ(c.second, fields.wSecond);
        EXPECT_EQ(c.dayOfWeek, fields.wDayOfWeek);
    }
    FILETIME tooLate = {0, 0x80000000u};
    SYSTEMTIME fields;
    EXPECT_FALSE(FileTimeToSystemTime(&tooLate, &fields));
}

// The bias in effect now applies, daylight saving included, whatever the file's date.
TEST(FileTimes, LocalTimeUsesTheBiasInEffectNow)
{
    time_t now = time(NULL);
    struct tm today;
    gmtime_r(&now, &today);
    FILETIME summerFile = FromUnix(now);
    FILETIME winterFile = FromUnix(now + 180 * 86400);  // far outside the window below
    // Daylight saving from five days before today to five days after it.
    int first = today.tm_yday - 5 < 0 ? 0 : today.tm_yday - 5;
    int last = today.tm_yday + 5 > 364 ? 364 : today.tm_yday + 5;
    std::string rule = "STD-1DST," + std::to_string(first) + "/0," + std::to_string(last) + "/24";
    struct Case {
        std::string zone;
        int64_t bias;
    } cases[] = {{"UTC0", 0}, {"XXX-3", 3 * 3600}, {"YYY+5", -5 * 3600}, {rule, 2 * 3600}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.zone);
        TimeZone zone(c.zone.c_str());
        for (const FILETIME &file : {summerFile, winterFile}) {
            FILETIME local;
            ASSERT_TRUE(FileTimeToLocalFileTime(&file, &local));
            EXPECT_EQ(c.bias, SecondsBetween(local, file));
        }
    }
}

}  // namespace
