// The layer's drives and paths: drive letters through the folder of links, the current
// directory with its drive, names matched regardless of case, code-page names, drive
// types and Dsktst on each of them.
#include "linux_drives.h"

#include <sys/stat.h>

namespace {

class Paths : public LinuxDrives {
protected:
    void SetUp() override
    {
        LinuxDrives::SetUp();
        WriteLinux("c/VORNIX/DOB/MAS/Muster.mas", "chart");
        WriteLinux("c/vornix.ini", "root");
    }

    std::string CurrentDirectory()
    {
        char buffer[MAX_PATH];
        DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
        return length < sizeof buffer ? std::string(buffer, length) : "<too long>";
    }

    std::string LinuxOf(const char *path)
    {
        std::string linuxPath;
        return Lin32LinuxPath(path, linuxPath) ? linuxPath : "<unresolved>";
    }
};

TEST_F(Paths, NamesMatchRegardlessOfCaseAndSeparator)
{
    const char *names[] = {
        "C:\\VORNIX\\DOB\\MAS\\Muster.mas", "c:\\vornix\\dob\\mas\\MUSTER.MAS",
        "C:/vornix/DOB\\mas/muster.mas",    "C:\\vornix\\.\\DOB\\..\\DOB\\mas\\Muster.mas",
        "C:\\..\\..\\vornix\\DOB\\MAS\\Muster.mas", "C:\\vornix.\\DOB \\MAS\\Muster.mas",
    };
    for (const char *name : names) {
        SCOPED_TRACE(name);
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(name));
        EXPECT_EQ(base_ + "/dosdevices/c:/VORNIX/DOB/MAS/Muster.mas", LinuxOf(name));
    }
    // ".." never leaves the drive.
    EXPECT_EQ(base_ + "/dosdevices/c:/etc", LinuxOf("C:\\..\\..\\..\\etc"));
}

TEST_F(Paths, RelativeNamesUseTheCurrentDirectoryAndItsDrive)
{
    ASSERT_TRUE(Map('D', "d", DRIVE_FIXED));
    WriteLinux("d/vornix.ini", "d root");
    WriteLinux("d/data/x.mas", "on d");
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\vornix\\DOB\\MAS\\"));
    EXPECT_EQ("C:\\vornix\\DOB\\MAS", CurrentDirectory());
    struct Case {
        const char *name;
        const char *content;
    } cases[] = {
        {"Muster.mas", "chart"},           {".\\Muster.mas", "chart"},
        {"..\\MAS\\Muster.mas", "chart"},  {"\\vornix.ini", "root"},
        {"..\\..\\..\\vornix.ini", "root"}, {"C:Muster.mas", "chart"},
        {"D:vornix.ini", "d root"},        {"D:\\data\\x.mas", "on d"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::string linuxPath;
        ASSERT_TRUE(Lin32LinuxPath(c.name, linuxPath));
        std::ifstream in(linuxPath);
        std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(c.content, content);
    }
    ASSERT_TRUE(SetCurrentDirectoryA("D:\\data"));
    EXPECT_EQ("D:\\data", CurrentDirectory());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("\\vornix.ini"));
    EXPECT_EQ(base_ + "/dosdevices/d:/vornix.ini", LinuxOf("\\vornix.ini"));
    ASSERT_TRUE(SetCurrentDirectoryA("c:\\"));
    EXPECT_EQ("C:\\", CurrentDirectory());
}

TEST_F(Paths, CurrentDirectoryErrors)
{
    ASSERT_TRUE(Map('A', "nodisk", DRIVE_REMOVABLE, false));
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\vornix"));
    struct Case {
        const char *name;
        DWORD error;
    } cases[] = {
        {"C:\\vornix\\XWERT", ERROR_FILE_NOT_FOUND},
        {"C:\\none\\MAS", ERROR_PATH_NOT_FOUND},
        {"C:\\vornix\\DOB\\MAS\\Muster.mas", ERROR_DIRECTORY},
        {"Q:\\", ERROR_PATH_NOT_FOUND},
        {"A:\\", ERROR_NOT_READY},
        {"C:\\vor*", ERROR_INVALID_NAME},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(SetCurrentDirectoryA(c.name));
        EXPECT_EQ(c.error, GetLastError());
        EXPECT_EQ("C:\\vornix", CurrentDirectory());
    }
    char small[5] = "####";
    EXPECT_EQ(10u, GetCurrentDirectoryA(sizeof small, small)) << "the size needed, NUL included";
    EXPECT_STREQ("####", small);
}

TEST_F(Paths, CreateDirectory)
{
    EXPECT_TRUE(CreateDirectoryA("C:\\VORNIX\\NEW", NULL));
    EXPECT_TRUE(ExistsLinux("c/VORNIX/NEW"));
    struct Case {
        const char *name;
        DWORD error;
    } cases[] = {
        {"C:\\vornix\\new", ERROR_ALREADY_EXISTS},
        {"C:\\vornix.ini", ERROR_ALREADY_EXISTS},
        {"C:\\none\\NEW", ERROR_PATH_NOT_FOUND},
        {"C:\\", ERROR_ACCESS_DENIED},
        {"C:\\a?b", ERROR_INVALID_NAME},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(CreateDirectoryA(c.name, NULL));
        EXPECT_EQ(c.error, GetLastError());
    }
    Lin32FailOperation(LIN32_OP_DIRECTORY, 2, ERROR_WRITE_FAULT, 1);
    EXPECT_TRUE(CreateDirectoryA("C:\\ONE", NULL));
    EXPECT_FALSE(CreateDirectoryA("C:\\TWO", NULL));
    EXPECT_EQ((DWORD)ERROR_WRITE_FAULT, GetLastError());
    EXPECT_FALSE(ExistsLinux("c/TWO"));
    EXPECT_TRUE(CreateDirectoryA("C:\\THREE", NULL));
}

// File names cross the boundary in the code page on the program's side and in UTF-8 on
// Linux; a Linux name with no form in the code page cannot be named and is not listed.
TEST_F(Paths, NamesInTheCodePage)
{
    WriteLinux("c/names/Müller.mas", "umlaut");
    WriteLinux("c/names/Жук.mas", "cyrillic");
    WriteLinux("c/names/back\\slash.mas", "no Windows name");
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA("C:\\names\\*.mas", &data);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    std::vector<std::string> names;
    do {
        names.push_back(data.cFileName);
    } while (FindNextFileA(search, &data));
    FindClose(search);
    EXPECT_EQ(std::vector<std::string>({"M\xFCller.mas"}), names);

    // the upper-case form finds the file, a copy gets the name as written
    ASSERT_TRUE(CreateDirectoryA("C:\\out", NULL));
    EXPECT_TRUE(CopyFileA("C:\\names\\M\xDCLLER.MAS", "C:\\out\\M\xDCller.mas", FALSE));
    EXPECT_EQ("umlaut", ReadLinux("c/out/MÜller.mas"));
    EXPECT_TRUE(DeleteFileA("C:\\names\\m\xFCller.MAS"));
    EXPECT_FALSE(ExistsLinux("c/names/Müller.mas"));

    Lin32SetCodePage(1251);
    search = FindFirstFileA("C:\\names\\*.mas", &data);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    EXPECT_STREQ("\xC6\xF3\xEA.mas", data.cFileName);
    EXPECT_FALSE(FindNextFileA(search, &data));
    FindClose(search);
    EXPECT_TRUE(DeleteFileA("C:\\names\\\xE6\xF3\xEA.mas")) << "lower case in code page 1251";
    EXPECT_FALSE(ExistsLinux("c/names/Жук.mas"));
}

TEST_F(Paths, DriveTypesAndDisks)
{
    ASSERT_TRUE(Map('A', "floppy", DRIVE_REMOVABLE));
    ASSERT_TRUE(Map('B', "nodisk", DRIVE_REMOVABLE, false));
    ASSERT_TRUE(Map('E', "cd", DRIVE_CDROM));
    ASSERT_TRUE(Map('F', "net", DRIVE_REMOTE));
    ASSERT_TRUE(Map('G', "ram", DRIVE_RAMDISK));
    ASSERT_TRUE(Map('H', "what", DRIVE_UNKNOWN));
    ASSERT_TRUE(Map('I', "locked", DRIVE_REMOVABLE));
    ASSERT_EQ(0, chmod(Linux("locked").c_str(), 0));
    struct Case {
        const char *root;
        UINT type;
        bool readable;
    } cases[] = {
        {"A:\\", DRIVE_REMOVABLE, true}, {"a:", DRIVE_REMOVABLE, true},
        {"B:\\", DRIVE_REMOVABLE, false}, {"C:\\", DRIVE_FIXED, true},
        {"E:\\", DRIVE_CDROM, true},      {"F:\\", DRIVE_REMOTE, true},
        {"G:\\", DRIVE_RAMDISK, true},    {"H:\\", DRIVE_UNKNOWN, true},
        {"I:\\", DRIVE_REMOVABLE, false}, {"Q:\\", DRIVE_NO_ROOT_DIR, false},
        {"C:\\vornix", DRIVE_NO_ROOT_DIR, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.root);
        EXPECT_EQ(c.type, GetDriveTypeA(c.root));
        DWORD perCluster = 0, perSector = 0, free = 0, total = 0;
        EXPECT_EQ(c.readable ? TRUE : FALSE,
                  GetDiskFreeSpaceA(c.root, &perCluster, &perSector, &free, &total));
        if (c.readable) {
            EXPECT_GT(perCluster * perSector, 0u);
            EXPECT_GT(total, 0u);
        }
    }
    EXPECT_FALSE(GetDiskFreeSpaceA("B:\\", NULL, NULL, NULL, NULL));
    EXPECT_EQ((DWORD)ERROR_NOT_READY, GetLastError());
    EXPECT_EQ((UINT)DRIVE_FIXED, GetDriveTypeA(NULL)) << "the current drive";
    chmod(Linux("locked").c_str(), 0755);

    Lin32UnmapDrive('A');
    EXPECT_EQ((UINT)DRIVE_NO_ROOT_DIR, GetDriveTypeA("A:\\"));
}

// Without a drive map of its own (Lin32SetDosDevices or $LIN32_DOSDEVICES) the process
// has no drives: no letter reaches any file, and nothing is made in HOME.
TEST_F(Paths, WithoutADriveMapThereAreNoDrives)
{
    const char *configured = getenv("LIN32_DOSDEVICES");
    std::string saved = configured != NULL ? configured : "";
    unsetenv("LIN32_DOSDEVICES");
    std::string home = base_ + "/home";
    std::filesystem::create_directories(home);
    const char *oldHome = getenv("HOME");
    std::string savedHome = oldHome != NULL ? oldHome : "";
    setenv("HOME", home.c_str(), 1);
    Lin32SetDosDevices(NULL);
    for (const char *root : {"C:\\", "Z:\\", "D:\\"}) {
        SCOPED_TRACE(root);
        EXPECT_EQ((UINT)DRIVE_NO_ROOT_DIR, GetDriveTypeA(root));
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("Z:\\etc\\passwd"));
    EXPECT_EQ(INVALID_HANDLE_VALUE, CreateFileA("C:\\x.mas", GENERIC_WRITE, 0, NULL,
                                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL));
    EXPECT_EQ(std::vector<std::string>{}, ListLinux("home"));
    setenv("HOME", savedHome.c_str(), 1);
    if (!saved.empty()) {
        setenv("LIN32_DOSDEVICES", saved.c_str(), 1);
    }
    Lin32SetDosDevices((base_ + "/dosdevices").c_str());
}

TEST_F(Paths, DsktstOnEachKindOfDrive)
{
    struct Case {
        const char *what;
        UINT type;
        bool present;
        short result;
    } cases[] = {
        {"diskette in the drive", DRIVE_REMOVABLE, true, 0},
        {"no diskette", DRIVE_REMOVABLE, false, 128},
        {"fixed", DRIVE_FIXED, false, 0},
        {"network", DRIVE_REMOTE, false, 0},
        {"CD-ROM", DRIVE_CDROM, false, 0},
        {"RAM disk", DRIVE_RAMDISK, false, 0},
        {"unknown type", DRIVE_UNKNOWN, true, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(Map('A', c.present ? "a" : "a-missing", c.type, c.present));
        ASSERT_TRUE(Map('B', c.present ? "a" : "a-missing", c.type, c.present));
        EXPECT_EQ(c.result, Dsktst(0));
        EXPECT_EQ(c.result, Dsktst(1));
    }
    Lin32UnmapDrive('B');
    EXPECT_EQ(-1, Dsktst(1)) << "no drive B:";
    for (short index : {-1, 2, 25, -32768}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(-1, Dsktst(index));
    }
    // A diskette put in later is seen at the next call.
    ASSERT_TRUE(Map('A', "later", DRIVE_REMOVABLE, false));
    EXPECT_EQ(128, Dsktst(0));
    ASSERT_EQ(0, mkdir(Linux("later").c_str(), 0755));
    EXPECT_EQ(0, Dsktst(0));
}

}  // namespace
