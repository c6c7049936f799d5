// Copy and Move through the main dialog when the drives fail: a write, a replacement, a
// flush or a whole copy that fails at any point, a disk that fills up, a diskette taken
// out or a drive folder gone between the list build and the command, a read-only chart
// moved to a diskette. After every run the drives are checked: nothing lost, no partial
// chart anywhere, and a Move has deleted only charts whose copy is complete.
#include "drivecheck.h"
#include "scenario.h"

#include "app/dialog.h"
#include "app/perfile.h"
#include "resources/resource.h"
#include "support/dialog_driver.h"

#include <functional>
#include <map>
#include <memory>

using namespace scenario;

namespace {

const Stamp kOld{2003, 5, 1, 8, 0};
const Stamp kNew{2004, 3, 7, 10, 15};

// Selected in this order (the source list is sorted by name). BIG needs several blocks
// of the copy; MID exists on every destination in an older state and is replaced.
const std::vector<std::string> kCharts = {"BIG", "MID", "SMALL"};
const size_t kBigSize = 3 * 65536 + 123;

std::string ChartPath(char drive, const std::string &name)
{
    return std::string(1, drive) + ":\\vornix\\DOB\\mas\\" + name + ".mas";
}

const char *Verb(int command)
{
    return command == IDC_COPY ? "copied" : command == IDC_MOVE ? "moved" : "deleted";
}

const char *OperationName(Lin32Operation operation)
{
    switch (operation) {
    case LIN32_OP_WRITE:
        return "write";
    case LIN32_OP_RENAME:
        return "rename";
    case LIN32_OP_FLUSH:
        return "flush";
    case LIN32_OP_COPY:
        return "copy";
    default:
        return "other";
    }
}

// What a file holds, or "<none>".
std::string Content(const fs::path &path)
{
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        return "<none>";
    }
    return drivecheck::ReadFile(path);
}

// A short form of a chart's content for failure messages: BIG holds 200 KB.
std::string Brief(const std::string &content)
{
    if (content.size() <= 24) {
        return content;
    }
    return content.substr(0, 16) + "... (" + std::to_string(content.size()) + " bytes)";
}

#define EXPECT_CONTENT(actual, expected)                                                   \
    EXPECT_TRUE((actual) == (expected)) << "holds " << Brief(actual) << ", expected "     \
                                        << Brief(expected)

class Faults : public Drives {
protected:
    void SetUp() override
    {
        Drives::SetUp();
        // Every copy to the diskette syncs, and these tests make hundreds of them.
        diskette_.reset(new drivecheck::MemoryFolder(Folder('A')));
        Map('A', DRIVE_REMOVABLE);
    }

    void TearDown() override
    {
        Lin32ClearReportedSizes();
        Lin32SetMessageBoxHook(nullptr, nullptr);
        Drives::TearDown();
        diskette_.reset();
    }

    static int ComboIndex(char drive) { return drive == 'C' ? 0 : drive == 'D' ? 1 : 2; }

    // Fresh charts: BIG, MID and SMALL on the source drive, an older MID on every other
    // drive. Every file's content names its drive, so that any copy is recognised.
    void LayCharts(char source)
    {
        for (char drive : {'C', 'D', 'A'}) {
            fs::remove_all(Folder(drive) / "vornix");
            MakeSystem(drive, "DOB", "Ladies");
            if (drive == 'C') {
                // Drive combos: 0 C:, 1 D:, 2 A:.
                WriteIni("[PATH]\r\nDRIVES=CDA\r\nSTARTUPDRIVE=1\r\n");
            }
            if (drive != source) {
                MakeChart(drive, "DOB", "MID.mas", kOld, std::string("old MID of ") + drive);
                continue;
            }
            std::string big = std::string("BIG of ") + drive + " ";
            while (big.size() < kBigSize) {
                big += (char)('a' + big.size() % 26);
            }
            MakeChart(drive, "DOB", "BIG.mas", kNew, big);
            MakeChart(drive, "DOB", "MID.mas", kNew, std::string("MID of ") + drive);
            MakeChart(drive, "DOB", "SMALL.mas", kNew, std::string("SMALL of ") + drive);
        }
        ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
    }

    std::vector<fs::path> DriveFolders() const
    {
        return {Folder('C'), Folder('D'), Folder('A')};
    }

    fs::path ChartFile(char drive, const std::string &name) const
    {
        return Folder(drive) / "vornix/DOB/mas" / (name + ".mas");
    }

    // Runs the program, selects every chart of the source list, lets inject act just
    // before the command's button is clicked, clicks it and calls afterwards.
    void RunCommand(char source, char destination, int command,
                    const std::function<void(HWND)> &inject,
                    const std::function<void()> &afterwards = [] {})
    {
        EXPECT_TRUE(SetCurrentDirectoryA("C:\\"));
        bool opened = false;
        driver::RunProgram("", [&](HWND dialog) {
            opened = true;
            if (source != 'C') {
                driver::ChooseComboItem(dialog, IDC_SOURCE_DRIVE, ComboIndex(source));
            }
            driver::ChooseComboItem(dialog, IDC_DEST_DRIVE, ComboIndex(destination));
            driver::ClickButton(dialog, IDC_ALL);
            ASSERT_EQ(driver::SelectedLines(dialog, IDC_SOURCE_LIST).size(), kCharts.size());
            inject(dialog);
            driver::ClickButton(dialog, command);
            afterwards();
            Lin32ClearFailures();
        });
        EXPECT_TRUE(opened);
    }

    // The chart named in a copy prompt, or "" for any other box.
    static std::string PromptedChart(const ShownBox &box, char source)
    {
        std::string start = std::string(1, source) + ":\\vornix\\DOB\\mas\\";
        std::string end = std::string(".mas\r") + kCopyFailed;
        if (box.buttons != MB_ABORTRETRYIGNORE || box.text.compare(0, start.size(), start) != 0 ||
            box.text.size() < start.size() + end.size() ||
            box.text.compare(box.text.size() - end.size(), end.size(), end) != 0) {
            return "";
        }
        return box.text.substr(start.size(), box.text.size() - start.size() - end.size());
    }

    std::unique_ptr<drivecheck::MemoryFolder> diskette_;
};

struct Outcome {
    std::map<std::string, std::string> source;       // chart -> content before
    std::map<std::string, std::string> destination;  // chart -> content before, or "<none>"
};

// One failure at every point where a Copy or Move writes, replaces, flushes or copies,
// each answered with Ignore, Abort or Retry: the failed chart keeps its source, its
// destination holds the old state or the whole chart, and the other charts are done
// (Ignore), done up to it and untouched after it (Abort), or all done (Retry).
TEST_F(Faults, OneFailureAtAnyPointLosesNothing)
{
    const Lin32Operation operations[] = {LIN32_OP_WRITE, LIN32_OP_RENAME, LIN32_OP_FLUSH,
                                         LIN32_OP_COPY};
    for (int command : {IDC_COPY, IDC_MOVE}) {
        for (char destination : {'D', 'A'}) {
            // How many operations of each kind the command makes when nothing fails.
            LayCharts('C');
            std::map<Lin32Operation, int> counts;
            {
                BoxScript boxes({IDYES});
                RunCommand('C', destination, command, [](HWND) { Lin32ClearFailures(); },
                           [&] {
                               for (Lin32Operation operation : operations) {
                                   counts[operation] = Lin32OperationCount(operation);
                               }
                           });
                EXPECT_EQ(boxes.Shown().size(), 1u);
            }
            ASSERT_GE(counts[LIN32_OP_WRITE], 6) << "BIG takes several blocks";
            ASSERT_EQ(counts[LIN32_OP_COPY], 3);
            ASSERT_EQ(counts[LIN32_OP_FLUSH] > 0, destination == 'A');

            for (Lin32Operation operation : operations) {
                for (int nth = 1; nth <= counts[operation]; ++nth) {
                    for (int answer : {IDIGNORE, IDABORT, IDRETRY}) {
                        std::string trace = std::string(Verb(command)) + " to " + destination +
                                            ", " + OperationName(operation) + " " +
                                            std::to_string(nth) + " fails, answer " +
                                            std::to_string(answer);
                        SCOPED_TRACE(trace);
                        LayCharts('C');
                        Outcome before;
                        for (const std::string &chart : kCharts) {
                            before.source[chart] = Content(ChartFile('C', chart));
                            before.destination[chart] = Content(ChartFile(destination, chart));
                        }
                        drivecheck::Snapshot start = drivecheck::Take(DriveFolders());
                        BoxScript boxes({IDYES, answer});
                        RunCommand('C', destination, command, [&](HWND) {
                            Lin32FailOperation(operation, nth, ERROR_WRITE_FAULT, 1);
                        });
                        EXPECT_EQ(boxes.Unexpected(), 0);
                        ASSERT_EQ(boxes.Shown().size(), 2u);
                        EXPECT_EQ(Describe(boxes.Shown()[0]), Question(Verb(command), 3));
                        std::string failed = PromptedChart(boxes.Shown()[1], 'C');
                        ASSERT_NE(failed, "") << Describe(boxes.Shown()[1]);

                        bool afterFailed = false;
                        for (const std::string &chart : kCharts) {
                            SCOPED_TRACE(chart);
                            std::string sourceNow = Content(ChartFile('C', chart));
                            std::string destinationNow = Content(ChartFile(destination, chart));
                            bool done = answer == IDRETRY ||
                                        (chart != failed && (answer == IDIGNORE || !afterFailed));
                            if (chart == failed) {
                                afterFailed = true;
                            }
                            if (done) {
                                EXPECT_CONTENT(destinationNow, before.source[chart]);
                                EXPECT_CONTENT(sourceNow, command == IDC_COPY
                                                              ? before.source[chart]
                                                              : std::string("<none>"));
                            } else if (chart == failed) {
                                EXPECT_CONTENT(sourceNow, before.source[chart]);
                                if (destinationNow != before.source[chart]) {
                                    EXPECT_CONTENT(destinationNow, before.destination[chart]);
                                }
                            } else {
                                EXPECT_CONTENT(sourceNow, before.source[chart]);
                                EXPECT_CONTENT(destinationNow, before.destination[chart]);
                            }
                        }
                        EXPECT_EQ(drivecheck::Lost(start, drivecheck::Take(DriveFolders())),
                                  std::vector<std::string>{});
                    }
                }
            }
        }
    }
}

// A disk that is full from some write on: every chart from there fails and is ignored;
// the charts before it are done, none after it is touched on either drive.
TEST_F(Faults, DiskFullFromAnyWriteOn)
{
    // The writes each chart's copy takes.
    LayCharts('C');
    std::vector<int> writes;
    for (const std::string &chart : kCharts) {
        Lin32ClearFailures();
        ASSERT_TRUE(CopyFileA(ChartPath('C', chart).c_str(), "D:\\SCRATCH", FALSE));
        writes.push_back(Lin32OperationCount(LIN32_OP_WRITE));
    }
    ASSERT_TRUE(DeleteFileA("D:\\SCRATCH"));
    ASSERT_GT(writes[0], 1) << "BIG takes several blocks";
    int total = writes[0] + writes[1] + writes[2];
    for (int command : {IDC_COPY, IDC_MOVE}) {
        for (int nth = 1; nth <= total; ++nth) {
            SCOPED_TRACE(std::string(Verb(command)) + ", disk full from write " +
                         std::to_string(nth));
            LayCharts('C');
            drivecheck::Snapshot start = drivecheck::Take(DriveFolders());
            size_t firstFailed = 0;
            for (int sum = writes[0]; sum < nth; sum += writes[firstFailed]) {
                ++firstFailed;
            }
            BoxScript boxes({IDYES, IDIGNORE, IDIGNORE, IDIGNORE});
            RunCommand('C', 'D', command, [&](HWND) {
                Lin32FailOperation(LIN32_OP_WRITE, nth, ERROR_DISK_FULL, 1000);
            });
            std::vector<std::string> expected{Question(Verb(command), 3)};
            for (size_t i = firstFailed; i < kCharts.size(); ++i) {
                expected.push_back(Prompt(ChartPath('C', kCharts[i]), kCopyFailed));
            }
            EXPECT_EQ(Describe(boxes), expected);
            drivecheck::Snapshot end = drivecheck::Take(DriveFolders());
            for (size_t i = 0; i < kCharts.size(); ++i) {
                SCOPED_TRACE(kCharts[i]);
                std::string source = start.entries[0].at("vornix/DOB/mas/" + kCharts[i] + ".mas");
                bool done = i < firstFailed;
                EXPECT_CONTENT(Content(ChartFile('C', kCharts[i])),
                               done && command == IDC_MOVE ? "<none>" : source);
                if (done) {
                    EXPECT_CONTENT(Content(ChartFile('D', kCharts[i])), source);
                }
            }
            // Nothing else changed on D: no partial chart, the old MID kept unless done.
            EXPECT_EQ(drivecheck::Lost(start, end), std::vector<std::string>{});
            if (firstFailed == 0) {
                EXPECT_EQ(Content(ChartFile('D', "MID")), "old MID of D");
                EXPECT_EQ(Content(ChartFile('D', "BIG")), "<none>");
            }
        }
    }
}

// The confirmation that Move waits for is the program's own: a destination that is the
// source itself (two drive letters of one folder) or one whose size differs is no copy.
TEST_F(Faults, MoveDeletesOnlyAfterItsOwnConfirmation)
{
    LayCharts('C');
    ASSERT_TRUE(Lin32MapDrive('E', Folder('C').c_str(), DRIVE_FIXED));
    const std::string source = ChartPath('C', "MID");
    const std::string sameFile = ChartPath('E', "MID");
    EXPECT_FALSE(ConfirmChartCopy(source.c_str(), (int)source.size(), sameFile.c_str(),
                                  (int)sameFile.size(), false));
    EXPECT_EQ(Content(ChartFile('C', "MID")), "MID of C");

    // A real copy of the same size is confirmed, also while the source is open for
    // reading elsewhere.
    fs::copy_file(ChartFile('C', "MID"), ChartFile('D', "MID"),
                  fs::copy_options::overwrite_existing);
    const std::string copy = ChartPath('D', "MID");
    HANDLE reader = CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(ConfirmChartCopy(source.c_str(), (int)source.size(), copy.c_str(),
                                 (int)copy.size(), false));
    CloseHandle(reader);

    // In the dialog: MID's source reports one byte more than its copy gets; the copy
    // prompt comes back on Retry, and Ignore keeps MID on C while the others move.
    LayCharts('C');
    ASSERT_TRUE(Lin32SetReportedSize(source.c_str(), std::string("MID of C").size() + 1));
    drivecheck::Snapshot start = drivecheck::Take(DriveFolders());
    BoxScript boxes({IDYES, IDRETRY, IDIGNORE});
    RunCommand('C', 'D', IDC_MOVE, [](HWND) {});
    EXPECT_EQ(Describe(boxes), (std::vector<std::string>{Question("moved", 3),
                                                         Prompt(source, kCopyFailed),
                                                         Prompt(source, kCopyFailed)}));
    EXPECT_EQ(Content(ChartFile('C', "MID")), "MID of C");
    EXPECT_EQ(Content(ChartFile('C', "BIG")), "<none>");
    EXPECT_EQ(Content(ChartFile('C', "SMALL")), "<none>");
    EXPECT_EQ(drivecheck::Lost(start, drivecheck::Take(DriveFolders())),
              std::vector<std::string>{});
}

// A user who, at the delete prompt, removes the write protection of the chart outside
// the program and presses Retry; every other box gets Yes or Ignore.
struct Unprotecting {
    std::string path;
    bool unprotect = false;
    std::vector<ShownBox> shown;

    static int Answer(void *context, HWND owner, const char *text, const char *caption,
                      UINT type)
    {
        Unprotecting *user = static_cast<Unprotecting *>(context);
        int answer = (type & MB_TYPEMASK) == MB_YESNO ? IDYES : IDIGNORE;
        if ((type & MB_TYPEMASK) == MB_ABORTRETRYIGNORE && user->unprotect) {
            SetFileAttributesA(user->path.c_str(), FILE_ATTRIBUTE_NORMAL);
            user->unprotect = false;  // one Retry: a prompt that comes back gets Ignore
            answer = IDRETRY;
        }
        user->shown.push_back(ShownBox{owner != nullptr, text, caption, type & MB_TYPEMASK,
                                       type & MB_ICONMASK, answer});
        return answer;
    }
};

// A read-only chart moves like any other: its copy keeps the attribute and is written
// through on a diskette without a copy prompt. Deleting the protected source asks,
// as every delete of a read-only chart does; the chart is then on both drives, or
// moved once the user has removed the protection.
TEST_F(Faults, ReadOnlyChartMoves)
{
    for (char destination : {'D', 'A'}) {
        for (bool unprotect : {false, true}) {
            SCOPED_TRACE(std::string("to ") + destination +
                         (unprotect ? ", protection removed at the prompt" : ", ignored"));
            LayCharts('C');
            const std::string source = ChartPath('C', "MID");
            const std::string target = ChartPath(destination, "MID");
            ASSERT_TRUE(SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_READONLY));
            drivecheck::Snapshot start = drivecheck::Take(DriveFolders());
            Unprotecting user;
            user.path = source;
            user.unprotect = unprotect;
            Lin32SetMessageBoxHook(Unprotecting::Answer, &user);
            int flushes = -1;
            EXPECT_TRUE(SetCurrentDirectoryA("C:\\"));
            driver::RunProgram("", [&](HWND dialog) {
                driver::ChooseComboItem(dialog, IDC_DEST_DRIVE, ComboIndex(destination));
                driver::ClickLine(dialog, IDC_SOURCE_LIST, 1);  // MID
                Lin32ClearFailures();
                driver::ClickButton(dialog, IDC_MOVE);
                flushes = Lin32OperationCount(LIN32_OP_FLUSH);
            });
            Lin32SetMessageBoxHook(nullptr, nullptr);

            std::vector<std::string> shown;
            for (const ShownBox &box : user.shown) {
                shown.push_back(Describe(box));
            }
            EXPECT_EQ(shown, (std::vector<std::string>{Question("moved", 1),
                                                       Prompt(source, kDeleteFailed)}));
            EXPECT_EQ(Content(ChartFile(destination, "MID")), "MID of C");
            DWORD attributes = GetFileAttributesA(target.c_str());
            ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
            EXPECT_NE(attributes & FILE_ATTRIBUTE_READONLY, 0u) << "the copy keeps it";
            EXPECT_EQ(Content(ChartFile('C', "MID")), unprotect ? "<none>" : "MID of C");
            if (destination == 'A') {
                // The copy's own syncs and the program's flush of the copy.
                EXPECT_GE(flushes, 3);
            }
            EXPECT_EQ(drivecheck::Lost(start, drivecheck::Take(DriveFolders())),
                      std::vector<std::string>{});
        }
    }
}

// A drive whose folder is gone when the command runs (the diskette taken out, a drive
// no longer there): the per-file prompt for each chart, and after Ignore or Abort every
// chart is where it was once the folder is back.
TEST_F(Faults, DriveGoneBetweenListAndCommand)
{
    const std::string insertDisk = Box("VORNIX - Disk", "Please insert disk.", MB_OK,
                                       MB_ICONWARNING);
    const std::string protectedDisk =
        Box("VORNIX - Disk", "Remove write protection from VORNIX-disk and insert disk again.",
            MB_OK, MB_ICONWARNING);
    const std::string notReady =
        Box("VORNIX - Disk",
            "The selected drive is not ready or there are errors on the disk or it is write "
            "protected.",
            MB_OK, MB_ICONERROR);
    struct Case {
        char source;
        char destination;
        char gone;
        int command;
        std::vector<std::string> rebuild;  // the boxes of the two list builds afterwards
    };
    const Case cases[] = {
        {'C', 'A', 'A', IDC_COPY, {protectedDisk, notReady}},
        {'C', 'A', 'A', IDC_MOVE, {protectedDisk, notReady}},
        {'A', 'C', 'A', IDC_COPY, {insertDisk, notReady}},
        {'A', 'C', 'A', IDC_MOVE, {insertDisk, notReady}},
        {'A', 'C', 'A', IDC_DELETE, {insertDisk, notReady}},
        {'C', 'D', 'D', IDC_COPY, {CreateBox('D')}},
        {'C', 'D', 'D', IDC_MOVE, {CreateBox('D')}},
        {'D', 'C', 'D', IDC_DELETE, {CreateBox('D')}},
    };
    for (const Case &c : cases) {
        for (int answer : {IDIGNORE, IDABORT}) {
            SCOPED_TRACE(std::string(Verb(c.command)) + " from " + c.source + " to " +
                         c.destination + ", " + c.gone + " gone, answer " +
                         std::to_string(answer));
            LayCharts(c.source);
            drivecheck::Snapshot start = drivecheck::Take(DriveFolders());
            fs::path folder = Folder(c.gone);
            fs::path away = folder.string() + ".away";
            bool deleting = c.command == IDC_DELETE;

            std::vector<int> answers{IDYES};
            std::vector<std::string> expected{Question(Verb(c.command), 3)};
            for (const std::string &chart : kCharts) {
                answers.push_back(answer);
                expected.push_back(Prompt(ChartPath(c.source, chart),
                                          deleting ? kDeleteFailed : kCopyFailed));
                if (answer == IDABORT) {
                    break;
                }
            }
            for (const std::string &box : c.rebuild) {
                answers.push_back(box == CreateBox('D') ? IDNO : IDOK);
                expected.push_back(box);
            }
            BoxScript boxes(answers);
            RunCommand(c.source, c.destination, c.command, [&](HWND) {
                fs::rename(folder, away);
            });
            EXPECT_EQ(Describe(boxes), expected);
            EXPECT_EQ(boxes.Unexpected(), 0);
            EXPECT_FALSE(fs::exists(folder)) << "nothing was created in its place";
            fs::rename(away, folder);
            EXPECT_EQ(drivecheck::Changes(start, drivecheck::Take(DriveFolders())),
                      std::vector<std::string>{});
        }
    }
}

}  // namespace
