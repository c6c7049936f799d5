// The layer's WritePrivateProfileStringA: the exact bytes it writes, and that a failure
// leaves the file as it was.
#include "linux_drives.h"

namespace {

class Profile : public LinuxDrives {};

TEST_F(Profile, WrittenForms)
{
    struct Case {
        const char *what;
        const char *before;  // NULL: no file
        const char *section;
        const char *key;
        const char *value;
        const char *after;   // NULL: no file
    } cases[] = {
        {"new file", NULL, "PATH", "DRIVES", "AB", "[PATH]\r\nDRIVES=AB\r\n"},
        {"replace", "[PATH]\r\nDRIVES=ACD\r\n", "PATH", "DRIVES", "AB", "[PATH]\r\nDRIVES=AB\r\n"},
        {"case of names", "[path]\r\ndrives=ACD\r\n", "PATH", "DRIVES", "AB",
         "[path]\r\ndrives=AB\r\n"},
        {"new key at the end of its section",
         "[PATH]\r\nA=1\r\n\r\n[OTHER]\r\nB=2\r\n", "PATH", "NEW", "x",
         "[PATH]\r\nA=1\r\nNEW=x\r\n\r\n[OTHER]\r\nB=2\r\n"},
        {"new section at the end", "[PATH]\r\nA=1\r\n", "NEWSEC", "K", "v",
         "[PATH]\r\nA=1\r\n[NEWSEC]\r\nK=v\r\n"},
        {"last line without a line end", "[PATH]\nA=1", "PATH", "B", "2",
         "[PATH]\nA=1\r\nB=2\r\n"},
        {"delete", "[PATH]\r\nA=1\r\nB=2\r\n", "PATH", "A", NULL, "[PATH]\r\nB=2\r\n"},
        {"delete a missing key", "[PATH]\r\nB=2", "PATH", "A", NULL, "[PATH]\r\nB=2"},
        {"delete in a missing file", NULL, "PATH", "A", NULL, NULL},
        {"other lines stay", "; comment\r\n[PATH]  ; x\r\n  A = 1 \r\nodd line\r\n", "PATH", "A",
         "2", "; comment\r\n[PATH]  ; x\r\nA=2\r\nodd line\r\n"},
        {"blanks around the names, not the value", "[PATH]\r\n", " PATH ", " DRIVES ", "  AB ",
         "[PATH]\r\nDRIVES=  AB \r\n"},
        {"empty value", "[PATH]\r\nDRIVES=ACD\r\n", "PATH", "DRIVES", "", "[PATH]\r\nDRIVES=\r\n"},
        {"first of two sections", "[PATH]\r\nA=1\r\n[PATH]\r\nA=2\r\n", "PATH", "A", "3",
         "[PATH]\r\nA=3\r\n[PATH]\r\nA=2\r\n"},
        {"key of a section only", "[OTHER]\r\nA=1\r\n[PATH]\r\n", "PATH", "A", "2",
         "[OTHER]\r\nA=1\r\n[PATH]\r\nA=2\r\n"},
        {"whole section", "[A]\r\nx=1\r\n[B]\r\ny=2\r\n", "A", NULL, NULL, "[B]\r\ny=2\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::remove(Linux("c/vornix.ini").c_str());
        if (c.before != NULL) {
            WriteLinux("c/vornix.ini", c.before);
        }
        EXPECT_TRUE(WritePrivateProfileStringA(c.section, c.key, c.value, "C:\\vornix.ini"));
        EXPECT_EQ(c.after != NULL ? c.after : "<missing>", ReadLinux("c/vornix.ini"));
        EXPECT_EQ(std::vector<std::string>(c.after != NULL ? 1 : 0, "vornix.ini"), ListLinux("c"));
    }
}

// Refusals leave the file as it was; a write that fails midway leaves it cut, as Wine's
// in-place rewrite does (Windows documents nothing better).
TEST_F(Profile, FailuresRefuseOrLeaveTheFileCut)
{
    const char before[] = "[PATH]\r\nDRIVES=ACD\r\n";
    WriteLinux("c/vornix.ini", before);
    ASSERT_TRUE(SetFileAttributesA("C:\\vornix.ini", FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(WritePrivateProfileStringA("PATH", "DRIVES", "AB", "C:\\vornix.ini"));
    EXPECT_EQ((DWORD)ERROR_ACCESS_DENIED, GetLastError());
    EXPECT_EQ(before, ReadLinux("c/vornix.ini"));
    ASSERT_TRUE(SetFileAttributesA("C:\\vornix.ini", FILE_ATTRIBUTE_NORMAL));

    Lin32FailOperation(LIN32_OP_WRITE, 1, ERROR_DISK_FULL, 1);
    EXPECT_FALSE(WritePrivateProfileStringA("PATH", "DRIVES", "AB", "C:\\vornix.ini"));
    EXPECT_EQ((DWORD)ERROR_DISK_FULL, GetLastError());
    EXPECT_EQ("", ReadLinux("c/vornix.ini"));
    EXPECT_EQ(std::vector<std::string>({"vornix.ini"}), ListLinux("c"));

    EXPECT_FALSE(WritePrivateProfileStringA("PATH", "DRIVES", "AB", "C:\\none\\vornix.ini"));
    EXPECT_EQ((DWORD)ERROR_PATH_NOT_FOUND, GetLastError());
    WriteLinux("c/vornix.ini", before);
    EXPECT_TRUE(WritePrivateProfileStringA("PATH", "DRIVES", "AB", "C:\\vornix.ini"));
    EXPECT_EQ("[PATH]\r\nDRIVES=AB\r\n", ReadLinux("c/vornix.ini"));
}

}  // namespace
