// The platform's directory search as the program relies on it: wildcards, "." and ".."
// first, and the error codes that FTNFNS tells apart. Where Wine 8 departs from Windows
// ("*.", "?" matching nothing, ERROR_DIRECTORY) the Linux layer follows Windows; those
// cases are in find_linux_test.cpp.
#include "testdir.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace {

class DirectorySearch : public ::testing::Test {
protected:
    TestFolder folder_{"find"};

    void SetUp() override
    {
        ASSERT_TRUE(folder_.Created());
        for (const char *name : {"a", "ab", "abc", "a.b", "ab.c", "abc.txt", "abc.tx", "b.txt"}) {
            ASSERT_TRUE(folder_.Write(name, name));
        }
    }

    // The names a search for pattern yields, in order; error the last error of a search
    // that found nothing.
    std::vector<std::string> Search(const std::string &pattern, DWORD *error = NULL)
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA data;
        HANDLE search = FindFirstFileA(folder_.Path(pattern).c_str(), &data);
        if (search == INVALID_HANDLE_VALUE) {
            if (error != NULL) {
                *error = GetLastError();
            }
            return names;
        }
        do {
            names.push_back(data.cFileName);
        } while (FindNextFileA(search, &data));
        EXPECT_EQ((DWORD)ERROR_NO_MORE_FILES, GetLastError());
        EXPECT_TRUE(FindClose(search));
        return names;
    }
};

TEST_F(DirectorySearch, Wildcards)
{
    struct Case {
        const char *pattern;
        std::set<std::string> names;
    } cases[] = {
        {"*", {".", "..", "a", "ab", "abc", "a.b", "ab.c", "abc.txt", "abc.tx", "b.txt"}},
        {"*.*", {".", "..", "a", "ab", "abc", "a.b", "ab.c", "abc.txt", "abc.tx", "b.txt"}},
        {"*.txt", {"abc.txt", "b.txt"}},
        {"*.TXT", {"abc.txt", "b.txt"}},
        {"abc.t?", {"abc.tx"}},
        {"?.txt", {"b.txt"}},
        {"*b*", {"ab", "abc", "a.b", "ab.c", "abc.txt", "abc.tx", "b.txt"}},
        {"ab.*", {"ab", "ab.c"}},
        {"ABC", {"abc"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pattern);
        std::vector<std::string> found = Search(c.pattern);
        EXPECT_EQ(c.names, std::set<std::string>(found.begin(), found.end()));
        EXPECT_EQ(c.names.size(), found.size()) << "a name found twice";
    }
}

TEST_F(DirectorySearch, DotEntriesComeFirst)
{
    std::vector<std::string> found = Search("*");
    ASSERT_GE(found.size(), 2u);
    EXPECT_EQ(".", found[0]);
    EXPECT_EQ("..", found[1]);
}

TEST_F(DirectorySearch, ErrorCodes)
{
    struct Case {
        const char *pattern;
        DWORD error;
    } cases[] = {
        {"none*", ERROR_FILE_NOT_FOUND},
        {"nodir\\*", ERROR_PATH_NOT_FOUND},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pattern);
        DWORD error = 0;
        EXPECT_TRUE(Search(c.pattern, &error).empty());
        EXPECT_EQ(c.error, error);
    }
    WIN32_FIND_DATAA data;
    EXPECT_FALSE(FindNextFileA(INVALID_HANDLE_VALUE, &data));
    EXPECT_EQ((DWORD)ERROR_INVALID_HANDLE, GetLastError());
    EXPECT_FALSE(FindClose(INVALID_HANDLE_VALUE));
    EXPECT_EQ((DWORD)ERROR_INVALID_HANDLE, GetLastError());
}

TEST_F(DirectorySearch, EntriesCarryAttributesAndSize)
{
    ASSERT_TRUE(folder_.MakeDir("sub"));
    ASSERT_TRUE(folder_.Write("five.dat", "12345"));
    ASSERT_TRUE(SetFileAttributesA(folder_.Path("five.dat").c_str(), FILE_ATTRIBUTE_READONLY));
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(folder_.Path("five.dat").c_str(), &data);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    EXPECT_STREQ("five.dat", data.cFileName);
    EXPECT_EQ(5u, data.nFileSizeLow);
    EXPECT_EQ(0u, data.nFileSizeHigh);
    EXPECT_EQ((DWORD)FILE_ATTRIBUTE_READONLY, data.dwFileAttributes & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(0u, data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    FindClose(search);
    search = FindFirstFileA(folder_.Path("SUB").c_str(), &data);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    EXPECT_STREQ("sub", data.cFileName) << "the name as stored, not as asked";
    EXPECT_EQ((DWORD)FILE_ATTRIBUTE_DIRECTORY, data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    FindClose(search);
}

}  // namespace
