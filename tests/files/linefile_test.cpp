// Reading text files line by line: line ends, padding, cut lines, buffer boundaries.
#include "Basis/linefile.h"
#include "testdir.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class LineFiles : public ::testing::Test {
protected:
    TestFolder folder_{"linefile"};

    void SetUp() override { ASSERT_TRUE(folder_.Created()); }

    // Every line of content read with lineSize columns, NULs shown as '0'.
    std::vector<std::string> ReadAll(const std::string &content, int lineSize)
    {
        EXPECT_TRUE(folder_.Write("t.txt", content));
        std::vector<std::string> lines;
        LineFile file;
        if (!LineFileOpen(&file, folder_.Path("t.txt").c_str())) {
            ADD_FAILURE() << "not opened";
            return lines;
        }
        std::vector<char> line((size_t)lineSize + 1, '#');
        while (LineFileRead(&file, line.data(), lineSize)) {
            EXPECT_EQ('#', line[(size_t)lineSize]) << "written beyond the line";
            lines.emplace_back(line.data(), (size_t)lineSize);
        }
        EXPECT_FALSE(LineFileRead(&file, line.data(), lineSize)) << "stays at the end";
        LineFileClose(&file);
        return lines;
    }
};

TEST_F(LineFiles, LineEndsAndPadding)
{
    struct Case {
        const char *what;
        std::string content;
        std::vector<std::string> lines;
    } cases[] = {
        {"CR LF", "ab\r\ncd\r\n", {"ab    ", "cd    "}},
        {"LF", "ab\ncd\n", {"ab    ", "cd    "}},
        {"CR", "ab\rcd\r", {"ab    ", "cd    "}},
        {"no end on the last line", "ab\r\ncd", {"ab    ", "cd    "}},
        {"empty lines", "\r\n\r\nx\r\n", {"      ", "      ", "x     "}},
        {"empty file", "", {}},
        {"long lines are cut, the rest skipped", "abcdefghij\r\nxy\r\n", {"abcdef", "xy    "}},
        {"exactly the width", "abcdef\r\n", {"abcdef"}},
        {"NUL kept", std::string("a\0b\r\n", 5), {std::string("a\0b   ", 6)}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.lines, ReadAll(c.content, 6));
    }
}

// Lines that cross the 4096-byte buffer, a CR LF split by it among them.
TEST_F(LineFiles, BufferBoundaries)
{
    for (size_t first : {4094u, 4095u, 4096u, 4097u}) {
        SCOPED_TRACE(first);
        std::string content = std::string(first, 'a') + "\r\n" + "second\r\n" +
                              std::string(9000, 'b') + "\r\nlast";
        std::vector<std::string> lines = ReadAll(content, 8);
        std::vector<std::string> expected = {"aaaaaaaa", "second  ", "bbbbbbbb", "last    "};
        EXPECT_EQ(expected, lines);
    }
}

TEST_F(LineFiles, MissingFile)
{
    LineFile file;
    EXPECT_FALSE(LineFileOpen(&file, folder_.Path("none.txt").c_str()));
    char line[4];
    EXPECT_FALSE(LineFileRead(&file, line, sizeof line));
    LineFileClose(&file);
}

}  // namespace
