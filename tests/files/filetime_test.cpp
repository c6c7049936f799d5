// SetFileTime as the tests use it to give files a date of last change: the time set is
// the time that the directory search and GetFileAttributesExA report, a time not given
// stays, and only an open handle (on Windows one with write access) changes it.
#include "support/filetimes.h"
#include "testdir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class SetFileTimeTest : public ::testing::Test {
protected:
    TestFolder folder_{"filetime"};

    void SetUp() override
    {
        ASSERT_TRUE(folder_.Created());
        ASSERT_TRUE(folder_.Write("chart.mas", "chart\r\n"));
    }

    HANDLE Open(DWORD access)
    {
        return CreateFileA(folder_.Path("chart.mas").c_str(), access, 0, NULL, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, NULL);
    }

    bool Set(const FILETIME *access, const FILETIME *write)
    {
        HANDLE file = Open(GENERIC_WRITE);
        EXPECT_NE(file, INVALID_HANDLE_VALUE);
        BOOL done = SetFileTime(file, NULL, access, write);
        EXPECT_TRUE(CloseHandle(file));
        return done != FALSE;
    }

    // The last-write time by the directory search, checked against GetFileAttributesExA.
    uint64_t LastWrite()
    {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(folder_.Path("chart.mas").c_str(), &found);
        EXPECT_NE(search, INVALID_HANDLE_VALUE);
        if (search == INVALID_HANDLE_VALUE) {
            return 0;
        }
        FindClose(search);
        WIN32_FILE_ATTRIBUTE_DATA data;
        EXPECT_TRUE(GetFileAttributesExA(folder_.Path("chart.mas").c_str(),
                                         GetFileExInfoStandard, &data));
        EXPECT_EQ(TicksOf(data.ftLastWriteTime), TicksOf(found.ftLastWriteTime));
        return TicksOf(found.ftLastWriteTime);
    }

    uint64_t LastAccess()
    {
        WIN32_FILE_ATTRIBUTE_DATA data;
        EXPECT_TRUE(GetFileAttributesExA(folder_.Path("chart.mas").c_str(),
                                         GetFileExInfoStandard, &data));
        return TicksOf(data.ftLastAccessTime);
    }
};

TEST_F(SetFileTimeTest, TheLastWriteTimeSetIsTheOneReported)
{
    const UtcTime cases[] = {
        {2004, 3, 7, 10, 15, 30},
        {1999, 12, 31, 23, 59, 58},
        {1980, 1, 1, 0, 0, 0},
        {2079, 6, 30, 12, 0, 2},
        {2024, 2, 29, 6, 7, 8},
    };
    for (const UtcTime &utc : cases) {
        SCOPED_TRACE(std::to_string(utc.year) + "-" + std::to_string(utc.month) + "-" +
                     std::to_string(utc.day));
        FILETIME time = FileTimeOf(utc);
        // The calendar fields come back unchanged: the FILETIME is the one meant.
        SYSTEMTIME fields;
        ASSERT_TRUE(FileTimeToSystemTime(&time, &fields));
        EXPECT_EQ(fields.wYear, utc.year);
        EXPECT_EQ(fields.wMonth, utc.month);
        EXPECT_EQ(fields.wDay, utc.day);
        EXPECT_EQ(fields.wHour, utc.hour);
        EXPECT_EQ(fields.wMinute, utc.minute);
        EXPECT_EQ(fields.wSecond, utc.second);

        ASSERT_TRUE(Set(NULL, &time));
        EXPECT_EQ(LastWrite(), TicksOf(time));
    }
}

TEST_F(SetFileTimeTest, TimesNotGivenStay)
{
    FILETIME write = FileTimeOf({2003, 5, 1, 8, 0, 0});
    FILETIME access = FileTimeOf({2005, 1, 2, 3, 4, 6});
    ASSERT_TRUE(Set(&access, &write));
    ASSERT_EQ(LastWrite(), TicksOf(write));
    ASSERT_EQ(LastAccess(), TicksOf(access));

    FILETIME laterAccess = FileTimeOf({2006, 7, 8, 9, 10, 12});
    EXPECT_TRUE(Set(&laterAccess, NULL));
    EXPECT_EQ(LastWrite(), TicksOf(write));
    EXPECT_EQ(LastAccess(), TicksOf(laterAccess));

    EXPECT_TRUE(Set(NULL, NULL));
    EXPECT_EQ(LastWrite(), TicksOf(write));

    // 0 changes nothing; all bits set only stops the updates through this handle.
    FILETIME zero = {0, 0};
    FILETIME keep = {0xFFFFFFFFu, 0xFFFFFFFFu};
    for (const FILETIME *time : {&zero, &keep}) {
        EXPECT_TRUE(Set(NULL, time));
        EXPECT_EQ(LastWrite(), TicksOf(write));
    }
}

TEST_F(SetFileTimeTest, NeedsAnOpenHandle)
{
    FILETIME before = FileTimeOf({2003, 5, 1, 8, 0, 0});
    ASSERT_TRUE(Set(NULL, &before));
    HANDLE file = Open(GENERIC_WRITE);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(CloseHandle(file));

    FILETIME time = FileTimeOf({2004, 3, 7, 10, 15, 0});
    SetLastError(0);
    EXPECT_FALSE(SetFileTime(file, NULL, NULL, &time));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HANDLE);
    EXPECT_EQ(LastWrite(), TicksOf(before));
}

// Windows wants FILE_WRITE_ATTRIBUTES, which a handle opened for reading lacks; Wine 8
// does not check it and sets the time, so this case is the layer's alone.
#ifndef _WIN32
TEST_F(SetFileTimeTest, NeedsAHandleThatMayWrite)
{
    FILETIME before = FileTimeOf({2003, 5, 1, 8, 0, 0});
    ASSERT_TRUE(Set(NULL, &before));

    FILETIME time = FileTimeOf({2004, 3, 7, 10, 15, 0});
    HANDLE file = Open(GENERIC_READ);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    SetLastError(0);
    EXPECT_FALSE(SetFileTime(file, NULL, NULL, &time));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_EQ(LastWrite(), TicksOf(before));
}
#endif

}  // namespace
