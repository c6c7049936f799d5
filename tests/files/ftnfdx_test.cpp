// Ftnfdx: creating directories and changing into them, with its three statuses.
#include "Ftn/ftn.h"
#include "testdir.h"

#include <gtest/gtest.h>
#include <string.h>
#include <string>

namespace {

class DirectoryRoutine : public ::testing::Test {
protected:
    TestFolder folder_{"ftnfdx"};
    CurrentDirectoryGuard cwd_;

    void SetUp() override { ASSERT_TRUE(folder_.Created()); }

    // Ftnfdx on a field that holds path followed by fill characters up to length.
    short Run(short operation, const std::string &path, short length, char fill = ' ')
    {
        std::string field = path;
        if (length > 0 && (size_t)length > field.size()) {
            field.append((size_t)length - field.size(), fill);
        }
        short status = -1;
        Ftnfdx(&status, operation, field.c_str(), length);
        return status;
    }

    short Run(short operation, const std::string &path)
    {
        return Run(operation, path, (short)path.size());
    }

    std::string CurrentDirectory()
    {
        char buffer[MAX_PATH];
        DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
        return length > 0 && length < sizeof buffer ? std::string(buffer, length) : "";
    }
};

TEST_F(DirectoryRoutine, CreatesDirectories)
{
    EXPECT_EQ(0, Run(FTNFDX_CREATE, folder_.Path("VORNIX")));
    EXPECT_EQ((DWORD)FILE_ATTRIBUTE_DIRECTORY,
              GetFileAttributesA(folder_.Path("VORNIX").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(0, Run(FTNFDX_CREATE, folder_.Path("VORNIX"))) << "an existing one counts as done";
    EXPECT_EQ(0, Run(FTNFDX_CREATE, folder_.Path("vornix\\DOB"), 90)) << "trailing blanks";
    EXPECT_EQ(0, Run(FTNFDX_CREATE, folder_.Path("VORNIX\\DOB\\MAS"), 100, '\0'))
        << "trailing NULs";
    EXPECT_TRUE(folder_.Exists("VORNIX\\DOB\\MAS"));
    EXPECT_EQ(2, Run(FTNFDX_CREATE, folder_.Path("none\\DOB")));
    EXPECT_FALSE(folder_.Exists("none"));
}

TEST_F(DirectoryRoutine, ChangesIntoDirectoriesRegardlessOfCase)
{
    ASSERT_TRUE(folder_.MakeDir("VORNIX"));
    ASSERT_TRUE(folder_.MakeDir("VORNIX\\DOB"));
    ASSERT_TRUE(folder_.MakeDir("VORNIX\\DOB\\MAS"));
    ASSERT_TRUE(folder_.Write("VORNIX\\DOB\\MAS\\Muster.mas", "chart"));
    std::string wanted = folder_.Path("vornix\\DOB\\mas");
    EXPECT_EQ(0, Run(FTNFDX_CHDIR, wanted + "\\", 120));
    EXPECT_EQ(wanted, CurrentDirectory());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("Muster.mas"))
        << "relative names resolve against it";
    EXPECT_EQ(2, Run(FTNFDX_CHDIR, folder_.Path("VORNIX\\XWERT")));
    EXPECT_EQ(2, Run(FTNFDX_CHDIR, folder_.Path("VORNIX\\DOB\\MAS\\Muster.mas")));
    EXPECT_EQ(wanted, CurrentDirectory()) << "a failure stays put";
}

TEST_F(DirectoryRoutine, LengthsAndOperations)
{
    std::string path = folder_.Path("NEW");
    EXPECT_EQ(1, Run(FTNFDX_CREATE, path, 261));
    EXPECT_FALSE(folder_.Exists("NEW")) << "nothing is done";
    EXPECT_EQ(0, Run(FTNFDX_CREATE, path, 260));
    EXPECT_TRUE(folder_.Exists("NEW"));
    EXPECT_EQ(2, Run(FTNFDX_CREATE, path, 0));
    EXPECT_EQ(2, Run(FTNFDX_CREATE, path, -5));
    EXPECT_EQ(2, Run(FTNFDX_CREATE, "    ", 4));
    EXPECT_EQ(2, Run(2, path));
    EXPECT_EQ(2, Run(0, path));
}

}  // namespace
