// FTNFCO against a stand-in as unkind as Windows, whose CopyFileA destroys the file it
// replaces when it fails midway: a failure at every read, write, flush and rename of the
// copy, a whole copy refused, a drive taken away between the copy and the replace, a
// source that vanishes. After each, the chart that was there is whole, byte for byte,
// with its time and attributes, and no temporary file is left.
#include "linux_drives.h"

#include <sys/stat.h>

namespace {

const char kOld[] = "old chart of E:";
const time_t kOldTime = 1046509200;  // 2003
const time_t kNewTime = 1078650300;  // 2004

class CopyFaults : public LinuxDrives {
protected:
    // Three blocks of the copy, so that the failure can come in the middle.
    const std::string big_ = std::string(2 * 65536 + 17, 'n');

    void SetUp() override
    {
        LinuxDrives::SetUp();
        WriteLinux("c/mas/CHART.mas", big_);
        SetWriteTime("c/mas/CHART.mas", kNewTime);
    }

    void LayDestination(UINT type, bool withChart)
    {
        std::error_code ignored;
        std::filesystem::remove_all(Linux("e"), ignored);
        ASSERT_TRUE(Map('E', "e", type));
        std::filesystem::create_directories(Linux("e/mas"));
        if (withChart) {
            WriteLinux("e/mas/CHART.mas", kOld);
            SetWriteTime("e/mas/CHART.mas", kOldTime);
            ASSERT_TRUE(SetFileAttributesA("E:\\mas\\CHART.mas", FILE_ATTRIBUTE_HIDDEN));
        }
    }

    short Copy()
    {
        static const char from[] = "C:\\mas\\CHART.mas";
        static const char to[] = "E:\\mas\\CHART.mas";
        short status = -1;
        FTNFCO(&status, from, (int)sizeof from - 1, to, (int)sizeof to - 1);
        return status;
    }

    // The destination folder holds what it held before, and nothing else.
    void ExpectDestinationKept(bool withChart)
    {
        if (!withChart) {
            EXPECT_EQ(std::vector<std::string>{}, ListLinux("e/mas"));
            return;
        }
        EXPECT_EQ(std::vector<std::string>{"CHART.mas"}, ListLinux("e/mas"));
        std::string content = ReadLinux("e/mas/CHART.mas");
        EXPECT_TRUE(content == kOld) << "holds " << content.size() << " bytes of "
                                     << content.substr(0, 16) << "...";
        struct stat info = {};
        EXPECT_EQ(0, stat(Linux("e/mas/CHART.mas").c_str(), &info));
        EXPECT_EQ(kOldTime, info.st_mtim.tv_sec);
        EXPECT_EQ((DWORD)(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE),
                  GetFileAttributesA("E:\\mas\\CHART.mas"));
    }

public:
    // A file that takes the destination's name: another chart whose alias it is, or a
    // chart of that name.
    void MakeTaker(bool alias) const
    {
        if (alias) {
            WriteLinux("e/mas/Messblatt.mas", "another chart");
            EXPECT_TRUE(Lin32SetShortName("E:\\mas\\Messblatt.mas", "CHART.MAS"));
        } else {
            WriteLinux("e/mas/CHART.mas", kOld);
        }
    }
    bool takerIsAlias_ = false;

protected:
    void ExpectCopied()
    {
        EXPECT_EQ(std::vector<std::string>{"CHART.mas"}, ListLinux("e/mas"));
        EXPECT_TRUE(ReadLinux("e/mas/CHART.mas") == big_) << "the new chart, whole";
        struct stat info = {};
        EXPECT_EQ(0, stat(Linux("e/mas/CHART.mas").c_str(), &info));
        EXPECT_EQ(kNewTime, info.st_mtim.tv_sec);
    }
};

const char *OperationName(Lin32Operation operation)
{
    switch (operation) {
    case LIN32_OP_READ: return "read";
    case LIN32_OP_WRITE: return "write";
    case LIN32_OP_FLUSH: return "flush";
    case LIN32_OP_RENAME: return "rename";
    case LIN32_OP_COPY: return "copy";
    default: return "other";
    }
}

// Every operation of the copy in turn, counted in a run without failures, fails once:
// the copy reports status 3 and the destination is as it was; the next copy succeeds.
TEST_F(CopyFaults, AFailureAtAnyPointKeepsTheDestination)
{
    const Lin32Operation operations[] = {LIN32_OP_READ, LIN32_OP_WRITE, LIN32_OP_FLUSH,
                                         LIN32_OP_RENAME, LIN32_OP_COPY};
    for (UINT type : {DRIVE_FIXED, DRIVE_REMOVABLE}) {
        for (bool withChart : {true, false}) {
            for (Lin32Operation operation : operations) {
                LayDestination(type, withChart);
                Lin32ClearFailures();
                ASSERT_EQ(0, Copy());
                int count = Lin32OperationCount(operation);
                if (operation == LIN32_OP_FLUSH && type == DRIVE_FIXED) {
                    EXPECT_EQ(0, count) << "a fixed drive is not synced";
                } else {
                    EXPECT_GT(count, 0) << OperationName(operation);
                }
                for (int nth = 1; nth <= count; ++nth) {
                    SCOPED_TRACE(std::string(type == DRIVE_FIXED ? "fixed" : "removable") +
                                 (withChart ? ", replacing" : ", new") + ", " +
                                 OperationName(operation) + " " + std::to_string(nth));
                    LayDestination(type, withChart);
                    Lin32FailOperation(operation, nth, ERROR_DISK_FULL, 1);
                    EXPECT_EQ(3, Copy());
                    ExpectDestinationKept(withChart);
                    Lin32ClearFailures();
                    EXPECT_EQ(0, Copy());
                    ExpectCopied();
                }
            }
        }
    }
}

// The drive goes between the copy and the replace: the temporary file cannot be removed
// then, and the next copy removes it once the drive is back.
TEST_F(CopyFaults, ADriveTakenAwayBeforeTheReplaceLeavesNothingOnceItIsBack)
{
    LayDestination(DRIVE_REMOVABLE, true);
    Lin32SetOperationHook(
        [](void *, Lin32Operation operation, int) {
            if (operation == LIN32_OP_RENAME) {
                Lin32UnmapDrive('E');
            }
        },
        nullptr);
    Lin32FailOperation(LIN32_OP_RENAME, 1, ERROR_NOT_READY, 1);
    EXPECT_EQ(3, Copy());
    Lin32ClearFailures();
    EXPECT_EQ(kOld, ReadLinux("e/mas/CHART.mas"));
    EXPECT_EQ(2u, ListLinux("e/mas").size()) << "the temporary copy waits on the disk";
    // Copies tried while the drive is still away fail and forget nothing.
    for (int attempt = 0; attempt < 6; ++attempt) {
        EXPECT_EQ(3, Copy());
    }
    ASSERT_TRUE(Map('E', "e", DRIVE_REMOVABLE));
    EXPECT_EQ(0, Copy());
    ExpectCopied();
}

// A source that is gone, or that another program holds without sharing reading, fails
// before anything is written.
TEST_F(CopyFaults, ASourceThatCannotBeReadLeavesTheDestination)
{
    LayDestination(DRIVE_FIXED, true);
    HANDLE held = CreateFileA("C:\\mas\\CHART.mas", GENERIC_READ, 0, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(3, Copy());
    CloseHandle(held);
    ExpectDestinationKept(true);
    ASSERT_EQ(0, unlink(Linux("c/mas/CHART.mas").c_str()));
    EXPECT_EQ(3, Copy());
    ExpectDestinationKept(true);
}

// A name that is another chart's 8.3 alias on the destination names that chart: the copy
// is refused rather than written over it.
TEST_F(CopyFaults, ANameThatIsAnotherChartsAliasIsRefused)
{
    LayDestination(DRIVE_FIXED, false);
    WriteLinux("e/mas/Messblatt.mas", "another chart");
    ASSERT_TRUE(Lin32SetShortName("E:\\mas\\Messblatt.mas", "CHART.MAS"));
    EXPECT_EQ(3, Copy());
    EXPECT_EQ(std::vector<std::string>{"Messblatt.mas"}, ListLinux("e/mas"));
    EXPECT_EQ("another chart", ReadLinux("e/mas/Messblatt.mas"));
}

// A name that was free when the copy looked: another program makes a file there before
// the copy is named. The copy takes the name only by a rename that replaces nothing, so
// what stands there then is looked at as any chart the copy would replace: another
// chart that the name is the alias of stays, a chart of that name is replaced. For
// FTNFCO, the file comes while the copy is written; for a command's copy, after the
// command's search of the folder.
TEST_F(CopyFaults, ANameTakenSinceTheLookUpIsLookedAtBeforeItIsReplaced)
{
    struct Case {
        const char *what;
        bool searched;
        bool alias;  // the file made is another chart, CHART.MAS its alias
    } cases[] = {
        {"FTNFCO, another chart's alias", false, true},
        {"FTNFCO, a chart of the name", false, false},
        {"a command's copy, another chart's alias", true, true},
        {"a command's copy, a chart of the name", true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        LayDestination(DRIVE_FIXED, false);
        Lin32ClearShortNames();
        short status = -1;
        static const char from[] = "C:\\mas\\CHART.mas";
        static const char to[] = "E:\\mas\\CHART.mas";
        if (c.searched) {
            ChartFolder folder;
            ASSERT_TRUE(ScanChartFolder("E:\\mas\\", &folder));
            MakeTaker(c.alias);
            FtnfcoIntoFolder(&status, from, (int)sizeof from - 1, to, (int)sizeof to - 1,
                             &folder);
            FreeChartFolder(&folder);
        } else {
            takerIsAlias_ = c.alias;
            Lin32SetOperationHook(
                [](void *context, Lin32Operation operation, int) {
                    if (operation == LIN32_OP_COPY) {
                        Lin32SetOperationHook(nullptr, nullptr);
                        CopyFaults *test = (CopyFaults *)context;
                        test->MakeTaker(test->takerIsAlias_);
                    }
                },
                this);
            FTNFCO(&status, from, (int)sizeof from - 1, to, (int)sizeof to - 1);
            Lin32SetOperationHook(nullptr, nullptr);
        }
        if (c.alias) {
            EXPECT_EQ(3, status);
            EXPECT_EQ(std::vector<std::string>{"Messblatt.mas"}, ListLinux("e/mas"));
            EXPECT_EQ("another chart", ReadLinux("e/mas/Messblatt.mas"));
        } else {
            EXPECT_EQ(0, status);
            ExpectCopied();
        }
    }
}

// What a command's search of the folder saw is checked against the folder as it is now:
// a chart made read-only since is refused before anything is written, one gone since is
// copied as new, and a chart replaced keeps its own spelling.
TEST_F(CopyFaults, ACommandsCopyAsksTheFolderAfresh)
{
    static const char from[] = "C:\\mas\\CHART.mas";
    static const char to[] = "E:\\mas\\CHART.mas";
    struct Case {
        const char *what;
        const char *name;  // the chart E: holds when it is searched
        void (*since)(const char *path);
        short status;
        const char *after;  // the one file E: then holds
    } cases[] = {
        {"made read-only", "CHART.mas",
         [](const char *path) { SetFileAttributesA(path, FILE_ATTRIBUTE_READONLY); }, 3,
         "CHART.mas"},
        {"deleted", "CHART.mas", [](const char *path) { DeleteFileA(path); }, 0, "CHART.mas"},
        {"spelt otherwise", "Chart.mas", [](const char *) {}, 0, "Chart.mas"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        LayDestination(DRIVE_FIXED, false);
        WriteLinux(std::string("e/mas/") + c.name, kOld);
        ChartFolder folder;
        ASSERT_TRUE(ScanChartFolder("E:\\mas\\", &folder));
        c.since((std::string("E:\\mas\\") + c.name).c_str());
        Lin32ClearFailures();
        short status = -1;
        FtnfcoIntoFolder(&status, from, (int)sizeof from - 1, to, (int)sizeof to - 1, &folder);
        FreeChartFolder(&folder);
        EXPECT_EQ(c.status, status);
        EXPECT_EQ(std::vector<std::string>{c.after}, ListLinux("e/mas"));
        std::string content = ReadLinux(std::string("e/mas/") + c.after);
        if (status == 0) {
            EXPECT_TRUE(content == big_) << "the new chart, whole";
        } else {
            EXPECT_EQ(kOld, content);
            EXPECT_EQ(0, Lin32OperationCount(LIN32_OP_COPY)) << "nothing was copied";
            SetFileAttributesA(to, FILE_ATTRIBUTE_NORMAL);
        }
    }
}

// E: is C:'s folder under another letter. A command's first copy finds that out (its
// temporary copy stands in C:'s folder too): then no chart is copied onto itself, also
// after a first copy that went through (of a chart that the search did not see).
TEST_F(CopyFaults, ACommandsCopiesIntoTheSourceFolderAreRefused)
{
    ASSERT_TRUE(Map('E', "c", DRIVE_FIXED));
    WriteLinux("c/mas/OTHER.mas", "other chart");
    ChartFolder folder;
    ASSERT_TRUE(ScanChartFolder("E:\\mas\\", &folder));
    WriteLinux("c/mas/NEWER.mas", "newer chart");  // made since the search
    const char *charts[] = {"NEWER.mas", "CHART.mas", "OTHER.mas"};
    for (const char *chart : charts) {
        SCOPED_TRACE(chart);
        std::string from = std::string("C:\\mas\\") + chart;
        std::string to = std::string("E:\\mas\\") + chart;
        short status = -1;
        FtnfcoIntoFolder(&status, from.c_str(), (int)from.size(), to.c_str(), (int)to.size(),
                         &folder);
        EXPECT_EQ(3, status);
    }
    FreeChartFolder(&folder);
    EXPECT_EQ((std::vector<std::string>{"CHART.mas", "NEWER.mas", "OTHER.mas"}),
              ListLinux("c/mas"));
    EXPECT_TRUE(ReadLinux("c/mas/CHART.mas") == big_);
    EXPECT_EQ("other chart", ReadLinux("c/mas/OTHER.mas"));
}

}  // namespace
