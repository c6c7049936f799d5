// FTNFCO and FTNFDE on real files: statuses, what happens to the files, and names at
// and beyond the 259-character limit.
#include "Ftn/ftn.h"
#include "support/boxes.h"
#include "testdir.h"

#include <gtest/gtest.h>
#include <string>

namespace {

class FilePrimitives : public ::testing::Test {
protected:
    TestFolder folder_{"ftnfco"};

    void SetUp() override { ASSERT_TRUE(folder_.Created()); }

    short Copy(const std::string &from, const std::string &to)
    {
        short status = -1;
        FTNFCO(&status, from.c_str(), (int)from.size(), to.c_str(), (int)to.size());
        return status;
    }

    short Delete(const std::string &path, int length)
    {
        short status = -1;
        FTNFDE(&status, path.c_str(), length);
        return status;
    }

    // A file whose full path is exactly length characters long.
    std::string PathOfLength(size_t length)
    {
        std::string path = folder_.Path("");
        path += '\\';
        if (path.size() >= length) {
            return std::string();
        }
        path += std::string(length - path.size(), 'x');
        return path;
    }

    static bool SameWriteTime(const std::string &a, const std::string &b)
    {
        WIN32_FILE_ATTRIBUTE_DATA first, second;
        if (!GetFileAttributesExA(a.c_str(), GetFileExInfoStandard, &first) ||
            !GetFileAttributesExA(b.c_str(), GetFileExInfoStandard, &second)) {
            return false;
        }
        return first.ftLastWriteTime.dwLowDateTime == second.ftLastWriteTime.dwLowDateTime &&
               first.ftLastWriteTime.dwHighDateTime == second.ftLastWriteTime.dwHighDateTime;
    }
};

TEST_F(FilePrimitives, CopyCreatesAndReplacesTheDestination)
{
    ASSERT_TRUE(folder_.MakeDir("to"));
    ASSERT_TRUE(folder_.Write("Muster.mas", "new chart"));
    EXPECT_EQ(0, Copy(folder_.Path("Muster.mas"), folder_.Path("to\\Muster.mas")));
    EXPECT_EQ("new chart", folder_.Read("to\\Muster.mas"));
    EXPECT_TRUE(SameWriteTime(folder_.Path("Muster.mas"), folder_.Path("to\\Muster.mas")));

    ASSERT_TRUE(folder_.Write("to\\Other.mas", "an older and longer chart"));
    EXPECT_EQ(0, Copy(folder_.Path("Muster.mas"), folder_.Path("to\\Other.mas")));
    EXPECT_EQ("new chart", folder_.Read("to\\Other.mas"));
    EXPECT_EQ("new chart", folder_.Read("Muster.mas"));
}

TEST_F(FilePrimitives, CopyFailuresGiveStatusThree)
{
    ASSERT_TRUE(folder_.Write("a.mas", "chart"));
    ASSERT_TRUE(folder_.MakeDir("dir.mas"));
    struct Case {
        const char *what;
        std::string from;
        std::string to;
    } cases[] = {
        {"missing source", folder_.Path("none.mas"), folder_.Path("b.mas")},
        {"missing destination folder", folder_.Path("a.mas"), folder_.Path("nodir\\a.mas")},
        {"folder as destination", folder_.Path("a.mas"), folder_.Path("dir.mas")},
        {"folder as source", folder_.Path("dir.mas"), folder_.Path("c.mas")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(3, Copy(c.from, c.to));
    }
    EXPECT_EQ("chart", folder_.Read("a.mas"));
    EXPECT_EQ((std::vector<std::string>{"a.mas", "dir.mas"}), folder_.Names());
    EXPECT_EQ(std::vector<std::string>{}, folder_.Names("dir.mas"));
}

// A destination that another program holds open without sharing cannot be replaced;
// once it is closed, the copy (a Retry) succeeds.
TEST_F(FilePrimitives, CopyOntoAFileHeldOpenFailsUntilItIsClosed)
{
    ASSERT_TRUE(folder_.Write("a.mas", "new"));
    ASSERT_TRUE(folder_.Write("b.mas", "old"));
    HANDLE held = CreateFileA(folder_.Path("b.mas").c_str(), GENERIC_READ, 0, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(3, Copy(folder_.Path("a.mas"), folder_.Path("b.mas")));
    CloseHandle(held);
    EXPECT_EQ("old", folder_.Read("b.mas"));
    EXPECT_EQ((std::vector<std::string>{"a.mas", "b.mas"}), folder_.Names())
        << "the temporary copy is removed";
    EXPECT_EQ(0, Copy(folder_.Path("a.mas"), folder_.Path("b.mas")));
    EXPECT_EQ("new", folder_.Read("b.mas"));
}

// The copy goes to a temporary file beside the destination and takes the chart's place
// when complete: afterwards the folder holds the chart and nothing else, the chart keeps
// its own spelling, and carries the source's time and read-only attribute.
TEST_F(FilePrimitives, CopyLeavesOnlyTheChartWithTheSourcesTimeAndAttributes)
{
    ASSERT_TRUE(folder_.MakeDir("to"));
    ASSERT_TRUE(folder_.Write("Muster.mas", "new chart"));
    ASSERT_TRUE(folder_.Write("to\\Muster.mas", "old chart, longer than the new"));
    ASSERT_TRUE(SetFileAttributesA(folder_.Path("Muster.mas").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(0, Copy(folder_.Path("Muster.mas"), folder_.Path("to\\MUSTER.MAS")));
    EXPECT_EQ(std::vector<std::string>{"Muster.mas"}, folder_.Names("to"));
    EXPECT_EQ("new chart", folder_.Read("to\\Muster.mas"));
    EXPECT_TRUE(SameWriteTime(folder_.Path("Muster.mas"), folder_.Path("to\\Muster.mas")));
    DWORD attributes = GetFileAttributesA(folder_.Path("to\\Muster.mas").c_str());
    EXPECT_NE(0u, attributes & FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA(folder_.Path("Muster.mas").c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesA(folder_.Path("to\\Muster.mas").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A read-only chart is refused by the copy itself, with nothing written, wherever the
// program runs: Wine run as root would write over it, and its rename would replace it.
// Once the attribute is gone, the copy (a Retry) goes through.
TEST_F(FilePrimitives, CopyOntoAReadOnlyChartIsRefusedUntilTheAttributeGoes)
{
    ASSERT_TRUE(folder_.Write("a.mas", "new"));
    ASSERT_TRUE(folder_.Write("b.mas", "old"));
    ASSERT_TRUE(SetFileAttributesA(folder_.Path("b.mas").c_str(), FILE_ATTRIBUTE_READONLY));
    for (int attempt = 1; attempt <= 2; ++attempt) {
        SCOPED_TRACE(attempt);
        EXPECT_EQ(3, Copy(folder_.Path("a.mas"), folder_.Path("b.mas")));
        EXPECT_EQ("old", folder_.Read("b.mas"));
        EXPECT_EQ((std::vector<std::string>{"a.mas", "b.mas"}), folder_.Names());
    }
    ASSERT_TRUE(SetFileAttributesA(folder_.Path("b.mas").c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(0, Copy(folder_.Path("a.mas"), folder_.Path("b.mas")));
    EXPECT_EQ("new", folder_.Read("b.mas"));
    EXPECT_EQ((std::vector<std::string>{"a.mas", "b.mas"}), folder_.Names());
}

TEST_F(FilePrimitives, CopyOfAFileOntoItselfFailsAndKeepsIt)
{
    ASSERT_TRUE(folder_.Write("a.mas", "only copy"));
    EXPECT_EQ(3, Copy(folder_.Path("a.mas"), folder_.Path("A.MAS")));
    EXPECT_EQ("only copy", folder_.Read("a.mas"));
    EXPECT_EQ(std::vector<std::string>{"a.mas"}, folder_.Names());
}

TEST_F(FilePrimitives, NonPositiveCopyLengthShowsTheErrorBox)
{
    ASSERT_TRUE(folder_.Write("a.mas", "chart"));
    std::string from = folder_.Path("a.mas");
    std::string to = folder_.Path("b.mas");
    struct Case {
        int fromLength;
        int toLength;
    } cases[] = {{0, (int)to.size()}, {(int)from.size(), -1}, {0x10000, (int)to.size()}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.fromLength);
        BoxScript boxes({IDOK});
        short status = -1;
        FTNFCO(&status, from.c_str(), c.fromLength, to.c_str(), c.toLength);
        EXPECT_EQ(3, status);
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_NE(std::string::npos, boxes.Shown()[0].text.find("ftnfco"));
        EXPECT_FALSE(folder_.Exists("b.mas"));
    }
}

// Only the low 16 bits of a length count.
TEST_F(FilePrimitives, LengthsAreReadAsSixteenBits)
{
    ASSERT_TRUE(folder_.Write("a.mas", "chart"));
    std::string from = folder_.Path("a.mas");
    std::string to = folder_.Path("b.mas");
    short status = -1;
    FTNFCO(&status, from.c_str(), 0x20000 + (int)from.size(), to.c_str(),
           0x10000 + (int)to.size());
    EXPECT_EQ(0, status);
    EXPECT_EQ(0, Delete(to, 0x10000 + (int)to.size()));
    EXPECT_FALSE(folder_.Exists("b.mas"));
}

TEST_F(FilePrimitives, DeleteRemovesTheFileAndFailsOtherwise)
{
    ASSERT_TRUE(folder_.Write("a.mas", "chart"));
    ASSERT_TRUE(folder_.Write("ro.mas", "kept"));
    ASSERT_TRUE(SetFileAttributesA(folder_.Path("ro.mas").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(folder_.MakeDir("dir.mas"));
    std::string path = folder_.Path("a.mas");
    EXPECT_EQ(0, Delete(path, (int)path.size()));
    EXPECT_FALSE(folder_.Exists("a.mas"));
    struct Case {
        const char *what;
        std::string path;
    } cases[] = {
        {"deleted already", folder_.Path("a.mas")},
        {"read-only", folder_.Path("ro.mas")},
        {"a folder", folder_.Path("dir.mas")},
        {"missing folder", folder_.Path("nodir\\a.mas")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(3, Delete(c.path, (int)c.path.size()));
    }
    EXPECT_TRUE(folder_.Exists("ro.mas"));
    EXPECT_TRUE(folder_.Exists("dir.mas"));
    EXPECT_EQ(3, Delete(path, 0));
}

// A name of 259 characters is passed on whole; one of 260 does not fit the name buffer
// and fails without touching the file named by its first 259.
TEST_F(FilePrimitives, NamesUpToTheBufferAreUsedWhole)
{
    std::string longest = PathOfLength(259);
    ASSERT_FALSE(longest.empty());
    ASSERT_TRUE(TestFolder::WriteWhole(longest, "long"));
    std::string copy = longest.substr(0, longest.size() - 1) + "y";
    EXPECT_EQ(0, Copy(longest, copy));
    EXPECT_EQ("long", TestFolder::ReadWhole(copy));

    std::string tooLong = longest + "z";
    EXPECT_EQ(3, Delete(tooLong, (int)tooLong.size()));
    EXPECT_EQ(3, Copy(tooLong, copy + "z"));
    EXPECT_EQ("long", TestFolder::ReadWhole(longest));

    EXPECT_EQ(0, Delete(longest, (int)longest.size()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(longest.c_str()));
}

}  // namespace
