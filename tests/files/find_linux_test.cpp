// The layer's directory search where it follows Windows beyond what Wine 8 does, and
// what only the layer's hooks can set up: 8.3 aliases, huge sizes.
#include "linux_drives.h"

#include <set>

namespace {

class Find : public LinuxDrives {
protected:
    void SetUp() override
    {
        LinuxDrives::SetUp();
        for (const char *name : {"a", "ab", "abc", "a.b", "ab.c", "abc.txt", "abc.tx", "b.txt"}) {
            WriteLinux(std::string("c/w/") + name, name);
        }
    }

    std::vector<WIN32_FIND_DATAA> Search(const char *pattern, DWORD *error = NULL)
    {
        std::vector<WIN32_FIND_DATAA> found;
        WIN32_FIND_DATAA data;
        HANDLE search = FindFirstFileA(pattern, &data);
        if (search == INVALID_HANDLE_VALUE) {
            if (error != NULL) {
                *error = GetLastError();
            }
            return found;
        }
        do {
            found.push_back(data);
        } while (FindNextFileA(search, &data));
        EXPECT_EQ((DWORD)ERROR_NO_MORE_FILES, GetLastError());
        FindClose(search);
        return found;
    }

    std::set<std::string> Names(const char *pattern)
    {
        std::set<std::string> names;
        for (const WIN32_FIND_DATAA &data : Search(pattern)) {
            names.insert(data.cFileName);
        }
        return names;
    }
};

TEST_F(Find, WildcardsAsOnWindows)
{
    struct Case {
        const char *pattern;
        std::set<std::string> names;
    } cases[] = {
        {"*", {".", "..", "a", "ab", "abc", "a.b", "ab.c", "abc.txt", "abc.tx", "b.txt"}},
        {"*.*", {".", "..", "a", "ab", "abc", "a.b", "ab.c", "abc.txt", "abc.tx", "b.txt"}},
        {"*.", {".", "..", "a", "ab", "abc"}},
        {"a*.", {"a", "ab", "abc"}},
        {"*.txt", {"abc.txt", "b.txt"}},
        {"*.tX?", {"abc.txt", "abc.tx", "b.txt"}},
        {"a?", {"a", "ab"}},
        {"a??", {"a", "ab", "abc"}},
        {"a?.b", {"a.b"}},
        {"abc.t?", {"abc.tx"}},
        {"abc.tx?", {"abc.tx", "abc.txt"}},
        {"*b*", {"ab", "abc", "a.b", "ab.c", "abc.txt", "abc.tx", "b.txt"}},
        {"ab.*", {"ab", "ab.c"}},
        {"ABC", {"abc"}},
        {"abc.", {"abc"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(c.names, Names((std::string("C:\\w\\") + c.pattern).c_str()));
    }
}

TEST_F(Find, ErrorsAndTheDriveRoot)
{
    ASSERT_TRUE(Map('A', "nodisk", DRIVE_REMOVABLE, false));
    struct Case {
        const char *pattern;
        DWORD error;
    } cases[] = {
        {"C:\\w\\none*", ERROR_FILE_NOT_FOUND},  {"C:\\none\\*", ERROR_PATH_NOT_FOUND},
        {"C:\\w\\a\\*", ERROR_DIRECTORY},         {"C:\\w\\", ERROR_FILE_NOT_FOUND},
        {"A:\\*", ERROR_NOT_READY},               {"Q:\\*", ERROR_PATH_NOT_FOUND},
        {"C:\\w\\a|b", ERROR_INVALID_NAME},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pattern);
        DWORD error = 0;
        EXPECT_TRUE(Search(c.pattern, &error).empty());
        EXPECT_EQ(c.error, error);
    }
    std::set<std::string> root = Names("C:\\*");
    EXPECT_EQ(std::set<std::string>({"w"}), root) << "no . or .. at a drive's root";
}

TEST_F(Find, Attributes)
{
    WriteLinux("c/w/.hidden", "dot name");
    ASSERT_TRUE(CreateDirectoryA("C:\\w\\sub", NULL));
    ASSERT_TRUE(SetFileAttributesA("C:\\w\\a", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(SetFileAttributesA("C:\\w\\ab", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    struct Case {
        const char *name;
        DWORD attributes;
    } cases[] = {
        {"a", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY},
        {"ab", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
        {"abc", FILE_ATTRIBUTE_ARCHIVE},
        {".hidden", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN},
        {"sub", FILE_ATTRIBUTE_DIRECTORY},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = std::string("C:\\w\\") + c.name;
        std::vector<WIN32_FIND_DATAA> found = Search(path.c_str());
        ASSERT_EQ(1u, found.size());
        EXPECT_EQ(c.attributes, found[0].dwFileAttributes);
        EXPECT_EQ(c.attributes, GetFileAttributesA(path.c_str()));
    }
    ASSERT_TRUE(SetFileAttributesA("C:\\w\\ab", FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ((DWORD)FILE_ATTRIBUTE_ARCHIVE, GetFileAttributesA("C:\\w\\ab"));
}

TEST_F(Find, SizesBeyondThirtyTwoBits)
{
    ASSERT_TRUE(Lin32SetReportedSize("C:\\w\\abc", 0x123456789ull));
    std::vector<WIN32_FIND_DATAA> found = Search("C:\\w\\abc");
    ASSERT_EQ(1u, found.size());
    EXPECT_EQ(0x1u, found[0].nFileSizeHigh);
    EXPECT_EQ(0x23456789u, found[0].nFileSizeLow);
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA("C:\\w\\abc", GetFileExInfoStandard, &data));
    EXPECT_EQ(0x1u, data.nFileSizeHigh);
    EXPECT_EQ(0x23456789u, data.nFileSizeLow);
    found = Search("C:\\w\\ab");
    ASSERT_EQ(1u, found.size());
    EXPECT_EQ(2u, found[0].nFileSizeLow) << "the real size of the others";
}

// Linux has no 8.3 aliases; a test gives one, and then the search reports it and a
// pattern matches it too, as on Windows.
TEST_F(Find, AliasesGivenByTests)
{
    WriteLinux("c/Messtabellen/Messtabelle.mas", "chart");
    std::vector<WIN32_FIND_DATAA> found = Search("C:\\Messtabellen\\*.mas");
    ASSERT_EQ(1u, found.size());
    EXPECT_STREQ("", found[0].cAlternateFileName);

    ASSERT_TRUE(Lin32SetShortName("C:\\Messtabellen", "MESSTA~1"));
    ASSERT_TRUE(Lin32SetShortName("C:\\Messtabellen\\Messtabelle.mas", "MESSTA~1.MAS"));
    found = Search("C:\\Messtabellen\\*.mas");
    ASSERT_EQ(1u, found.size());
    EXPECT_STREQ("Messtabelle.mas", found[0].cFileName);
    EXPECT_STREQ("MESSTA~1.MAS", found[0].cAlternateFileName);
    EXPECT_EQ(1u, Search("C:\\Messtabellen\\*~1.*").size()) << "the pattern matches the alias";
    EXPECT_EQ(1u, Search("C:\\MESSTA~1\\MESSTA~1.MAS").size()) << "aliases name entries";
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("C:\\messta~1\\Messta~1.mas"));

    char shortPath[MAX_PATH];
    DWORD length = GetShortPathNameA("C:\\messtabellen\\Messtabelle.mas", shortPath, MAX_PATH);
    EXPECT_EQ(std::string("C:\\MESSTA~1\\MESSTA~1.MAS"), std::string(shortPath, length));
    EXPECT_EQ(length + 1, GetShortPathNameA("C:\\messtabellen\\Messtabelle.mas", shortPath, 5));
    EXPECT_EQ(0u, GetShortPathNameA("C:\\Messtabellen\\none.mas", shortPath, MAX_PATH));
    EXPECT_EQ((DWORD)ERROR_FILE_NOT_FOUND, GetLastError());
    EXPECT_EQ(0u, GetShortPathNameA("C:\\Messtabellen\\*.mas", shortPath, MAX_PATH));
    EXPECT_EQ((DWORD)ERROR_INVALID_NAME, GetLastError());

    EXPECT_FALSE(Lin32SetShortName("C:\\Messtabellen\\none.mas", "NONE.MAS"));
    EXPECT_FALSE(Lin32SetShortName("C:\\Messtabellen", "TOOLONGALIAS1"));
    ASSERT_TRUE(Lin32SetShortName("C:\\Messtabellen\\Messtabelle.mas", ""));
    found = Search("C:\\Messtabellen\\*.mas");
    ASSERT_EQ(1u, found.size());
    EXPECT_STREQ("", found[0].cAlternateFileName);
}

}  // namespace
