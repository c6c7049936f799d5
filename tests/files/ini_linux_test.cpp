// The INI lookup at the root of the current drive, and the addition file kept whenever
// its changes could not all be written.
#include "Basis/ini.h"
#include "linux_drives.h"

#include <string.h>

namespace {

std::string ReadValue(const char *section, const char *key)
{
    char value[80];
    int length = -2;
    GetIniValue(section, (int)strlen(section), key, (int)strlen(key), value, sizeof value,
                &length);
    return length < 0 ? "<none>" : std::string(value, (size_t)length);
}

class IniLookup : public LinuxDrives {
protected:
    void SetUp() override
    {
        LinuxDrives::SetUp();
        ASSERT_TRUE(Map('D', "d", DRIVE_FIXED));
        WriteLinux("c/vornix/vornix.ini", "[PATH]\r\nDRIVES=ON-C\r\n");
        WriteLinux("d/vornix/vornix.ini", "[PATH]\r\nDRIVES=ON-D\r\n");
        WriteLinux("d/vornix/DOB/MAS/x.mas", "");
    }
};

TEST_F(IniLookup, TheOrderOfTheThreeNames)
{
    struct Case {
        const char *directory;
        const char *value;
    } cases[] = {
        {"D:\\vornix\\DOB\\MAS", "ON-D"},  // \vornix\ of the current drive
        {"C:\\", "ON-C"},
        {"D:\\vornix\\DOB", "ON-D"},       // the parent
        {"D:\\vornix", "ON-D"},            // the current directory
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.directory);
        ASSERT_TRUE(SetCurrentDirectoryA(c.directory));
        EXPECT_EQ(c.value, ReadValue("PATH", "DRIVES"));
    }
    WriteLinux("d/vornix/DOB/MAS/vornix.ini", "[PATH]\r\nDRIVES=HERE\r\n");
    ASSERT_TRUE(SetCurrentDirectoryA("D:\\vornix\\DOB\\MAS"));
    EXPECT_EQ("HERE", ReadValue("PATH", "DRIVES")) << "before \\vornix\\vornix.ini";
}

TEST_F(IniLookup, NoFileNoValue)
{
    std::remove(Linux("d/vornix/vornix.ini").c_str());
    WriteLinux("d/vornix/vornix.add", "[PATH]\r\nDRIVES=AB\r\n");
    ASSERT_TRUE(SetCurrentDirectoryA("D:\\vornix\\DOB\\MAS"));
    EXPECT_EQ("<none>", ReadValue("PATH", "DRIVES"));
    EXPECT_TRUE(ExistsLinux("d/vornix/vornix.add")) << "without an INI file nothing is merged";
}

TEST_F(IniLookup, TheAdditionFileBesideTheOneFound)
{
    WriteLinux("d/vornix/vornix.add", "[PATH]\r\nDRIVES=AB\r\n");
    ASSERT_TRUE(SetCurrentDirectoryA("D:\\vornix\\DOB"));
    EXPECT_EQ("AB", ReadValue("PATH", "DRIVES"));
    EXPECT_FALSE(ExistsLinux("d/vornix/vornix.add"));
    EXPECT_EQ("[PATH]\r\nDRIVES=AB\r\n", ReadLinux("d/vornix/vornix.ini"));
}

// Whatever keeps a change from being written keeps the addition file, so that nothing
// is lost, and leaves the INI file as it was, with no copy of it beside it: the next
// read applies it all again.
TEST_F(IniLookup, TheAdditionFileStaysUntilItsChangesAreWritten)
{
    const char add[] = "[PATH]\r\nSTARTUPDRIVE=D\r\nDRIVES=AB\r\n";
    const char ini[] = "[PATH]\r\nDRIVES=ON-D\r\n";
    ASSERT_TRUE(SetCurrentDirectoryA("D:\\vornix"));
    struct Case {
        const char *what;
        Lin32Operation operation;  // LIN32_OP_COUNT: the INI file is read-only instead
        int nth;
    } cases[] = {
        {"read-only INI file", LIN32_OP_COUNT, 0},
        {"copy of the INI file refused", LIN32_OP_COPY, 1},
        {"disk full on the first change", LIN32_OP_WRITE, 2},
        {"disk full on the second change", LIN32_OP_WRITE, 3},
        {"failed replacement", LIN32_OP_RENAME, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        WriteLinux("d/vornix/vornix.ini", ini);
        WriteLinux("d/vornix/vornix.add", add);
        if (c.operation == LIN32_OP_COUNT) {
            ASSERT_TRUE(SetFileAttributesA("D:\\vornix\\vornix.ini", FILE_ATTRIBUTE_READONLY));
        } else {
            Lin32FailOperation(c.operation, c.nth, ERROR_DISK_FULL, 1);
        }
        EXPECT_EQ("ON-D", ReadValue("PATH", "DRIVES"));
        EXPECT_EQ(ini, ReadLinux("d/vornix/vornix.ini"));
        EXPECT_EQ(add, ReadLinux("d/vornix/vornix.add"));
        EXPECT_EQ(std::vector<std::string>({"DOB", "vornix.add", "vornix.ini"}),
                  ListLinux("d/vornix"));
        Lin32ClearFailures();
        SetFileAttributesA("D:\\vornix\\vornix.ini", FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ("AB", ReadValue("PATH", "DRIVES"));
        EXPECT_EQ("D", ReadValue("PATH", "STARTUPDRIVE"));
        EXPECT_FALSE(ExistsLinux("d/vornix/vornix.add"));
        EXPECT_EQ(std::vector<std::string>({"DOB", "vornix.ini"}), ListLinux("d/vornix"));
    }
}

TEST_F(IniLookup, AnAdditionFileThatCannotBeReadStays)
{
    WriteLinux("d/vornix/vornix.add", "[PATH]\r\nDRIVES=AB\r\n");
    ASSERT_TRUE(SetCurrentDirectoryA("D:\\vornix"));
    HANDLE held = CreateFileA("D:\\vornix\\vornix.add", GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0,
                              NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ("ON-D", ReadValue("PATH", "DRIVES"));
    CloseHandle(held);
    EXPECT_TRUE(ExistsLinux("d/vornix/vornix.add"));
    EXPECT_EQ("AB", ReadValue("PATH", "DRIVES"));
    EXPECT_FALSE(ExistsLinux("d/vornix/vornix.add"));
}

}  // namespace
