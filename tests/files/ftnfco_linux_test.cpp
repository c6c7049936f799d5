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

}  // namespace
