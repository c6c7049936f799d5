// FTNFNS, ScanFileEntries and ScanDirNames on real folders. The names used here have
// the 8.3 form, so that no platform gives them an alias; names without it and the alias
// choice are in scan_linux_test.cpp.
#include "Ftn/ftn.h"
#include "Lm4/scan.h"
#include "testdir.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

class Scan : public ::testing::Test {
protected:
    TestFolder folder_{"scan"};
    CurrentDirectoryGuard cwd_;

    void SetUp() override
    {
        ASSERT_TRUE(folder_.Created());
        // The search reads SHOW_ALIAS from the INI file of the current directory.
        ASSERT_TRUE(folder_.Write("vornix.ini", "[OPTIONS]\r\nSHOW_ALIAS=0\r\n"));
        ASSERT_TRUE(SetCurrentDirectoryA(folder_.Path().c_str()));
        FtnfnsResetAliasOption();
    }

    std::vector<std::string> ScanFiles(const std::string &pattern, short maxCount)
    {
        std::string full = folder_.Path(pattern);
        std::vector<char> lines((size_t)std::max<short>(maxCount, 0) * SCAN_LINE_LENGTH + 1, '#');
        short count = -1;
        ScanFileEntries(full.c_str(), (short)full.size(), lines.data(), maxCount, &count);
        EXPECT_EQ('#', lines.back()) << "written beyond the array";
        std::vector<std::string> result;
        for (short i = 0; i < count; ++i) {
            result.emplace_back(lines.data() + (size_t)i * SCAN_LINE_LENGTH, SCAN_LINE_LENGTH);
        }
        return result;
    }

    // The date and time columns as the platform's conversions give them for the file.
    std::string DateAndTime(const std::string &relative)
    {
        WIN32_FILE_ATTRIBUTE_DATA data;
        FILETIME local;
        SYSTEMTIME time;
        if (!GetFileAttributesExA(folder_.Path(relative).c_str(), GetFileExInfoStandard, &data) ||
            !FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) ||
            !FileTimeToSystemTime(&local, &time)) {
            return "<no time>";
        }
        char text[32];
        snprintf(text, sizeof text, "%02u.%02u.%02u  %02u:%02u", time.wDay, time.wMonth,
                 time.wYear % 100, time.wHour, time.wMinute);
        return text;
    }
};

TEST_F(Scan, OneLinePerChartFile)
{
    ASSERT_TRUE(folder_.Write("Muster.mas", std::string(1234, 'm')));
    ASSERT_TRUE(folder_.Write("Zero.mas", ""));
    ASSERT_TRUE(folder_.Write("Kurz", "no extension"));
    ASSERT_TRUE(folder_.Write(".mas", "no base name"));
    ASSERT_TRUE(folder_.Write("readme.txt", "other"));
    ASSERT_TRUE(folder_.MakeDir("dir.mas"));
    std::vector<std::string> lines = ScanFiles("*.mas", 10);
    std::sort(lines.begin(), lines.end());
    std::vector<std::string> expected = {
        "MUSTER  .MAS     1234  " + DateAndTime("Muster.mas"),
        "ZERO    .MAS        0  " + DateAndTime("Zero.mas"),
    };
    EXPECT_EQ(expected, lines);
    lines = ScanFiles("Kurz", 10);
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ("KURZ    .          12  " + DateAndTime("Kurz"), lines[0]);
}

TEST_F(Scan, NothingFoundGivesNoLines)
{
    EXPECT_TRUE(ScanFiles("*.mas", 10).empty());
    EXPECT_TRUE(ScanFiles("nodir\\*.mas", 10).empty());
    ASSERT_TRUE(folder_.Write("a.mas", "x"));
    EXPECT_TRUE(ScanFiles("*.mas", 0).empty());
    EXPECT_TRUE(ScanFiles("*.mas", -3).empty());
}

// With room for 2000 lines and 2500 charts, the first 2000 in the platform's order.
TEST_F(Scan, TheArrayTakesTheFirstFilesInPlatformOrder)
{
    ASSERT_TRUE(folder_.MakeDir("many"));
    for (int i = 0; i < 2500; ++i) {
        char name[32];
        snprintf(name, sizeof name, "many\\C%04d.mas", i);
        ASSERT_TRUE(folder_.Write(name, ""));
    }
    std::vector<std::string> order;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(folder_.Path("many\\*.mas").c_str(), &data);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    do {
        order.push_back(std::string(data.cFileName, 5));
    } while (FindNextFileA(search, &data));
    FindClose(search);
    ASSERT_EQ(2500u, order.size());

    std::vector<std::string> lines = ScanFiles("many\\*.mas", 2000);
    ASSERT_EQ(2000u, lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        ASSERT_EQ(order[i] + "   .MAS        0", lines[i].substr(0, 21)) << "line " << i;
    }
}

TEST_F(Scan, DirectoryNames)
{
    ASSERT_TRUE(folder_.MakeDir("sys"));
    for (const char *name : {"Hilfen", "DOB", "a.b", "Sys", "Hidden"}) {
        ASSERT_TRUE(folder_.MakeDir(std::string("sys\\") + name));
    }
    ASSERT_TRUE(folder_.Write("sys\\file", "not a folder"));
    ASSERT_TRUE(SetFileAttributesA(folder_.Path("sys\\Sys").c_str(),
                                   FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(SetFileAttributesA(folder_.Path("sys\\Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN));
    std::string pattern = folder_.Path("sys\\*");
    char entries[20 * NAME_ENTRY_LENGTH + 1];
    memset(entries, '#', sizeof entries);
    short count = -1;
    ScanDirNames(pattern.c_str(), (short)pattern.size(), entries, 20, &count);
    std::vector<std::string> names;
    for (short i = 0; i < count; ++i) {
        names.emplace_back(entries + i * NAME_ENTRY_LENGTH, NAME_ENTRY_LENGTH);
    }
    std::sort(names.begin(), names.end());
    std::vector<std::string> expected = {" A        ", " DOB      ", " HIDDEN   ", " HILFEN   "};
    EXPECT_EQ(expected, names);
    EXPECT_EQ('#', entries[count * NAME_ENTRY_LENGTH]);

    memset(entries, '#', sizeof entries);
    ScanDirNames(pattern.c_str(), (short)pattern.size(), entries, 2, &count);
    EXPECT_EQ(2, count);
    EXPECT_EQ('#', entries[2 * NAME_ENTRY_LENGTH]);
}

class FileNameSearch : public Scan {
protected:
    short status_ = -1;
    char name_[64];
    short nameLength_ = 0;
    short attributes_ = 0;
    FoundEntry entry_;

    void Call(short mode, const std::string &pattern = std::string(), short mask = 0,
              short nameSize = 60)
    {
        memset(name_, '#', sizeof name_);
        memcpy(name_, pattern.data(), pattern.size());
        nameLength_ = (short)pattern.size();
        attributes_ = mask;
        FTNFNS(&status_, mode, name_, nameSize, &nameLength_, &attributes_, &entry_);
    }

    std::string Name() const { return std::string(name_, (size_t)nameLength_); }
};

TEST_F(FileNameSearch, StatusValues)
{
    ASSERT_TRUE(folder_.Write("only.mas", "12345"));
    Call(FTNFNS_FIRST, folder_.Path("none.*"));
    EXPECT_EQ(2, status_);
    Call(FTNFNS_FIRST, folder_.Path("nodir\\*.mas"));
    EXPECT_EQ(2, status_);

    Call(FTNFNS_FIRST, folder_.Path("*.mas"));
    EXPECT_EQ(0, status_);
    EXPECT_EQ("only.mas", Name());
    EXPECT_EQ('\0', name_[nameLength_]);
    EXPECT_EQ(5, entry_.size);
    EXPECT_EQ(0u, entry_.sizeHigh);
    EXPECT_EQ(0, attributes_ & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_GE(entry_.year, 2000);
    Call(FTNFNS_NEXT);
    EXPECT_EQ(1, status_);
    Call(FTNFNS_NEXT);
    EXPECT_EQ(4, status_) << "the search was closed";

    Call(FTNFNS_FIRST, folder_.Path("*.mas"));
    Call(FTNFNS_CLOSE);
    EXPECT_EQ(0, status_);
    Call(FTNFNS_NEXT);
    EXPECT_EQ(4, status_);
    Call(7);
    EXPECT_EQ(3, status_);
}

TEST_F(FileNameSearch, TheMaskSelectsEntries)
{
    ASSERT_TRUE(folder_.MakeDir("sub"));
    ASSERT_TRUE(folder_.Write("a.mas", "x"));
    ASSERT_TRUE(folder_.Write("b.mas", "x"));
    std::vector<std::string> found;
    Call(FTNFNS_FIRST, folder_.Path("*"), FILE_ATTRIBUTE_DIRECTORY);
    while (status_ == 0) {
        EXPECT_NE(0, attributes_ & FILE_ATTRIBUTE_DIRECTORY) << Name();
        found.push_back(Name());
        Call(FTNFNS_NEXT);
    }
    EXPECT_EQ(1, status_);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(std::vector<std::string>({".", "..", "sub"}), found);

    // A mask that no entry meets ends the search at once.
    Call(FTNFNS_FIRST, folder_.Path("*.mas"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(1, status_);
    Call(FTNFNS_NEXT);
    EXPECT_EQ(4, status_);
}

TEST_F(FileNameSearch, TheNameStaysInsideTheCallersBuffer)
{
    ASSERT_TRUE(folder_.Write("abcdefgh.mas", "x"));
    // The pattern, relative to the current directory, fits the five characters too.
    Call(FTNFNS_FIRST, "*.mas", 0, 5);
    EXPECT_EQ(0, status_);
    EXPECT_EQ(5, nameLength_);
    EXPECT_EQ("abcde", Name());
    EXPECT_EQ('#', name_[5]);
    Call(FTNFNS_CLOSE);
}

}  // namespace
