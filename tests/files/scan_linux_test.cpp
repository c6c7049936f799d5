// Scan lines byte for byte (names, times under a set time zone, huge sizes), the choice
// between long name and 8.3 alias by SHOW_ALIAS, and the second search after "no more
// files" from the first.
#include "Lm4/scan.h"
#include "linux_drives.h"

#include <string.h>
#include <time.h>

namespace {

class ScanLines : public LinuxDrives {
protected:
    void SetUp() override
    {
        LinuxDrives::SetUp();
        WriteLinux("c/w/vornix.ini", "[OPTIONS]\r\nSHOW_ALIAS=0\r\n");
        ASSERT_TRUE(SetCurrentDirectoryA("C:\\w"));
    }

    std::vector<std::string> Scan(const char *pattern, short maxCount = 20)
    {
        std::vector<char> lines((size_t)maxCount * SCAN_LINE_LENGTH + 1, '#');
        short count = -1;
        ScanFileEntries(pattern, (short)strlen(pattern), lines.data(), maxCount, &count);
        EXPECT_EQ('#', lines.back());
        std::vector<std::string> result;
        for (short i = 0; i < count; ++i) {
            result.emplace_back(lines.data() + (size_t)i * SCAN_LINE_LENGTH, SCAN_LINE_LENGTH);
        }
        std::sort(result.begin(), result.end());
        return result;
    }

    static time_t Utc(int year, int month, int day, int hour, int minute)
    {
        struct tm parts = {};
        parts.tm_year = year - 1900;
        parts.tm_mon = month - 1;
        parts.tm_mday = day;
        parts.tm_hour = hour;
        parts.tm_min = minute;
        return timegm(&parts);
    }
};

TEST_F(ScanLines, NamesSizesAndTimes)
{
    TimeZone zone("XXX-1");  // one hour east of UTC, no daylight saving
    struct File {
        const char *name;
        size_t size;
        time_t time;
    } files[] = {
        {"Muster.mas", 1234, Utc(2004, 3, 7, 8, 5)},
        {"Ab.c.mas", 7, Utc(1999, 12, 31, 23, 59)},
        {"Messtabelle.mas", 0, Utc(2010, 6, 15, 11, 0)},
        {"Müller.mas", 12, Utc(2021, 1, 2, 3, 4)},
        {".mas", 5, Utc(2004, 3, 7, 8, 5)},
        {"Жук.mas", 5, Utc(2004, 3, 7, 8, 5)},
    };
    for (const File &file : files) {
        WriteLinux(std::string("c/w/") + file.name, std::string(file.size, 'x'));
        SetWriteTime(std::string("c/w/") + file.name, file.time);
    }
    std::vector<std::string> expected = {
        "AB      .C.M*       7  01.01.00  00:59",
        "MESSTABE.MAS*       0  15.06.10  12:00",
        "MUSTER  .MAS     1234  07.03.04  09:05",
        "M\xDCLLER  .MAS       12  02.01.21  04:04",
    };
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, Scan("C:\\w\\*.mas"));
}

// Sizes that the seven columns cannot hold show as the largest that they can, never as
// a small or empty file, whatever their low 32 bits.
TEST_F(ScanLines, HugeSizes)
{
    WriteLinux("c/w/big.mas", "x");
    struct Case {
        uint64_t size;
        const char *shown;
    } cases[] = {
        {0, "      0"},
        {1234, "   1234"},
        {9999999, "9999999"},
        {10000000, "9999999"},
        {0x7FFFFFFFull, "9999999"},
        {0x80000000ull, "9999999"},
        {0x100000000ull, "9999999"},
        {0x100000005ull, "9999999"},
        {0xFFFFFFFFFFFFFFFFull, "9999999"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.size);
        ASSERT_TRUE(Lin32SetReportedSize("C:\\w\\big.mas", c.size));
        std::vector<std::string> lines = Scan("C:\\w\\big.mas");
        ASSERT_EQ(1u, lines.size());
        EXPECT_EQ(std::string("BIG     .MAS  ") + c.shown + "  ", lines[0].substr(0, 23));
    }
}

TEST_F(ScanLines, DirectoryNamesOfASystemPattern)
{
    ASSERT_TRUE(CreateDirectoryA("C:\\vornix", NULL));
    for (const char *name : {"Hilfen", "DOB", "a.b", "Sys", "LongDirName"}) {
        ASSERT_TRUE(CreateDirectoryA((std::string("C:\\vornix\\") + name).c_str(), NULL));
    }
    WriteLinux("c/vornix/file", "not a folder");
    ASSERT_TRUE(SetFileAttributesA("C:\\vornix\\Sys", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    char entries[10 * NAME_ENTRY_LENGTH];
    short count = -1;
    ScanDirNames("C:\\vornix\\*.", 12, entries, 10, &count);
    std::vector<std::string> names;
    for (short i = 0; i < count; ++i) {
        names.emplace_back(entries + i * NAME_ENTRY_LENGTH, NAME_ENTRY_LENGTH);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::vector<std::string>({" DOB      ", " HILFEN   ", " LONGDIRN "}), names);
}

class NameChoice : public ScanLines {
protected:
    struct Named {
        const char *name;
        const char *alias;  // "" for none
    };

    void MakeFiles(std::initializer_list<Named> files)
    {
        for (const Named &file : files) {
            WriteLinux(std::string("c/w/n/") + file.name, "x");
            if (file.alias[0] != '\0') {
                ASSERT_TRUE(Lin32SetShortName((std::string("C:\\w\\n\\") + file.name).c_str(),
                                              file.alias));
            }
        }
    }

    std::string Found(const std::string &name, short *status = NULL)
    {
        char buffer[MAX_PATH];
        std::string pattern = "C:\\w\\n\\" + name;
        memcpy(buffer, pattern.c_str(), pattern.size());
        short length = (short)pattern.size(), attributes = 0, result = -1;
        FoundEntry entry;
        FTNFNS(&result, FTNFNS_FIRST, buffer, sizeof buffer, &length, &attributes, &entry);
        short ignored;
        FTNFNS(&ignored, FTNFNS_CLOSE, buffer, sizeof buffer, &length, &attributes, &entry);
        if (status != NULL) {
            *status = result;
        }
        return result == 0 ? std::string(buffer, (size_t)length) : "<status " + std::to_string(result) + ">";
    }
};

TEST_F(NameChoice, LongNameOrAlias)
{
    MakeFiles({{"Messtabelle.mas", "MESSTA~1.MAS"},
               {"Messtabelle2.mas", ""},
               {"Kurz.mas", "KURZ~1.MAS"},
               {"ab cd.mas", "ABCD~1.MAS"},
               {"Abcdefgh.mas", "ABCDEF~1.MAS"},
               {"Abcd", "ABCD~1"},
               {"Abcdefgh", "ABCDEF~1"},
               {"Abc", "ABC~1"},
               {"a b", "AB~1"}});
    struct Case {
        const char *name;
        const char *withoutOption;  // SHOW_ALIAS false
        const char *withOption;     // SHOW_ALIAS true
    } cases[] = {
        {"Messtabelle.mas", "MESSTA~1.MAS", "MESSTA~1.MAS"},
        {"Messtabelle2.mas", "Messtabelle2.mas", "Messtabelle2.mas"},
        {"Kurz.mas", "Kurz.mas", "KURZ~1.MAS"},
        {"ab cd.mas", "ABCD~1.MAS", "ABCD~1.MAS"},
        {"Abcdefgh.mas", "ABCDEF~1.MAS", "ABCDEF~1.MAS"},  // a base of 8 counts as too long
        {"Abcd", "ABCD~1", "ABCD~1"},                       // no "." and 4 or more characters
        {"Abcdefgh", "ABCDEF~1", "ABCDEF~1"},
        {"Abc", "Abc", "ABC~1"},
        {"a b", "AB~1", "AB~1"},
    };
    for (const char *option : {"0", "1"}) {
        WriteLinux("c/w/vornix.ini", std::string("[OPTIONS]\r\nSHOW_ALIAS=") + option + "\r\n");
        FtnfnsResetAliasOption();
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(c.name) + " SHOW_ALIAS=" + option);
            EXPECT_EQ(option[0] == '1' ? c.withOption : c.withoutOption, Found(c.name));
        }
    }
}

TEST_F(NameChoice, TheOptionIsReadOncePerProcess)
{
    MakeFiles({{"Kurz.mas", "KURZ~1.MAS"}});
    struct Case {
        const char *ini;  // NULL: no INI file
        bool reset;
        const char *found;
    } cases[] = {
        {"SHOW_ALIAS=1", true, "KURZ~1.MAS"},
        {"SHOW_ALIAS=0", false, "KURZ~1.MAS"},  // not read again
        {"SHOW_ALIAS=0", true, "Kurz.mas"},
        {"SHOW_ALIAS=5", true, "KURZ~1.MAS"},
        {"SHOW_ALIAS=yes", true, "Kurz.mas"},   // does not read: false
        {NULL, true, "Kurz.mas"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.ini != NULL ? c.ini : "no INI file");
        std::remove(Linux("c/w/vornix.ini").c_str());
        if (c.ini != NULL) {
            WriteLinux("c/w/vornix.ini", std::string("[OPTIONS]\r\n") + c.ini + "\r\n");
        }
        if (c.reset) {
            FtnfnsResetAliasOption();
        }
        EXPECT_EQ(c.found, Found("Kurz.mas"));
    }
}

// "No more files" from the first search starts a second one (with the short form of the
// pattern where there is one); any other failure does not.
TEST_F(NameChoice, ASecondSearchAfterNoMoreFiles)
{
    MakeFiles({{"Kurz.mas", ""}});
    struct Case {
        DWORD error;
        int times;
        short status;
        int searches;
    } cases[] = {
        {ERROR_NO_MORE_FILES, 1, 0, 2},
        {ERROR_NO_MORE_FILES, 2, 1, 2},
        {ERROR_ACCESS_DENIED, 1, 2, 1},
        {ERROR_FILE_NOT_FOUND, 1, 2, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.error);
        Lin32FailOperation(LIN32_OP_FIND, 1, c.error, c.times);
        short status = -1;
        std::string found = Found("*.mas", &status);
        EXPECT_EQ(c.status, status);
        EXPECT_EQ(c.searches, Lin32OperationCount(LIN32_OP_FIND));
        if (c.status == 0) {
            EXPECT_EQ("Kurz.mas", found);
        }
    }
}

// A failing find-next ends the search (status 3, or 4 for an invalid handle), also inside
// the select loop; a scan keeps the entries found before it.
TEST_F(NameChoice, FailingFindNext)
{
    MakeFiles({{"a.mas", ""}, {"b.mas", ""}, {"c.mas", ""}});
    char buffer[MAX_PATH];
    short length, attributes, status;
    FoundEntry entry;
    auto first = [&](short mask) {
        std::string pattern = "C:\\w\\n\\*.mas";
        memcpy(buffer, pattern.c_str(), pattern.size());
        length = (short)pattern.size();
        attributes = mask;
        FTNFNS(&status, FTNFNS_FIRST, buffer, sizeof buffer, &length, &attributes, &entry);
    };
    struct Case {
        DWORD error;
        short status;
    } cases[] = {{ERROR_READ_FAULT, 3}, {ERROR_INVALID_HANDLE, 4}, {ERROR_NO_MORE_FILES, 1}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.error);
        first(0);
        ASSERT_EQ(0, status);
        Lin32FailOperation(LIN32_OP_FIND_NEXT, 1, c.error, 1);
        FTNFNS(&status, FTNFNS_NEXT, buffer, sizeof buffer, &length, &attributes, &entry);
        EXPECT_EQ(c.status, status);
        FTNFNS(&status, FTNFNS_NEXT, buffer, sizeof buffer, &length, &attributes, &entry);
        EXPECT_EQ(4, status) << "the search is closed";

        // no entry is read-only: the select loop asks for the next until it fails
        Lin32FailOperation(LIN32_OP_FIND_NEXT, 2, c.error, 1);
        first(FILE_ATTRIBUTE_READONLY);
        EXPECT_EQ(c.status == 4 ? 3 : c.status, status);
        Lin32ClearFailures();
    }
    first(FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(1, status);

    Lin32FailOperation(LIN32_OP_FIND_NEXT, 2, ERROR_READ_FAULT, 1);
    EXPECT_EQ(2u, Scan("C:\\w\\n\\*.mas").size());
}

}  // namespace
